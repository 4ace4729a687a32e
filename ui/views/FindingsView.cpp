#include "ui/views/FindingsView.h"

#include "analysis/EnvelopeSpectrum.h"
#include "analysis/ViewTexts.h"
#include "app/ReadingFindings.h"
#include "app/SeverityStandards.h"
#include "texts/DisplayFormat.h"
#include "ui/common/MainWindowTexts.h"
#include "ui/common/PointViewTexts.h"
#include "ui/common/StatusIcons.h"
#include "ui/views/PointViewsState.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vantor {

namespace {

enum Column { KindColumn, SeverityColumn, ConfidenceColumn, FrequencyColumn, AmplitudeColumn, TextColumn };

// Evidence items carry where their line lies and its frequency.
constexpr int kSpectrumRole = Qt::UserRole;
constexpr int kHzRole = Qt::UserRole + 1;

// By its source, a line or an overall value alike (the ISO overall, the Total indices).
QString SourceCaption(const Evidence& evidence) {
    if (evidence.source == QLatin1String("ISO")) {
        return UiText(text::views::Iso);
    }
    if (evidence.source == QLatin1String("Envelope")) {
        return UiText(text::added::Envelope);
    }
    if (evidence.source == QLatin1String("Total")) {
        return UiText(text::views::Total);
    }
    return evidence.source;
}

} // namespace

std::optional<EvidenceSpectrum> EvidenceSpectrumOf(const Evidence& evidence) {
    if (!(evidence.hz > 0)) {
        return std::nullopt;
    }
    if (evidence.source == QLatin1String("ISO")) {
        return EvidenceSpectrum::Iso;
    }
    if (evidence.source == QLatin1String("Envelope")) {
        return EvidenceSpectrum::Envelope;
    }
    if (evidence.source == QLatin1String("Total")) {
        return EvidenceSpectrum::Total;
    }
    return std::nullopt;
}

FindingsView::FindingsView(PointViewsState& state, QWidget* parent)
    : QWidget(parent), state_(state), analyzer_(std::make_unique<EnvelopeAnalyzer>()),
      caption_(new QLabel(this)), zone_(new QLabel(this)), status_(new QLabel(this)), hint_(new QLabel(this)),
      tree_(new QTreeWidget(this)), notes_(new QLabel(this)) {
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    hint_->setWordWrap(true);
    notes_->setWordWrap(true);
    status_->setObjectName(QStringLiteral("PointStatus"));
    status_->setWordWrap(true);
    status_->setVisible(false);
    tree_->setColumnCount(TextColumn + 1);
    tree_->setRootIsDecorated(true);
    tree_->setUniformRowHeights(true);
    tree_->setAlternatingRowColors(true);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(caption_);
    zone_->setObjectName(QStringLiteral("FindingsZone"));
    zone_->setWordWrap(true);
    layout->addWidget(zone_);
    layout->addWidget(status_);
    layout->addWidget(hint_);
    layout->addWidget(tree_, 1);
    layout->addWidget(notes_);
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { OnClicked(item); });
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { OnClicked(item); });
    RefreshTexts();
}

FindingsView::~FindingsView() = default;

QString FindingsView::Caption() const {
    return caption_->text();
}

QString FindingsView::ZoneText() const {
    return zone_->text();
}

void FindingsView::RefreshTexts() {
    tree_->setHeaderLabels({UiText(text::added::FindingColumn), UiText(text::added::Severity),
                            UiText(text::added::Confidence), UiText(text::FrequencyLabel),
                            UiText(text::AmplitudeLabel), UiText(text::added::Evidence)});
    hint_->setText(UiText(text::added::EvidenceClickHint));
    Fill();
}

QString FindingsView::StatusLine() const {
    return status_->isVisible() ? status_->text() : QString();
}

void FindingsView::ShowPointStatus() {
    status_->clear();
    status_->setVisible(false);
    if (!state_.point) {
        return;
    }
    // The point's status and its reasons as the tree and the status table give them.
    const std::optional<PointAlarmStatus> alarms =
        LoadPointAlarms(state_.app, state_.processor, *analyzer_, *state_.point);
    if (!alarms) {
        return;
    }
    QStringList lines{
        QStringLiteral("%1: %2").arg(UiText(text::window::Status), StatusText(alarms->combined.code))};
    lines << PointStatusReasons(alarms->reasons, std::nullopt);
    status_->setText(lines.join(QLatin1Char('\n')));
    QPalette colours = status_->palette();
    colours.setColor(QPalette::WindowText, StatusTextColour(alarms->combined.code));
    status_->setPalette(colours);
    status_->setVisible(true);
}

void FindingsView::Clear() {
    shown_.clear();
    shownNotes_.clear();
    shownZone_.reset();
    caption_->clear();
    status_->clear();
    status_->setVisible(false);
    Fill();
}

