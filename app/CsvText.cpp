#include "app/CsvText.h"

#include <QUuid>

namespace vantor {
namespace {

constexpr QChar kQuote = QLatin1Char('"');

QChar DetectSeparator(const QString& text) {
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == kQuote) {
            quoted = !quoted;
        } else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r'))) {
            break;
        } else if (!quoted && c == QLatin1Char(',')) {
            ++commas;
        } else if (!quoted && c == QLatin1Char(';')) {
            ++semicolons;
        }
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

bool IsBlank(const QStringList& fields) {
    return fields.size() == 1 && fields.front().trimmed().isEmpty();
}

} // namespace

CsvTable ReadCsv(const QByteArray& utf8) {
    QString text = QString::fromUtf8(utf8);
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    CsvTable table;
    table.separator = DetectSeparator(text);

    int line = 1;
    CsvRecord record{line, {}};
    QString field;
    bool quoted = false;
    const auto endRecord = [&] {
        record.fields << field;
        field.clear();
        if (!IsBlank(record.fields)) {
            table.records.push_back(record);
        }
        record = CsvRecord{line, {}};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == kQuote && i + 1 < text.size() && text[i + 1] == kQuote) {
                field += kQuote;
                ++i;
            } else if (c == kQuote) {
                quoted = false;
            } else {
                if (c == QLatin1Char('\n')) {
                    ++line;
                }
                field += c;
            }
        } else if (c == kQuote) {
            quoted = true;
        } else if (c == table.separator) {
            record.fields << field;
            field.clear();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            ++line;
            endRecord();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !record.fields.isEmpty()) {
        endRecord();
    }
    return table;
}

QString CsvField(const QString& value, QChar separator) {
    const bool needsQuotes = value.contains(separator) || value.contains(kQuote) ||
                             value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'));
    if (!needsQuotes) {
        return value;
    }
    QString quoted = value;
    quoted.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + quoted + kQuote;
}

QString CsvLine(const QStringList& fields, QChar separator) {
    QStringList written;
    written.reserve(fields.size());
    for (const QString& field : fields) {
        written << CsvField(field, separator);
    }
    return written.join(separator) + QStringLiteral("\r\n");
}

QString CsvNumber(float value) {
    constexpr int kFloatDigits = 9; // enough for every single-precision value to read back exactly
    for (int decimals = 0; decimals <= kFloatDigits; ++decimals) {
        const QString text = QString::number(static_cast<double>(value), 'f', decimals);
        if (text.toFloat() == value) {
            return text;
        }
    }
    return QString::number(static_cast<double>(value), 'g', kFloatDigits);
}

bool IsBracedGuid(const QString& text) {
    return text.size() == 38 && text.startsWith(QLatin1Char('{')) && text.endsWith(QLatin1Char('}')) &&
           !QUuid::fromString(text).isNull();
}

} // namespace vantor
