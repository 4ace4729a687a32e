#include "GraphPalette.h"

#include <QFontDatabase>

#include <array>

QColor paletteColor(int index, const QColor& ambientBackground) {
    static constexpr std::array<QRgb, PaletteSize> palette = {
        qRgb(0, 0, 0),       qRgb(0, 0, 0),       qRgb(192, 0, 0),   qRgb(255, 0, 0),     qRgb(0, 192, 0),
        qRgb(0, 255, 0),     qRgb(192, 192, 0),   qRgb(255, 255, 0), qRgb(0, 0, 192),     qRgb(0, 0, 255),
        qRgb(192, 0, 192),   qRgb(255, 0, 255),   qRgb(0, 192, 192), qRgb(0, 255, 255),   qRgb(128, 128, 128),
        qRgb(192, 192, 192), qRgb(255, 255, 255), qRgb(255, 128, 0), qRgb(255, 220, 217), qRgb(253, 246, 161),
        qRgb(197, 254, 194), qRgb(111, 100, 252), qRgb(104, 72, 10), qRgb(255, 17, 213),  qRgb(0, 0, 255),
    };
    if (index == 0)
        return ambientBackground;
    if (index < 0 || index >= PaletteSize)
        return QColor(0, 0, 0);
    return QColor(palette[static_cast<std::size_t>(index)]);
}

QColor colorFromRgbValue(int rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

GraphFont graphFont(int index) {
    static const std::array<QString, 6> faces = {
        QStringLiteral("Arial"),  QStringLiteral("Courier New"),     QStringLiteral("Symbol"),
        QStringLiteral("Tahoma"), QStringLiteral("Times New Roman"), QStringLiteral("Wingdings"),
    };
    if (index >= 0 && index < static_cast<int>(faces.size()))
        return {faces[static_cast<std::size_t>(index)], 0, false};
    if (index == 6) {
        const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        return {font.family(), font.pointSize(), true};
    }
    return {};
}
