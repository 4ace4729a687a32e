// The meter's commands: reply judging and parsing, and every operation over a pseudo-terminal
// against the meter emulator.
#include "device/MeterCommands.h"
#include "device/MeterReply.h"
#include "device/MeterResults.h"
#include "device/tests/EmulatedMeter.h"
#include "platform/testing/RecordingPrompter.h"
#include "texts/UiText.h"

#include <QElapsedTimer>

#include <cmath>
#include <functional>
#include <limits>

using namespace vantor;
using vantor::testing::kTestTimings;
using vantor::testing::StartMeter;

namespace {

std::vector<int> SetSlots(const SlotFlags& flags) {
    std::vector<int> set;
    for (int slot = 0; slot < kSlotsPerMeterPoint; ++slot) {
        if (flags[static_cast<size_t>(slot)]) {
            set.push_back(slot);
        }
    }
    return set;
}

// A link opened on an emulated meter at its speed.
class OnEmulator : public ::testing::Test {
protected:
    void Start(const QByteArray& scenario = "{}") {
        meter = StartMeter(scenario);
        ASSERT_EQ(link.Open(meter->DevicePath()), PortOpenResult::Opened);
    }

    std::unique_ptr<sim::MeterEmulator> meter;
    CMeterLink link{nullptr, kTestTimings};
};

CMachine Machine() {
    CMachine machine;
    machine.sItemGUID = "{0a1b2c3d-0000-4000-8000-00000000000a}";
    machine.sVMName = "Fan 3";
    return machine;
}

CVib Point() {
    CVib point;
    point.sItemGUID = "{0a1b2c3d-0000-4000-8000-0000000000b1}";
    point.sVMName = "DE H";
    point.fRunSpeedHz = 24.666f;
    point.fISOWarningMMS = 4.5f;
    point.fISOCriticalMMS = 7.126f;
    point.fBDUWarning = 10;
    point.fBDUCritical = 20.004f;
    return point;
}

} // namespace

TEST(CheckReply, ErrorComesBeforeOkAndOkBeforeEcho) {
    const ExchangeCodes codes{-2, -3, -4, -5};
    EXPECT_EQ(CheckReply("CMD*ATTN\r\nOK\r\n", "CMD*ATTN", codes), 0);
    EXPECT_EQ(CheckReply("CMD*ATTN\r\nERROR OK\r\n", "CMD*ATTN", codes), -3);
    EXPECT_EQ(CheckReply("ERROR", "CMD*ATTN", codes), -3);
    EXPECT_EQ(CheckReply("", "CMD*ATTN", codes), -4);
    EXPECT_EQ(CheckReply("CMD*ATTN\r\n", "CMD*ATTN", codes), -4);
    EXPECT_EQ(CheckReply("CMD*ATT\r\nOK", "CMD*ATTN", codes), -5);
}

TEST(ParseInfoReply, FieldsAndEveryMissingSeparator) {
    MeterInfo info;
    ASSERT_EQ(ParseInfoReply("CMD*INFO\r\nINFO=1.1,guid-1, SN 9,00:1A,12x\r\nOK\r\n", info), 0);
    EXPECT_EQ(info.version, "1.1");
    EXPECT_EQ(info.guid, "guid-1");
    EXPECT_EQ(info.serial, " SN 9"); // taken as it stands
    EXPECT_EQ(info.btAddress, "00:1A");
    EXPECT_EQ(info.number, 12);
    ASSERT_EQ(ParseInfoReply("=1.0,g,s,b,none\r", info), 0);
    EXPECT_EQ(info.number, 0);

    EXPECT_EQ(ParseInfoReply("CMD*INFO\r\nOK", info), -10);
    EXPECT_EQ(ParseInfoReply("INFO=1.1\r\nOK", info), -11);
    EXPECT_EQ(ParseInfoReply("INFO=1.1,g\r\nOK", info), -12);
    EXPECT_EQ(ParseInfoReply("INFO=1.1,g,s\r\nOK", info), -13);
    EXPECT_EQ(ParseInfoReply("INFO=1.1,g,s,b\r\nOK", info), -14); // only four fields
    EXPECT_EQ(ParseInfoReply("INFO=1.1,g,s,b,7 OK", info), -15);  // fifth field never ends
}

