// Every property value of the label control, with its initial value.
#pragma once

#include <QString>

// Offsets added to the text rectangle's edges to give the shadow rectangle.
struct ShadowOffset {
    short left = 0;
    short top = 0;
    short right = 0;
    short bottom = 0;
};

struct LabelProperties {
    // Persisted.
    short BackGroundColor = 0; // palette index
    short FontName = 3;        // font index (Tahoma)
    short Size = 14;           // character-cell height in pixels
    short Color = 1;           // palette index (black)
    bool UnderlineOn = false;
    bool BoldOn = false;
    bool ItalicOn = false;
    bool StrikethroughOn = false;
    short Rotation = 0; // 0, 90, 180, 270 degrees for 0..3
    bool WordWrapOn = false;
    short HorizontalAlignment = 1; // centre
    short VerticalAlignment = 1;   // middle
    QString Caption = QStringLiteral("Label");
    int BackGroundColorAlt = 0; // RGB; the container's ambient background on reset
    int ColorAlt = 0;           // RGB, black
    short BorderEffect = 0;

    // Stock properties, persisted by the container with the others.
    short BorderStyle = 0;
    bool Enabled = true;

    // Run time only.
    short BackGroundColorSelect = 0; // 0 palette, otherwise BackGroundColorAlt
    short ColorSelect = 0;           // 0 palette, otherwise ColorAlt
    QString FontNameByString;        // overrides FontName when non-empty
    int TextShadowColor = 0;         // RGB, black
    bool TextShadowOn = false;
    bool GradientBkFillOn = false;
    ShadowOffset TextShadowOffset;
};
