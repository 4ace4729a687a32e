#include "GraphFonts.h"

#include "GraphPalette.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

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

QFont graphTextFont(int fontIndex, const TextStyle& style) {
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
