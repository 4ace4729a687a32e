#pragma once
// Messages the tests publish or hand to the service: a run-speed tone as a waveform and an overall
// value at a given moment.

#include "ingest/SensorMessage.h"

#include <cmath>
#include <numbers>

namespace vantor::ingest::testing {

inline const QDateTime kStart = QDateTime(QDate(2026, 3, 2), QTime(12, 0), Qt::UTC);

// 4096 samples at 2560 Hz of a 25 Hz tone of `peakG`.
inline ImportedWaveform Tone(double peakG) {
    ImportedWaveform waveform;
    waveform.samplingFrequencyHz = 2560;
    waveform.unit = SignalUnit::G;
    for (int i = 0; i < 4096; ++i) {
        waveform.samples.push_back(peakG * std::sin(2 * std::numbers::pi * 25 * i / 2560.0));
    }
    return waveform;
}

// The same tone as a velocity of `rmsMms` mm/s RMS.
inline ImportedWaveform Velocity(double rmsMms) {
    ImportedWaveform waveform = Tone(rmsMms * std::sqrt(2.0));
    waveform.unit = SignalUnit::MillimetresPerSecond;
    return waveform;
}

inline QByteArray Overall(int secondsAfterStart, double isoMms) {
    return OverallPayload({kStart.addSecs(secondsAfterStart), isoMms, 0.3, 40.0});
}

inline QByteArray Waveform(int secondsAfterStart, double peakG = 0.05) {
    return WaveformPayload(kStart.addSecs(secondsAfterStart), Tone(peakG), 25.0);
}

} // namespace vantor::ingest::testing
