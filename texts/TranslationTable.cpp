#include "texts/TranslationTable.h"

#include "texts/Log.h"
#include "texts/UiText.h"

#include <QFile>

#include <map>

namespace vantor {
namespace {

const QString kLineBreakMarker = QStringLiteral("(CRLF)");

bool Fail(QString* error, int line, const QString& message) {
    if (error != nullptr) {
        *error = line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(message) : message;
    }
    return false;
}

// A line feed standing alone is written as a backslash and "n" in the table, so that every text
// stays on one line.
QString Unescaped(QString field) {
    return field.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
}

// The header lines name the pack; any other "#" line is a comment.
void ReadHeaderLine(const QString& line, TranslationTable& table) {
    const QStringList fields = line.mid(1).split(u'\t');
    if (fields.size() != 2) {
        return;
    }
    if (fields[0] == u"language") {
        table.language = fields[1];
    } else if (fields[0] == u"translator") {
        table.translator = fields[1];
    } else if (fields[0] == u"date") {
        table.date = QDate::fromString(fields[1], Qt::ISODate);
    }
}

} // namespace

QString TableEnglish(int index) {
    QString text = EnglishDefaultText(index);
    text.replace(QStringLiteral("\r\n"), kLineBreakMarker);
    return text;
}

std::optional<TranslationTable> ParseTranslationTable(const QByteArray& bytes, QString* error) {
    TranslationTable table;
    std::map<int, int> lineOfIndex;
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    for (int number = 1; number <= lines.size(); ++number) {
        QString line = lines[number - 1];
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (line.isEmpty()) {
            continue;
        }
        if (line.startsWith(u'#')) {
            ReadHeaderLine(line, table);
            continue;
        }
        const QStringList fields = line.split(u'\t');
        bool isNumber = false;
        const int index = fields.value(0).toInt(&isNumber);
        if (fields.size() != 3 || !isNumber) {
            Fail(error, number, QStringLiteral("expected index, English and translation separated by tabs"));
            return std::nullopt;
        }
        if (index < 0 || index >= UiTextAllCount) {
            Fail(error, number, QStringLiteral("index %1 is outside the text table").arg(index));
            return std::nullopt;
        }
        if (const auto [at, added] = lineOfIndex.emplace(index, number); !added) {
            Fail(error, number, QStringLiteral("index %1 is already on line %2").arg(index).arg(at->second));
            return std::nullopt;
        }
        table.rows.append({index, Unescaped(fields[1]), Unescaped(fields[2])});
    }
    if (table.language.isEmpty()) {
        Fail(error, 0, QStringLiteral("the table has no \"#language\" line"));
        return std::nullopt;
    }
    return table;
}

std::optional<TranslationTable> ReadTranslationTable(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcTexts) << "the translation table" << path << "could not be opened:" << file.errorString();
        Fail(error, 0, QStringLiteral("%1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    std::optional<TranslationTable> table = ParseTranslationTable(file.readAll(), error);
    if (!table && error != nullptr) {
        *error = QStringLiteral("%1: %2").arg(path, *error);
    }
    return table;
}

QStringList CheckTranslationTable(const TranslationTable& table) {
    QStringList findings;
    std::map<int, const TranslationRow*> rows;
    for (const TranslationRow& row : table.rows) {
        rows.emplace(row.index, &row);
    }
    for (int index = 0; index < UiTextAllCount; ++index) {
        const QString english = TableEnglish(index);
        const auto row = rows.find(index);
        if (row == rows.end()) {
            if (!english.isEmpty()) {
                findings << QStringLiteral("%1: text %2 \"%3\" has no translation")
                                .arg(table.language)
                                .arg(index)
                                .arg(english);
            }
            continue;
        }
        if (row->second->english != english) {
            findings << QStringLiteral("%1: text %2 was translated from \"%3\" but reads \"%4\"")
                            .arg(table.language)
                            .arg(index)
                            .arg(row->second->english, english);
        } else if (!english.isEmpty() && row->second->translation.trimmed().isEmpty()) {
            findings << QStringLiteral("%1: text %2 \"%3\" has an empty translation")
                            .arg(table.language)
                            .arg(index)
                            .arg(english);
        }
    }
    return findings;
}

QStringList PackTexts(const TranslationTable& table) {
    QStringList texts;
    texts.reserve(UiTextAllCount);
    for (int index = 0; index < UiTextAllCount; ++index) {
        texts << TableEnglish(index);
    }
    for (const TranslationRow& row : table.rows) {
        if (row.english == texts[row.index] && !row.translation.isEmpty()) {
            texts[row.index] = row.translation;
        }
    }
    return texts;
}

} // namespace vantor
