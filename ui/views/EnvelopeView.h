#pragma once
// "Envelope": the envelope spectrum (gE) of the shown reading's Total channel in its point's band,
// with the band used and the gE overall above the graph, and the spectrum tools of every reading
// view (cursors, zoom, Axis Setup, Copy) plus Top 10 Peaks.

#include "analysis/EnvelopeSpectrum.h"
#include "analysis/FaultFamilies.h"
#include "ui/views/ReadingView.h"

#include <optional>
#include <vector>

class QLabel;

namespace vantor {

class EnvelopeView : public ReadingView {
    Q_OBJECT
public:
    bool WriteCsv(const QString& path) override;
    EnvelopeView(PointViewsState& state, QWidget* parent = nullptr);

    // Draws the shown reading's envelope spectrum (computed or read from its derived-data file); an
    // empty graph without a reading, with the reason above it when the band or capture is refused.
    void Redraw() override;
    void Clear() override;

    // The line above the graph: band, gE overall, or why there is no envelope.
    QString Caption() const;
    // A pane beside the reading's other graphs titles the graph with the reading alone, as they
    // do (the band stands in the caption above); the full title is the caption's tooltip.
    void SetReadingTitleOnly(bool on) { readingTitleOnly_ = on; }
    const std::optional<EnvelopeSpectrum>& Shown() const { return shown_; }

    void ShowTopPeaks();

protected:
    CursorOffer Cursors() const override { return {}; }
    std::optional<AxisSetupKind> AxisKind() const override { return AxisSetupKind::Frequency; }
    void AddMenuItems(QMenu& menu) override;
    AxisRange XRange(double minimum, double maximum) const override;

private:
    EnvelopeAnalyzer analyzer_; // the view's own work buffers
    QLabel* caption_ = nullptr;
    std::optional<EnvelopeSpectrum> shown_;
    bool readingTitleOnly_ = false;
};

} // namespace vantor
