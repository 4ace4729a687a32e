#pragma once
// The chooser of a point view's measure: one entry per measure kind it offers, captioned with the
// UI texts and the user's band names, and on the trend the waveform indices after them.
#include "analysis/IndexMeasures.h"
#include "analysis/Measures.h"

#include <QComboBox>

#include <span>

namespace vantor {

struct CSettings;

class MeasureKindBox : public QComboBox {
    Q_OBJECT
public:
    MeasureKindBox(std::span<const MeasureKind> kinds, QWidget* parent = nullptr);

    // The kind chosen; Total while an index is chosen (the channel the indices are taken from).
    MeasureKind Kind() const;
    // A kind the box does not offer leaves the choice as it is.
    void SetKind(MeasureKind kind);
    // Offers the waveform indices after the kinds.
    void AddIndexMeasures();
    // The index chosen; none while a kind is.
    std::optional<IndexMeasure> Index() const;
    void SetIndex(IndexMeasure measure);
    void RefreshTexts(const CSettings& settings);
};

} // namespace vantor
