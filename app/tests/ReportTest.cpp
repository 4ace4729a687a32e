// The document report: which sections and graphs the rules keep, the reporting period, cancelling,
// and the ODT and PDF files as a reader opens them.
#include "analysis/PointSeverity.h"
#include "app/ReportSetup.h"
#include "app/tests/FindingsTestData.h"
#include "app/tests/ReportTestData.h"
#include "graphviews/ReportCharts.h"
#include "loaders/PointSeverityStore.h"
#include "reports/document/OdtWriter.h"
#include "reports/document/PdfWriter.h"
#include "reports/document/ReportBuilder.h"
#include "reports/document/ReportSelection.h"
#include "reports/document/ReportWorker.h"

#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>

#include <zip.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace vantor {
namespace {

using testing::ReportPlant;

// Paints nothing real: a frame of the asked size, and a note of every chart title.
class RecordingCharts final : public ChartPainter {
public:
    QPicture Paint(const ReportChart& chart) override {
        titles << chart.title;
        if (onPaint) {
            onPaint();
        }
        QPicture picture;
        QPainter painter(&picture);
        painter.drawRect(QRect(QPoint(0, 0), chart.logicalSize));
        return picture;
    }
    QStringList titles;
    std::function<void()> onPaint;
};

// The headings of points (as "# name") and graphs in document order.
QStringList Outline(const ReportDocument& document) {
    QStringList outline;
    for (const ReportBlock& block : document.blocks) {
        if (const auto* heading = std::get_if<ReportHeading>(&block)) {
            outline << (heading->level == 1   ? QStringLiteral("## ") + heading->text
                        : heading->level == 2 ? QStringLiteral("# ") + heading->text
                                              : heading->text);
        } else if (std::holds_alternative<ReportTable>(block)) {
            outline << QStringLiteral("[table]");
        }
    }
    return outline;
}

ReportOptions AllGraphs(ReportType type, QStringList machines) {
    ReportOptions options;
    options.type = type;
    options.machines = std::move(machines);
    options.graphs.fill(true);
    return options;
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override { plant.AddStandardPlant(); }

    BuiltReport Build(const ReportOptions& options, ChartPainter& charts) {
        const ManualResetEvent stop;
        return BuildReport(*plant.app->MainConnection(), options, MakeReportLook(*plant.app), charts, stop,
                           {});
    }

    ReportPlant plant;
};

TEST_F(ReportTest, SectionsAndGraphsFollowTheTypeTheSwitchesAndTheAlarms) {
    const QStringList both = {QStringLiteral("Fan"), QStringLiteral("Pump")};
    ReportOptions nothing;
    nothing.machines = both;
    ReportOptions tablesOnly = nothing;
    tablesOnly.statusTable = true;
    ReportOptions isoTrendOnly = nothing;
    isoTrendOnly.SetShown(ReportGraph::IsoTrend, true);
    const QString allThirteen =
        QStringLiteral("ISO (mm/s) - Trend|ISO (mm/s) - FFT|Brg. Noise (BDU) - Trend|Total (g) - Trend|"
                       "Total (g) - Time|Total (g) - FFT|Displacement (µm) - Trend|Unbalance (mm/s) - Trend|"
                       "Unbalance (mm/s) - FFT|Misalignment (mm/s) - Trend|Misalignment (mm/s) - FFT|"
                       "Looseness (mm/s) - Trend|Looseness (mm/s) - FFT");
    struct Case {
        const char* name;
        ReportOptions options;
        int range;
        QString outline;
    };
    const Case cases[] = {
        {"no graph switch: the title block alone", nothing, 2, {}},
        {"no graph switch with status tables: the tables alone", tablesOnly, 3,
         QStringLiteral("## Fan|[table]|## Pump|[table]")},
        {"one switch: one step per point", isoTrendOnly, 2 + 3,
         QStringLiteral("## Fan|# Motor DE|ISO (mm/s) - Trend|# Motor NDE|ISO (mm/s) - Trend|## Pump|# Pump "
                        "DE|ISO (mm/s) - Trend")},
        {"manual, every graph of one machine", AllGraphs(ReportType::Manual, {QStringLiteral("Pump")}),
         2 + 13, QStringLiteral("## Pump|# Pump DE|") + allThirteen},
        // Motor DE: newest ISO 2.0 below its warning 4.5 (the older 6.0 does not count), bearing noise
        // 25 at or above 20. Motor NDE: alarms off, so nothing however high. Pump DE: ISO and band 1
        // at 5.0, bands 2 and 3 below. Total and displacement never.
        {"exception: only measures at or above their warning, with alarms on",
         AllGraphs(ReportType::Exception, both), 2 + 3 * 13,
         QStringLiteral(
             "## Fan|# Motor DE|Brg. Noise (BDU) - Trend|# Motor NDE|## Pump|# Pump DE|ISO (mm/s) - "
             "Trend|ISO (mm/s) - FFT|Unbalance (mm/s) - Trend|Unbalance (mm/s) - FFT")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCharts charts;
        const BuiltReport built = Build(c.options, charts);
        EXPECT_EQ(built.range, c.range);
        EXPECT_EQ(built.steps, c.range - 1); // the last step follows the written file
        EXPECT_FALSE(built.cancelled);
        EXPECT_EQ(Outline(built.document).join(QLatin1Char('|')), c.outline);
        EXPECT_EQ(built.document.ImageCount(), static_cast<int>(charts.titles.size()));
        EXPECT_EQ(built.document.titleBlock.title, QStringLiteral("Vibration Analysis Report"));
        EXPECT_EQ(built.document.titleBlock.byline, QStringLiteral("Reporting by Brisca"));
    }
}

TEST_F(ReportTest, ChartTitlesCarryTheReadingAndTheRunSpeed) {
    RecordingCharts charts;
    ReportOptions options = AllGraphs(ReportType::Manual, {QStringLiteral("Pump")});
    Build(options, charts);
    const QString taken = QLocale::system().toString(testing::kFirstDay.addDays(2), QLocale::ShortFormat);
    EXPECT_TRUE(charts.titles.contains(QStringLiteral("Pump DE (ISO mm/s) - %1 (25.0 Hz)").arg(taken)))
        << charts.titles.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(charts.titles.contains(QStringLiteral("Pump Pump DE Total (g) %1").arg(taken)));
    plant.app->settings.xAxisUnits = 1; // RPM: no decimals
    charts.titles.clear();
    Build(options, charts);
    EXPECT_TRUE(charts.titles.contains(QStringLiteral("Pump DE (ISO mm/s) - %1 (1500 RPM)").arg(taken)));
}

TEST(ReportPeriodTest, BothEndsOfTheRangeAreKept) {
    std::vector<CVibReading> readings(3);
    for (int day = 0; day < 3; ++day) {
        readings[static_cast<std::size_t>(day)].ctDateTaken = testing::kFirstDay.addDays(day);
    }
    const auto day = [](int n) { return testing::kFirstDay.addDays(n); };
    struct Case {
        ReportPeriod period;
        QDateTime start;
        QDateTime end;
        std::vector<int> kept;
    };
    const Case cases[] = {
        {ReportPeriod::LastMeasurement, {}, {}, {2}},
        {ReportPeriod::AllMeasurements, {}, {}, {0, 1, 2}},
        {ReportPeriod::BetweenDates, day(1), day(1), {1}},
        {ReportPeriod::BetweenDates, day(0), day(1), {0, 1}},
        {ReportPeriod::BetweenDates, day(1).addSecs(1), day(2).addSecs(-1), {}},
        {ReportPeriod::BetweenDates, day(3), day(4), {}},
    };
    for (const Case& c : cases) {
        ReportOptions options;
        options.period = c.period;
        options.start = c.start;
        options.end = c.end;
        std::vector<int> kept;
        for (const CVibReading& reading : ReadingsInPeriod(readings, options)) {
            kept.push_back(static_cast<int>(testing::kFirstDay.daysTo(reading.ctDateTaken)));
        }
        EXPECT_EQ(kept, c.kept) << static_cast<int>(c.period) << " " << c.start.toString().toStdString();
    }
    EXPECT_TRUE(ReadingsInPeriod({}, ReportOptions{}).empty());
}

TEST(ReportPeriodTest, BetweenDatesMustBeOrderedAndRepresentable) {
    const QDateTime earliest(QDate(1900, 1, 1), QTime(0, 0));
    const QDateTime latest(QDate(2079, 6, 6), QTime(0, 0));
    const QDateTime day = testing::kFirstDay;
    struct Case {
        ReportPeriod period;
        QDateTime start;
        QDateTime end;
        std::optional<int> problem;
    };
    const Case cases[] = {
        {ReportPeriod::BetweenDates, day, day, std::nullopt},
        {ReportPeriod::BetweenDates, day.addSecs(1), day, 186},
        {ReportPeriod::BetweenDates, earliest.addSecs(-1), day, 187},
        {ReportPeriod::BetweenDates, day, latest.addDays(1), 188},
        {ReportPeriod::LastMeasurement, day.addSecs(1), day, std::nullopt},
    };
    for (const Case& c : cases) {
        ReportOptions options;
        options.period = c.period;
        options.start = c.start;
        options.end = c.end;
        EXPECT_EQ(PeriodProblem(options, earliest, latest), c.problem) << c.start.toString().toStdString();
    }
}

TEST_F(ReportTest, ACancelDuringTheFirstPointStopsAtTheNext) {
    RecordingCharts charts;
    ManualResetEvent stop;
    charts.onPaint = [&stop] { stop.Set(); };
    ReportOptions options = AllGraphs(ReportType::Manual, {QStringLiteral("Fan"), QStringLiteral("Pump")});
    const BuiltReport built =
        BuildReport(*plant.app->MainConnection(), options, MakeReportLook(*plant.app), charts, stop, {});
    EXPECT_TRUE(built.cancelled);
    const QStringList outline = Outline(built.document);
    EXPECT_EQ(outline.filter(QRegularExpression(QStringLiteral("^#+ "))),
              QStringList({QStringLiteral("## Fan"), QStringLiteral("# Motor DE")}));
    EXPECT_EQ(built.document.ImageCount(), 13);
    EXPECT_LT(built.steps, built.range - 1);
}

// The text of an entry of an ODT package, read back through the zip library.
struct OdtPackage {
    explicit OdtPackage(const QString& path) {
        int error = 0;
        archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    }
    ~OdtPackage() {
        if (archive != nullptr) {
            zip_discard(archive);
        }
    }
    OdtPackage(const OdtPackage&) = delete;
    OdtPackage& operator=(const OdtPackage&) = delete;

    QByteArray Read(const QString& name) const {
        zip_stat_t stat;
        if (zip_stat(archive, name.toUtf8().constData(), 0, &stat) != 0) {
            return {};
        }
        QByteArray data(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
        zip_file_t* file = zip_fopen(archive, name.toUtf8().constData(), 0);
        if (file == nullptr) {
            return {};
        }
        const zip_int64_t read = zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
        return read == static_cast<zip_int64_t>(stat.size) ? data : QByteArray();
    }

    zip_t* archive = nullptr;
};

// Every text of an XML part joined by spaces, and the number of each element met.
struct XmlSummary {
    QString text;
    std::map<QString, int> elements;
    QStringList imageLinks;
    bool wellFormed = false;
};
XmlSummary Summarise(const QByteArray& xml) {
    XmlSummary summary;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++summary.elements[reader.qualifiedName().toString()];
            if (reader.qualifiedName() == QLatin1String("draw:image")) {
                summary.imageLinks << reader.attributes().value(QStringLiteral("xlink:href")).toString();
            }
        } else if (reader.isCharacters()) {
            summary.text += reader.text().toString() + QLatin1Char(' ');
        }
    }
    summary.wellFormed = !reader.hasError();
    return summary;
}

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(ReportTest, TheOdtPackageAndThePdfHoldTheTitlesTablesAndCharts) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    GraphChartPainter charts;
    ReportOptions options = AllGraphs(ReportType::Manual, {QStringLiteral("Fan"), QStringLiteral("Pump")});
    options.statusTable = true;
    const BuiltReport built = Build(options, charts);
    ASSERT_EQ(built.document.ImageCount(), 3 * 13);

