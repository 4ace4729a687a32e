// The diagnosis on the demonstration plant, uploaded from the meter emulator as the demonstration
// does, with the starter bearing on Pump NDE and on Motor DE: the clean motor gets no WARNING or
// CRITICAL finding and no bearing finding in any reading, the pump's outer-race defect shows as
// BPFO alone, and every finding of the ISO spectrum takes the stage of the point's documented ISO
// status for the same reading.
#include "analysis/AlarmStatus.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/TempEnvironment.h"
#include "tools/meter-sim/MeterEmulator.h"
#include "tools/meter-sim/MeterScenario.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using testing::RunVantor;

QJsonArray JsonRows(const QStringList& arguments) {
    const testing::VantorRun run = RunVantor(arguments);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out).array();
}

TEST(DemoFindingsTest, TheCleanMotorHasNoAlarmingFindingAndThePumpsBearingDefectShows) {
    testing::TempEnvironment env;
    ASSERT_EQ(RunVantor({"init"}).status, 0);
    QFile file(QStringLiteral(VANTOR_DEMO_SCENARIO));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    sim::Scenario scenario;
    QString error;
    ASSERT_TRUE(sim::ParseScenario(file.readAll(), scenario, error)) << error.toStdString();
    auto meter =
        sim::MeterEmulator::OnPseudoTerminal(sim::MeterResponder(scenario.state, scenario.faults), error);
    ASSERT_NE(meter, nullptr) << error.toStdString();
    RunVantor({"settings", "set", "EmailExceptionsOnUpload", "0"});
    const testing::VantorRun sync = RunVantor({"sync", "from-meter", "--port", meter->DevicePath(),
                                               "--device-name", "Demo meter", "--silence-ms", "100"});
    ASSERT_EQ(sync.status, 0) << sync.err.toStdString();

    const QJsonArray points = JsonRows({"list", "vibs", "--json"});
    ASSERT_EQ(points.size(), 2);
    for (const QJsonValue point : points) {
        ASSERT_EQ(RunVantor({"vib", "bearings", point["sItemGUID"].toString(), "--add", "6205-2RS JEM",
                             "--location", "NDE"})
                      .status,
                  0);
    }
    for (const QJsonValue point : points) {
        const QString name = point["sName"].toString();
        const QJsonArray readings =
            JsonRows({"list", "readings", "--parent", point["sItemGUID"].toString(), "--json"});
        ASSERT_FALSE(readings.isEmpty()) << name.toStdString();
        for (qsizetype i = 0; i < readings.size(); ++i) {
            const QJsonObject reading = readings[i].toObject();
            SCOPED_TRACE(name.toStdString() + " " + reading["ctDateTaken"].toString().toStdString());
            const testing::VantorRun run = RunVantor({"diagnose", reading["sItemGUID"].toString(), "--json"});
            ASSERT_EQ(run.status, 0) << run.err.toStdString();
            const QJsonArray findings = QJsonDocument::fromJson(run.out).object()["findings"].toArray();
            const StatusCode documented = ClassifyValue(
                static_cast<float>(reading["fISOMMS"].toDouble()), point["bISOAlarmsOn"].toBool(),
                static_cast<float>(point["fISOWarningMMS"].toDouble()),
                static_cast<float>(point["fISOCriticalMMS"].toDouble()));
            bool bearing = false;
            for (const QJsonValue finding : findings) {
                const QString kind = finding["kind"].toString();
                const auto severity = static_cast<StatusCode>(finding["severity"].toInt());
                if (name == QStringLiteral("Motor DE")) {
                    EXPECT_TRUE(severity == StatusCode::Ok) << kind.toStdString();
                    EXPECT_NE(kind, QStringLiteral("bearing")) << run.out.toStdString();
                }
                if (kind == QStringLiteral("unbalance") || kind == QStringLiteral("misalignment") ||
                    kind == QStringLiteral("looseness")) {
                    EXPECT_EQ(severity, documented) << kind.toStdString();
                }
                if (kind == QStringLiteral("bearing") && severity >= StatusCode::Warning) {
                    bearing = true;
                    EXPECT_EQ(finding["families"].toArray(), QJsonArray{QStringLiteral("BPFO")})
                        << run.out.toStdString();
                    EXPECT_FALSE(finding["nextStep"].toString().isEmpty());
                }
            }
            if (name == QStringLiteral("Pump NDE") && i == readings.size() - 1) {
                EXPECT_TRUE(bearing) << run.out.toStdString();
            }
        }
    }
}

} // namespace
} // namespace vantor
