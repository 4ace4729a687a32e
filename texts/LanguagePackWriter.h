#pragma once
// Writes language packs in the format LanguagePacks reads: the descriptor "LangPack.vpl" and, per
// language, the language file of the documented UiTextCount texts plus the file of the texts added
// after them (kAddedTextsExtension). Line breaks in a text are written as "(CRLF)".

#include "texts/LanguagePacks.h"

#include <QString>
#include <QStringList>

namespace vantor {

// The identity strings of the packs this program ships; a language file belongs to the installed
// set only when it carries the descriptor's.
inline constexpr const char* kShippedPackIdentityA = "Vantor";
inline constexpr const char* kShippedPackIdentityB = "UI texts 1.0";

// Writes the descriptor; false with `error` set when the file cannot be written.
bool WritePackDescriptor(const QString& path, const PackDescriptor& descriptor, QString* error = nullptr);

// Writes "<fileName>.vpl" in `folder` with the first UiTextCount texts and, when `texts` holds more,
// "<fileName><kAddedTextsExtension>" with the rest. The header's count is set from the texts.
// Refused (false, `error` set) when `texts` holds fewer than UiTextCount or a file cannot be written.
bool WriteLanguagePack(const QString& folder, const QString& fileName, const LanguageFileHeader& header,
                       const QStringList& texts, QString* error = nullptr);

} // namespace vantor
