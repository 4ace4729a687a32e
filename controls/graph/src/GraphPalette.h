// The control's 25-entry colour palette and its font table, to which the short colour and font
// properties refer.
#pragma once

#include <QColor>
#include <QString>

inline constexpr int PaletteSize = 25;

// Index 0 is the container's ambient background; any index outside the palette is black.
QColor paletteColor(int index, const QColor& ambientBackground);

// A colour given as an automation RGB value (R + 256 G + 65536 B).
QColor colorFromRgbValue(int rgb);

struct GraphFont {
    QString faceName;        // empty for an index outside the table
    int pointSize = 0;       // only for the system font
    bool systemFont = false; // the size follows the system, not the size properties
};

// 0 Arial, 1 Courier New, 2 Symbol, 3 Tahoma, 4 Times New Roman, 5 Wingdings, 6 the system message
// font (the desktop's general font with its point size).
GraphFont graphFont(int index);
