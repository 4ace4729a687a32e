// The measuring cursors of the graph control: placement by snapping to series 0 and the cursor
// methods of the automation interface.
#include "VantorGraphCtrlPrivate.h"

#include "GraphScale.h"

bool CVantorGraphCtrl::Private::cursorSeriesUsable() const {
    return series.count() > 0 && series[0].traceOn && series[0].pointCount() > 0;
}

int CVantorGraphCtrl::Private::pixelOfX(double x) const {
    return GraphScale::xToPixel(x, props.XAxisMin, props.XAxisMax, axisOrigin.left(), axisOrigin.width());
}

bool CVantorGraphCtrl::Private::snapCursor(GraphCursor& cursor, int pixel, int direction, bool endRule) {
    const int index = snapToPoint(series[0], pixel, direction, endRule);
    if (index < 0) {
        cursor.x = cursor.y = CursorNoPlace;
        return false;
    }
    const GraphPoint& point = series[0].points[static_cast<std::size_t>(index)];
    cursor.x = point.x;
    cursor.y = point.y;
    return true;
}

int CVantorGraphCtrl::Private::pointNearestValue(double x) const {
    if (!cursorSeriesUsable())
        return -1;
    const auto& points = series[0].points;
    int chosen = -1;
    for (int i = 0; i < static_cast<int>(points.size()); ++i) {
        const GraphPoint& point = points[static_cast<std::size_t>(i)];
        if (chosen < 0) {
            chosen = i;
            continue;
        }
        const GraphPoint& best = points[static_cast<std::size_t>(chosen)];
        const double distance = std::fabs(point.x - x);
        const double bestDistance = std::fabs(best.x - x);
        if (distance < bestDistance || (distance == bestDistance && point.y > best.y))
            chosen = i;
    }
    return chosen;
}

void CVantorGraphCtrl::Private::placeSimple(int pixel, int direction) {
    placeSimple([&](GraphCursor& cursor) { snapCursor(cursor, pixel, direction, true); });
}

void CVantorGraphCtrl::Private::placeHarmonic(int pixel, int direction) {
    placeHarmonic([&](GraphCursor& cursor) { snapCursor(cursor, pixel, direction, true); });
}

void CVantorGraphCtrl::Private::placeBearing(int pixel, int direction) {
    placeBearing([&](GraphCursor& cursor) { snapCursor(cursor, pixel, direction, true); });
}

void CVantorGraphCtrl::Private::placeSimple(const PrimarySnap& snap) {
    if (!cursorSeriesUsable())
        return;
    snap(cursors.simple);
    markModifiedAndRepaint();
    emit q->SimpleCursorInfo(cursors.simple.x, cursors.simple.y);
}

void CVantorGraphCtrl::Private::placeHarmonic(const PrimarySnap& snap) {
    if (!cursorSeriesUsable() || cursors.harmonic.empty())
        return;
    auto& list = cursors.harmonic;
    int& k = cursors.selectedHarmonic;
    if (k < 0 || k >= static_cast<int>(list.size()))
        k = 0;
    GraphCursor& selected = list[static_cast<std::size_t>(k)];
    snap(selected);
    emit q->HarmonicCursorInfo(static_cast<short>(k), selected.x, selected.y);
    const double fundamental = selected.x / (k + 1);
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        if (i == k)
            continue;
        GraphCursor& cursor = list[static_cast<std::size_t>(i)];
        snapCursor(cursor, pixelOfX(fundamental * (i + 1)), 0, false);
        emit q->HarmonicCursorInfo(static_cast<short>(i), cursor.x, cursor.y);
    }
    markModifiedAndRepaint();
}

