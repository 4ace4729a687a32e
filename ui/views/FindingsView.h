#pragma once
// "Findings": what the automatic diagnosis finds in the shown reading. One row per finding (its
// kind, severity word and confidence) with its summary, under the point's status and its reasons as
// the tree and the status table give them, and then its evidence lines under it (where
// the line is, its frequency and amplitude). Clicking an evidence line that is a spectrum line asks for the
// spectrum it lies on with the cursor on it.

#include "analysis/Diagnosis.h"
#include "analysis/PointSeverity.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantor {

class EnvelopeAnalyzer;
struct PointViewsState;

// Where an evidence line lies: the ISO velocity spectrum, the Total spectrum or the envelope
// spectrum; none for an index of the waveform (crest factor, kurtosis).
enum class EvidenceSpectrum { Iso, Total, Envelope };
std::optional<EvidenceSpectrum> EvidenceSpectrumOf(const Evidence& evidence);

class FindingsView : public QWidget {
    Q_OBJECT
public:
    explicit FindingsView(PointViewsState& state, QWidget* parent = nullptr);
    ~FindingsView() override;

    // Diagnoses the shown reading (a route reading; an off-route one belongs to no point).
    void Redraw();
    void Clear();
    void RefreshTexts();

    QTreeWidget& Tree() const { return *tree_; }
    QString Caption() const;
    // The line naming the shown reading's zone; empty when its point is on the documented alarm.
    QString ZoneText() const;
    // The point's combined status and its reasons as the line above the findings shows them (empty
    // while none is shown).
    QString StatusLine() const;
    // The shown findings (empty before a diagnosis).
    const std::vector<Finding>& Shown() const { return shown_; }

signals:
    // An evidence line on a spectrum was clicked: show that spectrum with the cursor at hz.
    void EvidenceChosen(vantor::EvidenceSpectrum spectrum, double hz);

private:
    void Fill();
    void ShowPointStatus();
    void OnClicked(QTreeWidgetItem* item);

    PointViewsState& state_;
    std::unique_ptr<EnvelopeAnalyzer> analyzer_; // the view's own work buffers
    QLabel* caption_ = nullptr;
    QLabel* zone_ = nullptr; // the reading's zone when its point is judged by ISO 20816-3
    QLabel* status_ = nullptr;
    QLabel* hint_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QLabel* notes_ = nullptr;
    std::vector<Finding> shown_;
    QStringList shownNotes_;
    std::optional<PointZone> shownZone_;
};

} // namespace vantor
