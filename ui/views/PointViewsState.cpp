#include "ui/views/PointViewsState.h"

#include "app/OptionsFromSettings.h"
#include "app/TypedSettings.h"
#include "texts/DisplayFormat.h"
#include "ui/common/PointViewTexts.h"

namespace vantor {

const ViewedReading* PointViewsState::Reading() {
    if (loaded) {
        return &*loaded;
    }
    if (readingGuid.isEmpty() || loadFailed) {
        return nullptr;
    }
    loaded = LoadOrSay(app, processor, readingGuid);
    loadFailed = !loaded;
    return loaded ? &*loaded : nullptr;
}

void PointViewsState::ForgetReading() {
    loaded.reset();
    loadFailed = false;
}

DisplayUnits PointViewsState::Units() const {
    return DisplayUnitsOf(app.settings);
}

MeasureFormat PointViewsState::Format() const {
    return MeasureFormatOf(app.settings);
}

QString MeasureCaption(const CSettings& settings, MeasureKind kind) {
    // A band the user left unnamed is shown by its default label.
    const auto named = [](const QString& name, int fallback) {
        return name.isEmpty() ? UiText(fallback) : DisplayBandName(name);
    };
    return MeasureName(kind, {named(settings.band1Name, text::views::Band1),
                              named(settings.band2Name, text::views::Band2),
                              named(settings.band3Name, text::views::Band3)});
}

} // namespace vantor
