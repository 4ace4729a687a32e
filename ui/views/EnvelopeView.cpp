#include "ui/views/EnvelopeView.h"

#include "analysis/AxisScale.h"
#include "analysis/DisplayedSpectrum.h"
#include "analysis/ReadingEnvelope.h"
#include "analysis/ViewData.h"
#include "analysis/ViewTexts.h"
#include "app/EnvelopeCsv.h"
#include "app/ReadingFindings.h"
#include "app/ViewedReading.h"
#include "graphviews/AlarmBandMarks.h"
#include "texts/DisplayFormat.h"
#include "texts/UiText.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/FaultFamiliesLayer.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/TopPeaksDialog.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QLabel>
#include <QMenu>

#include <algorithm>

namespace vantor {

EnvelopeView::EnvelopeView(PointViewsState& state, QWidget* parent) : ReadingView(state, {}, parent) {
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("EnvelopeCaption"));
    // A narrow pane breaks the caption into lines rather than cutting it off.
    caption_->setWordWrap(true);
    AddFillingToBar(caption_);
    AddFaultFamilies();
}

QString EnvelopeView::Caption() const {
    return caption_->text();
}

void EnvelopeView::Clear() {
    ShowSpectrumView(Pane().Graph(), SpectrumViewData{}, std::nullopt, QString());
    Emptied();
    caption_->clear();
    caption_->setToolTip(QString());
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
        envelope = LoadPointReadingEnvelope(state_.app, analyzer_, *reading);
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
    const QString title = EnvelopeTitle(ReadingTitle(*reading), *shown_);
    ShowSpectrumView(Pane().Graph(), view, std::nullopt, readingTitleOnly_ ? ReadingTitle(*reading) : title,
                     SpectrumDrawingOf(state_.FftLineOrBar()));
    if (reading->point) {
        ShowAlarmBands(Pane().Graph(),
                       AlarmBandMarks(LoadPointSpectralBands(state_.app, reading->point->sItemGUID),
                                      BandSpectrum::Envelope, reading->decoded.runSpeedHz, units));
    }
    QString caption =
        UiText(text::added::EnvelopeCaption)
            .arg(TextNumber(shown_->band.lowHz, 'f', 0), TextNumber(shown_->band.highHz, 'f', 0),
                 TextNumber(shown_->overallGe, 'f', 4));
    if (shown_->highClipped) {
        caption += QStringLiteral("    ") +
                   UiText(text::added::EnvelopeHighClipped).arg(TextNumber(shown_->requested.highHz, 'f', 0));
    }
    caption_->setText(caption);
    caption_->setToolTip(QStringLiteral("%1\n%2").arg(title, caption));

    DrawnGraph drawn;
    drawn.xUnit = view.xLabel;
    const double spacing = view.x.size() > 1 ? view.x[1] - view.x[0] : 0.0;
    drawn.xDecimals = std::max({view.xAxis.decimals, StepDecimals(spacing), ExactDecimals(spacing)});
    drawn.yUnit = view.yLabel;
    drawn.yDecimals =
        std::max(view.yAxis.decimals, AmplitudeAxisDecimals(view.yAxis.maximum) + kReadoutExtraDecimals);
    const double runSpeed = reading->decoded.runSpeedHz * units.FrequencyFactor();
    drawn.cursorStart = runSpeed > 0 && runSpeed < view.xAxis.maximum
                            ? runSpeed
                            : (view.xAxis.minimum + view.xAxis.maximum) / 2;
    drawn.runSpeed = runSpeed > 0 && runSpeed < view.xAxis.maximum ? runSpeed : 0.0;
    drawn.xScale = units.FrequencyFactor();
    drawn.source = state_.readingGuid + QStringLiteral("/envelope");
    drawn.lineX = std::move(view.x);
    drawn.lineY = std::move(view.y);
    ShowFaultFamilies(reading->point ? reading->point->sItemGUID : QString(), reading->decoded.runSpeedHz);
    drawn.openXMaximum =
        EnvelopeOpeningSpan(Families()->Bearings(), reading->decoded.runSpeedHz) * units.FrequencyFactor();
    Drawn(std::move(drawn));
}

AxisRange EnvelopeView::XRange(double minimum, double maximum) const {
    return FrequencyAxisRange(minimum, maximum, state_.Units().Frequency() != FrequencyUnit::Hz);
}

void EnvelopeView::AddMenuItems(QMenu& menu) {
    const bool shown = Pane().Graph().GetSeriesCount() > 0 && shown_.has_value();
    menu.addAction(UiText(text::views::TopPeaks), this, &EnvelopeView::ShowTopPeaks)->setEnabled(shown);
    AddAxisSetupItem(menu);
}

void EnvelopeView::ShowTopPeaks() {
    const ViewedReading* reading = state_.Reading();
    if (!shown_ || !reading) {
        return;
    }
    // The envelope's lines as an acceleration spectrum: every line, gE as g, never converted.
    DisplayedSpectrum spectrum;
    spectrum.kind = MeasureKind::Acceleration;
    spectrum.lines = shown_->lines;
    spectrum.range = {0, static_cast<std::int32_t>(shown_->lines.size())};
    spectrum.lineSpacingHz = static_cast<float>(shown_->lineSpacingHz);
    spectrum.frequencyFactor = state_.Units().FrequencyFactor();
    TopPeaksDialog dialog(spectrum, state_.Units(), reading->decoded.runSpeedHz, this);
    dialog.exec();
}

bool EnvelopeView::WriteCsv(const QString& path) {
    // As the command line's `envelope --csv` writes it.
    if (!shown_) {
        return false;
    }
    return WriteFile(path, EnvelopeCsv(*shown_));
}

} // namespace vantor
