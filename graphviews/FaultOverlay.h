#pragma once
// The fault-frequency families of a point's bearings drawn over a spectrum graph: a vertical line
// per harmonic (sidebands thinner and dotted), a colour per family kind (the bearing cursor's
// colours), a line style per bearing, short labels above the lines that never overlap, and a
// legend. Painted after the graph control on the same painter, so screen, image and report show
// the same overlay.

#include "analysis/FaultFamilies.h"

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>

#include <vector>

class CVantorGraphCtrl;

namespace vantor {

struct OverlayFamily {
    QString legend; // "OR BPFO – Pump NDE (6205-2RS JEM)"
    QString label;  // line label stem: "OR", or "2:OR" when the point has several bearings
    QColor colour;
    Qt::PenStyle style = Qt::SolidLine;
    bool shown = true;
    std::vector<FamilyLine> lines; // frequencies in displayed units
};

struct FaultOverlay {
    std::vector<OverlayFamily> families; // bearing by bearing, IR, OR, CG, RE
};

// The cursor record colours of the four families, in FaultKind order (IR, OR, CG, RE).
QColor FaultColour(FaultKind kind);
// "IR", "OR", "CG", "RE".
QString FaultCursorLabel(FaultKind kind);

// The families of the point's bearings at a run speed in Hz, their frequencies multiplied by the
// display's frequency factor.
FaultOverlay MakeFaultOverlay(const std::vector<BearingAtPoint>& bearings, double runSpeedHz,
                              double frequencyFactor, int harmonics = kDefaultFaultHarmonics);

// Label placement: each label (its centre x and width) goes into the first of `rows` rows, from
// the top of `area`, where it overlaps no label placed before; a label whose centre is near a side
// is moved in to fit within the area, one whose centre is outside it is left out, as is a label
// with no room (its line is still drawn). Returns one rectangle per label, an
// empty one for a label left out.
// Rectangles in `obstacles` (the graph's own cursor labels) are kept free like placed labels.
std::vector<QRectF> PlaceLabels(const std::vector<std::pair<double, double>>& centresAndWidths,
                                const QRectF& area, double rowHeight, int rows,
                                const std::vector<QRectF>& obstacles = {});

inline constexpr int kOverlayLabelRows = 3;

// Where the graph draws its front trace as laid out by its last paint: the plot rectangle, less
// on a waterfall the offsets of the traces behind it (the newest trace is in front).
QRectF FrontTraceRect(const CVantorGraphCtrl& graph);

// Where an overlay's labels and legend were painted, in the graph's coordinates.
struct OverlayLayout {
    std::vector<QRectF> labels; // the labels drawn, none overlapping another
    QRectF legend;              // empty without a shown family
};

// Paints the shown families over the front trace (FrontTraceRect), mapping frequencies through the
// X axis limits, with the legend at its top right below the label rows. Lines outside the axis are
// left out; labels keep clear of the graph's cursor labels and sit on a light ground, so a peak
// under one still shows.
// Which parts are painted: a view paints the lines behind the spectrum (the graph's underlay) and
// the labels and legend over it, where they keep clear of the cursors the graph has just drawn.
enum class OverlayParts { All, Lines, LabelsAndLegend };
OverlayLayout PaintFaultOverlay(QPainter& painter, const CVantorGraphCtrl& graph, const FaultOverlay& overlay,
                                OverlayParts parts = OverlayParts::All);

// The bearing cursor takes its four multipliers (IR, OR, CG, RE) from a bearing: its factors
// times its speed ratio, since the cursor multiplies the point's run speed.
void SetBearingCursorFrom(CVantorGraphCtrl& graph, const BearingAtPoint& bearing);

} // namespace vantor
