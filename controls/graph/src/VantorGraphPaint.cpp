// The graph control's one paint routine. It draws on any painter (the screen through an
// off-screen image, a PNG, a report document) and records, as it draws, the screen position of
// every point and the grab rectangles of every cursor.
#include "VantorGraphCtrlPrivate.h"

#include "GraphFonts.h"
#include "GraphPalette.h"
#include "GraphScale.h"
#include "NumberFormat.h"
#include "TraceDecimation.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace {

constexpr int AxisPenWidth = 2;
constexpr int TickHalfLength = 2;
constexpr int LabelGap = 3;
constexpr int DatesLabelAngle = 3300; // tenths of a degree, counter-clockwise
constexpr int YCaptionAngle = 900;
constexpr int RunSpeedLabelMaxHeight = 15;
constexpr int CursorGrabHalfWidth = 2;
// Rows a cursor label may step down to stay clear of the labels drawn before it.
constexpr int MostCursorLabelRows = 8;
const QColor SelectedHandleFill(255, 255, 160);
const QColor HandleFill(230, 230, 230);

QRect spanRect(int left, int top, int right, int bottom) {
    // Right and bottom exclusive, as the plot rectangle's edges are.
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

int plotRight(const QRect& r) {
    return r.left() + r.width();
}
int plotBottom(const QRect& r) {
    return r.top() + r.height();
}

// Text rotated by `tenths` of a degree counter-clockwise, its bounding box placed by the caller:
// the returned size is that of the box, draw() puts the box's top-left corner at `at`.
struct RotatedText {
    QString text;
    QFont font;
    double degrees = 0;

    QRectF box() const {
        const QFontMetrics metrics(font);
        QTransform turn;
        turn.rotate(-degrees);
        return turn.mapRect(QRectF(0, 0, metrics.horizontalAdvance(text), metrics.height()));
    }
    void draw(QPainter& painter, QPointF at) const {
        const QRectF bounds = box();
        const QFontMetrics metrics(font);
        painter.save();
        painter.setFont(font);
        painter.translate(at - bounds.topLeft());
        painter.rotate(-degrees);
        painter.drawText(QPointF(0, metrics.ascent()), text);
        painter.restore();
    }
};

} // namespace

QColor CVantorGraphCtrl::Private::color(int paletteIndex) const {
    const QColor ambient =
        (q->parentWidget() ? q->parentWidget()->palette() : q->palette()).color(QPalette::Window);
    return paletteColor(paletteIndex, ambient);
}

int CVantorGraphCtrl::Private::pixelOfY(double y) const {
    return GraphScale::yToPixel(y, props.YAxisMin, props.YAxisMax, originBottom(), axisOrigin.height());
}

void CVantorGraphCtrl::paintEvent(QPaintEvent*) {
    // Drawn off-screen first and copied in one block, so the control never flickers.
    QImage buffer(size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter offscreen(&buffer);
        paint(offscreen, rect());
    }
    QPainter painter(this);
    painter.drawImage(0, 0, buffer);
}

void CVantorGraphCtrl::paint(QPainter& painter, const QRect& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    d->layOut(painter, rect);
    d->paintBands(painter);
    d->paintTitle(painter);
    d->paintAxes(painter);
    int labelsBottom = plotBottom(d->plot);
    int labelsLeft = d->plot.left();
    d->paintXAxisScale(painter, labelsBottom);
    d->paintYAxisScale(painter, labelsLeft);
    d->paintCaptions(painter, labelsBottom, labelsLeft);
    // The run-speed marker goes under the traces, so the 1x line it marks is never hidden by it;
    // so do the bands and the host's underlay when the host asks for drawings behind the data.
    d->paintRunSpeed(painter);
    if (d->drawingsBehindData)
        d->paintFrequencyBands(painter);
    if (d->underlay) {
        painter.save();
        d->underlay(painter);
        painter.restore();
    }
    d->paintTraces(painter);
    d->paintMarkers(painter);
    if (!d->drawingsBehindData)
        d->paintFrequencyBands(painter);
    d->paintCursors(painter);
    d->dataChanged = false;
    painter.restore();
}

