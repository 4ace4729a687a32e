#pragma once
// The language packs installed with the program are copied into the data root's language folder,
// where the Language menu finds them: a pack file that is missing there, or that differs from the
// shipped one (an older release's, or one deleted as damaged), is replaced. Files the program does
// not ship are left alone, and so is a folder whose descriptor names another set of packs.

#include <QString>

namespace vantor {

// Copies every "*.vpl" and "*.vpa" file of `shippedFolder` into `languageFolder` (made when
// missing) where it is missing or different. Returns the number of files copied; a file that
// cannot be copied is logged and skipped. A missing shipped folder copies nothing.
int InstallShippedPacks(const QString& shippedFolder, const QString& languageFolder);

} // namespace vantor