TEST(NewDataPayload, TwoBytesPerPointAndOnlyTenSlots) {
    int count = -1;
    NewDataFlags flags = DecodeNewDataPayload(QByteArray("\x05\x02", 2), count);
    ASSERT_EQ(flags.size(), 1u);
    EXPECT_EQ(SetSlots(flags[0]), (std::vector<int>{0, 2, 9}));
    EXPECT_EQ(count, 3);

    flags = DecodeNewDataPayload(QByteArray("\x00\xFD\x80", 3), count); // odd byte ignored, high bits too
    ASSERT_EQ(flags.size(), 1u);
    EXPECT_EQ(SetSlots(flags[0]), (std::vector<int>{8}));
    EXPECT_EQ(count, 1);

    EXPECT_TRUE(DecodeNewDataPayload(QByteArray("\x01", 1), count).empty());
    EXPECT_EQ(count, 0);
}

TEST(CommandTexts, BracesRemovedAndTwoDecimals) {
    EXPECT_EQ(CreateAssetCommand(Machine()), "CMD*CRTASST=0a1b2c3d-0000-4000-8000-00000000000a,Fan 3");
    EXPECT_EQ(CreateMeasurementPointCommand(Machine(), Point()),
              "CMD*CRTMPT=0a1b2c3d-0000-4000-8000-00000000000a,0a1b2c3d-0000-4000-8000-0000000000b1,DE H,"
              "24.67,4.50,7.13,10.00,20.00");
    EXPECT_EQ(GetMeasurementPointCommand(3, 9), "CMD*GETMP=3,9");
    EXPECT_EQ(TimeAndDateCommand(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7))),
              "CMD*SETTANDD=2026-03-04T05:06:07Z<CR>");
    EXPECT_EQ(FlashPageOfMeterPoint(0), 1472);
    EXPECT_EQ(FlashPageOfMeterPoint(2), 1600);
    EXPECT_EQ(FlashPageOfMeterPoint(1000), 65472);
    EXPECT_EQ(FlashPageOfMeterPoint(1001), 0); // modulo 65536
}

TEST(CommandText, OnlyTextsTheCommandLineCanCarryAreBuilt) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        std::function<void(CMachine&, CVib&)> change;
        bool refused;
    };
    const std::vector<Case> cases = {
        {"as set up", [](CMachine&, CVib&) {}, false},
        {"blank and accented meter name",
         [](CMachine& m, CVib&) { m.sVMName = QString::fromUtf8("Fan \xc3\xa9"); }, false},
        {"carriage return in machine name", [](CMachine& m, CVib&) { m.sVMName = "F\rCMD*DELASST"; }, true},
        {"line feed in point name", [](CMachine&, CVib& p) { p.sVMName = "DE\nH"; }, true},
        {"comma in point name", [](CMachine&, CVib& p) { p.sVMName = "DE,H"; }, true},
        {"C1 control in machine name", [](CMachine& m, CVib&) { m.sVMName = QString(QChar(0x85)); }, true},
        {"empty machine name", [](CMachine& m, CVib&) { m.sVMName.clear(); }, true},
        {"15-character point name", [](CMachine&, CVib& p) { p.sVMName = QString(15, QLatin1Char('p')); },
         true},
        {"path-like machine GUID", [](CMachine& m, CVib&) { m.sItemGUID = "{../..}"; }, true},
        {"empty point GUID", [](CMachine&, CVib& p) { p.sItemGUID.clear(); }, true},
        {"infinite run speed", [inf](CMachine&, CVib& p) { p.fRunSpeedHz = inf; }, true},
        {"not-a-number alarm level", [](CMachine&, CVib& p) { p.fBDUCritical = std::nanf(""); }, true},
    };
    for (const Case& c : cases) {
        CMachine machine = Machine();
        CVib point = Point();
        c.change(machine, point);
        const auto problem = MeasurementPointCommandProblem(machine, point);
        EXPECT_EQ(problem.has_value(), c.refused) << c.what;
        if (problem) {
            // The reason names the point or the machine it belongs to.
            EXPECT_TRUE(problem->contains(QStringLiteral("machine")) ||
                        problem->contains(QStringLiteral("Machine")))
                << qPrintable(*problem);
        }
    }
    CMachine injected = Machine();
    injected.sVMName = "F\rCMD*DELASST";
    EXPECT_TRUE(AssetCommandProblem(injected)->startsWith(R"(Machine "F\x0dCMD*DELASST")"))
        << qPrintable(*AssetCommandProblem(injected));
}

