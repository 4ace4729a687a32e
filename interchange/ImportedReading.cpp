#include "interchange/ImportedReading.h"

#include "analysis/AlarmStatus.h"
#include "analysis/Measures.h"
#include "analysis/SignalProcessor.h"
#include "interchange/Log.h"

#include <fftw3.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>

namespace vantor {
namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr std::int32_t kMidScale = 32768;

const float kNoValue = std::bit_cast<float>(kNoValueBits);

std::size_t LargestPowerOfTwoNotAbove(std::size_t n) {
    return n == 0 ? 0 : std::bit_floor(n);
}

struct FftwPlanDeleter {
    void operator()(fftw_plan plan) const { fftw_destroy_plan(plan); }
};

// The count size the decode works with: volts per count × Cal × Gain × 1000 / sensitivity, in the
// single-precision steps the decode takes.
double CountSizeG(float gain) {
    const auto voltsPerCount = static_cast<float>(static_cast<double>(kImportSupplyVolts) /
                                                  std::exp2(static_cast<double>(kImportAdcBits)));
    const float g = kImportCalibration * gain * voltsPerCount * 1000.0f / kImportSensitivityMvPerG;
    return static_cast<double>(g);
}

} // namespace

std::optional<SignalUnit> SignalUnitFromText(const QString& text) {
    const QString unit = text.trimmed().toLower();
    if (unit == QLatin1String("g")) {
        return SignalUnit::G;
    }
    if (unit == QLatin1String("mm/s") || unit == QLatin1String("m/s")) {
        return SignalUnit::MillimetresPerSecond;
    }
    if (unit == QLatin1String("in/s") || unit == QLatin1String("inch/s") || unit == QLatin1String("ips")) {
        return SignalUnit::InchesPerSecond;
    }
    return std::nullopt;
}

double VelocityFactorOf(const QString& text) {
    return text.trimmed().toLower() == QLatin1String("m/s") ? 1000.0 : 1.0;
}

QString SignalUnitText(SignalUnit unit) {
    switch (unit) {
    case SignalUnit::G:
        return QStringLiteral("g");
    case SignalUnit::MillimetresPerSecond:
        return QStringLiteral("mm/s");
    case SignalUnit::InchesPerSecond:
        return QStringLiteral("inch/s");
    }
    return {};
}

EncodedCapture EncodeImportedCapture(std::span<const double> waveformG) {
    EncodedCapture capture;
    const std::size_t n = waveformG.size();
    if (n == 0) {
        return capture;
    }
    const double mean = std::accumulate(waveformG.begin(), waveformG.end(), 0.0) / static_cast<double>(n);
    double peak = 0;
    for (const double v : waveformG) {
        peak = std::max(peak, std::fabs(v - mean));
    }
    // One count of the gain-1 capture, then the gain that makes the peak about kImportPeakCounts.
    const double unitCount = CountSizeG(1.0f);
    const double gain = peak > 0 ? peak / kImportPeakCounts / unitCount : 1.0;
    if (!std::isfinite(gain) || gain > static_cast<double>(std::numeric_limits<float>::max())) {
        // Not a gain the float column can keep: refusing beats storing silence.
        capture.gain = 0.0f;
        return capture;
    }
    capture.gain = static_cast<float>(gain);
    if (!(capture.gain > 0)) {
        capture.gain = 1.0f; // below the float range: the waveform is silent to begin with
    }
    capture.countG = CountSizeG(capture.gain);

    std::vector<std::int32_t> counts(n);
    std::vector<double> residual(n);
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double exact = (waveformG[i] - mean) / capture.countG;
        counts[i] = static_cast<std::int32_t>(std::lround(exact));
        residual[i] = exact - static_cast<double>(counts[i]);
        sum += counts[i];
    }
    // The decode subtracts the integer mean of the counts (the sum divided with its remainder
    // dropped). A negative count sum would make that mean one below mid-scale and shift every
    // sample up by a count, so the samples rounded down the most are rounded up instead until the
    // sum is no longer negative; they then lie within one count of the waveform.
    if (sum < 0) {
        std::vector<std::size_t> order(n);
        std::iota(order.begin(), order.end(), 0);
        const auto raise = static_cast<std::size_t>(-sum);
        std::nth_element(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(raise - 1), order.end(),
                         [&residual](std::size_t a, std::size_t b) { return residual[a] > residual[b]; });
        for (std::size_t k = 0; k < raise; ++k) {
            ++counts[order[k]];
        }
    }
    capture.raw.resize(static_cast<qsizetype>(2 * n));
    auto* bytes = reinterpret_cast<unsigned char*>(capture.raw.data());
    for (std::size_t i = 0; i < n; ++i) {
        const auto value = static_cast<std::uint32_t>(std::clamp(counts[i] + kMidScale, 0, 65535));
        bytes[2 * i] = static_cast<unsigned char>(value & 0xFFu);
        bytes[2 * i + 1] = static_cast<unsigned char>(value >> 8);
    }
    return capture;
}

