#pragma once
// Readings whose diagnosis finds something, for the tests of the desktop's findings, status table
// and report: a run-speed tone (25 Hz) of a chosen level in both captures, 8192 samples at 2560 Hz.
// At 4 mm/s RMS the 1× dominates the ISO spectrum: the diagnosis calls it unbalance, WARNING on a
// point without ISO alarms (zone C of ISO 10816-3 group 2 rigid: B/C 2.8, C/D 4.5 mm/s) and only
// noted (OK) on a point whose ISO warning level is above 4. A tone of 0.5 mm/s finds nothing.

#include "store/testing/TestPlant.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace vantor::testing {

inline constexpr int kToneSamples = 8192;
inline constexpr double kToneSamplingHz = 2560;
inline constexpr double kToneHz = 25;

inline CVibReading ToneReading(const QString& point, const QDateTime& taken, double mms) {
    const double peakG = mms * std::sqrt(2.0) * 2 * std::numbers::pi * kToneHz / 9810.0;
    std::vector<double> samples(kToneSamples);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] =
            peakG * std::sin(2 * std::numbers::pi * kToneHz * static_cast<double>(i) / kToneSamplingHz);
    }
    CVibReading r = CapturedReading(point, taken, static_cast<float>(mms), MilliGCounts(samples));
    r.iTotalNumberOfSamples = r.iISONumberOfSamples = kToneSamples;
    r.fISOSamplingFrequency = static_cast<float>(kToneSamplingHz);
    return r;
}

} // namespace vantor::testing