TEST_F(OnEmulator, RefusedTextsAreNeverSent) {
    Start();
    CMachine machine = Machine();
    machine.sVMName = "F\rCMD*DELASST";
    EXPECT_EQ(CreateAsset(link, machine), kCommandTextRefused);
    CVib point = Point();
    point.sVMName = "DE,H";
    EXPECT_EQ(CreateMeasurementPoint(link, Machine(), point), kCommandTextRefused);
    EXPECT_TRUE(meter->Commands().isEmpty()) << qPrintable(meter->Commands().join(QLatin1Char('|')));
}

TEST_F(OnEmulator, SimpleCommandsChangeTheMeter) {
    Start();
    EXPECT_EQ(Attention(link), 0);
    EXPECT_EQ(SetScreen(link, 0), 0);
    EXPECT_EQ(meter->State().screen, 0);
    EXPECT_EQ(CreateAsset(link, Machine()), 0);
    EXPECT_EQ(CreateMeasurementPoint(link, Machine(), Point()), 0);
    sim::MeterState state = meter->State();
    ASSERT_EQ(state.points.size(), 1u);
    EXPECT_EQ(state.points[0].guid, "0a1b2c3d-0000-4000-8000-0000000000b1");
    EXPECT_DOUBLE_EQ(state.points[0].isoCritical, 7.13);
    EXPECT_EQ(DeleteAssets(link), 0);
    EXPECT_TRUE(meter->State().assets.empty());
    MeterInfo info;
    EXPECT_EQ(GetInfo(link, info), 0);
    EXPECT_EQ(info.guid, meter->State().guid);
}

TEST_F(OnEmulator, NamesOutsideLatin1AreEchoedAsTheMeterReceivedThem) {
    Start();
    CMachine machine = Machine();
    machine.sVMName = QStringLiteral("\u0141\u00f3d\u017a 2"); // two letters outside Latin-1
    EXPECT_EQ(CreateAsset(link, machine), 0);
    EXPECT_EQ(meter->State().assets.at(0).name, QStringLiteral("?\u00f3d? 2"));
}

TEST_F(OnEmulator, GetInfoFromAMeterThatSendsOnlyFourFields) {
    Start(R"({"meter": {"infoFields": 4}})");
    MeterInfo info;
    EXPECT_EQ(GetInfo(link, info), -14);
}

TEST_F(OnEmulator, NewDataFlagsFromTheMeter) {
    Start(R"({"points": [{"newData": [0, 2, 9]}, {"newData": []}, {"newData": [1, 8]}]})");
    NewDataFlags flags;
    int count = 0;
    ASSERT_EQ(GetNewData(link, flags, count), 0);
    ASSERT_EQ(flags.size(), 3u);
    EXPECT_EQ(SetSlots(flags[0]), (std::vector<int>{0, 2, 9}));
    EXPECT_TRUE(SetSlots(flags[1]).empty());
    EXPECT_EQ(SetSlots(flags[2]), (std::vector<int>{1, 8}));
    EXPECT_EQ(count, 5);

    EXPECT_EQ(ClearNewDataFlag(link, 2, 8), 0);
    ASSERT_EQ(GetNewData(link, flags, count), 0);
    EXPECT_EQ(SetSlots(flags[2]), (std::vector<int>{1}));
    EXPECT_EQ(ClearNewDataFlag(link, 7, 0), -112); // no such meter point
}

TEST_F(OnEmulator, ClearingAFlagInFlashEditsThePagesField) {
    // Point 2 holds the flag word 15 (slots 0 to 3), written "0015<" in its page.
    Start(R"({"meter": {"version": "1.0"}, "assets": [{"guid": "a1", "name": "Fan"}],
              "points": [{"asset": "a1", "guid": "p0"}, {"asset": "a1", "guid": "p1"},
                         {"asset": "a1", "guid": "p2", "name": "NDE", "newData": 15}]})");
    QString before;
    meter->WithResponder([&](sim::MeterResponder& r) { before = r.FlashPage(1600); });
    ASSERT_TRUE(before.contains("New Data = 0015<AGUID")) << before.toStdString();

    ASSERT_EQ(ClearNewDataFlagInFlash(link, 2, 3), 0);
    const QStringList commands = meter->Commands();
    ASSERT_EQ(commands.size(), 2);
    EXPECT_EQ(commands[0], "CMD*FLASHPR=1600");
    QString after;
    meter->WithResponder([&](sim::MeterResponder& r) { after = r.FlashPage(1600); });
    QString expected = before;
    expected.replace("0015<", "0007<");
    EXPECT_EQ(after, expected); // the rest of the page is written back unchanged
    EXPECT_EQ(commands[1], "CMD*FLASHPP=1600," + expected);
    EXPECT_EQ(meter->State().points[2].newData, 7u);
    EXPECT_EQ(ClearNewDataFlag(link, 2, 0), -112); // such a meter has no other way
}

