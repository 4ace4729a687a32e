#include "ui/views/TrendView.h"

#include "analysis/AlarmStatus.h"
#include "analysis/AxisScale.h"
#include "analysis/MeasureFormat.h"
#include "analysis/TrendProjection.h"
#include "analysis/ViewData.h"
#include "analysis/ViewTexts.h"
#include "app/Database.h"
#include "app/MeasureTrends.h"
#include "graphviews/GraphViews.h"
#include "platform/Prompter.h"
#include "texts/DisplayFormat.h"
#include "ui/common/Log.h"
#include "ui/common/MeasureLabels.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/GraphPane.h"
#include "ui/views/MeasureKindBox.h"
#include "ui/views/NoteMarks.h"
#include "ui/views/PointViewsState.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

// A zoom shorter than this many days gets ticks at a share of its span instead of whole days.
constexpr double kWholeDayTicksFromDays = 2.0;
constexpr int kShortZoomTicks = 4;
// An index's read-out and tooltip: three decimals (a crest factor of 3.142, a gE overall of 0.125).
constexpr int kIndexDecimals = 3;
// The baseline's limits: dashed lines in the status colours of warning and critical.
const QColor kBaselineWarningColour(214, 160, 0);
const QColor kBaselineCriticalColour(200, 30, 30);

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
    // The notes and the baseline's limits share the graph's underlay, behind the readings.
    Pane().Graph().setUnderlay([view = QPointer<TrendView>(this)](QPainter& painter) {
        if (view) {
            view->PaintUnder(painter);
        }
    });
    KindChooser()->AddIndexMeasures();
    RefreshTexts();
    connect(trendLineButton_, &QPushButton::clicked, this, &TrendView::EditTrendLine);
    connect(zoomButton_, &QPushButton::clicked, this, &TrendView::EditZoom);
}

void TrendView::RefreshTexts() {
    trendLineButton_->setText(UiText(text::views::TrendLine) + QStringLiteral("…"));
    zoomButton_->setText(UiText(text::views::ZoomDateAxis) + QStringLiteral("…"));
    ReadingView::RefreshTexts();
}

std::optional<IndexMeasure> TrendView::Index() const {
    return KindChooser()->Index();
}

void TrendView::SetIndex(IndexMeasure measure) {
    KindChooser()->SetIndex(measure);
}