void CVantorGraphCtrl::Private::placeBearing(const PrimarySnap& snap) {
    if (!cursorSeriesUsable())
        return;
    snap(cursors.runSpeed);
    emit q->BearingRSCursorInfo(cursors.runSpeed.x, cursors.runSpeed.y);
    for (int i = 0; i < static_cast<int>(cursors.faults.size()); ++i) {
        BearingFault& fault = cursors.faults[static_cast<std::size_t>(i)];
        for (int j = 0; j < static_cast<int>(fault.harmonics.size()); ++j) {
            FaultHarmonic& harmonic = fault.harmonics[static_cast<std::size_t>(j)];
            GraphCursor placed;
            if (fault.multiplier != 0.0)
                snapCursor(placed, pixelOfX(cursors.runSpeed.x * fault.multiplier * (j + 1)), 0, false);
            harmonic.x = placed.x;
            harmonic.y = placed.y;
            emit q->BearingHarmonicCursorInfo(static_cast<short>(i), static_cast<short>(j), harmonic.x,
                                              harmonic.y);
        }
    }
    markModifiedAndRepaint();
}

void CVantorGraphCtrl::Private::placeCurrent(int pixel, int direction) {
    switch (static_cast<CursorKind>(props.CursorType)) {
    case CursorKind::Simple:
        placeSimple(pixel, direction);
        break;
    case CursorKind::Harmonic:
        placeHarmonic(pixel, direction);
        break;
    case CursorKind::Bearing:
        placeBearing(pixel, direction);
        break;
    case CursorKind::None:
        break;
    }
}

GraphCursor* CVantorGraphCtrl::Private::currentCursor() {
    return const_cast<GraphCursor*>(std::as_const(*this).currentCursor());
}

const GraphCursor* CVantorGraphCtrl::Private::currentCursor() const {
    switch (static_cast<CursorKind>(props.CursorType)) {
    case CursorKind::Simple:
        return &cursors.simple;
    case CursorKind::Harmonic:
        if (cursors.harmonic.empty())
            return nullptr;
        return &cursors.harmonic[static_cast<std::size_t>(
            cursors.selectedHarmonic >= 0 &&
                    cursors.selectedHarmonic < static_cast<int>(cursors.harmonic.size())
                ? cursors.selectedHarmonic
                : 0)];
    case CursorKind::Bearing:
        return &cursors.runSpeed;
    case CursorKind::None:
        break;
    }
    return nullptr;
}

QList<CVantorGraphCtrl::CursorReadout> CVantorGraphCtrl::cursorReadouts() const {
    QList<CursorReadout> readouts;
    const GraphCursors& c = d->cursors;
    readouts.append(
        {QStringLiteral("simple"), c.simple.x, c.simple.y, c.simple.lineRect, c.simple.handleRect});
    for (int i = 0; i < static_cast<int>(c.harmonic.size()); ++i) {
        const GraphCursor& h = c.harmonic[static_cast<std::size_t>(i)];
        readouts.append({QStringLiteral("harmonic %1").arg(i), h.x, h.y, h.lineRect, h.handleRect});
    }
    readouts.append(
        {QStringLiteral("runspeed"), c.runSpeed.x, c.runSpeed.y, c.runSpeed.lineRect, c.runSpeed.handleRect});
    for (int i = 0; i < static_cast<int>(c.faults.size()); ++i) {
        const auto& harmonics = c.faults[static_cast<std::size_t>(i)].harmonics;
        for (int j = 0; j < static_cast<int>(harmonics.size()); ++j) {
            const FaultHarmonic& h = harmonics[static_cast<std::size_t>(j)];
            readouts.append(
                {QStringLiteral("fault %1 harmonic %2").arg(i).arg(j), h.x, h.y, QRect(), QRect()});
        }
    }
    return readouts;
}

double CVantorGraphCtrl::currentCursorX() const {
    if (!d->props.CursorEnabled)
        return CursorNoPlace;
    const GraphCursor* cursor = d->currentCursor();
    return cursor ? cursor->x : CursorNoPlace;
}

