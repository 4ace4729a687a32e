// The graph's text fonts: the face of the font property with its metric stand-in where the
// Windows face is not installed, sized by character-cell height in pixels.
#pragma once

#include <QFont>
#include <QString>

// The installed family that draws `face` with the same metrics (Arial -> Liberation Sans, Times
// New Roman -> Liberation Serif, Courier New -> Liberation Mono, Tahoma -> a sans face); the face
// itself when it is installed or has no stand-in.
QString standInFamily(const QString& face);

struct TextStyle {
    int cellHeight = 12; // pixels, ascent plus descent
    bool bold = false;
    bool underline = false;
};

// The font of font index `fontIndex` (the system font for 6) in the given style.
QFont graphTextFont(int fontIndex, const TextStyle& style);
