#include "ui/views/ReadingView.h"

#include "app/BearingEditor.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/FaultFamiliesLayer.h"
#include "ui/views/GraphPane.h"
#include "ui/views/MeasureKindBox.h"
#include "ui/views/PointViewsState.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

// Where the control stands a cursor that has no data point to stand on.
constexpr double kNowhere = -100.0;
// One wheel notch (120 eighths of a degree) narrows the X axis to this share, about the pointer.
constexpr double kWheelZoomPerNotch = 0.8;
constexpr double kWheelNotch = 120.0;
// A peak snap looks this many lines to either side of where the cursor was dropped.
constexpr int kPeakSnapLines = 3;
// A zoom never narrows an axis below this share of its full extent.
constexpr double kNarrowestZoom = 1e-4;
constexpr short kNumberOfTicks = 1;

// The axis as the view set it on the control.
AxisRange ShownXAxis(const CVantorGraphCtrl& graph) {
    const double minimum = graph.GetXAxisMin();
    const double maximum = graph.GetXAxisMax();
    const double spacing = graph.GetXAxisMarkerSpacing();
    const double step = graph.GetXAxisMarkerMethod() == kNumberOfTicks && spacing > 0
                            ? (maximum - minimum) / spacing
                            : spacing;
    return {minimum, maximum, step, graph.GetXAxisValuesDP()};
}

AxisRange ShownYAxis(const CVantorGraphCtrl& graph) {
    const double minimum = graph.GetYAxisMin();
    const double maximum = graph.GetYAxisMax();
    const double spacing = graph.GetYAxisMarkerSpacing();
    const double step = graph.GetYAxisMarkerMethod() == kNumberOfTicks && spacing > 0
                            ? (maximum - minimum) / spacing
                            : spacing;
    return {minimum, maximum, step, graph.GetYAxisValuesDP()};
}

AxisLimits Scaled(const AxisLimits& limits, double x, double y) {
    return {limits.xMinimum * x, limits.xMaximum * x, limits.yMinimum * y, limits.yMaximum * y};
}

bool IsPeak(const std::vector<double>& y, std::size_t i) {
    const double before = i > 0 ? y[i - 1] : 0.0;
    const double after = i + 1 < y.size() ? y[i + 1] : 0.0;
    return y[i] > before && y[i] > after;
}

} // namespace

ReadingView::ReadingView(PointViewsState& state, std::span<const MeasureKind> kinds, QWidget* parent)
    : QWidget(parent), state_(state) {
    pane_ = new GraphPane(state.app.UserPrompter(), this);
    readout_ = new CursorReadout(pane_->Graph(), pane_->Readout(), this);
    bar_ = new QHBoxLayout;
    if (!kinds.empty()) {
        kind_ = new MeasureKindBox(kinds, this);
        bar_->addWidget(kind_);
        kind_->RefreshTexts(state_.app.settings);
        connect(kind_, &MeasureKindBox::currentIndexChanged, this, [this] { Redraw(); });
    }
    bar_->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar_);
    layout->addWidget(pane_, 1);

    CVantorGraphCtrl& graph = pane_->Graph();
    graph.SetZoomAllowed(true);
    graph.setFocusPolicy(Qt::StrongFocus);
    graph.installEventFilter(this);
    connect(&graph, &CVantorGraphCtrl::ZoomFinishedUpdate, this, [this] {
        const CVantorGraphCtrl& g = pane_->Graph();
        SetAxisLimits(AxisLimits{g.GetXAxisMin(), g.GetXAxisMax(), g.GetYAxisMin(), g.GetYAxisMax()});
    });
    connect(&graph, &CVantorGraphCtrl::DblClick, this, &ReadingView::ZoomFull);
    connect(&graph, &CVantorGraphCtrl::Click, this, &ReadingView::AfterDrag);
    connect(&graph, &CVantorGraphCtrl::PointClicked, this, [this](short, short, const QString& guid) {
        if (!guid.isEmpty()) {
            emit ReadingClicked(guid);
        }
    });
    connect(&graph, &CVantorGraphCtrl::SimpleCursorInfo, this, &ReadingView::RememberCursor);
    connect(&graph, &CVantorGraphCtrl::HarmonicCursorInfo, this, &ReadingView::RememberCursor);
    connect(&graph, &CVantorGraphCtrl::BearingRSCursorInfo, this, &ReadingView::RememberCursor);
    pane_->SetMenu([this](QMenu& menu) { FillMenu(menu); });
}

