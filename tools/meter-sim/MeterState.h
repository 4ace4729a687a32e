#pragma once
// What the emulated meter holds: identity, clock, screen, line speed, the assets and points the PC
// created, the new-data flags of every meter point and the stored readings.

#include "tools/meter-sim/SignalSynth.h"

#include <QDateTime>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace vantor::sim {

inline constexpr int kSlotsPerPoint = 10;
inline constexpr int kCaptureBytes = 4096;

struct Asset {
    QString guid; // without braces
    QString name;
};

struct MeterPoint {
    QString assetGuid; // without braces
    QString guid;      // without braces
    QString name;
    double runSpeedHz = 0;
    double isoWarning = 0;
    double isoCritical = 0;
    double bduWarning = 0;
    double bduCritical = 0;
    unsigned newData = 0; // bit s set: slot s holds a reading not yet uploaded
};

// Capture parameters of one channel.
struct ChannelSetup {
    int samples = 2048;
    double samplingHz = 2560;
    double calibration = 1.0;
    double gain = 1.0;
};

// One reading held in a slot of a meter point.
struct StoredReading {
    int point = 0;
    int slot = 0;
    QString pointGuid; // MPGUID, without braces
    QString pointName;
    QString assetGuid; // AGUID, without braces
    QString assetName;
    QString taken; // TND value as sent, e.g. "2026-11-30T09:15:00Z"
    SignalRecipe recipe;
    ChannelSetup iso{2048, 2560, 1.0, 1.0};
    ChannelSetup total{2048, 12800, 1.0, 1.0};
    double sensitivityMvPerG = 100.0;
    double supplyVolts = 3.3;
    int adcBits = 16;
    double defaultIsoWarning = 4.5, defaultIsoCritical = 7.1;
    double defaultBduWarning = 10, defaultBduCritical = 20;
    // Header values given explicitly by key (e.g. "Calc ISO = "), replacing the computed ones.
    std::map<QString, QString> headerOverrides;

    CaptureScaling IsoScaling() const {
        return {iso.calibration, iso.gain, sensitivityMvPerG, supplyVolts, adcBits};
    }
    CaptureScaling TotalScaling() const {
        return {total.calibration, total.gain, sensitivityMvPerG, supplyVolts, adcBits};
    }
};

struct MeterState {
    QString version = QStringLiteral("1.1");
    QString guid = QStringLiteral("5f0c1e7a-7d36-4c1b-9a8e-2b6f0d9c4a11");
    QString serial = QStringLiteral("VM-000123");
    QString btAddress = QStringLiteral("00:1A:7D:DA:71:13");
    int number = 7;
    int infoFields = 5; // fields sent in the INFO reply (an older firmware sends four)
    QString flashRevision = QStringLiteral("2.04");
    int screen = 1;
    int lineSpeed = 9600;           // the speed the meter listens at
    std::optional<QDateTime> clock; // last time set by the PC
    bool totalCaptureFirst = false; // order of the two captures in a reading's record
    int flashFieldDigits = 4;       // "New Data = " written as "%04d<" or "%03d< "
    std::vector<Asset> assets;
    std::vector<MeterPoint> points;
    std::vector<StoredReading> readings;

    const StoredReading* FindReading(int point, int slot) const;
};

} // namespace vantor::sim
