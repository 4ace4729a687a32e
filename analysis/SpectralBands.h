#pragma once
// Spectral alarm bands of a point: up to eight ranges, in Hz or in orders of the run speed, on the
// ISO velocity, Total or envelope spectrum, each with warning and critical limits on the band's
// largest line or on its RMS. Each reading is judged band by band like the documented limits (a
// value equal to a limit takes the higher status).
//
// Source: band alarms on the narrowband spectrum, with the overall of a band taken as the root sum
// square of its lines, as in ISO 13373-1:2002 (spectral band monitoring) and J. E. Berry, "Proven
// Method for Specifying Both Six Spectral Alarm Bands and Narrowband Alarm Envelopes" (Technical
// Associates of Charlotte, 1991).

#include "analysis/AlarmStatus.h"
#include "analysis/FaultMatching.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantor {

inline constexpr int kMostSpectralBands = 8;

enum class BandSpectrum { Iso, Total, Envelope };
enum class BandValue { Peak, Rms };

// "iso", "total", "envelope"; and back.
QString BandSpectrumName(BandSpectrum spectrum);
std::optional<BandSpectrum> BandSpectrumNamed(const QString& name);
// The unit of the band's values and limits: mm/s RMS (as the ISO values are stored), g, gE.
QString BandSpectrumUnit(BandSpectrum spectrum);

struct SpectralBand {
    double from = 0; // Hz, or orders with `orders`
    double to = 0;
    bool orders = false;
    BandSpectrum spectrum = BandSpectrum::Iso;
    double warning = 0;
    double critical = 0;
    BandValue value = BandValue::Peak;
};

// "5–20 Hz" or "0.5–1.5×", as reasons and lists show the range.
QString BandRangeText(const SpectralBand& band);

// Why a band cannot be set: limits not finite or below 0, critical below warning, from ≥ to or
// below 0, or the range past `fmaxHz` (the top of the chosen spectrum; orders reckoned at
// `runSpeedHz`). None when it can.
std::optional<QString> CheckSpectralBand(const SpectralBand& band, double fmaxHz, double runSpeedHz);

// The band's range in Hz at a run speed.
struct BandHz {
    double low = 0;
    double high = 0;
};
BandHz BandRangeHz(const SpectralBand& band, double runSpeedHz);

struct BandVerdict {
    double value = 0;                         // the largest line or the RMS
    double peakHz = 0;                        // where the largest line lies
    int lines = 0;                            // lines inside the band
    StatusCode code = StatusCode::NoReadings; // NoReadings when the band holds no line
    QString reason; // "Band 2 (ISO 0.5–1.5×) 3.1 mm/s ≥ critical 3", empty when Ok
};
// Judges band `number` (1-based, for the reason) on the spectrum's lines [first, end).
BandVerdict JudgeSpectralBand(const SpectrumLines& spectrum, double runSpeedHz, const SpectralBand& band,
                              int number);

} // namespace vantor