TEST_F(OnEmulator, ClearingAFlagInAThreeDigitField) {
    Start(R"({"meter": {"flashFieldDigits": 3}, "points": [{"guid": "p0", "newData": [0, 5]}]})");
    ASSERT_EQ(ClearNewDataFlagInFlash(link, 0, 5), 0);
    QString page;
    meter->WithResponder([&](sim::MeterResponder& r) { page = r.FlashPage(1472); });
    EXPECT_TRUE(page.contains("New Data = 001< AGUID")) << page.toStdString();
    EXPECT_EQ(meter->State().points[0].newData, 1u);
}

TEST_F(OnEmulator, FlashPagesWithoutAUsableField) {
    Start(R"({"points": [{"guid": "p0", "newData": 3}]})");
    const auto withPage = [&](const QString& text) {
        meter->WithResponder([&](sim::MeterResponder& r) { r.SetFlashPage(1472, text); });
        return ClearNewDataFlagInFlash(link, 0, 0);
    };
    EXPECT_EQ(withPage("MPGUID = p0<AGUID = a<"), -119);
    EXPECT_EQ(withPage("MPGUID = p0<New Data = 0003<"), -120);
    EXPECT_EQ(withPage("MPGUID = p0<New Data = 03<AGUID = a<"), -121);
    EXPECT_EQ(withPage("MPGUID = p0<New Data = 0003<AGUID = a<"), 0);
}

TEST_F(OnEmulator, TheClockIsSentAsLocalTimeWithTheLiteralCr) {
    Start();
    vantor::testing::RecordingPrompter prompter;
    const QDateTime now(QDate(2026, 12, 8), QTime(15, 30, 45));
    ASSERT_EQ(SetTimeAndDate(link, prompter, now), 0);
    EXPECT_EQ(meter->Commands(), QStringList{"CMD*SETTANDD=2026-12-08T15:30:45Z<CR>"});
    EXPECT_EQ(meter->State().clock, now);
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(OnEmulator, AClockOutsideTheValidRangeSendsNothing) {
    Start();
    vantor::testing::RecordingPrompter prompter;
    EXPECT_EQ(SetTimeAndDate(link, prompter, QDateTime(QDate(2080, 1, 1), QTime(0, 0))), -125);
    EXPECT_EQ(SetTimeAndDate(link, prompter, QDateTime(QDate(1899, 12, 31), QTime(23, 59, 59))), -125);
    EXPECT_EQ(SetTimeAndDate(link, prompter, QDateTime()), -125);
    EXPECT_EQ(prompter.Messages(), QStringList(3, UiText(text::LocalClockInvalid)));
    EXPECT_TRUE(meter->Commands().isEmpty());
    EXPECT_EQ(SetTimeAndDate(link, prompter, QDateTime(QDate(2079, 6, 6), QTime(0, 0))), 0);
}

TEST_F(OnEmulator, ASilentMeterGivesEveryCommandItsNoOkCode) {
    Start(R"({"faults": [{"kind": "silence"}]})");
    vantor::testing::RecordingPrompter prompter;
    NewDataFlags flags;
    MeterInfo info;
    int count = 0;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Attention(link), -4);
    EXPECT_GE(timer.elapsed(), 80); // the silence time-out, not an immediate return
    EXPECT_EQ(GetInfo(link, info), -8);
    EXPECT_EQ(SetScreen(link, 1), -18);
    EXPECT_EQ(DeleteAssets(link), -22);
    EXPECT_EQ(CreateAsset(link, Machine()), -26);
    EXPECT_EQ(CreateMeasurementPoint(link, Machine(), Point()), -30);
    EXPECT_EQ(GetNewData(link, flags, count), -34);
    EXPECT_EQ(ClearNewDataFlag(link, 0, 0), -113);
    EXPECT_EQ(ClearNewDataFlagInFlash(link, 0, 0), -117);
    EXPECT_EQ(SetTimeAndDate(link, prompter, QDateTime(QDate(2026, 1, 1), QTime(0, 0))), -128);
}

