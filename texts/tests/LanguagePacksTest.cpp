#include "texts/LanguagePacks.h"

#include "archive/ArchiveWriter.h"
#include "platform/testing/RecordingPrompter.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

using namespace vantor;

namespace {

const QString kTitle = QStringLiteral("Corvane");
const QString kFrench = QString::fromUtf8("Fran\xC3\xA7"
                                          "ais");

QStringList NumberedTexts(const QString& prefix, int count = UiTextCount) {
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        texts << prefix + QString::number(i);
    }
    return texts;
}

struct LanguageFile {
    QStringList texts = NumberedTexts(QStringLiteral("t"));
    QString identityA = QStringLiteral("Set-A");
    QString identityB = QStringLiteral("Set-B");
    float version = kPackFormatVersion;
    std::optional<qint32> count; // texts.size() unless given
};

LanguageFile Numbered(const QString& prefix) {
    LanguageFile file;
    file.texts = NumberedTexts(prefix);
    return file;
}

class LanguagePacksTest : public ::testing::Test {
protected:
    void TearDown() override { UiTextTable::ResetToDefaults(); }

    QString Path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }

    void Write(const QString& relative, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(Path(relative)).path());
        QFile file(Path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void WriteDescriptor(float format = kPackFormatVersion, float set = kLanguageSetVersion) const {
        QByteArray bytes;
        ArchiveWriter writer(bytes);
        writer.WriteFloat(format);
        writer.WriteFloat(set);
        writer.WriteDateTime(QDateTime(QDate(2012, 3, 4), QTime(5, 6)));
        writer.WriteString(QStringLiteral("Language set"));
        writer.WriteString(QStringLiteral("Set-A"));
        writer.WriteString(QStringLiteral("Set-B"));
        Write(QStringLiteral("LangPack.vpl"), bytes);
    }

    static QByteArray Encode(const LanguageFile& language) {
        QByteArray bytes;
        ArchiveWriter writer(bytes);
        writer.WriteFloat(language.version);
        writer.WriteDateTime(QDateTime(QDate(2012, 3, 4), QTime(5, 6)));
        writer.WriteString(QStringLiteral("translated by someone"));
        writer.WriteString(language.identityA);
        writer.WriteString(language.identityB);
        writer.WriteInt32(language.count.value_or(static_cast<qint32>(language.texts.size())));
        for (const QString& text : language.texts) {
            writer.WriteString(text);
        }
        return bytes;
    }

    void WriteLanguage(const QString& relative, const LanguageFile& language = {}) const {
        Write(relative, Encode(language));
    }

    LanguagePacks Packs(bool usEnglish = false) { return LanguagePacks(dir.path(), prompter, usEnglish); }

    static void ExpectEnglishDefaults() {
        EXPECT_EQ(UiText(0), QStringLiteral("OK"));
        EXPECT_EQ(UiText(10), QStringLiteral("About Corvane"));
        EXPECT_EQ(UiText(11), QStringLiteral("No Database found, please reinstall Corvane!"));
        EXPECT_EQ(UiText(394), EnglishDefaultText(394));
    }

    QTemporaryDir dir;
    vantor::testing::RecordingPrompter prompter;
};

} // namespace

TEST(LanguageNames, OnlyThreeFileNamesGainAccents) {
    EXPECT_EQ(DisplayNameForFile(QStringLiteral("Francais")), kFrench);
    EXPECT_EQ(DisplayNameForFile(QStringLiteral("Espanol")), QString::fromUtf8("Espa\xC3\xB1ol"));
    EXPECT_EQ(DisplayNameForFile(QStringLiteral("Portugues")), QString::fromUtf8("Portugu\xC3\xAAs"));
    EXPECT_EQ(DisplayNameForFile(QStringLiteral("Deutsch")), QStringLiteral("Deutsch"));
    EXPECT_EQ(DisplayNameForFile(QStringLiteral("francais")), QStringLiteral("francais"));
    EXPECT_EQ(FileNameForDisplay(kFrench), QStringLiteral("Francais"));
    EXPECT_EQ(FileNameForDisplay(QString::fromUtf8("Portugu\xC3\xAAs")), QStringLiteral("Portugues"));
    EXPECT_EQ(FileNameForDisplay(QStringLiteral("Italiano")), QStringLiteral("Italiano"));
}

