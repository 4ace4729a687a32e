#pragma once
// Report charts as SVG drawings for documents whose readers take vector pictures: the graph
// control's drawing commands written out as paths and text, sharp at any zoom and without the
// cost of rasterising and compressing a bitmap.

#include "reports/document/ReportDocument.h"

#include <QByteArray>

#include <vector>

namespace vantor {

// The chart's picture as an SVG 1.2 Tiny document in its logical coordinates (the viewBox), on white.
QByteArray EncodeChartSvg(const ReportImage& chart);

// EncodeChartSvg of every chart, in order, spread over the machine's cores.
std::vector<QByteArray> EncodeChartSvgs(const std::vector<const ReportImage*>& charts);

} // namespace vantor
