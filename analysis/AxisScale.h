#pragma once
// Axis scaling of the spectrum graphs: the major tick step of a frequency axis and the label
// decimals of frequency and amplitude axes.

namespace vantor {

// From e = (max − min) / 10. In Hz: e itself up to 1, else the first of 2, 5, 10, … 5000 that is
// ≥ e, and 10000 above. In RPM or CPM: e itself up to 60, else the first of 120, 300, … 300000 that
// is ≥ e, and 600000 above.
double AxisTickStep(double minimum, double maximum, bool frequencyUnitsAreRpm);

// A round step for an axis the application scales itself: the first 1, 2 or 5 × 10ⁿ that is at
// least (max − min) / 10, so ticks run evenly (0, 2, 4, 6 … or 0.05, 0.1, 0.15 …).
double RoundTickStep(double minimum, double maximum);
// step itself when it already is 1, 2 or 5 × 10ⁿ, else the next such value above it.
double RoundUpToStep(double step);
// The decimals a label needs to tell ticks of this step apart (0.05 → 2, 2 → 0).
int StepDecimals(double step);
// The fewest decimals (0 up to `most`) that give value exactly, trailing zeros left off: a line at
// 23.75 Hz on 1.25 Hz lines needs 2, one at 12.5 needs 1, one at 25 none; `most` when no fewer do.
// Relative to 1e-6, so single-precision frequencies (0.1 stored as 0.100000001) count as exact.
inline constexpr int kMostExactDecimals = 6;
int ExactDecimals(double value, int most = kMostExactDecimals);
// The step of a frequency axis the application scales (zoomed or typed limits): the documented
// steps above the finest one, a round step below it.
double FrequencyTickStep(double minimum, double maximum, bool frequencyUnitsAreRpm);

// Frequency axis labels: 2 decimals up to 1, 1 up to 10, none above.
int AxisDecimals(double maximum);

// Amplitude axis labels: 3 decimals up to 0.01, 2 up to 1, 1 up to 10, none above.
int AmplitudeAxisDecimals(double maximum);

} // namespace vantor