    const QString odt = out.filePath(QStringLiteral("report.odt"));
    ASSERT_TRUE(WriteOdt(built.document, odt));
    OdtPackage package(odt);
    ASSERT_NE(package.archive, nullptr);
    // "mimetype" first and stored, so that a reader recognises the package from its first bytes.
    EXPECT_STREQ(zip_get_name(package.archive, 0, 0), "mimetype");
    zip_stat_t first;
    ASSERT_EQ(zip_stat_index(package.archive, 0, 0, &first), 0);
    EXPECT_EQ(first.comp_method, ZIP_CM_STORE);
    EXPECT_EQ(package.Read(QStringLiteral("mimetype")), QByteArray(kOdtMimeType));
    QFile raw(odt);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_EQ(raw.read(38 + 30).mid(30),
              QByteArray("mimetypeapplication/vnd.oasis.opendocument.text").left(38));

    const XmlSummary content = Summarise(package.Read(QStringLiteral("content.xml")));
    ASSERT_TRUE(content.wellFormed);
    EXPECT_EQ(content.imageLinks.size(), 3 * 13);
    // Every chart a vector drawing in the chart's own coordinates, drawn on white.
    const ReportLook look = MakeReportLook(*plant.app);
    for (const QString& link : content.imageLinks) {
        EXPECT_TRUE(link.endsWith(QLatin1String(".svg"))) << link.toStdString();
        QSvgRenderer chart(package.Read(link));
        ASSERT_TRUE(chart.isValid()) << link.toStdString();
        EXPECT_EQ(chart.viewBox(), QRect(QPoint(0, 0), look.chartSize)) << link.toStdString();
        QImage drawn(look.chartSize, QImage::Format_RGB32);
        drawn.fill(Qt::black);
        QPainter painter(&drawn);
        chart.render(&painter);
        EXPECT_EQ(drawn.pixel(1, 1), qRgb(255, 255, 255)) << link.toStdString();
    }
    EXPECT_EQ(content.elements.at(QStringLiteral("table:table")), 2);
    for (const char* expected :
         {"Vibration Analysis Report", "Reporting by Brisca", "Report Date", "Motor NDE", "Pump DE",
          "WARNING", "NOT CONFIGURED", "Latest Machine Status", "Unbalance (mm/s) - FFT"}) {
        EXPECT_TRUE(content.text.contains(QLatin1String(expected))) << expected;
    }
    const XmlSummary styles = Summarise(package.Read(QStringLiteral("styles.xml")));
    ASSERT_TRUE(styles.wellFormed);
    EXPECT_EQ(styles.elements.count(QStringLiteral("text:page-number")), 1u);
    EXPECT_EQ(styles.elements.count(QStringLiteral("text:page-count")), 1u);
    EXPECT_TRUE(styles.text.contains(QStringLiteral("Page"))) << styles.text.toStdString();
    const QByteArray manifest = package.Read(QStringLiteral("META-INF/manifest.xml"));
    ASSERT_TRUE(Summarise(manifest).wellFormed);
    for (const QString& link : content.imageLinks) {
        EXPECT_TRUE(manifest.contains(
            QStringLiteral("manifest:full-path=\"%1\" manifest:media-type=\"image/svg+xml\"")
                .arg(link)
                .toUtf8()))
            << link.toStdString();
    }