void CVantorGraphCtrl::placeCursorAtValue(double x) {
    if (!d->props.CursorEnabled)
        return;
    const int index = d->pointNearestValue(x);
    if (index < 0)
        return;
    const GraphPoint& point = d->series[0].points[static_cast<std::size_t>(index)];
    auto stand = [&point](GraphCursor& cursor) {
        cursor.x = point.x;
        cursor.y = point.y;
    };
    switch (static_cast<CursorKind>(d->props.CursorType)) {
    case CursorKind::Simple:
        d->placeSimple(stand);
        break;
    case CursorKind::Harmonic:
        d->placeHarmonic(stand);
        break;
    case CursorKind::Bearing:
        d->placeBearing(stand);
        break;
    case CursorKind::None:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Methods

void CVantorGraphCtrl::AddHarmonicCursor() {
    auto& c = d->cursors;
    switch (static_cast<CursorKind>(d->props.CursorType)) {
    case CursorKind::Harmonic: {
        c.harmonic.emplace_back();
        if (c.harmonic.size() == 1)
            c.harmonic.front().x = (d->props.XAxisMin + d->props.XAxisMax) / 2;
        if (c.selectedHarmonic < 0 || c.selectedHarmonic >= static_cast<int>(c.harmonic.size()))
            c.selectedHarmonic = 0;
        d->placeHarmonic(d->pixelOfX(c.harmonic[static_cast<std::size_t>(c.selectedHarmonic)].x), 0);
        break;
    }
    case CursorKind::Bearing:
        for (BearingFault& fault : c.faults) {
            const QString first = fault.harmonics.empty() ? QString() : fault.harmonics.front().label;
            const int order = static_cast<int>(fault.harmonics.size()) + 1;
            fault.harmonics.emplace_back(QString::asprintf("%sx%d", qPrintable(first), order));
        }
        d->markModifiedAndRepaint();
        break;
    case CursorKind::Simple:
    case CursorKind::None:
        break;
    }
}

void CVantorGraphCtrl::RemoveHarmonicCursor() {
    auto& c = d->cursors;
    switch (static_cast<CursorKind>(d->props.CursorType)) {
    case CursorKind::Harmonic:
        if (c.harmonic.size() <= 2)
            c.harmonic.clear();
        else
            c.harmonic.pop_back();
        break;
    case CursorKind::Bearing:
        for (BearingFault& fault : c.faults) {
            if (!fault.harmonics.empty())
                fault.harmonics.pop_back();
        }
        break;
    case CursorKind::Simple:
    case CursorKind::None:
        break;
    }
    d->markModifiedAndRepaint();
}

void CVantorGraphCtrl::NudgeCursorRight(short aiCount) {
    if (!d->props.CursorEnabled)
        return;
    if (const GraphCursor* cursor = d->currentCursor())
        d->placeCurrent(d->pixelOfX(cursor->x), aiCount);
}

void CVantorGraphCtrl::NudgeCursorLeft(short aiCount) {
    if (!d->props.CursorEnabled)
        return;
    if (const GraphCursor* cursor = d->currentCursor())
        d->placeCurrent(d->pixelOfX(cursor->x), -aiCount);
}

void CVantorGraphCtrl::ReFireCursorData() {
    const auto& c = d->cursors;
    switch (static_cast<CursorKind>(d->props.CursorType)) {
    case CursorKind::Simple:
        emit SimpleCursorInfo(c.simple.x, c.simple.y);
        break;
    case CursorKind::Harmonic:
        for (int i = 0; i < static_cast<int>(c.harmonic.size()); ++i)
            emit HarmonicCursorInfo(static_cast<short>(i), c.harmonic[static_cast<std::size_t>(i)].x,
                                    c.harmonic[static_cast<std::size_t>(i)].y);
        break;
    case CursorKind::Bearing:
        emit BearingRSCursorInfo(c.runSpeed.x, c.runSpeed.y);
        for (int i = 0; i < static_cast<int>(c.faults.size()); ++i) {
            const auto& harmonics = c.faults[static_cast<std::size_t>(i)].harmonics;
            for (int j = 0; j < static_cast<int>(harmonics.size()); ++j)
                emit BearingHarmonicCursorInfo(static_cast<short>(i), static_cast<short>(j),
                                               harmonics[static_cast<std::size_t>(j)].x,
                                               harmonics[static_cast<std::size_t>(j)].y);
        }
        break;
    case CursorKind::None:
        break;
    }
}
