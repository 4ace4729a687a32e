#include "ui/views/WaterfallView.h"

#include "analysis/SignalCache.h"
#include "analysis/ViewData.h"
#include "ui/views/CursorTools.h"
#include "ui/views/GraphPane.h"
#include "ui/views/MeasureKindBox.h"
#include "ui/views/PointViewTexts.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/SpectrumView.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantor {

WaterfallView::WaterfallView(PointViewsState& state, QWidget* parent) : QWidget(parent), state_(state) {
    kind_ = new MeasureKindBox(kSpectrumKinds, this);
    countLabel_ = new QLabel(this);
    count_ = new QSpinBox(this);
    count_->setRange(1, kWaterfallMostSpectra);
    count_->setValue(kWaterfallMostSpectra);
    countLabel_->setBuddy(count_);
    pane_ = new GraphPane(state.app.UserPrompter(), this);
    readout_ = new CursorReadout(pane_->Graph(), pane_->Readout(), this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(kind_);
    bar->addSpacing(12);
    bar->addWidget(countLabel_);
    bar->addWidget(count_);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(pane_, 1);
    RefreshTexts();
    connect(kind_, &MeasureKindBox::currentIndexChanged, this, &WaterfallView::Redraw);
    connect(count_, &QSpinBox::valueChanged, this, &WaterfallView::Redraw);
    connect(&pane_->Graph(), &CVantorGraphCtrl::PointClicked, this,
            [this](short, short, const QString& guid) {
                if (!guid.isEmpty()) {
                    emit ReadingClicked(guid);
                }
            });
    pane_->SetMenu([this](QMenu& menu) { FillMenu(menu); });
}

MeasureKind WaterfallView::Kind() const {
    return kind_->Kind();
}

void WaterfallView::SetKind(MeasureKind kind) {
    kind_->SetKind(kind);
}

int WaterfallView::Count() const {
    return count_->value();
}

void WaterfallView::SetCount(int count) {
    count_->setValue(count);
}

void WaterfallView::RefreshTexts() {
    kind_->RefreshTexts(state_.app.settings);
    countLabel_->setText(UiText(text::views::MaxWaterfallGraphs));
}

void WaterfallView::Clear() {
    ShowWaterfallView(pane_->Graph(), {}, state_.Units(), QString());
    readout_->Reset();
    shown_.clear();
}

void WaterfallView::Redraw() {
    shown_.clear();
    if (!state_.point || !state_.app.MainConnection()) {
        Clear();
        return;
    }
    const DisplayUnits units = state_.Units();
    std::vector<WaterfallSpectrum> spectra;
    // The readings are held oldest first: the newest are taken from the back.
    for (auto row = state_.readings.rbegin(); row != state_.readings.rend(); ++row) {
        if (static_cast<int>(spectra.size()) >= Count()) {
            break;
        }
        ReadingSignals decoded;
        if (!LoadPointReadingSignals(state_.app, state_.processor, row->sItemGUID, decoded)) {
            continue;
        }
        std::optional<SpectrumViewData> view =
            MakeSpectrumViewData(decoded, Kind(), units, state_.Consolidate());
        if (!view) {
            break;
        }
        spectra.push_back({std::move(*view), row->ctDateTaken, row->sItemGUID});
        shown_ << row->sItemGUID;
    }
    // Always in lines: bars of every trace would fill the room between the traces behind.
    ShowWaterfallView(pane_->Graph(), spectra, units, PointTitle(state_.app, *state_.point),
                      SpectrumDrawing::Line);
    if (!spectra.empty()) {
        const SpectrumViewData& front = spectra.front().view;
        readout_->SetUnits(front.xLabel, front.xAxis.decimals + 1, front.yLabel, front.yAxis.decimals + 1);
    }
    PlaceCursor();
}

void WaterfallView::PlaceCursor() {
    readout_->Reset();
    CVantorGraphCtrl& graph = pane_->Graph();
    if (cursor_ == GraphCursor::None || graph.GetSeriesCount() == 0) {
        SetGraphCursor(graph, GraphCursor::None, 0);
        return;
    }
    pane_->LayOut();
    const int harmonics = HarmonicCursorCount(graph);
    SetGraphCursor(graph, cursor_, (graph.GetXAxisMin() + graph.GetXAxisMax()) / 2,
                   harmonics > 0 ? harmonics : kStartingHarmonicCursors);
    graph.ReFireCursorData();
}

void WaterfallView::FillMenu(QMenu& menu) {
    AddCursorItems(menu, pane_->Graph(), cursor_, CursorOffer{true, false}, [this](GraphCursor type) {
        cursor_ = type;
        PlaceCursor();
    });
    menu.addSeparator();
    menu.addAction(UiText(text::views::CopyToClipboard), pane_, &GraphPane::CopyToClipboard)
        ->setEnabled(pane_->Graph().GetSeriesCount() > 0);
}

} // namespace vantor
