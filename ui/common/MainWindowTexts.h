#pragma once
// Indices of the UI texts the main window's tree, status tables, display commands and help dialogs
// show, next to those the rest of the system names.

#include "texts/UiText.h"

namespace vantor::text::window {
inline constexpr int Close = 7;
inline constexpr int Help = 8;
inline constexpr int Shortcuts = 16;
inline constexpr int Keys = 25;
inline constexpr int Action = 26;
inline constexpr int HelpAction = 27;
inline constexpr int Toggle = 28;
inline constexpr int BoldOnOff = 29;
inline constexpr int XAxisUnits = 30;
inline constexpr int YAxisUnits = 31;
inline constexpr int FftBarLine = 32;
inline constexpr int VibDisplay = 33;
inline constexpr int ScaleLock = 34;
inline constexpr int AppLook = 41;
inline constexpr int Units = 45;
inline constexpr int FftDisplay = 47;
inline constexpr int MachineStatus = 49;
inline constexpr int IsoStandards = 53;
inline constexpr int XAxis = 58;
inline constexpr int YAxis = 59;
inline constexpr int DecimalPlaces = 65;
inline constexpr int Trend = 69;
inline constexpr int Fft = 70;
inline constexpr int Both = 71;
inline constexpr int Bar = 74;
inline constexpr int Line = 75;
inline constexpr int VarovudOvo = 76;
inline constexpr int On = 77;
inline constexpr int Off = 78;
inline constexpr int Warning = 112;
inline constexpr int Critical = 113;
inline constexpr int LatestMachineStatus = 122;
inline constexpr int Status = 126;
inline constexpr int Machines = 210;
inline constexpr int BackupData = 258;
inline constexpr int RestoreData = 259;
inline constexpr int ReportWizard = 271;
inline constexpr int CreateReport = 328;
} // namespace vantor::text::window