    const QString pdf = out.filePath(QStringLiteral("report.pdf"));
    ASSERT_TRUE(WritePdf(built.document, pdf));
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    ASSERT_TRUE(pages.hasMatch()) << info.toStdString();
    const int pageCount = pages.captured(1).toInt();
    EXPECT_GT(pageCount, 10); // 39 charts, two or three to a page
    // Table cells may wrap a word onto the next line.
    const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).simplified();
    for (const QString& expected :
         {QStringLiteral("Vibration Analysis Report"), QStringLiteral("Reporting by Brisca"),
          QStringLiteral("WARNING"), QStringLiteral("NOT CONFIGURED"),
          QStringLiteral("Page 1 of %1").arg(pageCount), QStringLiteral("Page %1 of %1").arg(pageCount),
          QStringLiteral("Looseness (mm/s) - FFT")}) {
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    }
    EXPECT_FALSE(text.contains(QStringLiteral("of %1").arg(pageCount + 1)));
    // The charts are drawn as vectors: no picture in the file (the plant has no logo), their titles
    // and axis captions are text.
    const QStringList pictures = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(pictures.size(), 2) << pictures.join(QLatin1Char('\n')).toStdString(); // the list's header
    for (const char* expected : {"Pump - Pump DE - ISO", "Frequency (Hz)", "Amplitude"}) {
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    }
    // Each graph heading is in the file as often as in the document: none is also drawn, hidden,
    // at the foot of the page before its own.
    std::map<QString, int> headingCounts;
    for (const ReportBlock& block : built.document.blocks) {
        if (const auto* heading = std::get_if<ReportHeading>(&block);
            heading != nullptr && heading->level == 3) {
            ++headingCounts[heading->text];
        }
    }
    for (const auto& [heading, count] : headingCounts) {
        EXPECT_EQ(text.count(heading), count) << heading.toStdString();
    }
    // No machine or point heading is left at the foot of a page: each goes with its first chart.
    const QStringList headings{"Fan", "Motor DE", "Motor NDE", "Pump", "Pump DE"};
    for (int page = 1; page <= pageCount; ++page) {
        const QString number = QString::number(page);
        QStringList lines =
            RunTool(QStringLiteral("pdftotext"),
                    {QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf, QStringLiteral("-")})
                .split(QLatin1Char('\n'));
        lines.removeIf([](const QString& line) {
            return line.trimmed().isEmpty() || line.startsWith(QStringLiteral("Page ")) ||
                   line.contains(QChar(0x0C));
        });
        ASSERT_FALSE(lines.isEmpty()) << page;
        EXPECT_FALSE(headings.contains(lines.last().trimmed()))
            << "page " << page << ": " << lines.last().toStdString();
    }
}

