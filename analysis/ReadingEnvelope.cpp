#include "analysis/ReadingEnvelope.h"

#include <QDataStream>
#include <QIODevice>

namespace vantor {
namespace {

constexpr quint32 kMagic = 0x564E4556; // "VENV" read little-endian
constexpr qint32 kFormat = 1;
// More lines than any capture the analyzer takes can give: a file claiming more is malformed.
constexpr quint64 kMostLines = kEnvelopeMostSamples / 2 + 1;

void Prepare(QDataStream& stream) {
    stream.setVersion(QDataStream::Qt_6_4);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
}

} // namespace

QByteArray EncodeEnvelopeCache(const EnvelopeSpectrum& spectrum) {
    QByteArray image;
    QDataStream stream(&image, QIODevice::WriteOnly);
    Prepare(stream);
    stream << kMagic << kFormat << spectrum.requested.lowHz << spectrum.requested.highHz
           << spectrum.band.lowHz << spectrum.band.highHz << spectrum.highClipped
           << spectrum.samplingFrequencyHz << static_cast<quint64>(spectrum.sampleCount)
           << spectrum.lineSpacingHz << spectrum.overallGe << static_cast<quint64>(spectrum.lines.size());
    for (const double line : spectrum.lines) {
        stream << line;
    }
    return image;
}

bool DecodeEnvelopeCache(const QByteArray& image, EnvelopeSpectrum& spectrum) {
    QDataStream stream(image);
    Prepare(stream);
    quint32 magic = 0;
    qint32 format = 0;
    quint64 samples = 0;
    quint64 count = 0;
    EnvelopeSpectrum read;
    stream >> magic >> format;
    if (stream.status() != QDataStream::Ok || magic != kMagic || format != kFormat) {
        return false;
    }
    stream >> read.requested.lowHz >> read.requested.highHz >> read.band.lowHz >> read.band.highHz >>
        read.highClipped >> read.samplingFrequencyHz >> samples >> read.lineSpacingHz >> read.overallGe >>
        count;
    if (stream.status() != QDataStream::Ok || count > kMostLines ||
        static_cast<quint64>(image.size()) != static_cast<quint64>(stream.device()->pos()) + count * 8) {
        return false;
    }
    read.sampleCount = static_cast<std::size_t>(samples);
    read.lines.resize(static_cast<std::size_t>(count));
    for (double& line : read.lines) {
        stream >> line;
    }
    if (stream.status() != QDataStream::Ok) {
        return false;
    }
    spectrum = std::move(read);
    return true;
}

ReadingEnvelope ComputeReadingEnvelope(EnvelopeAnalyzer& analyzer, const ChannelSignals& total,
                                       EnvelopeBand band) {
    ReadingEnvelope result;
    result.refusal = analyzer.Compute(total, band, result.spectrum);
    result.outcome = result.refusal == EnvelopeRefusal::None ? ReadingEnvelopeOutcome::Ready
                                                             : ReadingEnvelopeOutcome::Refused;
    return result;
}

} // namespace vantor