ReadingView::~ReadingView() = default;

void ReadingView::AddToBar(QWidget* widget, int spacingBefore) {
    // Before the closing stretch.
    const int at = bar_->count() - 1;
    if (spacingBefore > 0) {
        bar_->insertSpacing(at, spacingBefore);
    }
    bar_->insertWidget(bar_->count() - 1, widget);
}

void ReadingView::AddFillingToBar(QWidget* widget) {
    const int closing = bar_->count() - 1;
    bar_->setStretch(closing, 0);
    bar_->insertWidget(closing, widget, 1);
}

MeasureKind ReadingView::Kind() const {
    return kind_ ? kind_->Kind() : MeasureKind::Acceleration;
}

void ReadingView::SetKind(MeasureKind kind) {
    if (kind_) {
        kind_->SetKind(kind);
    }
}

void ReadingView::RefreshTexts() {
    if (kind_) {
        kind_->RefreshTexts(state_.app.settings);
    }
}

void ReadingView::Clear() {
    Emptied();
}

void ReadingView::SetCursor(GraphCursor cursor) {
    cursor_ = cursor;
    // A harmonic or bearing cursor chosen afresh starts from the reading's run speed, never from
    // where another cursor stood.
    if (cursor == GraphCursor::Harmonic || cursor == GraphCursor::Bearing) {
        familyX_.reset();
    }
    PlaceCursor();
}

void ReadingView::PlaceCursorAt(double storedX) {
    if (!drawn_) {
        return;
    }
    if (cursor_ == GraphCursor::None) {
        cursor_ = GraphCursor::Simple;
    }
    (cursor_ == GraphCursor::Simple ? cursorX_ : familyX_) = storedX;
    const double x = storedX * drawn_->xScale;
    if (limits_ && (x < limits_->xMinimum || x > limits_->xMaximum)) {
        SetAxisLimits(std::nullopt); // stands the cursor too
        return;
    }
    PlaceCursor();
}

void ReadingView::AddFaultFamilies() {
    families_ = new FaultFamiliesLayer(pane_->Graph());
    connect(families_, &FaultFamiliesLayer::HarmonicsChosen, this, [this](int harmonics) {
        state_.faultHarmonics = harmonics;
        families_->SetHarmonics(harmonics);
        emit FaultHarmonicsChanged();
    });
}

void ReadingView::ShowFaultFamilies(const QString& point, double runSpeedHz) {
    if (families_) {
        families_->Show(BearingsAtPointShown(state_.app, point), runSpeedHz, state_.Units().FrequencyFactor(),
                        state_.faultHarmonics);
    }
}

void ReadingView::FeedBearingCursor(int bearing) {
    if (!families_ || bearing < 0 || bearing >= static_cast<int>(families_->Bearings().size())) {
        return;
    }
    // The control re-places its bearing cursor as the multipliers change: not the user's doing.
    placing_ = true;
    SetBearingCursorFrom(pane_->Graph(), families_->Bearings()[static_cast<std::size_t>(bearing)]);
    placing_ = false;
    SetCursor(GraphCursor::Bearing);
}

void ReadingView::Emptied() {
    if (families_) {
        families_->Clear();
    }
    drawn_.reset();
    readout_->Reset();
    readout_->SetLines({}, {});
}

