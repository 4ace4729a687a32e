#pragma once
// The read-only data installed with the program: language packs, the user guide. It lives in
// "share/vantor" beside the folder of the executable ("<prefix>/bin" installed, "build/<module>"
// in the build tree, where the build puts the same files under "build/share/vantor").

#include <QString>

namespace vantor {

// Overrides the folder (tests, relocated installations).
inline constexpr const char* kProgramDataVariable = "VANTOR_PROGRAM_DATA";

// $VANTOR_PROGRAM_DATA when set, else "<executable's folder>/../share/vantor" (absolute, cleaned).
QString ProgramDataFolder();

// Folders inside it.
QString ShippedLanguageFolder(); // "Language"
QString UserGuideFolder();       // "guide"

} // namespace vantor
