#include "texts/UiText.h"

#include <gtest/gtest.h>

using namespace vantor;

class UiTextTest : public ::testing::Test {
protected:
    void TearDown() override { UiTextTable::ResetToDefaults(); }
};

TEST_F(UiTextTest, DefaultsKeepLineBreaksQuotesBackslashesAndNonAsciiCharacters) {
    EXPECT_EQ(UiText(0), QStringLiteral("OK"));
    EXPECT_EQ(UiText(102), QStringLiteral("Name cannot contain any of the following characters:\r\n"
                                          "* $ \\ / ? > < : \" |\r\nPlease re-type!"));
    EXPECT_EQ(UiText(156), QString::fromUtf8("\xc2\xb5m"));
    EXPECT_EQ(UiText(394), QStringLiteral("User Guide not installed"));
    // Unlisted entries and indices outside the table are empty.
    EXPECT_TRUE(UiText(35).isEmpty());
    EXPECT_TRUE(UiText(-1).isEmpty());
    EXPECT_TRUE(UiText(UiTextAllCount).isEmpty());
    int nonEmpty = 0;
    for (int i = 0; i < UiTextCount; ++i) {
        nonEmpty += UiText(i).isEmpty() ? 0 : 1;
    }
    EXPECT_EQ(nonEmpty, 358);
}

TEST_F(UiTextTest, ReplaceAcceptsOnlyAFullTable) {
    QStringList texts(UiTextCount - 1, QStringLiteral("x"));
    EXPECT_FALSE(UiTextTable::Replace(texts));
    EXPECT_EQ(UiText(0), QStringLiteral("OK"));
    texts << QStringLiteral("last");
    EXPECT_TRUE(UiTextTable::Replace(texts));
    EXPECT_EQ(UiText(394), QStringLiteral("last"));
    UiTextTable::ResetToDefaults();
    EXPECT_EQ(UiText(394), EnglishDefaultText(394));
}

TEST_F(UiTextTest, AddedTextsFollowTheTableAndTranslateOnlyWithAWholeTable) {
    EXPECT_EQ(UiText(text::added::CatalogueAtLine), QStringLiteral("line %1: %2"));
    EXPECT_EQ(UiText(UiTextAllCount - 1), EnglishDefaultText(UiTextAllCount - 1));
    for (int i = UiTextCount; i < UiTextAllCount; ++i) {
        EXPECT_FALSE(UiText(i).isEmpty()) << i;
    }
    // A documented pack translates the documented texts; the added ones stay English.
    EXPECT_TRUE(UiTextTable::Replace(QStringList(UiTextCount, QStringLiteral("doc"))));
    EXPECT_EQ(UiText(394), QStringLiteral("doc"));
    EXPECT_EQ(UiText(text::added::CatalogueNoHeader), QStringLiteral("the file has no header row"));
    EXPECT_EQ(UiTextTable::Snapshot().size(), UiTextCount);
    // A whole table translates both; a shorter one (written before the last texts were added)
    // translates what it holds; fewer than the documented texts or more than all are refused.
    EXPECT_TRUE(UiTextTable::Replace(QStringList(UiTextAllCount, QStringLiteral("all"))));
    EXPECT_EQ(UiText(text::added::CatalogueNoHeader), QStringLiteral("all"));
    EXPECT_FALSE(UiTextTable::Replace(QStringList(UiTextAllCount + 1, QStringLiteral("x"))));
    EXPECT_FALSE(UiTextTable::Replace(QStringList(UiTextCount - 1, QStringLiteral("x"))));
    EXPECT_EQ(UiText(0), QStringLiteral("all"));
    EXPECT_TRUE(UiTextTable::Replace(QStringList(UiTextAllCount - 1, QStringLiteral("part"))));
    EXPECT_EQ(UiText(UiTextAllCount - 2), QStringLiteral("part"));
    EXPECT_EQ(UiText(UiTextAllCount - 1), EnglishDefaultText(UiTextAllCount - 1));
    // Back to a documented pack: the added texts are English again.
    EXPECT_TRUE(UiTextTable::Replace(QStringList(UiTextCount, QStringLiteral("doc"))));
    EXPECT_EQ(UiText(text::added::CatalogueNoHeader), QStringLiteral("the file has no header row"));
}

TEST_F(UiTextTest, EditionTitleReplacesTheProductNameInEntriesTenAndElevenOnly) {
    QStringList texts(UiTextCount, QStringLiteral("Vantor"));
    ASSERT_TRUE(UiTextTable::Replace(texts));
    UiTextTable::ApplyEditionTitle(QStringLiteral("Corvane"));
    EXPECT_EQ(UiText(9), QStringLiteral("Language"));
    EXPECT_EQ(UiText(10), QStringLiteral("Corvane"));
    EXPECT_EQ(UiText(11), QStringLiteral("Corvane"));
    EXPECT_EQ(UiText(12), QStringLiteral("Vantor"));
    UiTextTable::ResetToDefaults();
    UiTextTable::ApplyEditionTitle(QStringLiteral("Corvane"));
    EXPECT_EQ(UiText(11), QStringLiteral("No Database found, please reinstall Corvane!"));
}
