#include "analysis/FaultMatching.h"

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

// A peak stands above both neighbours, as in the Top 10 Peaks (a neighbour outside the searched
// lines counts as 0).
bool IsPeak(const SpectrumLines& spectrum, int i) {
    const int end = std::min(spectrum.end, static_cast<int>(spectrum.amplitudes.size()));
    const auto at = [&](int j) {
        return j >= spectrum.first && j < end ? spectrum.amplitudes[static_cast<std::size_t>(j)] : 0.0;
    };
    return at(i) > at(i - 1) && at(i) > at(i + 1);
}

} // namespace

LineSpan LinesBetween(const SpectrumLines& spectrum, double lowHz, double highHz) {
    // Not-a-number or infinite edges (from a stored speed or factor) give no lines; checked before
    // any conversion to an index.
    if (!(spectrum.lineSpacingHz > 0) || !std::isfinite(spectrum.lineSpacingHz) || !std::isfinite(lowHz) ||
        !std::isfinite(highHz)) {
        return {};
    }
    const double first = std::ceil(lowHz / spectrum.lineSpacingHz);
    const double last = std::floor(highHz / spectrum.lineSpacingHz);
    const int end = std::min(spectrum.end, static_cast<int>(spectrum.amplitudes.size()));
    LineSpan span;
    span.first =
        static_cast<int>(std::clamp(first, static_cast<double>(spectrum.first), static_cast<double>(end)));
    span.end =
        static_cast<int>(std::clamp(last + 1, static_cast<double>(span.first), static_cast<double>(end)));
    return span;
}

double MedianOf(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1) {
        return *middle;
    }
    const double upper = *middle;
    const double lower = *std::max_element(values.begin(), middle);
    return (lower + upper) / 2.0;
}

SpectrumLines LinesOf(const DisplayedSpectrum& spectrum) {
    return {spectrum.lines, spectrum.lineSpacingHz, spectrum.range.first, spectrum.range.end};
}

double MatchWindowHz(double expectedHz, double lineSpacingHz, double tolerancePercent) {
    return std::max(std::abs(expectedHz) * tolerancePercent / 100.0, lineSpacingHz);
}

FamilyMatch MatchFamily(const SpectrumLines& spectrum, const FaultFamily& family,
                        const MatchSettings& settings) {
    FamilyMatch match;
    match.family = family;
    double spanLow = 0;
    double spanHigh = 0;
    bool anyLine = false;
    for (const FamilyLine& expected : family.lines) {
        LineMatch line;
        line.expected = expected;
        const double window = MatchWindowHz(expected.hz, spectrum.lineSpacingHz, settings.tolerancePercent);
        const LineSpan lines = LinesBetween(spectrum, expected.hz - window, expected.hz + window);
        for (int i = lines.first; i < lines.end; ++i) {
            const double amplitude = spectrum.amplitudes[static_cast<std::size_t>(i)];
            const double hz = i * spectrum.lineSpacingHz;
            // The largest peak; of equal ones the nearer to the expected frequency. A line on the
            // skirt of a tone outside the window is no peak and never matches.
            if (IsPeak(spectrum, i) &&
                (!line.found || amplitude > line.amplitude ||
                 (amplitude == line.amplitude &&
                  std::abs(hz - expected.hz) < std::abs(line.matchedHz - expected.hz)))) {
                line.found = true;
                line.amplitude = amplitude;
                line.matchedHz = hz;
            }
        }
        if (!lines.Empty()) {
            spanLow = anyLine ? std::min(spanLow, expected.hz - window) : expected.hz - window;
            spanHigh = anyLine ? std::max(spanHigh, expected.hz + window) : expected.hz + window;
            anyLine = true;
        }
        match.lines.push_back(line);
    }
    if (anyLine) {
        const LineSpan span = LinesBetween(spectrum, spanLow, spanHigh);
        std::vector<double> amplitudes(spectrum.amplitudes.begin() + span.first,
                                       spectrum.amplitudes.begin() + span.end);
        match.noiseFloor = MedianOf(std::move(amplitudes)) * settings.noiseFactor;
    }
    for (LineMatch& line : match.lines) {
        line.aboveNoise = line.found && line.amplitude > match.noiseFloor;
        if (line.aboveNoise && line.expected.sideband == 0) {
            ++match.matchedHarmonics;
        }
    }
    return match;
}

std::vector<BearingMatch> MatchBearingFaults(const SpectrumLines& spectrum, double runSpeedHz,
                                             const std::vector<BearingAtPoint>& bearings,
                                             const MatchSettings& settings) {
    std::vector<BearingMatch> matches;
    for (std::size_t i = 0; i < bearings.size(); ++i) {
        BearingMatch bearing{bearings[i], {}};
        for (const FaultFamily& family :
             FaultFamiliesOf(bearings[i], static_cast<int>(i), runSpeedHz, settings.harmonics)) {
            bearing.families.push_back(MatchFamily(spectrum, family, settings));
        }
        matches.push_back(std::move(bearing));
    }
    return matches;
}

} // namespace vantor
