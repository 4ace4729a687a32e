// The bearing diagnosis on the developers' real recordings (seven inner-race and seven outer-race
// faults of a test rig), each imported, given the rig's bearing and diagnosed as a user would: the
// labelled family must come first on every record, and alone on those where it does today (a
// regression names the record). Skipped, saying so, where the recordings are not present.
#include "BearingDataScore.h"
#include "DatabaseFixture.h"

#include <QDir>

#include <map>

#ifndef VANTOR_BEARING_DATA
#define VANTOR_BEARING_DATA ""
#endif

namespace vantor::testing {
namespace {

class BearingDataTest : public DatabaseFixture {};

TEST_F(BearingDataTest, EachRecordingNamesItsLabelledFamily) {
    const QString folder = QDir(QStringLiteral(VANTOR_BEARING_DATA)).filePath(QStringLiteral("mfpt"));
    if (!QFile::exists(QDir(folder).filePath(QStringLiteral("labels.json")))) {
        GTEST_SKIP() << "no bearing recordings at " << folder.toStdString()
                     << " (CMake VANTOR_BEARING_DATA): the real-data check is skipped";
    }
    // Per record: the labelled family alone (true) or first among others (false).
    const std::map<QString, bool> alone = {
        {QStringLiteral("inner-1"), true}, {QStringLiteral("inner-2"), true},
        {QStringLiteral("inner-3"), true}, {QStringLiteral("inner-4"), true},
        {QStringLiteral("inner-5"), true}, {QStringLiteral("inner-6"), true},
        {QStringLiteral("inner-7"), true}, {QStringLiteral("outer-1"), true},
        {QStringLiteral("outer-2"), true}, {QStringLiteral("outer-3"), true},
        {QStringLiteral("outer-4"), true}, {QStringLiteral("outer-5"), true},
        {QStringLiteral("outer-6"), true}, {QStringLiteral("outer-7"), true},
    };
    const std::vector<RecordScore> scores = ScoreRecordings(*app, folder);
    ASSERT_EQ(scores.size(), alone.size());
    int first = 0;
    int alones = 0;
    for (const RecordScore& s : scores) {
        SCOPED_TRACE(s.name.toStdString());
        ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
        EXPECT_TRUE(s.rightFirst) << "named first " << s.first.toStdString() << ", labelled "
                                  << s.expected.toStdString();
        if (alone.at(s.name)) {
            EXPECT_TRUE(s.rightAlone) << "flagged " << s.flagged.join(QStringLiteral(", ")).toStdString();
        }
        first += s.rightFirst ? 1 : 0;
        alones += s.rightAlone ? 1 : 0;
    }
    EXPECT_EQ(first, 14);
    EXPECT_GE(alones, 12);
}

} // namespace
} // namespace vantor::testing
