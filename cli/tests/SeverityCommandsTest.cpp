// vantor zones and the severity standard of a point as a user runs them: the boundaries printed for
// each standard and bad groups or supports refused; a point switched to ISO 20816-3 gets its zone in
// `status --json` while the other point's row stays byte for byte as it was; the standard's ALARM
// and TRIP printed without changing anything until --apply; and every bad input refused with
// nothing stored.
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/AlarmRecords.h"
#include "store/testing/TestPlant.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using testing::RunVantor;

class SeverityCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        CMainConnection& db = *app->MainConnection();
        zoned = testing::AddFanMotorDE(db);
        zoned.fRunSpeedHz = 25.0f;
        zoned.sVMName = QStringLiteral("MOTOR DE");
        ASSERT_TRUE(db.UpsertVib(zoned));
        other = zoned;
        other.sItemGUID = MakeItemGuid();
        other.fOrder = 1;
        other.sName = other.sVMName = QStringLiteral("Motor NDE");
        ASSERT_TRUE(db.UpsertVib(other));
        empty = zoned;
        empty.sItemGUID = MakeItemGuid();
        empty.fOrder = 2;
        empty.sName = empty.sVMName = QStringLiteral("Fan NDE");
        ASSERT_TRUE(db.UpsertVib(empty));
        // 1.0, 1.1, 1.2 then 3.1 mm/s: OK by the documented 4.5, zone C of group 2 rigid.
        const float values[] = {1.0f, 1.1f, 1.2f, 3.1f};
        for (int day = 0; day < 4; ++day) {
            for (const CVib* point : {&zoned, &other}) {
                ASSERT_TRUE(db.UpsertVibReading(testing::CapturedReading(
                    point->sItemGUID, QDateTime(QDate(2024, 5, 1 + day), QTime(10, 0)), values[day],
                    testing::QuarterRateSine(256, 1000))));
            }
        }
        app.reset();
    }

    testing::VantorRun Run(const QStringList& arguments, int expected = 0) {
        testing::VantorRun run = RunVantor(arguments);
        EXPECT_EQ(run.status, expected)
            << arguments.join(QLatin1Char(' ')).toStdString() << ": " << run.err.toStdString();
        return run;
    }
    QJsonObject Json(const QStringList& arguments) {
        return QJsonDocument::fromJson(Run(arguments).out).object();
    }
    QJsonArray Status() {
        return QJsonDocument::fromJson(Run({QStringLiteral("status"), QStringLiteral("--json")}).out).array();
    }
    CVib Stored(const QString& guid) {
        CAppData reader(prompter);
        EXPECT_TRUE(RunHeadlessStartup(reader));
        CVib vib;
        EXPECT_TRUE(reader.MainConnection()->GetVib(guid, vib));
        return vib;
    }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    CVib zoned;
    CVib other;
    CVib empty;
};

TEST_F(SeverityCommandsTest, ZonesPrintsEachStandardsBoundaries) {
    struct Case {
        QStringList arguments;
        int status;
        QString says; // in the output (JSON) or the message
    };
    const auto zones = [](const char* standard, const char* group, const char* support) {
        return QStringList{QStringLiteral("zones"), QStringLiteral("--standard"),
                           QLatin1String(standard), QStringLiteral("--group"),
                           QLatin1String(group),    QStringLiteral("--support"),
                           QLatin1String(support),  QStringLiteral("--json")};
    };
    const Case cases[] = {
        {zones("iso20816-3", "2", "rigid"), 0,
         QStringLiteral(R"("velocity":{"ab":1.4,"bc":2.8,"cd":4.5,"unit":"mm/s"})")},
        {zones("iso20816-3", "1", "flexible"), 0,
         QStringLiteral(R"("displacement":{"ab":45,"bc":90,"cd":140,"unit":"µm"})")},
        {zones("iso20816-3", "1", "flexible"), 0, QStringLiteral("Table A.1")},
        {zones("iso10816-3", "3", "rigid"), 0, QStringLiteral(R"("velocity":{"ab":null,"bc":4.5,"cd":7.1,)")},
        {zones("iso20816-3", "3", "rigid"), 2, QStringLiteral("group 3 is not in its table")},
        {zones("iso10816-3", "5", "rigid"), 2, QStringLiteral("group 5 is not in its table")},
        {zones("iso20816-3", "2", "soft"), 2, QStringLiteral("rigid or flexible")},
        {zones("iso7919-3", "2", "rigid"), 2, QStringLiteral("unknown standard")},
    };
    for (const Case& c : cases) {
        const testing::VantorRun run = Run(c.arguments, c.status);
        const QString said = QString::fromUtf8(c.status == 0 ? run.out : run.err);
        EXPECT_TRUE(said.contains(c.says))
            << c.arguments.join(QLatin1Char(' ')).toStdString() << ": " << said.toStdString();
    }
}