// Steps 1 to 3: border, control background, title height, plot rectangle and axis origin.
void CVantorGraphCtrl::Private::layOut(QPainter& painter, const QRect& rect) {
    const GraphProperties& p = props;
    // Border (stock BorderStyle 1): a flat black line or a sunken 3-D edge; the client area lies inside.
    client = rect;
    if (p.BorderStyle == 1) {
        if (p.Appearance == 1) {
            painter.fillRect(rect, QColor(255, 255, 255));
            painter.fillRect(QRect(rect.topLeft(), QSize(rect.width() - 1, rect.height() - 1)),
                             QColor(128, 128, 128));
            painter.fillRect(rect.adjusted(1, 1, -1, -1), QColor(212, 208, 200));
            painter.fillRect(rect.adjusted(1, 1, -2, -2), QColor(64, 64, 64));
            client = rect.adjusted(2, 2, -2, -2);
        } else {
            painter.fillRect(rect, QColor(0, 0, 0));
            client = rect.adjusted(1, 1, -1, -1);
        }
    }
    painter.fillRect(client, color(p.ControlBackGroundColor));

    graphArea = client;
    if (p.GraphTitleOn == 1) {
        const QFont titleFont = graphTextFont(
            p.GraphTextFont, {p.GraphTitleSize, p.GraphTitleBoldOn == 1, p.GraphTitleUnderlineOn == 1});
        graphArea.setTop(client.top() + QFontMetrics(titleFont).height());
    }

    const QRect& area = graphArea;
    const int left = static_cast<int>(area.width() * p.GraphLeftMarginPercent / 100.0);
    const int right = static_cast<int>(area.width() * p.GraphRightMarginPercent / 100.0);
    const int top = static_cast<int>(area.height() * p.GraphTopMarginPercent / 100.0);
    const int bottom = static_cast<int>(area.height() * p.GraphBottomMarginPercent / 100.0);
    plot = QRect(QPoint(area.left() + left, area.top() + top),
                 QSize(std::max(0, area.width() - left - right), std::max(0, area.height() - top - bottom)));
    painter.fillRect(plot, color(p.GraphBackGroundColor));

    // The axis origin: with the waterfall on, the rear traces' shift is taken out of the plot.
    axisOrigin = plot;
    if (p.GraphWaterfallOn) {
        props.XAxisOffset = clampedWaterfallOffset(p.XAxisOffset, plot.width(), p.MainAxisWidthMinPercent);
        props.YAxisOffset = clampedWaterfallOffset(p.YAxisOffset, plot.height(), p.MainAxisHeightMinPercent);
        const int behind = std::max(0, tracedSeriesWithPoints() - 1);
        axisOrigin.setRight(std::max(plot.left(), plot.right() - behind * p.XAxisOffset));
        axisOrigin.setTop(std::min(plotBottom(plot), plot.top() + behind * p.YAxisOffset));
    }
}

