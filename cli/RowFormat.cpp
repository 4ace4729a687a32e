#include "cli/RowFormat.h"

#include <charconv>
#include <string>

namespace vantor::cli {

double ShortestFloat(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::stod(std::string(buffer, result.ptr));
}

namespace {

QString Number(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString PlainValue(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QJsonValue::Double:
        return Number(value.toDouble());
    default:
        return {};
    }
}

QString JsonString(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20) {
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            } else {
                out += c;
            }
        }
    }
    return out + QLatin1Char('"');
}

QString JsonValueText(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return JsonString(value.toString());
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return Number(value.toDouble());
    default:
        return QStringLiteral("null");
    }
}

} // namespace

QString RowsAsText(const QStringList& columns, const std::vector<Row>& rows) {
    QString text = columns.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const Row& row : rows) {
        QStringList cells;
        for (const auto& [column, value] : row) {
            // Line breaks and tabs inside a value would split the line.
            QString cell = PlainValue(value);
            for (const QChar c : {QLatin1Char('\t'), QLatin1Char('\n'), QLatin1Char('\r')}) {
                cell.replace(c, QLatin1Char(' '));
            }
            cells << cell;
        }
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

QByteArray RowsAsJson(const std::vector<Row>& rows) {
    QString text = QStringLiteral("[");
    for (size_t i = 0; i < rows.size(); ++i) {
        text += i == 0 ? QStringLiteral("\n  {") : QStringLiteral(",\n  {");
        bool first = true;
        for (const auto& [column, value] : rows[i]) {
            text += (first ? QString() : QStringLiteral(", ")) + JsonString(column) + QStringLiteral(": ") +
                    JsonValueText(value);
            first = false;
        }
        text += QLatin1Char('}');
    }
    text += rows.empty() ? QStringLiteral("]\n") : QStringLiteral("\n]\n");
    return text.toUtf8();
}

} // namespace vantor::cli