TEST_F(LanguagePacksTest, WithNothingInstalledTheMenuHoldsEnglishAlone) {
    UiTextTable::Replace(NumberedTexts(QStringLiteral("old")));
    const LanguageState state = Packs().ApplyLanguage(kFrench, kTitle);
    EXPECT_EQ(state.languages, QStringList{QStringLiteral("English")});
    EXPECT_EQ(state.current, QStringLiteral("English"));
    EXPECT_EQ(state.currentPosition, 0);
    EXPECT_EQ(LanguageState::MenuId(0), 9000);
    EXPECT_TRUE(state.IsChecked(9000));
    EXPECT_EQ(state.LanguageForMenuId(9000), QStringLiteral("English"));
    EXPECT_FALSE(state.LanguageForMenuId(9001));
    EXPECT_FALSE(state.LanguageForMenuId(8999));
    EXPECT_FALSE(state.packLoaded);
    ExpectEnglishDefaults();
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(LanguagePacksTest, AnInstalledPackIsListedLoadedAndSwitchedBack) {
    WriteDescriptor();
    LanguageFile french;
    french.texts = NumberedTexts(QStringLiteral("fr"));
    french.texts[5] = QStringLiteral("a(CRLF)(CRLF)b(CRLF)");
    french.texts[9] = QStringLiteral("Langue");
    french.texts[10] = QString::fromUtf8("\xC3\x80 propos de Vantor");
    french.texts[11] = QStringLiteral("Vantor: pas de base, r\u00e9installez Vantor");
    WriteLanguage(QStringLiteral("Francais.vpl"), french);
    WriteLanguage(QStringLiteral("Deutsch.vpl"));

    LanguagePacks packs = Packs();
    EXPECT_EQ(packs.BuildLanguageList(), (QStringList{QStringLiteral("Deutsch"), kFrench}));
    const LanguageState state = packs.ApplyLanguage(kFrench, kTitle);
    EXPECT_EQ(state.languages, (QStringList{QStringLiteral("English"), QStringLiteral("Deutsch"), kFrench}));
    EXPECT_EQ(state.current, kFrench);
    EXPECT_EQ(state.currentPosition, 2);
    EXPECT_EQ(state.englishPosition, 0);
    EXPECT_TRUE(state.IsChecked(9002));
    EXPECT_FALSE(state.IsChecked(9000));
    EXPECT_EQ(state.LanguageForMenuId(9001), QStringLiteral("Deutsch"));
    EXPECT_TRUE(state.packLoaded);
    EXPECT_EQ(UiText(0), QStringLiteral("fr0"));
    EXPECT_EQ(UiText(5), QStringLiteral("a\r\n\r\nb\r\n"));
    EXPECT_EQ(UiText(9), QStringLiteral("Language"));
    EXPECT_EQ(UiText(10), QString::fromUtf8("\xC3\x80 propos de Corvane"));
    EXPECT_EQ(UiText(11), QStringLiteral("Corvane: pas de base, r\u00e9installez Corvane"));
    EXPECT_EQ(UiText(394), QStringLiteral("fr394"));

    // Choosing English from the menu again brings back the defaults; nothing was deleted.
    const LanguageState english = packs.ApplyLanguage(*state.LanguageForMenuId(9000), kTitle);
    EXPECT_EQ(english.current, QStringLiteral("English"));
    EXPECT_FALSE(english.packLoaded);
    ExpectEnglishDefaults();
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("Francais.vpl"))));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("LangPack.vpl"))));
    // Names are compared exactly.
    EXPECT_EQ(packs.ApplyLanguage(QStringLiteral("deutsch"), kTitle).current, QStringLiteral("English"));
}

