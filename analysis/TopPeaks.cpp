#include "analysis/TopPeaks.h"

#include "analysis/AxisScale.h"
#include "analysis/ViewTexts.h"

#include <algorithm>

namespace vantor {
namespace {

int SmallestSlot(const std::array<PeakSlot, kPeakSlotCount>& peaks) {
    int smallest = 0;
    for (int s = 1; s < kPeakSlotCount; ++s) {
        if (peaks[static_cast<std::size_t>(s)].amplitude <
            peaks[static_cast<std::size_t>(smallest)].amplitude) {
            smallest = s;
        }
    }
    return smallest;
}

QString Caption(const QString& name, const QString& unit) {
    return QString::asprintf("%s (%s)", qUtf8Printable(name), qUtf8Printable(unit));
}

} // namespace

std::array<QString, 2> PeakColumnCaptions(MeasureKind kind, const DisplayUnits& units) {
    const QString amplitude = UiText(text::AmplitudeLabel);
    QString second;
    switch (kind) {
    case MeasureKind::Acceleration:
        second = Caption(amplitude, QStringLiteral("g"));
        break;
    case MeasureKind::Displacement:
        second = Caption(amplitude, units.DisplacementLabel());
        break;
    case MeasureKind::IsoVelocity:
    case MeasureKind::BearingNoise:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3:
        second = Caption(amplitude, units.VelocityLabel());
        break;
    }
    return {Caption(UiText(text::FrequencyLabel), units.FrequencyLabel()), second};
}

PeakList FindTopPeaks(const DisplayedSpectrum& spectrum) {
    PeakList list;
    const std::int32_t first = spectrum.range.first;
    const std::int32_t end = spectrum.range.end;
    const auto at = [&](std::int32_t i) -> float {
        return i >= first && i < end ? static_cast<float>(spectrum.lines[static_cast<std::size_t>(i)]) : 0.0f;
    };
    int filled = 0;
    for (std::int32_t i = first; i < end; ++i) {
        const float amplitude = at(i);
        if (!(amplitude > at(i - 1) && amplitude > at(i + 1))) {
            continue;
        }
        const PeakSlot peak{spectrum.FrequencyOf(i), amplitude};
        if (filled < kPeakSlotCount) {
            list.peaks[static_cast<std::size_t>(filled++)] = peak;
            if (filled == kPeakSlotCount) {
                list.smallest = SmallestSlot(list.peaks);
            }
        } else if (amplitude > list.peaks[static_cast<std::size_t>(list.smallest)].amplitude) {
            list.peaks[static_cast<std::size_t>(list.smallest)] = peak;
            list.smallest = SmallestSlot(list.peaks);
        }
    }
    list.smallest = SmallestSlot(list.peaks);
    std::array<float, kPeakSlotCount> frequencies{};
    std::array<float, kPeakSlotCount> amplitudes{};
    for (std::size_t s = 0; s < list.peaks.size(); ++s) {
        frequencies[s] = list.peaks[s].frequency;
        amplitudes[s] = list.peaks[s].amplitude;
    }
    list.frequencyDecimals = DistinctDecimals(frequencies);
    list.amplitudeDecimals = DistinctDecimals(amplitudes);
    // A line's frequency is a whole number of spacings: the spacing's exact decimals are the most
    // any line needs.
    const int resolution =
        ExactDecimals(static_cast<double>(spectrum.lineSpacingHz * spectrum.frequencyFactor));
    for (PeakSlot& peak : list.peaks) {
        peak.frequencyDecimals =
            std::max(list.frequencyDecimals, ExactDecimals(static_cast<double>(peak.frequency), resolution));
    }
    return list;
}

int DistinctDecimals(std::array<float, kPeakSlotCount> values) {
    std::sort(values.begin(), values.end());
    for (int decimals = 0; decimals < kMostPeakDecimals; ++decimals) {
        bool distinct = true;
        QString previous;
        for (std::size_t i = 0; i < values.size() && distinct; ++i) {
            const QString text = QString::asprintf("%.*f", decimals, static_cast<double>(values[i]));
            distinct = i == 0 || text != previous;
            previous = text;
        }
        if (distinct) {
            return decimals;
        }
    }
    return kMostPeakDecimals;
}

QString PeakText(float value, int decimals, const QLocale& locale) {
    return locale.toString(static_cast<double>(value), 'f', decimals);
}

} // namespace vantor
