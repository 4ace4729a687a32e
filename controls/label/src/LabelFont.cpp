#include "LabelFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>

#include <array>
#include <cmath>

namespace {

struct StandIn {
    const char* face;
    const char* families[2];
};

// Faces of the font table that Linux desktops lack, with faces of the same metrics (or, for
// Tahoma, of the same kind).
constexpr std::array<StandIn, 5> standIns = {{
    {"Arial", {"Liberation Sans", "Arimo"}},
    {"Times New Roman", {"Liberation Serif", "Tinos"}},
    {"Courier New", {"Liberation Mono", "Cousine"}},
    {"Courier", {"Liberation Mono", "Cousine"}},
    {"Tahoma", {"DejaVu Sans", "Liberation Sans"}},
}};

// Pixel size of the em square that gives the font a character cell of cellHeight pixels.
int emPixelsForCellHeight(QFont font, int cellHeight) {
    constexpr int reference = 1000;
    font.setPixelSize(reference);
    const QFontMetricsF metrics(font);
    const qreal cell = metrics.ascent() + metrics.descent();
    if (cell <= 0)
        return cellHeight;
    return std::max(1, static_cast<int>(std::lround(cellHeight * reference / cell)));
}

} // namespace

QString fontFaceName(short index) {
    static const std::array<QString, 6> faces = {
        QStringLiteral("Arial"),  QStringLiteral("Courier New"),     QStringLiteral("Symbol"),
        QStringLiteral("Tahoma"), QStringLiteral("Times New Roman"), QStringLiteral("Wingdings"),
    };
    if (index >= 0 && index < static_cast<int>(faces.size()))
        return faces[static_cast<std::size_t>(index)];
    return {};
}

QStringList fontFamiliesFor(const QString& faceName) {
    QStringList families{faceName};
    for (const StandIn& standIn : standIns) {
        if (faceName.compare(QLatin1String(standIn.face), Qt::CaseInsensitive) != 0)
            continue;
        for (const char* family : standIn.families)
            families.append(QLatin1String(family));
    }
    return families;
}

QFont labelFont(const LabelProperties& p, short size) {
    QFont font;
    if (!p.FontNameByString.isEmpty()) {
        font.setFamilies(fontFamiliesFor(p.FontNameByString));
    } else if (p.FontName == SystemFontIndex) {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    } else {
        const QString face = fontFaceName(p.FontName);
        // A face outside the table leaves the choice to the font matcher, as an empty name does.
        if (!face.isEmpty())
            font.setFamilies(fontFamiliesFor(face));
    }
    font.setStyleHint(QFont::SansSerif);

    if (size > 0)
        font.setPixelSize(emPixelsForCellHeight(font, size));
    else if (size < 0)
        font.setPixelSize(-static_cast<int>(size));
    font.setWeight(p.BoldOn ? QFont::Bold : QFont::Normal);
    font.setItalic(p.ItalicOn);
    font.setUnderline(p.UnderlineOn);
    font.setStrikeOut(p.StrikethroughOn);
    font.setKerning(false);
    return font;
}
