#include "ui/common/MeasureLabels.h"

#include "texts/UiText.h"
#include "ui/common/PointViewTexts.h"

namespace vantor {

QString IndexMeasureLabel(IndexMeasure measure) {
    switch (measure) {
    case IndexMeasure::CrestFactor:
        return UiText(text::added::CrestFactorLabel);
    case IndexMeasure::Kurtosis:
        return UiText(text::added::KurtosisLabel);
    case IndexMeasure::PeakToPeak:
        return UiText(text::added::PeakToPeakLabel);
    case IndexMeasure::GeOverall:
        return UiText(text::added::GeOverallLabel);
    }
    return {};
}

QString AlarmMeasureLabel(const AlarmMeasure& measure) {
    if (measure.index) {
        return IndexMeasureLabel(*measure.index);
    }
    if (!measure.kind) {
        return {};
    }
    return MeasureName(*measure.kind,
                       {UiText(text::views::Band1), UiText(text::views::Band2), UiText(text::views::Band3)});
}

} // namespace vantor
