#include "ui/views/TrendView.h"

#include "analysis/AlarmStatus.h"
#include "analysis/AxisScale.h"
#include "analysis/MeasureFormat.h"
#include "analysis/TrendProjection.h"
#include "analysis/ViewData.h"
#include "analysis/ViewTexts.h"
#include "graphviews/GraphViews.h"
#include "platform/Prompter.h"
#include "ui/views/GraphPane.h"
#include "ui/views/MeasureKindBox.h"
#include "ui/views/PointViewTexts.h"
#include "ui/views/PointViewsState.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

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

TrendView::TrendView(PointViewsState& state, QWidget* parent) : QWidget(parent), state_(state) {
    kind_ = new MeasureKindBox(kAllMeasureKinds, this);
    trendLineButton_ = new QPushButton(this);
    zoomButton_ = new QPushButton(this);
    pane_ = new GraphPane(state.app.UserPrompter(), this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(kind_);
    bar->addWidget(trendLineButton_);
    bar->addWidget(zoomButton_);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(pane_, 1);
    RefreshTexts();
    connect(kind_, &MeasureKindBox::currentIndexChanged, this, &TrendView::Redraw);
    connect(trendLineButton_, &QPushButton::clicked, this, &TrendView::EditTrendLine);
    connect(zoomButton_, &QPushButton::clicked, this, &TrendView::EditZoom);
    connect(&pane_->Graph(), &CVantorGraphCtrl::PointClicked, this,
            [this](short, short, const QString& guid) {
                if (!guid.isEmpty()) {
                    emit ReadingClicked(guid);
                }
            });
    pane_->SetMenu([this](QMenu& menu) { FillMenu(menu); });
}

MeasureKind TrendView::Kind() const {
    return kind_->Kind();
}

void TrendView::SetKind(MeasureKind kind) {
    kind_->SetKind(kind);
}

void TrendView::RefreshTexts() {
    kind_->RefreshTexts(state_.app.settings);
    trendLineButton_->setText(UiText(text::views::TrendLine) + QStringLiteral("…"));
    zoomButton_->setText(UiText(text::views::ZoomDateAxis) + QStringLiteral("…"));
    Redraw();
}

void TrendView::Clear() {
    ShowTrendView(pane_->Graph(), TrendViewData{}, QString());
    pane_->Readout().clear();
}

void TrendView::Redraw() {
    Draw();
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
    ShowTrendView(pane_->Graph(), view, PointTitle(state_.app, point));
    // The read-out gives the latest reading of the quantity: its value, status and date.
    QString readout = QStringLiteral("%1 (%2)").arg(MeasureCaption(state_.app.settings, kind), view.yLabel);
    if (!state_.readings.empty()) {
        const CVibReading& latest = state_.readings.back();
        const float value = MeasureValue(latest, kind);
        const StatusCode status = ClassifyMeasure(point, latest, kind);
        readout += QStringLiteral(": %1  %2  %3")
                       .arg(IsNoValue(value) ? QString() : FormatMeasure(kind, value, state_.Format()),
                            StatusText(status), QLocale().toString(latest.ctDateTaken, QLocale::ShortFormat));
    }
    pane_->Readout().setText(readout);
    return line.targetMissed;
}

void TrendView::SetTrendLine(const TrendLineChoice& choice) {
    trendLine_ = choice;
    if (Draw()) {
        state_.app.UserPrompter().ShowMessage(UiText(text::TrendlineDoesNotCross));
    }
}

void TrendView::SetZoom(std::optional<DateZoom> zoom) {
    zoom_ = zoom;
    Draw();
}

void TrendView::FillMenu(QMenu& menu) {
    const bool shown = state_.point.has_value();
    menu.addAction(UiText(text::views::TrendLine), this, &TrendView::EditTrendLine)->setEnabled(shown);
    menu.addAction(UiText(text::views::ZoomDateAxis), this, &TrendView::EditZoom)
        ->setEnabled(shown && !state_.readings.empty());
    menu.addSeparator();
    menu.addAction(UiText(text::views::CopyToClipboard), pane_, &GraphPane::CopyToClipboard)
        ->setEnabled(shown);
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
