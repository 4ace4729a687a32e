#pragma once
// The unit choice every displayed frequency, velocity and displacement passes through. Frequency:
// Hz, RPM or CPM (codes 0, 1, 2 of the setting XAxisUnits). Amplitude: mm/s with µm, or inch/s
// with thou (codes 0, 1 of YAxisUnits). Acceleration (g) and BDU are never converted.

#include <QString>

namespace vantor {

enum class FrequencyUnit : int { Hz = 0, Rpm = 1, Cpm = 2 };
enum class AmplitudeUnit : int { Metric = 0, Imperial = 1 };

// mm → inch and µm → thou: 1/25.4 in single precision.
inline constexpr float kImperialAmplitudeFactor = 0.03937008f;
inline constexpr float kPerMinuteFactor = 60.0f;

class DisplayUnits {
public:
    DisplayUnits() = default;
    DisplayUnits(FrequencyUnit frequency, AmplitudeUnit amplitude);
    // From the settings codes; a code outside the known ones means Hz or mm/s.
    static DisplayUnits FromSettings(int xAxisUnits, int yAxisUnits);

    FrequencyUnit Frequency() const { return frequency_; }
    AmplitudeUnit Amplitude() const { return amplitude_; }
    // The settings codes of the current choice.
    int XAxisUnits() const { return static_cast<int>(frequency_); }
    int YAxisUnits() const { return static_cast<int>(amplitude_); }

    // Hz → RPM → CPM → Hz.
    void ToggleFrequency();
    // mm/s ↔ inch/s.
    void ToggleAmplitude();

    float FrequencyFactor() const;
    float AmplitudeFactor() const;
    QString FrequencyLabel() const;
    QString VelocityLabel() const;
    QString DisplacementLabel() const;

    double DisplayFrequency(double hz) const { return hz * FrequencyFactor(); }
    float DisplayAmplitude(float stored) const { return stored * AmplitudeFactor(); }

private:
    FrequencyUnit frequency_ = FrequencyUnit::Hz;
    AmplitudeUnit amplitude_ = AmplitudeUnit::Metric;
};

} // namespace vantor
