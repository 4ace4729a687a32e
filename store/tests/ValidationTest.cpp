#include "store/Validation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

TEST(Validation, NamesThatWouldBreakTheMeterCommandOrALineAreRefused) {
    const QString control = NameControlCharacterMessage();
    const QString separator = MeterNameSeparatorMessage();
    const struct {
        const char* name;
        const char* meterName;
        QString expected; // empty: accepted
    } cases[] = {
        {"Fan", "Fan 3", {}},       {"Fan\r\nBcc x", "Fan", control},
        {"Fan\t1", "Fan", control}, {"Fan", "F\rDELASST", separator},
        {"Fan", "F,P1", separator}, {"Fan", "F\x7f", separator},
    };
    for (const auto& c : cases) {
        const auto refused = CheckNamesOf(QString::fromLatin1(c.name), QString::fromLatin1(c.meterName));
        EXPECT_EQ(refused.value_or(QString()), c.expected) << c.name << " / " << c.meterName;
    }
    EXPECT_EQ(CheckNamesOf(QStringLiteral("Fan") + QChar(0x2028), QStringLiteral("F")), control);
    EXPECT_EQ(CheckPromptedName(QStringLiteral("Route\n2")), control);
}

TEST(Validation, RunSpeedAndAlarmLevelsMustBeFiniteAndWithinTheMetersRange) {
    const float inf = std::numeric_limits<float>::infinity();
    const QString outOfRange = RunSpeedOutOfRangeMessage();
    EXPECT_EQ(outOfRange, QStringLiteral("Running Speed must be at most 1000 Hz (60000 RPM)"));
    const struct {
        float runSpeedHz;
        QString expected;
    } speeds[] = {
        {1000.0f, {}},
        {0.01f, {}},
        {1000.5f, outOfRange},
        {inf, outOfRange},
        {static_cast<float>(1e300 / 60), outOfRange}, // "--rpm 1e300"
        {-inf, QStringLiteral("Running Speed must be > 0")},
        {std::nanf(""), QStringLiteral("Running Speed must be > 0")},
    };
    for (const auto& c : speeds) {
        CVib vib = Point(2, 3);
        vib.fRunSpeedHz = c.runSpeedHz;
        EXPECT_EQ(CheckVibPoint(vib).value_or(QString()), c.expected) << c.runSpeedHz;
    }
    // A level goes to the meter also while its alarms are off.
    CVib vib = Point(2, inf);
    EXPECT_EQ(CheckVibPoint(vib), AlarmLevelNotFiniteMessage());
    vib = Point(2, 3);
    vib.bBDUAlarmsOn = false;
    vib.fBDUWarning = std::nanf("");
    EXPECT_EQ(CheckVibPoint(vib), AlarmLevelNotFiniteMessage());
    CLube lube;
    lube.sName = QStringLiteral("Grease");
    lube.sVMName = QStringLiteral("G1");
    lube.fBDUCritical = inf;
    EXPECT_EQ(CheckLubePoint(lube), AlarmLevelNotFiniteMessage());
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

// Values are judged as the float their column keeps: a finite double may be infinite or 0 there.
TEST(Validation, FloatValuesAreJudgedAsStored) {
    const FloatRange positive{0, 1000, true, false};
    const struct {
        double value;
        const char* message; // nullptr: accepted
    } cases[] = {
        {1.0, nullptr},
        {1000.0, nullptr},
        {1e-30, nullptr}, // a float holds it
        {1e300, "Ratio: 1e+300 is not a finite number"},
        {-1e300, "Ratio: -1e+300 is not a finite number"},
        {std::numeric_limits<double>::infinity(), "Ratio: inf is not a finite number"},
        {std::numeric_limits<double>::quiet_NaN(), "Ratio: nan is not a finite number"},
        {1e-300, "Ratio: 1e-300 (stored as 0) must be above 0 and at most 1000"},
        {0.0, "Ratio: 0 must be above 0 and at most 1000"},
        {1000.5, "Ratio: 1000.5 must be above 0 and at most 1000"},
    };
    for (const auto& c : cases) {
        const std::optional<QString> refused = CheckFloatValue(QStringLiteral("Ratio"), c.value, positive);
        if (c.message == nullptr) {
            EXPECT_FALSE(refused) << c.value << " " << refused.value_or(QString()).toStdString();
        } else {
            EXPECT_EQ(refused.value_or(QString()), QLatin1String(c.message)) << c.value;
        }
    }
    EXPECT_EQ(CheckFloatValue(QStringLiteral("Angle"), 90, {0, 90, false, true}),
              QStringLiteral("Angle: 90 must be at least 0 and below 90"));
    EXPECT_TRUE(std::isinf(AsStoredFloat(1e39)));
    EXPECT_EQ(AsStoredFloat(1e-300), 0.0f);

    // A run speed too: 1e-300 Hz is 0 Hz once stored, 1e300 Hz infinite.
    EXPECT_EQ(CheckRunSpeed(1e-300), QStringLiteral("Running Speed must be > 0"));
    EXPECT_EQ(CheckRunSpeed(1e300), RunSpeedOutOfRangeMessage());
    EXPECT_FALSE(CheckRunSpeed(1000.0));
    EXPECT_FALSE(IsUsableRunSpeed(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(IsUsableRunSpeed(0));
    EXPECT_TRUE(IsUsableRunSpeed(24.5));
}
