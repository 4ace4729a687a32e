// The language packs the program ships, the writer that makes them and their installation into the
// data root's language folder.
#include "texts/ShippedPacks.h"
#include "texts/LanguagePackWriter.h"
#include "texts/TranslationTable.h"
#include "texts/UiText.h"

#include "platform/testing/RecordingPrompter.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QString kTitle = QStringLiteral("Corvane");

LanguageFileHeader Header(const QString& identityA = QLatin1String(kShippedPackIdentityA)) {
    LanguageFileHeader header;
    header.version = kPackFormatVersion;
    header.date = ArchiveDate::FromDateTime(QDateTime(QDate(2026, 12, 10), QTime(0, 0)));
    header.languageString = QStringLiteral("translator");
    header.identityA = identityA;
    header.identityB = QLatin1String(kShippedPackIdentityB);
    return header;
}

void WriteDescriptor(const QString& folder) {
    const PackDescriptor descriptor{kPackFormatVersion,
                                    kLanguageSetVersion,
                                    Header().date,
                                    QStringLiteral("set"),
                                    QLatin1String(kShippedPackIdentityA),
                                    QLatin1String(kShippedPackIdentityB)};
    ASSERT_TRUE(WritePackDescriptor(QDir(folder).filePath(QLatin1String(kPackDescriptorFile)), descriptor));
}

QStringList Numbered(const QString& prefix, int count) {
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        texts << prefix + QString::number(i);
    }
    return texts;
}

// The format specifiers of a text in order: printf's (%s, %d, %.2f, %-5.1lf ...) and Qt's (%1 ...).
QStringList Specifiers(const QString& text) {
    static const QRegularExpression specifier(
        QStringLiteral(R"(%(?:%|\d+|[-+ #0]*\d*(?:\.\d+)?[hlLqjzt]*[diouxXeEfFgGaAcspn]))"));
    QStringList found;
    for (const QRegularExpressionMatch& match : specifier.globalMatch(text)) {
        found << match.captured();
    }
    return found;
}

class ShippedPacks : public ::testing::Test {
protected:
    void TearDown() override { UiTextTable::ResetToDefaults(); }
    QTemporaryDir dir;
    vantor::testing::RecordingPrompter prompter;
};

} // namespace

TEST(FormatSpecifiers, AreFoundInOrder) {
    EXPECT_EQ(Specifiers(QStringLiteral("%1 of %2: %s %d %.2f %-5.1lf 100%% %3")),
              (QStringList{"%1", "%2", "%s", "%d", "%.2f", "%-5.1lf", "%%", "%3"}));
    EXPECT_TRUE(Specifiers(QStringLiteral("50 %, then 20 %")).isEmpty());
}