// Step 4: the alarm bands.
void CVantorGraphCtrl::Private::paintBands(QPainter& painter) {
    GraphProperties& p = props;
    const int count = std::clamp<int>(p.NumberofBands, 0, 3);
    if (count == 0)
        return;
    std::array<double*, 6> limits = {&p.Band1Min, &p.Band1Max, &p.Band2Min,
                                     &p.Band2Max, &p.Band3Min, &p.Band3Max};
    const std::array<short, 3> colours = {p.Band1Color, p.Band2Color, p.Band3Color};
    if (p.BandAxis == 0 && count == 3) {
        // With three bands the stored limits themselves are brought into the axis (the host reads
        // them back so).
        const double lo = std::min(p.YAxisMin, p.YAxisMax);
        const double hi = std::max(p.YAxisMin, p.YAxisMax);
        for (double* limit : limits)
            *limit = std::clamp(*limit, lo, hi);
    }
    const QRect& o = axisOrigin;
    for (int band = 0; band < count; ++band) {
        const double min = *limits[static_cast<std::size_t>(2 * band)];
        const double max = *limits[static_cast<std::size_t>(2 * band + 1)];
        QRect area;
        if (p.BandAxis == 0) {
            const int top = std::max(pixelOfY(max), o.top());
            const int bottom = std::min(pixelOfY(min), originBottom());
            area = spanRect(o.left(), top, plotRight(o), bottom);
        } else {
            area = spanRect(pixelOfX(min), o.top(), pixelOfX(max), originBottom());
        }
        if (area.width() > 0 && area.height() > 0)
            painter.fillRect(area, color(colours[static_cast<std::size_t>(band)]));
    }
}

