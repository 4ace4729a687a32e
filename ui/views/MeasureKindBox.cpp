#include "ui/views/MeasureKindBox.h"

#include "ui/views/PointViewsState.h"

namespace vantor {

MeasureKindBox::MeasureKindBox(std::span<const MeasureKind> kinds, QWidget* parent) : QComboBox(parent) {
    for (MeasureKind kind : kinds) {
        addItem(QString(), static_cast<int>(kind));
    }
}

MeasureKind MeasureKindBox::Kind() const {
    return static_cast<MeasureKind>(currentData().toInt());
}

void MeasureKindBox::SetKind(MeasureKind kind) {
    const int index = findData(static_cast<int>(kind));
    if (index >= 0) {
        setCurrentIndex(index);
    }
}

void MeasureKindBox::RefreshTexts(const CSettings& settings) {
    for (int i = 0; i < count(); ++i) {
        setItemText(i, MeasureCaption(settings, static_cast<MeasureKind>(itemData(i).toInt())));
    }
}

} // namespace vantor