TEST_F(ShippedPacks, WrittenPacksLoadWithTheirAddedTexts) {
    WriteDescriptor(dir.path());
    QStringList texts = Numbered(QStringLiteral("de"), UiTextAllCount);
    texts[3] = QStringLiteral("Nein\r\nwirklich");
    ASSERT_TRUE(WriteLanguagePack(dir.path(), QStringLiteral("Deutsch"), Header(), texts));
    // Only the documented part: no added-texts file, the added texts stay English.
    ASSERT_TRUE(WriteLanguagePack(dir.path(), QStringLiteral("Francais"), Header(),
                                  Numbered(QStringLiteral("fr"), UiTextCount)));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Francais.vpa"))));
    QString error;
    EXPECT_FALSE(WriteLanguagePack(dir.path(), QStringLiteral("Short"), Header(), QStringList(3), &error));
    EXPECT_EQ(error, QStringLiteral("Short holds 3 texts; a pack needs 395"));

    LanguagePacks packs(dir.path(), prompter, false);
    EXPECT_EQ(packs.BuildLanguageList(),
              (QStringList{QStringLiteral("Deutsch"), QStringLiteral("Fran\u00e7ais")}));
    LanguageState state = packs.ApplyLanguage(QStringLiteral("Deutsch"), kTitle);
    ASSERT_TRUE(state.packLoaded);
    EXPECT_EQ(UiText(3), QStringLiteral("Nein\r\nwirklich"));
    EXPECT_EQ(UiText(UiTextCount), QStringLiteral("de%1").arg(UiTextCount));
    EXPECT_EQ(UiText(UiTextAllCount - 1), QStringLiteral("de%1").arg(UiTextAllCount - 1));

    state = packs.ApplyLanguage(QStringLiteral("Fran\u00e7ais"), kTitle);
    ASSERT_TRUE(state.packLoaded);
    EXPECT_EQ(UiText(0), QStringLiteral("fr0"));
    EXPECT_EQ(UiText(UiTextCount), EnglishDefaultText(UiTextCount));

    // An added-texts file of an older release (fewer texts) translates what it has.
    ASSERT_TRUE(WriteLanguagePack(dir.path(), QStringLiteral("Francais"), Header(),
                                  Numbered(QStringLiteral("fr"), UiTextCount + 2)));
    packs.ApplyLanguage(QStringLiteral("Fran\u00e7ais"), kTitle);
    EXPECT_EQ(UiText(UiTextCount + 1), QStringLiteral("fr%1").arg(UiTextCount + 1));
    EXPECT_EQ(UiText(UiTextCount + 2), EnglishDefaultText(UiTextCount + 2));

    // An added-texts file of another set is not used, and the language itself still loads.
    ASSERT_TRUE(WriteLanguagePack(dir.path(), QStringLiteral("Other"), Header(QStringLiteral("other")),
                                  Numbered(QStringLiteral("o"), UiTextAllCount)));
    QFile::remove(dir.filePath(QStringLiteral("Deutsch.vpa")));
    ASSERT_TRUE(QFile::rename(dir.filePath(QStringLiteral("Other.vpa")),
                              dir.filePath(QStringLiteral("Deutsch.vpa"))));
    state = packs.ApplyLanguage(QStringLiteral("Deutsch"), kTitle);
    EXPECT_TRUE(state.packLoaded);
    EXPECT_EQ(UiText(0), QStringLiteral("de0"));
    EXPECT_EQ(UiText(UiTextCount), EnglishDefaultText(UiTextCount));
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(ShippedPacks, InstallCopiesMissingAndChangedFilesOnly) {
    const QString shipped = dir.filePath(QStringLiteral("shipped"));
    const QString language = dir.filePath(QStringLiteral("root/Language"));
    EXPECT_EQ(InstallShippedPacks(shipped, language), 0); // nothing shipped
    QDir().mkpath(shipped);
    WriteDescriptor(shipped);
    ASSERT_TRUE(WriteLanguagePack(shipped, QStringLiteral("Deutsch"), Header(),
                                  Numbered(QStringLiteral("de"), UiTextAllCount)));
    EXPECT_EQ(InstallShippedPacks(shipped, language), 3);
    EXPECT_EQ(InstallShippedPacks(shipped, language), 0); // already there

    QFile own(QDir(language).filePath(QStringLiteral("Mine.vpl")));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("mine");
    own.close();
    QFile damaged(QDir(language).filePath(QStringLiteral("Deutsch.vpl")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("x");
    damaged.close();
    QFile::remove(QDir(language).filePath(QStringLiteral("Deutsch.vpa")));
    EXPECT_EQ(InstallShippedPacks(shipped, language), 2);
    EXPECT_TRUE(QFile::exists(own.fileName()));
    LanguagePacks packs(language, prompter, false);
    EXPECT_EQ(packs.BuildLanguageList(), QStringList{QStringLiteral("Deutsch")});

    // A folder holding another set of packs is not touched.
    const PackDescriptor other{kPackFormatVersion,       kLanguageSetVersion, {},
                               QStringLiteral("theirs"), QStringLiteral("A"), QStringLiteral("B")};
    ASSERT_TRUE(WritePackDescriptor(QDir(language).filePath(QLatin1String(kPackDescriptorFile)), other));
    QFile::remove(QDir(language).filePath(QStringLiteral("Deutsch.vpl")));
    EXPECT_EQ(InstallShippedPacks(shipped, language), 0);
    EXPECT_FALSE(QFile::exists(QDir(language).filePath(QStringLiteral("Deutsch.vpl"))));
}

// Every shipped pack, as the build wrote it from its table, installed into a fresh language folder.
TEST_F(ShippedPacks, EveryPackIsCompleteMatchesItsTableAndKeepsTheSpecifiers) {
    struct Shipped {
        const char* table;
        QString displayName;
    };
    const Shipped shipped[] = {
        {"de.tsv", QStringLiteral("Deutsch")},
        {"fr.tsv", QStringLiteral("Fran\u00e7ais")},
        {"es.tsv", QStringLiteral("Espa\u00f1ol")},
    };
    ASSERT_EQ(InstallShippedPacks(QStringLiteral(VANTOR_SHIPPED_LANGUAGE_FOLDER), dir.path()), 7);
    LanguagePacks packs(dir.path(), prompter, false);
    QStringList expectedList{QStringLiteral("Deutsch")};
    expectedList << QStringLiteral("Espa\u00f1ol") << QStringLiteral("Fran\u00e7ais");
    EXPECT_EQ(packs.BuildLanguageList(), expectedList);

    for (const Shipped& pack : shipped) {
        SCOPED_TRACE(pack.table);
        QString error;
        const std::optional<TranslationTable> table = ReadTranslationTable(
            QStringLiteral(VANTOR_TRANSLATION_TABLES "/") + QLatin1String(pack.table), &error);
        ASSERT_TRUE(table) << error.toStdString();
        EXPECT_EQ(DisplayNameForFile(table->language), pack.displayName);
        const QStringList findings = CheckTranslationTable(*table);
        EXPECT_TRUE(findings.isEmpty()) << findings.join(u'\n').toStdString();

        const LanguageState state = packs.ApplyLanguage(pack.displayName, kTitle);
        ASSERT_TRUE(state.packLoaded);
        EXPECT_EQ(state.current, pack.displayName);
        QStringList fromTable = PackTexts(*table);
        for (int index = 0; index < UiTextAllCount; ++index) {
            SCOPED_TRACE(index);
            const QString english = EnglishDefaultText(index);
            const QString text = UiText(index);
            if (index == text::Language || index == text::AboutProduct || index == text::NoDatabaseFound) {
                continue; // the edition's own texts, checked below
            }
            EXPECT_EQ(text, fromTable[index].replace(QStringLiteral("(CRLF)"), QStringLiteral("\r\n")));
            EXPECT_EQ(text.isEmpty(), english.isEmpty());
            EXPECT_EQ(Specifiers(text), Specifiers(english)) << text.toStdString();
            EXPECT_EQ(text.count(u'\n'), english.count(u'\n'));
        }
        EXPECT_EQ(UiText(text::Language), QStringLiteral("Language"));
        EXPECT_TRUE(UiText(text::AboutProduct).contains(kTitle));
        EXPECT_TRUE(UiText(text::NoDatabaseFound).contains(kTitle));
        EXPECT_NE(UiText(text::Cancel), EnglishDefaultText(text::Cancel));
    }
    EXPECT_TRUE(prompter.records.empty());
}
