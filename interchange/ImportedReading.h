#pragma once
// A waveform from another instrument turned into a vibration reading the rest of the program
// treats like a meter's: its samples become a raw converter capture that the reading decode gives
// back within one count, the other channel is stored without a capture, and the overall values
// are computed from the decoded signals. Measures only a meter computes hold the no-value marker.

#include "analysis/ReadingDecode.h"
#include "store/Records.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace vantor {

class SignalProcessor;

enum class SignalUnit {
    G,                    // acceleration in g
    MillimetresPerSecond, // velocity
    InchesPerSecond,      // velocity
};

// "g", "mm/s", "m/s", "in/s", "inch/s", "ips" (any case); nullopt for anything else. Metres per
// second are read as mm/s with their factor (see VelocityFactorToMmPerS).
std::optional<SignalUnit> SignalUnitFromText(const QString& text);
// The factor that brings a velocity written in `text` to the unit SignalUnitFromText names
// (1000 for m/s, else 1).
double VelocityFactorOf(const QString& text);
QString SignalUnitText(SignalUnit unit);

// What the views support: sample counts that are a power of two from 256 to the transform's
// 131072, sampling frequencies from 25.6 Hz (a 10 Hz analysis range, the low cut-off) to 204.8 kHz.
inline constexpr std::size_t kMinImportSamples = 256;
inline constexpr double kMinImportSamplingHz = 25.6;
inline constexpr double kMaxImportSamplingHz = 204800.0;

// The capture the imported samples are written as: 16-bit converter counts around mid-scale,
// 3.3 V supply, calibration 1, a 100 mV/g sensor; the channel's gain sets one count's size so the
// largest sample uses about 30000 counts.
inline constexpr float kImportSupplyVolts = 3.3f;
inline constexpr std::int32_t kImportAdcBits = 16;
inline constexpr float kImportCalibration = 1.0f;
inline constexpr float kImportSensitivityMvPerG = 100.0f;
inline constexpr double kImportPeakCounts = 30000.0;

struct EncodedCapture {
    QByteArray raw; // little-endian unsigned 16-bit counts
    float gain = 1.0f;
    double countG = 0; // the size of one count in g
};

// The capture of a waveform in g (its mean is removed, as the decode removes it). Decoding it with
// the import calibration and `gain` gives every sample back within one count. A waveform whose
// gain is not a finite float gets gain 0 and no samples: it cannot be captured.
EncodedCapture EncodeImportedCapture(std::span<const double> waveformG);

// A velocity waveform (mm/s) turned into the acceleration (g) whose integration by the spectrum
// transform gives it back: each line of its spectrum multiplied by i·2πf and divided by 9810 mm/s²
// per g (the derivative of a sinusoid; the constant is the one the transform integrates with).
// The mean and the Nyquist line, which have no derivative, become 0. N must be a power of two.
std::vector<double> VelocityToAcceleration(std::span<const double> velocityMmPerS,
                                           double samplingFrequencyHz);

struct ImportedWaveform {
    std::vector<double> samples;
    double samplingFrequencyHz = 0;
    SignalUnit unit = SignalUnit::G;
    // The samples the file holds when a reader kept only the first ones (0: as many as `samples`).
    std::size_t samplesInFile = 0;
};

// The largest sample magnitude an import takes, in the file's unit (g, mm/s or inch/s). The
// reading keeps its capture's gain and its overall values in single precision (at most 3.4e38):
// the decode multiplies each count's volts by the gain and by 1000, a velocity's derivative is
// larger by up to 2πf/9810 (65 at 102.4 kHz), and the ISO and band overalls sum the squares of up
// to 51200 spectrum lines in single precision, so a line must stay well below 1e19. 1e15 leaves
// that margin, far above any sensor (shock accelerometers end near 1e5 g).
inline constexpr double kLargestImportSample = 1e15;

struct ImportedReadingBuild {
    // The reading's values: capture fields of the imported channel, the other channel without a
    // capture, the run speed and the overall values. GUIDs, point, date and device are left empty.
    VibReadingValues values;
    std::size_t samplesInFile = 0;
    std::size_t samplesUsed = 0; // the largest power of two not above samplesInFile nor 131072
    QString error;               // why the waveform cannot be a reading; empty on success
    bool Ok() const { return error.isEmpty(); }
};

// Which channels a waveform fills: the one named, or both (a permanently mounted sensor's waveform
// stands for the meter's two captures: the Total channel takes it as acceleration, the ISO channel
// the same capture, whose integration by the spectrum transform gives the velocity).
enum class ChannelFill { Named, Both };

// Builds the reading of a waveform on one channel (or both). Overall values: the ISO velocity and
// the three VA bands as RecomputeOveralls computes them, the displacement from the ISO velocity
// spectrum, the Total acceleration as the RMS of the Total waveform; values of a channel not filled
// and the bearing noise hold the no-value marker.
ImportedReadingBuild BuildImportedReading(const ImportedWaveform& waveform, Channel channel, float runSpeedHz,
                                          SignalProcessor& processor, ChannelFill fill = ChannelFill::Named);

// RMS displacement (µm) over the ISO velocity sum's lines: each line's velocity divided by 2πf.
float DisplacementFromVelocity(const ChannelSignals& iso);

} // namespace vantor