void ReadingView::Drawn(DrawnGraph drawn) {
    CVantorGraphCtrl& graph = pane_->Graph();
    const QString point = state_.point ? state_.point->sItemGUID : QString();
    if (point != pointGuid_) {
        // A cursor the user placed on another machine means nothing here.
        pointGuid_ = point;
        cursorX_.reset();
        familyX_.reset();
    }
    const bool otherSource = !drawn_ || drawn_->source != drawn.source;
    if (otherSource) {
        // Another reading or measure: the harmonic and bearing cursors start at its run speed.
        familyX_.reset();
    }
    if (otherSource && !state_.scaleLock) {
        // Every reading opens on its full axes.
        limits_.reset();
        history_.clear();
    }
    if (limitsXScale_ != drawn.xScale || limitsYScale_ != drawn.yScale) {
        // Kept limits follow the user's units (Hz to CPM, mm/s to inch/s).
        const double x = drawn.xScale / limitsXScale_;
        const double y = drawn.yScale / limitsYScale_;
        if (limits_) {
            limits_ = Scaled(*limits_, x, y);
        }
        for (std::optional<AxisLimits>& earlier : history_) {
            if (earlier) {
                earlier = Scaled(*earlier, x, y);
            }
        }
        limitsXScale_ = drawn.xScale;
        limitsYScale_ = drawn.yScale;
    }
    fullX_ = ShownXAxis(graph);
    fullY_ = ShownYAxis(graph);
    if (otherSource && !state_.scaleLock && drawn.openXMaximum > 0 && drawn.openXMaximum > fullX_.minimum &&
        drawn.openXMaximum < fullX_.maximum) {
        limits_ = AxisLimits{fullX_.minimum, drawn.openXMaximum, fullY_.minimum, fullY_.maximum};
        limitsXScale_ = drawn.xScale;
        limitsYScale_ = drawn.yScale;
    }
    readout_->SetUnits(drawn.xUnit, drawn.xDecimals, drawn.yUnit, drawn.yDecimals);
    readout_->SetLines(drawn.lineX, drawn.lineY);
    drawn_ = std::move(drawn);
    ApplyLimits();
    PlaceCursor();
}

void ReadingView::ApplyLimits() {
    if (!drawn_) {
        return;
    }
    CVantorGraphCtrl& graph = pane_->Graph();
    if (limits_) {
        SetGraphAxes(graph, XRange(limits_->xMinimum, limits_->xMaximum),
                     YRange(limits_->yMinimum, limits_->yMaximum));
    } else {
        SetGraphAxes(graph, fullX_, fullY_);
    }
    appliedXMin_ = graph.GetXAxisMin();
    appliedXMax_ = graph.GetXAxisMax();
}

bool ReadingView::AxesApplied() const {
    const CVantorGraphCtrl& graph = pane_->Graph();
    return graph.GetXAxisMin() == appliedXMin_ && graph.GetXAxisMax() == appliedXMax_;
}

double ReadingView::FamilyStart() const {
    if (!(drawn_->runSpeed > 0)) {
        return drawn_->cursorStart;
    }
    if (!peakSnap_) {
        return drawn_->runSpeed;
    }
    const std::optional<std::size_t> line = LineFor(drawn_->lineX, drawn_->lineY, drawn_->runSpeed, true);
    return line ? drawn_->lineX[*line] : drawn_->runSpeed;
}

AxisRange ReadingView::XRange(double minimum, double maximum) const {
    return TimeAxisRange(minimum, maximum);
}

AxisRange ReadingView::YRange(double minimum, double maximum) const {
    return AmplitudeAxisRange(minimum, maximum);
}

void ReadingView::PlaceCursor() {
    readout_->Reset();
    CVantorGraphCtrl& graph = pane_->Graph();
    if (cursor_ == GraphCursor::None || !drawn_ || graph.GetSeriesCount() == 0) {
        SetGraphCursor(graph, GraphCursor::None, 0);
        return;
    }
    pane_->LayOut();
    const bool family = cursor_ == GraphCursor::Harmonic || cursor_ == GraphCursor::Bearing;
    double start = cursorX_ ? *cursorX_ * drawn_->xScale : drawn_->cursorStart;
    if (family) {
        start = familyX_ ? *familyX_ * drawn_->xScale : FamilyStart();
    }
    // The harmonic and bearing read-outs read the multiples of this 1×, not the lines the control
    // snapped them to.
    readout_->SetFamilyFundamental(family ? std::optional<double>(start) : std::nullopt, peakSnap_);
    // Harmonic lines the user added or removed stay from one drawing to the next.
    const int harmonics = HarmonicCursorCount(graph);
    placing_ = true;
    SetGraphCursor(graph, cursor_, start, harmonics > 0 ? harmonics : kStartingHarmonicCursors);
    graph.placeCursorAtValue(start);
    // The read-out takes the events again; the view keeps the 1× it chose, not the line the
    // control snapped it to.
    graph.ReFireCursorData();
    placing_ = false;
}