std::vector<double> VelocityToAcceleration(std::span<const double> velocityMmPerS,
                                           double samplingFrequencyHz) {
    const std::size_t n = velocityMmPerS.size();
    std::vector<double> acceleration(n, 0.0);
    if (n < 2) {
        return acceleration;
    }
    std::vector<double> work(velocityMmPerS.begin(), velocityMmPerS.end());
    auto* spectrum = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * (n / 2 + 1)));
    const auto n32 = static_cast<int>(n);
    const std::unique_ptr<fftw_plan_s, FftwPlanDeleter> forward(
        fftw_plan_dft_r2c_1d(n32, work.data(), spectrum, FFTW_ESTIMATE));
    const std::unique_ptr<fftw_plan_s, FftwPlanDeleter> inverse(
        fftw_plan_dft_c2r_1d(n32, spectrum, acceleration.data(), FFTW_ESTIMATE));
    fftw_execute(forward.get());
    // d/dt of e^{iωt} is iω e^{iωt}; the inverse transform is unnormalised, hence the 1/N.
    const double scale = 1.0 / (static_cast<double>(n) * SignalProcessor::kMillimetresPerSecondSquaredPerG);
    for (std::size_t k = 0; k <= n / 2; ++k) {
        const double omega =
            2.0 * std::numbers::pi * static_cast<double>(k) * samplingFrequencyHz / static_cast<double>(n);
        const double re = spectrum[k][0];
        const double im = spectrum[k][1];
        const bool undefined = k == 0 || (n % 2 == 0 && k == n / 2);
        spectrum[k][0] = undefined ? 0.0 : -im * omega * scale;
        spectrum[k][1] = undefined ? 0.0 : re * omega * scale;
    }
    fftw_execute(inverse.get());
    fftw_free(spectrum);
    return acceleration;
}

float DisplacementFromVelocity(const ChannelSignals& iso) {
    const LineRange range = IsoLines(iso);
    const double spacingHz = iso.sampleCount > 0 ? static_cast<double>(iso.samplingFrequencyHz) /
                                                       static_cast<double>(iso.sampleCount)
                                                 : 0.0;
    double sum = 0;
    for (std::int32_t k = std::max(range.first, 1);
         k < range.end && k < static_cast<std::int32_t>(iso.spectrum.size()); ++k) {
        // Harmonic motion: displacement amplitude = velocity amplitude / ω (mm → µm).
        const double micrometres = iso.spectrum[static_cast<std::size_t>(k)] /
                                   (2.0 * std::numbers::pi * static_cast<double>(k) * spacingHz) * 1000.0;
        sum += micrometres * micrometres;
    }
    return static_cast<float>(std::sqrt(sum));
}

