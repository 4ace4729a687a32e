#pragma once

#include <QString>

namespace vantor {

// The project's one version ("1.1.0"), set in the top-level CMake project and shown by
// `vantor --version`, the About box, the packages and the report's footer.
QString ProgramVersion();

// The day the program was built, as "YYYY-MM-DD".
QString ProgramBuildDate();

} // namespace vantor
