// The graph control's private state behind its public class.
#pragma once

#include "GraphCursors.h"
#include "GraphProperties.h"
#include "GraphSeries.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QBasicTimer>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRubberBand>

#include <cmath>
#include <functional>
#include <utility>

class QPainter;

struct ZoomRequest {
    short percent = 5;
    float xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

struct CVantorGraphCtrl::Private {
    explicit Private(CVantorGraphCtrl* control) : q(control) {}

    CVantorGraphCtrl* q;
    GraphProperties props;
    SeriesList series;
    GraphCursors cursors;
    ZoomRequest zoom;
    bool showRunSpeed = false;
    float runSpeed = 0.0f;

    MessagePort messagePort;
    Timing timing;
    bool modified = false;
    int repaintRequests = 0;
    bool dataChanged = false;
    // The texts of the last date given with a point: a host adding a whole trace of one reading
    // passes the same date for every point, and formatting it once keeps large traces fast.
    QDateTime textedDate;
    QString textedDateText;
    QString textedTimeText;

    // Layout of the last paint.
    QRect graphArea;
    QRect plot;
    QRect axisOrigin; // the plot with the waterfall shift taken out
    int xLabelDecimals = 0;
    int yLabelDecimals = 0;
    int tooltipYDecimals = -1;        // -1: the Y labels' decimals
    bool cursorGrabWithBands = false; // host-side: cursors stay grabbable while FFTBandsOn
    bool drawingsBehindData = false;  // host-side: frequency bands under the traces
    Underlay underlay;                // host-side: painted just before the traces
    QRect client;                     // the control's rectangle inside its border

    // Mouse state.
    struct PendingPress {
        bool active = false; // a left press waiting to be told apart as a click or a rubber band
        short flags = 0;
        QPoint at;
        Qt::KeyboardModifiers modifiers;
    } press;
    struct PendingClick {
        short flags = 0;
        QPoint at;
    } click;
    QBasicTimer clickTimer;
    QPointer<QRubberBand> rubberBand;
    QBasicTimer tooltipTimer;
    int tooltipPoint = -1; // series * 2^20 + point of the point the tooltip describes, -1 for none
    qint64 tooltipShownAt = 0;
    QPoint tooltipAt; // where the mouse was when the tooltip was asked for
    bool tooltipWindowUp = false;
    QString tooltipWindowText;

    // Paint steps, in the order the paint runs them (VantorGraphPaint.cpp).
    void layOut(QPainter& painter, const QRect& rect);
    void paintBands(QPainter& painter);
    void paintTitle(QPainter& painter);
    void paintAxes(QPainter& painter);
    void paintXAxisScale(QPainter& painter, int& labelsBottom);
    void paintYAxisScale(QPainter& painter, int& labelsLeft);
    void paintCaptions(QPainter& painter, int labelsBottom, int labelsLeft);
    void paintTraces(QPainter& painter);
    void layOutTrace(GraphSeries& s, const GraphSeries::Layout& layout, int width, int bottom);
    void paintMarkers(QPainter& painter);
    void paintFrequencyBands(QPainter& painter);
    void paintRunSpeed(QPainter& painter);
    void paintCursors(QPainter& painter);
    QColor color(int paletteIndex) const;
    int originBottom() const { return axisOrigin.top() + axisOrigin.height(); }
    int pixelOfY(double y) const;

    // Mouse handling (VantorGraphMouse.cpp).
    bool cursorInteractionActive() const;
    bool grabCursorAt(QPoint at, bool& onLine);
    bool overCursor(QPoint at) const;
    bool isCandidate(const GraphSeries& s, const GraphPoint& point) const;
    // The first point hit at `at` as (series, point); (-1, -1) for none.
    std::pair<int, int> hitPoint(QPoint at) const;
    void finishRubberBand(const QRect& band, Qt::KeyboardModifiers modifiers);
    void clickTimerExpired();
    void updateTooltip(QPoint at);
    void showTooltipWindow();
    void hideTooltip();

    void showMessage(const QString& text);
    void repaint();
    void markModifiedAndRepaint() {
        modified = true;
        repaint();
    }

    template <typename T, typename V> void storeAndRepaint(T& field, const V& value) {
        field = static_cast<T>(value);
        markModifiedAndRepaint();
    }

    // A member of the validating family: refused values show the message and keep the old value.
    template <typename T, typename V>
    void storeChecked(T& field, const V& value, double lo, double hi, const QString& message) {
        if (!(value >= lo && value <= hi)) {
            showMessage(message);
            return;
        }
        storeAndRepaint(field, value);
    }

    void setMarkerSpacing(double& field, double value, short method, double axisMin, double axisMax,
                          const QString& message);
    // The waterfall offset that keeps the front trace at least minPercent of the plot extent.
    short clampedWaterfallOffset(short requested, int extent, short minPercent) const;
    int tracedSeriesWithPoints() const;

    // Cursor placement from a pixel column (see GraphCursors.h for the snapping).
    bool cursorSeriesUsable() const;
    int pixelOfX(double x) const;
    bool snapCursor(GraphCursor& cursor, int pixel, int direction, bool endRule);
    void placeSimple(int pixel, int direction);
    void placeHarmonic(int pixel, int direction);
    void placeBearing(int pixel, int direction);
    void placeCurrent(int pixel, int direction);
    // The same placements with the moved cursor stood by `snap` (the dependent cursors still snap
    // by pixel).
    using PrimarySnap = std::function<void(GraphCursor&)>;
    void placeSimple(const PrimarySnap& snap);
    void placeHarmonic(const PrimarySnap& snap);
    void placeBearing(const PrimarySnap& snap);
    // The point of series 0 whose X is nearest to x (of several with that X, the highest); -1 for none.
    int pointNearestValue(double x) const;
    QString faultTranslation(int record) const;
    void setFaultTranslation(int record, const QString& text);
    double faultMultiplier(int record) const;
    void setFaultMultiplier(int record, double multiplier);

    GraphCursor* currentCursor();
    const GraphCursor* currentCursor() const;
};
