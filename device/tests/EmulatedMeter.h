#pragma once
// Test support: the meter emulator on a pseudo-terminal and a link with shortened delays.

#include "device/MeterLink.h"
#include "tools/meter-sim/MeterEmulator.h"
#include "tools/meter-sim/MeterScenario.h"

#include <gtest/gtest.h>

#include <QtGlobal>

#include <chrono>
#include <memory>

namespace vantor::testing {

// Short enough to keep the suite quick, long enough for the emulator's thread to answer. A slowed
// build (ThreadSanitizer) lengthens the silence with VANTOR_TEST_SILENCE_MS.
inline LinkTimings TestTimingsFromEnvironment() {
    const int silence = qEnvironmentVariableIntValue("VANTOR_TEST_SILENCE_MS");
    return LinkTimings{std::chrono::milliseconds(silence > 0 ? silence : 100), std::chrono::milliseconds(20)};
}
inline const LinkTimings kTestTimings = TestTimingsFromEnvironment();

inline std::unique_ptr<sim::MeterEmulator> StartMeter(const QByteArray& scenarioJson = "{}") {
    sim::Scenario scenario;
    QString error;
    EXPECT_TRUE(sim::ParseScenario(scenarioJson, scenario, error)) << error.toStdString();
    auto emulator =
        sim::MeterEmulator::OnPseudoTerminal(sim::MeterResponder(scenario.state, scenario.faults), error);
    EXPECT_NE(emulator, nullptr) << error.toStdString();
    return emulator;
}

} // namespace vantor::testing
