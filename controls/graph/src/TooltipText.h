// The text of the tooltip for the point under the mouse.
#pragma once

#include <QString>

struct TooltipLabels {
    QString x, y, date, time, accelerometer, sensitivity; // the host's translations
};

struct TooltipPoint {
    QString xValue, yValue; // already formatted with the axis label decimals
    QString date, time;
    QString serial; // accelerometer serial number
    QString code;   // RFID code
};

// datesAxis: the X axis is of type Dates; xyForm: ToolTipDateYOrXY; waterfall: GraphWaterfallOn.
QString tooltipText(const TooltipLabels& labels, const TooltipPoint& point, bool datesAxis, bool xyForm,
                    bool waterfall);
