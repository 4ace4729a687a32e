#pragma once
// The content of one machine's exception e-mail: the HTML body and the comma-separated attachment
// text, both listing the machine, its points and the measures in alarm.

#include "analysis/DisplayUnits.h"
#include "reports/mail/ExceptionList.h"

#include <QLocale>
#include <QString>

#include <array>

namespace vantor {

// The words the e-mail uses: UI texts, the user's VA band names and the current velocity unit.
struct ExceptionEmailLabels {
    QString machineName;  // "Machine Name"
    QString pointName;    // "Vib Point Name"
    QString iso;          // "ISO"
    QString bearingNoise; // "Brg. Noise"
    QString warning;      // "WARNING"
    QString critical;     // "CRITICAL"
    std::array<QString, 3> bandNames;
    QString unit;                       // "mm/s" or "inch/s"
    QLocale locale = QLocale::system(); // formats the reading dates
};

// The labels from the current UI text table.
ExceptionEmailLabels MakeExceptionEmailLabels(const std::array<QString, 3>& bandNames,
                                              const DisplayUnits& units,
                                              const QLocale& locale = QLocale::system());

// A reading's date and time in the locale: its short date, then its time with seconds.
QString ExceptionDateText(const QDateTime& dateTime, const QLocale& locale);

struct ExceptionEmailContent {
    QString html;
    QString csv; // lines end in "\r\n"
};

// Names, dates and values are HTML-escaped in the body; a CSV field holding a comma, a quote or a
// line break is quoted.
ExceptionEmailContent BuildExceptionEmail(const MachineExceptions& group, const ExceptionEmailLabels& labels);

} // namespace vantor
