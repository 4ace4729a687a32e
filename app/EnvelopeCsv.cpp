#include "app/EnvelopeCsv.h"

#include <QString>

namespace vantor {

QByteArray EnvelopeCsv(const EnvelopeSpectrum& spectrum) {
    QByteArray text;
    text += QStringLiteral("Envelope band (Hz),%1,%2\r\n")
                .arg(spectrum.band.lowHz, 0, 'f', 6)
                .arg(spectrum.band.highHz, 0, 'f', 6)
                .toUtf8();
    text += QStringLiteral("gE overall,%1\r\n\r\n").arg(spectrum.overallGe, 0, 'f', 6).toUtf8();
    text += "Frequency (Hz),Envelope (gE)\r\n";
    for (std::size_t k = 0; k < spectrum.lines.size(); ++k) {
        text += QStringLiteral("%1,%2\r\n")
                    .arg(spectrum.FrequencyOf(k), 0, 'f', 6)
                    .arg(spectrum.lines[k], 0, 'f', 6)
                    .toUtf8();
    }
    return text;
}

} // namespace vantor
