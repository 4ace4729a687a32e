#include "reports/document/ReportBuilder.h"

#include "analysis/AlarmStatus.h"
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/PointAlarms.h"
#include "analysis/PointSeverity.h"
#include "analysis/ReadingDiagnosis.h"
#include "analysis/SignalCache.h"
#include "analysis/SignalProcessor.h"
#include "analysis/StatusReasons.h"
#include "analysis/TrendProjection.h"
#include "analysis/ViewTexts.h"
#include "loaders/BearingsAtPoint.h"
#include "loaders/DiagnosisLoader.h"
#include "loaders/EnvelopeLoader.h"
#include "loaders/PointAlarmsQuery.h"
#include "loaders/PointSeverityStore.h"
#include "loaders/SignalLoader.h"
#include "platform/ManualResetEvent.h"
#include "reports/Log.h"
#include "reports/document/ChartPng.h"
#include "reports/document/ReportSelection.h"
#include "reports/document/ReportTexts.h"
#include "store/BearingStore.h"
#include "store/MainConnection.h"
#include "texts/DisplayFormat.h"

#include <QDir>
#include <QImage>

#include <algorithm>
#include <optional>

namespace vantor {
namespace {

// The sign-off at the very end: a heading and one row naming the analyst, the qualification and
// the date in the report's locale.
void AddSignOff(const ReportSignOff& signOff, const QLocale& locale, std::vector<ReportBlock>& blocks) {
    blocks.push_back(ReportHeading{1, UiText(text::added::SignOffTitle)});
    ReportTable table;
    table.header << UiText(text::added::SignOffAnalyst) << UiText(text::added::SignOffQualification)
                 << UiText(text::added::SignOffDate);
    table.rows.push_back(
        {{signOff.analyst, std::nullopt},
         {signOff.qualification, std::nullopt},
         {signOff.date.isValid() ? locale.toString(signOff.date, QLocale::LongFormat) : QString(),
          std::nullopt}});
    blocks.push_back(std::move(table));
}

QString DateText(const QDateTime& dateTime, const QLocale& locale) {
    return locale == DisplayLocale() ? DisplayDateTime(dateTime)
                                     : locale.toString(dateTime, QLocale::ShortFormat);
}

// Decimals of a measure's numbers in the document: g "0.000", velocities "0.00", the rest "0.0".
int DecimalsOf(MeasureKind measure) {
    switch (measure) {
    case MeasureKind::Acceleration:
        return 3;
    case MeasureKind::BearingNoise:
    case MeasureKind::Displacement:
        return 1;
    case MeasureKind::IsoVelocity:
    case MeasureKind::VaBand1:
    case MeasureKind::VaBand2:
    case MeasureKind::VaBand3:
        break;
    }
    return 2;
}

QString FormLabel(GraphForm form) {
    switch (form) {
    case GraphForm::Trend:
        return UiText(text::TrendLabel);
    case GraphForm::Fft:
        return UiText(text::FftLabel);
    case GraphForm::Time:
        return UiText(text::TimeLabel);
    }
    return {};
}

QColor ColourOf(StatusCode code) {
    const Rgb rgb = StatusColour(code);
    return {rgb.red, rgb.green, rgb.blue};
}

// The measures of the machine's status table.
constexpr MeasureKind kTableMeasures[] = {MeasureKind::IsoVelocity, MeasureKind::BearingNoise,
                                          MeasureKind::Acceleration, MeasureKind::Displacement};

ReportTable MachineStatusTable(CMainConnection& db, const std::vector<CVib>& points, const ReportLook& look) {
    ReportTable table;
    table.caption = UiText(text::LatestMachineStatus);
    table.header << UiText(text::VibPointName) << UiText(text::DateTimeColumn) << UiText(text::StatusColumn);
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    for (const MeasureKind measure : kTableMeasures) {
        table.header << MeasureRowLabel(measure, look);
    }
    for (const CVib& point : points) {
        CVibReading latest;
        const bool hasReading = db.GetLatestVibReading(point.sItemGUID, latest);
        // The point's status as the desktop and `vantor status` give it: the documented one, made
        // more severe by its baseline, change and band alarms where it has them.
        const DatedStatus status = EvaluatePointAlarms(db, processor, analyzer, point).combined;
        std::vector<ReportTableCell> row;
        row.push_back({point.sName, std::nullopt});
        row.push_back(
            {hasReading ? DateText(latest.ctDateTaken, look.locale) : UiText(text::NoData), std::nullopt});
        row.push_back({StatusText(status.code), ColourOf(status.code)});
        for (const MeasureKind measure : kTableMeasures) {
            if (!hasReading) {
                row.push_back({UiText(text::NoData), std::nullopt});
                continue;
            }
            const float value = MeasureValue(latest, measure);
            if (IsNoValue(value)) {
                row.push_back({UiText(text::NoData), std::nullopt});
                continue;
            }
            const StatusCode code = ClassifyMeasure(point, latest, measure);
            row.push_back({LocaleNumber(DisplayMeasureValue(measure, value, look.units), DecimalsOf(measure),
                                        look.locale),
                           ColourOf(code)});
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

// The first picture in the logos folder, by name.
void AddLogo(ReportTitleBlock& title, const QString& folder) {
    if (folder.isEmpty()) {
        return;
    }
    const QDir logos(folder);
    const QStringList pictures =
        logos.entryList({QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
                         QStringLiteral("*.bmp"), QStringLiteral("*.gif")},
                        QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : pictures) {
        const QImage logo(logos.filePath(name));
        if (!logo.isNull()) {
            title.logoPng = EncodeChartPng(logo);
            title.logoPixels = logo.size();
            return;
        }
    }
}

// The findings of a point's reading: a row per finding (kind, severity word in its colour,
// confidence, summary) with a row per evidence line under it.
ReportTable FindingsTable(const QString& caption, const std::vector<Finding>& findings,
                          const ReportLook& look) {
    ReportTable table;
    table.caption = caption;
    table.header << UiText(text::added::FindingColumn) << UiText(text::added::Severity)
                 << UiText(text::added::Confidence) << UiText(text::added::Evidence);
    for (const Finding& finding : findings) {
        table.rows.push_back(
            {{FindingKindText(finding.kind), std::nullopt},
             {StatusText(finding.severity), ColourOf(finding.severity)},
             {QStringLiteral("%1 %").arg(LocaleNumber(finding.confidence * 100, 0, look.locale)),
              std::nullopt},
             {finding.summary, std::nullopt}});
        if (!finding.nextStep.isEmpty()) {
            table.rows.push_back({{}, {}, {}, {finding.nextStep, std::nullopt}});
        }
        for (const Evidence& evidence : finding.evidence) {
            table.rows.push_back({{}, {}, {}, {evidence.text, std::nullopt}});
        }
    }
    return table;
}

// After the documented sections: the findings of each chosen point's newest reading in the period,
// for the points where the diagnosis finds something that calls for attention. Nothing at all when
// no point has such a finding, so such a report is the documented one.
void AddFindingsSection(CMainConnection& db,
                        const std::vector<std::pair<CMachine, std::vector<CVib>>>& machines,
                        const ReportOptions& options, const ReportLook& look, const ManualResetEvent& stop,
                        BuiltReport& out) {
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    bool headed = false;
    for (const auto& [machine, points] : machines) {
        for (const CVib& point : points) {
            if (stop.IsSet()) {
                out.cancelled = true;
                return;
            }
            const std::vector<CVibReading> kept =
                ReadingsInPeriod(db.ListVibReadings(point.sItemGUID), options);
            if (kept.empty()) {
                continue;
            }
            const std::optional<ReadingDiagnosis> diagnosis =
                DiagnoseReading(db, processor, analyzer, kept.back());
            const std::vector<Finding> findings =
                diagnosis ? AlarmingFindings(diagnosis->findings) : std::vector<Finding>{};
            if (findings.empty()) {
                continue;
            }
            std::vector<ReportBlock>& blocks = out.document.blocks;
            if (!headed) {
                headed = true;
                blocks.push_back(ReportHeading{1, UiText(text::added::Findings)});
                blocks.push_back(ReportParagraph{UiText(text::added::LatestFindings)});
            }
            blocks.push_back(ReportHeading{2, QStringLiteral("%1 - %2").arg(machine.sName, point.sName)});
            blocks.push_back(FindingsTable(DateText(kept.back().ctDateTaken, look.locale), findings, look));
        }
    }
}

// After the documented sections, when the report includes the status tables: the zone of each
// chosen point judged by ISO 20816-3, from its newest reading in the period. Nothing at all when no
// chosen point is judged by it, so every other report is the documented one.
void AddSeverityZonesSection(CMainConnection& db,
                             const std::vector<std::pair<CMachine, std::vector<CVib>>>& machines,
                             const ReportOptions& options, const ReportLook& look, BuiltReport& out) {
    if (!options.statusTable) {
        return;
    }
    ReportTable table;
    table.header << UiText(text::VibPointName) << UiText(text::DateTimeColumn)
                 << UiText(text::added::StandardColumn) << UiText(text::added::ZoneColumn)
                 << UiText(text::added::Evidence);
    for (const auto& [machine, points] : machines) {
        for (const CVib& point : points) {
            const PointStandard standard = LoadPointStandard(db, point.sItemGUID);
            if (standard.standard != SeverityStandard::Iso20816_3) {
                continue;
            }
            const std::vector<CVibReading> kept =
                ReadingsInPeriod(db.ListVibReadings(point.sItemGUID), options);
            const std::optional<PointZone> zone =
                kept.empty() ? std::nullopt : ReadingZone(standard, point, kept.back());
            const QString name = QStringLiteral("%1 - %2").arg(machine.sName, point.sName);
            if (!zone) {
                table.rows.push_back({{name, std::nullopt},
                                      {UiText(text::NoData), std::nullopt},
                                      {PointStandardText(standard), std::nullopt},
                                      {UiText(text::NoData), std::nullopt},
                                      {QString(), std::nullopt}});
                continue;
            }
            table.rows.push_back({{name, std::nullopt},
                                  {DateText(zone->dateTime, look.locale), std::nullopt},
                                  {PointStandardText(standard), std::nullopt},
                                  {ZoneName(zone->verdict.zone), ColourOf(ZoneStatus(zone->verdict.zone))},
                                  {zone->text, std::nullopt}});
        }
    }
    if (table.rows.empty()) {
        return;
    }
    out.document.blocks.push_back(ReportHeading{1, UiText(text::added::SeverityZones)});
    out.document.blocks.push_back(ReportParagraph{UiText(text::added::SeverityZonesIntro)});
    out.document.blocks.push_back(std::move(table));
}

// After the documented sections: each chosen point whose status has reasons or whose newest
// reading's diagnosis alarms, with its status and the reasons one per line, as the desktop's tree
// and status table give them. Nothing when no point has any, so such a report is the documented one.
void AddStatusReasonsSection(CMainConnection& db,
                             const std::vector<std::pair<CMachine, std::vector<CVib>>>& machines,
                             const ManualResetEvent& stop, BuiltReport& out) {
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    ReportTable table;
    table.header << UiText(text::VibPointName) << UiText(text::StatusColumn)
                 << UiText(text::added::StatusReasons);
    for (const auto& [machine, points] : machines) {
        for (const CVib& point : points) {
            if (stop.IsSet()) {
                out.cancelled = true;
                return;
            }
            const PointAlarmStatus alarms = EvaluatePointAlarms(db, processor, analyzer, point);
            std::optional<std::vector<Finding>> findings;
            CVibReading latest;
            if (db.GetLatestVibReading(point.sItemGUID, latest)) {
                if (std::optional<ReadingDiagnosis> diagnosis =
                        DiagnoseReading(db, processor, analyzer, latest)) {
                    findings = std::move(diagnosis->findings);
                }
            }
            const QStringList reasons = PointStatusReasons(alarms.reasons, findings);
            if (reasons.isEmpty()) {
                continue;
            }
            table.rows.push_back({{QStringLiteral("%1 - %2").arg(machine.sName, point.sName), std::nullopt},
                                  {StatusText(alarms.combined.code), ColourOf(alarms.combined.code)},
                                  {reasons.join(QLatin1Char('\n')), std::nullopt}});
        }
    }
    if (table.rows.empty()) {
        return;
    }
    out.document.blocks.push_back(ReportHeading{1, UiText(text::added::StatusReasons)});
    out.document.blocks.push_back(std::move(table));
}

// Room beyond the highest envelope band when the envelope chart opens on its families' span.
constexpr double kEnvelopeBandRoom = 1.05;

class Builder {
public:
    Builder(CMainConnection& db, const ReportOptions& options, const ReportLook& look, ChartPainter& charts,
            const ReportProgress& progress, BuiltReport& out)
        : db_(db), options_(options), look_(look), charts_(charts), progress_(progress), out_(out) {}

    void Step() {
        ++out_.steps;
        if (progress_.step) {
            progress_.step();
        }
    }

    void Point(const CMachine& machine, const CVib& point) {
        std::vector<ReportBlock>& blocks = out_.document.blocks;
        blocks.push_back(ReportHeading{2, point.sName});
        std::vector<CVibReading> all = db_.ListVibReadings(point.sItemGUID);
        const std::vector<CVibReading> kept =
            ReadingsInPeriod(options_.trendHistory ? all : std::move(all), options_);
        const CVibReading* newest = kept.empty() ? nullptr : &kept.back();
        if (newest == nullptr) {
            blocks.push_back(ReportParagraph{StatusText(StatusCode::NoReadings)});
        }
        // The newest reading's signals, decoded once for all its charts.
        std::optional<ReadingSignals> decodedNewest;
        bool signalsTried = false;
        const auto newestSignals = [&]() -> const ReadingSignals* {
            if (!signalsTried) {
                signalsTried = true;
                ReadingSignals decoded;
                if (LoadReadingSignals(db_, processor_, *newest, decoded)) {
                    decodedNewest = std::move(decoded);
                } else {
                    qCWarning(lcReports) << "report: no signals for reading" << newest->sItemGUID;
                }
            }
            return decodedNewest ? &*decodedNewest : nullptr;
        };
        for (const ReportGraphInfo& info : kReportGraphs) {
            if (!options_.Shows(info.graph)) {
                continue;
            }
            if (newest != nullptr && MeasureReported(options_.type, point, newest, info.measure)) {
                if (info.form == GraphForm::Trend) {
                    Trend(machine, point, options_.trendHistory ? all : kept, info);
                } else if (const ReadingSignals* decoded = newestSignals()) {
                    Signal(machine, point, *newest, *decoded, info);
                }
            }
            Step();
        }
        if (options_.envelope) {
            if (newest != nullptr) {
                if (const ReadingSignals* decoded = newestSignals()) {
                    Envelope(point, *newest, *decoded);
                }
            }
            Step();
        }
    }

private:
    void AddChart(ReportGraph graph, ReportChart chart) {
        AddChart(GraphHeading(graph, look_), std::move(chart));
    }

    void AddChart(const QString& heading, ReportChart chart) {
        chart.logicalSize = look_.chartSize;
        chart.pixelRatio = look_.chartPixelRatio;
        QPicture picture = charts_.Paint(chart);
        if (picture.isNull()) {
            return;
        }
        out_.document.blocks.push_back(ReportHeading{3, heading});
        const QSize pixels(qRound(chart.logicalSize.width() * chart.pixelRatio),
                           qRound(chart.logicalSize.height() * chart.pixelRatio));
        out_.document.blocks.push_back(
            ReportImage{std::move(picture), chart.logicalSize, pixels, look_.chartWidthCm});
    }

    void Trend(const CMachine& machine, const CVib& point, const std::vector<CVibReading>& kept,
               const ReportGraphInfo& info) {
        const TrendSamples samples = MakeTrendSamples(TrendReadingsOf(kept, info.measure));
        ReportChart chart;
        chart.view = MakeTrendViewData(point, info.measure, samples, TrendLine{}, look_.units);
        chart.title = QStringLiteral("%1 - %2 - %3")
                          .arg(machine.sName, point.sName, MeasureName(info.measure, look_.bandNames));
        AddChart(info.graph, std::move(chart));
    }

    void Signal(const CMachine& machine, const CVib& point, const CVibReading& reading,
                const ReadingSignals& decoded, const ReportGraphInfo& info) {
        const QString taken = DateText(reading.ctDateTaken, look_.locale);
        ReportChart chart;
        if (info.form == GraphForm::Time) {
            chart.view = MakeWaveformViewData(decoded);
            // "%s %s %s (g) %s": machine, point, measure, date.
            chart.title =
                QStringLiteral("%1 %2 %3 (g) %4")
                    .arg(machine.sName, point.sName, MeasureName(info.measure, look_.bandNames), taken);
            // "%s (Secs)"
            chart.xCaption = QStringLiteral("%1 (Secs)").arg(UiText(text::TimeLabel));
            AddChart(info.graph, std::move(chart));
            return;
        }
        std::optional<SpectrumViewData> view =
            MakeSpectrumViewData(decoded, info.measure, look_.units, look_.consolidatePeaks);
        if (!view) {
            return;
        }
        std::optional<double> bandLevel;
        const AlarmLimits limits = LimitsFor(point, MeasureKind::VaBand1);
        if (limits.alarmsOn) {
            bandLevel = DisplayMeasureValue(MeasureKind::VaBand1, limits.warning, look_.units);
        }
        // "%s (%s %s) - %s (%.1f %s)" in Hz, "%s (%s %s) - %s (%.0f %s)" per minute: point, measure,
        // unit, date, run speed and its unit.
        const int runSpeedDecimals = look_.units.Frequency() == FrequencyUnit::Hz ? 1 : 0;
        chart.title = QStringLiteral("%1 (%2 %3) - %4 (%5 %6)")
                          .arg(point.sName, MeasureName(info.measure, look_.bandNames), view->yLabel, taken,
                               TextNumber(look_.units.DisplayFrequency(reading.fCurrentRunSpeedHz), 'f',
                                          runSpeedDecimals),
                               look_.units.FrequencyLabel());
        std::vector<AlarmBandMark> alarmBands;
        if (const std::optional<BandSpectrum> spectrum = AlarmBandSpectrumOf(info.measure)) {
            alarmBands = AlarmBandMarks(PointSpectralBands(db_, point.sItemGUID), *spectrum,
                                        decoded.runSpeedHz, look_.units);
        }
        SpectrumChart spectrum;
        spectrum.view = std::move(*view);
        spectrum.bandAlarmLevel = bandLevel;
        spectrum.alarmBands = std::move(alarmBands);
        chart.view = std::move(spectrum);
        AddChart(info.graph, std::move(chart));
    }

    // The envelope spectrum of the newest reading with the point's families and envelope bands, on
    // the span the envelope view opens on; a reading whose capture the envelope refuses gets none.
    void Envelope(const CVib& point, const CVibReading& reading, const ReadingSignals& decoded) {
        const ReadingEnvelope envelope = LoadReadingEnvelope(db_, analyzer_, reading, decoded);
        if (envelope.outcome != ReadingEnvelopeOutcome::Ready) {
            qCInfo(lcReports) << "report: no envelope for reading" << reading.sItemGUID;
            return;
        }
        SpectrumChart spectrum;
        spectrum.view = MakeEnvelopeViewData(envelope.spectrum, look_.units);
        CBearingStore store(db_);
        spectrum.bearings = LoadBearingsAtPoint(store, point.sItemGUID);
        spectrum.runSpeedHz = decoded.runSpeedHz;
        spectrum.frequencyFactor = look_.units.FrequencyFactor();
        spectrum.alarmBands = AlarmBandMarks(PointSpectralBands(db_, point.sItemGUID), BandSpectrum::Envelope,
                                             decoded.runSpeedHz, look_.units);
        // The families' span, widened to the envelope bands so that none is cut off.
        double span = EnvelopeOpeningSpan(spectrum.bearings, decoded.runSpeedHz) * spectrum.frequencyFactor;
        if (span > 0) {
            for (const AlarmBandMark& band : spectrum.alarmBands) {
                span = std::max(span, band.high * kEnvelopeBandRoom);
            }
        }
        if (span > 0 && span < spectrum.view.xAxis.maximum) {
            spectrum.view.xAxis = FrequencyAxis(0.0, span, look_.units);
        }
        ReportChart chart;
        chart.title = EnvelopeTitle(
            QStringLiteral("%1 - %2").arg(point.sName, DateText(reading.ctDateTaken, look_.locale)),
            envelope.spectrum);
        chart.view = std::move(spectrum);
        AddChart(UiText(text::added::EnvelopeGraphHeading), std::move(chart));
    }

    CMainConnection& db_;
    const ReportOptions& options_;
    const ReportLook& look_;
    ChartPainter& charts_;
    const ReportProgress& progress_;
    BuiltReport& out_;
    SignalProcessor processor_;
    EnvelopeAnalyzer analyzer_;
};

} // namespace

QString LocaleNumber(double value, int decimals, const QLocale& locale) {
    return locale.toString(value, 'f', decimals);
}

QString MeasureRowLabel(MeasureKind measure, const ReportLook& look) {
    return MeasureNameWithUnit(measure, look.bandNames, look.units);
}

QString GraphHeading(ReportGraph graph, const ReportLook& look) {
    const ReportGraphInfo& info = GraphInfo(graph);
    return QStringLiteral("%1 - %2").arg(MeasureRowLabel(info.measure, look), FormLabel(info.form));
}

BuiltReport BuildReport(CMainConnection& db, const ReportOptions& options, const ReportLook& look,
                        ChartPainter& charts, const ManualResetEvent& stop, const ReportProgress& progress) {
    BuiltReport out;
    std::vector<std::pair<CMachine, std::vector<CVib>>> machines;
    for (const CMachine& machine : db.ListMachines()) {
        if (options.machines.contains(machine.sName)) {
            machines.emplace_back(machine, db.ListVibs(machine.sItemGUID));
        }
    }
    std::vector<int> pointCounts;
    for (const auto& [machine, points] : machines) {
        pointCounts.push_back(static_cast<int>(points.size()));
    }
    out.range = ReportWorkCount(options, pointCounts);
    if (progress.range) {
        progress.range(out.range);
    }

    ReportDocument& document = out.document;
    document.titleBlock.title = UiText(text::VibrationAnalysisReport);
    document.titleBlock.byline = UiText(text::ReportingBy);
    document.titleBlock.dateLabel = UiText(text::ReportDateLabel);
    document.titleBlock.date = look.locale.toString(look.reportDate.date(), QLocale::LongFormat);
    document.pageWord = UiText(text::PageWord);
    document.ofWord = UiText(text::OfWord);
    document.program = look.program;
    AddLogo(document.titleBlock, look.logosFolder);

    Builder builder(db, options, look, charts, progress, out);
    builder.Step();
    for (const auto& [machine, points] : machines) {
        if (out.cancelled) {
            break;
        }
        // A machine or point with nothing chosen under it gets no section.
        const bool withTable = options.statusTable && !points.empty();
        if (withTable || (options.ChartsOn() && !points.empty())) {
            document.blocks.push_back(ReportHeading{1, machine.sName});
        }
        if (withTable) {
            document.blocks.push_back(MachineStatusTable(db, points, look));
        }
        for (const CVib& point : points) {
            if (!options.ChartsOn()) {
                break;
            }
            if (stop.IsSet()) {
                out.cancelled = true;
                break;
            }
            builder.Point(machine, point);
        }
    }
    if (!out.cancelled && options.findings) {
        AddFindingsSection(db, machines, options, look, stop, out);
        AddSeverityZonesSection(db, machines, options, look, out);
    }
    if (options.statusTable && options.findings && !out.cancelled) {
        AddStatusReasonsSection(db, machines, stop, out);
    }
    if (!out.cancelled && look.addedSections) {
        QStringList chosen;
        for (const auto& [machine, points] : machines) {
            chosen << machine.sItemGUID;
        }
        look.addedSections(db, chosen, document.blocks);
    }
    if (!out.cancelled && options.signOff) {
        AddSignOff(*options.signOff, look.locale, document.blocks);
    }
    if (options.statusTable && !out.cancelled) {
        builder.Step();
    }
    return out;
}

} // namespace vantor
