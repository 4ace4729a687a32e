#include "analysis/SignalCache.h"

#include "archive/ArchiveReader.h"
#include "archive/ArchiveWriter.h"

#include <cmath>

namespace vantor {
namespace {

void WriteDoubles(ArchiveWriter& writer, const std::vector<double>& values, std::int32_t count) {
    const auto n = static_cast<std::size_t>(std::max(count, 0));
    for (std::size_t i = 0; i < n; ++i) {
        writer.WriteDouble(i < values.size() ? values[i] : 0.0);
    }
}

void WriteChannel(ArchiveWriter& writer, const ChannelSignals& channel, bool withWaveform) {
    writer.WriteFloat(channel.fmaxHz);
    writer.WriteFloat(channel.samplingFrequencyHz);
    writer.WriteInt32(channel.sampleCount);
    writer.WriteInt32(channel.lineCount);
    writer.WriteFloat(channel.lowCutoffHz);
    if (withWaveform) {
        WriteDoubles(writer, channel.waveform, channel.sampleCount);
    }
    WriteDoubles(writer, channel.spectrum, channel.lineCount);
}

void ReadDoubles(ArchiveReader& reader, std::vector<double>& values, std::int32_t count) {
    values.assign(static_cast<std::size_t>(std::max(count, 0)), 0.0);
    for (double& value : values) {
        value = reader.ReadDouble();
    }
}

void ReadChannel(ArchiveReader& reader, ChannelSignals& channel, bool withWaveform) {
    channel.fmaxHz = reader.ReadFloat();
    channel.samplingFrequencyHz = reader.ReadFloat();
    // Counts are checked against the data that is left before anything is sized by them.
    channel.sampleCount = withWaveform ? reader.ReadCount(ArchiveReader::kDoubleSize) : reader.ReadInt32();
    channel.lineCount = reader.ReadCount(ArchiveReader::kDoubleSize);
    channel.lowCutoffHz = reader.ReadFloat();
    if (!withWaveform && channel.sampleCount < 0) {
        reader.Fail();
    }
    if (!reader.Ok()) {
        return;
    }
    channel.waveform.clear();
    if (withWaveform) {
        ReadDoubles(reader, channel.waveform, channel.sampleCount);
    }
    ReadDoubles(reader, channel.spectrum, channel.lineCount);
}

// A channel's header as the decode writes it: finite, non-negative frequencies and counts.
bool Plausible(const ChannelSignals& channel) {
    const auto sound = [](float value) { return std::isfinite(value) && value >= 0; };
    return sound(channel.fmaxHz) && sound(channel.samplingFrequencyHz) && sound(channel.lowCutoffHz) &&
           channel.sampleCount >= 0 && channel.lineCount >= 0;
}

} // namespace

QByteArray EncodeSignalCache(const ReadingSignals& decoded) {
    QByteArray image;
    const auto doubles = static_cast<qsizetype>(std::max(decoded.total.sampleCount, 0)) +
                         std::max(decoded.total.lineCount, 0) + std::max(decoded.iso.lineCount, 0);
    image.reserve(48 + 8 * doubles);
    ArchiveWriter writer(image);
    writer.WriteInt32(kSignalCacheVersion);
    writer.WriteFloat(decoded.runSpeedHz);
    WriteChannel(writer, decoded.total, true);
    WriteChannel(writer, decoded.iso, false);
    return image;
}

bool DecodeSignalCache(const QByteArray& image, ReadingSignals& decoded) {
    ArchiveReader reader(image);
    // Only the current version is understood; a later one was written by a newer program.
    if (reader.ReadInt32() != kSignalCacheVersion) {
        reader.Fail();
    }
    decoded.runSpeedHz = reader.ReadFloat();
    ReadChannel(reader, decoded.total, true);
    ReadChannel(reader, decoded.iso, false);
    // The image is exactly what its counts announce, and holds something: every decoded route
    // reading has a spectrum on at least one channel. A file cut or padded does not check out.
    if (reader.Ok() && (!reader.AtEnd() || !Plausible(decoded.total) || !Plausible(decoded.iso) ||
                        (decoded.total.lineCount == 0 && decoded.iso.lineCount == 0))) {
        reader.Fail();
    }
    if (!reader.Ok()) {
        decoded = {};
        return false;
    }
    return true;
}

} // namespace vantor
