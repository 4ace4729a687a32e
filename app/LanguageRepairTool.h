#pragma once
// The language-file repair tool: an installer can leave "vplrepair" in the current root to fix the
// language packs. At start-up, before the language is applied, it is run once, waited for without
// a time limit, and deleted so that it runs only once. A missing tool is skipped silently.

#include <QString>

namespace vantor {

inline constexpr const char* kLanguageRepairToolName = "vplrepair";

// Runs and then deletes the tool in the given root; true when it ran. A tool that cannot be
// started is left in place, so a repaired installation can still run it at the next start.
bool RunLanguageRepairTool(const QString& currentRoot);

} // namespace vantor
