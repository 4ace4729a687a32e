#include "analysis/Measures.h"

#include "analysis/ViewData.h"
#include "texts/UiText.h"

#include <algorithm>
#include <cmath>

namespace vantor {

QString MeasureName(MeasureKind kind, const VaBandNames& bandNames) {
    switch (kind) {
    case MeasureKind::IsoVelocity:
        return UiText(text::IsoLabel);
    case MeasureKind::BearingNoise:
        return UiText(text::BearingNoiseLabel);
    case MeasureKind::Acceleration:
        return UiText(text::TotalLabel);
    case MeasureKind::Displacement:
        return UiText(text::DisplacementLabel);
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3:
        return bandNames[static_cast<std::size_t>(kind) - static_cast<std::size_t>(MeasureKind::VaBand1)];
    }
    return {};
}

QString MeasureNameWithUnit(MeasureKind kind, const VaBandNames& bandNames, const DisplayUnits& units) {
    return QStringLiteral("%1 (%2)").arg(MeasureName(kind, bandNames), MeasureUnitLabel(kind, units));
}

bool IsMeasureKind(int code) {
    return code >= 0 && code < kMeasureKindCount;
}

float MeasureValue(const VibReadingValues& reading, MeasureKind kind) {
    switch (kind) {
    case MeasureKind::IsoVelocity:
        return reading.fISOMMS;
    case MeasureKind::BearingNoise:
        return reading.fBearingBDU;
    case MeasureKind::Acceleration:
        return reading.fTotalG;
    case MeasureKind::Displacement:
        return reading.fDisplacementMicrons;
    case MeasureKind::VaBand1:
        return reading.fVABand1MMS;
    case MeasureKind::VaBand2:
        return reading.fVABand2MMS;
    case MeasureKind::VaBand3:
        return reading.fVABand3MMS;
    }
    return 0.0f;
}

std::int32_t LineIndex(float frequencyHz, float lineSpacingHz, std::int32_t lineCount,
                       LineRounding rounding) {
    const std::int32_t last = std::max(lineCount, 0);
    float x = frequencyHz / lineSpacingHz;
    if (std::isnan(x) || !(lineSpacingHz > 0.0f)) {
        return 0;
    }
    if (rounding == LineRounding::HalfUp && x - std::trunc(x) >= 0.5f) {
        x = x + 1.0f;
    }
    x = std::trunc(x);
    if (x <= 0.0f) {
        return 0;
    }
    if (x >= static_cast<float>(last)) {
        return last;
    }
    return static_cast<std::int32_t>(x);
}

LineRange IsoLines(const ChannelSignals& channel) {
    const float spacing = channel.LineSpacingHz();
    return {LineIndex(channel.lowCutoffHz, spacing, channel.lineCount, LineRounding::Truncate),
            LineIndex(kIsoUpperFrequencyHz, spacing, channel.lineCount, LineRounding::HalfUp)};
}

LineRange VaBandLines(int band, float runSpeedHz, const ChannelSignals& channel) {
    if (band < 1 || band > kVaBandCount) {
        return {};
    }
    const RunSpeedFactors& factors = kVaBandRunSpeedFactors[static_cast<std::size_t>(band - 1)];
    const float spacing = channel.LineSpacingHz();
    return {LineIndex(factors.lower * runSpeedHz, spacing, channel.lineCount, LineRounding::HalfUp),
            LineIndex(factors.upper * runSpeedHz, spacing, channel.lineCount, LineRounding::HalfUp)};
}

float RootSumSquare(const std::vector<double>& spectrum, LineRange range) {
    const auto end = std::min<std::int64_t>(range.end, static_cast<std::int64_t>(spectrum.size()));
    float sum = 0.0f;
    for (std::int64_t k = std::max(range.first, 0); k < end; ++k) {
        const double line = spectrum[static_cast<std::size_t>(k)];
        sum = static_cast<float>(sum + line * line);
    }
    return static_cast<float>(std::sqrt(sum));
}

void RecomputeOveralls(VibReadingValues& reading, const ReadingSignals& decoded) {
    const ChannelSignals& iso = decoded.iso;
    reading.fISOMMS = RootSumSquare(iso.spectrum, IsoLines(iso));
    float* const bands[kVaBandCount] = {&reading.fVABand1MMS, &reading.fVABand2MMS, &reading.fVABand3MMS};
    for (int band = 1; band <= kVaBandCount; ++band) {
        *bands[band - 1] = RootSumSquare(iso.spectrum, VaBandLines(band, decoded.runSpeedHz, iso));
    }
}

void ConsolidatePeaks(std::vector<double>& spectrum, std::int32_t firstLine, std::int32_t endLine) {
    const auto size = static_cast<std::int64_t>(spectrum.size());
    const std::int64_t first = std::clamp<std::int64_t>(firstLine, 0, size);
    const std::int64_t end = std::clamp<std::int64_t>(endLine, 0, size);
    const auto at = [&spectrum, size](std::int64_t i) -> float {
        return i >= 0 && i < size ? static_cast<float>(spectrum[static_cast<std::size_t>(i)]) : 0.0f;
    };
    for (std::int64_t i = 0; i < first; ++i) {
        spectrum[static_cast<std::size_t>(i)] = 0.0;
    }
    float largest = 0.0f;
    for (std::int64_t i = first; i < end; ++i) {
        largest = std::max(largest, at(i));
    }
    const float threshold = 0.01f * largest;
    // Upward over the array being changed: lines zeroed by a peak are never peaks themselves.
    for (std::int64_t i = first; i < end; ++i) {
        const float line = at(i);
        if (!(line > threshold && at(i + 1) < line)) {
            continue;
        }
        float energy = 0.0f;
        for (std::int64_t j = i - 2; j <= i + 2; ++j) {
            energy += at(j) * at(j);
        }
        spectrum[static_cast<std::size_t>(i)] = static_cast<double>(std::sqrt(energy));
        for (const std::int64_t j : {i - 2, i - 1, i + 1, i + 2}) {
            if (j >= 0 && j < size) {
                spectrum[static_cast<std::size_t>(j)] = 0.0;
            }
        }
    }
}

} // namespace vantor
