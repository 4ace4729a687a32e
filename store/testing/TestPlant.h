#pragma once
// Records the tests of several modules build their plant from: the machine "Fan" with its point
// "Motor DE", and readings that carry raw captures the signal path can decode.
#include "store/MainConnection.h"
#include "store/Records.h"

#include <QByteArray>
#include <QDateTime>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace vantor::testing {

// A sine at a quarter of the sampling rate, `amplitude` counts peak, as 16-bit little-endian
// samples around the mid count.
inline QByteArray QuarterRateSine(int n, int amplitude) {
    QByteArray raw;
    constexpr int kPattern[4] = {0, 1, 0, -1};
    for (int i = 0; i < n; ++i) {
        const auto sample = static_cast<std::uint16_t>(32768 + amplitude * kPattern[i % 4]);
        raw.append(static_cast<char>(sample & 0xFF));
        raw.append(static_cast<char>(sample >> 8));
    }
    return raw;
}

// Samples in g as 16-bit little-endian counts of 0.001 g around the mid count.
inline QByteArray MilliGCounts(const std::vector<double>& samplesG) {
    QByteArray raw;
    for (const double g : samplesG) {
        const auto sample = static_cast<std::uint16_t>(32768 + std::lround(g / 0.001));
        raw.append(static_cast<char>(sample & 0xFF));
        raw.append(static_cast<char>(sample >> 8));
    }
    return raw;
}

// A reading of `point` with `isoMms` and no bearing value, run speed 25 Hz, 1 V and 0.001 g per
// count, and 256-sample captures at 2560 Hz (total: 100 lines of 10 Hz, so a quarter-rate sine
// sits at 640 Hz) and 400 Hz (ISO: 1.5625 Hz lines, the sine at 100 Hz), both `capture`.
inline CVibReading CapturedReading(const QString& point, const QDateTime& taken, float isoMms,
                                   const QByteArray& capture) {
    CVibReading r;
    r.sItemGUID = MakeItemGuid();
    r.sParentGUID = point;
    r.ctDateTaken = taken;
    r.fISOMMS = isoMms;
    r.fBearingBDU = -100.0f;
    r.fOriginalRunSpeedHz = r.fCurrentRunSpeedHz = 25.0f;
    r.fPSUVoltage = 65536.0f;
    r.iADCBits = 16;
    r.fAccelerometerSensitivity = 1000.0f;
    r.fTotalCal = r.fISOCal = 1.0f;
    r.fTotalGain = r.fISOGain = 0.001f;
    r.fTotalSamplingFrequency = 2560.0f;
    r.iTotalNumberOfSamples = 256;
    r.fISOSamplingFrequency = 400.0f;
    r.iISONumberOfSamples = 256;
    r.rawADCTotalDataByteArray = capture;
    r.rawADCISODataByteArray = capture;
    return r;
}

// Machine "Fan" (meter name "FAN") and its point "Motor DE" with ISO alarms on, both stored.
inline CVib AddFanMotorDE(CMainConnection& db, float isoWarning = 4.5f, float isoCritical = 7.1f) {
    const CMachine machine{MakeItemGuid(), 0, QStringLiteral("Fan"), QStringLiteral("FAN"), {}};
    EXPECT_TRUE(db.UpsertMachine(machine));
    CVib point;
    point.sItemGUID = MakeItemGuid();
    point.sParentGUID = machine.sItemGUID;
    point.sName = QStringLiteral("Motor DE");
    point.bISOAlarmsOn = true;
    point.fISOWarningMMS = isoWarning;
    point.fISOCriticalMMS = isoCritical;
    EXPECT_TRUE(db.UpsertVib(point));
    return point;
}

} // namespace vantor::testing
