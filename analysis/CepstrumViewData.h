#pragma once
// What a cepstrum graph shows: quefrency in ms from 0 to a little past three periods of the
// slowest family marked (so its first rahmonics show too), the values, an amplitude axis fitted to
// the values past the first half millisecond (the lowest quefrencies hold the spectrum's overall
// slope, many times any rahmonic), and the families' periods as marks.

#include "analysis/Cepstrum.h"
#include "analysis/ViewData.h"

#include <vector>

namespace vantor {

// Quefrencies below this hold the spectrum's overall shape; the amplitude axis leaves them out.
inline constexpr double kCepstrumAxisFromMs = 0.5;
// The shown span: this many periods of the slowest family marked, within the cepstrum's length.
inline constexpr double kCepstrumShownPeriods = 3.2;
// Without marks: this span, within the cepstrum's length.
inline constexpr double kCepstrumDefaultSpanMs = 200;

struct CepstrumViewData {
    std::vector<double> x; // ms
    std::vector<double> y;
    AxisRange xAxis;
    AxisRange yAxis;
    std::vector<CepstrumMark> marks; // those within the shown span
};

CepstrumViewData MakeCepstrumViewData(const Cepstrum& cepstrum, const std::vector<CepstrumMark>& marks);

// The marks as the caption lists them: "BPFO 11.43 ms, 1× 40.65 ms".
QString CepstrumMarksText(const std::vector<CepstrumMark>& marks);

} // namespace vantor
