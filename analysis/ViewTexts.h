#pragma once
// Indices of the UI texts the reading views and their tools show (trend line, peak list, run-speed
// correction, CSV export), next to those the rest of the system names.

#include "texts/UiText.h"

namespace vantor::text {
inline constexpr int TimeLabel = 72;
inline constexpr int TrendlineDoesNotCross = 148;
inline constexpr int FrequencyLabel = 190;
inline constexpr int AmplitudeLabel = 191;
inline constexpr int DaysBetween1And10000 = 201;
inline constexpr int TrendValueMustBePositive = 202;
inline constexpr int FmaxLabel = 339;
inline constexpr int NumberOfLines = 340;
inline constexpr int SamplingFrequencyLabel = 341;
inline constexpr int NumberOfSamples = 342;
inline constexpr int ErrorSavingDataFile = 343;
inline constexpr int UpdateRunSpeedTitle = 360;
inline constexpr int UpdateRunSpeedTip = 361;
inline constexpr int UpdateRunSpeedQuestion = 362;
} // namespace vantor::text
