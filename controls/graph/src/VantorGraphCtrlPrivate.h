// The graph control's private state behind its public class.
#pragma once

#include "GraphCursors.h"
#include "GraphProperties.h"
#include "GraphSeries.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QRect>

#include <cmath>

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
    bool modified = false;
    int repaintRequests = 0;
    bool dataChanged = false;

    // Layout of the last paint.
    QRect graphArea;
    QRect plot;
    QRect axisOrigin; // the plot with the waterfall shift taken out
    int xLabelDecimals = 0;
    int yLabelDecimals = 0;

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
    QString faultTranslation(int record) const;
    void setFaultTranslation(int record, const QString& text);
    double faultMultiplier(int record) const;
    void setFaultMultiplier(int record, double multiplier);

    GraphCursor* currentCursor();
    const GraphCursor* currentCursor() const;
};
