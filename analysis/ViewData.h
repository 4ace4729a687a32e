#pragma once
// What a reading view hands to the graph control: the series in display units, the axis scales,
// the alarm levels, the VA bands and the run speed. Plain values, built without any widget, so the
// desktop views and the command line paint the same graph.

#include "analysis/AlarmStatus.h"
#include "analysis/DisplayUnits.h"
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/Measures.h"
#include "analysis/ReadingSignals.h"
#include "analysis/TrendProjection.h"
#include "records/Records.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace vantor {

struct AxisRange {
    double minimum = 0;
    double maximum = 1;
    double tickStep = 0.1;
    int decimals = 2;
};

struct FrequencyBandMark {
    int band = 0;    // 1 to 3
    double low = 0;  // displayed frequency units
    double high = 0; // displayed frequency units
};

struct SpectrumViewData {
    MeasureKind kind = MeasureKind::IsoVelocity;
    std::vector<double> x; // displayed frequency of each shown line
    std::vector<double> y; // displayed amplitude
    AxisRange xAxis;
    AxisRange yAxis;
    QString xLabel;      // frequency unit
    QString yLabel;      // amplitude unit
    double runSpeed = 0; // displayed frequency units
    std::vector<FrequencyBandMark> bands;
};

struct WaveformViewData {
    std::vector<double> x; // seconds
    std::vector<double> y; // g
    AxisRange xAxis;
    AxisRange yAxis;
};

struct TrendViewData {
    MeasureKind kind = MeasureKind::IsoVelocity;
    QDateTime reference;               // x = minutes after it
    std::vector<QDateTime> dates;      // of the plotted samples
    std::vector<double> x;             // samples with a value (the no-value marker is left out)
    std::vector<double> y;             // displayed units
    std::vector<int> inFit;            // 1 where the sample took part in the fit
    std::vector<QString> readingGuids; // the reading of each plotted sample
    std::vector<StatusCode> status;    // each sample judged against the point's limits
    std::vector<double> lineX;         // the trend line; empty when none is drawn
    std::vector<double> lineY;
    // The values an online sensor published for the measure: a second series beside the readings,
    // judged against the same limits; empty for a point no sensor feeds.
    std::vector<QDateTime> onlineDates;
    std::vector<double> onlineX; // minutes after the reference
    std::vector<double> onlineY; // displayed units
    std::vector<StatusCode> onlineStatus;
    AxisRange xAxis; // minutes, ticks on whole days
    AxisRange yAxis;
    std::optional<double> warning; // displayed units, when the point's alarms judge the measure
    std::optional<double> critical;
    QString yLabel;
};

// A stored value of a measure in display units: velocities and displacement × amplitude factor, g and
// BDU as they are.
double DisplayMeasureValue(MeasureKind kind, double stored, const DisplayUnits& units);
// Adds an online sensor's values of the view's measure (stored units, oldest first) as the trend's
// second series, judged against `limits` (stored units) and shown × `scale`; both axes widen to hold
// them, and a view without readings takes its reference from the first value's day.
void AddOnlineValues(TrendViewData& view, const std::vector<TrendReading>& values, double scale,
                     const AlarmLimits& limits);
// The same for a documented measure of the point, in the display units.
void AddOnlineValues(TrendViewData& view, const CVib& point, const std::vector<TrendReading>& values,
                     const DisplayUnits& units);

// The unit label of a measure's values.
QString MeasureUnitLabel(MeasureKind kind, const DisplayUnits& units);

// A frequency axis from `minimum` to `maximum` (displayed units) with ticks to suit the unit.
AxisRange FrequencyAxis(double minimum, double maximum, const DisplayUnits& units);

// An amplitude axis from 0 (or the smallest value, when negative) to the largest value.
AxisRange AmplitudeAxis(double smallest, double largest);

// None for a measure without a spectrum (bearing noise, displacement).
std::optional<SpectrumViewData> MakeSpectrumViewData(const ReadingSignals& decoded, MeasureKind kind,
                                                     const DisplayUnits& units, bool consolidatePeaks);
// The Total channel's waveform.
WaveformViewData MakeWaveformViewData(const ReadingSignals& decoded);
TrendViewData MakeTrendViewData(const CVib& point, MeasureKind kind, const TrendSamples& samples,
                                const TrendLine& line, const DisplayUnits& units);
// The trend of a waveform index: values as they are (`unit` on the Y axis), without levels.
TrendViewData MakeIndexTrendViewData(const TrendSamples& samples, const TrendLine& line, const QString& unit);

// The envelope spectrum of a reading as a spectrum view: frequency in the displayed unit from 0 to
// the last line, amplitudes in gE as they are (acceleration is never converted).
SpectrumViewData MakeEnvelopeViewData(const EnvelopeSpectrum& envelope, const DisplayUnits& units);
// "<reading title>  Envelope LOW-HIGH Hz": the envelope view's title names the band it was taken in.
QString EnvelopeTitle(const QString& readingTitle, const EnvelopeSpectrum& envelope);

} // namespace vantor
