#pragma once

#include "texts/UiText.h"

#include <array>

namespace vantor {

// The built-in English text of every entry, UTF-8, in index order.
extern const std::array<const char*, UiTextCount> kEnglishDefaults;
// The English texts added after the documented table (text::added), in index order.
extern const std::array<const char*, UiTextAddedCount> kAddedEnglishTexts;

} // namespace vantor
