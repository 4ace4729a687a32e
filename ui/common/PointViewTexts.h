#pragma once
// Indices of the UI texts the point views show: tab names, menus, dialogs and their checks.

#include "texts/UiText.h"

namespace vantor::text::views {
inline constexpr int Ok = 0;
inline constexpr int Cancel = 1;
inline constexpr int Trend = 69;
inline constexpr int Band1 = 80;
inline constexpr int Band2 = 82;
inline constexpr int Band3 = 84;
inline constexpr int Delete = 93;
inline constexpr int Update = 94;
inline constexpr int Iso = 115;
inline constexpr int BearingNoise = 117;
inline constexpr int Total = 121;
inline constexpr int DateTime = 125;
inline constexpr int Status = 126;
inline constexpr int Displacement = 137;
inline constexpr int Exit = 140;
inline constexpr int DeleteReadingQuestion = 149;
inline constexpr int CursorType = 152;
inline constexpr int CursorOff = 153;
inline constexpr int CursorSimple = 154;
inline constexpr int CursorHarmonic = 155;
inline constexpr int Add = 158;
inline constexpr int Minus = 159;
inline constexpr int Waveform = 160;
inline constexpr int Spectrum = 161;
inline constexpr int SingleFft = 162;
inline constexpr int WaterfallFft = 163;
inline constexpr int MaxWaterfallGraphs = 164;
inline constexpr int AxisSetup = 165;
inline constexpr int TopPeaks = 166;
inline constexpr int ExportCsv = 167;
inline constexpr int CopyToClipboard = 168;
inline constexpr int TrendLine = 169;
inline constexpr int OnOff = 170;
inline constexpr int Fit = 171;
inline constexpr int Linear = 172;
inline constexpr int SecondOrder = 173;
inline constexpr int ProjectToBy = 175;
inline constexpr int LastPoint = 176; // 176..180: the projection modes in order
inline constexpr int From = 181;
inline constexpr int ZoomDateAxis = 182;
inline constexpr int ZoomAuto = 183;
inline constexpr int ZoomStart = 184;
inline constexpr int ZoomEnd = 185;
inline constexpr int StartAfterEnd = 186;
inline constexpr int StartOutside = 187;
inline constexpr int EndOutside = 188;
inline constexpr int XAxisFrequency = 192;
inline constexpr int NegativeMinimumFrequency = 193;
inline constexpr int MinimumAboveMaximum = 194;
inline constexpr int YAxisFrequency = 195;
inline constexpr int Min = 196;
inline constexpr int Max = 197;
inline constexpr int XAxisTime = 198;
inline constexpr int YAxisTime = 199;
inline constexpr int NegativeMinimumTime = 200;
inline constexpr int VibReadings = 212;
inline constexpr int Cursor = 359;
inline constexpr int FitOrder = 174; // "Order" (of a fit, of a harmonic)
} // namespace vantor::text::views
