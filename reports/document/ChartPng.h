#pragma once
// Report pictures as PNG. Palette images where possible: libpng writes palette rows unfiltered, so
// encoding skips the per-row filter search of true colour and the file is a third the size.

#include "reports/document/ReportDocument.h"

#include <QByteArray>
#include <QImage>

#include <vector>

namespace vantor {

// An image (the title's logo) without loss: with a palette when it has at most 256 colours, true
// colour otherwise.
QByteArray EncodeChartPng(const QImage& image);

// The image with an exact palette of its colours; a null image when it has more than 256.
QImage ExactPaletteImage(const QImage& image);

// The chart's picture rasterised on white at its print resolution.
QImage RasteriseChart(const ReportImage& chart);

// The chart rasterised and stored as PNG with an 8-bit palette: the exact palette of its colours,
// or, past 256 colours (antialiased text in many colours), its 40 most used colours exactly and
// the nearest colour of a 6 × 6 × 6 cube for the rest.
QByteArray EncodeChartPicturePng(const ReportImage& chart);

// EncodeChartPicturePng of every chart, in order, spread over the machine's cores.
std::vector<QByteArray> EncodeChartPicturePngs(const std::vector<const ReportImage*>& charts);

} // namespace vantor
