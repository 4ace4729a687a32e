#include "NumberFormat.h"

#include <QLocale>

namespace {
struct HostLocale {
    std::optional<QLocale> locale;
    QString datePattern;
    QStringList timeCaptions;
};
HostLocale& hostLocale() {
    static HostLocale host;
    return host;
}
} // namespace

QLocale controlLocale() {
    return hostLocale().locale.value_or(QLocale::system());
}

QString controlDateText(const QDate& date) {
    const HostLocale& host = hostLocale();
    if (host.locale && !host.datePattern.isEmpty())
        return host.locale->toString(date, host.datePattern);
    return controlLocale().toString(date, QLocale::ShortFormat);
}

void setControlLocale(const std::optional<QLocale>& locale, const QString& datePattern) {
    hostLocale().locale = locale;
    hostLocale().datePattern = locale ? datePattern : QString();
    reloadSharedNumberFormat();
}

QStringList controlTimeCaptions() {
    return hostLocale().timeCaptions;
}

void setControlTimeCaptions(const QStringList& captions) {
    hostLocale().timeCaptions = captions.size() == 3 ? captions : QStringList();
}

NumberFormat numberFormatFromLocale() {
    const QLocale locale = controlLocale();
    NumberFormat format;
    format.decimalSeparator = locale.decimalPoint().left(MaxDecimalSeparatorLength);
    if (format.decimalSeparator.isEmpty())
        format.decimalSeparator = QStringLiteral(".");
    format.thousandsSeparator.clear();
    return format;
}

namespace {
NumberFormat& sharedRecord() {
    static NumberFormat record = numberFormatFromLocale();
    return record;
}
} // namespace

const NumberFormat& sharedNumberFormat() {
    return sharedRecord();
}

void reloadSharedNumberFormat() {
    sharedRecord() = numberFormatFromLocale();
}

QString formatNumber(double value, int decimals, const NumberFormat& format) {
    QString text = QString::asprintf("%.*f", decimals, value);
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    if (!format.leadingZero && text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    text.replace(QLatin1Char('.'), format.decimalSeparator);
    return negative ? QLatin1Char('-') + text : text;
}