void TrendView::Clear() {
    notes_->Clear();
    baseline_.reset();
    indexTrend_.clear();
    online_.clear();
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
    if (!state_.point || !DatabaseOpen(state_.app)) {
        Clear();
        return false;
    }
    const CVib& point = *state_.point;
    const MeasureKind kind = Kind();
    const std::optional<IndexMeasure> index = Index();
    const DisplayUnits units = state_.Units();
    indexTrend_.clear();
    online_.clear();
    baseline_.reset();
    try {
        if (index) {
            indexTrend_ = PointIndexTrend(Database(state_.app), point, state_.readings, *index);
        } else {
            online_ = PointOnlineTrend(Database(state_.app), point, kind);
        }
        baseline_ = PointBaselineLimits(Database(state_.app), point,
                                        index ? AlarmMeasure{std::nullopt, index} : AlarmMeasure{kind, {}});
    } catch (const DatabaseError& error) {
        qCWarning(lcUi) << "the point's indices or baseline could not be read:" << error.what();
        state_.app.UserPrompter().ShowMessage(UiText(text::ErrorLoadingRecord));
    }
    baselineScale_ = index ? 1.0 : DisplayMeasureValue(kind, 1.0, units);
    const TrendSamples samples =
        MakeTrendSamples(index ? indexTrend_ : TrendReadingsOf(state_.readings, kind),
                         trendLine_.on ? trendLine_.settings.from : QDateTime());
    vantor::TrendLine line;
    if (trendLine_.on && (index ? samples.samples.size() : state_.readings.size()) >= 2) {
        // An index has no documented levels to project to: only a value of the user's.
        std::optional<double> target;
        if (!index) {
            target = ProjectionTarget(trendLine_.settings, point, kind);
        } else if (trendLine_.settings.mode == ProjectionMode::ValuePoint) {
            target = trendLine_.settings.targetValue;
        }
        line = FitTrendLine(samples, trendLine_.settings, target);
    }
    TrendViewData view = index ? MakeIndexTrendViewData(samples, line, IndexMeasureUnit(*index))
                               : MakeTrendViewData(point, kind, samples, line, units);
    if (!index) {
        AddOnlineValues(view, point, online_, units);
    }
    if (baseline_) {
        // The limits stay inside the plot.
        const double top = std::max({view.yAxis.maximum, baseline_->critical * baselineScale_});
        view.yAxis = AmplitudeAxis(view.yAxis.minimum, top);
    }
    if (zoom_ && view.reference.isValid()) {
        view.xAxis = ZoomedAxis(view.reference, *zoom_);
    }
    std::vector<NoteView> notes;
    try {
        notes = ListNotes(Database(state_.app), {point.sItemGUID, point.sParentGUID});
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
    Pane().Graph().setTooltipYDecimals(index ? kIndexDecimals : MeasureDecimals(kind, state_.Format()));
    DrawnGraph drawn;
    drawn.yScale = baselineScale_;
    drawn.yUnit = view.yLabel;
    drawn.source = point.sItemGUID + QLatin1Char('/') +
                   (index ? QStringLiteral("index%1").arg(static_cast<int>(*index))
                          : QString::number(static_cast<int>(kind)));
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
    const std::optional<IndexMeasure> index = Index();
    const CVib& point = *state_.point;
    // The read-out gives the latest reading of the quantity (or the shown one): value, status, date.
    QString readout = index ? IndexMeasureLabel(*index)
                            : QStringLiteral("%1 (%2)").arg(MeasureCaption(state_.app.settings, kind),
                                                            MeasureUnitLabel(kind, state_.Units()));
    if (index && !IndexMeasureUnit(*index).isEmpty()) {
        readout += QStringLiteral(" (%1)").arg(IndexMeasureUnit(*index));
    }
    const CVibReading* reading = state_.readings.empty() ? nullptr : &state_.readings.back();
    if (followShown_) {
        const auto shown =
            std::find_if(state_.readings.begin(), state_.readings.end(),
                         [this](const CVibReading& r) { return r.sItemGUID == state_.readingGuid; });
        if (shown != state_.readings.end()) {
            reading = &*shown;
        }
    }
    if (reading != nullptr && index) {
        const auto value =
            std::find_if(indexTrend_.begin(), indexTrend_.end(),
                         [reading](const TrendReading& r) { return r.guid == reading->sItemGUID; });
        readout +=
            QStringLiteral(": %1  %2")
                .arg(value == indexTrend_.end() ? QString() : DisplayNumber(value->value, kIndexDecimals),
                     DisplayDateTime(reading->ctDateTaken));
    } else if (reading != nullptr) {
        const float value = MeasureValue(*reading, kind);
        const StatusCode status = ClassifyMeasure(point, *reading, kind);
        readout += QStringLiteral(": %1  %2  %3")
                       .arg(IsNoValue(value) ? QString()
                                             : DisplayNumberText(FormatMeasure(kind, value, state_.Format())),
                            StatusText(status), DisplayDateTime(reading->ctDateTaken));
    }
    if (!index && !online_.empty()) {
        // The newest online value beside the reading's: the sensor may be days ahead of the route.
        const TrendReading& latest = online_.back();
        readout += QStringLiteral("   %1: %2  %3")
                       .arg(UiText(text::added::OnlineValuesLabel),
                            FormatMeasure(kind, latest.value, state_.Format()),
                            QLocale().toString(latest.taken, QLocale::ShortFormat));
    }
    Pane().Readout().setText(readout);
}

std::optional<int> TrendView::ScreenY(double displayed) const {
    const CVantorGraphCtrl& graph = Pane().Graph();
    const QRect plot = graph.plotRect();
    const double minimum = graph.GetYAxisMin();
    const double maximum = graph.GetYAxisMax();
    if (plot.height() <= 0 || !(maximum > minimum) || displayed < minimum || displayed > maximum) {
        return std::nullopt;
    }
    // The trend's Y axis is linear: YAxisMin at the plot's bottom edge, YAxisMax at its top.
    return plot.bottom() -
           static_cast<int>(std::lround((displayed - minimum) / (maximum - minimum) * plot.height()));
}

std::vector<int> TrendView::BaselineLineY() const {
    std::vector<int> lines;
    if (baseline_) {
        for (const double level : {baseline_->warning, baseline_->critical}) {
            if (const std::optional<int> y = ScreenY(level * baselineScale_)) {
                lines.push_back(*y);
            }
        }
    }
    return lines;
}

void TrendView::PaintUnder(QPainter& painter) {
    notes_->PaintUnder(painter);
    if (!baseline_) {
        return;
    }
    const QRect plot = Pane().Graph().plotRect();
    painter.save();
    const std::pair<double, QColor> lines[] = {{baseline_->warning, kBaselineWarningColour},
                                               {baseline_->critical, kBaselineCriticalColour}};
    for (const auto& [level, colour] : lines) {
        if (const std::optional<int> y = ScreenY(level * baselineScale_)) {
            painter.setPen(QPen(colour, 1.5, Qt::DashLine));
            painter.drawLine(QPointF(plot.left(), *y + 0.5), QPointF(plot.right(), *y + 0.5));
        }
    }
    painter.restore();
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