// After the documented sections, a findings section lists the points whose newest reading in the
// period has a WARNING or CRITICAL finding; a report where none has one, or where the findings are
// not chosen, stays as documented.
TEST_F(ReportTest, AFindingsSectionFollowsTheDocumentedSectionsWhereAPointHasFindings) {
    RecordingCharts charts;
    const QStringList both = {QStringLiteral("Fan"), QStringLiteral("Pump")};
    ReportOptions tables;
    tables.machines = both;
    tables.statusTable = true;
    const QString documented = QStringLiteral("## Fan|[table]|## Pump|[table]");
    ASSERT_EQ(Outline(Build(tables, charts).document).join(u'|'), documented);

    CMainConnection& db = *plant.app->MainConnection();
    CVib pumpDe;
    for (const CMachine& machine : db.ListMachines()) {
        for (const CVib& point : db.ListVibs(machine.sItemGUID)) {
            if (point.sName == QStringLiteral("Pump DE")) {
                pumpDe = point;
            }
        }
    }
    ASSERT_FALSE(pumpDe.sItemGUID.isEmpty());
    // A 5 mm/s run-speed tone, past the point's warning level of 4.5: unbalance, WARNING.
    ASSERT_TRUE(
        db.UpsertVibReading(testing::ToneReading(pumpDe.sItemGUID, testing::kFirstDay.addDays(3), 5.0)));
    ReportOptions withoutFindings = tables;
    withoutFindings.findings = false;
    ReportOptions period = tables;
    period.period = ReportPeriod::BetweenDates;
    period.start = testing::kFirstDay;
    period.end = testing::kFirstDay.addDays(2);
    struct Case {
        const char* name;
        ReportOptions options;
        QString outline;
    };
    const Case cases[] = {
        {"the newest reading has a finding", tables,
         documented + QStringLiteral("|## Findings|# Pump - Pump DE|[table]|## Status and reasons|[table]")},
        // The status, like the documented status table, is the newest reading's whatever the period.
        {"the period's newest reading has none", period,
         documented + QStringLiteral("|## Status and reasons|[table]")},
        {"the findings are not chosen", withoutFindings, documented},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BuiltReport built = Build(c.options, charts);
        EXPECT_EQ(Outline(built.document).join(u'|'), c.outline);
    }
    const BuiltReport built = Build(tables, charts);
    const auto& blocks = built.document.blocks;
    const auto& table = std::get<ReportTable>(blocks[blocks.size() - 3]);
    EXPECT_EQ(table.header, (QStringList{"Finding", "Severity", "Confidence", "Evidence"}));
    ASSERT_GE(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0][0].text, QStringLiteral("Unbalance"));
    EXPECT_EQ(table.rows[0][1].text, QStringLiteral("WARNING"));
    EXPECT_TRUE(table.rows[0][1].colour.has_value());
    EXPECT_TRUE(table.rows[0][2].text.endsWith(QStringLiteral(" %")));
    // Evidence rows under the finding: the 1× line with its level and frequency.
    EXPECT_TRUE(table.rows[1][0].text.isEmpty());
    EXPECT_EQ(table.rows[1][3].text, QStringLiteral("1× 5.00 mm/s at 25.0 Hz"));
}

