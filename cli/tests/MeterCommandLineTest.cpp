// `vantor meter info` and `vantor meter new-data` against the meter emulator on a pseudo-terminal,
// with the program's real one-second silence time-out.
#include "cli/tests/RunVantor.h"
#include "platform/testing/TempEnvironment.h"
#include "tools/meter-sim/MeterEmulator.h"
#include "tools/meter-sim/MeterScenario.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
};

class MeterCommandLine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Vantor({"init"}).status, 0); }

    static ProgramRun Vantor(const QStringList& arguments) {
        const vantor::testing::VantorRun run = vantor::testing::RunVantor(arguments);
        return {run.status, QString::fromUtf8(run.out), QString::fromUtf8(run.err)};
    }

    std::unique_ptr<vantor::sim::MeterEmulator> StartMeter(const QByteArray& json) {
        vantor::sim::Scenario scenario;
        QString error;
        EXPECT_TRUE(vantor::sim::ParseScenario(json, scenario, error)) << error.toStdString();
        auto meter = vantor::sim::MeterEmulator::OnPseudoTerminal(
            vantor::sim::MeterResponder(scenario.state, scenario.faults), error);
        EXPECT_NE(meter, nullptr) << error.toStdString();
        return meter;
    }

    vantor::testing::TempEnvironment env;
};

} // namespace

TEST_F(MeterCommandLine, InfoIdentifiesTheMeterAfterTheSpeedSwitch) {
    auto meter = StartMeter(R"({"meter": {"version": "1.0", "guid": "3f2a", "serial": "VM-9",
                                          "btAddress": "00:1A:7D", "number": 12}})");
    const ProgramRun run = Vantor({"meter", "info", "--port", meter->DevicePath()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "version\t1.0\nguid\t3f2a\nserial\tVM-9\nbtaddress\t00:1A:7D\nnumber\t12\n");
    EXPECT_EQ(meter->Commands(), (QStringList{"CMD*ATTN", "CMD*SETCOMBAUD=57600", "CMD*ATTN", "CMD*INFO"}));
}

TEST_F(MeterCommandLine, NewDataPrintsTenFlagsPerPointAndTheCount) {
    auto meter = StartMeter(R"({"points": [{"newData": [0, 2, 9]}, {"newData": []}]})");
    const ProgramRun run = Vantor({"meter", "new-data", "--port", meter->DevicePath()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "0\t1010000001\n1\t0000000000\ncount\t3\n");
}

TEST_F(MeterCommandLine, FailuresPrintTheRunsMessage) {
    ProgramRun run = Vantor({"meter", "info", "--port", "/dev/no-such-cradle"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "No Cradle detected\n");
    EXPECT_TRUE(run.out.isEmpty());

    auto meter = StartMeter(R"({"faults": [{"command": "GETNEWDATA", "kind": "error"}]})");
    run = Vantor({"meter", "new-data", "--port", meter->DevicePath()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Connection error detected, please try again! (-33)\n");
    EXPECT_TRUE(run.out.isEmpty());
}
