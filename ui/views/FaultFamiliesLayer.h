#pragma once
// The fault families of the shown point's bearings on a spectrum graph: their lines painted by the
// graph control as its underlay (behind the spectrum's lines, as are its bands), so no family line
// hides a peak, their labels and legend by a layer over the control that lets the mouse through;
// and the "Fault Families" menu with a toggle for the whole overlay, one per family and the number
// of harmonics drawn. The toggles are kept by family while readings and points change.

#include "graphviews/FaultOverlay.h"

#include <QWidget>

class QPainter;

#include <functional>
#include <map>

class CVantorGraphCtrl;
class QMenu;

namespace vantor {

// The families' harmonics drawn as far as the view's X axis reaches (the views' default).
inline constexpr int kFaultHarmonicsToViewEnd = 0;

class FaultFamiliesLayer : public QWidget {
    Q_OBJECT
public:
    explicit FaultFamiliesLayer(CVantorGraphCtrl& graph);
    // Repaints the graph (the lines) and the layer (labels and legend).
    void Repaint();
    // The harmonics a choice draws: kFaultHarmonicsToViewEnd every one the families have (those
    // past the X axis are left out when painted), else the choice within 1..kMostFaultHarmonics.
    static int DrawnHarmonics(int harmonics);

    // The families of these bearings at a run speed in Hz, in displayed frequency units, with
    // harmonics 1 to `harmonics` (held within 1..kMostFaultHarmonics; kFaultHarmonicsToViewEnd as far
    // as the view shows). No bearings: nothing is painted.
    void Show(std::vector<BearingAtPoint> bearings, double runSpeedHz, double frequencyFactor,
              int harmonics = kDefaultFaultHarmonics);
    void Clear();
    // The shown families again with another number of harmonics.
    void SetHarmonics(int harmonics);
    int Harmonics() const { return harmonics_; }

    const FaultOverlay& Overlay() const { return overlay_; }
    const std::vector<BearingAtPoint>& Bearings() const { return bearings_; }
    bool On() const { return on_; }
    void SetOn(bool on);
    void SetFamilyShown(const QString& legend, bool shown);
    // Where the last paint put the labels and the legend.
    const OverlayLayout& Layout() const { return layout_; }

    // The "Fault Families" submenu (disabled when the point has no bearings); with a feed, also
    // "Bearing Cursor From", one item per bearing, which calls feed with the bearing's index.
    // Its "Harmonic" submenu offers "To the view's end" and 1x to 1x-20x (kMostFaultHarmonics) and
    // emits HarmonicsChosen.
    void AddToMenu(QMenu& menu, const std::function<void(int)>& feedBearingCursor);

signals:
    // The user chose how many harmonics each family shows (the layer itself does not change: the
    // owner applies the choice to every view).
    void HarmonicsChosen(int harmonics);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintUnder(QPainter& painter);

    CVantorGraphCtrl& graph_;
    FaultOverlay overlay_;
    OverlayLayout layout_;
    std::vector<BearingAtPoint> bearings_;
    double runSpeedHz_ = 0;
    double frequencyFactor_ = 1;
    int harmonics_ = kFaultHarmonicsToViewEnd;
    bool on_ = true;
    std::map<QString, bool> hidden_; // by legend
};

} // namespace vantor
