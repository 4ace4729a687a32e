#include "store/Validation.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QString kForbidden = QStringLiteral(
    "Name cannot contain any of the following characters:\r\n* $ \\ / ? > < : \" |\r\nPlease re-type!");
const QString kMeterForbidden = QStringLiteral("Name (VibMeter) cannot contain any of the following "
                                               "characters:\r\n* $ \\ / ? > < : \" |\r\nPlease re-type!");

CMachine Machine(const QString& name, const QString& meterName) {
    CMachine machine;
    machine.sName = name;
    machine.sVMName = meterName;
    return machine;
}

CVib Point(float warning, float critical) {
    CVib vib;
    vib.sName = QStringLiteral("Drive end");
    vib.sVMName = QStringLiteral("DE");
    vib.fRunSpeedHz = 25;
    vib.bISOAlarmsOn = true;
    vib.fISOWarningMMS = warning;
    vib.fISOCriticalMMS = critical;
    return vib;
}

std::optional<QString> CheckNamesOf(const QString& name, const QString& meterName) {
    CMachine machine = Machine(name, meterName);
    return CheckMachine(machine, {});
}

} // namespace

TEST(Validation, MachineRulesApplyInOrderWithTheirMessages) {
    EXPECT_EQ(CheckNamesOf({}, {}), QStringLiteral("Please input a Name"));
    EXPECT_EQ(CheckNamesOf(QStringLiteral("a:b"), {}), kForbidden);
    EXPECT_EQ(CheckNamesOf(QString(51, QLatin1Char('n')), {}),
              QStringLiteral("Name: Max length 50 characters"));
    EXPECT_EQ(CheckNamesOf(QString(50, QLatin1Char('n')), {}),
              QStringLiteral("Please input a Name (VibMeter)"));
    EXPECT_EQ(CheckNamesOf(QStringLiteral("Pump"), QString(15, QLatin1Char('|'))), kMeterForbidden);
    EXPECT_EQ(CheckNamesOf(QStringLiteral("Pump"), QString(15, QLatin1Char('m'))),
              QStringLiteral("Name (VibMeter): Max length 14 characters"));
    for (const char* bad : {"*", "$", "\\", "/", "?", ">", "<", ":", "\"", "|"}) {
        EXPECT_EQ(CheckNamesOf(QStringLiteral("a") + QLatin1String(bad), QStringLiteral("ok")), kForbidden)
            << bad;
    }
    EXPECT_FALSE(CheckNamesOf(QStringLiteral("Pump #1 (north) & co."), QStringLiteral("P1")));
}

TEST(Validation, AcceptedMachineLosesNonAsciiMeterCharactersAndJoinsAddresses) {
    CMachine machine =
        Machine(QStringLiteral("Pompe"), QString::fromUtf8("Pompe d\xc3\xa9j\xc3\xa0 \xc3\xa9t\xc3\xa9"));
    ASSERT_EQ(machine.sVMName.size(), 14);
    EXPECT_FALSE(CheckMachine(machine, {QStringLiteral("a@x.com"), QStringLiteral("b@x.com")}));
    EXPECT_EQ(machine.sVMName, QStringLiteral("Pompe dj t"));
    EXPECT_EQ(machine.sEMails, QStringLiteral("a@x.com;b@x.com"));
    CMachine none = Machine(QStringLiteral("Fan"), QString::fromUtf8("\xc3\xa9\xc3\xa9"));
    EXPECT_FALSE(CheckMachine(none, {}));
    EXPECT_TRUE(none.sVMName.isEmpty());
    EXPECT_TRUE(none.sEMails.isEmpty());
}

TEST(Validation, PointChecksRunSpeedThenEachEnabledAlarmPair) {
    CVib vib = Point(2, 3);
    vib.fRunSpeedHz = 0;
    EXPECT_EQ(CheckVibPoint(vib), QStringLiteral("Running Speed must be > 0"));
    vib = Point(2, 2);
    EXPECT_EQ(CheckVibPoint(vib), QStringLiteral("Critical must be > Warning"));
    vib = Point(-1, -5);
    EXPECT_EQ(CheckVibPoint(vib), QStringLiteral("Value must be positive"));
    vib = Point(0, 0.5f);
    EXPECT_FALSE(CheckVibPoint(vib));
    // Levels behind a switched-off flag are not looked at.
    vib = Point(5, 1);
    vib.bISOAlarmsOn = false;
    vib.bBDUAlarmsOn = false;
    vib.fBDUWarning = -3;
    EXPECT_FALSE(CheckVibPoint(vib));
    vib.bBDUAlarmsOn = true;
    EXPECT_EQ(CheckVibPoint(vib), QStringLiteral("Value must be positive"));
    // Names come before the running speed.
    vib = Point(2, 3);
    vib.sName.clear();
    vib.fRunSpeedHz = -1;
    EXPECT_EQ(CheckVibPoint(vib), QStringLiteral("Please input a Name"));
}

TEST(Validation, PromptedNamesUseTheirOwnMessage) {
    EXPECT_EQ(CheckPromptedName({}), QStringLiteral("Please input a Name"));
    EXPECT_EQ(CheckPromptedName(QStringLiteral("a/b")),
              QStringLiteral("Name cannot contain any of the following character:\r\n* $ \\ / ? > < : \" "
                             "|\r\nPlease re-type!"));
    EXPECT_FALSE(CheckPromptedName(QStringLiteral("Meter 2")));
}

TEST(Validation, CapacityLimitsRefuseWithLimitAndText) {
    EXPECT_FALSE(CheckPointRoom(9));
    EXPECT_EQ(CheckPointRoom(10), QStringLiteral("10 Points/Machine Max allowed!"));
    EXPECT_FALSE(CheckRouteItemRoom(999));
    EXPECT_EQ(CheckRouteItemRoom(1000), QStringLiteral("1000 Machines Max allowed per Route!"));
    EXPECT_FALSE(CheckAddressRoom(4));
    EXPECT_EQ(CheckAddressRoom(5), QStringLiteral("5 Addresses Max"));
}
