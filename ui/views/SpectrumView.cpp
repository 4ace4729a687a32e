#include "ui/views/SpectrumView.h"

#include "analysis/AxisScale.h"
#include "analysis/CaptureNotice.h"
#include "analysis/DisplayedSpectrum.h"
#include "analysis/SignalCsv.h"
#include "analysis/ViewData.h"
#include "analysis/ViewTexts.h"
#include "app/ReadingFindings.h"
#include "graphviews/AlarmBandMarks.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/SignalCsvExport.h"
#include "ui/views/SignalFileExport.h"
#include "ui/views/TopPeaksDialog.h"
#include "ui/views/UpdateRunSpeedDialog.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QMenu>

#include <algorithm>

namespace vantor {

SpectrumView::SpectrumView(PointViewsState& state, QWidget* parent)
    : ReadingView(state, kSpectrumKinds, parent) {
    AddFaultFamilies();
}

void SpectrumView::Clear() {
    ShowSpectrumView(Pane().Graph(), SpectrumViewData{}, std::nullopt, QString());
    Emptied();
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
    if (state_.scaleLock && lockedY_) {
        view->yAxis = *lockedY_;
    }
    lockedY_ = view->yAxis;
    // A reading imported with one channel has no spectrum on the other: the title says so.
    const auto note = MissingSpectrumNote(reading->decoded, Kind());
    ShowSpectrumView(Pane().Graph(), *view, BandAlarmLevel(*reading, units),
                     note ? QStringLiteral("%1  %2").arg(ReadingTitle(*reading), *note)
                          : ReadingTitle(*reading),
                     SpectrumDrawingOf(state_.FftLineOrBar()));
    if (reading->point) {
        // The point's spectral alarm bands on this spectrum, in place of the VA bands where it has any.
        ShowAlarmBands(
            Pane().Graph(),
            AlarmBandMarks(LoadPointSpectralBands(state_.app, reading->point->sItemGUID),
                           Kind() == MeasureKind::IsoVelocity ? BandSpectrum::Iso : BandSpectrum::Total,
                           reading->decoded.runSpeedHz, units));
    }
    DrawnGraph drawn;
    drawn.xUnit = view->xLabel;
    // Enough decimals to tell neighbouring lines apart (24.6 Hz, not 25).
    const double spacing = view->x.size() > 1 ? view->x[1] - view->x[0] : 0.0;
    drawn.xDecimals = std::max({view->xAxis.decimals, StepDecimals(spacing), ExactDecimals(spacing)});
    drawn.yUnit = view->yLabel;
    drawn.yDecimals =
        std::max(view->yAxis.decimals, AmplitudeAxisDecimals(view->yAxis.maximum) + kReadoutExtraDecimals);
    drawn.cursorStart = view->runSpeed > 0 ? view->runSpeed : (view->xAxis.minimum + view->xAxis.maximum) / 2;
    drawn.runSpeed = std::max(view->runSpeed, 0.0);
    drawn.xScale = units.FrequencyFactor();
    drawn.yScale = DisplayMeasureValue(Kind(), 1.0, units);
    drawn.source = state_.readingGuid + QLatin1Char('/') + QString::number(static_cast<int>(Kind()));
    drawn.lineX = std::move(view->x);
    drawn.lineY = std::move(view->y);
    ShowFaultFamilies(reading->point ? reading->point->sItemGUID : QString(), reading->decoded.runSpeedHz);
    Drawn(std::move(drawn));
}

AxisRange SpectrumView::XRange(double minimum, double maximum) const {
    return FrequencyAxisRange(minimum, maximum, state_.Units().Frequency() != FrequencyUnit::Hz);
}

void SpectrumView::AddMenuItems(QMenu& menu) {
    const bool shown = Pane().Graph().GetSeriesCount() > 0;
    const bool routeReading = shown && state_.loaded && state_.loaded->point.has_value();
    menu.addAction(UiText(text::views::TopPeaks), this, &SpectrumView::ShowTopPeaks)->setEnabled(shown);
    if (Kind() == MeasureKind::IsoVelocity) {
        menu.addAction(UiText(text::UpdateRunSpeedTitle), this, &SpectrumView::UpdateRunSpeed)
            ->setEnabled(routeReading);
    }
    AddAxisSetupItem(menu);
    if (Kind() == MeasureKind::Acceleration) {
        menu.addAction(UiText(text::views::ExportCsv), this, &SpectrumView::ExportCsv)->setEnabled(shown);
    }
    AddSignalExportMenu(menu, this, state_,
                        Kind() == MeasureKind::Acceleration ? Channel::Total : Channel::Iso, shown);
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
    TopPeaksDialog dialog(*spectrum, state_.Units(), reading->decoded.runSpeedHz, this);
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

void SpectrumView::ExportCsv() {
    if (Kind() != MeasureKind::Acceleration) {
        return;
    }
    ExportShownSignalCsv(this, state_, Kind(), CsvContent::Spectrum);
}

bool SpectrumView::WriteCsv(const QString& path) {
    // The Total spectrum as the command line's `csv` writes it; the ISO spectrum as the shown series.
    if (Kind() == MeasureKind::Acceleration) {
        return WriteShownSignalCsv(state_, Kind(), CsvContent::Spectrum, path);
    }
    return ReadingView::WriteCsv(path);
}

} // namespace vantor
