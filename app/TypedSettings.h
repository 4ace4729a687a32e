#pragma once
// The settings record's codes as the program uses them. Each stored code is read into its type here
// and nowhere else, with the reading every part of the program already gave a code no version
// writes; each setter stores the code the program always stored. The keys and codes in the settings
// file stay as app/Settings.h reads and writes them.

#include "analysis/DisplayUnits.h"
#include "app/Settings.h"
#include "reports/mail/SmtpSettings.h"

namespace vantor {

// XAxisUnits (0 Hz, 1 RPM, 2 CPM; another code Hz) and YAxisUnits (1 inch/s; another code mm/s).
DisplayUnits DisplayUnitsOf(const CSettings& settings);
// Stores both codes and the run-time unit labels and factor that follow them.
void SetDisplayUnits(CSettings& settings, const DisplayUnits& units);
// One unit by its code (as the menus number them), the other kept.
void SetFrequencyUnitCode(CSettings& settings, int xAxisUnits);
void SetAmplitudeUnitCode(CSettings& settings, int yAxisUnits);
// The run-time unit labels and factor from the stored codes, the codes left as stored.
void RefreshUnitLabels(CSettings& settings);

// VarovudOvoOn: 1 consolidates a spectrum's peaks; another code does not.
bool ConsolidatePeaks(const CSettings& settings);
void SetConsolidatePeaks(CSettings& settings, bool on);

// FFTLineOrBar: 0 draws spectra as lines; another code as bars.
enum class SpectrumStyle : int { Lines = 0, Bars = 1 };
SpectrumStyle SpectrumStyleOf(const CSettings& settings);
void SetSpectrumStyle(CSettings& settings, SpectrumStyle style);

// VibDisplayOption: what a vibration point shows; a code below 0 means the trend, above 2 both.
enum class VibDisplay : int { Trend = 0, Spectrum = 1, Both = 2 };
VibDisplay VibDisplayOf(const CSettings& settings);
void SetVibDisplay(CSettings& settings, VibDisplay display);

// VibStatusValuesOn: 1 shows the status table's measured values; another code its status words.
bool StatusValuesOn(const CSettings& settings);
void SetStatusValuesOn(CSettings& settings, bool on);

// BoldFontOn: 0 is the regular font; another code bold.
bool BoldFontOn(const CSettings& settings);
void SetBoldFontOn(CSettings& settings, bool on);

// LocalOrRemote: 1 uses the remote database at start; another code the local one.
bool RemoteDatabaseChosen(const CSettings& settings);
void SetRemoteDatabaseChosen(CSettings& settings, bool remote);

// EmailExceptionsOnUpload: 0 sends no exception e-mail after an upload; another code does.
bool EmailExceptionsOnUpload(const CSettings& settings);
void SetEmailExceptionsOnUpload(CSettings& settings, bool on);

// AutoSendEmailExceptionsOnUpload: 1 sends the e-mails; another code opens them in the mail program.
bool AutoSendExceptions(const CSettings& settings);
void SetAutoSendExceptions(CSettings& settings, bool on);

// SmtpSecurity: 0 none, 1 STARTTLS, 2 TLS; another code none.
SmtpSecurity SmtpSecurityOf(const CSettings& settings);
void SetSmtpSecurity(CSettings& settings, SmtpSecurity security);

} // namespace vantor
