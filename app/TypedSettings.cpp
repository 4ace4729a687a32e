#include "app/TypedSettings.h"

#include <algorithm>

namespace vantor {
namespace {

constexpr int kOff = 0;
constexpr int kOn = 1;

int Flag(bool on) {
    return on ? kOn : kOff;
}

} // namespace

DisplayUnits DisplayUnitsOf(const CSettings& settings) {
    return DisplayUnits::FromSettings(settings.xAxisUnits, settings.yAxisUnits);
}

void SetDisplayUnits(CSettings& settings, const DisplayUnits& units) {
    settings.xAxisUnits = units.XAxisUnits();
    settings.yAxisUnits = units.YAxisUnits();
    RefreshUnitLabels(settings);
}

void SetFrequencyUnitCode(CSettings& settings, int xAxisUnits) {
    SetDisplayUnits(settings, DisplayUnits(DisplayUnits::FromSettings(xAxisUnits, 0).Frequency(),
                                           DisplayUnitsOf(settings).Amplitude()));
}

void SetAmplitudeUnitCode(CSettings& settings, int yAxisUnits) {
    SetDisplayUnits(settings, DisplayUnits(DisplayUnitsOf(settings).Frequency(),
                                           DisplayUnits::FromSettings(0, yAxisUnits).Amplitude()));
}

void RefreshUnitLabels(CSettings& settings) {
    const DisplayUnits units = DisplayUnitsOf(settings);
    settings.frequencyUnitLabel = units.FrequencyLabel();
    settings.velocityUnitLabel = units.VelocityLabel();
    settings.velocityUnitFactor = units.AmplitudeFactor();
}

bool ConsolidatePeaks(const CSettings& settings) {
    return settings.varovudOvoOn == kOn;
}

void SetConsolidatePeaks(CSettings& settings, bool on) {
    settings.varovudOvoOn = Flag(on);
}

SpectrumStyle SpectrumStyleOf(const CSettings& settings) {
    return settings.fftLineOrBar == static_cast<int>(SpectrumStyle::Lines) ? SpectrumStyle::Lines
                                                                           : SpectrumStyle::Bars;
}

void SetSpectrumStyle(CSettings& settings, SpectrumStyle style) {
    settings.fftLineOrBar = static_cast<int>(style);
}

VibDisplay VibDisplayOf(const CSettings& settings) {
    return static_cast<VibDisplay>(std::clamp(settings.vibDisplayOption, static_cast<int>(VibDisplay::Trend),
                                              static_cast<int>(VibDisplay::Both)));
}

void SetVibDisplay(CSettings& settings, VibDisplay display) {
    settings.vibDisplayOption = static_cast<int>(display);
}

bool StatusValuesOn(const CSettings& settings) {
    return settings.vibStatusValuesOn == kOn;
}

void SetStatusValuesOn(CSettings& settings, bool on) {
    settings.vibStatusValuesOn = Flag(on);
}

bool BoldFontOn(const CSettings& settings) {
    return settings.boldFontOn != kOff;
}

void SetBoldFontOn(CSettings& settings, bool on) {
    settings.boldFontOn = Flag(on);
}

bool RemoteDatabaseChosen(const CSettings& settings) {
    return settings.localOrRemote == kOn;
}

void SetRemoteDatabaseChosen(CSettings& settings, bool remote) {
    settings.localOrRemote = Flag(remote);
}

bool EmailExceptionsOnUpload(const CSettings& settings) {
    return settings.emailExceptionsOnUpload != kOff;
}

void SetEmailExceptionsOnUpload(CSettings& settings, bool on) {
    settings.emailExceptionsOnUpload = Flag(on);
}

bool AutoSendExceptions(const CSettings& settings) {
    return settings.autoSendEmailExceptionsOnUpload == kOn;
}

void SetAutoSendExceptions(CSettings& settings, bool on) {
    settings.autoSendEmailExceptionsOnUpload = Flag(on);
}

SmtpSecurity SmtpSecurityOf(const CSettings& settings) {
    switch (settings.smtpSecurity) {
    case static_cast<int>(SmtpSecurity::StartTls):
        return SmtpSecurity::StartTls;
    case static_cast<int>(SmtpSecurity::Tls):
        return SmtpSecurity::Tls;
    default:
        return SmtpSecurity::None;
    }
}

void SetSmtpSecurity(CSettings& settings, SmtpSecurity security) {
    settings.smtpSecurity = static_cast<int>(security);
}

} // namespace vantor
