#include "ui/views/MeasureKindBox.h"

#include "ui/common/MeasureLabels.h"
#include "ui/views/PointViewsState.h"

namespace vantor {
namespace {

// An index's item data lies past every kind's code.
constexpr int kFirstIndexData = 100;

} // namespace

MeasureKindBox::MeasureKindBox(std::span<const MeasureKind> kinds, QWidget* parent) : QComboBox(parent) {
    for (MeasureKind kind : kinds) {
        addItem(QString(), static_cast<int>(kind));
    }
}

MeasureKind MeasureKindBox::Kind() const {
    const int code = currentData().toInt();
    return code >= kFirstIndexData ? MeasureKind::Acceleration : static_cast<MeasureKind>(code);
}

void MeasureKindBox::AddIndexMeasures() {
    for (const IndexMeasure measure : kAllIndexMeasures) {
        addItem(IndexMeasureLabel(measure), kFirstIndexData + static_cast<int>(measure));
    }
}

std::optional<IndexMeasure> MeasureKindBox::Index() const {
    const int code = currentData().toInt();
    if (code < kFirstIndexData) {
        return std::nullopt;
    }
    return static_cast<IndexMeasure>(code - kFirstIndexData);
}

void MeasureKindBox::SetIndex(IndexMeasure measure) {
    const int index = findData(kFirstIndexData + static_cast<int>(measure));
    if (index >= 0) {
        setCurrentIndex(index);
    }
}

void MeasureKindBox::SetKind(MeasureKind kind) {
    const int index = findData(static_cast<int>(kind));
    if (index >= 0) {
        setCurrentIndex(index);
    }
}

void MeasureKindBox::RefreshTexts(const CSettings& settings) {
    for (int i = 0; i < count(); ++i) {
        const int code = itemData(i).toInt();
        setItemText(i, code >= kFirstIndexData
                           ? IndexMeasureLabel(static_cast<IndexMeasure>(code - kFirstIndexData))
                           : MeasureCaption(settings, static_cast<MeasureKind>(code)));
    }
}

} // namespace vantor
