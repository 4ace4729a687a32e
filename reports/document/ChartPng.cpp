#include "reports/document/ChartPng.h"

#include <QBuffer>
#include <QPainter>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <array>

namespace vantor {
namespace {

// zlib level 1 (Qt's PNG quality 80): charts are mostly flat colour, so the files stay small and
// encoding stays fast.
constexpr int kChartPngQuality = 80;
constexpr int kPaletteSize = 256;

// The palette being collected: an open-addressing table of the colours seen, sized to a power of
// two well above the palette so probes stay short.
class ColourTable {
public:
    // The colour's palette index, added when new; -1 once the palette is full.
    int IndexOf(QRgb colour) {
        std::size_t slot = Hash(colour);
        while (true) {
            Entry& entry = entries_[slot];
            if (entry.used && entry.colour == colour) {
                return entry.index;
            }
            if (!entry.used) {
                if (palette_.size() == kPaletteSize) {
                    return -1;
                }
                entry = {colour, static_cast<int>(palette_.size()), true};
                palette_.push_back(colour);
                return entry.index;
            }
            slot = (slot + 1) & (kSlots - 1);
        }
    }
    const QList<QRgb>& Palette() const { return palette_; }

private:
    static constexpr std::size_t kSlots = 1024;
    struct Entry {
        QRgb colour = 0;
        int index = 0;
        bool used = false;
    };
    static std::size_t Hash(QRgb colour) {
        // Fibonacci hashing (Knuth, The Art of Computer Programming, vol. 3, 6.4).
        return (colour * 2654435769u) >> (32 - 10);
    }
    std::array<Entry, kSlots> entries_{};
    QList<QRgb> palette_;
};

// The palette for pictures of more than 256 colours: the 6 × 6 × 6 colour cube (levels 51 apart)
// and 40 greys evenly between black and white, since a chart's many colours are mostly the grey and tinted
// edges of antialiased text.
QList<QRgb> FixedPalette() {
    constexpr int kLevels = 6;
    constexpr int kStep = 255 / (kLevels - 1);
    QList<QRgb> palette;
    for (int r = 0; r < kLevels; ++r) {
        for (int g = 0; g < kLevels; ++g) {
            for (int b = 0; b < kLevels; ++b) {
                palette.push_back(qRgb(r * kStep, g * kStep, b * kStep));
            }
        }
    }
    const int greys = kPaletteSize - static_cast<int>(palette.size());
    for (int k = 1; k <= greys; ++k) {
        const int grey = qRound(255.0 * k / (greys + 1));
        palette.push_back(qRgb(grey, grey, grey));
    }
    return palette;
}

QByteArray PngOf(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", kChartPngQuality);
    return png;
}

} // namespace

QImage ExactPaletteImage(const QImage& image) {
    const QImage source = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                              ? image
                              : image.convertToFormat(QImage::Format_ARGB32);
    QImage indexed(source.size(), QImage::Format_Indexed8);
    ColourTable table;
    QRgb last = 0;
    int lastIndex = -1;
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            // RGB32's unused alpha byte is 0xFF by definition; keep the colour as stored.
            const QRgb colour = in[x];
            if (colour != last || lastIndex < 0) {
                lastIndex = table.IndexOf(colour);
                if (lastIndex < 0) {
                    return {};
                }
                last = colour;
            }
            out[x] = static_cast<uchar>(lastIndex);
        }
    }
    indexed.setColorTable(table.Palette());
    indexed.setDotsPerMeterX(image.dotsPerMeterX());
    indexed.setDotsPerMeterY(image.dotsPerMeterY());
    return indexed;
}

QByteArray EncodeChartPng(const QImage& image) {
    const QImage indexed = ExactPaletteImage(image);
    return PngOf(indexed.isNull() ? image : indexed);
}

QImage RasteriseChart(const ReportImage& chart) {
    QImage image(chart.pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.Draw(painter, QRectF(QPointF(0, 0), QSizeF(chart.pixels)));
    return image;
}

QByteArray EncodeChartPicturePng(const ReportImage& chart) {
    const QImage image = RasteriseChart(chart);
    QImage indexed = ExactPaletteImage(image);
    if (indexed.isNull()) {
        static const QList<QRgb> palette = FixedPalette();
        indexed = image.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
    }
    return PngOf(indexed);
}

std::vector<QByteArray> EncodeChartPicturePngs(const std::vector<const ReportImage*>& charts) {
    std::vector<QByteArray> pngs(charts.size());
    QThreadPool pool;
    pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    for (std::size_t at = 0; at < charts.size(); ++at) {
        pool.start([&pngs, &charts, at] { pngs[at] = EncodeChartPicturePng(*charts[at]); });
    }
    pool.waitForDone();
    return pngs;
}

} // namespace vantor
