// The graph control's mouse handling: point clicks (after the click timer, so that a double
// click fires none), right clicks, rubber-band zoom and multiple selection, cursor dragging and
// the tooltip for the point under the mouse.
#include "VantorGraphCtrlPrivate.h"

#include "GraphHitTest.h"
#include "GraphScale.h"
#include "NumberFormat.h"
#include "TooltipText.h"

#include <QApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QToolTip>

#include <algorithm>

namespace {

// Key and button flags of a mouse message: 1 left, 2 right, 4 shift, 8 ctrl, 16 middle.
short messageFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    short flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= 0x01;
    if (buttons & Qt::RightButton)
        flags |= 0x02;
    if (modifiers & Qt::ShiftModifier)
        flags |= 0x04;
    if (modifiers & Qt::ControlModifier)
        flags |= 0x08;
    if (buttons & Qt::MiddleButton)
        flags |= 0x10;
    return flags;
}

// The stock MouseDown event's button (1 left, 2 right, 4 middle) and shift state (1 shift, 2 ctrl, 4 alt).
short stockButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}
short stockShift(Qt::KeyboardModifiers modifiers) {
    return static_cast<short>(((modifiers & Qt::ShiftModifier) ? 1 : 0) |
                              ((modifiers & Qt::ControlModifier) ? 2 : 0) |
                              ((modifiers & Qt::AltModifier) ? 4 : 0));
}

int tooltipKey(int series, int point) {
    return series * (1 << 20) + point;
}

