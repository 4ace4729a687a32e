#include "graphviews/FaultOverlay.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QFontMetricsF>

#include <algorithm>
#include <array>

namespace vantor {
namespace {

constexpr std::array<Qt::PenStyle, kBearingsPerPoint> kBearingStyles = {Qt::SolidLine, Qt::DashLine,
                                                                        Qt::DotLine, Qt::DashDotLine};
constexpr double kLabelPadding = 2.0;
constexpr double kLegendSwatch = 14.0;
constexpr double kLegendMargin = 4.0;
constexpr int kHarmonicAlpha = 160;
constexpr int kSidebandAlpha = 110;
constexpr int kLabelGroundAlpha = 170;

QString HarmonicLabel(const OverlayFamily& family, int harmonic) {
    return harmonic == 1 ? family.label : QStringLiteral("%1x%2").arg(family.label).arg(harmonic);
}

} // namespace

QColor FaultColour(FaultKind kind) {
    switch (kind) {
    case FaultKind::Bpfi:
        return {192, 192, 0};
    case FaultKind::Bpfo:
        return {0, 192, 0};
    case FaultKind::Ftf:
        return {0, 192, 192};
    case FaultKind::Bsf:
        return {255, 160, 0};
    }
    return Qt::black;
}

QString FaultCursorLabel(FaultKind kind) {
    switch (kind) {
    case FaultKind::Bpfi:
        return QStringLiteral("IR");
    case FaultKind::Bpfo:
        return QStringLiteral("OR");
    case FaultKind::Ftf:
        return QStringLiteral("CG");
    case FaultKind::Bsf:
        return QStringLiteral("RE");
    }
    return {};
}

FaultOverlay MakeFaultOverlay(const std::vector<BearingAtPoint>& bearings, double runSpeedHz,
                              double frequencyFactor, int harmonics) {
    FaultOverlay overlay;
    const bool several = bearings.size() > 1;
    for (const FaultFamily& family : FaultFamiliesOf(bearings, runSpeedHz, harmonics)) {
        const BearingAtPoint& bearing = bearings[static_cast<std::size_t>(family.bearing)];
        OverlayFamily shown;
        const QString stem = FaultCursorLabel(family.kind);
        shown.label = several ? QStringLiteral("%1:%2").arg(family.bearing + 1).arg(stem) : stem;
        shown.legend = QStringLiteral("%1 %2 - %3 (%4)")
                           .arg(shown.label, FaultName(family.kind), bearing.location, bearing.designation);
        shown.colour = FaultColour(family.kind);
        shown.style = kBearingStyles[static_cast<std::size_t>(family.bearing) % kBearingStyles.size()];
        for (FamilyLine line : family.lines) {
            line.hz *= frequencyFactor;
            shown.lines.push_back(line);
        }
        overlay.families.push_back(std::move(shown));
    }
    return overlay;
}

std::vector<QRectF> PlaceLabels(const std::vector<std::pair<double, double>>& centresAndWidths,
                                const QRectF& area, double rowHeight, int rows,
                                const std::vector<QRectF>& obstacles) {
    std::vector<QRectF> placed(centresAndWidths.size());
    std::vector<std::vector<QRectF>> taken(static_cast<std::size_t>(std::max(rows, 0)));
    for (std::size_t i = 0; i < centresAndWidths.size(); ++i) {
        const auto [centre, width] = centresAndWidths[i];
        if (centre < area.left() || centre > area.right() || width > area.width()) {
            continue;
        }
        // A label of a line near a side is moved in just enough to fit (the low cage lines).
        const double left = std::clamp(centre - width / 2.0, area.left(), area.right() - width);
        for (std::size_t row = 0; row < taken.size(); ++row) {
            const QRectF rect(left, area.top() + static_cast<double>(row) * rowHeight, width, rowHeight);
            if (rect.bottom() > area.bottom()) {
                break;
            }
            const auto overlaps = [&rect](const QRectF& other) { return other.intersects(rect); };
            const bool free = std::none_of(taken[row].begin(), taken[row].end(), overlaps) &&
                              std::none_of(obstacles.begin(), obstacles.end(), overlaps);
            if (free) {
                taken[row].push_back(rect);
                placed[i] = rect;
                break;
            }
        }
    }
    return placed;
}

QRectF FrontTraceRect(const CVantorGraphCtrl& graph) {
    QRectF plot = graph.plotRect();
    if (graph.GetGraphWaterfallOn()) {
        // The control shifts trace i right by i x-offsets and up by i y-offsets and shrinks every
        // trace by the room the ones behind take.
        const int behind = std::max(0, static_cast<int>(graph.GetSeriesCount()) - 1);
        plot.setWidth(plot.width() - behind * graph.GetXAxisOffset());
        plot.setTop(plot.top() + behind * graph.GetYAxisOffset());
    }
    return plot;
}

OverlayLayout PaintFaultOverlay(QPainter& painter, const CVantorGraphCtrl& graph, const FaultOverlay& overlay,
                                OverlayParts parts) {
    const bool lines = parts != OverlayParts::LabelsAndLegend;
    const bool labelsAndLegend = parts != OverlayParts::Lines;
    OverlayLayout layout;
    const QRectF plot = FrontTraceRect(graph);
    const double minimum = graph.GetXAxisMin();
    const double maximum = graph.GetXAxisMax();
    if (plot.width() <= 0 || plot.height() <= 0 || !(maximum > minimum)) {
        return layout;
    }
    const auto xOf = [&](double value) {
        return plot.left() + (value - minimum) / (maximum - minimum) * plot.width();
    };

    painter.save();
    painter.setClipRect(plot);
    QFont font = painter.font();
    font.setPixelSize(std::max(9, static_cast<int>(plot.height() / 40)));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const double rowHeight = metrics.height() + kLabelPadding;

    // Lines first, then their labels placed harmonic by harmonic (the fundamentals first).
    struct Label {
        QString text;
        QColor colour;
        double x;
        int harmonic;
    };
    std::vector<Label> labels;
    for (const OverlayFamily& family : overlay.families) {
        if (!family.shown) {
            continue;
        }
        for (const FamilyLine& line : family.lines) {
            if (line.hz < minimum || line.hz > maximum) {
                continue;
            }
            const double x = xOf(line.hz);
            if (lines) {
                // Translucent, so the spectrum under a line stays readable.
                QColor colour = family.colour;
                colour.setAlpha(line.sideband == 0 ? kHarmonicAlpha : kSidebandAlpha);
                QPen pen(colour, line.sideband == 0 ? 1.5 : 1.0,
                         line.sideband == 0 ? family.style : Qt::DotLine);
                painter.setPen(pen);
                painter.drawLine(QPointF(x, plot.top() + rowHeight * kOverlayLabelRows),
                                 QPointF(x, plot.bottom()));
            }
            if (line.sideband == 0) {
                labels.push_back({HarmonicLabel(family, line.harmonic), family.colour, x, line.harmonic});
            }
        }
    }
    if (!labelsAndLegend) {
        painter.restore();
        return layout;
    }
    std::stable_sort(labels.begin(), labels.end(),
                     [](const Label& a, const Label& b) { return a.harmonic < b.harmonic; });
    std::vector<std::pair<double, double>> requests;
    for (const Label& label : labels) {
        requests.emplace_back(label.x, metrics.horizontalAdvance(label.text) + 2 * kLabelPadding);
    }
    std::vector<QRectF> cursorLabels;
    if (graph.GetCursorEnabled()) {
        for (const CVantorGraphCtrl::CursorReadout& cursor : graph.cursorReadouts()) {
            cursorLabels.emplace_back(cursor.handle);
        }
    }
    const std::vector<QRectF> rects = PlaceLabels(requests, plot, rowHeight, kOverlayLabelRows, cursorLabels);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (rects[i].isEmpty()) {
            continue;
        }
        painter.fillRect(rects[i], QColor(255, 255, 255, kLabelGroundAlpha));
        painter.setPen(labels[i].colour.darker(130));
        painter.drawText(rects[i], Qt::AlignCenter, labels[i].text);
        layout.labels.push_back(rects[i]);
    }

