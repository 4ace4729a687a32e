#include "store/DatabaseLockFile.h"

#include "platform/testing/TempEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

namespace vantor {
namespace {

using namespace std::chrono_literals;

// The PID of a program that has ended.
qint64 DeadPid() {
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForFinished();
    return process.processId() != 0 ? process.processId() : 999999;
}

class LockFileTest : public ::testing::Test {
protected:
    QString Database() const { return QDir(env.Root()).filePath(QStringLiteral("VantorV1.mdb")); }
    QString LockPath() const { return QDir(env.Root()).filePath(QStringLiteral("VantorV1.ldb")); }

    void Plant(const std::vector<LockFileLine>& lines) {
        QFile file(LockPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(FormatLockFile(lines));
    }
    std::vector<LockFileLine> Lines() {
        QFile file(LockPath());
        return file.open(QIODevice::ReadOnly) ? ParseLockFile(file.readAll()) : std::vector<LockFileLine>{};
    }
    static QDateTime Ago(int seconds) { return QDateTime::currentDateTimeUtc().addSecs(-seconds); }

    testing::TempEnvironment env;
};

TEST_F(LockFileTest, LockFileSitsBesideTheDatabaseWithItsOwnExtension) {
    EXPECT_EQ(LockFilePathFor(Database()), LockPath());
}

TEST_F(LockFileTest, StalenessByAgeAndByProcess) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const qint64 alive = ::getpid();
    const qint64 dead = DeadPid();
    struct Case {
        const char* what;
        LockFileLine line;
        bool stale;
    } cases[] = {
        {"fresh, other computer", {"OTHERPC", dead, now.addSecs(-10)}, false},
        {"heartbeat too old", {"OTHERPC", alive, now.addSecs(-121)}, true},
        {"just within the limit", {"OTHERPC", alive, now.addSecs(-119)}, false},
        {"this computer, program ended", {"HERE", dead, now}, true},
        {"this computer, name in other case", {"here", dead, now}, true},
        {"this computer, program running", {"HERE", alive, now}, false},
        {"clock of the other computer runs ahead", {"OTHERPC", dead, now.addSecs(600)}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsStale(c.line, now, QStringLiteral("HERE")), c.stale) << c.what;
    }
}

TEST_F(LockFileTest, FormatAndParseRoundTripAndDropDamagedLines) {
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC);
    const std::vector<LockFileLine> lines{{"PC1", 42, when}, {"PC2", 7, when}};
    const QByteArray text = FormatLockFile(lines);
    EXPECT_EQ(text, QByteArray("PC1\t42\t2026-03-04 05:06:07\nPC2\t7\t2026-03-04 05:06:07\n"));
    const auto parsed = ParseLockFile(text + "garbage\nPC3\tx\t2026-03-04 05:06:07\n\tPC4\n");
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[1].computer, QStringLiteral("PC2"));
    EXPECT_EQ(parsed[1].heartbeat, when);
}

TEST_F(LockFileTest, FreshLineOfAnotherComputerRefusesAndIsListed) {
    Plant(
        {{"OTHERPC", 1, Ago(5)}, {"HERE", ::getppid(), Ago(5)}, {"OTHERPC", 2, Ago(3)}, {"PC9", 3, Ago(1)}});
    DatabaseLockFile file(Database(), QStringLiteral("HERE"));
    const auto found = file.Register();
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->open);
    EXPECT_EQ(found->text, QStringLiteral("User1: OTHERPC\r\nUser2: PC9\r\n"));
    EXPECT_EQ(Lines().size(), 4u) << "a refused program adds no line";
}

TEST_F(LockFileTest, StaleLinesDoNotRefuseAndAreCleaned) {
    const qint64 dead = DeadPid();
    Plant({{"OTHERPC", 1, Ago(500)}, {"HERE", dead, Ago(1)}, {"HERE", ::getppid(), Ago(1)}});
    DatabaseLockFile file(Database(), QStringLiteral("HERE"));
    const auto found = file.Register();
    ASSERT_TRUE(found.has_value());
    EXPECT_FALSE(found->open);
    EXPECT_EQ(found->text, QStringLiteral("No Users found"));
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u) << "the other program of this computer stays, our line is added";
    EXPECT_EQ(lines[0].pid, ::getppid());
    EXPECT_EQ(lines[1].pid, ::getpid());
}

TEST_F(LockFileTest, ProgramsOfOneComputerShareAndTheLastOneRemovesTheFile) {
    DatabaseLockFile first(Database(), QStringLiteral("HERE"), ::getpid());
    DatabaseLockFile second(Database(), QStringLiteral("HERE"), ::getppid());
    ASSERT_FALSE(first.Register().value().open);
    ASSERT_FALSE(second.Register().value().open);
    ASSERT_FALSE(first.Register().value().open);
    EXPECT_EQ(Lines().size(), 2u) << "registering twice keeps one line";
    DatabaseLockFile other(Database(), QStringLiteral("OTHERPC"));
    EXPECT_EQ(other.Users().text, QStringLiteral("User1: HERE\r\n"));
    EXPECT_TRUE(first.Unregister());
    EXPECT_TRUE(QFile::exists(LockPath()));
    EXPECT_TRUE(second.Unregister());
    EXPECT_FALSE(QFile::exists(LockPath()));
    EXPECT_FALSE(other.Users().open);
}

TEST_F(LockFileTest, HolderRenewsItsLineAndRemovesItAtTheEnd) {
    {
        DatabaseLockHolder holder(Database(), 10ms);
        ASSERT_TRUE(holder.Held());
        // Age the line, as if the program had been stopped for a while; the heartbeat renews it and
        // puts it back when another program dropped it meanwhile.
        Plant({{ThisComputerName(), ::getpid(), Ago(100)}});
        for (int i = 0; i < 500 && Ago(0).toSecsSinceEpoch() - Lines().at(0).heartbeat.toSecsSinceEpoch() > 5;
             ++i) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_LE(Lines().at(0).heartbeat.secsTo(Ago(0)), 5);
        QFile::remove(LockPath());
        for (int i = 0; i < 500 && Lines().empty(); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_EQ(Lines().size(), 1u);
    }
    EXPECT_FALSE(QFile::exists(LockPath()));
}

TEST_F(LockFileTest, HolderRefusedByAnotherComputerHoldsNothing) {
    Plant({{"OTHERPC", 1, Ago(1)}});
    DatabaseLockHolder holder(Database(), 10ms);
    EXPECT_FALSE(holder.Held());
    ASSERT_TRUE(holder.Found().has_value());
    EXPECT_TRUE(holder.Found()->computers == QStringList{QStringLiteral("OTHERPC")});
}

} // namespace
} // namespace vantor
