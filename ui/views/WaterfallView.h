#pragma once
// "Waterfall FFT": the ISO or Total spectra of the point's latest readings one behind the other,
// the newest in front; how many is chosen up to "Max Waterfall graphs allowed". Each trace is
// labelled with its reading's date, and the read-out (and a tooltip) names the trace under the
// pointer with the line there.

#include "ui/views/ReadingView.h"

#include <QRect>
#include <QStringList>

#include <utility>

class QLabel;
class QSpinBox;

namespace vantor {

class WaterfallView : public ReadingView {
    Q_OBJECT
public:
    WaterfallView(PointViewsState& state, QWidget* parent = nullptr);

    // Loads the signals of the point's newest readings (at most Count()) and draws them.
    void Redraw() override;
    void Clear() override;
    void RefreshTexts() override;

    int Count() const;
    void SetCount(int count);
    // The readings drawn, newest first.
    const QStringList& Shown() const { return shown_; }

    // Each trace's date label where the last paint put it, front trace first.
    std::vector<std::pair<QRect, QString>> TraceLabels() const;
    // What the read-out says for the pointer at this position of the graph: the trace nearest to
    // it (its date) with the frequency and amplitude of its line there; empty away from the traces.
    QString TraceReadout(QPoint at) const;

protected:
    CursorOffer Cursors() const override { return {true, false}; }
    std::optional<AxisSetupKind> AxisKind() const override { return AxisSetupKind::Frequency; }
    AxisRange XRange(double minimum, double maximum) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Trace {
        std::vector<double> x;
        std::vector<double> y;
        QDateTime taken;
    };
    // Where trace i's line at X value x is drawn, or none outside the axis.
    std::optional<QPoint> TracePoint(int trace, double x, double y) const;

    QLabel* countLabel_ = nullptr;
    QSpinBox* count_ = nullptr;
    QWidget* dates_ = nullptr; // paints the date labels over the graph
    QStringList shown_;
    std::vector<Trace> traces_; // newest first
    QString xUnit_;
    QString yUnit_;
    int xDecimals_ = 1;
    int yDecimals_ = 3;
};

} // namespace vantor
