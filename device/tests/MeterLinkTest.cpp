// The serial link and discovery, over a pseudo-terminal against the meter emulator.
#include "device/CradlePorts.h"
#include "device/tests/EmulatedMeter.h"
#include "platform/testing/RecordingPrompter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

using namespace vantor;
using vantor::testing::kTestTimings;
using vantor::testing::StartMeter;

namespace {

const QStringList kNormalDiscovery{"CMD*ATTN", "CMD*SETCOMBAUD=57600", "CMD*ATTN", "CMD*INFO"};

struct Found {
    int result = 1;
    CDevice device;
    QString version;
    int number = -1;
};

Found Find(CMeterLink& link) {
    Found found;
    found.result = link.FindMeter(found.device, found.version, found.number);
    return found;
}

} // namespace

TEST(MeterDiscovery, SwitchesAMeterFrom9600To57600AndIdentifiesIt) {
    auto meter = StartMeter(R"({"meter": {"version": "1.1", "guid": "aa-bb", "serial": "SN1",
                                          "btAddress": "00:11", "number": 42}})");
    CMeterLink link(nullptr, kTestTimings);
    link.UsePort(meter->DevicePath());
    const Found found = Find(link);

    ASSERT_EQ(found.result, 0);
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(link.CurrentBaud(), 57600);
    EXPECT_EQ(found.device.sItemGUID, "aa-bb");
    EXPECT_EQ(found.device.sSN, "SN1");
    EXPECT_EQ(found.device.sBTAddress, "00:11");
    EXPECT_EQ(found.version, "1.1");
    EXPECT_EQ(found.number, 42);
    EXPECT_EQ(meter->Commands(), kNormalDiscovery);
    EXPECT_EQ(meter->State().lineSpeed, 57600);
}

TEST(MeterDiscovery, AMeterAlreadyAt57600IsReopenedWithoutSpeedCommand) {
    auto meter = StartMeter(R"({"meter": {"lineSpeed": 57600}})");
    CMeterLink link(nullptr, kTestTimings);
    link.UsePort(meter->DevicePath());
    ASSERT_EQ(Find(link).result, 0);
    // Both attempts at 9600 go unanswered; no speed command is sent before the reopen.
    EXPECT_EQ(meter->Commands(), (QStringList{"CMD*ATTN", "CMD*ATTN", "CMD*ATTN", "CMD*INFO"}));
    std::vector<sim::LogEntry> log;
    meter->WithResponder([&](sim::MeterResponder& r) { log = r.Log(); });
    EXPECT_FALSE(log[0].note.isEmpty());
    EXPECT_FALSE(log[1].note.isEmpty());
    EXPECT_TRUE(log[2].note.isEmpty());
}

TEST(MeterDiscovery, AMeterThatNeverAnswersGetInfoIsAskedFourTimes) {
    auto meter = StartMeter(R"({"faults": [{"command": "INFO", "kind": "silence"}]})");
    CMeterLink link(nullptr, kTestTimings);
    link.UsePort(meter->DevicePath());
    EXPECT_EQ(Find(link).result, kNoMeterFound);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(meter->Commands(), (QStringList{"CMD*ATTN", "CMD*SETCOMBAUD=57600", "CMD*ATTN", "CMD*INFO",
                                              "CMD*INFO", "CMD*INFO", "CMD*INFO"}));
}

TEST(MeterDiscovery, NoCradlePortMeansNothingIsOpened) {
    CMeterLink link(nullptr, kTestTimings);
    bool listed = false;
    link.SetPortLister([&] {
        listed = true;
        return QStringList{};
    });
    EXPECT_EQ(Find(link).result, kNoCradleFound);
    EXPECT_TRUE(listed);
    EXPECT_FALSE(link.IsOpen());
}

TEST(MeterDiscovery, APortThatCannotBeOpenedIsSkipped) {
    auto meter = StartMeter();
    CMeterLink link(nullptr, kTestTimings);
    link.SetPortLister([&] { return QStringList{"/dev/does-not-exist-cradle", meter->DevicePath()}; });
    EXPECT_EQ(Find(link).result, 0);
    EXPECT_EQ(meter->Commands(), kNormalDiscovery);
}

TEST(MeterDiscovery, ResultDependsOnWhetherTheLastPortCouldBeOpened) {
    auto silent = StartMeter(R"({"faults": [{"kind": "silence"}]})");
    CMeterLink link(nullptr, kTestTimings);
    link.SetPortLister([&] { return QStringList{silent->DevicePath(), "/dev/does-not-exist-cradle"}; });
    EXPECT_EQ(Find(link).result, kNoCradleFound);

    link.SetPortLister([&] { return QStringList{"/dev/does-not-exist-cradle", silent->DevicePath()}; });
    EXPECT_EQ(Find(link).result, kNoMeterFound);
}

