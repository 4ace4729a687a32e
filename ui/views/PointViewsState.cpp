#include "ui/views/PointViewsState.h"

#include "app/OptionsFromSettings.h"
#include "ui/views/PointViewTexts.h"

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
    switch (kind) {
    case MeasureKind::IsoVelocity:
        return UiText(text::views::Iso);
    case MeasureKind::BearingNoise:
        return UiText(text::views::BearingNoise);
    case MeasureKind::Acceleration:
        return UiText(text::views::Total);
    case MeasureKind::Displacement:
        return UiText(text::views::Displacement);
    case MeasureKind::VaBand1:
        return settings.band1Name.isEmpty() ? UiText(text::views::Band1) : settings.band1Name;
    case MeasureKind::VaBand2:
        return settings.band2Name.isEmpty() ? UiText(text::views::Band2) : settings.band2Name;
    case MeasureKind::VaBand3:
        return settings.band3Name.isEmpty() ? UiText(text::views::Band3) : settings.band3Name;
    }
    return {};
}

} // namespace vantor
