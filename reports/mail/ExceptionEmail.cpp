#include "reports/mail/ExceptionEmail.h"

#include "texts/UiText.h"

#include <QRegularExpression>

namespace vantor {
namespace {

QString Html(const QString& text) {
    return text.toHtmlEscaped();
}

// One CSV field: as it is, unless it would split the line into other fields or lines.
QString Csv(const QString& field) {
    static const QRegularExpression special(QStringLiteral("[,\"\\r\\n]"));
    if (!field.contains(special)) {
        return field;
    }
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

ExceptionEmailLabels MakeExceptionEmailLabels(const std::array<QString, 3>& bandNames,
                                              const DisplayUnits& units, const QLocale& locale) {
    ExceptionEmailLabels labels;
    labels.machineName = UiText(text::MachineName);
    labels.pointName = UiText(text::VibPointName);
    labels.iso = UiText(text::IsoLabel);
    labels.bearingNoise = UiText(text::BearingNoiseLabel);
    labels.warning = UiText(text::StatusWarning);
    labels.critical = UiText(text::StatusCritical);
    labels.bandNames = bandNames;
    labels.unit = units.VelocityLabel();
    labels.locale = locale;
    return labels;
}

QString ExceptionDateText(const QDateTime& dateTime, const QLocale& locale) {
    // The long time format ends in the time zone, which a reading's local time does not carry.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(zone);
    return locale.toString(dateTime.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(dateTime.time(), timeFormat.trimmed());
}

ExceptionEmailContent BuildExceptionEmail(const MachineExceptions& group,
                                          const ExceptionEmailLabels& labels) {
    ExceptionEmailContent out;
    QString& html = out.html;
    QString& csv = out.csv;
    html = QStringLiteral("<html><body>");
    csv += QStringLiteral("%1:,%2\r\n").arg(Csv(labels.machineName), Csv(group.machineName));
    html += QStringLiteral("<h1>%1: %2</h1>").arg(Html(labels.machineName), Html(group.machineName));

    for (const PointException& point : group.points) {
        csv += QStringLiteral("%1:,%2\r\n").arg(Csv(labels.pointName), Csv(point.pointName));
        html += QStringLiteral("<h3>%1: %2</h3>").arg(Html(labels.pointName), Html(point.pointName));
        html += QStringLiteral("<p>");
        const QString date = ExceptionDateText(point.dateTaken, labels.locale);
        for (int i = 0; i < kExceptionMeasureCount; ++i) {
            const MeasureException& measure = point.measures[static_cast<std::size_t>(i)];
            if (static_cast<int>(measure.status) <= 3) {
                continue;
            }
            const bool warning = measure.status == ExceptionStatus::Warning;
            const QString statusText = warning ? labels.warning : labels.critical;
            const QString colour = warning ? QStringLiteral("orange") : QStringLiteral("red");
            const auto kind = static_cast<ExceptionMeasure>(i);
            if (kind == ExceptionMeasure::BearingNoise) {
                csv += QStringLiteral("%1 (BDU):,%2,%3,%4\r\n")
                           .arg(Csv(labels.bearingNoise), Csv(date), Csv(measure.valueText), Csv(statusText));
                html += QStringLiteral("%1 (BDU): <b style=\"color: %2\">%3</b> %4<br/>")
                            .arg(Html(labels.bearingNoise), colour, Html(measure.valueText), Html(date));
                continue;
            }
            const QString name = kind == ExceptionMeasure::IsoVelocity
                                     ? labels.iso
                                     : labels.bandNames[static_cast<std::size_t>(
                                           i - static_cast<int>(ExceptionMeasure::VaBand1))];
            csv += QStringLiteral("%1 (%2):,%3,%4,%5\r\n")
                       .arg(Csv(name), Csv(labels.unit), Csv(date), Csv(measure.valueText), Csv(statusText));
            html += QStringLiteral("%1 (%2): <b style=\"color: %3\">%4</b> %5<br/>")
                        .arg(Html(name), Html(labels.unit), colour, Html(measure.valueText), Html(date));
        }
        csv += QStringLiteral("\r\n");
        html += QStringLiteral("</p>");
    }
    html += QStringLiteral("</body></html>");
    return out;
}

} // namespace vantor