TEST(MeterDiscovery, TheSpeedSwitchBelongsToTheWholeSearch) {
    // The first port's meter answers nothing: it is tried at 9600, then at 57600. The second port
    // is then tried at 9600 only, and its meter is identified there without a speed switch.
    auto silent = StartMeter(R"({"faults": [{"kind": "silence"}]})");
    auto second = StartMeter();
    CMeterLink link(nullptr, kTestTimings);
    link.SetPortLister([&] { return QStringList{silent->DevicePath(), second->DevicePath()}; });
    ASSERT_EQ(Find(link).result, 0);
    EXPECT_EQ(link.CurrentBaud(), 9600);
    EXPECT_EQ(silent->Commands(), (QStringList{"CMD*ATTN", "CMD*ATTN", "CMD*ATTN", "CMD*ATTN"}));
    EXPECT_EQ(second->Commands(), (QStringList{"CMD*ATTN", "CMD*INFO"}));
}

TEST(MeterLink, TextIsSentAsLatin1AndReadsEndAfterSilence) {
    auto meter = StartMeter();
    CMeterLink link(nullptr, kTestTimings);
    ASSERT_EQ(link.Open(meter->DevicePath()), PortOpenResult::Opened);
    std::uint32_t toWrite = 0;
    std::uint32_t written = 0;
    link.WriteText(QStringLiteral("CMD*CRTASST=ab,Pumpe \u00e9"), true, toWrite, written);
    EXPECT_EQ(toWrite, 23u);
    EXPECT_EQ(written, toWrite);

    QElapsedTimer timer;
    timer.start();
    QByteArray reply;
    for (;;) {
        char byte = 0;
        std::uint32_t read = 0;
        link.ReadBytes(&byte, 1, read);
        if (read == 0) {
            break;
        }
        reply.append(byte);
    }
    EXPECT_GE(timer.elapsed(), 80);
    EXPECT_TRUE(reply.contains("OK")) << reply.toStdString();
    ASSERT_EQ(meter->State().assets.size(), 1u);
    EXPECT_EQ(meter->State().assets[0].name, QStringLiteral("Pumpe \u00e9"));
}

TEST(MeterLink, NothingIsWrittenOnAClosedLink) {
    CMeterLink link(nullptr, kTestTimings);
    std::uint32_t toWrite = 0;
    std::uint32_t written = 1;
    link.WriteBytes("abc", true, toWrite, written);
    EXPECT_EQ(toWrite, 4u);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(link.SetComBaud(57600), -1);
}

TEST(MeterLink, ThePortCanBeReopenedAfterClosing) {
    // Exclusivity is given up on close, so the same process (or the next run) can open it again.
    auto meter = StartMeter();
    CMeterLink link(nullptr, kTestTimings);
    ASSERT_EQ(link.Open(meter->DevicePath()), PortOpenResult::Opened);
    link.Close();
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.Open(meter->DevicePath()), PortOpenResult::Opened);
}

TEST(MeterLink, APortHeldByOneLinkIsRefusedToAnother) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "exclusive opening does not apply to the superuser";
    }
    auto meter = StartMeter();
    CMeterLink first(nullptr, kTestTimings);
    CMeterLink second(nullptr, kTestTimings);
    ASSERT_EQ(first.Open(meter->DevicePath()), PortOpenResult::Opened);
    EXPECT_EQ(second.Open(meter->DevicePath()), PortOpenResult::OpenFailed);
    first.Close();
    EXPECT_EQ(second.Open(meter->DevicePath()), PortOpenResult::Opened);
}

TEST(CradlePorts, NamedPortsAndTheAccessMessage) {
    EXPECT_EQ(PortDevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(PortDevicePath("/dev/pts/4"), "/dev/pts/4");
    const QString message = SerialAccessDeniedMessage("/dev/ttyUSB3");
    EXPECT_TRUE(message.contains("/dev/ttyUSB3"));
    EXPECT_TRUE(message.contains("permission denied"));
    EXPECT_TRUE(message.contains("access to serial devices"));
}

TEST(MeterDiscovery, AUserIsToldWhyACradlePortCannotBeOpened) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not apply to the superuser";
    }
    QTemporaryDir dir;
    const QString locked = dir.filePath("ttyLOCKED");
    QFile file(locked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::Permissions()));
    vantor::testing::RecordingPrompter prompter;
    CMeterLink link(&prompter, kTestTimings);
    link.SetPortLister([&] { return QStringList{locked}; });
    EXPECT_EQ(Find(link).result, kNoCradleFound);
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0], SerialAccessDeniedMessage(locked));
}