QString displayed(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

void CVantorGraphCtrl::setTiming(const Timing& timing) {
    d->timing = timing;
}

int CVantorGraphCtrl::clickWaitMs() const {
    return static_cast<int>(QApplication::doubleClickInterval() * d->timing.clickWaitFactor);
}

bool CVantorGraphCtrl::tooltipWindowVisible() const {
    return d->tooltipWindowUp && QToolTip::isVisible();
}

QString CVantorGraphCtrl::tooltipWindowText() const {
    return tooltipWindowVisible() ? QToolTip::text() : QString();
}

void CVantorGraphCtrl::setTooltipYDecimals(int decimals) {
    d->tooltipYDecimals = decimals < 0 ? -1 : std::min(decimals, GraphScale::MaxLabelDecimals);
    d->tooltipPoint = -1; // the next move writes the text anew
}

void CVantorGraphCtrl::setDrawingsBehindData(bool behind) {
    d->drawingsBehindData = behind;
    update();
}

bool CVantorGraphCtrl::drawingsBehindData() const {
    return d->drawingsBehindData;
}

void CVantorGraphCtrl::setUnderlay(Underlay underlay) {
    d->underlay = std::move(underlay);
    update();
}

int CVantorGraphCtrl::tooltipYDecimals() const {
    return d->tooltipYDecimals;
}

void CVantorGraphCtrl::setCursorGrabWithBands(bool allowed) {
    d->cursorGrabWithBands = allowed;
}

bool CVantorGraphCtrl::cursorGrabWithBands() const {
    return d->cursorGrabWithBands;
}

// ---------------------------------------------------------------------------------------------
// Hit testing

bool CVantorGraphCtrl::Private::isCandidate(const GraphSeries& s, const GraphPoint& point) const {
    return s.traceOn && point.x >= props.XAxisMin && point.x <= props.XAxisMax && point.y >= props.YAxisMin &&
           point.y <= props.YAxisMax;
}

std::pair<int, int> CVantorGraphCtrl::Private::hitPoint(QPoint at) const {
    // Only drawn series have screen positions; a hidden series cannot be hit.
    for (int i = 0; i < series.count(); ++i) {
        const GraphSeries& s = series[i];
        const std::vector<QPoint>& screen = s.screenPositions();
        for (int j = 0; j < s.pointCount(); ++j) {
            const GraphPoint& point = s.points[static_cast<std::size_t>(j)];
            if (isCandidate(s, point) && markerHit(at, screen[static_cast<std::size_t>(j)],
                                                   s.info[static_cast<std::size_t>(j)].markerRadius,
                                                   s.info[static_cast<std::size_t>(j)].markerShape))
                return {i, j};
        }
    }
    return {-1, -1};
}

// With the frequency bands on, the mouse leaves the cursors alone unless the host asked for them to
// stay grabbable over the band boxes.
bool CVantorGraphCtrl::Private::cursorInteractionActive() const {
    return props.CursorEnabled && (!props.FFTBandsOn || cursorGrabWithBands) && !props.GraphWaterfallOn &&
           cursorSeriesUsable();
}

bool CVantorGraphCtrl::Private::grabCursorAt(QPoint at, bool& onLine) {
    onLine = false;
    switch (static_cast<CursorKind>(props.CursorType)) {
    case CursorKind::Simple:
    case CursorKind::Bearing: {
        const GraphCursor& c = props.CursorType == 0 ? cursors.simple : cursors.runSpeed;
        if (c.handleRect.contains(at))
            return true;
        onLine = c.lineRect.contains(at);
        return onLine;
    }
    case CursorKind::Harmonic:
        for (int i = 0; i < static_cast<int>(cursors.harmonic.size()); ++i) {
            const GraphCursor& c = cursors.harmonic[static_cast<std::size_t>(i)];
            if (c.handleRect.contains(at) || c.lineRect.contains(at)) {
                onLine = !c.handleRect.contains(at);
                cursors.selectedHarmonic = i;
                return true;
            }
        }
        return false;
    case CursorKind::None:
        break;
    }
    return false;
}

bool CVantorGraphCtrl::Private::overCursor(QPoint at) const {
    if (!cursorInteractionActive())
        return false;
    auto over = [&](const GraphCursor& c) { return c.lineRect.contains(at) || c.handleRect.contains(at); };
    switch (static_cast<CursorKind>(props.CursorType)) {
    case CursorKind::Simple:
        return over(cursors.simple);
    case CursorKind::Harmonic:
        return std::any_of(cursors.harmonic.begin(), cursors.harmonic.end(), over);
    case CursorKind::Bearing:
        return over(cursors.runSpeed);
    case CursorKind::None:
        break;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Mouse events

void CVantorGraphCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const short flags = messageFlags(event->buttons() | event->button(), event->modifiers());
    // In the container's pixels: a control with no parent is its own container.
    const QPoint inContainer = parentWidget() ? mapToParent(at) : at;
    emit MouseDown(stockButton(event->button()), stockShift(event->modifiers()), inContainer.x(),
                   inContainer.y());
    if (event->button() == Qt::RightButton) {
        const auto [s, point] = d->hitPoint(at);
        if (s >= 0) {
            emit PointRightClicked(static_cast<short>(s), static_cast<short>(point),
                                   d->series[s].info[static_cast<std::size_t>(point)].readingGuid);
            d->repaint();
        } else {
            emit RightButtonClicked(flags, static_cast<short>(at.x()), static_cast<short>(at.y()));
        }
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (mouseGrabber() == this)
        releaseMouse();

    bool onLine = false;
    if (d->cursorInteractionActive() && d->grabCursorAt(at, onLine)) {
        d->cursors.dragging = true;
        if (isVisible())
            grabMouse();
        if (onLine)
            setCursor(Qt::SplitHCursor);
        d->placeCurrent(at.x(), 0);
        emit LeftButtonClicked(flags, static_cast<short>(at.x()), static_cast<short>(at.y()));
        return;
    }
    if (d->props.ZoomAllowed) {
        // Told apart as a click or a rubber band when the button comes up.
        d->press = {true, flags, at, event->modifiers()};
        if (!d->rubberBand)
            d->rubberBand = new QRubberBand(QRubberBand::Rectangle, this);
        d->rubberBand->setGeometry(QRect(at, QSize()));
        return;
    }
    d->click = {flags, at};
    d->clickTimer.start(clickWaitMs(), this);
    emit LeftButtonClicked(flags, static_cast<short>(at.x()), static_cast<short>(at.y()));
}

void CVantorGraphCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (d->cursors.dragging) {
        d->placeCurrent(at.x(), 0);
        return;
    }
    if (d->press.active) {
        const QRect band = QRect(d->press.at, at).normalized();
        d->rubberBand->setGeometry(band);
        if ((at - d->press.at).manhattanLength() >= QApplication::startDragDistance())
            d->rubberBand->show();
        return;
    }
    if (d->overCursor(at)) {
        setCursor(Qt::SplitHCursor);
        return;
    }
    unsetCursor();
    d->updateTooltip(at);
}

void CVantorGraphCtrl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton)
        return;
    if (d->cursors.dragging) {
        d->placeCurrent(at.x(), 0);
        d->cursors.dragging = false;
        if (mouseGrabber() == this)
            releaseMouse();
        unsetCursor();
    } else if (d->press.active) {
        const Private::PendingPress press = d->press;
        d->press.active = false;
        if (d->rubberBand)
            d->rubberBand->hide();
        const bool dragged = (at - press.at).manhattanLength() >= QApplication::startDragDistance();
        if (dragged) {
            // The band's edges are the press and release positions themselves.
            const QPoint topLeft(std::min(press.at.x(), at.x()), std::min(press.at.y(), at.y()));
            const QPoint bottomRight(std::max(press.at.x(), at.x()), std::max(press.at.y(), at.y()));
            d->finishRubberBand(
                QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y())),
                press.modifiers);
        } else {
            d->click = {press.flags, press.at};
            d->clickTimer.start(clickWaitMs(), this);
        }
        emit LeftButtonClicked(press.flags, static_cast<short>(press.at.x()),
                               static_cast<short>(press.at.y()));
    }
    emit Click();
}

void CVantorGraphCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // A double click never reports a point.
    d->clickTimer.stop();
    d->press.active = false;
    emit DblClick();
}

void CVantorGraphCtrl::timerEvent(QTimerEvent* event) {
    if (event->timerId() == d->clickTimer.timerId()) {
        d->clickTimer.stop();
        d->clickTimerExpired();
    } else if (event->timerId() == d->tooltipTimer.timerId()) {
        d->tooltipTimer.stop();
        d->showTooltipWindow();
    } else {
        QWidget::timerEvent(event);
    }
}

// ---------------------------------------------------------------------------------------------
// Clicks, zoom and selection

void CVantorGraphCtrl::Private::clickTimerExpired() {
    const int x = click.at.x();
    for (int i = 0; i < series.count(); ++i) {
        const GraphSeries& s = series[i];
        if (!s.traceOn)
            continue;
        const std::vector<QPoint>& screen = s.screenPositions();
        int chosen = -1;
        for (int j = 0; j < s.pointCount() && chosen < 0; ++j) {
            const GraphPoint& point = s.points[static_cast<std::size_t>(j)];
            if (isCandidate(s, point) && markerHit(click.at, screen[static_cast<std::size_t>(j)],
                                                   s.info[static_cast<std::size_t>(j)].markerRadius,
                                                   s.info[static_cast<std::size_t>(j)].markerShape))
                chosen = j;
        }
        if (chosen < 0) {
            // The first candidate right of the click against the candidate before it, nearer by X
            // (a tie takes the right one).
            int previous = -1;
            for (int j = 0; j < s.pointCount(); ++j) {
                const GraphPoint& point = s.points[static_cast<std::size_t>(j)];
                if (!isCandidate(s, point))
                    continue;
                const int column = screen[static_cast<std::size_t>(j)].x();
                if (column >= x) {
                    chosen = j;
                    if (previous >= 0 && x - screen[static_cast<std::size_t>(previous)].x() < column - x)
                        chosen = previous;
                    break;
                }
                previous = j;
            }
        }
        if (chosen < 0)
            continue;
        emit q->PointClicked(static_cast<short>(i), static_cast<short>(chosen),
                             s.info[static_cast<std::size_t>(chosen)].readingGuid);
        markModifiedAndRepaint();
        return;
    }
}

