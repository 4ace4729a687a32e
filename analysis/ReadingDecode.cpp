#include "analysis/ReadingDecode.h"

#include "analysis/SignalProcessor.h"
#include "platform/LeftOutValues.h"
#include "records/RunSpeedLimit.h"

#include <cmath>

namespace vantor {
namespace {

struct ChannelInput {
    Channel channel;
    float samplingFrequencyHz;
    std::int32_t sampleCount;
    float cal;
    float gain;
    const QByteArray& raw;
};

bool DecodeChannel(const ChannelInput& input, const VibReadingValues& row, float runSpeedHz,
                   SignalProcessor& processor, ChannelSignals& out) {
    out.fmaxHz = FmaxOf(input.samplingFrequencyHz);
    out.samplingFrequencyHz = input.samplingFrequencyHz;
    out.sampleCount = input.sampleCount;
    out.lineCount = LineCountOf(input.sampleCount);
    out.lowCutoffHz = LowCutoffOf(input.channel, runSpeedHz);
    if (input.sampleCount == 0) {
        // A channel without a capture (a reading imported from another instrument brings one
        // channel): nothing to decode, and the views say the channel is missing.
        out.waveform.clear();
        out.spectrum.clear();
        return true;
    }

    const Calibration calibration{row.fPSUVoltage, row.iADCBits, input.cal, input.gain,
                                  row.fAccelerometerSensitivity};
    if (!DecodeWaveform(input.raw, input.sampleCount, calibration, out.waveform)) {
        out.spectrum.clear();
        return false;
    }
    if (!processor.ComputeSpectrum(out.waveform, out.spectrum, input.samplingFrequencyHz,
                                   SpectrumWindow::Rectangular, false, input.channel == Channel::Iso)) {
        return false;
    }
    // The lines from N/2.56 up to N/2 lie above Fmax, where the meter's anti-alias filter works.
    out.spectrum.resize(static_cast<std::size_t>(out.lineCount));
    return true;
}

} // namespace

float FmaxOf(float samplingFrequencyHz) {
    return samplingFrequencyHz / kSamplesPerLine;
}

std::int32_t LineCountOf(std::int32_t sampleCount) {
    const float lines = static_cast<float>(sampleCount) / kSamplesPerLine;
    return static_cast<std::int32_t>(lines);
}

float LowCutoffOf(Channel channel, float runSpeedHz) {
    if (channel == Channel::Total) {
        return kTotalLowCutoffHz;
    }
    return runSpeedHz > kSlowMachineRunSpeedHz ? kIsoLowCutoffHz : kSlowMachineIsoLowCutoffHz;
}

bool DecodeWaveform(const QByteArray& raw, std::int32_t sampleCount, const Calibration& calibration,
                    std::vector<double>& waveform) {
    waveform.clear();
    if (sampleCount <= 0 || !SignalProcessor::IsTransformLength(static_cast<std::size_t>(sampleCount)) ||
        raw.size() != 2 * static_cast<qsizetype>(sampleCount)) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(raw.constData());
    const auto sampleAt = [bytes](std::size_t i) -> std::uint32_t {
        return static_cast<std::uint32_t>(bytes[2 * i]) + 256u * static_cast<std::uint32_t>(bytes[2 * i + 1]);
    };
    const auto n = static_cast<std::size_t>(sampleCount);

    // The mean is an integer: the sum divided in unsigned arithmetic, remainder dropped. The sum is
    // kept in 64 bits because 131072 full-scale samples overflow 32.
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += sampleAt(i);
    }
    const auto mean = static_cast<std::int32_t>(sum / n);

    const auto voltsPerCount = static_cast<float>(static_cast<double>(calibration.psuVoltage) /
                                                  std::exp2(static_cast<double>(calibration.adcBits)));
    waveform.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t counts = static_cast<std::int32_t>(sampleAt(i)) - mean;
        const float volts = static_cast<float>(counts) * voltsPerCount;
        float g = calibration.cal * calibration.gain * volts;
        g = g * 1000.0f;
        g = g / calibration.sensitivityMvPerG;
        if (!std::isfinite(g)) {
            waveform.clear();
            return false;
        }
        waveform[i] = static_cast<double>(g);
    }
    return true;
}

bool RefuseUnusableRunSpeed(ReadingSignals& decoded, const QString& readingGuid) {
    if (decoded.runSpeedHz == 0 || IsUsableRunSpeed(decoded.runSpeedHz)) {
        return false;
    }
    ReportLeftOutValue(QStringLiteral("run speed ") + readingGuid,
                       QStringLiteral("Reading %1: its stored run speed %2 Hz is not usable, the analysis "
                                      "takes none; correct it (vantor runspeed READING HZ)")
                           .arg(readingGuid)
                           .arg(static_cast<double>(decoded.runSpeedHz)));
    decoded.runSpeedHz = 0;
    return true;
}

bool DecodeReading(const VibReadingValues& row, SignalProcessor& processor, ReadingSignals& decoded) {
    decoded.runSpeedHz = row.fCurrentRunSpeedHz;
    const ChannelInput total{
        Channel::Total, row.fTotalSamplingFrequency, row.iTotalNumberOfSamples, row.fTotalCal,
        row.fTotalGain, row.rawADCTotalDataByteArray};
    const ChannelInput iso{Channel::Iso, row.fISOSamplingFrequency, row.iISONumberOfSamples, row.fISOCal,
                           row.fISOGain, row.rawADCISODataByteArray};
    // At least one channel must hold a capture.
    if (row.iTotalNumberOfSamples == 0 && row.iISONumberOfSamples == 0) {
        return false;
    }
    return DecodeChannel(total, row, decoded.runSpeedHz, processor, decoded.total) &&
           DecodeChannel(iso, row, decoded.runSpeedHz, processor, decoded.iso);
}

} // namespace vantor