void ReadingView::RememberCursor() {
    const CVantorGraphCtrl& graph = pane_->Graph();
    // A cursor the control reports while a view refills it stands in the old units or data.
    if (placing_ || !drawn_ || !graph.GetCursorEnabled() || graph.currentCursorX() == kNowhere ||
        !AxesApplied()) {
        return;
    }
    const double fundamental = graph.GetCursorFundamental();
    if (fundamental == kNowhere || !(drawn_->xScale > 0)) {
        return;
    }
    if (cursor_ == GraphCursor::Harmonic || cursor_ == GraphCursor::Bearing) {
        familyX_ = fundamental / drawn_->xScale;
        readout_->SetFamilyFundamental(fundamental, peakSnap_);
    } else {
        cursorX_ = fundamental / drawn_->xScale;
    }
}

void ReadingView::AfterDrag() {
    CVantorGraphCtrl& graph = pane_->Graph();
    if (!drawn_ || cursor_ == GraphCursor::None || !graph.GetCursorEnabled()) {
        return;
    }
    const double x = graph.currentCursorX();
    const std::optional<std::size_t> line = NearestLine(drawn_->lineX, x);
    if (x == kNowhere || !line) {
        return;
    }
    std::size_t target = *line;
    if (peakSnap_) {
        const std::size_t first = target > kPeakSnapLines ? target - kPeakSnapLines : 0;
        const std::size_t last = std::min(drawn_->lineX.size() - 1, target + kPeakSnapLines);
        for (std::size_t i = first; i <= last; ++i) {
            if (drawn_->lineY[i] > drawn_->lineY[target]) {
                target = i;
            }
        }
    }
    graph.placeCursorAtValue(drawn_->lineX[target]);
}

void ReadingView::StepCursor(int lines) {
    CVantorGraphCtrl& graph = pane_->Graph();
    if (!drawn_ || !graph.GetCursorEnabled()) {
        return;
    }
    const std::optional<std::size_t> line = NearestLine(drawn_->lineX, graph.currentCursorX());
    if (graph.currentCursorX() == kNowhere || !line) {
        return;
    }
    const auto last = static_cast<long long>(drawn_->lineX.size()) - 1;
    const long long target = std::clamp(static_cast<long long>(*line) + lines, 0LL, last);
    graph.placeCursorAtValue(drawn_->lineX[static_cast<std::size_t>(target)]);
}

void ReadingView::JumpToPeak(int direction) {
    CVantorGraphCtrl& graph = pane_->Graph();
    if (!drawn_ || !graph.GetCursorEnabled() || graph.currentCursorX() == kNowhere) {
        return;
    }
    const std::optional<std::size_t> line = NearestLine(drawn_->lineX, graph.currentCursorX());
    if (!line) {
        return;
    }
    const auto count = static_cast<long long>(drawn_->lineX.size());
    for (long long i = static_cast<long long>(*line) + direction; i >= 0 && i < count; i += direction) {
        if (IsPeak(drawn_->lineY, static_cast<std::size_t>(i))) {
            graph.placeCursorAtValue(drawn_->lineX[static_cast<std::size_t>(i)]);
            return;
        }
    }
}

void ReadingView::SetAxisLimits(std::optional<AxisLimits> limits) {
    history_.push_back(limits_);
    limits_ = limits;
    if (drawn_) {
        limitsXScale_ = drawn_->xScale;
        limitsYScale_ = drawn_->yScale;
    }
    ApplyLimits();
    PlaceCursor();
}

void ReadingView::ZoomBack() {
    if (history_.empty()) {
        return;
    }
    limits_ = history_.back();
    history_.pop_back();
    ApplyLimits();
    PlaceCursor();
}

void ReadingView::ZoomFull() {
    if (limits_) {
        SetAxisLimits(std::nullopt);
    }
}