void CVantorGraphCtrl::Private::finishRubberBand(const QRect& area, Qt::KeyboardModifiers modifiers) {
    if (props.MultiplePointSelectAllowed && (modifiers & Qt::ControlModifier)) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        for (int i = 0; i < series.count(); ++i) {
            const GraphSeries& s = series[i];
            const std::vector<QPoint>& screen = s.screenPositions();
            for (int j = s.pointCount() - 1; j >= 0; --j) {
                const GraphPoint& point = s.points[static_cast<std::size_t>(j)];
                const QPoint at = screen[static_cast<std::size_t>(j)];
                if (isCandidate(s, point) && at.x() >= area.left() && at.x() <= area.left() + area.width() &&
                    at.y() >= area.top() && at.y() <= area.top() + area.height())
                    emit q->PointClicked(static_cast<short>(i), static_cast<short>(j),
                                         s.info[static_cast<std::size_t>(j)].readingGuid);
            }
        }
        QApplication::restoreOverrideCursor();
        return;
    }
    // The band's right and bottom edges are its width and height beyond its left and top.
    const int left = area.left();
    const int right = area.left() + area.width();
    const int top = area.top();
    const int bottom = area.top() + area.height();
    const QRect& o = axisOrigin;
    // Nothing to zoom before the first layout (no plot to measure the band against).
    if (!(left < right && top < bottom) || o.width() <= 0 || o.height() <= 0)
        return;
    const double xMin = std::min(props.XAxisMin, props.XAxisMax);
    const double xMax = std::max(props.XAxisMin, props.XAxisMax);
    const double yMin = std::min(props.YAxisMin, props.YAxisMax);
    const double yMax = std::max(props.YAxisMin, props.YAxisMax);
    auto toX = [&](int px) {
        return std::clamp(GraphScale::pixelToX(px, props.XAxisMin, props.XAxisMax, o.left(), o.width()), xMin,
                          xMax);
    };
    auto toY = [&](int py) {
        return std::clamp(
            GraphScale::pixelToY(py, props.YAxisMin, props.YAxisMax, originBottom(), o.height()), yMin, yMax);
    };
    const double newXMin = toX(left);
    const double newXMax = toX(right);
    const double newYMin = toY(bottom);
    const double newYMax = toY(top);
    q->SetXAxisMin(newXMin);
    q->SetXAxisMax(newXMax);
    q->SetYAxisMin(newYMin);
    q->SetYAxisMax(newYMax);
    emit q->ZoomFinishedUpdate();
}

// ---------------------------------------------------------------------------------------------
// Tooltip

void CVantorGraphCtrl::Private::updateTooltip(QPoint at) {
    const auto [s, j] = hitPoint(at);
    if (s < 0) {
        if (props.ShowToolTip)
            hideTooltip();
        return;
    }
    tooltipAt = at;
    const int key = tooltipKey(s, j);
    if (props.ShowToolTip && tooltipPoint == key)
        return;
    const GraphPoint& point = series[s].points[static_cast<std::size_t>(j)];
    const PointInfo& info = series[s].info[static_cast<std::size_t>(j)];
    const NumberFormat& format = sharedNumberFormat();
    const TooltipLabels labels{props.XToolTipText,
                               props.YToolTipText,
                               props.DateTranslation,
                               props.TimeTranslation,
                               props.AccelerometerTranslation,
                               props.SensitiviyTranslation};
    const TooltipPoint values{
        formatNumber(point.x, xLabelDecimals, format),
        formatNumber(point.y, tooltipYDecimals >= 0 ? tooltipYDecimals : yLabelDecimals, format),
        info.dateText,
        info.timeText,
        info.accelerometerSerial,
        info.rfidCode};
    tooltipPoint = key;
    tooltipShownAt = QDateTime::currentMSecsSinceEpoch();
    q->SetToolTipText(
        tooltipText(labels, values, props.XAxisType == 2, props.ToolTipDateYOrXY, props.GraphWaterfallOn));
    q->SetShowToolTip(true);
}

void CVantorGraphCtrl::Private::showTooltipWindow() {
    if (!props.ShowToolTip || props.ToolTipText.isEmpty())
        return;
    tooltipWindowUp = true;
    // The offscreen and test platforms have no real pointer: the tooltip stands at the mouse
    // position the control last saw.
    QToolTip::showText(q->mapToGlobal(tooltipAt), displayed(props.ToolTipText), q, QRect(),
                       timing.tooltipHideAfterMs);
}

void CVantorGraphCtrl::Private::hideTooltip() {
    tooltipPoint = -1;
    q->SetShowToolTip(false);
}

// Written by the host or by the control itself: the tooltip window follows.
void CVantorGraphCtrl::SetShowToolTip(bool value) {
    d->props.ShowToolTip = value;
    d->modified = true;
    if (value) {
        d->tooltipTimer.start(d->tooltipWindowUp && QToolTip::isVisible() ? d->timing.tooltipReshowDelayMs
                                                                          : d->timing.tooltipInitialDelayMs,
                              this);
    } else {
        d->tooltipTimer.stop();
        d->tooltipPoint = -1;
        if (d->tooltipWindowUp)
            QToolTip::hideText();
        d->tooltipWindowUp = false;
    }
}

void CVantorGraphCtrl::SetToolTipText(const QString& value) {
    d->props.ToolTipText = value;
    d->modified = true;
    if (d->tooltipWindowUp && QToolTip::isVisible())
        QToolTip::showText(mapToGlobal(d->tooltipAt), displayed(value), this, QRect(),
                           d->timing.tooltipHideAfterMs);
}
