#pragma once
// envelope, cepstrum and indices: a reading's envelope spectrum, cepstrum and waveform indices.

#include "analysis/EnvelopeSpectrum.h"
#include "app/CAppData.h"

#include <QString>

#include <cstdio>
#include <optional>

namespace vantor::cli {

struct EnvelopeOptions {
    QString reading;
    std::optional<EnvelopeBand> band; // the point's band when none
    bool json = false;
    QString csvFile; // written instead of printing the lines when set
};
// The envelope spectrum's lines in Hz and gE, with the band used and the gE overall. A refused band
// or capture shows its message and fails; a band clipped to Fmax is said on standard error.
int RunEnvelope(CAppData& app, const EnvelopeOptions& options, std::FILE* out = stdout);

// The real cepstrum of the reading's Total capture (quefrency in ms), with the periods of 1× and of
// the point's bearing families marked; --csv writes the same to a file.
int RunCepstrum(CAppData& app, const QString& readingGuid, bool json, const QString& csvFile,
                std::FILE* out = stdout);

// Per channel the six waveform indices, and the gE overall of the Total channel's envelope.
int RunIndices(CAppData& app, const QString& readingGuid, bool json, std::FILE* out = stdout);

} // namespace vantor::cli
