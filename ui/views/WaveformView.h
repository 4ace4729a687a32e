#pragma once
// "Waveform": the Total channel's samples of the shown reading in g against seconds, with a simple
// cursor, Axis Setup, Export CSV and Copy to Clipboard.

#include "ui/views/ReadingView.h"

namespace vantor {

class WaveformView : public ReadingView {
    Q_OBJECT
public:
    bool WriteCsv(const QString& path) override;
    WaveformView(PointViewsState& state, QWidget* parent = nullptr);

    void Redraw() override;
    void Clear() override;
    void ExportCsv();

protected:
    std::optional<AxisSetupKind> AxisKind() const override { return AxisSetupKind::Time; }
    void AddMenuItems(QMenu& menu) override;
};

} // namespace vantor