// A point judged by ISO 20816-3 gets a severity zones section after the documented ones, only when
// the report includes the status tables; a report without such a point stays as documented.
TEST_F(ReportTest, ASeverityZonesSectionFollowsOnlyForPointsOnTheStandard) {
    RecordingCharts charts;
    ReportOptions tables;
    tables.machines = {QStringLiteral("Fan"), QStringLiteral("Pump")};
    tables.statusTable = true;
    const QString documented = QStringLiteral("## Fan|[table]|## Pump|[table]");
    ASSERT_EQ(Outline(Build(tables, charts).document).join(u'|'), documented);

    CMainConnection& db = *plant.app->MainConnection();
    const CVib motorDe = db.ListVibs(db.ListMachines().front().sItemGUID).front();
    ASSERT_EQ(motorDe.sName, QStringLiteral("Motor DE"));
    StorePointStandard(db, motorDe.sItemGUID, {SeverityStandard::Iso20816_3, 2, Support::Rigid});
    ReportOptions graphsOnly = tables;
    graphsOnly.statusTable = false;
    EXPECT_TRUE(Outline(Build(graphsOnly, charts).document).isEmpty());

    const BuiltReport built = Build(tables, charts);
    EXPECT_EQ(Outline(built.document).join(u'|'), documented + QStringLiteral("|## Severity zones|[table]"));
    const auto& table = std::get<ReportTable>(built.document.blocks.back());
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0][0].text, QStringLiteral("Fan - Motor DE"));
    EXPECT_EQ(table.rows[0][2].text, QStringLiteral("ISO 20816-3 group 2, rigid"));
    // The newest ISO 2.0 mm/s lies in zone B of group 2 rigid (A/B 1.4, B/C 2.8).
    EXPECT_EQ(table.rows[0][3].text, QStringLiteral("B"));
    EXPECT_EQ(table.rows[0][4].text, QStringLiteral("zone B (velocity 2.00 mm/s, A/B 1.4 mm/s)"));
}

