#pragma once
// A point's alarms beside the documented levels, as the command line and the point set-up's Alarms
// tab read and store them: the baseline and change settings of each measure (a baseline is stored
// only when it has enough usable readings now), the spectral bands (each checked against the top of
// its spectrum on the point's latest reading) and the point's own envelope band. Both front ends call
// these functions, so both store the same rows. They throw DatabaseError; the callers turn it into
// their message.

#include "analysis/BaselineAlarms.h"
#include "analysis/ReadingSignals.h"
#include "analysis/SpectralBands.h"
#include "store/AlarmRecords.h"
#include "store/DerivedRecords.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace vantor {

class CMainConnection;

// The point's samples of a measure over all its readings, oldest first (waveform indices computed
// where they are missing).
std::vector<MeasureSample> PointMeasureSamples(CMainConnection& db, const CVib& point,
                                               const AlarmMeasure& measure);

// Why the settings cannot be stored for the point: the checks of the settings and, with a
// baseline, "The baseline has N usable readings ..." when fewer than three readings of the measure
// fall in it. `samples` are the point's samples of the measure (PointMeasureSamples).
std::optional<QString> BaselineSettingsRefusal(const BaselineSettings& settings,
                                               const std::vector<MeasureSample>& samples);
// Stores the settings as the point's row of their measure after that check. Gives the refusal
// (nothing stored) or none.
std::optional<QString> StoreBaselineSettings(CMainConnection& db, const CVib& point,
                                             const BaselineSettings& settings);
// Removes the point's row of the measure; false when it had none.
bool RemoveBaselineSettings(CMainConnection& db, const QString& pointGuid, const AlarmMeasure& measure);

// A band checked against the top of its spectrum on the point's latest reading (orders reckoned at
// that reading's run speed, else the point's). `withoutReading` when no reading decodes: the band
// is then checked against no top and judged once readings come.
struct PointBandCheck {
    std::optional<QString> refusal;
    bool withoutReading = false;
};
PointBandCheck CheckPointBand(CMainConnection& db, const CVib& point, const SpectralBand& band);
// "A point has at most 8 bands" when the list is longer; else the first band's refusal, or none. The
// refusal of band N starts "Band N: ".
std::optional<QString> CheckPointBands(CMainConnection& db, const CVib& point,
                                       const std::vector<SpectralBand>& bands);
// Replaces the point's bands by these, numbered 1.. in order.
void StorePointBands(CMainConnection& db, const QString& pointGuid, const std::vector<SpectralBand>& bands);

// The point's latest reading decoded (its spectra and run speed), for the set-up's preview of the
// bands; none without a reading that decodes.
std::optional<ReadingSignals> LatestReadingSignals(CMainConnection& db, const QString& pointGuid);

// Why an envelope band cannot be the point's own (not finite, low not above 0 Hz, high not above
// low), or none.
std::optional<QString> EnvelopeBandRefusal(double lowHz, double highHz);
// Sets the point's own envelope band after that check (none returns the point to the default);
// gives the refusal or none.
std::optional<QString> StorePointEnvelopeBand(CMainConnection& db, const QString& pointGuid,
                                              const std::optional<EnvelopeBandRow>& band);

// What the point set-up's Alarms tab starts from: the stored settings by measure name, the stored
// band rows (a row the analysis cannot use is kept, so the tab can say why it left it out), the
// point's own envelope band and its latest reading decoded.
struct PointAlarmSetupRows {
    std::map<QString, BaselineSettings> settings;
    std::vector<SpectralBandRow> bands;
    std::optional<EnvelopeBandRow> envelope;
    std::optional<ReadingSignals> latest;
};
PointAlarmSetupRows LoadPointAlarmSetup(CMainConnection& db, const QString& pointGuid);

// What the tab changed: the measures whose settings go, the settings to store, the bands replacing
// the stored ones and the envelope band replacing the stored one (each only when given).
struct PointAlarmChanges {
    std::vector<AlarmMeasure> removed;
    std::vector<BaselineSettings> stored;
    std::optional<std::vector<SpectralBand>> bands;
    std::optional<std::optional<EnvelopeBandRow>> envelope;
};
// Stores the changes in one transaction: all of them, or none with the refusal (or the message that
// the record could not be saved when the transaction could not commit).
std::optional<QString> StorePointAlarmChanges(CMainConnection& db, const CVib& point,
                                              const PointAlarmChanges& changes);

} // namespace vantor
