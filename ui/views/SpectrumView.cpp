#include "ui/views/SpectrumView.h"

#include "analysis/AxisScale.h"
#include "analysis/DisplayedSpectrum.h"
#include "analysis/SignalCsv.h"
#include "analysis/ViewData.h"
#include "analysis/ViewTexts.h"
#include "ui/views/CursorTools.h"
#include "ui/views/GraphPane.h"
#include "ui/views/MeasureKindBox.h"
#include "ui/views/PointViewTexts.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/SignalCsvExport.h"
#include "ui/views/TopPeaksDialog.h"
#include "ui/views/UpdateRunSpeedDialog.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace vantor {

SpectrumView::SpectrumView(PointViewsState& state, QWidget* parent) : QWidget(parent), state_(state) {
    kind_ = new MeasureKindBox(kSpectrumKinds, this);
    pane_ = new GraphPane(state.app.UserPrompter(), this);
    readout_ = new CursorReadout(pane_->Graph(), pane_->Readout(), this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(kind_);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(pane_, 1);
    RefreshTexts();
    connect(kind_, &MeasureKindBox::currentIndexChanged, this, [this] {
        limits_.reset();
        Redraw();
    });
    pane_->SetMenu([this](QMenu& menu) { FillMenu(menu); });
}

MeasureKind SpectrumView::Kind() const {
    return kind_->Kind();
}

void SpectrumView::SetKind(MeasureKind kind) {
    kind_->SetKind(kind);
}

void SpectrumView::SetCursor(GraphCursor cursor) {
    cursor_ = cursor;
    PlaceCursor();
}

void SpectrumView::SetAxisLimits(std::optional<AxisLimits> limits) {
    limits_ = limits;
    Redraw();
}

void SpectrumView::RefreshTexts() {
    kind_->RefreshTexts(state_.app.settings);
    Redraw();
}

void SpectrumView::Clear() {
    ShowSpectrumView(pane_->Graph(), SpectrumViewData{}, std::nullopt, QString());
    readout_->Reset();
    runSpeed_ = 0;
}

void SpectrumView::Redraw() {
    const ViewedReading* reading = state_.Reading();
    if (!reading) {
        Clear();
        return;
    }
    const DisplayUnits units = state_.Units();
    std::optional<SpectrumViewData> view =
        MakeSpectrumViewData(reading->decoded, Kind(), units, state_.Consolidate());
    if (!view) {
        Clear();
        return;
    }
    if (limits_) {
        view->xAxis =
            FrequencyAxisRange(limits_->xMinimum, limits_->xMaximum, units.Frequency() != FrequencyUnit::Hz);
        view->yAxis = AmplitudeAxisRange(limits_->yMinimum, limits_->yMaximum);
    } else if (state_.scaleLock && lockedY_) {
        view->yAxis = *lockedY_;
    }
    lockedY_ = view->yAxis;
    runSpeed_ = view->runSpeed;
    ShowSpectrumView(pane_->Graph(), *view, BandAlarmLevel(*reading, units), ReadingTitle(*reading),
                     SpectrumDrawingOf(state_.FftLineOrBar()));
    readout_->SetUnits(view->xLabel, view->xAxis.decimals, view->yLabel,
                       std::max(view->yAxis.decimals, AmplitudeAxisDecimals(view->yAxis.maximum) + 1));
    PlaceCursor();
}

void SpectrumView::PlaceCursor() {
    readout_->Reset();
    CVantorGraphCtrl& graph = pane_->Graph();
    if (cursor_ == GraphCursor::None || graph.GetSeriesCount() == 0) {
        SetGraphCursor(graph, GraphCursor::None, 0);
        return;
    }
    pane_->LayOut();
    const double middle = (graph.GetXAxisMin() + graph.GetXAxisMax()) / 2;
    // Harmonic lines the user added or removed stay from one reading to the next.
    const int harmonics = HarmonicCursorCount(graph);
    SetGraphCursor(graph, cursor_, runSpeed_ > 0 ? runSpeed_ : middle,
                   harmonics > 0 ? harmonics : kStartingHarmonicCursors);
    graph.ReFireCursorData();
}

void SpectrumView::FillMenu(QMenu& menu) {
    CVantorGraphCtrl& graph = pane_->Graph();
    AddCursorItems(menu, graph, cursor_, CursorOffer{}, [this](GraphCursor type) { SetCursor(type); });
    menu.addSeparator();
    const bool shown = graph.GetSeriesCount() > 0;
    const bool routeReading = shown && state_.loaded && state_.loaded->point.has_value();
    menu.addAction(UiText(text::views::TopPeaks), this, &SpectrumView::ShowTopPeaks)->setEnabled(shown);
    if (Kind() == MeasureKind::IsoVelocity) {
        menu.addAction(UiText(text::UpdateRunSpeedTitle), this, &SpectrumView::UpdateRunSpeed)
            ->setEnabled(routeReading);
    }
    menu.addAction(UiText(text::views::AxisSetup), this, &SpectrumView::AxisSetup)->setEnabled(shown);
    if (Kind() == MeasureKind::Acceleration) {
        menu.addAction(UiText(text::views::ExportCsv), this, &SpectrumView::ExportCsv)->setEnabled(shown);
    }
    menu.addAction(UiText(text::views::CopyToClipboard), pane_, &GraphPane::CopyToClipboard)
        ->setEnabled(shown);
}

void SpectrumView::ShowTopPeaks() {
    const ViewedReading* reading = state_.Reading();
    if (!reading) {
        return;
    }
    const std::optional<DisplayedSpectrum> spectrum =
        MakeDisplayedSpectrum(reading->decoded, Kind(), state_.Units(), state_.Consolidate());
    if (!spectrum) {
        return;
    }
    TopPeaksDialog dialog(*spectrum, state_.Units(), this);
    dialog.exec();
}

void SpectrumView::UpdateRunSpeed() {
    if (Kind() != MeasureKind::IsoVelocity || !state_.Reading() || !state_.loaded->point) {
        return;
    }
    UpdateRunSpeedDialog dialog(state_, this);
    if (dialog.exec() == QDialog::Accepted && dialog.Updated()) {
        emit RunSpeedUpdated();
    }
}

void SpectrumView::AxisSetup() {
    const CVantorGraphCtrl& graph = pane_->Graph();
    const AxisLimits current{graph.GetXAxisMin(), graph.GetXAxisMax(), graph.GetYAxisMin(),
                             graph.GetYAxisMax()};
    AxisSetupDialog dialog(AxisSetupKind::Frequency, current, this);
    if (dialog.exec() == QDialog::Accepted) {
        SetAxisLimits(dialog.Limits());
    }
}

void SpectrumView::ExportCsv() {
    if (Kind() != MeasureKind::Acceleration) {
        return;
    }
    ExportShownSignalCsv(this, state_, Kind(), CsvContent::Spectrum);
}

} // namespace vantor