void ReadingView::ZoomX(double factor, double aboutX) {
    if (!drawn_ || !(factor > 0)) {
        return;
    }
    const CVantorGraphCtrl& graph = pane_->Graph();
    const double fullWidth = fullX_.maximum - fullX_.minimum;
    const double width = std::clamp((graph.GetXAxisMax() - graph.GetXAxisMin()) * factor,
                                    fullWidth * kNarrowestZoom, fullWidth);
    double minimum = aboutX - (aboutX - graph.GetXAxisMin()) * factor;
    minimum = std::clamp(minimum, fullX_.minimum, fullX_.maximum - width);
    const AxisLimits zoomed{minimum, minimum + width, graph.GetYAxisMin(), graph.GetYAxisMax()};
    const bool full =
        width >= fullWidth && zoomed.yMinimum == fullY_.minimum && zoomed.yMaximum == fullY_.maximum;
    SetAxisLimits(full ? std::nullopt : std::optional<AxisLimits>(zoomed));
}

void ReadingView::AxisSetup() {
    const std::optional<AxisSetupKind> kind = AxisKind();
    if (!kind) {
        return;
    }
    const CVantorGraphCtrl& graph = pane_->Graph();
    const AxisLimits current{graph.GetXAxisMin(), graph.GetXAxisMax(), graph.GetYAxisMin(),
                             graph.GetYAxisMax()};
    AxisSetupDialog dialog(*kind, current, this);
    if (dialog.exec() == QDialog::Accepted) {
        SetAxisLimits(dialog.Limits());
    }
}

void ReadingView::AddAxisSetupItem(QMenu& menu) {
    if (AxisKind()) {
        menu.addAction(UiText(text::views::AxisSetup), this, &ReadingView::AxisSetup)
            ->setEnabled(pane_->Graph().GetSeriesCount() > 0);
    }
}

void ReadingView::FillMenu(QMenu& menu) {
    CVantorGraphCtrl& graph = pane_->Graph();
    const bool shown = graph.GetSeriesCount() > 0;
    if (HasCursor()) {
        AddCursorItems(menu, graph, cursor_, Cursors(), [this](GraphCursor type) { SetCursor(type); });
        QAction* snap = menu.addAction(UiText(text::added::SnapCursorToPeaks), this,
                                       [this](bool on) { SetPeakSnap(on); });
        snap->setCheckable(true);
        snap->setChecked(peakSnap_);
        menu.addSeparator();
    }
    AddMenuItems(menu);
    if (families_) {
        menu.addSeparator();
        const bool bearingCursor = HasCursor() && Cursors().bearing;
        families_->AddToMenu(menu, bearingCursor
                                       ? std::function<void(int)>([this](int i) { FeedBearingCursor(i); })
                                       : std::function<void(int)>());
    }
    menu.addSeparator();
    menu.addAction(UiText(text::added::FullView) + QStringLiteral("\tHome"), this, &ReadingView::ZoomFull)
        ->setEnabled(limits_.has_value());
    menu.addAction(UiText(text::added::PreviousZoom) + QStringLiteral("\tBackspace"), this,
                   &ReadingView::ZoomBack)
        ->setEnabled(!history_.empty());
    menu.addAction(UiText(text::views::CopyToClipboard), pane_, &GraphPane::CopyToClipboard)
        ->setEnabled(shown);
    QMenu* exports = menu.addMenu(UiText(text::added::ExportMenu));
    exports->setObjectName(QStringLiteral("ExportMenu"));
    exports->setEnabled(shown);
    exports->addAction(UiText(text::added::ExportCsvItem), this, &ReadingView::ExportCsv);
    exports->addAction(UiText(text::added::ExportPngItem), this, &ReadingView::ExportPng);
    exports->addAction(UiText(text::added::PrintItem), this, &ReadingView::PrintGraph);
}

namespace {

// The save dialog in the export folder; ".suffix" added to a bare name. Empty when cancelled.
QString ChooseExportFile(QWidget* parent, PointViewsState& state, const QString& title,
                         const QString& filters, const QString& suffix) {
    QString chosen = QFileDialog::getSaveFileName(parent, title, state.app.settings.exportToFolder, filters);
    if (!chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty()) {
        chosen += QLatin1Char('.') + suffix;
    }
    return chosen;
}

} // namespace

void ReadingView::ExportCsv() {
    // The filters are the file types' names, the same in every language.
    const QString chosen = ChooseExportFile(
        this, state_, UiText(text::views::ExportCsv),
        QStringLiteral("CSV (Comma delimited)(*.csv);;Unicode Text (Comma delimited)(*.txt)"),
        QStringLiteral("csv"));
    if (!chosen.isEmpty() && WriteCsv(chosen)) {
        state_.app.settings.exportToFolder = QFileInfo(chosen).absolutePath();
    }
}

