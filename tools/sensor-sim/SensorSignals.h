#pragma once
// What the sensor simulator publishes, without a broker: each simulated sensor's machine (by its
// number: unbalance, misalignment, or a rolling bearing) as a signal recipe of the meter
// emulator's synthesis, its fault growing with the sensor's age, and the overall values a sensor
// would compute from that signal.

#include "ingest/SensorMessage.h"
#include "tools/meter-sim/SignalSynth.h"

#include <QDateTime>

#include <vector>

namespace vantor::sim {

enum class SimulatedFault { Unbalance, Misalignment, BearingDefect };

// Sensor 1 has unbalance, 2 misalignment, 3 a bearing defect, 4 unbalance again, and so on.
SimulatedFault FaultOfSensor(int sensorNumber);

// The recipe at `ageHours` of a fault that reaches its full size at `growthHours`: the fault's
// component grows linearly from a tenth to all of its full size (unbalance to about 7 mm/s at
// 1×, misalignment at 2×, bearing impacts of 2 g at the outer-race rate), over a healthy base.
SignalRecipe SensorRecipe(int sensorNumber, double ageHours, double growthHours);

// The sampling of the simulated waveforms: 8192 samples at 12.8 kHz (a 5 kHz analysis range).
inline constexpr double kSimSamplingHz = 12800;
inline constexpr int kSimSamples = 8192;

// The waveform in g a sensor records now.
ingest::WaveformMessage SimulatedWaveform(const SignalRecipe& recipe, const QDateTime& time,
                                          std::uint32_t seed);

// Overall values of a recipe: the ISO velocity RMS summed over its tones between 10 Hz and 1 kHz
// (each a·9810/(2πf)/√2 mm/s, ISO 10816's band), the total acceleration RMS of the waveform, and a
// bearing temperature that rises with the fault's share (40 °C healthy, up to 70 °C).
ingest::OverallMessage SimulatedOverall(const SignalRecipe& recipe, const std::vector<double>& waveformG,
                                        double faultShare, const QDateTime& time);

} // namespace vantor::sim
