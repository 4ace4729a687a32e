#pragma once
// csv, peaks, runspeed and trend: the tools of the reading views, headless.

#include "analysis/IndexMeasures.h"
#include "analysis/Measures.h"
#include "analysis/TrendProjection.h"
#include "app/CAppData.h"

#include <QString>

#include <cstdio>
#include <optional>

namespace vantor::cli {

// Measure names on the command line: iso, bdu, total, displacement, band1, band2, band3 (kinds 0..6).
std::optional<MeasureKind> MeasureKindNamed(const QString& name);

// The Total channel's spectrum (or waveform) of a reading written as the view's Export CSV writes it.
int RunCsv(CAppData& app, const QString& readingGuid, const QString& file, bool waveform);

// The Top 10 Peaks table of a reading's spectrum for a measure (iso, total or a VA band).
int RunPeaks(CAppData& app, const QString& readingGuid, MeasureKind kind, bool json, std::FILE* out = stdout);

// Update Run Speed of a route reading; the question is answered through the application's prompter.
int RunRunSpeed(CAppData& app, const QString& readingGuid, float runSpeedHz, std::FILE* out = stdout);
// The run speed read from the reading's Total spectrum beside the stored one ("run speed 29.6 Hz
// estimated, 30.0 Hz stored"); changes nothing. Fails when too few harmonics stand to estimate it.
int RunRunSpeedEstimate(CAppData& app, const QString& readingGuid, std::FILE* out = stdout);

struct TrendOptions {
    QString point;
    MeasureKind kind = MeasureKind::IsoVelocity;
    // A waveform index trended instead of `kind`; it has no warning or critical level of its own.
    std::optional<IndexMeasure> index;
    TrendLineSettings line;
    bool json = false;
};
// The trend samples of a point, the fitted line and where it ends.
int RunTrend(CAppData& app, const TrendOptions& options, std::FILE* out = stdout);

} // namespace vantor::cli
