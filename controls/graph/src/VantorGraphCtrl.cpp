#include "VantorGraphCtrlPrivate.h"

#include "GraphPalette.h"
#include "GraphPersistence.h"
#include "GraphScale.h"
#include "NumberFormat.h"

#include <VantorGraph/VantorGraphFactory.h>

#include <QFontMetrics>
#include <QLocale>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {

QString localeDateText(const QDateTime& dateTime) {
    return dateTime.isValid() ? controlDateText(dateTime.date()) : QString();
}

QString localeTimeText(const QDateTime& dateTime) {
    if (!dateTime.isValid())
        return {};
    // The long time format with seconds, without the time zone a bare time does not have.
    const QLocale locale = controlLocale();
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(dateTime.time(), format.trimmed());
}

bool isSkipOrIn(int value, int lo, int hi) {
    return value == SkipArgument || (value >= lo && value <= hi);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Private helpers

void CVantorGraphCtrl::Private::showMessage(const QString& text) {
    if (messagePort) {
        messagePort(text);
        return;
    }
    QMessageBox::warning(q, QString(), text, QMessageBox::Ok);
}

void CVantorGraphCtrl::Private::repaint() {
    ++repaintRequests;
    q->update();
}

int CVantorGraphCtrl::Private::tracedSeriesWithPoints() const {
    return static_cast<int>(std::count_if(
        series.begin(), series.end(), [](const GraphSeries& s) { return s.traceOn && s.pointCount() > 0; }));
}

short CVantorGraphCtrl::Private::clampedWaterfallOffset(short requested, int extent, short minPercent) const {
    const int behind = std::max(0, tracedSeriesWithPoints() - 1);
    // With no trace behind the front one there is nothing to shift; before the first layout there
    // is no extent to clamp against yet (the paint clamps again).
    if (behind == 0 || extent <= 0)
        return requested;
    const float minimum = static_cast<float>(extent) / 100.0f * minPercent;
    if (minimum <= static_cast<float>(extent - behind * requested))
        return requested;
    return static_cast<short>((static_cast<float>(extent) - minimum) / static_cast<float>(behind));
}

void CVantorGraphCtrl::Private::setMarkerSpacing(double& field, double value, short method, double axisMin,
                                                 double axisMax, const QString& message) {
    switch (method) {
    case 0:
        if (!(value >= 0 && value <= std::max(std::abs(axisMin), std::abs(axisMax)))) {
            showMessage(message);
            return;
        }
        field = value;
        break;
    case 1:
        field = value;
        break;
    default: // Exact places its ticks at the points; the spacing is not used
        break;
    }
    markModifiedAndRepaint();
}

// ---------------------------------------------------------------------------------------------
// Construction and container side

CVantorGraphCtrl::CVantorGraphCtrl(QWidget* parent) : QWidget(parent), d(std::make_unique<Private>(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    sharedNumberFormat();
}

CVantorGraphCtrl::~CVantorGraphCtrl() = default;

void CVantorGraphCtrl::setMessagePort(MessagePort port) {
    d->messagePort = std::move(port);
}

void CVantorGraphCtrl::resetToDefaults() {
    loadPropertyBag({});
}

void CVantorGraphCtrl::loadPropertyBag(const QVariantMap& bag) {
    loadPersisted(d->props, bag);
    const QVariant enabled = bag.value(QStringLiteral("Enabled"), true);
    QWidget::setEnabled(enabled.canConvert<bool>() ? enabled.toBool() : true);
    d->repaint();
}

QVariantMap CVantorGraphCtrl::savePropertyBag() const {
    QVariantMap bag = savePersisted(d->props);
    bag.insert(QStringLiteral("Enabled"), isEnabled());
    return bag;
}

QStringList CVantorGraphCtrl::persistedPropertyNames() {
    QStringList names = persistedNames();
    names.append(QStringLiteral("Enabled"));
    names.sort();
    return names;
}

bool CVantorGraphCtrl::isModified() const {
    return d->modified;
}
void CVantorGraphCtrl::setModified(bool modified) {
    d->modified = modified;
}
int CVantorGraphCtrl::repaintRequestCount() const {
    return d->repaintRequests;
}

int CVantorGraphCtrl::seriesPointCount(int series) const {
    return d->series.contains(series) ? d->series[series].pointCount() : -1;
}

QList<QPoint> CVantorGraphCtrl::seriesScreenPositions(int series) const {
    QList<QPoint> positions;
    if (!d->series.contains(series))
        return positions;
    for (const QPoint& at : d->series[series].screenPositions())
        positions.append(at);
    return positions;
}

QRect CVantorGraphCtrl::plotRect() const {
    return d->plot;
}

QVariantMap CVantorGraphCtrl::seriesPoint(int series, int point) const {
    if (!d->series.contains(series) || point < 0 || point >= d->series[series].pointCount())
        return {};
    const GraphPoint& plotted = d->series[series].points[static_cast<std::size_t>(point)];
    const PointInfo& p = d->series[series].info[static_cast<std::size_t>(point)];
    const QPoint at = d->series[series].screenPositions()[static_cast<std::size_t>(point)];
    return {
        {QStringLiteral("x"), plotted.x},
        {QStringLiteral("y"), plotted.y},
        {QStringLiteral("screenX"), at.x()},
        {QStringLiteral("screenY"), at.y()},
        {QStringLiteral("dateTime"), p.dateTime},
        {QStringLiteral("dateText"), p.dateText},
        {QStringLiteral("timeText"), p.timeText},
        {QStringLiteral("readingGuid"), p.readingGuid},
        {QStringLiteral("accelerometerSerial"), p.accelerometerSerial},
        {QStringLiteral("accelerometerMilliVolts"), p.accelerometerMilliVolts},
        {QStringLiteral("accelerometerTemperature"), p.accelerometerTemperature},
        {QStringLiteral("takenWithRfid"), p.takenWithRfid},
        {QStringLiteral("rfidCode"), p.rfidCode},
        {QStringLiteral("markerRadius"), p.markerRadius},
        {QStringLiteral("markerShape"), p.markerShape},
        {QStringLiteral("markerFill"), p.markerFill},
        {QStringLiteral("markerColor"), p.markerColor},
    };
}

// ---------------------------------------------------------------------------------------------
// Methods

void CVantorGraphCtrl::DoClick() {
    emit Click();
}

void CVantorGraphCtrl::AboutBox() {
    const QString text =
        QStringLiteral("%1, Version %2")
            .arg(QLatin1String(VantorGraphIds::ControlName), QLatin1String(VantorGraphIds::Version));
    if (d->messagePort) {
        d->messagePort(text);
        return;
    }
    QMessageBox::about(this, QStringLiteral("About %1").arg(QLatin1String(VantorGraphIds::ControlName)),
                       text);
}

void CVantorGraphCtrl::LanguageChanged() {
    reloadSharedNumberFormat();
}

void CVantorGraphCtrl::setDisplayLocale(const QLocale& locale, const QString& datePattern) {
    setControlLocale(locale, datePattern);
}

void CVantorGraphCtrl::resetDisplayLocale() {
    setControlLocale(std::nullopt, QString());
    setControlTimeCaptions({});
}

void CVantorGraphCtrl::setTimeAxisCaptions(const QString& seconds, const QString& minutes,
                                           const QString& hours) {
    setControlTimeCaptions({seconds, minutes, hours});
}

short CVantorGraphCtrl::RemoveSeriesConfig(short nSeriesNumber) {
    if (!d->series.contains(nSeriesNumber))
        return -1;
    d->series.remove(nSeriesNumber);
    return 0;
}

short CVantorGraphCtrl::GetSeriesCount() const {
    return static_cast<short>(d->series.count());
}

short CVantorGraphCtrl::SetSeriesPointMarker(short nSeriesNumber, const QDateTime& dateDateTime,
                                             short nMarkerRadius, short nMarkerShape, short nMarkerFill,
                                             short nMarkerColor) {
    if (!d->series.contains(nSeriesNumber) || d->series[nSeriesNumber].points.empty())
        return -1;
    PointInfoList& points = d->series[nSeriesNumber].info;
    std::size_t match = points.size() - 1;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].dateTime.isValid() && points[i].dateTime == dateDateTime) {
            match = i;
            break;
        }
    }
    PointInfo& point = points.own(match);
    point.markerRadius = nMarkerRadius;
    point.markerShape = nMarkerShape;
    point.markerFill = nMarkerFill;
    point.markerColor = nMarkerColor;
    d->markModifiedAndRepaint();
    return 0;
}

