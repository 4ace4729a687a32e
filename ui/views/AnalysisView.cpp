#include "ui/views/AnalysisView.h"

#include "texts/UiText.h"
#include "ui/views/CepstrumView.h"
#include "ui/views/EnvelopeView.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/SpectrumView.h"
#include "ui/views/TrendView.h"
#include "ui/views/WaveformView.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QHBoxLayout>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vantor {
namespace {
const QString kOuterKey = QStringLiteral("Analysis/TrendAndReading");
// The rows' division into columns; keys of their own since the page became a grid, so a layout of
// an older page is not forced onto this one.
const QString kColumnsKey = QStringLiteral("Analysis/Columns");
constexpr int kEqualColumn = 1000;
// The graphs' smallest height: the lower row's tab bar (envelope, cepstrum) must still let the page
// fit the main window at 1000 × 600.
constexpr int kSmallestGraphHeight = 80;
} // namespace

AnalysisView::AnalysisView(PointViewsState& state, QString layoutFile, QWidget* parent)
    : QWidget(parent), state_(state), layoutFile_(std::move(layoutFile)) {
    trend_ = new TrendView(state, this);
    spectrum_ = new SpectrumView(state, this);
    waveform_ = new WaveformView(state, this);
    envelope_ = new EnvelopeView(state, this);
    envelope_->SetReadingTitleOnly(true);
    cepstrum_ = new CepstrumView(state, this);
    trend_->SetReadoutFollowsShownReading(true);
    // Four graphs share the page: each may be smaller than a graph of its own, so the page fits
    // the main window at 1000 × 600.
    for (ReadingView* view : {static_cast<ReadingView*>(trend_), static_cast<ReadingView*>(spectrum_),
                              static_cast<ReadingView*>(waveform_), static_cast<ReadingView*>(envelope_),
                              static_cast<ReadingView*>(cepstrum_)}) {
        view->Pane().Graph().setMinimumSize(200, kSmallestGraphHeight);
    }
    previous_ = new QPushButton(UiText(text::added::PreviousReading), this);
    next_ = new QPushButton(UiText(text::added::NextReading), this);
    // Two rows of two: time (trend, waveform) above frequency (spectrum, envelope spectrum), so the
    // spectrum and the envelope spectrum with their fault families stand side by side, and every
    // graph keeps half the page's width for its title and read-outs.
    upper_ = new QSplitter(Qt::Horizontal, this);
    upper_->addWidget(trend_);
    upper_->addWidget(waveform_);
    lower_ = new QSplitter(Qt::Horizontal, this);
    lower_->addWidget(spectrum_);
    familyTabs_ = new QTabWidget(this);
    familyTabs_->setObjectName(QStringLiteral("FamilyTabs"));
    familyTabs_->setDocumentMode(true);
    familyTabs_->addTab(envelope_, UiText(text::added::Envelope));
    familyTabs_->addTab(cepstrum_, UiText(text::added::CepstrumTab));
    // The cepstrum is computed when its tab is shown, not for every reading stepped through.
    connect(familyTabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1) {
            cepstrum_->Redraw();
        }
    });
    lower_->addWidget(familyTabs_);
    outer_ = new QSplitter(Qt::Vertical, this);
    outer_->addWidget(upper_);
    outer_->addWidget(lower_);
    auto* steps = new QHBoxLayout;
    steps->addWidget(previous_);
    steps->addWidget(next_);
    steps->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(outer_, 1);
    layout->addLayout(steps);
    RestoreLayout();

    connect(trend_, &ReadingView::ReadingClicked, this, &AnalysisView::ReadingChosen);
    connect(previous_, &QPushButton::clicked, this, [this] {
        if (const QString guid = NeighbourReading(-1); !guid.isEmpty()) {
            emit ReadingChosen(guid);
        }
    });
    connect(next_, &QPushButton::clicked, this, [this] {
        if (const QString guid = NeighbourReading(1); !guid.isEmpty()) {
            emit ReadingChosen(guid);
        }
    });
    connect(outer_, &QSplitter::splitterMoved, this, &AnalysisView::SaveLayout);
    // The two rows keep one column boundary: moving either moves both, as far as the graphs of
    // both rows allow (the other row's narrowest widths hold the moved one back too).
    for (auto [moved, other] : {std::pair{upper_, lower_}, std::pair{lower_, upper_}}) {
        connect(moved, &QSplitter::splitterMoved, this, [this, moved, other] {
            other->setSizes(moved->sizes());
            moved->setSizes(other->sizes());
            SaveLayout();
        });
    }
}

AnalysisView::~AnalysisView() = default;

void AnalysisView::RedrawAll() {
    trend_->Redraw();
    RedrawReading();
}

void AnalysisView::RedrawReading() {
    spectrum_->Redraw();
    waveform_->Redraw();
    envelope_->Redraw();
    if (familyTabs_->currentIndex() == 1) {
        cepstrum_->Redraw();
    }
    // The trend stays drawn; its read-out follows the chosen reading.
    trend_->ShowReadout();
    UpdateButtons();
}

void AnalysisView::RefreshTexts() {
    previous_->setText(UiText(text::added::PreviousReading));
    next_->setText(UiText(text::added::NextReading));
    trend_->RefreshTexts();
    spectrum_->RefreshTexts();
    waveform_->RefreshTexts();
    envelope_->RefreshTexts();
    cepstrum_->RefreshTexts();
    familyTabs_->setTabText(0, UiText(text::added::Envelope));
    familyTabs_->setTabText(1, UiText(text::added::CepstrumTab));
}

QString AnalysisView::NeighbourReading(int steps) const {
    const auto& rows = state_.readings;
    const auto shown = std::find_if(rows.begin(), rows.end(), [this](const CVibReading& row) {
        return row.sItemGUID == state_.readingGuid;
    });
    if (shown == rows.end()) {
        return {};
    }
    const auto index = static_cast<long long>(shown - rows.begin()) + steps;
    if (index < 0 || index >= static_cast<long long>(rows.size())) {
        return {};
    }
    return rows[static_cast<std::size_t>(index)].sItemGUID;
}

void AnalysisView::UpdateButtons() {
    previous_->setEnabled(!NeighbourReading(-1).isEmpty());
    next_->setEnabled(!NeighbourReading(1).isEmpty());
}

void AnalysisView::SaveLayout() const {
    if (layoutFile_.isEmpty()) {
        return;
    }
    QSettings file(layoutFile_, QSettings::IniFormat);
    file.setValue(kOuterKey, outer_->saveState());
    file.setValue(kColumnsKey, lower_->saveState());
}

void AnalysisView::RestoreLayout() {
    // Two equal columns until the user moves their boundary; the splitters scale these to their width.
    for (QSplitter* row : {upper_, lower_}) {
        row->setSizes({kEqualColumn, kEqualColumn});
    }
    if (layoutFile_.isEmpty()) {
        return;
    }
    const QSettings file(layoutFile_, QSettings::IniFormat);
    outer_->restoreState(file.value(kOuterKey).toByteArray());
    // Both rows take the one division kept (sizes are not laid out before the page is shown).
    const QByteArray columns = file.value(kColumnsKey).toByteArray();
    if (lower_->restoreState(columns)) {
        upper_->restoreState(columns);
    }
}

} // namespace vantor
