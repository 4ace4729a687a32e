// The locale number format shared by every graph control of the process: axis labels and tooltip
// numbers use the user's decimal separator and never a thousands separator.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

struct NumberFormat {
    int grouping = 3;        // first digit of the locale's grouping
    bool leadingZero = true; // "0.5" rather than ".5"
    QString decimalSeparator = QStringLiteral(".");
    int negativeOrder = 1;      // "-1.1"
    int digits = 2;             // the locale's default digit count
    QString thousandsSeparator; // always empty
};

inline constexpr int MaxDecimalSeparatorLength = 10;

// Reads the record from the controls' locale (controlLocale()).
NumberFormat numberFormatFromLocale();

// The locale the controls write dates and numbers in: the user's regional settings
// (QLocale::system()) unless the host set another (CVantorGraphCtrl::setDisplayLocale).
QLocale controlLocale();
// A date as the controls write it: the host's pattern in its locale, else the short format.
QString controlDateText(const QDate& date);
void setControlLocale(const std::optional<QLocale>& locale, const QString& datePattern);
// The Time axis captions the host gave (seconds, minutes, hours); empty: the documented ones.
QStringList controlTimeCaptions();
void setControlTimeCaptions(const QStringList& captions);

// The process-wide record, loaded by the first control and again by LanguageChanged.
const NumberFormat& sharedNumberFormat();
void reloadSharedNumberFormat();

// value with `decimals` digits after the separator, through the record.
QString formatNumber(double value, int decimals, const NumberFormat& format);