// The report's status is the desktop's: after the documented sections each point with reasons or an
// alarming finding is listed with them, also where its documented status is NOT CONFIGURED, which
// the documented status table keeps.
TEST_F(ReportTest, TheStatusSectionGivesEachPointsReasonsAsTheDesktopDoes) {
    CMainConnection& db = *plant.app->MainConnection();
    std::map<QString, CVib> points;
    for (const CMachine& machine : db.ListMachines()) {
        for (const CVib& point : db.ListVibs(machine.sItemGUID)) {
            points[point.sName] = point;
        }
    }
    ASSERT_TRUE(points.contains(QStringLiteral("Pump DE")));
    CVib unset = points[QStringLiteral("Pump DE")];
    unset.bISOAlarmsOn = false;
    unset.bBDUAlarmsOn = false;
    ASSERT_TRUE(db.UpsertVib(unset));
    // 6 mm/s without ISO levels is past C/D: CRITICAL unbalance under NOT CONFIGURED.
    ASSERT_TRUE(
        db.UpsertVibReading(testing::ToneReading(unset.sItemGUID, testing::kFirstDay.addDays(3), 6.0)));
    RecordingCharts charts;
    ReportOptions tables;
    tables.machines = {QStringLiteral("Pump")};
    tables.statusTable = true;
    const BuiltReport built = Build(tables, charts);
    const auto& blocks = built.document.blocks;
    ASSERT_TRUE(std::holds_alternative<ReportTable>(blocks.back()));
    const auto& reasons = std::get<ReportTable>(blocks.back());
    EXPECT_EQ(reasons.header.last(), QStringLiteral("Status and reasons"));
    ASSERT_EQ(reasons.rows.size(), 1u);
    EXPECT_EQ(reasons.rows[0][0].text, QStringLiteral("Pump - Pump DE"));
    EXPECT_EQ(reasons.rows[0][1].text, QStringLiteral("NOT CONFIGURED"));
    EXPECT_TRUE(reasons.rows[0][2].text.startsWith(QStringLiteral("Unbalance - CRITICAL")))
        << reasons.rows[0][2].text.toStdString();
    // The documented status table keeps the documented word for the point.
    const auto& status = std::get<ReportTable>(blocks[1]);
    bool found = false;
    for (const auto& row : status.rows) {
        if (row[0].text == QStringLiteral("Pump DE")) {
            found = true;
            EXPECT_EQ(row[2].text, QStringLiteral("NOT CONFIGURED"));
        }
    }
    EXPECT_TRUE(found);
}