TEST_F(SeverityCommandsTest, APointOnTheStandardHasItsZoneAndTheOthersKeepTheirRows) {
    const QByteArray before = Run({QStringLiteral("status"), QStringLiteral("--json")}).out;
    const QJsonArray beforeRows = QJsonDocument::fromJson(before).array();
    ASSERT_EQ(beforeRows.size(), 3);

    const testing::VantorRun set =
        Run({QStringLiteral("alarms"), zoned.sItemGUID, QStringLiteral("--standard"),
             QStringLiteral("iso20816-3"), QStringLiteral("--group"), QStringLiteral("2"),
             QStringLiteral("--support"), QStringLiteral("rigid")});
    EXPECT_TRUE(set.out.contains("ISO 20816-3 group 2, rigid"));

    const QJsonArray rows = Status();
    ASSERT_EQ(rows.size(), 3);
    const QJsonObject row = rows[0].toObject();
    EXPECT_EQ(row[QStringLiteral("zone")].toString(), QStringLiteral("C"));
    EXPECT_TRUE(
        row[QStringLiteral("zoneText")].toString().contains(QStringLiteral("velocity 3.10 mm/s, B/C 2.8")));
    EXPECT_EQ(row[QStringLiteral("documentedStatus")].toInt(), 3);
    EXPECT_EQ(row[QStringLiteral("status")].toInt(), 4);
    // Every other row is the row it was, without a zone.
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(rows[i].toObject(), beforeRows[i].toObject()) << i;
        EXPECT_FALSE(rows[i].toObject().contains(QStringLiteral("zone")));
    }

    // Back on the documented alarm: the whole table as before.
    Run({QStringLiteral("alarms"), zoned.sItemGUID, QStringLiteral("--standard"),
         QStringLiteral("iso10816-3")});
    EXPECT_EQ(Run({QStringLiteral("status"), QStringLiteral("--json")}).out, before);
}

TEST_F(SeverityCommandsTest, TheSuggestionChangesNothingUntilApplied) {
    const QStringList suggest{QStringLiteral("alarms"),     other.sItemGUID,
                              QStringLiteral("--suggest"),  QStringLiteral("iso20816"),
                              QStringLiteral("--group"),    QStringLiteral("2"),
                              QStringLiteral("--support"),  QStringLiteral("rigid"),
                              QStringLiteral("--baseline"), QStringLiteral("3")};
    const QJsonObject s = Json(suggest + QStringList{QStringLiteral("--json")});
    EXPECT_NEAR(s[QStringLiteral("baseline")].toDouble(), 1.1, 1e-6);
    EXPECT_NEAR(s[QStringLiteral("alarm")].toDouble(), 1.1 + 0.25 * 2.8, 1e-6);
    EXPECT_NEAR(s[QStringLiteral("trip")].toDouble(), 1.25 * 4.5, 1e-9);
    EXPECT_EQ(s[QStringLiteral("readings")].toInt(), 3);
    EXPECT_EQ(Stored(other.sItemGUID).fISOWarningMMS, 4.5f);

    Run(suggest + QStringList{QStringLiteral("--apply")});
    const CVib applied = Stored(other.sItemGUID);
    EXPECT_NEAR(applied.fISOWarningMMS, 1.8, 1e-5);
    EXPECT_NEAR(applied.fISOCriticalMMS, 5.625, 1e-5);
    EXPECT_TRUE(applied.bISOAlarmsOn);
}

TEST_F(SeverityCommandsTest, BadInputIsRefusedWithNothingStored) {
    struct Case {
        QStringList arguments;
        int status;
        const char* says;
    };
    const QString p = zoned.sItemGUID;
    const Case cases[] = {
        {{QStringLiteral("alarms"), p, QStringLiteral("--standard"), QStringLiteral("iso20816-3"),
          QStringLiteral("--group"), QStringLiteral("3"), QStringLiteral("--support"),
          QStringLiteral("rigid")},
         2,
         "group 3 is not in its table"},
        {{QStringLiteral("alarms"), p, QStringLiteral("--standard"), QStringLiteral("iso20816-3"),
          QStringLiteral("--group"), QStringLiteral("1"), QStringLiteral("--support"),
          QStringLiteral("stiff")},
         2,
         "rigid or flexible"},
        {{QStringLiteral("alarms"), p, QStringLiteral("--standard"), QStringLiteral("iso20816-3")},
         2,
         "needs the machine group"},
        {{QStringLiteral("alarms"), p, QStringLiteral("--suggest"), QStringLiteral("iso20816")},
         2,
         "not judged by ISO 20816-3"},
        {{QStringLiteral("alarms"), p, QStringLiteral("--suggest"), QStringLiteral("iso20816"),
          QStringLiteral("--group"), QStringLiteral("2"), QStringLiteral("--support"),
          QStringLiteral("rigid"), QStringLiteral("--baseline"), QStringLiteral("2"),
          QStringLiteral("--apply")},
         1,
         "at least 3"},
        {{QStringLiteral("alarms"), empty.sItemGUID, QStringLiteral("--suggest"), QStringLiteral("iso20816"),
          QStringLiteral("--group"), QStringLiteral("2"), QStringLiteral("--support"),
          QStringLiteral("rigid"), QStringLiteral("--apply")},
         1,
         "no ISO velocity readings"},
        {{QStringLiteral("alarms"), p, QStringLiteral("--group"), QStringLiteral("2")},
         2,
         "go with --standard"},
    };
    for (const Case& c : cases) {
        const testing::VantorRun run = Run(c.arguments, c.status);
        EXPECT_TRUE(run.err.contains(c.says))
            << c.arguments.join(QLatin1Char(' ')).toStdString() << ": " << run.err.toStdString();
    }
    CAppData reader(prompter);
    ASSERT_TRUE(RunHeadlessStartup(reader));
    EXPECT_TRUE(alarmrows::PointsWithAlarmRows(reader.MainConnection()->Connection()).empty());
    CVib stored;
    ASSERT_TRUE(reader.MainConnection()->GetVib(p, stored));
    EXPECT_EQ(stored.fISOWarningMMS, 4.5f);
    EXPECT_EQ(stored.fISOCriticalMMS, 7.1f);
}

} // namespace
} // namespace vantor
