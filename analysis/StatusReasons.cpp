#include "analysis/StatusReasons.h"

#include "texts/UiText.h"

#include <QLocale>

namespace vantor {

QString ConfidenceText(double confidence) {
    return QStringLiteral("%1 %").arg(QLocale::system().toString(qRound(confidence * 100)));
}

QString FindingLine(const Finding& finding) {
    return QStringLiteral("%1 - %2 (%3): %4")
        .arg(FindingKindText(finding.kind), StatusText(finding.severity), ConfidenceText(finding.confidence),
             finding.summary);
}

QString AlarmReasonText(const AlarmReason& reason) {
    int caption = text::added::StatisticalAlarm;
    switch (reason.source) {
    case AlarmReason::Source::Baseline:
        break;
    case AlarmReason::Source::Change:
        caption = text::added::ChangeAlarm;
        break;
    case AlarmReason::Source::Band:
        caption = text::added::BandAlarm;
        break;
    case AlarmReason::Source::Zone:
        caption = text::added::ZoneAlarm;
        break;
    }
    return QStringLiteral("%1 %2").arg(StatusText(reason.code), UiText(caption).arg(reason.text));
}

QStringList PointStatusReasons(const std::vector<AlarmReason>& reasons,
                               const std::optional<std::vector<Finding>>& findings) {
    QStringList lines;
    for (const AlarmReason& reason : reasons) {
        lines << AlarmReasonText(reason);
    }
    if (findings) {
        for (const Finding& finding : AlarmingFindings(*findings)) {
            lines << FindingLine(finding);
        }
    }
    return lines;
}

} // namespace vantor