ImportedReadingBuild BuildImportedReading(const ImportedWaveform& waveform, Channel channel, float runSpeedHz,
                                          SignalProcessor& processor, ChannelFill fill) {
    ImportedReadingBuild build;
    build.samplesInFile = std::max(waveform.samplesInFile, waveform.samples.size());
    const auto refuse = [&build](const QString& why) {
        build.error = why;
        qCWarning(lcInterchange) << "Waveform refused:" << why;
        return build;
    };
    const double fs = waveform.samplingFrequencyHz;
    if (!std::isfinite(fs) || fs < kMinImportSamplingHz || fs > kMaxImportSamplingHz) {
        return refuse(
            QStringLiteral("a sampling frequency of %1 Hz is outside what the views show (%2 Hz to %3 Hz)")
                .arg(fs, 0, 'g', 10)
                .arg(kMinImportSamplingHz)
                .arg(kMaxImportSamplingHz, 0, 'f', 0));
    }
    if (!(runSpeedHz >= 0) || !std::isfinite(runSpeedHz)) {
        return refuse(QStringLiteral("a run speed of %1 Hz is not valid").arg(runSpeedHz));
    }
    // A longer file is cut to the largest power of two the spectrum takes, from its start.
    build.samplesUsed = std::min(LargestPowerOfTwoNotAbove(waveform.samples.size()),
                                 static_cast<std::size_t>(SignalProcessor::kMaxLength));
    if (build.samplesUsed < kMinImportSamples) {
        return refuse(QStringLiteral("%1 samples are too few: a waveform needs at least %2")
                          .arg(build.samplesInFile)
                          .arg(kMinImportSamples));
    }
    for (std::size_t i = 0; i < build.samplesUsed; ++i) {
        const double v = waveform.samples[i];
        if (!std::isfinite(v)) {
            return refuse(QStringLiteral("sample %1 is not a number").arg(i + 1));
        }
        if (std::fabs(v) > kLargestImportSample) {
            return refuse(
                QStringLiteral("sample %1 (%2 %3) is larger than the capture can hold (at most ±%4)")
                    .arg(i + 1)
                    .arg(v, 0, 'g', 6)
                    .arg(SignalUnitText(waveform.unit))
                    .arg(kLargestImportSample, 0, 'g', 6));
        }
    }

    const std::span<const double> used(waveform.samples.data(), build.samplesUsed);
    std::vector<double> accelerationG;
    switch (waveform.unit) {
    case SignalUnit::G:
        accelerationG.assign(used.begin(), used.end());
        break;
    case SignalUnit::MillimetresPerSecond:
        accelerationG = VelocityToAcceleration(used, fs);
        break;
    case SignalUnit::InchesPerSecond: {
        std::vector<double> mmPerS(used.begin(), used.end());
        for (double& v : mmPerS) {
            v *= kMillimetresPerInch;
        }
        accelerationG = VelocityToAcceleration(mmPerS, fs);
        break;
    }
    }
    const EncodedCapture capture = EncodeImportedCapture(accelerationG);
    if (!(capture.gain > 0)) {
        return refuse(QStringLiteral("the samples are larger than the capture can hold"));
    }

    VibReadingValues& r = build.values;
    r.fPSUVoltage = kImportSupplyVolts;
    r.iADCBits = kImportAdcBits;
    r.fAccelerometerSensitivity = kImportSensitivityMvPerG;
    r.fOriginalRunSpeedHz = runSpeedHz;
    r.fCurrentRunSpeedHz = runSpeedHz;
    const auto samples = static_cast<std::int32_t>(build.samplesUsed);
    const bool total = fill == ChannelFill::Both || channel == Channel::Total;
    const bool iso = fill == ChannelFill::Both || channel == Channel::Iso;
    if (total) {
        r.fTotalSamplingFrequency = static_cast<float>(fs);
        r.iTotalNumberOfSamples = samples;
        r.fTotalCal = kImportCalibration;
        r.fTotalGain = capture.gain;
        r.rawADCTotalDataByteArray = capture.raw;
    }
    if (iso) {
        r.fISOSamplingFrequency = static_cast<float>(fs);
        r.iISONumberOfSamples = samples;
        r.fISOCal = kImportCalibration;
        r.fISOGain = capture.gain;
        r.rawADCISODataByteArray = capture.raw;
    }

    ReadingSignals decoded;
    if (!DecodeReading(r, processor, decoded)) {
        return refuse(QStringLiteral("the capture made from the samples cannot be decoded"));
    }
    // What a meter alone measures, and the values of the channel not imported, have no value.
    r.fBearingBDU = kNoValue;
    r.fTotalG = r.fISOMMS = r.fDisplacementMicrons = kNoValue;
    r.fVABand1MMS = r.fVABand2MMS = r.fVABand3MMS = kNoValue;
    if (total) {
        double sum = 0;
        for (const double g : decoded.total.waveform) {
            sum += g * g;
        }
        r.fTotalG = static_cast<float>(std::sqrt(sum / static_cast<double>(decoded.total.waveform.size())));
    }
    if (iso) {
        RecomputeOveralls(r, decoded);
        r.fDisplacementMicrons = DisplacementFromVelocity(decoded.iso);
    }
    for (const float overall :
         {r.fTotalG, r.fISOMMS, r.fDisplacementMicrons, r.fVABand1MMS, r.fVABand2MMS, r.fVABand3MMS}) {
        if (!std::isfinite(overall)) {
            return refuse(
                QStringLiteral("the overall values of the samples are larger than a reading holds"));
        }
    }
    return build;
}

} // namespace vantor
