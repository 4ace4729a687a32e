// The simulated sensors: each fault grows from a tenth to its full size, the overall values follow
// it (the ISO velocity of an unbalance crosses the usual 4.5 mm/s warning, a bearing defect raises
// the total acceleration), and every message the simulator makes is one the service accepts.
#include "tools/sensor-sim/SensorSignals.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::sim;

TEST(SensorSignals, FaultsGrowAndEveryMessageIsAccepted) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    struct Case {
        int sensor;
        SimulatedFault fault;
        double isoNew, isoOld;   // ISO velocity bounds, mm/s: at age 0 below, at full size above
        double totalGainAtLeast; // total acceleration at full size / at age 0
    } const cases[] = {
        {1, SimulatedFault::Unbalance, 2.0, 4.5, 2.0},
        {2, SimulatedFault::Misalignment, 2.0, 4.5, 2.0},
        {3, SimulatedFault::BearingDefect, 2.0, 0.0, 3.0},
        {4, SimulatedFault::Unbalance, 2.0, 4.5, 2.0},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(FaultOfSensor(test.sensor), test.fault) << test.sensor;
        const SignalRecipe young = SensorRecipe(test.sensor, 0, 48);
        const SignalRecipe old = SensorRecipe(test.sensor, 96, 48);
        const ingest::WaveformMessage youngWave = SimulatedWaveform(young, now, 1);
        const ingest::WaveformMessage oldWave = SimulatedWaveform(old, now, 1);
        const ingest::OverallMessage before = SimulatedOverall(young, youngWave.waveform.samples, 0.1, now);
        const ingest::OverallMessage after = SimulatedOverall(old, oldWave.waveform.samples, 1.0, now);
        EXPECT_LT(*before.isoMms, test.isoNew) << test.sensor;
        EXPECT_GT(*after.isoMms, test.isoOld) << test.sensor;
        EXPECT_GT(*after.totalG, *before.totalG * test.totalGainAtLeast) << test.sensor;
        EXPECT_GT(*after.temperatureC, *before.temperatureC);

        const auto overall = ingest::ParseOverall(ingest::OverallPayload(after));
        EXPECT_TRUE(overall.Ok()) << overall.error.toStdString();
        const auto waveform =
            ingest::ParseWaveform(ingest::WaveformPayload(now, oldWave.waveform, oldWave.runSpeedHz));
        ASSERT_TRUE(waveform.Ok()) << waveform.error.toStdString();
        EXPECT_EQ(waveform.value->waveform.samples.size(), static_cast<std::size_t>(kSimSamples));
    }
}
