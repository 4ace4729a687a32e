#include "ui/views/WaterfallView.h"

#include "analysis/SignalCache.h"
#include "analysis/ViewData.h"
#include "app/Database.h"
#include "texts/DisplayFormat.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/SpectrumView.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <QToolTip>

#include <cmath>
#include <limits>

namespace vantor {
namespace {

constexpr int kDateGap = 3; // pixels between a trace's end and its date

// A transparent layer over the graph that writes each trace's date beside its right end.
class TraceDates : public QWidget {
public:
    TraceDates(const WaterfallView& view, QWidget* graph) : QWidget(graph), view_(view) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        graph->installEventFilter(this);
        setGeometry(graph->rect());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parentWidget() && event->type() == QEvent::Resize) {
            setGeometry(parentWidget()->rect());
        }
        return QWidget::eventFilter(watched, event);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(Qt::black);
        for (const auto& [box, text] : view_.TraceLabels()) {
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
        }
    }

private:
    const WaterfallView& view_;
};

} // namespace

WaterfallView::WaterfallView(PointViewsState& state, QWidget* parent)
    : ReadingView(state, kSpectrumKinds, parent) {
    countLabel_ = new QLabel(this);
    count_ = new QSpinBox(this);
    count_->setRange(1, kWaterfallMostSpectra);
    count_->setValue(kWaterfallMostSpectra);
    countLabel_->setBuddy(count_);
    AddToBar(countLabel_, 12);
    AddToBar(count_);
    dates_ = new TraceDates(*this, &Pane().Graph());
    AddFaultFamilies();
    RefreshTexts();
    connect(count_, &QSpinBox::valueChanged, this, &WaterfallView::Redraw);
}

int WaterfallView::Count() const {
    return count_->value();
}

void WaterfallView::SetCount(int count) {
    count_->setValue(count);
}

void WaterfallView::RefreshTexts() {
    countLabel_->setText(UiText(text::views::MaxWaterfallGraphs));
    ReadingView::RefreshTexts();
}

void WaterfallView::Clear() {
    ShowWaterfallView(Pane().Graph(), {}, state_.Units(), QString());
    shown_.clear();
    traces_.clear();
    Emptied();
    dates_->update();
}

void WaterfallView::Redraw() {
    shown_.clear();
    traces_.clear();
    if (!state_.point || !DatabaseOpen(state_.app)) {
        Clear();
        return;
    }
    const DisplayUnits units = state_.Units();
    std::vector<WaterfallSpectrum> spectra;
    double frontRunSpeedHz = 0; // the families follow the front (newest) trace
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
        if (spectra.empty()) {
            frontRunSpeedHz = decoded.runSpeedHz;
        }
        traces_.push_back({view->x, view->y, row->ctDateTaken});
        spectra.push_back({std::move(*view), row->ctDateTaken, row->sItemGUID});
        shown_ << row->sItemGUID;
    }
    // Always in lines: bars of every trace would fill the room between the traces behind.
    ShowWaterfallView(Pane().Graph(), spectra, units, PointTitle(state_.app, *state_.point),
                      SpectrumDrawing::Line);
    if (spectra.empty()) {
        Emptied();
        dates_->update();
        return;
    }
    const SpectrumViewData& front = spectra.front().view;
    xUnit_ = front.xLabel;
    yUnit_ = front.yLabel;
    xDecimals_ = front.xAxis.decimals + 1;
    yDecimals_ = front.yAxis.decimals + 1;
    DrawnGraph drawn;
    drawn.xUnit = xUnit_;
    drawn.xDecimals = xDecimals_;
    drawn.yUnit = yUnit_;
    drawn.yDecimals = yDecimals_;
    drawn.cursorStart = (front.xAxis.minimum + front.xAxis.maximum) / 2;
    drawn.xScale = units.FrequencyFactor();
    drawn.yScale = DisplayMeasureValue(Kind(), 1.0, units);
    drawn.source = state_.point->sItemGUID + QLatin1Char('/') + QString::number(static_cast<int>(Kind()));
    drawn.lineX = front.x;
    drawn.lineY = front.y;
    ShowFaultFamilies(state_.point->sItemGUID, frontRunSpeedHz);
    Drawn(std::move(drawn));
    dates_->update();
}

AxisRange WaterfallView::XRange(double minimum, double maximum) const {
    return FrequencyAxisRange(minimum, maximum, state_.Units().Frequency() != FrequencyUnit::Hz);
}

