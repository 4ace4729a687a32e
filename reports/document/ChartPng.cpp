#include "reports/document/ChartPng.h"

#include <QBuffer>

#include <algorithm>
#include <vector>

namespace vantor {
namespace {

// zlib level 1 (Qt's PNG quality 80): logos are mostly flat colour, so the files stay small and
// encoding stays fast.
constexpr int kChartPngQuality = 80;
constexpr int kPaletteSize = 256;

// A picture's colours and how many pixels show each: an open-addressing table sized to a power of
// two well above what it holds, so probes stay short, counting up to kCapacity colours (one more
// than a palette holds: past that the picture is kept in true colour and the count does not matter).
class ColourHistogram {
public:
    struct Entry {
        QRgb colour = 0;
        int count = 0;
        int index = -1; // in the palette chosen; -1 when the colour is not in it
        bool used = false;
    };
    static constexpr int kCapacity = kPaletteSize + 1;

    void Add(QRgb colour, int pixels) {
        if (Entry* entry = Find(colour, size_ < kCapacity)) {
            entry->count += pixels;
        }
    }
    // The entry of the colour; null when it is absent (and not added).
    Entry* Find(QRgb colour, bool add = false) {
        // Fibonacci hashing (Knuth, The Art of Computer Programming, vol. 3, 6.4).
        std::size_t slot = (colour * 2654435769u) >> (32 - kSlotBits);
        while (true) {
            Entry& entry = entries_[slot];
            if (entry.used && entry.colour == colour) {
                return &entry;
            }
            if (!entry.used) {
                if (!add) {
                    return nullptr;
                }
                entry = {colour, 0, -1, true};
                used_.push_back(&entry);
                ++size_;
                return &entry;
            }
            slot = (slot + 1) & (kSlots - 1);
        }
    }
    int Size() const { return size_; }
    // The counted colours, most pixels first.
    std::vector<Entry*> ByCount() const {
        std::vector<Entry*> entries = used_;
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry* a, const Entry* b) { return a->count > b->count; });
        return entries;
    }

private:
    static constexpr int kSlotBits = 10;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    std::vector<Entry> entries_ = std::vector<Entry>(kSlots);
    std::vector<Entry*> used_;
    int size_ = 0;
};

// Calls visit(colour, run) for each run of equal pixels of a row.
template <typename Visit> void ForEachRun(const QImage& source, Visit visit) {
    // QImage's accessors are calls into the library: read the size once.
    const int width = source.width();
    const int height = source.height();
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        int start = 0;
        for (int x = 1; x <= width; ++x) {
            if (x == width || in[x] != in[start]) {
                visit(y, start, x - start, in[start]);
                start = x;
            }
        }
    }
}

// The picture with an 8-bit palette of its exact colours; a null image when it has more than 256.
QImage PaletteImage(const QImage& image) {
    // A logo's transparency is kept: its palette entries carry their alpha.
    const QImage source =
        image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    ColourHistogram histogram;
    ForEachRun(source, [&histogram](int, int, int run, QRgb colour) { histogram.Add(colour, run); });
    if (histogram.Size() > kPaletteSize) {
        return {};
    }
    QList<QRgb> palette;
    for (ColourHistogram::Entry* entry : histogram.ByCount()) {
        entry->index = static_cast<int>(palette.size());
        palette.push_back(entry->colour);
    }
    QImage indexed(source.size(), QImage::Format_Indexed8);
    ForEachRun(source, [&histogram, &indexed](int y, int x, int run, QRgb colour) {
        std::fill_n(indexed.scanLine(y) + x, run, static_cast<uchar>(histogram.Find(colour)->index));
    });
    indexed.setColorTable(palette);
    indexed.setDotsPerMeterX(image.dotsPerMeterX());
    indexed.setDotsPerMeterY(image.dotsPerMeterY());
    return indexed;
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
    return PaletteImage(image);
}

QByteArray EncodeChartPng(const QImage& image) {
    const QImage indexed = ExactPaletteImage(image);
    return PngOf(indexed.isNull() ? image : indexed);
}

} // namespace vantor