// Step 5: the title, centred on the graph area above the plot.
void CVantorGraphCtrl::Private::paintTitle(QPainter& painter) {
    const GraphProperties& p = props;
    if (p.GraphTitleOn != 1 || p.GraphTitle.isEmpty())
        return;
    const QFont font = graphTextFont(
        p.GraphTextFont, {p.GraphTitleSize, p.GraphTitleBoldOn == 1, p.GraphTitleUnderlineOn == 1});
    const QFontMetrics metrics(font);
    const int top = std::max(client.top(), (graphArea.top() + plot.top()) / 2 - metrics.height());
    painter.setFont(font);
    painter.setPen(color(p.GraphTitleColor));
    painter.drawText(QRect(graphArea.left(), top, graphArea.width(), metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, p.GraphTitle);
}

// Step 7: the axes, and with the waterfall one pair per trace joined into a box.
void CVantorGraphCtrl::Private::paintAxes(QPainter& painter) {
    const GraphProperties& p = props;
    const QRect& o = axisOrigin;
    const QPoint corner(o.left(), originBottom());
    const QPoint xEnd(plotRight(o), originBottom());
    const QPoint yEnd(o.left(), o.top());
    QPen solid(QColor(0, 0, 0), AxisPenWidth, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(solid);
    painter.drawLine(corner, xEnd);
    painter.drawLine(corner, yEnd);
    if (!p.GraphWaterfallOn)
        return;
    const int traces = tracedSeriesWithPoints();
    if (traces <= 1)
        return;
    const QPoint step(p.XAxisOffset, -p.YAxisOffset);
    QPen dotted(QColor(0, 0, 0), 1, Qt::DotLine);
    painter.setPen(dotted);
    for (int i = 1; i < traces; ++i) {
        painter.drawLine(corner + i * step, xEnd + i * step);
        painter.drawLine(corner + i * step, yEnd + i * step);
    }
    const QPoint rear = (traces - 1) * step;
    painter.drawLine(yEnd, yEnd + rear);
    painter.drawLine(xEnd, xEnd + rear);
    painter.drawLine(corner, corner + rear);
    painter.drawLine(yEnd + rear, QPoint(xEnd.x(), yEnd.y()) + rear);
    painter.drawLine(xEnd + rear, QPoint(xEnd.x(), yEnd.y()) + rear);
}

// Steps 6, 8 and 9 for the X axis: ticks or grid lines and the value labels.
void CVantorGraphCtrl::Private::paintXAxisScale(QPainter& painter, int& labelsBottom) {
    GraphProperties& p = props;
    const auto type = static_cast<GraphScale::XAxisType>(p.XAxisType);
    if (type == GraphScale::XAxisType::Time) {
        p.XAxisCaption = GraphScale::timeCaption(p.XAxisMax);
    } else if (type == GraphScale::XAxisType::Dates) {
        p.XAxisCaptionOn = 0;
        p.XAxisCaption.clear();
    }
    if (p.XAxisMarkerStyle != 1 && p.XAxisMarkerStyle != 2)
        return;
    const QList<double> ticks =
        GraphScale::xAxisTicks(static_cast<GraphScale::MarkerMethod>(p.XAxisMarkerMethod), type, p.XAxisMin,
                               p.XAxisMax, p.XAxisMarkerSpacing, series);
    const QRect& o = axisOrigin;
    const int bottom = originBottom();
    painter.setPen(p.XAxisMarkerStyle == 1 ? QPen(QColor(0, 0, 0), 1)
                                           : QPen(QColor(128, 128, 128), 1, Qt::DotLine));
    for (double tick : ticks) {
        const int x = pixelOfX(tick);
        if (p.XAxisMarkerStyle == 1)
            painter.drawLine(x, bottom - TickHalfLength, x, bottom + TickHalfLength);
        else
            painter.drawLine(x, o.top(), x, bottom);
    }
    if (p.XAxisValuesOn != 1)
        return;

    QStringList texts;
    xLabelDecimals = std::clamp<int>(p.XAxisValuesDP, 0, GraphScale::MaxLabelDecimals);
    switch (type) {
    case GraphScale::XAxisType::Time: {
        for (double tick : ticks)
            texts.append(GraphScale::timeLabel(tick));
        // Whole seconds cannot tell apart the ticks of a waveform shorter than a few seconds: such
        // an axis is labelled in seconds with as many decimals as it takes.
        if (std::adjacent_find(texts.begin(), texts.end()) != texts.end() && p.XAxisMax < 60) {
            const GraphScale::TickLabels labels =
                GraphScale::numericLabels(ticks, p.XAxisValuesDP, true, sharedNumberFormat());
            texts = labels.texts;
            xLabelDecimals = labels.decimals;
        }
        break;
    }
    case GraphScale::XAxisType::Dates: {
        const QDateTime base = GraphScale::datesBase(series);
        for (double tick : ticks)
            texts.append(base.isValid() ? GraphScale::dateLabel(base, tick) : QString());
        break;
    }
    default: {
        const bool raise = p.XAxisType == 0 && p.XAxisMarkerMethod == 1;
        const GraphScale::TickLabels labels =
            GraphScale::numericLabels(ticks, p.XAxisValuesDP, raise, sharedNumberFormat());
        texts = labels.texts;
        xLabelDecimals = labels.decimals;
    }
    }
    const QFont font = graphTextFont(p.GraphTextFont, {p.XAxisValuesSize, false, false});
    painter.setFont(font);
    painter.setPen(color(p.XAxisValuesColor));
    const int top = bottom + LabelGap;
    const double angle = type == GraphScale::XAxisType::Dates ? DatesLabelAngle / 10.0 : 0.0;
    for (qsizetype i = 0; i < ticks.size(); ++i) {
        // Each label's (rotated) box centred under its tick.
        const RotatedText label{texts[i], font, angle};
        const QRectF box = label.box();
        const int x = pixelOfX(ticks[i]);
        label.draw(painter, QPointF(x - box.width() / 2.0, top));
        labelsBottom = std::max(labelsBottom, static_cast<int>(std::ceil(top + box.height())));
    }
}

// Steps 8 and 9 for the Y axis.
void CVantorGraphCtrl::Private::paintYAxisScale(QPainter& painter, int& labelsLeft) {
    const GraphProperties& p = props;
    if (p.YAxisMarkerStyle != 1 && p.YAxisMarkerStyle != 2)
        return;
    const QList<double> ticks =
        GraphScale::yAxisTicks(static_cast<GraphScale::MarkerMethod>(p.YAxisMarkerMethod), p.YAxisMin,
                               p.YAxisMax, p.YAxisMarkerSpacing);
    const QRect& o = axisOrigin;
    painter.setPen(p.YAxisMarkerStyle == 1 ? QPen(QColor(0, 0, 0), 1)
                                           : QPen(QColor(128, 128, 128), 1, Qt::DotLine));
    for (double tick : ticks) {
        const int y = pixelOfY(tick);
        if (p.YAxisMarkerStyle == 1)
            painter.drawLine(o.left() - TickHalfLength, y, o.left() + TickHalfLength, y);
        else
            painter.drawLine(o.left(), y, plotRight(o), y);
    }
    if (p.YAxisValuesOn != 1)
        return;
    const GraphScale::TickLabels labels =
        GraphScale::numericLabels(ticks, p.YAxisValuesDP, false, sharedNumberFormat());
    yLabelDecimals = labels.decimals;
    const QFont font = graphTextFont(p.GraphTextFont, {p.YAxisValuesSize, false, false});
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(color(p.YAxisValuesColor));
    const int right = o.left() - LabelGap;
    for (qsizetype i = 0; i < ticks.size(); ++i) {
        const int width = metrics.horizontalAdvance(labels.texts[i]);
        const int y = pixelOfY(ticks[i]);
        const QRect box(right - width, y - metrics.height() / 2, width, metrics.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, labels.texts[i]);
        labelsLeft = std::min(labelsLeft, box.left());
    }
}

// Step 10: the captions.
void CVantorGraphCtrl::Private::paintCaptions(QPainter& painter, int labelsBottom, int labelsLeft) {
    const GraphProperties& p = props;
    const int controlBottom = plotBottom(client);
    if (p.XAxisCaptionOn == 1 && !p.XAxisCaption.isEmpty()) {
        const QFont font = graphTextFont(p.GraphTextFont, {p.XAxisCaptionSize, false, false});
        const QFontMetrics metrics(font);
        const int middle = (labelsBottom + controlBottom) / 2;
        painter.setFont(font);
        painter.setPen(color(p.XAxisCaptionColor));
        painter.drawText(QRect(plot.left(), middle - metrics.height() / 2, plot.width(), metrics.height()),
                         Qt::AlignHCenter | Qt::AlignVCenter, p.XAxisCaption);
    }
    if (p.YAxisCaptionOn == 1 && !p.YAxisCaption.isEmpty()) {
        const QFont font = graphTextFont(p.GraphTextFont, {p.YAxisCaptionSize, false, false});
        const RotatedText caption{p.YAxisCaption, font, YCaptionAngle / 10.0};
        const QRectF box = caption.box();
        // Half-way between the control's left edge and the Y labels, centred on the plot height.
        const double left =
            std::max<double>(client.left(), (client.left() + labelsLeft) / 2.0 - box.width() / 2.0);
        painter.setPen(color(p.YAxisCaptionColor));
        caption.draw(painter, QPointF(left, plot.top() + (plot.height() - box.height()) / 2.0));
    }
}

// Step 11: the traces, last series first so that series 0 ends on top, each reduced per pixel
// column. The screen position of every point is recorded on the way.
void CVantorGraphCtrl::Private::paintTraces(QPainter& painter) {
    const GraphProperties& p = props;
    const QRect& o = axisOrigin;
    const int width = o.width();
    const int bottom = originBottom();

    // Waterfall: trace i (in series order among the drawn ones) is shifted back by i offsets.
    std::vector<int> shiftIndex(static_cast<std::size_t>(series.count()), 0);
    int drawn = 0;
    for (int i = 0; i < series.count(); ++i) {
        if (series[i].traceOn && series[i].pointCount() > 0)
            shiftIndex[static_cast<std::size_t>(i)] = drawn++;
    }

    painter.save();
    painter.setClipRect(QRect(plot.left(), plot.top(), plot.width() + 1, plot.height() + 1),
                        Qt::IntersectClip);
    for (int i = series.count() - 1; i >= 0; --i) {
        GraphSeries& s = series[i];
        if (!s.traceOn || s.points.empty())
            continue;
        const int shift = p.GraphWaterfallOn ? shiftIndex[static_cast<std::size_t>(i)] : 0;
        const int dx = shift * p.XAxisOffset;
        const int dy = -shift * p.YAxisOffset;
        QPen pen(colorFromRgbValue(s.lineColor), s.lineWidth, s.lineStyle == 1 ? Qt::DashLine : Qt::SolidLine,
                 Qt::SquareCap, Qt::MiterJoin);
        painter.setPen(pen);
        const GraphSeries::Layout layout{s.generation, p.XAxisMin, p.XAxisMax,   p.YAxisMin, p.YAxisMax, o,
                                         dx,           dy,         p.FFTGraphOn, true};
        if (!(layout == s.layout)) {
            layOutTrace(s, layout, width, bottom);
            s.layout = layout;
        }
        if (p.FFTGraphOn)
            painter.drawLines(s.bars.data(), static_cast<int>(s.bars.size()));
        else if (s.points.size() > 1) // a single point shows only its marker
            painter.drawPolyline(s.envelope);
    }
    painter.restore();
}

// The trace reduced per pixel column under the layout's mapping (the screen positions of the
// points follow from the same layout when asked for).
void CVantorGraphCtrl::Private::layOutTrace(GraphSeries& s, const GraphSeries::Layout& layout, int width,
                                            int bottom) {
    const TraceMapping map = traceMapping(layout);
    s.envelope.clear();
    s.bars.clear();
    if (layout.spectrum)
        s.bars = reduceSpectrum(s.points, map, s.ordered(),
                                SpectrumReducer(layout.origin.left() + layout.dx, width,
                                                layout.origin.top() + layout.dy, bottom + layout.dy));
    else
        s.envelope = reduceTrace(s.points, map, s.ordered());
}

// Step 12: every point's own marker, where it lies inside the plot.
void CVantorGraphCtrl::Private::paintMarkers(QPainter& painter) {
    const GraphProperties& p = props;
    if (!p.PointMarkersOn)
        return;
    const QRect inside = spanRect(plot.left(), plot.top(), plotRight(plot) + 1, plotBottom(plot) + 1);
    for (int i = series.count() - 1; i >= 0; --i) {
        const GraphSeries& s = series[i];
        if (!s.traceOn)
            continue;
        const std::vector<QPoint>& screen = s.screenPositions();
        int previous = -1;
        for (int j = 0; j < s.pointCount(); ++j) {
            const QPoint at = screen[static_cast<std::size_t>(j)];
            const PointInfo& point = s.info[static_cast<std::size_t>(j)];
            const int r = point.markerRadius;
            if (r <= 0 || !inside.contains(at))
                continue;
            // The same marker at the same pixel paints the same pixels: dense series skip repeats.
            if (previous >= 0) {
                const PointInfo& last = s.info[static_cast<std::size_t>(previous)];
                if (screen[static_cast<std::size_t>(previous)] == at && last.markerRadius == r &&
                    last.markerShape == point.markerShape && last.markerFill == point.markerFill &&
                    last.markerColor == point.markerColor)
                    continue;
            }
            previous = j;
            const QColor ink = color(point.markerColor);
            const QColor fill = point.markerFill == 0 ? ink : QColor(255, 255, 255);
            const int x = at.x();
            const int y = at.y();
            const int e = ((r - s.lineWidth) % 2 != 0) ? 1 : 0;
            switch (point.markerShape) {
            case 0: {
                painter.setPen(QPen(ink, 1));
                painter.setBrush(fill);
                painter.drawEllipse(QRect(QPoint(x - r, y - r), QPoint(x + r + e - 1, y + r + e - 1)));
                break;
            }
            case 1: {
                const QRect box = spanRect(x - r, y - r, x + r + e, y + r + e);
                painter.fillRect(box, ink);
                painter.fillRect(box.adjusted(1, 1, -1, -1), fill);
                break;
            }
            case 2:
                painter.setPen(QPen(ink, 1));
                painter.setBrush(fill);
                painter.drawPolygon(QPolygon({QPoint(x, y - r), QPoint(x - r, y + r), QPoint(x + r, y + r)}));
                break;
            case 3:
                painter.setPen(QPen(ink, 1));
                painter.setBrush(fill);
                painter.drawPolygon(
                    QPolygon({QPoint(x, y - r), QPoint(x + r, y), QPoint(x, y + r), QPoint(x - r, y)}));
                break;
            default:
                break;
            }
        }
    }
    painter.setBrush(Qt::NoBrush);
}

// Step 13: the frequency bands with their alarm levels, open where they leave the view.
void CVantorGraphCtrl::Private::paintFrequencyBands(QPainter& painter) {
    const GraphProperties& p = props;
    if (!p.FFTBandsOn)
        return;
    const std::array<std::array<float, 3>, 4> bands = {
        {{p.FFTBand1FMin, p.FFTBand1FMax, p.FFTBand1AlarmLevel},
         {p.FFTBand2FMin, p.FFTBand2FMax, p.FFTBand2AlarmLevel},
         {p.FFTBand3FMin, p.FFTBand3FMax, p.FFTBand3AlarmLevel},
         {p.FFTBand4FMin, p.FFTBand4FMax, p.FFTBand4AlarmLevel}}};
    auto inX = [&](double x) {
        return x >= std::min(p.XAxisMin, p.XAxisMax) && x <= std::max(p.XAxisMin, p.XAxisMax);
    };
    auto inY = [&](double y) {
        return y >= std::min(p.YAxisMin, p.YAxisMax) && y <= std::max(p.YAxisMin, p.YAxisMax);
    };
    const QRect& o = axisOrigin;
    const int bottom = originBottom();
    painter.setPen(QPen(color(2), 1, Qt::DotLine));
    for (const auto& band : bands) {
        const double fMin = band[0];
        const double fMax = band[1];
        const double level = band[2];
        const int top = inY(level) ? pixelOfY(level) : o.top();
        if (inX(fMin))
            painter.drawLine(pixelOfX(fMin), bottom, pixelOfX(fMin), top);
        if (inX(fMax))
            painter.drawLine(pixelOfX(fMax), bottom, pixelOfX(fMax), top);
        if (inY(level) && fMax >= p.XAxisMin && fMin <= p.XAxisMax) {
            const int left = inX(fMin) ? pixelOfX(fMin) : o.left();
            const int right = inX(fMax) ? pixelOfX(fMax) : plotRight(o);
            painter.drawLine(left, top, right, top);
        }
    }
}

// Step 14: the running-speed marker below the plot with its "1x RS" label.
void CVantorGraphCtrl::Private::paintRunSpeed(QPainter& painter) {
    const GraphProperties& p = props;
    if (!showRunSpeed || p.GraphWaterfallOn || runSpeed < p.XAxisMin || runSpeed > p.XAxisMax)
        return;
    const int x = pixelOfX(runSpeed);
    const int bottom = plotBottom(plot);
    const int end = bottom + (plotBottom(client) - bottom) / 3;
    painter.setPen(QPen(color(1), 2, Qt::DashLine, Qt::FlatCap));
    painter.drawLine(x, plot.top(), x, end);
    const QFont font = graphTextFont(
        p.GraphTextFont, {std::min<int>(p.XAxisValuesSize, RunSpeedLabelMaxHeight), false, false});
    const QFontMetrics metrics(font);
    const QString label = QStringLiteral("1x RS");
    const QSize size(metrics.horizontalAdvance(label) + 2, metrics.height() + 2);
    const QRect box(QPoint(x - size.width() / 2, end + 2), size);
    painter.fillRect(box, QColor(255, 255, 255));
    painter.setPen(QPen(color(1), 1));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter, label);
}

// Step 15: the cursors of the current type, with their handle boxes above the plot; the line
// and handle rectangles are recorded for grabbing.
void CVantorGraphCtrl::Private::paintCursors(QPainter& painter) {
    const GraphProperties& p = props;
    auto forget = [](QRect& line, QRect& handle) { line = handle = QRect(); };
    forget(cursors.simple.lineRect, cursors.simple.handleRect);
    forget(cursors.runSpeed.lineRect, cursors.runSpeed.handleRect);
    for (GraphCursor& c : cursors.harmonic)
        forget(c.lineRect, c.handleRect);
    for (BearingFault& fault : cursors.faults)
        for (FaultHarmonic& h : fault.harmonics)
            forget(h.lineRect, h.handleRect);
    if (!p.CursorEnabled)
        return;

    const QFont font = graphTextFont(
        p.GraphTextFont, {std::min<int>(p.XAxisValuesSize, RunSpeedLabelMaxHeight), false, false});
    const QFontMetrics metrics(font);
    painter.setFont(font);
    const int top = plot.top();
    const int bottom = plotBottom(plot);
    std::vector<QRect> placedHandles;
    auto draw = [&](double x, const QString& label, const QColor& ink, const QColor& fill, QRect& lineRect,
                    QRect& handleRect) {
        if (x < p.XAxisMin || x > p.XAxisMax)
            return;
        const int px = pixelOfX(x);
        // Dashed, so that the peak a cursor stands on still shows through its line.
        painter.setPen(QPen(ink, 1, Qt::DashLine));
        painter.drawLine(px, top, px, bottom - 1);
        painter.setPen(QPen(ink, 1));
        const QSize size(std::max(metrics.horizontalAdvance(label) + 4, 9), metrics.height() + 2);
        // Above the plot where the margin leaves room, else just inside its top.
        const int handleTop = top - size.height() >= client.top() ? top - size.height() : top;
        handleRect = QRect(QPoint(px - size.width() / 2, handleTop), size);
        // A label that would cover one drawn before it goes a row lower, so close lines (2x and 3x
        // on a wide span) never run their labels together.
        for (int row = 0; row < MostCursorLabelRows; ++row) {
            const bool covers =
                std::any_of(placedHandles.begin(), placedHandles.end(),
                            [&](const QRect& placed) { return placed.intersects(handleRect); });
            if (!covers)
                break;
            handleRect.translate(0, size.height());
        }
        placedHandles.push_back(handleRect);
        lineRect = spanRect(px - CursorGrabHalfWidth, top, px + CursorGrabHalfWidth + 1, bottom);
        painter.fillRect(handleRect, fill);
        painter.drawRect(handleRect.adjusted(0, 0, -1, -1));
        painter.setPen(QColor(0, 0, 0));
        painter.drawText(handleRect, Qt::AlignCenter, label);
    };
    switch (static_cast<CursorKind>(p.CursorType)) {
    case CursorKind::Simple:
        draw(cursors.simple.x, QString(), color(2), HandleFill, cursors.simple.lineRect,
             cursors.simple.handleRect);
        break;
    case CursorKind::Harmonic:
        for (int i = 0; i < static_cast<int>(cursors.harmonic.size()); ++i) {
            GraphCursor& c = cursors.harmonic[static_cast<std::size_t>(i)];
            const QString label = i == 0 ? QStringLiteral("F") : QString::asprintf("%dx", i + 1);
            draw(c.x, label, color(9), i == cursors.selectedHarmonic ? SelectedHandleFill : HandleFill,
                 c.lineRect, c.handleRect);
        }
        break;
    case CursorKind::Bearing:
        for (BearingFault& fault : cursors.faults)
            for (FaultHarmonic& h : fault.harmonics)
                draw(h.x, h.label, fault.color, HandleFill, h.lineRect, h.handleRect);
        draw(cursors.runSpeed.x, QStringLiteral("1x RS"), color(1), SelectedHandleFill,
             cursors.runSpeed.lineRect, cursors.runSpeed.handleRect);
        break;
    case CursorKind::None:
        break;
    }
}