    // The legend: one row per shown family, at the plot's top right below the label rows.
    double width = 0;
    int rows = 0;
    for (const OverlayFamily& family : overlay.families) {
        if (family.shown) {
            width = std::max(width, metrics.horizontalAdvance(family.legend));
            ++rows;
        }
    }
    if (rows > 0) {
        const double legendWidth = width + kLegendSwatch + 3 * kLegendMargin;
        QRectF box(plot.right() - legendWidth - kLegendMargin, plot.top() + rowHeight * kOverlayLabelRows,
                   legendWidth, rows * metrics.height() + 2 * kLegendMargin);
        painter.setPen(QPen(QColor(128, 128, 128)));
        painter.setBrush(QColor(255, 255, 255, 220));
        painter.drawRect(box);
        layout.legend = box;
        double y = box.top() + kLegendMargin;
        for (const OverlayFamily& family : overlay.families) {
            if (!family.shown) {
                continue;
            }
            const double middle = y + metrics.height() / 2;
            painter.setPen(QPen(family.colour, 2.0, family.style));
            painter.drawLine(QPointF(box.left() + kLegendMargin, middle),
                             QPointF(box.left() + kLegendMargin + kLegendSwatch, middle));
            painter.setPen(Qt::black);
            painter.drawText(
                QRectF(box.left() + 2 * kLegendMargin + kLegendSwatch, y, width, metrics.height()),
                Qt::AlignLeft | Qt::AlignVCenter, family.legend);
            y += metrics.height();
        }
    }
    painter.restore();
    return layout;
}

void SetBearingCursorFrom(CVantorGraphCtrl& graph, const BearingAtPoint& bearing) {
    const double ratio = bearing.speedRatio;
    graph.SetBearingFault1Multiplier(FactorOf(bearing.factors, FaultKind::Bpfi) * ratio);
    graph.SetBearingFault2Multiplier(FactorOf(bearing.factors, FaultKind::Bpfo) * ratio);
    graph.SetBearingFault3Multiplier(FactorOf(bearing.factors, FaultKind::Ftf) * ratio);
    graph.SetBearingFault4Multiplier(FactorOf(bearing.factors, FaultKind::Bsf) * ratio);
}

} // namespace vantor
