#pragma once
// Axis scaling of the spectrum graphs: the major tick step of a frequency axis and the label
// decimals of frequency and amplitude axes.

namespace vantor {

// From e = (max − min) / 10. In Hz: e itself up to 1, else the first of 2, 5, 10, … 5000 that is
// ≥ e, and 10000 above. In RPM or CPM: e itself up to 60, else the first of 120, 300, … 300000 that
// is ≥ e, and 600000 above.
double AxisTickStep(double minimum, double maximum, bool frequencyUnitsAreRpm);

// Frequency axis labels: 2 decimals up to 1, 1 up to 10, none above.
int AxisDecimals(double maximum);

// Amplitude axis labels: 3 decimals up to 0.01, 2 up to 1, 1 up to 10, none above.
int AmplitudeAxisDecimals(double maximum);

} // namespace vantor
