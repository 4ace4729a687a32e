#include "ui/views/EnvelopeView.h"

#include "analysis/AxisScale.h"
#include "analysis/DisplayedSpectrum.h"
#include "analysis/ReadingEnvelope.h"
#include "analysis/ViewData.h"
#include "analysis/ViewTexts.h"
#include "app/ViewedReading.h"
#include "ui/views/CursorTools.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViewTexts.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/TopPeaksDialog.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace vantor {

EnvelopeView::EnvelopeView(PointViewsState& state, QWidget* parent) : QWidget(parent), state_(state) {
    caption_ = new QLabel(this);
    pane_ = new GraphPane(state.app.UserPrompter(), this);
    readout_ = new CursorReadout(pane_->Graph(), pane_->Readout(), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(caption_);
    layout->addWidget(pane_, 1);
    pane_->SetMenu([this](QMenu& menu) { FillMenu(menu); });
}

QString EnvelopeView::Caption() const {
    return caption_->text();
}

void EnvelopeView::SetCursor(GraphCursor cursor) {
    cursor_ = cursor;
    PlaceCursor();
}

void EnvelopeView::SetAxisLimits(std::optional<AxisLimits> limits) {
    limits_ = limits;
    Redraw();
}

void EnvelopeView::Clear() {
    ShowSpectrumView(pane_->Graph(), SpectrumViewData{}, std::nullopt, QString());
    readout_->Reset();
    caption_->clear();
    shown_.reset();
}

void EnvelopeView::Redraw() {
    const ViewedReading* reading = state_.Reading();
    if (!reading) {
        Clear();
        return;
    }
    ReadingEnvelope envelope;
    if (reading->point) {
        envelope = LoadPointReadingEnvelope(state_.app, state_.processor, analyzer_, state_.readingGuid);
    } else {
        // An off-route reading belongs to no point: the default band, computed every time.
        envelope.refusal = analyzer_.Compute(
            reading->decoded.total, DefaultEnvelopeBand(reading->decoded.total.fmaxHz), envelope.spectrum);
        envelope.outcome = envelope.refusal == EnvelopeRefusal::None ? ReadingEnvelopeOutcome::Ready
                                                                     : ReadingEnvelopeOutcome::Refused;
    }
    if (envelope.outcome != ReadingEnvelopeOutcome::Ready) {
        Clear();
        caption_->setText(envelope.outcome == ReadingEnvelopeOutcome::Refused
                              ? EnvelopeRefusalText(envelope.refusal)
                              : UiText(text::ErrorLoadingRecord));
        return;
    }
    shown_ = std::move(envelope.spectrum);
    const DisplayUnits units = state_.Units();
    SpectrumViewData view = MakeEnvelopeViewData(*shown_, units);
    if (limits_) {
        view.xAxis =
            FrequencyAxisRange(limits_->xMinimum, limits_->xMaximum, units.Frequency() != FrequencyUnit::Hz);
        view.yAxis = AmplitudeAxisRange(limits_->yMinimum, limits_->yMaximum);
    }
    ShowSpectrumView(pane_->Graph(), view, std::nullopt, EnvelopeTitle(ReadingTitle(*reading), *shown_),
                     SpectrumDrawingOf(state_.FftLineOrBar()));
    readout_->SetUnits(view.xLabel, view.xAxis.decimals, view.yLabel,
                       std::max(view.yAxis.decimals, AmplitudeAxisDecimals(view.yAxis.maximum) + 1));
    QString caption = QStringLiteral("Envelope band %1-%2 Hz    gE overall %3")
                          .arg(shown_->band.lowHz, 0, 'f', 0)
                          .arg(shown_->band.highHz, 0, 'f', 0)
                          .arg(shown_->overallGe, 0, 'f', 4);
    if (shown_->highClipped) {
        caption +=
            QStringLiteral("    (high edge %1 Hz clipped to Fmax)").arg(shown_->requested.highHz, 0, 'f', 0);
    }
    caption_->setText(caption);
    PlaceCursor();
}

void EnvelopeView::PlaceCursor() {
    readout_->Reset();
    CVantorGraphCtrl& graph = pane_->Graph();
    if (cursor_ == GraphCursor::None || graph.GetSeriesCount() == 0) {
        SetGraphCursor(graph, GraphCursor::None, 0);
        return;
    }
    pane_->LayOut();
    const double middle = (graph.GetXAxisMin() + graph.GetXAxisMax()) / 2;
    const int harmonics = HarmonicCursorCount(graph);
    SetGraphCursor(graph, cursor_, middle, harmonics > 0 ? harmonics : kStartingHarmonicCursors);
    graph.ReFireCursorData();
}

void EnvelopeView::FillMenu(QMenu& menu) {
    CVantorGraphCtrl& graph = pane_->Graph();
    AddCursorItems(menu, graph, cursor_, CursorOffer{}, [this](GraphCursor type) { SetCursor(type); });
    menu.addSeparator();
    const bool shown = graph.GetSeriesCount() > 0 && shown_.has_value();
    menu.addAction(UiText(text::views::TopPeaks), this, &EnvelopeView::ShowTopPeaks)->setEnabled(shown);
    menu.addAction(UiText(text::views::AxisSetup), this, &EnvelopeView::AxisSetup)->setEnabled(shown);
    menu.addAction(UiText(text::views::CopyToClipboard), pane_, &GraphPane::CopyToClipboard)
        ->setEnabled(shown);
}

void EnvelopeView::ShowTopPeaks() {
    if (!shown_) {
        return;
    }
    // The envelope's lines as an acceleration spectrum: every line, gE as g, never converted.
    DisplayedSpectrum spectrum;
    spectrum.kind = MeasureKind::Acceleration;
    spectrum.lines = shown_->lines;
    spectrum.range = {0, static_cast<std::int32_t>(shown_->lines.size())};
    spectrum.lineSpacingHz = static_cast<float>(shown_->lineSpacingHz);
    spectrum.frequencyFactor = state_.Units().FrequencyFactor();
    TopPeaksDialog dialog(spectrum, state_.Units(), this);
    dialog.exec();
}

void EnvelopeView::AxisSetup() {
    const CVantorGraphCtrl& graph = pane_->Graph();
    const AxisLimits current{graph.GetXAxisMin(), graph.GetXAxisMax(), graph.GetYAxisMin(),
                             graph.GetYAxisMax()};
    AxisSetupDialog dialog(AxisSetupKind::Frequency, current, this);
    if (dialog.exec() == QDialog::Accepted) {
        SetAxisLimits(dialog.Limits());
    }
}

} // namespace vantor