TEST_F(LanguagePacksTest, FilesOutsideTheInstalledSetAreNotListed) {
    WriteDescriptor();
    WriteLanguage(QStringLiteral("Deutsch.vpl"));
    LanguageFile shortFile;
    shortFile.texts = NumberedTexts(QStringLiteral("s"), UiTextCount - 1);
    WriteLanguage(QStringLiteral("Short.vpl"), shortFile);
    LanguageFile otherSetA;
    otherSetA.identityA = QStringLiteral("Other");
    WriteLanguage(QStringLiteral("OtherA.vpl"), otherSetA);
    LanguageFile otherSetB;
    otherSetB.identityB = QStringLiteral("set-b");
    WriteLanguage(QStringLiteral("OtherB.vpl"), otherSetB);
    LanguageFile newer;
    newer.version = 1.0000001F;
    WriteLanguage(QStringLiteral("Newer.vpl"), newer);
    Write(QStringLiteral("Truncated.vpl"), Encode({}).left(30));
    QDir().mkpath(Path(QStringLiteral("Folder.vpl")));

    LanguagePacks packs = Packs();
    EXPECT_EQ(packs.BuildLanguageList(), QStringList{QStringLiteral("Deutsch")});
    // A file asked for by name that is not listed is not loaded.
    const LanguageState state = packs.ApplyLanguage(QStringLiteral("Short"), kTitle);
    EXPECT_EQ(state.languages, (QStringList{QStringLiteral("English"), QStringLiteral("Deutsch")}));
    EXPECT_EQ(state.current, QStringLiteral("English"));
    ExpectEnglishDefaults();
}

TEST_F(LanguagePacksTest, LoadingADamagedFileDeletesItAndLeavesTheTableAlone) {
    LanguageFile shortFile;
    shortFile.texts = NumberedTexts(QStringLiteral("s"), UiTextCount - 1);
    WriteLanguage(QStringLiteral("Short.vpl"), shortFile);
    LanguageFile lying; // claims 395 texts but holds 394
    lying.texts = shortFile.texts;
    lying.count = UiTextCount;
    WriteLanguage(QStringLiteral("Lying.vpl"), lying);
    LanguageFile newer;
    newer.version = 2.0F;
    WriteLanguage(QStringLiteral("Newer.vpl"), newer);
    LanguageFile absurd;
    absurd.count = std::numeric_limits<qint32>::max();
    WriteLanguage(QStringLiteral("Absurd.vpl"), absurd);

    UiTextTable::ApplyEditionTitle(kTitle);
    LanguagePacks packs = Packs();
    for (const QString& name : {QStringLiteral("Short"), QStringLiteral("Lying"), QStringLiteral("Newer"),
                                QStringLiteral("Absurd")}) {
        EXPECT_FALSE(packs.LoadLanguage(name)) << name.toStdString();
        EXPECT_FALSE(QFile::exists(Path(name + QStringLiteral(".vpl")))) << name.toStdString();
    }
    EXPECT_FALSE(packs.LoadLanguage(QStringLiteral("Missing")));
    ExpectEnglishDefaults();
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(LanguagePacksTest, ADamagedFileThatCannotBeDeletedIsReported) {
    // A folder in place of the file: it can be neither read nor deleted as a file.
    QDir().mkpath(Path(QStringLiteral("Deutsch.vpl/inside")));
    EXPECT_FALSE(Packs().LoadLanguage(QStringLiteral("Deutsch")));
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_TRUE(
        prompter.Messages().first().contains(QDir::toNativeSeparators(Path(QStringLiteral("Deutsch.vpl")))));
    EXPECT_TRUE(prompter.Messages().first().contains(QStringLiteral("could not be deleted")));
}

TEST_F(LanguagePacksTest, NamesThatAreNotPlainFileNamesNeverReachTheFileSystem) {
    // A damaged file beside the language folder, named from inside it.
    Write(QStringLiteral("Secret.vpl"), QByteArray(3, '\0'));
    LanguagePacks packs(Path(QStringLiteral("Language")), prompter, false);
    EXPECT_FALSE(packs.LoadLanguage(QStringLiteral("../Secret")));
    EXPECT_FALSE(packs.LoadLanguage(QStringLiteral("..")));
    EXPECT_FALSE(packs.LoadLanguage(QString()));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("Secret.vpl"))));
}