// A sign-off given in the wizard ends the report with its heading and one row (analyst,
// qualification, date in the report's locale); without one the report is exactly as before.
TEST_F(ReportTest, ASignOffEndsTheReportOnlyWhenGiven) {
    RecordingCharts charts;
    ReportOptions options = AllGraphs(ReportType::Manual, {QStringLiteral("Pump")});
    options.statusTable = true;
    const QStringList plain = Outline(Build(options, charts).document);
    options.signOff =
        ReportSignOff{QStringLiteral("A. Reyes"), QStringLiteral("Cat. III"), QDate(2026, 12, 10)};
    const BuiltReport signed_ = Build(options, charts);
    const QStringList outline = Outline(signed_.document);
    ASSERT_EQ(outline.size(), plain.size() + 2);
    EXPECT_EQ(outline.mid(0, plain.size()), plain);
    EXPECT_EQ(outline.mid(plain.size()),
              (QStringList{QStringLiteral("## Sign-off"), QStringLiteral("[table]")}));
    const auto& table = std::get<ReportTable>(signed_.document.blocks.back());
    EXPECT_EQ(table.header, (QStringList{"Analyst", "Qualification", "Date"}));
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0][0].text, QStringLiteral("A. Reyes"));
    EXPECT_EQ(table.rows[0][1].text, QStringLiteral("Cat. III"));
    EXPECT_EQ(table.rows[0][2].text,
              MakeReportLook(*plant.app).locale.toString(QDate(2026, 12, 10), QLocale::LongFormat));
}

// Every page's footer names the program and its version beside the page number.
TEST_F(ReportTest, FooterNamesTheProgramAndItsVersion) {
    ReportDocument document;
    document.titleBlock.title = QStringLiteral("Footer");
    document.pageWord = QStringLiteral("Page");
    document.ofWord = QStringLiteral("of");
    document.program = QStringLiteral("Corvane 9.8.7");
    document.blocks.push_back(ReportParagraph{QStringLiteral("body")});
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("footer.pdf"));
    ASSERT_TRUE(WritePdf(document, pdf));
    const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Corvane 9.8.7"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of 1"))) << text.toStdString();
}

// Every heading and table caption is printed, also those that follow a table directly (the
// follow-up sections: a heading, captioned tables one after another, then the next heading).
TEST_F(ReportTest, HeadingsAndCaptionsAfterTablesArePrinted) {
    ReportDocument document;
    document.titleBlock.title = QStringLiteral("Captions");
    const ReportTable table{QStringLiteral("Caption one"),
                            {QStringLiteral("A"), QStringLiteral("B")},
                            {{{QStringLiteral("a1"), std::nullopt}, {QStringLiteral("b1"), std::nullopt}}}};
    document.blocks.push_back(ReportHeading{1, QStringLiteral("Heading one")});
    document.blocks.push_back(table);
    ReportTable second = table;
    second.caption = QStringLiteral("Caption two");
    document.blocks.push_back(second);
    document.blocks.push_back(ReportHeading{1, QStringLiteral("Heading two")});
    ReportTable third = table;
    third.caption.clear();
    document.blocks.push_back(third);
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("captions.pdf"));
    ASSERT_TRUE(WritePdf(document, pdf));
    const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    for (const char* shown : {"Heading one", "Caption one", "Caption two", "Heading two", "a1"}) {
        EXPECT_TRUE(text.contains(QLatin1String(shown))) << shown << "\n" << text.toStdString();
    }
}

