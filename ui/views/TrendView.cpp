#include "ui/views/TrendView.h"

#include "analysis/AlarmStatus.h"
#include "analysis/AxisScale.h"
#include "analysis/MeasureFormat.h"
#include "analysis/TrendProjection.h"
#include "analysis/ViewData.h"
#include "analysis/ViewTexts.h"
#include "graphviews/GraphViews.h"
#include "platform/Prompter.h"
#include "store/MainConnection.h"
#include "ui/common/Log.h"
#include "ui/views/GraphPane.h"
#include "ui/views/NoteMarks.h"
#include "ui/views/PointViewTexts.h"
#include "ui/views/PointViewsState.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

// A zoom shorter than this many days gets ticks at a share of its span instead of whole days.
constexpr double kWholeDayTicksFromDays = 2.0;
constexpr int kShortZoomTicks = 4;

AxisRange ZoomedAxis(const QDateTime& reference, const DateZoom& zoom) {
    const double minimum = TrendMinutes(reference, zoom.start);
    const double maximum = std::max(minimum + 1.0, TrendMinutes(reference, zoom.end));
    const double days = (maximum - minimum) / kMinutesPerDay;
    const double step = days >= kWholeDayTicksFromDays
                            ? std::max(1.0, std::ceil(AxisTickStep(0.0, days, false))) * kMinutesPerDay
                            : (maximum - minimum) / kShortZoomTicks;
    return {minimum, maximum, step, 0};
}

} // namespace

TrendView::TrendView(PointViewsState& state, QWidget* parent) : ReadingView(state, kAllMeasureKinds, parent) {
    trendLineButton_ = new QPushButton(this);
    zoomButton_ = new QPushButton(this);
    AddToBar(trendLineButton_);
    AddToBar(zoomButton_);
    notes_ = new NoteMarks(Pane().Graph());
    RefreshTexts();
    connect(trendLineButton_, &QPushButton::clicked, this, &TrendView::EditTrendLine);
    connect(zoomButton_, &QPushButton::clicked, this, &TrendView::EditZoom);
}

void TrendView::RefreshTexts() {
    trendLineButton_->setText(UiText(text::views::TrendLine) + QStringLiteral("…"));
    zoomButton_->setText(UiText(text::views::ZoomDateAxis) + QStringLiteral("…"));
    ReadingView::RefreshTexts();
}

void TrendView::Clear() {
    notes_->Clear();
    ShowTrendView(Pane().Graph(), TrendViewData{}, QString());
    Emptied();
    Pane().Readout().clear();
}

void TrendView::Redraw() {
    Draw();
}

AxisRange TrendView::XRange(double minimum, double maximum) const {
    // Minutes: whole days where the span allows, else a share of it.
    const double days = (maximum - minimum) / kMinutesPerDay;
    const double step = days >= kWholeDayTicksFromDays
                            ? std::max(1.0, std::ceil(AxisTickStep(0.0, days, false))) * kMinutesPerDay
                            : (maximum - minimum) / kShortZoomTicks;
    return {minimum, maximum, step, 0};
}

bool TrendView::Draw() {
    if (!state_.point || !state_.app.MainConnection()) {
        Clear();
        return false;
    }
    const CVib& point = *state_.point;
    const MeasureKind kind = Kind();
    const DisplayUnits units = state_.Units();
    const TrendSamples samples = MakeTrendSamples(TrendReadingsOf(state_.readings, kind),
                                                  trendLine_.on ? trendLine_.settings.from : QDateTime());
    vantor::TrendLine line;
    if (trendLine_.on && state_.readings.size() >= 2) {
        line = FitTrendLine(samples, trendLine_.settings, ProjectionTarget(trendLine_.settings, point, kind));
    }
    TrendViewData view = MakeTrendViewData(point, kind, samples, line, units);
    if (zoom_ && samples.reference.isValid()) {
        view.xAxis = ZoomedAxis(samples.reference, *zoom_);
    }
    std::vector<NoteView> notes;
    try {
        notes = ListNotes(*state_.app.MainConnection(), {point.sItemGUID, point.sParentGUID});
    } catch (const DatabaseError& error) {
        qCWarning(lcUi) << "the point's notes could not be read:" << error.what();
    }
    // A note written after the newest reading (at a repair, say) widens the date axis to its day, so
    // it shows without waiting for the next reading; a zoom keeps its dates.
    if (!zoom_ && view.reference.isValid() && !notes.empty()) {
        const double latest = TrendMinutes(view.reference, notes.back().note.written);
        if (latest > view.xAxis.maximum) {
            const double endDay = std::ceil(latest / kMinutesPerDay) + 1.0; // its flag clear of the edge
            view.xAxis = XRange(view.xAxis.minimum, endDay * kMinutesPerDay);
        }
    }
    notes_->Show(std::move(notes));
    ShowTrendView(Pane().Graph(), view, PointTitle(state_.app, point));
    // The tooltip gives a reading's value with the read-out's decimals, not the axis labels'.
    Pane().Graph().setTooltipYDecimals(MeasureDecimals(kind, state_.Format()));
    DrawnGraph drawn;
    drawn.yScale = DisplayMeasureValue(kind, 1.0, units);
    drawn.source = point.sItemGUID + QLatin1Char('/') + QString::number(static_cast<int>(kind));
    Drawn(std::move(drawn));
    ShowReadout();
    return line.targetMissed;
}

