#pragma once
// Opens a finished document (or its folder) with the desktop's default program (xdg-open), without
// waiting for it. The environment variable VANTOR_OPEN_COMMAND names another program to start
// instead (tests put a recorder there). Without it, a document whose type no installed program
// handles (xdg-mime knows no default application for it) is not handed to xdg-open, whose failure
// would otherwise go unseen: the caller says so instead.

#include <QString>

namespace vantor {

inline constexpr const char* kOpenCommandVariable = "VANTOR_OPEN_COMMAND";
inline constexpr const char* kDefaultOpenCommand = "xdg-open";
inline constexpr const char* kMimeQueryCommand = "xdg-mime";

// The program that opens documents.
QString DocumentOpenerProgram();
// Starts it on the file or folder; false when no program handles it or it could not be started.
bool OpenDocument(const QString& path);

} // namespace vantor
