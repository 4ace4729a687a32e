#pragma once
// The desktop's dates, numbers and Qt's own dialogs in the language the UI text table shows.

#include <QString>

namespace vantor {

// Sets the display locale (texts/DisplayFormat.h) and the graph controls' locale of the language
// ("Deutsch", "Français", "Español"; anything else: the regional settings), and loads Qt's own
// translations of that language (the print and file dialogs' buttons) when they are installed.
// Returns whether Qt's translations were found.
bool ApplyDisplayLanguage(const QString& language);

} // namespace vantor
