#include "reports/document/ChartPng.h"

#include <QBuffer>

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
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    (indexed.isNull() ? image : indexed).save(&buffer, "PNG", kChartPngQuality);
    return png;
}

} // namespace vantor