void FindingsView::Redraw() {
    shown_.clear();
    shownNotes_.clear();
    shownZone_.reset();
    const ViewedReading* reading = state_.Reading();
    if (!reading || !reading->point) {
        // No reading, or an off-route one: no point's bearings to weigh.
        caption_->setText(reading ? ReadingTitle(*reading) : QString());
        Fill();
        return;
    }
    const std::optional<ReadingDiagnosis> diagnosis = LoadReadingDiagnosis(state_.app, *analyzer_, *reading);
    caption_->setText(ReadingTitle(*reading));
    ShowPointStatus();
    if (!diagnosis) {
        shownNotes_ << UiText(text::ErrorLoadingRecord);
    } else {
        shown_ = diagnosis->findings;
        shownNotes_ = diagnosis->notes;
        shownZone_ = diagnosis->zone;
    }
    Fill();
}

void FindingsView::Fill() {
    tree_->clear();
    const DisplayUnits units = state_.Units();
    const QLocale locale = DisplayLocale();
    for (const Finding& finding : shown_) {
        auto* item = new QTreeWidgetItem(tree_);
        item->setText(KindColumn, FindingKindText(finding.kind));
        if (finding.kind != FindingKind::NoFinding) {
            item->setText(SeverityColumn, StatusText(finding.severity));
            item->setForeground(SeverityColumn, StatusTextColour(finding.severity));
            item->setText(ConfidenceColumn, ConfidenceText(finding.confidence));
        }
        QFont bold = item->font(KindColumn);
        bold.setBold(true);
        item->setFont(KindColumn, bold);
        // The summary first under the finding, across the whole width, then its evidence lines.
        auto* summary = new QTreeWidgetItem(item);
        summary->setText(KindColumn, finding.summary);
        summary->setToolTip(KindColumn, finding.summary);
        summary->setFirstColumnSpanned(true);
        QFont italic = summary->font(KindColumn);
        italic.setItalic(true);
        summary->setFont(KindColumn, italic);
        if (!finding.nextStep.isEmpty()) {
            // What to do next, under the summary across the whole width.
            auto* next = new QTreeWidgetItem(item);
            next->setText(KindColumn, finding.nextStep);
            next->setToolTip(KindColumn, finding.nextStep);
            next->setFirstColumnSpanned(true);
        }
        for (const Evidence& evidence : finding.evidence) {
            auto* line = new QTreeWidgetItem(item);
            line->setText(KindColumn, SourceCaption(evidence));
            if (evidence.hz > 0) {
                line->setText(FrequencyColumn,
                              QStringLiteral("%1 %2").arg(
                                  locale.toString(units.DisplayFrequency(evidence.hz), 'f',
                                                  units.Frequency() == FrequencyUnit::Hz ? 2 : 0),
                                  units.FrequencyLabel()));
            }
            line->setText(AmplitudeColumn, evidence.unit.isEmpty()
                                               ? locale.toString(evidence.value, 'f', 2)
                                               : QStringLiteral("%1 %2").arg(
                                                     locale.toString(evidence.value, 'f', 3), evidence.unit));
            line->setText(TextColumn, evidence.text);
            line->setToolTip(TextColumn, evidence.text);
            line->setTextAlignment(FrequencyColumn, Qt::AlignRight | Qt::AlignVCenter);
            line->setTextAlignment(AmplitudeColumn, Qt::AlignRight | Qt::AlignVCenter);
            if (const std::optional<EvidenceSpectrum> spectrum = EvidenceSpectrumOf(evidence)) {
                line->setData(KindColumn, kSpectrumRole, static_cast<int>(*spectrum));
                line->setData(KindColumn, kHzRole, evidence.hz);
            }
        }
    }
    tree_->expandAll();
    for (int column = 0; column < TextColumn; ++column) {
        tree_->resizeColumnToContents(column);
    }
    zone_->setText(shownZone_ ? SeverityZoneLine(*shownZone_) : QString());
    if (shownZone_) {
        QPalette palette = zone_->palette();
        palette.setColor(QPalette::WindowText, StatusTextColour(ZoneStatus(shownZone_->verdict.zone)));
        zone_->setPalette(palette);
    }
    zone_->setVisible(shownZone_.has_value());
    notes_->setText(shownNotes_.join(QLatin1Char('\n')));
    notes_->setVisible(!shownNotes_.isEmpty());
    hint_->setVisible(!shown_.empty());
}

void FindingsView::OnClicked(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    const QVariant spectrum = item->data(KindColumn, kSpectrumRole);
    if (!spectrum.isValid()) {
        return;
    }
    emit EvidenceChosen(static_cast<EvidenceSpectrum>(spectrum.toInt()),
                        item->data(KindColumn, kHzRole).toDouble());
}

} // namespace vantor
