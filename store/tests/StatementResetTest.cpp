#include "platform/testing/TempEnvironment.h"
#include "store/SqlConnection.h"

#include <QDir>

#include <gtest/gtest.h>

#include <limits>

using namespace vantor;

namespace {

class StatementRuns : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(connection.Open()) << connection.LastError().toStdString();
        RunOnce(connection.Prepared(QStringLiteral("CREATE TABLE tblCounted (iValue INTEGER)")));
    }
    void Insert(qint64 value) {
        SqlStatement& insert =
            connection.Prepared(QStringLiteral("INSERT INTO tblCounted (iValue) VALUES (?)"));
        insert.BindInteger(0, value);
        RunOnce(insert);
    }

    vantor::testing::TempEnvironment env;
    SqlConnection connection{QDir(env.Root()).filePath(QStringLiteral("counted.db")),
                             SqlConnection::Mode::Create};
};

} // namespace

// A statement read for its first row only is reset, so its next run starts over instead of
// continuing with the rows the last one left.
TEST_F(StatementRuns, FirstIntegerReadsTheFirstRowOfEachRun) {
    const QString count = QStringLiteral("SELECT COUNT(*) FROM tblCounted");
    const QString values = QStringLiteral("SELECT iValue FROM tblCounted ORDER BY iValue");
    const QString largest = QStringLiteral("SELECT MAX(iValue) FROM tblCounted");
    EXPECT_EQ(FirstInteger(connection.Prepared(count)), 0);
    EXPECT_EQ(FirstInteger(connection.Prepared(largest)), std::nullopt); // NULL over no rows
    for (const qint64 value : {5, 3, 8}) {
        Insert(value);
    }
    EXPECT_EQ(FirstInteger(connection.Prepared(count)), 3);
    EXPECT_EQ(FirstInteger(connection.Prepared(values)), 3);
    EXPECT_EQ(FirstInteger(connection.Prepared(values)), 3);
    EXPECT_EQ(FirstInteger(connection.Prepared(largest)), 8);
    EXPECT_EQ(FirstInteger(connection.Prepared(QStringLiteral("SELECT iValue FROM tblCounted WHERE 0"))),
              std::nullopt);
}

// A run that throws leaves the statement reset too: its bound values are gone, so the next run
// reads NULL instead of failing again.
TEST_F(StatementRuns, AThrowingRunLeavesTheStatementReady) {
    SqlStatement& absolute = connection.Prepared(QStringLiteral("SELECT abs(?)"));
    absolute.BindInteger(0, std::numeric_limits<qint64>::min()); // integer overflow when stepped
    EXPECT_THROW(FirstInteger(absolute), DatabaseError);
    EXPECT_EQ(FirstInteger(absolute), std::nullopt);
    absolute.BindInteger(0, -4);
    EXPECT_EQ(FirstInteger(absolute), 4);
}
