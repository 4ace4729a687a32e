#pragma once
// Report pictures (the title's logo) as PNG. Palette images where possible: libpng writes palette
// rows unfiltered, so encoding skips the per-row filter search of true colour and the file is a
// third the size.

#include <QByteArray>
#include <QImage>

namespace vantor {

// An image (the title's logo) without loss: with a palette when it has at most 256 colours, true
// colour otherwise.
QByteArray EncodeChartPng(const QImage& image);

// The image with an exact palette of its colours; a null image when it has more than 256.
QImage ExactPaletteImage(const QImage& image);

} // namespace vantor