void TrendView::ShowReadout() {
    if (!state_.point) {
        Pane().Readout().clear();
        return;
    }
    const MeasureKind kind = Kind();
    const CVib& point = *state_.point;
    // The read-out gives the latest reading of the quantity (or the shown one): value, status, date.
    QString readout = QStringLiteral("%1 (%2)").arg(MeasureCaption(state_.app.settings, kind),
                                                    MeasureUnitLabel(kind, state_.Units()));
    const CVibReading* reading = state_.readings.empty() ? nullptr : &state_.readings.back();
    if (followShown_) {
        const auto shown =
            std::find_if(state_.readings.begin(), state_.readings.end(),
                         [this](const CVibReading& r) { return r.sItemGUID == state_.readingGuid; });
        if (shown != state_.readings.end()) {
            reading = &*shown;
        }
    }
    if (reading != nullptr) {
        const float value = MeasureValue(*reading, kind);
        const StatusCode status = ClassifyMeasure(point, *reading, kind);
        readout +=
            QStringLiteral(": %1  %2  %3")
                .arg(IsNoValue(value) ? QString() : FormatMeasure(kind, value, state_.Format()),
                     StatusText(status), QLocale().toString(reading->ctDateTaken, QLocale::ShortFormat));
    }
    Pane().Readout().setText(readout);
}

void TrendView::SetTrendLine(const TrendLineChoice& choice) {
    trendLine_ = choice;
    if (Draw()) {
        state_.app.UserPrompter().ShowMessage(UiText(text::TrendlineDoesNotCross));
    }
}

void TrendView::SetZoom(std::optional<DateZoom> zoom) {
    zoom_ = zoom;
    // The dates chosen replace a box zoom.
    if (Limits()) {
        ZoomFull();
    }
    Draw();
}

void TrendView::AddMenuItems(QMenu& menu) {
    const bool shown = state_.point.has_value();
    menu.addAction(UiText(text::views::TrendLine), this, &TrendView::EditTrendLine)->setEnabled(shown);
    menu.addAction(UiText(text::views::ZoomDateAxis), this, &TrendView::EditZoom)
        ->setEnabled(shown && !state_.readings.empty());
}

void TrendView::EditTrendLine() {
    if (!state_.point) {
        return;
    }
    std::vector<QDateTime> dates;
    for (const CVibReading& reading : state_.readings) {
        dates.push_back(reading.ctDateTaken);
    }
    TrendLineDialog dialog(trendLine_, dates, DisplayMeasureValue(Kind(), 1.0, state_.Units()),
                           state_.app.UserPrompter(), this);
    if (dialog.exec() == QDialog::Accepted) {
        SetTrendLine(dialog.Choice());
    }
}

void TrendView::EditZoom() {
    if (!state_.point || state_.readings.empty()) {
        return;
    }
    const DateSpan span =
        ZoomableSpan(state_.readings.front().ctDateTaken, state_.readings.back().ctDateTaken);
    ZoomDateDialog dialog(zoom_, span, state_.app.UserPrompter(), this);
    if (dialog.exec() == QDialog::Accepted) {
        SetZoom(dialog.Zoom());
    }
}

} // namespace vantor
