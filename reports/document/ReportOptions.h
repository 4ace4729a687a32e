#pragma once
// What a document report holds: its type, the machines, the status tables, the graphs and the
// reporting period; the thirteen graphs in the order the document shows them; the work count the
// progress bar runs to.

#include "analysis/Measures.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace vantor {

// Radio buttons of the report type page, in this order.
enum class ReportType : int { Exception = 0, Manual = 1 };
// Radio buttons of the reporting period page, in this order.
enum class ReportPeriod : int { LastMeasurement = 0, BetweenDates = 1, AllMeasurements = 2 };

enum class GraphForm { Trend, Fft, Time };

// The graphs, in the order the document shows them under each point.
enum class ReportGraph : int {
    IsoTrend,
    IsoFft,
    BduTrend,
    TotalTrend,
    TotalTime,
    TotalFft,
    DisplacementTrend,
    Band1Trend,
    Band1Fft,
    Band2Trend,
    Band2Fft,
    Band3Trend,
    Band3Fft,
};
inline constexpr int kReportGraphCount = 13;

struct ReportGraphInfo {
    ReportGraph graph;
    MeasureKind measure;
    GraphForm form;
    const char* name; // the command line's name
};
inline constexpr std::array<ReportGraphInfo, kReportGraphCount> kReportGraphs = {{
    {ReportGraph::IsoTrend, MeasureKind::IsoVelocity, GraphForm::Trend, "iso-trend"},
    {ReportGraph::IsoFft, MeasureKind::IsoVelocity, GraphForm::Fft, "iso-fft"},
    {ReportGraph::BduTrend, MeasureKind::BearingNoise, GraphForm::Trend, "bdu-trend"},
    {ReportGraph::TotalTrend, MeasureKind::Acceleration, GraphForm::Trend, "total-trend"},
    {ReportGraph::TotalTime, MeasureKind::Acceleration, GraphForm::Time, "total-time"},
    {ReportGraph::TotalFft, MeasureKind::Acceleration, GraphForm::Fft, "total-fft"},
    {ReportGraph::DisplacementTrend, MeasureKind::Displacement, GraphForm::Trend, "displacement-trend"},
    {ReportGraph::Band1Trend, MeasureKind::VaBand1, GraphForm::Trend, "band1-trend"},
    {ReportGraph::Band1Fft, MeasureKind::VaBand1, GraphForm::Fft, "band1-fft"},
    {ReportGraph::Band2Trend, MeasureKind::VaBand2, GraphForm::Trend, "band2-trend"},
    {ReportGraph::Band2Fft, MeasureKind::VaBand2, GraphForm::Fft, "band2-fft"},
    {ReportGraph::Band3Trend, MeasureKind::VaBand3, GraphForm::Trend, "band3-trend"},
    {ReportGraph::Band3Fft, MeasureKind::VaBand3, GraphForm::Fft, "band3-fft"},
}};

const ReportGraphInfo& GraphInfo(ReportGraph graph);
// The graph a command-line name stands for.
std::optional<ReportGraph> ReportGraphNamed(const QString& name);
// The graph of a measure and form; none for a cell the grid does not have (a BDU spectrum).
std::optional<ReportGraph> ReportGraphOf(MeasureKind measure, GraphForm form);

// How the command line and the wizard write the between-dates range.
inline const QString kReportDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The sign-off printed at the end of a report: who analysed it, with what qualification, on which
// day.
struct ReportSignOff {
    QString analyst;
    QString qualification;
    QDate date;
    friend bool operator==(const ReportSignOff&, const ReportSignOff&) = default;
};

// The options the wizard collects and the worker copies before it starts.
struct ReportOptions {
    ReportType type = ReportType::Manual;
    QStringList machines; // names, in list order
    bool statusTable = false;
    // The findings of the automatic diagnosis after the documented sections (see ReportBuilder.h);
    // off, the document holds only the documented sections.
    bool findings = true;
    std::array<bool, kReportGraphCount> graphs{};
    // After a point's documented graphs, the envelope spectrum of its newest reading in the period
    // with its bearings' fault families and its envelope alarm bands, opened on the span of the
    // families as the envelope view opens; off, the point shows only the documented graphs.
    bool envelope = false;
    // Trends plot every reading of the point, not only the period's (so "Last Measurement" keeps
    // the history behind its one reading); off, trends follow the period as documented.
    bool trendHistory = false;
    ReportPeriod period = ReportPeriod::LastMeasurement;
    QDateTime start;
    QDateTime end;
    // Only when the user gave one; without it the report ends as it always has.
    std::optional<ReportSignOff> signOff;

    bool Shows(ReportGraph graph) const { return graphs[static_cast<std::size_t>(graph)]; }
    void SetShown(ReportGraph graph, bool on) { graphs[static_cast<std::size_t>(graph)] = on; }
    int GraphsOn() const;
    // Whether a point gets any chart: a documented graph or the envelope.
    bool ChartsOn() const { return GraphsOn() > 0 || envelope; }
};

// The progress range: per point one step for every graph switch that is on (and one for the
// envelope when chosen), plus 2, plus 1 with the status tables. `pointsPerMachine` holds each chosen
// machine's number of vibration points.
int ReportWorkCount(const ReportOptions& options, const std::vector<int>& pointsPerMachine);

} // namespace vantor

namespace vantor {

// What is wrong with a between-dates range, as the index of the text that says so: a start after
// the end, or a start or an end outside [earliest, latest] (the range the database can hold). None
// when the range is sound or another period is chosen.
std::optional<int> PeriodProblem(const ReportOptions& options, const QDateTime& earliest,
                                 const QDateTime& latest);

} // namespace vantor