TEST_F(OnEmulator, ErrorAndMissingEchoCodesOfEveryCommand) {
    Start(R"({"assets": [{"guid": "0a1b2c3d-0000-4000-8000-00000000000a", "name": "Fan"}],
              "points": [{"asset": "0a1b2c3d-0000-4000-8000-00000000000a", "guid": "p", "newData": 1}],
              "faults": [{"kind": "error", "times": 10}, {"kind": "no-echo", "skip": 10}]})");
    vantor::testing::RecordingPrompter prompter;
    NewDataFlags flags;
    MeterInfo info;
    int count = 0;
    const QDateTime now(QDate(2026, 1, 1), QTime(0, 0));
    const auto all = [&] {
        return std::vector<int>{Attention(link),
                                GetInfo(link, info),
                                SetScreen(link, 1),
                                DeleteAssets(link),
                                CreateAsset(link, Machine()),
                                CreateMeasurementPoint(link, Machine(), Point()),
                                GetNewData(link, flags, count),
                                ClearNewDataFlag(link, 0, 0),
                                ClearNewDataFlagInFlash(link, 0, 0),
                                SetTimeAndDate(link, prompter, now)};
    };
    EXPECT_EQ(all(), (std::vector<int>{-3, -7, -17, -21, -25, -29, -33, -112, -116, -127}));
    EXPECT_EQ(all(), (std::vector<int>{-5, -9, -19, -23, -27, -31, -35, -114, -118, -129}));
}

TEST_F(OnEmulator, TheFlashWriteRequestHasItsOwnCodes) {
    Start(R"({"points": [{"guid": "p0", "newData": 3}],
              "faults": [{"command": "FLASHPP", "kind": "error", "times": 1},
                         {"command": "FLASHPP", "kind": "no-ok", "skip": 1, "times": 1},
                         {"command": "FLASHPP", "kind": "no-echo", "skip": 2}]})");
    EXPECT_EQ(ClearNewDataFlagInFlash(link, 0, 0), -123);
    EXPECT_EQ(ClearNewDataFlagInFlash(link, 0, 0), -124);
    EXPECT_EQ(ClearNewDataFlagInFlash(link, 0, 0), 0); // the write reply is not checked for an echo
    EXPECT_EQ(meter->State().points[0].newData, 2u);
}

TEST_F(OnEmulator, AFlashWriteRequestThatCannotBeSent) {
    // The meter answers the page read and then drops off the line.
    Start(
        R"({"points": [{"guid": "p0", "newData": 3}], "faults": [{"command": "FLASHPR", "kind": "hang-up"}]})");
    EXPECT_EQ(ClearNewDataFlagInFlash(link, 0, 0), -122);
    EXPECT_EQ(meter->Commands(), QStringList{"CMD*FLASHPR=1472"});
}

TEST(ClosedLink, EveryCommandReportsItsIncompleteWrite) {
    CMeterLink link(nullptr, kTestTimings);
    vantor::testing::RecordingPrompter prompter;
    NewDataFlags flags;
    MeterInfo info;
    int count = 0;
    EXPECT_EQ(Attention(link), -2);
    EXPECT_EQ(GetInfo(link, info), -6);
    EXPECT_EQ(SetScreen(link, 1), -16);
    EXPECT_EQ(DeleteAssets(link), -20);
    EXPECT_EQ(CreateAsset(link, Machine()), -24);
    EXPECT_EQ(CreateMeasurementPoint(link, Machine(), Point()), -28);
    EXPECT_EQ(GetNewData(link, flags, count), -32);
    EXPECT_EQ(ClearNewDataFlag(link, 0, 0), -111);
    EXPECT_EQ(ClearNewDataFlagInFlash(link, 0, 0), -115);
    EXPECT_EQ(SetTimeAndDate(link, prompter, QDateTime(QDate(2026, 1, 1), QTime(0, 0))), -126);
}

TEST(MarkerWatch, FindsAMarkerSpreadOverSeveralBytes) {
    MarkerWatch watch("ISO=");
    QString text;
    for (const char c : QByteArray("xxIS")) {
        text += QLatin1Char(c);
        EXPECT_FALSE(watch.Seen(text));
    }
    text += "O";
    EXPECT_FALSE(watch.Seen(text));
    text += "=";
    EXPECT_TRUE(watch.Seen(text));
    text += "zz";
    EXPECT_TRUE(watch.Seen(text));
}
