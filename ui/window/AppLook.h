#pragma once
// The application's looks: a Qt style with a palette and, for some, a style sheet. Each look has
// the menu command id the "AppLook" setting stores; an unknown id means the first look.

#include <QString>

#include <vector>

class QApplication;

namespace vantor {

struct AppLook {
    int id = 0;         // the "AppLook" value
    QString name;       // as the App Look menu lists it
    QString style;      // the Qt style
    bool dark = false;  // a dark palette
    QString styleSheet; // applied over the style; empty for none
};

// Every look, the default one (id 116) first.
const std::vector<AppLook>& AppLooks();
// The look of a stored id; the default one for an id no look has.
const AppLook& AppLookFor(int id);
// Gives the running application the look: its style, palette and style sheet.
void ApplyAppLook(const AppLook& look);

} // namespace vantor