void ReadingView::ExportPng() {
    const QString chosen = ChooseExportFile(this, state_, UiText(text::added::ExportPngTitle),
                                            QStringLiteral("PNG (*.png)"), QStringLiteral("png"));
    if (!chosen.isEmpty() && WritePng(chosen)) {
        state_.app.settings.exportToFolder = QFileInfo(chosen).absolutePath();
    }
}

void ReadingView::PrintGraph() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The graph as shown, as large as the page allows with its proportions kept.
    const QImage image = pane_->Graph().grab().toImage();
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(page.topLeft(), size), image);
}

bool ReadingView::WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
        !file.flush()) {
        state_.app.UserPrompter().ShowMessage(UiText(text::added::FileNotWritten).arg(path));
        return false;
    }
    return true;
}

QByteArray ReadingView::SeriesCsv() const {
    const CVantorGraphCtrl& graph = pane_->Graph();
    const int count = graph.GetSeriesCount() > 0 ? graph.seriesPointCount(0) : 0;
    // A trend's X axis is a dates axis (XAxisType 2, as graphviews sets it); its points are dated.
    constexpr short kDatesAxisType = 2;
    const bool dated = graph.GetXAxisType() == kDatesAxisType;
    // The columns are named as the axes are (in the user's language); a dated axis by "Date/Time".
    const auto column = [](QString caption, const QString& unit, const QString& fallback) {
        if (caption.isEmpty()) {
            caption = fallback;
        }
        return unit.isEmpty() || caption.contains(unit) ? caption
                                                        : QStringLiteral("%1 (%2)").arg(caption, unit);
    };
    QString text = QStringLiteral("%1,%2\r\n")
                       .arg(dated ? UiText(text::DateTime)
                                  : column(graph.GetXAxisCaption(), QString(), QStringLiteral("X")),
                            column(graph.GetYAxisCaption(), graph.GetYAxisUnits(), QStringLiteral("Y")));
    for (int point = 0; point < count; ++point) {
        const QVariantMap values = graph.seriesPoint(0, point);
        const QString x = dated ? values.value(QStringLiteral("dateTime"))
                                      .toDateTime()
                                      .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                : QString::number(values.value(QStringLiteral("x")).toDouble(), 'g', 9);
        text += QStringLiteral("%1,%2\r\n")
                    .arg(x, QString::number(values.value(QStringLiteral("y")).toDouble(), 'g', 9));
    }
    return text.toUtf8();
}

bool ReadingView::WriteCsv(const QString& path) {
    return WriteFile(path, SeriesCsv());
}

bool ReadingView::WritePng(const QString& path) {
    const QImage image = pane_->Graph().grab().toImage();
    if (!image.save(path, "PNG")) {
        state_.app.UserPrompter().ShowMessage(UiText(text::added::FileNotWritten).arg(path));
        return false;
    }
    return true;
}

bool ReadingView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &pane_->Graph()) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool jump = key->modifiers() & Qt::ControlModifier;
        switch (key->key()) {
        case Qt::Key_Left:
            jump ? JumpToPeak(-1) : StepCursor(-1);
            return true;
        case Qt::Key_Right:
            jump ? JumpToPeak(1) : StepCursor(1);
            return true;
        case Qt::Key_Home:
            ZoomFull();
            return true;
        case Qt::Key_Backspace:
            ZoomBack();
            return true;
        default:
            break;
        }
    } else if (event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QRect plot = pane_->Graph().plotRect();
        const int notches = wheel->angleDelta().y();
        if (notches == 0 || plot.width() <= 0) {
            return true;
        }
        const CVantorGraphCtrl& graph = pane_->Graph();
        const double share = std::clamp((wheel->position().x() - plot.left()) / plot.width(), 0.0, 1.0);
        const double about = graph.GetXAxisMin() + share * (graph.GetXAxisMax() - graph.GetXAxisMin());
        ZoomX(std::pow(kWheelZoomPerNotch, notches / kWheelNotch), about);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantor
