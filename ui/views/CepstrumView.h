#pragma once
// "Cepstrum": the real cepstrum of the shown reading's Total channel against quefrency (ms), with
// the periods of the point's fault families and of the shaft marked and listed above the graph, so
// an analyst can confirm a family whose harmonics are evenly spaced in the spectrum.

#include "ui/views/ReadingView.h"

class QLabel;

namespace vantor {

class CepstrumView : public ReadingView {
    Q_OBJECT
public:
    CepstrumView(PointViewsState& state, QWidget* parent = nullptr);

    void Redraw() override;
    void Clear() override;

    // The line above the graph: the marked periods, or why there is no cepstrum.
    QString Caption() const;

protected:
    CursorOffer Cursors() const override { return {}; }

private:
    QLabel* caption_ = nullptr;
};

} // namespace vantor
