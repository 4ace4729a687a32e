#pragma once
// Comma-separated text as spreadsheets write it: fields separated by commas or semicolons (the
// separator a locale with decimal commas uses), fields quoted with '"' when they hold a separator,
// a quote or a line break, quotes inside doubled. Reading accepts a UTF-8 byte-order mark and
// CRLF or LF line ends; each record remembers the line it starts on.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

namespace vantor {

struct CsvRecord {
    int line = 0; // the line the record starts on, from 1
    QStringList fields;
};

struct CsvTable {
    QChar separator = QLatin1Char(',');
    std::vector<CsvRecord> records; // the header first; blank lines are skipped
};

// Reads UTF-8 text. The separator is the one of ',' and ';' that occurs more often outside quotes
// on the first line (',' when neither does).
CsvTable ReadCsv(const QByteArray& utf8);

// One field as written: quoted only when it has to be.
QString CsvField(const QString& value, QChar separator = QLatin1Char(','));
// One record's line with its CRLF ending.
QString CsvLine(const QStringList& fields, QChar separator = QLatin1Char(','));

// A single-precision number in plain decimals, as few as read back exactly; exponents only for
// values beyond them.
QString CsvNumber(float value);
// A key cell's GUID: braced, 38 characters.
bool IsBracedGuid(const QString& text);

} // namespace vantor
