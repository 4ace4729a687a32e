#pragma once
// Opens a finished document with the desktop's default program (xdg-open), without waiting for it.
// The environment variable VANTOR_OPEN_COMMAND names another program to start instead (tests put a
// recorder there).

#include <QString>

namespace vantor {

inline constexpr const char* kOpenCommandVariable = "VANTOR_OPEN_COMMAND";
inline constexpr const char* kDefaultOpenCommand = "xdg-open";

// The program that opens documents.
QString DocumentOpenerProgram();
// Starts it on the file; false when it could not be started.
bool OpenDocument(const QString& path);

} // namespace vantor
