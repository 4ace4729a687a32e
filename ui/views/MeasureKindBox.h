#pragma once
// The chooser of a point view's measure: one entry per measure kind it offers, captioned with the
// UI texts and the user's band names.
#include "analysis/Measures.h"

#include <QComboBox>

#include <span>

namespace vantor {

struct CSettings;

class MeasureKindBox : public QComboBox {
    Q_OBJECT
public:
    MeasureKindBox(std::span<const MeasureKind> kinds, QWidget* parent = nullptr);

    MeasureKind Kind() const;
    // A kind the box does not offer leaves the choice as it is.
    void SetKind(MeasureKind kind);
    void RefreshTexts(const CSettings& settings);
};

} // namespace vantor
