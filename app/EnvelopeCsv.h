#pragma once
// The envelope spectrum as a CSV file: the band used and the gE overall, a blank line, then
// "Frequency (Hz),Envelope (gE)" and one line per spectrum line (six decimals, CRLF). The command
// line's `envelope --csv` and the desktop's envelope view write the same bytes.

#include "analysis/EnvelopeSpectrum.h"

#include <QByteArray>

namespace vantor {

QByteArray EnvelopeCsv(const EnvelopeSpectrum& spectrum);

} // namespace vantor
