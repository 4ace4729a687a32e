#include "analysis/DisplayUnits.h"

#include "texts/UiText.h"

namespace vantor {

DisplayUnits::DisplayUnits(FrequencyUnit frequency, AmplitudeUnit amplitude)
    : frequency_(frequency), amplitude_(amplitude) {}

DisplayUnits DisplayUnits::FromSettings(int xAxisUnits, int yAxisUnits) {
    const FrequencyUnit frequency =
        xAxisUnits >= 0 && xAxisUnits <= 2 ? static_cast<FrequencyUnit>(xAxisUnits) : FrequencyUnit::Hz;
    const AmplitudeUnit amplitude = yAxisUnits == 1 ? AmplitudeUnit::Imperial : AmplitudeUnit::Metric;
    return {frequency, amplitude};
}

void DisplayUnits::ToggleFrequency() {
    frequency_ = static_cast<FrequencyUnit>((static_cast<int>(frequency_) + 1) % 3);
}

void DisplayUnits::ToggleAmplitude() {
    amplitude_ = amplitude_ == AmplitudeUnit::Metric ? AmplitudeUnit::Imperial : AmplitudeUnit::Metric;
}

float DisplayUnits::FrequencyFactor() const {
    return frequency_ == FrequencyUnit::Hz ? 1.0f : kPerMinuteFactor;
}

float DisplayUnits::AmplitudeFactor() const {
    return amplitude_ == AmplitudeUnit::Imperial ? kImperialAmplitudeFactor : 1.0f;
}

QString DisplayUnits::FrequencyLabel() const {
    switch (frequency_) {
    case FrequencyUnit::Rpm:
        return UiText(text::UnitRpm);
    case FrequencyUnit::Cpm:
        return UiText(text::UnitCpm);
    case FrequencyUnit::Hz:
        break;
    }
    return UiText(text::UnitHz);
}

QString DisplayUnits::VelocityLabel() const {
    return UiText(amplitude_ == AmplitudeUnit::Imperial ? text::UnitInchPerSecond : text::UnitMmPerSecond);
}

QString DisplayUnits::DisplacementLabel() const {
    return UiText(amplitude_ == AmplitudeUnit::Imperial ? text::UnitThou : text::UnitMicrometre);
}

} // namespace vantor
