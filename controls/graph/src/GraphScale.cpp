#include "GraphScale.h"

#include "NumberFormat.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace GraphScale {

int xToPixel(double x, double xMin, double xMax, int plotLeft, int plotWidth) {
    return Mapping(xMin, xMax, plotLeft, plotWidth).pixel(x);
}

int yToPixel(double y, double yMin, double yMax, int plotBottom, int plotHeight) {
    return Mapping(yMin, yMax, plotBottom, -plotHeight).pixel(y);
}

double pixelToX(int px, double xMin, double xMax, int plotLeft, int plotWidth) {
    if (plotWidth == 0)
        return xMin;
    return xMin + static_cast<double>(px - plotLeft) / plotWidth * (xMax - xMin);
}

double pixelToY(int py, double yMin, double yMax, int plotBottom, int plotHeight) {
    if (plotHeight == 0)
        return yMin;
    return yMin + static_cast<double>(plotBottom - py) / plotHeight * (yMax - yMin);
}

QList<double> numberOfTicks(double min, double max, double intervals, bool countDownFromMax) {
    QList<double> ticks;
    if (!(intervals >= 0))
        return ticks;
    // No intervals: the one tick at the start of the count (the step would be infinite).
    const double step = intervals > 0 ? (max - min) / intervals : 0.0;
    for (int i = 0; i <= intervals && i < MaxTicks; ++i)
        ticks.append(countDownFromMax ? max - i * step : min + i * step);
    return ticks;
}

QList<double> spacedTicks(double min, double max, double spacing) {
    QList<double> ticks;
    // A spacing of 0 would place infinitely many ticks.
    if (!(spacing > 0))
        return ticks;
    const double fits = std::trunc((max - min) / spacing);
    const int count = static_cast<int>(std::min<double>(fits, MaxTicks));
    for (int i = 1; i <= count; ++i)
        ticks.append(min + i * spacing);
    return ticks;
}

QList<double> exactTicks(const SeriesList& series, double min, double max) {
    QList<double> ticks;
    for (const GraphSeries& s : series) {
        if (!s.traceOn)
            continue;
        for (const GraphPoint& point : s.points) {
            if (point.x >= min && point.x <= max && ticks.size() < MaxTicks)
                ticks.append(point.x);
        }
    }
    return ticks;
}

QList<double> xAxisTicks(MarkerMethod method, XAxisType type, double min, double max, double spacing,
                         const SeriesList& series) {
    switch (method) {
    case MarkerMethod::TickSpacing:
        return spacedTicks(min, max, spacing);
    case MarkerMethod::NumberOfTicks:
        return numberOfTicks(min, max, spacing, false);
    case MarkerMethod::Exact:
        return type == XAxisType::Dates ? exactTicks(series, min, max) : QList<double>{};
    }
    return {};
}

QList<double> yAxisTicks(MarkerMethod method, double min, double max, double spacing) {
    switch (method) {
    case MarkerMethod::TickSpacing:
        return spacedTicks(min, max, spacing);
    case MarkerMethod::NumberOfTicks:
        return numberOfTicks(min, max, spacing, true);
    case MarkerMethod::Exact:
        break;
    }
    return {};
}

QString timeCaption(double xMax) {
    const QStringList host = controlTimeCaptions();
    const int unit = xMax < 60 ? 0 : (xMax < 3600 ? 1 : 2);
    if (!host.isEmpty())
        return host.at(unit);
    static const QString documented[] = {QStringLiteral("time (secs)"), QStringLiteral("time (mins)"),
                                         QStringLiteral("time (hours)")};
    return documented[unit];
}

QString timeLabel(double seconds) {
    const long s = static_cast<long>(seconds);
    const long h = s / 3600;
    const long m = (s - 3600 * h) / 60;
    const long sec = s % 60;
    if (h > 0)
        return QString::asprintf("%ld:%02ld:%02ld", h, m, sec);
    if (m > 0)
        return QString::asprintf("%ld:%02ld", m, sec);
    return QString::asprintf("%ld", sec);
}

QDateTime datesBase(const SeriesList& series) {
    QDateTime base;
    for (const GraphSeries& s : series) {
        if (!s.traceOn)
            continue;
        if (s.points.empty())
            continue;
        s.info.forEachContext([&base](const PointInfo& point) {
            if (point.dateTime.isValid() && (!base.isValid() || point.dateTime < base))
                base = point.dateTime;
        });
    }
    return base;
}

QString dateLabel(const QDateTime& base, double minutes) {
    const QDateTime at = base.addMSecs(static_cast<qint64>(std::llround(minutes * 60000.0)));
    return controlDateText(at.date());
}

namespace {
QStringList printed(const QList<double>& ticks, int decimals) {
    QStringList texts;
    texts.reserve(ticks.size());
    for (double tick : ticks)
        texts.append(QString::asprintf("%.*f", decimals, tick));
    return texts;
}

bool hasRepeat(const QStringList& texts) {
    return std::adjacent_find(texts.begin(), texts.end()) != texts.end();
}
} // namespace

TickLabels numericLabels(const QList<double>& ticks, int decimals, bool raiseOnRepeat,
                         const NumberFormat& format) {
    TickLabels labels;
    labels.decimals = std::clamp(decimals, 0, MaxLabelDecimals);
    if (raiseOnRepeat) {
        while (labels.decimals < MaxLabelDecimals && hasRepeat(printed(ticks, labels.decimals)))
            ++labels.decimals;
    }
    for (double tick : ticks)
        labels.texts.append(formatNumber(tick, labels.decimals, format));
    return labels;
}

} // namespace GraphScale
