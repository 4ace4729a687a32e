#include "graphviews/GraphLanguage.h"

#include "texts/DisplayFormat.h"
#include "texts/UiText.h"

#include <VantorGraph/VantorGraphCtrl.h>

namespace vantor {

void UseDisplayLanguage(const QString& language) {
    SetDisplayLanguage(language);
    const QString pattern = DisplayDatePattern();
    if (pattern.isEmpty()) {
        CVantorGraphCtrl::resetDisplayLocale();
    } else {
        CVantorGraphCtrl::setDisplayLocale(DisplayLocale(), pattern);
        CVantorGraphCtrl::setTimeAxisCaptions(UiText(text::added::TimeAxisSeconds),
                                              UiText(text::added::TimeAxisMinutes),
                                              UiText(text::added::TimeAxisHours));
    }
}

} // namespace vantor
