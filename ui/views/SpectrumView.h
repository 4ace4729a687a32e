#pragma once
// "Single FFT": the ISO or Total spectrum of the shown reading, with its menu: cursor type,
// harmonic and bearing cursors, Top 10 Peaks, Update Run Speed (ISO), Axis Setup, Export CSV
// (Total) and Copy to Clipboard. The cursor read-out runs under the graph.

#include "ui/views/ReadingView.h"

#include <optional>

namespace vantor {

// The two spectra a view can show: ISO velocity or the Total acceleration channel.
inline constexpr MeasureKind kSpectrumKinds[] = {MeasureKind::IsoVelocity, MeasureKind::Acceleration};

class SpectrumView : public ReadingView {
    Q_OBJECT
public:
    bool WriteCsv(const QString& path) override;
    SpectrumView(PointViewsState& state, QWidget* parent = nullptr);

    // Draws the shown reading (loading its signals when needed); an empty graph without one.
    void Redraw() override;
    void Clear() override;

    // The menu's commands.
    void ShowTopPeaks();
    void UpdateRunSpeed();
    void ExportCsv();

signals:
    // The reading's run speed was updated (its row and cache file rewritten).
    void RunSpeedUpdated();

protected:
    CursorOffer Cursors() const override { return {}; }
    std::optional<AxisSetupKind> AxisKind() const override { return AxisSetupKind::Frequency; }
    void AddMenuItems(QMenu& menu) override;
    AxisRange XRange(double minimum, double maximum) const override;

private:
    std::optional<AxisRange> lockedY_; // Scale Lock: the amplitude axis kept between readings
};

} // namespace vantor