// Headings that lead to a table go to the next page with its first rows rather than stay at the
// foot of a page.
TEST_F(ReportTest, NoHeadingOfATableIsLeftAtTheFootOfAPage) {
    ReportDocument document;
    document.titleBlock.title = QStringLiteral("Tables");
    document.pageWord = QStringLiteral("Page");
    document.ofWord = QStringLiteral("of");
    QStringList headings;
    for (int point = 0; point < 24; ++point) {
        headings << QStringLiteral("Point %1").arg(point);
        document.blocks.push_back(ReportHeading{2, headings.back()});
        ReportTable table;
        table.caption = QStringLiteral("Caption %1").arg(point);
        table.header = QStringList{QStringLiteral("A"), QStringLiteral("B")};
        for (int row = 0; row < 3 + point % 5; ++row) {
            table.rows.push_back(
                {{QStringLiteral("a%1").arg(row), std::nullopt}, {QStringLiteral("b"), std::nullopt}});
        }
        document.blocks.push_back(table);
    }
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("tables.pdf"));
    ASSERT_TRUE(WritePdf(document, pdf));
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    const int pageCount =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
    ASSERT_GT(pageCount, 2);
    for (int page = 1; page <= pageCount; ++page) {
        const QString number = QString::number(page);
        QStringList lines =
            RunTool(QStringLiteral("pdftotext"),
                    {QStringLiteral("-f"), number, QStringLiteral("-l"), number, pdf, QStringLiteral("-")})
                .split(QLatin1Char('\n'));
        lines.removeIf([](const QString& line) {
            return line.trimmed().isEmpty() || line.startsWith(QStringLiteral("Page ")) ||
                   line.contains(QChar(0x0C));
        });
        ASSERT_FALSE(lines.isEmpty()) << page;
        const QString last = lines.last().trimmed();
        EXPECT_FALSE(headings.contains(last) || last.startsWith(QStringLiteral("Caption")))
            << "page " << page << ": " << last.toStdString();
    }
}

// The worker on its own thread, with the charts painted on this one while it waits.
ReportOutcome RunWorker(ReportJob job, ChartPainter& charts) {
    ReportWorker worker(std::move(job), charts);
    QEventLoop loop;
    QObject::connect(&worker, &ReportWorker::Finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    worker.Start();
    loop.exec();
    return worker.Outcome();
}

TEST_F(ReportTest, TheWorkerWritesTheFileOrLeavesNone) {
    QTemporaryDir out;
    GraphChartPainter charts;
    const ReportOptions options = AllGraphs(ReportType::Manual, {QStringLiteral("Pump")});
    struct Case {
        QString path;
        ReportOutcome::Result result;
    };
    const Case cases[] = {
        {out.filePath(QStringLiteral("pump.pdf")), ReportOutcome::Result::Written},
        {out.filePath(QStringLiteral("pump.odt")), ReportOutcome::Result::Written},
        {out.filePath(QStringLiteral("missing/pump.odt")), ReportOutcome::Result::Failed},
        {out.filePath(QStringLiteral("missing/pump.pdf")), ReportOutcome::Result::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const ReportOutcome outcome = RunWorker(MakeReportJob(*plant.app, options, c.path), charts);
        EXPECT_EQ(outcome.result, c.result) << outcome.message.toStdString();
        EXPECT_EQ(QFile::exists(c.path), c.result == ReportOutcome::Result::Written);
        if (c.result == ReportOutcome::Result::Written) {
            EXPECT_EQ(outcome.charts, 13);
        } else {
            EXPECT_FALSE(outcome.message.isEmpty());
            EXPECT_TRUE(QDir(out.path())
                            .entryList(QDir::Files | QDir::Hidden)
                            .filter(QStringLiteral("part"))
                            .isEmpty());
        }
    }
}

} // namespace
} // namespace vantor