short CVantorGraphCtrl::ZoomMinMaxAndPercent(short iZoomPercent, double fXAxisZoomMin, double fXAxisZooomMax,
                                             double fYAxisZoomMin, double fYAxisZoomMax) {
    d->zoom = {iZoomPercent, static_cast<float>(fXAxisZoomMin), static_cast<float>(fXAxisZooomMax),
               static_cast<float>(fYAxisZoomMin), static_cast<float>(fYAxisZoomMax)};
    return 0;
}

void CVantorGraphCtrl::ShowRunSpeed(int abShow, float afRunSpeed) {
    d->showRunSpeed = abShow != 0;
    d->runSpeed = afRunSpeed;
    d->markModifiedAndRepaint();
}

short CVantorGraphCtrl::SetSeriesMarkerConfig(short nSeriesNumber, short nUnselectedRadius,
                                              short nUnselectedShape, short nUnselectedFill,
                                              int clrUnselectedColor, short nSelectedRadius,
                                              short nSelectedShape, short nSelectedFill,
                                              int clrSelectedColor) {
    if (!d->series.contains(nSeriesNumber))
        return -1;
    if (!isSkipOrIn(nUnselectedShape, 0, 3)) {
        d->showMessage(QStringLiteral("ERROR!! nUnselectedShape must be between 0 & 3 or SKIP(-1)!!"));
        return -1;
    }
    if (!isSkipOrIn(nUnselectedFill, 0, 1)) {
        d->showMessage(QStringLiteral("ERROR!! nUnselectedFill must be between 0 & 1 or SKIP(-1)!!"));
        return -1;
    }
    if (!isSkipOrIn(nSelectedShape, 0, 3)) {
        d->showMessage(QStringLiteral("ERROR!! nSelectedShape must be between 0 & 3 or SKIP(-1)!!"));
        return -1;
    }
    if (!isSkipOrIn(nSelectedFill, 0, 1)) {
        d->showMessage(QStringLiteral("ERROR!! nSelectedFill must be between 0 & 1 or SKIP(-1)!!"));
        return -1;
    }
    auto store = [](int& field, int value) {
        if (value != SkipArgument)
            field = value;
    };
    GraphSeries& s = d->series[nSeriesNumber];
    store(s.unselected.radius, nUnselectedRadius);
    store(s.unselected.shape, nUnselectedShape);
    store(s.unselected.fill, nUnselectedFill);
    store(s.unselected.color, clrUnselectedColor);
    store(s.selected.radius, nSelectedRadius);
    store(s.selected.shape, nSelectedShape);
    store(s.selected.fill, nSelectedFill);
    store(s.selected.color, clrSelectedColor);
    d->markModifiedAndRepaint();
    return 0;
}