std::optional<QPoint> WaterfallView::TracePoint(int trace, double x, double y) const {
    const CVantorGraphCtrl& graph = Pane().Graph();
    const QRect plot = graph.plotRect();
    const int behind = static_cast<int>(traces_.size()) - 1;
    const int dx = graph.GetXAxisOffset();
    const int dy = graph.GetYAxisOffset();
    const double width = plot.width() - behind * dx;
    const double height = plot.height() - behind * dy;
    const double xMin = graph.GetXAxisMin();
    const double xMax = graph.GetXAxisMax();
    const double yMin = graph.GetYAxisMin();
    const double yMax = graph.GetYAxisMax();
    if (width <= 0 || height <= 0 || !(xMax > xMin) || !(yMax > yMin) || x < xMin || x > xMax) {
        return std::nullopt;
    }
    // The control's value-to-pixel mapping, with the trace shifted back by its offsets.
    const int px = plot.left() + trace * dx + static_cast<int>((x - xMin) / (xMax - xMin) * width);
    const int bottom = plot.top() + plot.height() - trace * dy;
    const int py = bottom - static_cast<int>((std::clamp(y, yMin, yMax) - yMin) / (yMax - yMin) * height);
    return QPoint(px, py);
}

std::vector<std::pair<QRect, QString>> WaterfallView::TraceLabels() const {
    std::vector<std::pair<QRect, QString>> labels;
    const CVantorGraphCtrl& graph = Pane().Graph();
    const QFontMetrics metrics(dates_->font());
    for (int i = 0; i < static_cast<int>(traces_.size()); ++i) {
        const std::optional<QPoint> end = TracePoint(i, graph.GetXAxisMax(), graph.GetYAxisMin());
        if (!end) {
            continue;
        }
        const QString text = DisplayDate(traces_[static_cast<std::size_t>(i)].taken.date());
        const QSize size(metrics.horizontalAdvance(text) + 2, metrics.height());
        labels.emplace_back(QRect(QPoint(end->x() + kDateGap, end->y() - size.height()), size), text);
    }
    return labels;
}

QString WaterfallView::TraceReadout(QPoint at) const {
    const CVantorGraphCtrl& graph = Pane().Graph();
    const int dx = graph.GetXAxisOffset();
    const QRect plot = graph.plotRect();
    const int behind = static_cast<int>(traces_.size()) - 1;
    const double width = plot.width() - behind * dx;
    int best = -1;
    int bestDistance = std::numeric_limits<int>::max();
    std::size_t bestLine = 0;
    for (int i = 0; i < static_cast<int>(traces_.size()) && width > 0; ++i) {
        const Trace& trace = traces_[static_cast<std::size_t>(i)];
        const double x = graph.GetXAxisMin() + (at.x() - plot.left() - i * dx) / width *
                                                   (graph.GetXAxisMax() - graph.GetXAxisMin());
        const std::optional<std::size_t> line = NearestLine(trace.x, x);
        if (!line || x < graph.GetXAxisMin() || x > graph.GetXAxisMax()) {
            continue;
        }
        const std::optional<QPoint> drawn = TracePoint(i, trace.x[*line], trace.y[*line]);
        if (drawn && std::abs(drawn->y() - at.y()) < bestDistance) {
            bestDistance = std::abs(drawn->y() - at.y());
            best = i;
            bestLine = *line;
        }
    }
    if (best < 0) {
        return {};
    }
    const Trace& trace = traces_[static_cast<std::size_t>(best)];
    return QStringLiteral("%1: %2 %3, %4 %5")
        .arg(DisplayDateTime(trace.taken), DisplayNumber(trace.x[bestLine], xDecimals_), xUnit_,
             DisplayNumber(trace.y[bestLine], yDecimals_), yUnit_);
}

bool WaterfallView::eventFilter(QObject* watched, QEvent* event) {
    CVantorGraphCtrl& graph = Pane().Graph();
    if (watched == &graph && event->type() == QEvent::MouseMove && !traces_.empty()) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QString text = TraceReadout(at);
        if (Cursor() == GraphCursor::None) {
            Pane().Readout().setText(text);
        }
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(graph.mapToGlobal(at), text, &graph);
        }
    }
    return ReadingView::eventFilter(watched, event);
}

} // namespace vantor
