#include "TooltipText.h"

#include <QStringList>

namespace {
// "%s: %s" pairs; an empty entry stands for a blank line.
QString lines(const QStringList& parts) {
    return parts.join(QStringLiteral("\r\n"));
}
QString pair(const QString& label, const QString& value) {
    return label + QStringLiteral(": ") + value;
}
} // namespace

QString tooltipText(const TooltipLabels& l, const TooltipPoint& p, bool datesAxis, bool xyForm,
                    bool waterfall) {
    const bool hasSerial = !p.serial.isEmpty();
    const bool hasCode = !p.code.isEmpty();
    if (datesAxis || !xyForm) {
        QStringList parts{pair(l.y, p.yValue), QString(), pair(l.date, p.date), pair(l.time, p.time)};
        if (hasSerial) {
            parts << QString() << pair(l.accelerometer, p.serial);
            if (hasCode)
                parts << pair(l.sensitivity, p.code);
        }
        return lines(parts);
    }
    QStringList parts{pair(l.x, p.xValue), pair(l.y, p.yValue)};
    if (hasSerial) {
        parts << QString() << pair(l.accelerometer, p.serial);
        if (hasCode)
            parts << pair(l.sensitivity, p.code);
    } else if (waterfall) {
        parts << QString() << pair(l.date, p.date) << pair(l.time, p.time);
    }
    return lines(parts);
}