short CVantorGraphCtrl::SetSeriesConfig(short nSeriesNumber, int clrLineColor, short nLineWidth,
                                        short nLineStyle, short nTraceOn) {
    if (!d->series.contains(nSeriesNumber))
        return -1;
    if (!isSkipOrIn(nLineWidth, 0, 20)) {
        d->showMessage(QStringLiteral("ERROR!! nLineWidth must be between 0 & 20 or SKIP(-1)!!"));
        return -1;
    }
    if (!isSkipOrIn(nLineStyle, 0, 1)) {
        d->showMessage(QStringLiteral("ERROR!! nLineStyle must be PS_SOLID(0) or PS_DASH(1) or SKIP(-1)!!"));
        return -1;
    }
    // Only a dashed line one pixel wide is drawn dashed; the stored width is not consulted.
    if (nLineWidth > 1 && nLineStyle == 1) {
        d->showMessage(QStringLiteral("ERROR!! nLineWidth must be 1 for nLineStyle or PS_DASH to work!!"));
        return -1;
    }
    if (!isSkipOrIn(nTraceOn, 0, 1)) {
        d->showMessage(QStringLiteral("ERROR!! nTraceOn must be a 0(false), 1(true) or SKIP(-1)!!"));
        return -1;
    }
    GraphSeries& s = d->series[nSeriesNumber];
    if (clrLineColor != SkipArgument)
        s.lineColor = clrLineColor;
    if (nLineWidth != SkipArgument)
        s.lineWidth = nLineWidth;
    if (nLineStyle != SkipArgument)
        s.lineStyle = nLineStyle;
    if (nTraceOn != SkipArgument)
        s.traceOn = nTraceOn == 1;
    d->markModifiedAndRepaint();
    return 0;
}

