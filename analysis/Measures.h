#pragma once
// Measures derived from spectra: the measure kinds, line lookup, the vibration-analysis (VA) band
// ranges, recomputation of the ISO and band values, and peak consolidation of displayed spectra.

#include "analysis/DisplayUnits.h"
#include "analysis/ReadingSignals.h"
#include "records/Records.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vantor {

// Which measured quantity a value is.
enum class MeasureKind : int {
    IsoVelocity = 0,  // fISOMMS, mm/s
    BearingNoise = 1, // fBearingBDU, BDU
    Acceleration = 2, // fTotalG, g
    Displacement = 3, // fDisplacementMicrons, µm
    VaBand1 = 4,      // fVABand1MMS, mm/s
    VaBand2 = 5,      // fVABand2MMS, mm/s
    VaBand3 = 6,      // fVABand3MMS, mm/s
};
inline constexpr int kMeasureKindCount = 7;
inline constexpr std::array<MeasureKind, kMeasureKindCount> kAllMeasureKinds = {
    MeasureKind::IsoVelocity, MeasureKind::BearingNoise, MeasureKind::Acceleration, MeasureKind::Displacement,
    MeasureKind::VaBand1,     MeasureKind::VaBand2,      MeasureKind::VaBand3};

bool IsMeasureKind(int code);
// The stored value of a kind in a reading row.
float MeasureValue(const VibReadingValues& reading, MeasureKind kind);

// VA band b (1 to 3) covers lower × run speed to upper × run speed. The bands are contiguous and
// one run-speed order wide, centred on 1x, 2x and 3x: 0.5–1.5, 1.5–2.5 and 2.5–3.5. Every band sum,
// band view range and band marker uses this one table.
struct RunSpeedFactors {
    float lower;
    float upper;
};
inline constexpr int kVaBandCount = 3;
inline constexpr std::array<RunSpeedFactors, kVaBandCount> kVaBandRunSpeedFactors = {{
    {0.5f, 1.5f},
    {1.5f, 2.5f},
    {2.5f, 3.5f},
}};

// The user's names of the three VA bands (the settings Band1Name .. Band3Name).
using VaBandNames = std::array<QString, kVaBandCount>;

// A measure's name wherever one is shown (status table, settings, views, off-route list, report):
// "ISO" (115), "Brg. Noise" (117), "Total" (121), "Displacement" (137); a VA band by the user's name
// for it. A new measure adds its name here.
QString MeasureName(MeasureKind kind, const VaBandNames& bandNames);
// "name (unit)", as column headers show a measure with its values (the unit: MeasureUnitLabel).
QString MeasureNameWithUnit(MeasureKind kind, const VaBandNames& bandNames, const DisplayUnits& units);

// Upper end of the ISO velocity sum.
inline constexpr float kIsoUpperFrequencyHz = 1000.0f;

enum class LineRounding { Truncate, HalfUp };

// The line at a frequency: frequency / spacing in single precision, truncated or rounded half up,
// clamped to 0 .. lineCount. A spacing of 0 gives 0.
std::int32_t LineIndex(float frequencyHz, float lineSpacingHz, std::int32_t lineCount, LineRounding rounding);

// Half-open line range [first, end) of a channel.
struct LineRange {
    std::int32_t first = 0;
    std::int32_t end = 0;
};
// The lines of VA band b (1 to 3) at a run speed; empty for a band outside 1..3 or a zero run speed.
LineRange VaBandLines(int band, float runSpeedHz, const ChannelSignals& channel);
// The lines of the ISO velocity sum: low cut-off (truncated) to 1000 Hz (rounded half up).
LineRange IsoLines(const ChannelSignals& channel);

// sqrt of the sum of squares over a range, accumulated in single precision; 0 for an empty range.
float RootSumSquare(const std::vector<double>& spectrum, LineRange range);

// Recomputes fISOMMS and fVABand1MMS .. fVABand3MMS of a reading from the ISO velocity spectrum and
// run speed of its signals. Every other value of the reading is left as it is, and all of them
// when the signals have no ISO capture.
void RecomputeOveralls(VibReadingValues& reading, const ReadingSignals& decoded);

// Folds the leakage on both sides of each peak back into the peak, in place: lines below firstLine
// become 0; within [firstLine, endLine) every line above 1 % of the range's largest line that is
// greater than its right neighbour becomes the root sum square of itself and two lines either side,
// which then become 0. Applied to a displayed copy of a spectrum, after its amplitude factor.
void ConsolidatePeaks(std::vector<double>& spectrum, std::int32_t firstLine, std::int32_t endLine);

} // namespace vantor
