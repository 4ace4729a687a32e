#pragma once
// The rows of the per-point alarm tables as plain values: a measure's baseline and change settings,
// a spectral alarm band, and the severity standard a point is judged by.

#include <QString>

namespace vantor {

struct PointAlarmSettingRow {
    QString pointGuid;
    QString measure;          // iso, bdu, total, displacement, band1..3, crest, kurtosis, p2p, ge
    int baselineReadings = 0; // 0: none by count
    QString baselineFrom;     // "YYYY-MM-DD HH:MM:SS", empty: none by date
    QString baselineTo;
    double sigmaWarning = 0;
    double sigmaCritical = 0;
    double changeWarning = 0;
    double changeCritical = 0;
};

struct SpectralBandRow {
    QString pointGuid;
    int number = 0; // 1..8 in the point's order
    double from = 0;
    double to = 0;
    bool orders = false;
    QString spectrum; // iso, total, envelope
    double warning = 0;
    double critical = 0;
    bool rms = false; // the band's RMS, else its largest line
};

// A point judged by another standard than its documented ISO alarm; a point without a row keeps
// the documented alarm.
struct PointSeverityRow {
    QString pointGuid;
    QString standard; // "iso20816-3"
    int group = 0;    // the standard's machine group
    QString support;  // "rigid", "flexible"
};

} // namespace vantor