TEST_F(LanguagePacksTest, ADamagedDescriptorLeavesEnglishAloneAndIsDeleted) {
    WriteLanguage(QStringLiteral("Deutsch.vpl"));
    EXPECT_TRUE(Packs().BuildLanguageList().isEmpty()); // no descriptor

    WriteDescriptor(kPackFormatVersion, 1.1F);
    const LanguageState state = Packs().ApplyLanguage(QStringLiteral("Deutsch"), kTitle);
    EXPECT_EQ(state.languages, QStringList{QStringLiteral("English")});
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("LangPack.vpl"))));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("Deutsch.vpl"))));
    ExpectEnglishDefaults();

    WriteDescriptor(0.99F, kLanguageSetVersion);
    EXPECT_TRUE(Packs().BuildLanguageList().isEmpty());
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("LangPack.vpl"))));

    Write(QStringLiteral("LangPack.vpl"), QByteArray("\0\0\x80\x3f\0\0\x80\x3f", 8));
    EXPECT_TRUE(Packs().BuildLanguageList().isEmpty());
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("LangPack.vpl"))));
}

TEST_F(LanguagePacksTest, TheStartMarkerChoosesAnInstalledLanguageOnce) {
    WriteDescriptor();
    WriteLanguage(QStringLiteral("Francais.vpl"), Numbered(QStringLiteral("fr")));
    Write(QStringLiteral("Start/Francais.vpl"), {});
    Write(QStringLiteral("Start/Portugues.vpl"), {});

    LanguagePacks packs = Packs();
    const LanguageState state = packs.ApplyLanguage(QStringLiteral("English"), kTitle);
    EXPECT_EQ(state.current, kFrench);
    EXPECT_TRUE(state.IsChecked(9001));
    EXPECT_EQ(UiText(0), QStringLiteral("fr0"));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("Start/Francais.vpl"))));
    // Only the first marker counts; the next start takes the next one, which is not installed.
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("Start/Portugues.vpl"))));
    const LanguageState next = packs.ApplyLanguage(state.current, kTitle);
    EXPECT_EQ(next.current, QStringLiteral("English"));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("Start/Portugues.vpl"))));
    ExpectEnglishDefaults();
}

TEST_F(LanguagePacksTest, UnitedStatesUsersReadEnglishFromTheUsFolder) {
    WriteDescriptor();
    WriteLanguage(QStringLiteral("English.vpl"), Numbered(QStringLiteral("en")));
    WriteLanguage(QStringLiteral("US/English.vpl"), Numbered(QStringLiteral("us")));

    EXPECT_EQ(Packs(true).LanguageFilePath(QStringLiteral("English")),
              Path(QStringLiteral("US/English.vpl")));
    EXPECT_EQ(Packs(false).LanguageFilePath(QStringLiteral("English")), Path(QStringLiteral("English.vpl")));
    EXPECT_EQ(Packs(true).LanguageFilePath(kFrench), Path(QStringLiteral("Francais.vpl")));

    LanguageState state = Packs(true).ApplyLanguage(QStringLiteral("English"), kTitle);
    EXPECT_EQ(state.languages, QStringList{QStringLiteral("English")});
    EXPECT_TRUE(state.packLoaded);
    EXPECT_EQ(UiText(0), QStringLiteral("us0"));
    state = Packs(false).ApplyLanguage(QStringLiteral("English"), kTitle);
    EXPECT_EQ(UiText(0), QStringLiteral("en0"));
    // A damaged US file is deleted and the defaults are used; the other English file stays.
    Write(QStringLiteral("US/English.vpl"), QByteArray(3, '\0'));
    state = Packs(true).ApplyLanguage(QStringLiteral("English"), kTitle);
    EXPECT_FALSE(state.packLoaded);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("US/English.vpl"))));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("English.vpl"))));
    ExpectEnglishDefaults();
}
