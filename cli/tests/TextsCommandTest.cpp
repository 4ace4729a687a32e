// Runs `vantor texts` as a user would, on a temporary data root.
#include "archive/ArchiveWriter.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/TempEnvironment.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

class TextsCommand : public ::testing::Test {
protected:
    QStringList Texts(const QStringList& arguments, int expectedStatus = 0) {
        const vantor::testing::VantorRun run =
            vantor::testing::RunVantor(QStringList{QStringLiteral("texts")} << arguments);
        EXPECT_EQ(run.status, expectedStatus) << run.err.toStdString();
        QStringList lines = QString::fromUtf8(run.out).split(u'\n');
        EXPECT_EQ(lines.takeLast(), QString()); // every line ends with a line feed
        return lines;
    }

    QString LanguageFolder() const {
        return env.CommonAppData() + QStringLiteral("/Norhall Instruments/Corvane/Language");
    }

    void WritePack(const QString& fileName, const QStringList& texts) const {
        QDir().mkpath(LanguageFolder());
        const auto write = [](const QString& path, const QByteArray& bytes) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        QByteArray descriptor;
        vantor::ArchiveWriter head(descriptor);
        head.WriteFloat(1.0F);
        head.WriteFloat(1.0F);
        head.WriteDate({});
        for (const char* text : {"set", "A", "B"}) {
            head.WriteString(QString::fromLatin1(text));
        }
        write(LanguageFolder() + QStringLiteral("/LangPack.vpl"), descriptor);
        QByteArray language;
        vantor::ArchiveWriter body(language);
        body.WriteFloat(1.0F);
        body.WriteDate({});
        for (const char* text : {"by", "A", "B"}) {
            body.WriteString(QString::fromLatin1(text));
        }
        body.WriteInt32(static_cast<qint32>(texts.size()));
        for (const QString& text : texts) {
            body.WriteString(text);
        }
        write(LanguageFolder() + u'/' + fileName, language);
    }

    vantor::testing::TempEnvironment env;
};

} // namespace

TEST_F(TextsCommand, PrintsTheEnglishDefaultsOneLineEach) {
    const QStringList lines = Texts({});
    ASSERT_EQ(lines.size(), vantor::UiTextCount);
    EXPECT_EQ(lines.at(0), QStringLiteral("0\tOK"));
    EXPECT_EQ(lines.at(10), QStringLiteral("10\tAbout Corvane"));
    EXPECT_EQ(lines.at(11), QStringLiteral("11\tNo Database found, please reinstall Corvane!"));
    EXPECT_EQ(lines.at(35), QStringLiteral("35\t"));
    EXPECT_EQ(lines.at(102), QStringLiteral("102\tName cannot contain any of the following characters:\\r\\n"
                                            "* $ \\ / ? > < : \" |\\r\\nPlease re-type!"));
    EXPECT_EQ(lines.at(156), QString::fromUtf8("156\t\xC2\xB5m"));
}

TEST_F(TextsCommand, PrintsTheChosenInstalledPack) {
    QStringList texts;
    for (int i = 0; i < vantor::UiTextCount; ++i) {
        texts << QStringLiteral("fr%1").arg(i);
    }
    texts[3] = QStringLiteral("Non(CRLF)vraiment");
    texts[10] = QStringLiteral("\u00c0 propos de Vantor");
    WritePack(QStringLiteral("Francais.vpl"), texts);

    const QStringList french = Texts({QStringLiteral("--language"), QString::fromUtf8("Fran\xC3\xA7"
                                                                                      "ais")});
    ASSERT_EQ(french.size(), vantor::UiTextCount);
    EXPECT_EQ(french.at(0), QStringLiteral("0\tfr0"));
    EXPECT_EQ(french.at(3), QStringLiteral("3\tNon\\r\\nvraiment"));
    EXPECT_EQ(french.at(9), QStringLiteral("9\tLanguage"));
    EXPECT_EQ(french.at(10), QStringLiteral("10\t\u00c0 propos de Corvane"));

    // Not chosen, or not installed under that name: English.
    EXPECT_EQ(Texts({}).at(0), QStringLiteral("0\tOK"));
    EXPECT_EQ(Texts({QStringLiteral("--language"), QStringLiteral("Francais")}).at(0),
              QStringLiteral("0\tOK"));

    // Without the option the language of the settings is used.
    const vantor::testing::VantorRun set = vantor::testing::RunVantor(
        {QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("Language"),
         QString::fromUtf8("Fran\xC3\xA7"
                           "ais")});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    EXPECT_EQ(Texts({}).at(0), QStringLiteral("0\tfr0"));
}

TEST_F(TextsCommand, TheLanguagePacksInstalledWithTheProgramReachTheDataRoot) {
    env.UseProgramData(QString()); // found beside the executable, as installed
    const QStringList german = Texts({QStringLiteral("--language"), QStringLiteral("Deutsch")});
    ASSERT_EQ(german.size(), vantor::UiTextCount);
    EXPECT_EQ(german.at(1), QStringLiteral("1\tAbbrechen"));
    EXPECT_EQ(german.at(10), QString::fromUtf8("10\t\xC3\x9C"
                                               "ber Corvane"));
    for (const char* file : {"LangPack.vpl", "Deutsch.vpl", "Deutsch.vpa", "Francais.vpl", "Espanol.vpl"}) {
        EXPECT_TRUE(QFile::exists(LanguageFolder() + u'/' + QLatin1String(file))) << file;
    }
}
