// The caption's font: face from the font table or a face name, height as a character-cell height
// in pixels, weight and styles from the properties.
#pragma once

#include "LabelProperties.h"

#include <QFont>
#include <QString>
#include <QStringList>

inline constexpr short SystemFontIndex = 6;

// 0 "Arial", 1 "Courier New", 2 "Symbol", 3 "Tahoma", 4 "Times New Roman", 5 "Wingdings"; empty
// for any other index (6, the system font, has no fixed face).
QString fontFaceName(short index);

// The face as named, then its metric stand-in when the named face is not installed (Liberation
// Sans for Arial, Liberation Serif for Times New Roman, Liberation Mono for Courier New, a sans
// face for Tahoma).
QStringList fontFamiliesFor(const QString& faceName);

// The font of the properties at the given size: FontNameByString when non-empty, else the face
// of FontName; with FontName 6 and no face string the desktop's general font, of which only
// height, weight and styles are replaced. A positive size is the character-cell height
// (ascent + descent) in pixels, a negative one the character height; 0 keeps the face's default.
QFont labelFont(const LabelProperties& properties, short size);
