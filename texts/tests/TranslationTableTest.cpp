#include "texts/TranslationTable.h"

#include "texts/UiText.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

QByteArray Table(const QByteArray& rows) {
    return "#language\tDeutsch\n#translator\tT\n#date\t2026-12-01\n" + rows;
}

} // namespace

TEST(TranslationTable, ReadsTheHeaderAndRowsAndRefusesMalformedLines) {
    QString error;
    const std::optional<TranslationTable> table =
        ParseTranslationTable(Table("# a comment\n\n0\tOK\tOK\r\n3\tNo\tNein\\nwirklich\n"), &error);
    ASSERT_TRUE(table) << error.toStdString();
    EXPECT_EQ(table->language, QStringLiteral("Deutsch"));
    EXPECT_EQ(table->translator, QStringLiteral("T"));
    EXPECT_EQ(table->date, QDate(2026, 12, 1));
    ASSERT_EQ(table->rows.size(), 2);
    EXPECT_EQ(table->rows[1].index, 3);
    EXPECT_EQ(table->rows[1].translation, QStringLiteral("Nein\nwirklich"));

    const struct {
        QByteArray bytes;
        const char* error;
    } refused[] = {
        {Table("0\tOK\n"), "line 4: expected index, English and translation separated by tabs"},
        {Table("x\tOK\tOK\n"), "line 4: expected index, English and translation separated by tabs"},
        {Table("0\tOK\tOK\t\n"), "line 4: expected index, English and translation separated by tabs"},
        {Table("-1\tOK\tOK\n"), "line 4: index -1 is outside the text table"},
        {Table(QByteArray::number(UiTextAllCount) + "\tx\ty\n"), nullptr},
        {Table("0\tOK\tOK\n\n0\tOK\tOK\n"), "line 6: index 0 is already on line 4"},
        {"0\tOK\tOK\n", "the table has no \"#language\" line"},
    };
    for (const auto& entry : refused) {
        EXPECT_FALSE(ParseTranslationTable(entry.bytes, &error)) << entry.bytes.toStdString();
        if (entry.error != nullptr) {
            EXPECT_EQ(error, QString::fromUtf8(entry.error));
        }
    }
}

TEST(TranslationTable, ChecksFindMissingEmptyAndOutdatedRows) {
    TranslationTable table;
    table.language = QStringLiteral("Deutsch");
    for (int index = 0; index < UiTextAllCount; ++index) {
        if (!TableEnglish(index).isEmpty()) {
            table.rows.append({index, TableEnglish(index), QStringLiteral("x%1").arg(index)});
        }
    }
    EXPECT_TRUE(CheckTranslationTable(table).isEmpty());
    QStringList texts = PackTexts(table);
    ASSERT_EQ(texts.size(), UiTextAllCount);
    EXPECT_EQ(texts[0], QStringLiteral("x0"));
    EXPECT_EQ(texts[35], QString()); // no English text, nothing to translate

    table.rows[0].translation = QStringLiteral(" ");
    table.rows[1].english = QStringLiteral("Abort"); // translated from another text
    table.rows.removeAt(2);
    const QStringList findings = CheckTranslationTable(table);
    ASSERT_EQ(findings.size(), 3) << findings.join(u'\n').toStdString();
    EXPECT_EQ(findings[0], QStringLiteral("Deutsch: text 0 \"OK\" has an empty translation"));
    EXPECT_EQ(findings[1],
              QStringLiteral("Deutsch: text 1 was translated from \"Abort\" but reads \"Cancel\""));
    EXPECT_EQ(findings[2], QStringLiteral("Deutsch: text 2 \"Yes\" has no translation"));
    // A pack carries English where the translation is missing or outdated.
    texts = PackTexts(table);
    EXPECT_EQ(texts[1], QStringLiteral("Cancel"));
    EXPECT_EQ(texts[2], QStringLiteral("Yes"));
    EXPECT_EQ(texts[102], QStringLiteral("x102"));
    EXPECT_TRUE(TableEnglish(102).contains(QStringLiteral("(CRLF)")));
}
