#pragma once
// Dates and numbers as the user reads them: in the locale of the language the UI text table shows.
// A process starts with the formats it always had (the user's regional settings, as QLocale::system()
// gives them); the desktop sets the chosen language's locale. Files, the command line's machine
// output and the e-mail's CSV never use these functions: they keep their own fixed formats.

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

namespace vantor {

// Makes the locale of a language of the Language menu ("Deutsch", "Français"/"Francais",
// "Español"/"Espanol") the display locale and Qt's default locale (spin boxes, date edits); any
// other name, English included, returns to the user's regional settings.
void SetDisplayLanguage(const QString& languageName);

// The date pattern of the chosen language ("d. MMM yyyy"); empty without one.
QString DisplayDatePattern();

// The display locale: the chosen language's (numbers without a thousands separator), else the
// regional settings as they are.
QLocale DisplayLocale();

// A number with `decimals` digits after the locale's decimal separator ("2,53" in German).
QString DisplayNumber(double value, int decimals);
// A number as QString::number(value, format, precision) writes it, with the locale's separator.
QString DisplayNumber(double value, char format, int precision);
// A number as the stored tables and the documented outputs write it ("2.53", "-0.5"), as the display
// locale writes it ("2,53" in German); any other text comes back unchanged.
QString DisplayNumberText(const QString& cNumber);
// A measure band's name as the settings hold it, for display: a name that is still one of the
// program's English defaults ("Unbalance", "Misalignment", "Looseness") reads in the language shown,
// a name the user gave stays as it is.
QString DisplayBandName(const QString& stored);
// A whole number ("1500").
QString DisplayInteger(qlonglong value);

// A number inside a sentence the analysis writes (a finding's summary, an alarm's reason): in the
// chosen language's locale, else as the command line has always written it (C: "2.53").
QString TextNumber(double value, char format, int precision);

// "30 Nov 2026" in the regional settings of C; "30. Nov. 2026" in German.
QString DisplayDate(const QDate& date);
// The date and the time with seconds.
QString DisplayDateTime(const QDateTime& dateTime);
QString DisplayTime(const QTime& time);

} // namespace vantor
