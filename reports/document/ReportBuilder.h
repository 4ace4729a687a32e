#pragma once
// Builds the report document from the database: the title block, then per chosen machine its
// status table (when chosen) and per vibration point its heading and the chosen graphs of the
// measures the report type keeps, over the readings of the reporting period; after them, where any
// point's newest reading in the period has a WARNING or CRITICAL finding of the automatic diagnosis,
// a findings section unless the options leave it out. Reads only; it never changes the database.

#include "analysis/DisplayUnits.h"
#include "analysis/MeasureFormat.h"
#include "reports/document/ReportChart.h"
#include "reports/document/ReportDocument.h"
#include "reports/document/ReportOptions.h"

#include <QDateTime>
#include <QLocale>
#include <QSize>
#include <QString>

#include <array>
#include <functional>

namespace vantor {

class CMainConnection;
class ManualResetEvent;

// What the document's texts and numbers depend on besides the options.
struct ReportLook {
    DisplayUnits units;
    bool consolidatePeaks = false; // "Varovud OVO"
    std::array<QString, kVaBandCount> bandNames = {
        QStringLiteral("Unbalance"), QStringLiteral("Misalignment"), QStringLiteral("Looseness")};
    QLocale locale = QLocale::system();
    QDateTime reportDate = QDateTime::currentDateTime();
    QString logosFolder; // the first picture in it heads the title page
    QString program;     // "<program> <version>" in each page's footer corner; empty prints none
    // A chart is drawn at chartSize screen pixels and printed chartWidthCm wide: the graph's
    // smallest text (a 12-pixel cell) is then 12 px x 16 cm / 640 px = 0.3 cm = 8.5 pt on paper
    // (1 pt = 2.54 cm / 72), at least the 8 pt that stays legible in print. The image keeps about
    // 1000 pixels across (chartPixelRatio), 160 per inch on the page.
    QSize chartSize = {640, 360};
    double chartPixelRatio = 1.6;
    double chartWidthCm = 16.0;
    // The host's own sections after the documented ones and the findings, for the chosen machines
    // (GUIDs); none adds nothing.
    std::function<void(CMainConnection&, const QStringList&, std::vector<ReportBlock>&)> addedSections;
};

// The progress the worker posts: the range once, then one step at a time.
struct ReportProgress {
    std::function<void(int)> range;
    std::function<void()> step;
};

struct BuiltReport {
    ReportDocument document;
    bool cancelled = false;
    int steps = 0; // steps posted
    int range = 0;
};

// Builds the document. Before each point the stop event is tested without waiting; once it is set
// the building stops and the document holds what was built so far.
BuiltReport BuildReport(CMainConnection& db, const ReportOptions& options, const ReportLook& look,
                        ChartPainter& charts, const ManualResetEvent& stop, const ReportProgress& progress);

// Texts the document shows, in the current language and the user's locale.
QString MeasureRowLabel(MeasureKind measure, const ReportLook& look); // "ISO (mm/s)", band names ...
QString GraphHeading(ReportGraph graph, const ReportLook& look);      // "ISO (mm/s) - Trend"
// Numbers with the locale's separators after the patterns "0.000", "0.00" and "0.0".
QString LocaleNumber(double value, int decimals, const QLocale& locale);

} // namespace vantor
