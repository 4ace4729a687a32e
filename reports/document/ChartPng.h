#pragma once
// A chart picture as PNG, without loss: an 8-bit palette image when the picture has at most 256
// colours (charts are flat colour: libpng writes palette rows unfiltered, so encoding skips the
// per-row filter search of true colour and the file is a third the size), true colour otherwise.

#include <QByteArray>
#include <QImage>

namespace vantor {

QByteArray EncodeChartPng(const QImage& image);

// The image with an exact palette of its colours; a null image when it has more than 256.
QImage ExactPaletteImage(const QImage& image);

} // namespace vantor
