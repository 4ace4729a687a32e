#include "records/DateTimeText.h"

#include <QStringView>

namespace vantor {

namespace {

// Two decimal digits at `at`, or -1.
int TwoDigits(QStringView text, qsizetype at) {
    const char16_t high = text[at].unicode();
    const char16_t low = text[at + 1].unicode();
    if (high < u'0' || high > u'9' || low < u'0' || low > u'9') {
        return -1;
    }
    return (high - u'0') * 10 + (low - u'0');
}

// The stored form "YYYY-MM-DD HH:MM:SS" read field by field; an invalid date-time for any other text.
// Local time is resolved by the QDateTime constructor alone, instead of a format parser that
// consults the time-zone rules at each step.
QDateTime FromFixedForm(QStringView text) {
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' || text[13] != u':' ||
        text[16] != u':') {
        return {};
    }
    const int century = TwoDigits(text, 0);
    const int year = TwoDigits(text, 2);
    const int month = TwoDigits(text, 5);
    const int day = TwoDigits(text, 8);
    const int hour = TwoDigits(text, 11);
    const int minute = TwoDigits(text, 14);
    const int second = TwoDigits(text, 17);
    if (century < 0 || year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0) {
        return {};
    }
    const QDate date(century * 100 + year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time);
}

void AppendDigits(char*& out, int value, int digits) {
    for (int place = digits - 1; place >= 0; --place) {
        out[place] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out += digits;
}

} // namespace

QString SqlDateTimeText(const QDateTime& value) {
    // The wall-clock fields written directly; an invalid value and years outside 0..9999 take Qt's
    // own formatting.
    const QDate date = value.date();
    const QTime time = value.time();
    if (!value.isValid() || date.year() < 0 || date.year() > 9999) {
        return value.toString(QLatin1String(kSqlDateTimeFormat));
    }
    char text[19];
    char* out = text;
    AppendDigits(out, date.year(), 4);
    *out++ = '-';
    AppendDigits(out, date.month(), 2);
    *out++ = '-';
    AppendDigits(out, date.day(), 2);
    *out++ = ' ';
    AppendDigits(out, time.hour(), 2);
    *out++ = ':';
    AppendDigits(out, time.minute(), 2);
    *out++ = ':';
    AppendDigits(out, time.second(), 2);
    return QString::fromLatin1(text, sizeof text);
}

QDateTime DateTimeFromSql(const QVariant& value) {
    if (value.isNull()) {
        return {};
    }
    if (value.typeId() == QMetaType::QDateTime) {
        return value.toDateTime();
    }
    const QString text = value.toString().trimmed();
    QDateTime parsed = FromFixedForm(text);
    if (parsed.isValid()) {
        return parsed;
    }
    // Anything else (a time skipped by a daylight-saving change, another program's form) takes the
    // general parser.
    parsed = QDateTime::fromString(text, QLatin1String(kSqlDateTimeFormat));
    if (!parsed.isValid()) {
        // Files written by other programs may use the ISO form, with or without fractions.
        parsed = QDateTime::fromString(text, Qt::ISODate);
    }
    if (!parsed.isValid()) {
        parsed = QDateTime::fromString(text, Qt::ISODateWithMs);
    }
    return parsed;
}

} // namespace vantor
