#pragma once
// Indices of the UI texts the report wizard, its progress dialog and the document show.

#include "texts/UiText.h"

namespace vantor::text {
inline constexpr int PleaseWait = 13;
inline constexpr int Back = 57;
inline constexpr int TrendLabel = 69;
inline constexpr int FftLabel = 70;
inline constexpr int LatestMachineStatus = 122;
inline constexpr int DateTimeColumn = 125;
inline constexpr int StatusColumn = 126;
inline constexpr int StartDateAfterEnd = 186;
inline constexpr int StartDateOutOfRange = 187;
inline constexpr int EndDateOutOfRange = 188;
inline constexpr int ReportWizardTitle = 271;
inline constexpr int Next = 272;
inline constexpr int ReportTypePage = 273;
inline constexpr int MachineSelectionPage = 274;
inline constexpr int StatusTablesPage = 275;
inline constexpr int GraphsPage = 276;
inline constexpr int ReportingPeriodPage = 277;
inline constexpr int BetweenDatesPage = 279;
inline constexpr int ManualReport = 281;
inline constexpr int ClearWord = 282;
inline constexpr int AllWord = 283;
inline constexpr int LastMeasurement = 284;
inline constexpr int BetweenDates = 285;
inline constexpr int AllMeasurements = 286;
inline constexpr int SelectAtLeastOneMachine = 287;
inline constexpr int CreatingReport = 288;
inline constexpr int ReportingBy = 290;
inline constexpr int VibrationAnalysisReport = 291;
inline constexpr int ReportDateLabel = 292;
inline constexpr int PageWord = 294;
inline constexpr int OfWord = 295;
inline constexpr int NoData = 297;
inline constexpr int CreateReport = 328;
inline constexpr int SelectWord = 236;
inline constexpr int StartLabel = 184;
inline constexpr int EndLabel = 185;
} // namespace vantor::text
