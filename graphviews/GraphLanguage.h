#pragma once
// The dates and numbers of the views, the report and the graph controls in one language's locale.

#include <QString>

namespace vantor {

// Makes the language's locale the display locale (texts/DisplayFormat.h) and gives it, with its
// date pattern, to every graph control; English or an unknown name returns both to the regional
// settings.
void UseDisplayLanguage(const QString& language);

} // namespace vantor
