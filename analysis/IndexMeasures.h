#pragma once
// The waveform indices that trend beside the documented measures: crest factor, kurtosis and
// peak-to-peak of the Total channel, and the gE overall of its envelope. Their names, captions and
// units live here, in the order the trend's measure chooser lists them after the documented kinds.

#include "analysis/ReadingIndices.h"
#include "analysis/TrendProjection.h"

#include <QString>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace vantor {

enum class IndexMeasure { CrestFactor, Kurtosis, PeakToPeak, GeOverall };
inline constexpr std::array<IndexMeasure, 4> kAllIndexMeasures = {
    IndexMeasure::CrestFactor, IndexMeasure::Kurtosis, IndexMeasure::PeakToPeak, IndexMeasure::GeOverall};

// The command line's name: crest, kurtosis, p2p, ge.
const char* IndexMeasureName(IndexMeasure measure);
std::optional<IndexMeasure> IndexMeasureNamed(const QString& name);
// The caption of the measure chooser and the graph ("Crest Factor", "Kurtosis", "Peak-to-Peak",
// "gE Overall"), and the unit of its values ("" for the ratios, "g", "gE").
QString IndexMeasureCaption(IndexMeasure measure);
QString IndexMeasureUnit(IndexMeasure measure);

// The measure's value in a reading's indices (Total channel); none where the reading has none.
std::optional<double> IndexMeasureValue(const ReadingIndices& indices, IndexMeasure measure);

// A point's readings (oldest first) as trend readings of the measure; readings without a value are
// left out, so nothing but computed values enters the fit.
std::vector<TrendReading> IndexTrendReadingsOf(const std::vector<CVibReading>& readings,
                                               const std::map<QString, ReadingIndices>& indices,
                                               IndexMeasure measure);

} // namespace vantor
