#pragma once
// "Top 10 Peaks": the ten largest peaks of the displayed spectrum, their column captions and the
// decimals each column is shown with.

#include "analysis/DisplayedSpectrum.h"

#include <QLocale>
#include <QString>

#include <array>
#include <vector>

namespace vantor {

inline constexpr int kPeakSlotCount = 10;
inline constexpr int kMostPeakDecimals = 6;

struct PeakSlot {
    float frequency = 0; // displayed units
    float amplitude = 0; // displayed units
    // The decimals this frequency is shown with: the list's, or more where the line needs them at
    // the spectrum's resolution (12.5 and 23.75 on 1.25 Hz lines, never "13" or "24").
    int frequencyDecimals = 0;
};

struct PeakList {
    std::array<PeakSlot, kPeakSlotCount> peaks{};
    int smallest = 0;          // the slot with the smallest amplitude (the lowest such index)
    int frequencyDecimals = 0; // the fewest with which the frequencies all read differently
    int amplitudeDecimals = 0;
};

// "Frequency (unit)" and "Amplitude (unit)" for the measure: g for acceleration, the displacement
// label for displacement, the velocity label for every velocity.
std::array<QString, 2> PeakColumnCaptions(MeasureKind kind, const DisplayUnits& units);

// A line of the range is a peak when it is greater than both neighbours (a neighbour outside the
// range counts as 0). The first ten peaks fill the slots in order; each later one greater than the
// smallest slot replaces it.
PeakList FindTopPeaks(const DisplayedSpectrum& spectrum);

// The fewest decimals (0 to 6) with which the sorted values all read differently.
int DistinctDecimals(std::array<float, kPeakSlotCount> values);

// A table number with its decimals in the user's number format.
QString PeakText(float value, int decimals, const QLocale& locale = QLocale::system());

} // namespace vantor
