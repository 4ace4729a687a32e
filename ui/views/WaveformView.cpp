#include "ui/views/WaveformView.h"

#include "analysis/SignalCsv.h"
#include "analysis/ViewData.h"
#include "ui/views/CursorTools.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViewTexts.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/SignalCsvExport.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace vantor {
namespace {
constexpr int kTimeReadoutDecimals = 4;
constexpr int kGReadoutDecimals = 3;
} // namespace

WaveformView::WaveformView(PointViewsState& state, QWidget* parent) : QWidget(parent), state_(state) {
    pane_ = new GraphPane(state.app.UserPrompter(), this);
    readout_ = new CursorReadout(pane_->Graph(), pane_->Readout(), this);
    readout_->SetUnits(QStringLiteral("s"), kTimeReadoutDecimals, QStringLiteral("g"), kGReadoutDecimals);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pane_, 1);
    pane_->SetMenu([this](QMenu& menu) { FillMenu(menu); });
}

void WaveformView::Clear() {
    ShowWaveformView(pane_->Graph(), WaveformViewData{}, QString());
    readout_->Reset();
}

void WaveformView::Redraw() {
    const ViewedReading* reading = state_.Reading();
    if (!reading) {
        Clear();
        return;
    }
    WaveformViewData view = MakeWaveformViewData(reading->decoded);
    if (limits_) {
        view.xAxis = TimeAxisRange(limits_->xMinimum, limits_->xMaximum);
        view.yAxis = AmplitudeAxisRange(limits_->yMinimum, limits_->yMaximum);
    }
    ShowWaveformView(pane_->Graph(), view, ReadingTitle(*reading));
    PlaceCursor();
}

void WaveformView::SetCursor(GraphCursor cursor) {
    cursor_ = cursor;
    PlaceCursor();
}

void WaveformView::SetAxisLimits(std::optional<AxisLimits> limits) {
    limits_ = limits;
    Redraw();
}

void WaveformView::PlaceCursor() {
    readout_->Reset();
    CVantorGraphCtrl& graph = pane_->Graph();
    if (cursor_ == GraphCursor::None || graph.GetSeriesCount() == 0) {
        SetGraphCursor(graph, GraphCursor::None, 0);
        return;
    }
    pane_->LayOut();
    SetGraphCursor(graph, cursor_, (graph.GetXAxisMin() + graph.GetXAxisMax()) / 2);
    graph.ReFireCursorData();
}

void WaveformView::FillMenu(QMenu& menu) {
    AddCursorItems(menu, pane_->Graph(), cursor_, CursorOffer{false, false},
                   [this](GraphCursor type) { SetCursor(type); });
    menu.addSeparator();
    const bool shown = pane_->Graph().GetSeriesCount() > 0;
    menu.addAction(UiText(text::views::AxisSetup), this, &WaveformView::AxisSetup)->setEnabled(shown);
    menu.addAction(UiText(text::views::ExportCsv), this, &WaveformView::ExportCsv)->setEnabled(shown);
    menu.addAction(UiText(text::views::CopyToClipboard), pane_, &GraphPane::CopyToClipboard)
        ->setEnabled(shown);
}

void WaveformView::AxisSetup() {
    const CVantorGraphCtrl& graph = pane_->Graph();
    const AxisLimits current{graph.GetXAxisMin(), graph.GetXAxisMax(), graph.GetYAxisMin(),
                             graph.GetYAxisMax()};
    AxisSetupDialog dialog(AxisSetupKind::Time, current, this);
    if (dialog.exec() == QDialog::Accepted) {
        SetAxisLimits(dialog.Limits());
    }
}

void WaveformView::ExportCsv() {
    ExportShownSignalCsv(this, state_, MeasureKind::Acceleration, CsvContent::Waveform);
}

} // namespace vantor
