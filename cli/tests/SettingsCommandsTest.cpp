// `vantor settings` as a user runs it, on a temporary profile.
#include "cli/tests/RunVantor.h"
#include "platform/testing/TempEnvironment.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>

namespace {

using Outcome = vantor::testing::VantorRun;

class SettingsCommands : public ::testing::Test {
protected:
    static Outcome Vantor(const QStringList& arguments) {
        return vantor::testing::RunVantor(QStringList{QStringLiteral("settings")} << arguments);
    }
    QString SettingsFile() const {
        return env.Root() + QStringLiteral("/config/Norhall Instruments/Corvane.conf");
    }

    vantor::testing::TempEnvironment env;
};

} // namespace

TEST_F(SettingsCommands, ListPrintsEveryValueInFieldOrderWithoutADatabase) {
    const Outcome list = Vantor({QStringLiteral("list")});
    ASSERT_EQ(list.status, 0) << list.err.toStdString();
    const QList<QByteArray> lines = list.out.split('\n');
    ASSERT_EQ(lines.size(), 44); // 43 values and the final line break
    EXPECT_EQ(lines[0], "DialogLeft\t0");
    EXPECT_EQ(lines[6], "Language\t");
    EXPECT_EQ(lines[14], "Band4Name\tNOT USED");
    EXPECT_EQ(lines[23], "BackColor\t16777215");
    EXPECT_EQ(lines[26], "DP g\t1");
    EXPECT_EQ(lines[32], "UnicodeOrCSV\t0");
    EXPECT_EQ(lines[33], "SmtpHost\t");
    EXPECT_EQ(lines[34], "SmtpPort\t25");
    EXPECT_EQ(lines[37], "SmtpPassword\tnot set");
    EXPECT_EQ(lines[38], "SmtpFrom\t");
    EXPECT_EQ(lines[42], "SmtpAllowPlainAuth\t");
    EXPECT_FALSE(QFile::exists(SettingsFile())); // reading leaves the profile untouched
}

TEST_F(SettingsCommands, SetStoresAtOnceAndLaterRunsReadIt) {
    EXPECT_EQ(Vantor({QStringLiteral("set"), QStringLiteral("DP mms"), QStringLiteral("2")}).status, 0);
    EXPECT_TRUE(QFile::exists(SettingsFile()));
    EXPECT_EQ(
        Vantor({QStringLiteral("set"), QStringLiteral("VibStatusColumn2"), QStringLiteral("-1")}).status, 0);
    EXPECT_EQ(Vantor({QStringLiteral("set"), QStringLiteral("RemoteFolderPath1"), QStringLiteral("/mnt/a b")})
                  .status,
              0);
    EXPECT_EQ(Vantor({QStringLiteral("get"), QStringLiteral("DP mms")}).out, "2\n");
    EXPECT_EQ(Vantor({QStringLiteral("get"), QStringLiteral("VibStatusColumn2")}).out, "-1\n");

    const Outcome list = Vantor({QStringLiteral("list")});
    EXPECT_TRUE(list.out.contains("\nLocalOrRemote\t0\nRemoteFolderPath1\t/mnt/a b\nDP g\t1\n"))
        << list.out.toStdString();
    EXPECT_TRUE(list.out.contains("\nDP mms\t2\n"));
}

TEST_F(SettingsCommands, BadNamesAndNumbersAreUsageErrorsThatStoreNothing) {
    const Outcome unknown = Vantor({QStringLiteral("get"), QStringLiteral("Colour")});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "Unknown setting: Colour\n");
    const Outcome notANumber =
        Vantor({QStringLiteral("set"), QStringLiteral("AppLook"), QStringLiteral("big")});
    EXPECT_EQ(notANumber.status, 2);
    EXPECT_EQ(notANumber.err, "AppLook takes a whole number, not \"big\"\n");
    EXPECT_FALSE(QFile::exists(SettingsFile()));
    EXPECT_EQ(Vantor({QStringLiteral("get")}).status, 2);
}

// The mail password is read from standard input only, kept out of the settings file in an
// owner-only secrets file (no keyring in tests), and never printed.
TEST_F(SettingsCommands, TheMailPasswordComesFromStandardInputAndIsNeverPrinted) {
    const auto set = [](const QString& value, const std::optional<QByteArray>& input) {
        return vantor::testing::RunVantor(
            {QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("SmtpPassword"), value},
            QProcessEnvironment::systemEnvironment(), input);
    };
    const Outcome onCommandLine = set(QStringLiteral("s3cret"), std::nullopt);
    EXPECT_EQ(onCommandLine.status, 2);
    EXPECT_TRUE(onCommandLine.err.contains("never taken from the command line"))
        << onCommandLine.err.toStdString();
    EXPECT_EQ(set(QStringLiteral("-"), std::nullopt).status, 1) << "no line on standard input";
    EXPECT_EQ(Vantor({QStringLiteral("get"), QStringLiteral("SmtpPassword")}).out, "not set\n");

    const Outcome stored = set(QStringLiteral("-"), QByteArray("s3cret word\n"));
    ASSERT_EQ(stored.status, 0) << stored.err.toStdString();
    EXPECT_EQ(Vantor({QStringLiteral("get"), QStringLiteral("SmtpPassword")}).out, "set\n");
    const Outcome list = Vantor({QStringLiteral("list")});
    EXPECT_TRUE(list.out.contains("\nSmtpUser\t\nSmtpPassword\tset\nSmtpFrom\t\n")) << list.out.toStdString();
    EXPECT_FALSE(list.out.contains("s3cret"));

    const QString secrets = env.Root() + QStringLiteral("/config/Norhall Instruments/Corvane.secrets");
    ASSERT_TRUE(QFile::exists(secrets));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(secrets).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    QFile settings(SettingsFile());
    if (settings.open(QIODevice::ReadOnly)) {
        EXPECT_FALSE(settings.readAll().contains("s3cret"));
    }

    ASSERT_EQ(set(QStringLiteral("-"), QByteArray("\n")).status, 0) << "an empty line removes it";
    EXPECT_EQ(Vantor({QStringLiteral("get"), QStringLiteral("SmtpPassword")}).out, "not set\n");
}