short CVantorGraphCtrl::AddSeriesConfig(int clrLineColor, short nLineWidth, short nLineStyle,
                                        short nTraceOn) {
    d->series.append();
    SetSeriesConfig(static_cast<short>(d->series.count() - 1), clrLineColor, nLineWidth, nLineStyle,
                    nTraceOn);
    return 0;
}

short CVantorGraphCtrl::SetSeriesData(short nSeriesNumber, float fXValue, float fYValue,
                                      const QDateTime& dateDateTime, const QString& sMPReadingGUID,
                                      const QString& sAccelerometerSN, float fAccelerometermV,
                                      float fAccelerometerTemp, int bTakenWithRFID, const QString& sRFIDCode,
                                      short iMarkerRadius, short iMarkerShape, short iMarkerFill,
                                      short iMarkerColor, short iAddClearUpdate) {
    if (!d->series.contains(nSeriesNumber))
        return -1;
    GraphSeries& s = d->series[nSeriesNumber];
    switch (iAddClearUpdate) {
    case 1:
        s.clear();
        return 0;
    case 0:
    case 2:
        break;
    default:
        d->showMessage(QStringLiteral("ERROR!! iAddClearUpdate must be a 0 & 2!!"));
        return -1;
    }
    GraphPoint plotted;
    plotted.x = fXValue;
    plotted.y = fYValue;
    PointInfo point;
    point.dateTime = dateDateTime;
    if (dateDateTime != d->textedDate || d->textedDateText.isNull()) {
        d->textedDate = dateDateTime;
        d->textedDateText = localeDateText(dateDateTime);
        d->textedTimeText = localeTimeText(dateDateTime);
    }
    point.dateText = d->textedDateText;
    point.timeText = d->textedTimeText;
    point.readingGuid = sMPReadingGUID;
    point.accelerometerSerial = sAccelerometerSN;
    point.accelerometerMilliVolts = fAccelerometermV;
    point.accelerometerTemperature = fAccelerometerTemp;
    point.takenWithRfid = bTakenWithRFID;
    point.rfidCode = sRFIDCode;
    point.markerRadius = iMarkerRadius;
    point.markerShape = iMarkerShape;
    point.markerFill = iMarkerFill;
    point.markerColor = iMarkerColor;
    s.touch();
    s.points.push_back(plotted);
    s.info.push_back(std::move(point));
    if (iAddClearUpdate == 2) {
        d->dataChanged = true;
        d->markModifiedAndRepaint();
    }
    return 0;
}

short CVantorGraphCtrl::SetSeriesDataArray(short nSeriesNumber, const QList<double>& pdXValueArray,
                                           const QList<double>& pdYValueArray, int bClear) {
    if (!d->series.contains(nSeriesNumber))
        return -1;
    GraphSeries& s = d->series[nSeriesNumber];
    s.clear();
    if (bClear != 1) {
        // Arrays of unequal length give the points that have both values.
        const auto count = static_cast<std::size_t>(std::min(pdXValueArray.size(), pdYValueArray.size()));
        s.points.resize(count);
        OrderCheck order;
        for (std::size_t i = 0; i < count; ++i) {
            GraphPoint& point = s.points[i];
            point.x = pdXValueArray[static_cast<qsizetype>(i)];
            point.y = pdYValueArray[static_cast<qsizetype>(i)];
            order.add(point);
        }
        PointInfo defaults;
        defaults.dateTime = zeroDate();
        s.info.assignShared(count, std::move(defaults));
        s.touch();
        s.setOrdered(order.ordered);
    }
    d->dataChanged = true;
    d->markModifiedAndRepaint();
    return 0;
}
