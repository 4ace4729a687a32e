// `vantor remote` as users on two computers run it against one folder on a share.
#include "cli/tests/RunVantor.h"
#include "platform/testing/TempEnvironment.h"
#include "store/DatabaseLockFile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>

namespace {

using vantor::testing::RunVantor;

class RemoteCommands : public ::testing::Test {
protected:
    void SetUp() override {
        // The other computer has its own data root and settings.
        other = QProcessEnvironment::systemEnvironment();
        const QString root = env.Root() + QStringLiteral("/otherpc");
        other.insert(QStringLiteral("VANTOR_COMMON_APPDATA"), root + QStringLiteral("/common"));
        other.insert(QStringLiteral("VANTOR_USER_APPDATA"), root + QStringLiteral("/user"));
        other.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
        other.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
        other.insert(QStringLiteral("VANTOR_COMPUTER_NAME"), QStringLiteral("OTHERPC"));
        ASSERT_EQ(RunVantor({QStringLiteral("init")}).status, 0);
        ASSERT_EQ(RunVantor({QStringLiteral("init")}, other).status, 0);
        // A remote folder: a copy of a database in "<share>/Plant/Database".
        folder = env.Root() + QStringLiteral("/share/Plant");
        QDir().mkpath(folder + QStringLiteral("/Database"));
        ASSERT_TRUE(QFile::copy(env.CommonAppData() +
                                    QStringLiteral("/Norhall Instruments/Corvane/Database/VantorV1.mdb"),
                                folder + QStringLiteral("/Database/VantorV1.mdb")));
    }
    QString LockFile() const { return folder + QStringLiteral("/Database/VantorV1.ldb"); }

    // Starts a program that holds the remote database open: an import waiting for its question.
    void HoldRemoteOpen(QProcess& holder) {
        QFile::copy(QStringLiteral("/dev/null"), env.Root() + QStringLiteral("/empty.rmd"));
        holder.start(QStringLiteral(VANTOR_CLI_PATH),
                     {QStringLiteral("import"), env.Root() + QStringLiteral("/empty.rmd")});
        ASSERT_TRUE(holder.waitForStarted());
        for (int i = 0; i < 500 && !QFile::exists(LockFile()); ++i) {
            QThread::msleep(20);
        }
        ASSERT_TRUE(QFile::exists(LockFile()));
    }

    vantor::testing::TempEnvironment env;
    QProcessEnvironment other;
    QString folder;
};

TEST_F(RemoteCommands, OpenListAndLocalPersistInTheSettings) {
    ASSERT_EQ(RunVantor({QStringLiteral("remote"), QStringLiteral("open"), folder}).status, 0);
    const auto list = RunVantor({QStringLiteral("remote"), QStringLiteral("list"), QStringLiteral("--json")});
    const QJsonObject json = QJsonDocument::fromJson(list.out).object();
    EXPECT_EQ(json[QStringLiteral("inUse")].toString(), QStringLiteral("remote"));
    EXPECT_EQ(json[QStringLiteral("folder")].toString(), folder);
    EXPECT_FALSE(QFile::exists(LockFile())) << "the line goes when the program ends";
    ASSERT_EQ(RunVantor({QStringLiteral("remote"), QStringLiteral("local")}).status, 0);
    const auto text = RunVantor({QStringLiteral("remote"), QStringLiteral("list")});
    EXPECT_EQ(text.out, QByteArray("Local Database\n1\t") + folder.toUtf8() + "\n");
    EXPECT_EQ(RunVantor({QStringLiteral("remote"), QStringLiteral("use"), QStringLiteral("1")}).status, 0);
}

TEST_F(RemoteCommands, OtherComputerIsRefusedUntilTheHolderIsGone) {
    ASSERT_EQ(RunVantor({QStringLiteral("remote"), QStringLiteral("open"), folder}).status, 0);
    QProcess holder;
    ASSERT_NO_FATAL_FAILURE(HoldRemoteOpen(holder));

    // A second program of this computer is not refused; the other computer is.
    EXPECT_EQ(RunVantor({QStringLiteral("list"), QStringLiteral("machines")}).status, 0);
    const auto who = RunVantor({QStringLiteral("remote"), QStringLiteral("who"), folder}, other);
    EXPECT_EQ(who.out,
              (QStringLiteral("User1: ") + vantor::ThisComputerName() + QStringLiteral("\r\n\n")).toUtf8());
    const auto refused = RunVantor({QStringLiteral("remote"), QStringLiteral("open"), folder}, other);
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(
        "The Remote Database is currently in use, please try again later.\r\n\r\nUser1: "));
    EXPECT_TRUE(refused.err.contains("Unable to make Remote connection, switching to Local Database."));

    // Killed without a chance to remove its line: the next program of this computer drops it.
    ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
    holder.waitForFinished();
    ASSERT_TRUE(QFile::exists(LockFile()));
    EXPECT_EQ(RunVantor({QStringLiteral("list"), QStringLiteral("machines")}).status, 0);
    EXPECT_FALSE(QFile::exists(LockFile()));
    EXPECT_EQ(RunVantor({QStringLiteral("remote"), QStringLiteral("open"), folder}, other).status, 0);
}

TEST_F(RemoteCommands, ACommandStartedAgainstAHeldRemoteDatabaseStopsAndWritesNothingLocally) {
    // The other computer works on the shared database; then this computer holds it open.
    ASSERT_EQ(RunVantor({QStringLiteral("remote"), QStringLiteral("open"), folder}, other).status, 0);
    ASSERT_EQ(RunVantor({QStringLiteral("remote"), QStringLiteral("open"), folder}).status, 0);
    QProcess holder;
    ASSERT_NO_FATAL_FAILURE(HoldRemoteOpen(holder));

    const auto added =
        RunVantor({QStringLiteral("machine"), QStringLiteral("add"), QStringLiteral("Pump")}, other);
    EXPECT_EQ(added.status, 1);
    EXPECT_TRUE(added.err.contains("The Remote Database is currently in use, please try again later."));
    EXPECT_FALSE(added.err.contains("switching to Local Database"));
    EXPECT_TRUE(added.out.isEmpty()) << added.out.constData(); // no GUID: nothing was added

    ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
    holder.waitForFinished();
    // Still the remote database by the settings, and neither database got the machine.
    const auto list =
        RunVantor({QStringLiteral("remote"), QStringLiteral("list"), QStringLiteral("--json")}, other);
    EXPECT_EQ(QJsonDocument::fromJson(list.out).object()[QStringLiteral("inUse")].toString(),
              QStringLiteral("remote"));
    // The listing is its header line alone.
    EXPECT_EQ(RunVantor({QStringLiteral("list"), QStringLiteral("machines")}).out.count('\n'), 1);
    ASSERT_EQ(RunVantor({QStringLiteral("remote"), QStringLiteral("local")}, other).status, 0);
    EXPECT_EQ(RunVantor({QStringLiteral("list"), QStringLiteral("machines")}, other).out.count('\n'), 1);
}

} // namespace
