#pragma once
// The reviewed translation of the UI text table, kept as a readable, diffable table: one line per
// text, "index<TAB>English<TAB>translation", in UTF-8. Line breaks inside a text are written as the
// language packs write them, "(CRLF)"; a line feed standing alone as the two characters "\n". Lines starting
// with "#" are comments, except the header lines "#language<TAB>name", "#translator<TAB>name" and
// "#date<TAB>YYYY-MM-DD" that name the pack.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vantor {

struct TranslationRow {
    int index = 0;
    QString english;     // as the table was reviewed against, "\r\n" as "(CRLF)"
    QString translation; // "\r\n" as "(CRLF)"
};

struct TranslationTable {
    QString language;   // the pack's file name, e.g. "Francais"
    QString translator; // carried in the pack as its language string
    QDate date;         // the day the table was last reviewed
    QList<TranslationRow> rows;
};

// The table in a file; empty with `error` set ("line N: ...") when the file cannot be read or a
// line is not of the form above or names an index twice or outside the whole table.
std::optional<TranslationTable> ReadTranslationTable(const QString& path, QString* error = nullptr);
std::optional<TranslationTable> ParseTranslationTable(const QByteArray& bytes, QString* error = nullptr);

// The English default of an entry as a table holds it (line breaks as "(CRLF)").
QString TableEnglish(int index);

// What a table lacks or holds wrongly against the program's texts, one sentence per finding:
// a text with an English default but no row or an empty translation, and a row whose English
// differs from the program's (the translation was made for another text).
QStringList CheckTranslationTable(const TranslationTable& table);

// The UiTextAllCount texts a pack carries: the translation where the table has one for the current
// English text, else the English default. Line breaks stay "(CRLF)".
QStringList PackTexts(const TranslationTable& table);

} // namespace vantor
