#include "analysis/CepstrumViewData.h"

#include "analysis/AxisScale.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace vantor {

CepstrumViewData MakeCepstrumViewData(const Cepstrum& cepstrum, const std::vector<CepstrumMark>& marks) {
    CepstrumViewData view;
    const double step = cepstrum.quefrencyStepMs;
    if (!(step > 0) || cepstrum.values.size() < 2) {
        view.xAxis = AmplitudeAxis(0, 0);
        view.yAxis = AmplitudeAxis(0, 0);
        return view;
    }
    const double length = step * static_cast<double>(cepstrum.values.size() - 1);
    double slowest = 0;
    for (const CepstrumMark& mark : marks) {
        slowest = std::max(slowest, mark.periodMs);
    }
    const double span =
        std::min(length, slowest > 0 ? kCepstrumShownPeriods * slowest : kCepstrumDefaultSpanMs);
    const auto shown = std::min(cepstrum.values.size(), static_cast<std::size_t>(span / step) + 1);
    view.x.reserve(shown);
    view.y.assign(cepstrum.values.begin(), cepstrum.values.begin() + static_cast<std::ptrdiff_t>(shown));
    double low = 0;
    double high = 0;
    for (std::size_t i = 0; i < shown; ++i) {
        const double ms = static_cast<double>(i) * step;
        view.x.push_back(ms);
        if (ms >= kCepstrumAxisFromMs && std::isfinite(view.y[i])) {
            low = std::min(low, view.y[i]);
            high = std::max(high, view.y[i]);
        }
    }
    const double xMaximum = view.x.back() > 0 ? view.x.back() : 1.0;
    const double xStep = RoundTickStep(0, xMaximum);
    view.xAxis = {0, xMaximum, xStep, StepDecimals(xStep)};
    view.yAxis = AmplitudeAxis(low, high > low ? high : low + 1);
    for (const CepstrumMark& mark : marks) {
        if (mark.periodMs > 0 && mark.periodMs <= xMaximum) {
            view.marks.push_back(mark);
        }
    }
    return view;
}

QString CepstrumMarksText(const std::vector<CepstrumMark>& marks) {
    QStringList parts;
    for (const CepstrumMark& mark : marks) {
        parts << QStringLiteral("%1 %2 ms").arg(mark.name, QString::number(mark.periodMs, 'f', 2));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace vantor
