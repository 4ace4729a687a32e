#pragma once
// The vibration point set-up's Alarms tab: the baseline and change alarms of each measure (with the
// readings the baseline holds and its limits), the spectral alarm bands, and the point's own
// envelope band. It edits copies; the dialog checks them before the point is stored and stores them
// after it, through the same functions as the command line. A tab left untouched stores nothing.

#include "analysis/BaselineAlarms.h"
#include "analysis/ReadingSignals.h"
#include "analysis/SpectralBands.h"
#include "app/PointAlarmSetup.h"
#include "records/Records.h"

#include <QWidget>

#include <map>
#include <optional>
#include <vector>

class CVantorGraphCtrl;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace vantor {

class CatalogueEditor;
class Prompter;

class PointAlarmsTab : public QWidget {
    Q_OBJECT
public:
    // Loads the point's stored settings (a new point, empty GUID, has none). A database failure
    // shows its message and leaves the tab empty and unchanged.
    PointAlarmsTab(CatalogueEditor& editor, Prompter& prompter, const CVib& point, QWidget* parent = nullptr);

    // The edits differ from what is stored.
    bool Changed() const;
    // The refusal of an entry (not a number, settings or a band the checks refuse, a baseline with
    // too few readings), or none. `point` is the point as it will be stored (its run speed).
    std::optional<QString> Check(const CVib& point);
    // Stores what changed for the stored point, in one transaction; false after "Error saving
    // record" or a refusal's message.
    bool Store(const CVib& point);

    // The settings of each measure as edited (none: no alarm on it).
    std::optional<BaselineSettings> SettingsOf(const AlarmMeasure& measure);
    std::vector<SpectralBand> Bands() const;
    std::optional<EnvelopeBandRow> EnvelopeBand() const;

    // The preview: the latest reading's ISO spectrum (Total while the current band row watches
    // Total) with the table's bands on it; empty without a reading that decodes.
    CVantorGraphCtrl& Preview() const { return *preview_; }

    // For the dialog's owner and tests: choose the measure whose settings the fields show.
    void ChooseMeasure(const AlarmMeasure& measure);
    // Adds a band row with these values; false when the table is full.
    bool AddBand(const SpectralBand& band);

private:
    enum BaselineKind { kNoBaseline, kFirstReadings, kDateRange };
    void BuildBaselineGroup(QWidget* box);
    void BuildBandsGroup(QWidget* box);
    void BuildEnvelopeGroup(QWidget* box);
    void ShowMeasure();
    // The fields into the edited settings of the shown measure.
    void TakeFields();
    void ShowBaselineReadings();
    bool AddBandRow(const std::optional<SpectralBand>& band);
    void RemoveBand();
    void BandsEdited();
    void ShowPreview();
    std::optional<std::vector<SpectralBand>> ReadBands() const;
    const std::vector<MeasureSample>& Samples(const AlarmMeasure& measure);

    CatalogueEditor& editor_;
    Prompter& prompter_;
    CVib point_;
    bool loading_ = true;
    std::map<QString, BaselineSettings> storedSettings_;
    std::map<QString, BaselineSettings> settings_;
    std::map<QString, std::vector<MeasureSample>> samples_;
    std::vector<SpectralBand> storedBands_;
    bool bandsTouched_ = false;
    std::optional<EnvelopeBandRow> storedEnvelope_;
    QString shownMeasure_;

    QComboBox* measure_ = nullptr;
    QCheckBox* alarmOn_ = nullptr;
    QComboBox* baselineKind_ = nullptr;
    QSpinBox* baselineCount_ = nullptr;
    QDateTimeEdit* baselineFrom_ = nullptr;
    QDateTimeEdit* baselineTo_ = nullptr;
    QDoubleSpinBox* sigmaWarning_ = nullptr;
    QDoubleSpinBox* sigmaCritical_ = nullptr;
    QDoubleSpinBox* changeWarning_ = nullptr;
    QDoubleSpinBox* changeCritical_ = nullptr;
    QTableWidget* baselineReadings_ = nullptr;
    QLabel* baselineLine_ = nullptr;
    QTableWidget* bands_ = nullptr;
    QLabel* bandNotes_ = nullptr;
    CVantorGraphCtrl* preview_ = nullptr;
    std::optional<ReadingSignals> latest_;
    QCheckBox* ownEnvelope_ = nullptr;
    QLineEdit* envelopeLow_ = nullptr;
    QLineEdit* envelopeHigh_ = nullptr;
};

} // namespace vantor
