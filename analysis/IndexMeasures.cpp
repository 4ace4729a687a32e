#include "analysis/IndexMeasures.h"

namespace vantor {

const char* IndexMeasureName(IndexMeasure measure) {
    switch (measure) {
    case IndexMeasure::CrestFactor:
        return "crest";
    case IndexMeasure::Kurtosis:
        return "kurtosis";
    case IndexMeasure::PeakToPeak:
        return "p2p";
    case IndexMeasure::GeOverall:
        return "ge";
    }
    return "";
}

std::optional<IndexMeasure> IndexMeasureNamed(const QString& name) {
    for (const IndexMeasure measure : kAllIndexMeasures) {
        if (name == QLatin1String(IndexMeasureName(measure))) {
            return measure;
        }
    }
    return std::nullopt;
}

QString IndexMeasureCaption(IndexMeasure measure) {
    switch (measure) {
    case IndexMeasure::CrestFactor:
        return QStringLiteral("Crest Factor");
    case IndexMeasure::Kurtosis:
        return QStringLiteral("Kurtosis");
    case IndexMeasure::PeakToPeak:
        return QStringLiteral("Peak-to-Peak");
    case IndexMeasure::GeOverall:
        return QStringLiteral("gE Overall");
    }
    return {};
}

QString IndexMeasureUnit(IndexMeasure measure) {
    switch (measure) {
    case IndexMeasure::CrestFactor:
    case IndexMeasure::Kurtosis:
        return {};
    case IndexMeasure::PeakToPeak:
        return QStringLiteral("g");
    case IndexMeasure::GeOverall:
        return QStringLiteral("gE");
    }
    return {};
}

std::optional<double> IndexMeasureValue(const ReadingIndices& indices, IndexMeasure measure) {
    if (measure == IndexMeasure::GeOverall) {
        return indices.geOverall;
    }
    if (!indices.total) {
        return std::nullopt;
    }
    switch (measure) {
    case IndexMeasure::CrestFactor:
        return indices.total->crest;
    case IndexMeasure::Kurtosis:
        return indices.total->kurtosis;
    case IndexMeasure::PeakToPeak:
        return indices.total->peakToPeak;
    case IndexMeasure::GeOverall:
        break;
    }
    return std::nullopt;
}

std::vector<TrendReading> IndexTrendReadingsOf(const std::vector<CVibReading>& readings,
                                               const std::map<QString, ReadingIndices>& indices,
                                               IndexMeasure measure) {
    std::vector<TrendReading> trend;
    for (const CVibReading& reading : readings) {
        const auto found = indices.find(reading.sItemGUID);
        if (found == indices.end()) {
            continue;
        }
        if (const std::optional<double> value = IndexMeasureValue(found->second, measure)) {
            trend.push_back({reading.sItemGUID, reading.ctDateTaken, static_cast<float>(*value)});
        }
    }
    return trend;
}

} // namespace vantor
