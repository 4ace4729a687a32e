#include "analysis/SpectralBands.h"

#include "analysis/BaselineAlarms.h"
#include "texts/DisplayFormat.h"
#include "texts/UiText.h"

#include <cmath>

namespace vantor {
namespace {

constexpr const char* kSpectrumNames[] = {"iso", "total", "envelope"};

bool Finite(double value) {
    return std::isfinite(value);
}

// A band's edges as the user gave them.
QString Edge(double value) {
    return TextNumber(value, 'g', 6);
}

// The spectrum a band judges, as the views name it.
QString SpectrumCaption(BandSpectrum spectrum) {
    switch (spectrum) {
    case BandSpectrum::Iso:
        return UiText(text::IsoLabel);
    case BandSpectrum::Total:
        return UiText(text::TotalLabel);
    case BandSpectrum::Envelope:
        return UiText(text::added::Envelope);
    }
    return {};
}

} // namespace

QString BandSpectrumName(BandSpectrum spectrum) {
    return QLatin1String(kSpectrumNames[static_cast<int>(spectrum)]);
}

std::optional<BandSpectrum> BandSpectrumNamed(const QString& name) {
    for (const BandSpectrum spectrum : {BandSpectrum::Iso, BandSpectrum::Total, BandSpectrum::Envelope}) {
        if (BandSpectrumName(spectrum) == name) {
            return spectrum;
        }
    }
    return std::nullopt;
}

QString BandSpectrumUnit(BandSpectrum spectrum) {
    switch (spectrum) {
    case BandSpectrum::Iso:
        return QStringLiteral("mm/s");
    case BandSpectrum::Total:
        return QStringLiteral("g");
    case BandSpectrum::Envelope:
        return QStringLiteral("gE");
    }
    return {};
}

QString BandRangeText(const SpectralBand& band) {
    return band.orders ? QStringLiteral("%1–%2×").arg(Edge(band.from), Edge(band.to))
                       : QStringLiteral("%1–%2 Hz").arg(Edge(band.from), Edge(band.to));
}

BandHz BandRangeHz(const SpectralBand& band, double runSpeedHz) {
    const double factor = band.orders ? runSpeedHz : 1.0;
    return {band.from * factor, band.to * factor};
}

std::optional<QString> CheckSpectralBand(const SpectralBand& band, double fmaxHz, double runSpeedHz) {
    if (!Finite(band.from) || !Finite(band.to) || band.from < 0 || band.from >= band.to) {
        return UiText(text::added::BandFromBelowTo);
    }
    if (!Finite(band.warning) || !Finite(band.critical) || band.warning < 0) {
        return UiText(text::added::BandLimitsNotNegative);
    }
    if (band.critical < band.warning) {
        return UiText(text::added::BandCriticalBelowWarning);
    }
    if (band.orders && !(runSpeedHz > 0)) {
        return UiText(text::added::BandOrdersNeedRunSpeed);
    }
    const BandHz hz = BandRangeHz(band, runSpeedHz);
    if (hz.high > fmaxHz) {
        return UiText(text::added::BandPastFmax)
            .arg(Edge(hz.high), SpectrumCaption(band.spectrum), Edge(fmaxHz));
    }
    return std::nullopt;
}

BandVerdict JudgeSpectralBand(const SpectrumLines& spectrum, double runSpeedHz, const SpectralBand& band,
                              int number) {
    BandVerdict verdict;
    const BandHz hz = BandRangeHz(band, runSpeedHz);
    const LineSpan lines = LinesBetween(spectrum, hz.low, hz.high);
    verdict.lines = lines.end - lines.first;
    if (lines.Empty()) {
        return verdict;
    }
    double largest = -1;
    double squares = 0;
    for (int i = lines.first; i < lines.end; ++i) {
        const double a = spectrum.amplitudes[static_cast<std::size_t>(i)];
        squares += a * a;
        if (a > largest) {
            largest = a;
            verdict.peakHz = i * spectrum.lineSpacingHz;
        }
    }
    // The RMS of a band as the ISO overall is taken: the root sum square of its RMS lines.
    verdict.value = band.value == BandValue::Rms ? std::sqrt(squares) : largest;
    // The documented rule, in single precision, so a value equal to a limit takes the higher status.
    verdict.code = ClassifyValue(static_cast<float>(verdict.value), true, static_cast<float>(band.warning),
                                 static_cast<float>(band.critical));
    if (verdict.code == StatusCode::Warning || verdict.code == StatusCode::Critical) {
        const bool critical = verdict.code == StatusCode::Critical;
        verdict.reason =
            UiText(text::added::ReasonBand)
                .arg(QString::number(number), SpectrumCaption(band.spectrum), BandRangeText(band),
                     band.value == BandValue::Rms ? QStringLiteral("RMS") : UiText(text::added::BandPeakWord),
                     AlarmLevelText(verdict.value), BandSpectrumUnit(band.spectrum),
                     UiText(critical ? text::added::BandCriticalWord : text::added::BandWarningWord),
                     AlarmLevelText(critical ? band.critical : band.warning));
    }
    return verdict;
}

} // namespace vantor
