#include "reports/document/ReportOptions.h"

#include "reports/document/ReportTexts.h"

#include <algorithm>

namespace vantor {

const ReportGraphInfo& GraphInfo(ReportGraph graph) {
    return kReportGraphs[static_cast<std::size_t>(graph)];
}

std::optional<ReportGraph> ReportGraphNamed(const QString& name) {
    for (const ReportGraphInfo& info : kReportGraphs) {
        if (name == QLatin1String(info.name)) {
            return info.graph;
        }
    }
    return std::nullopt;
}

std::optional<ReportGraph> ReportGraphOf(MeasureKind measure, GraphForm form) {
    for (const ReportGraphInfo& info : kReportGraphs) {
        if (info.measure == measure && info.form == form) {
            return info.graph;
        }
    }
    return std::nullopt;
}

int ReportOptions::GraphsOn() const {
    return static_cast<int>(std::count(graphs.begin(), graphs.end(), true));
}

int ReportWorkCount(const ReportOptions& options, const std::vector<int>& pointsPerMachine) {
    int points = 0;
    for (const int count : pointsPerMachine) {
        points += count;
    }
    return points * (options.GraphsOn() + (options.envelope ? 1 : 0)) + 2 + (options.statusTable ? 1 : 0);
}

} // namespace vantor

namespace vantor {

std::optional<int> PeriodProblem(const ReportOptions& options, const QDateTime& earliest,
                                 const QDateTime& latest) {
    if (options.period != ReportPeriod::BetweenDates) {
        return std::nullopt;
    }
    const auto outside = [&](const QDateTime& at) {
        return !at.isValid() || (earliest.isValid() && at < earliest) || (latest.isValid() && at > latest);
    };
    if (outside(options.start)) {
        return text::StartDateOutOfRange;
    }
    if (outside(options.end)) {
        return text::EndDateOutOfRange;
    }
    if (options.start > options.end) {
        return text::StartDateAfterEnd;
    }
    return std::nullopt;
}

} // namespace vantor
