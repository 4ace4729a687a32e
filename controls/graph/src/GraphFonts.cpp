#include "GraphFonts.h"

#include "GraphPalette.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <mutex>

QString standInFamily(const QString& face) {
    static const struct {
        const char* face;
        const char* standIn;
    } standIns[] = {
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Tahoma", "DejaVu Sans"},
    };
    if (face.isEmpty() || QFontDatabase::hasFamily(face))
        return face;
    for (const auto& entry : standIns) {
        if (face.compare(QLatin1String(entry.face), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(entry.standIn);
    }
    return face;
}

namespace {

QFont makeGraphTextFont(int fontIndex, const TextStyle& style) {
    const GraphFont described = graphFont(fontIndex);
    QFont font = described.systemFont ? QFontDatabase::systemFont(QFontDatabase::GeneralFont)
                                      : QFont(standInFamily(described.faceName));
    if (!described.systemFont && described.faceName.isEmpty())
        font.setFamily(QString());
    font.setWeight(style.bold ? QFont::Bold : QFont::Normal);
    font.setUnderline(style.underline);
    // The size is the cell height (ascent + descent), not the em size Qt takes: scale once by the
    // face's own ratio of the two.
    const int cell = std::max(1, std::abs(style.cellHeight));
    font.setPixelSize(cell);
    const int measured = QFontMetrics(font).height();
    if (measured > 0 && measured != cell)
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * double(cell) / measured))));
    return font;
}

} // namespace

// A graph asks for the same few fonts on every paint; finding a face and measuring it goes through
// the font database (fontconfig) each time, so each font is made once per style and kept. The
// fonts a program has do not change while it runs.
QFont graphTextFont(int fontIndex, const TextStyle& style) {
    static std::mutex mutex;
    static QHash<quint64, QFont> made;
    const quint64 key = (quint64(quint32(fontIndex)) << 34) | (quint64(quint32(style.cellHeight)) << 2) |
                        (quint64(style.bold) << 1) | quint64(style.underline);
    {
        const std::scoped_lock lock(mutex);
        if (const auto found = made.constFind(key); found != made.cend())
            return *found;
    }
    QFont font = makeGraphTextFont(fontIndex, style);
    const std::scoped_lock lock(mutex);
    made.insert(key, font);
    return font;
}
