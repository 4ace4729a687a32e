#pragma once
// The cursor items of the graph views' menus (Off / Simple / Harmonic / Bearing, Harmonic Add and
// Minus, the bearing fault multipliers) and the read-out line that follows the cursor events.

#include "graphviews/GraphViews.h"

#include <QMap>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class CVantorGraphCtrl;
class QLabel;
class QMenu;
class QWidget;

namespace vantor {

// Which cursor types a view offers.
struct CursorOffer {
    bool harmonic = true;
    bool bearing = true;
};

// Adds the radio items "Off (Cursor Type)", "Simple (Cursor Type)", "Harmonic (Cursor Type)" and,
// where offered, the bearing cursor, then "Harmonic: Add" and "Harmonic: Minus" (enabled with the
// harmonic cursor) and the bearing fault multipliers (enabled with the bearing cursor).
// choose is called with the picked type.
void AddCursorItems(QMenu& menu, CVantorGraphCtrl& graph, GraphCursor current, CursorOffer offer,
                    const std::function<void(GraphCursor)>& choose);

// Asks for the four bearing fault multipliers, captioned with the control's fault names, and writes
// them to the control. False when cancelled.
bool EditBearingFaults(CVantorGraphCtrl& graph, QWidget* parent);

// The line of a shown trace nearest to x: its index in lines (ascending), or none when empty.
std::optional<std::size_t> NearestLine(const std::vector<double>& lines, double x);

// The line a cursor reads for a target x (displayed units): the nearest line, or with `largestNear`
// the largest line within ±2 % of x (the nearest when none lies there), as the diagnosis finds an
// order of the run speed. None when there are no lines.
inline constexpr double kOrderTolerance = 0.02; // ±2 %, the diagnosis's order window
std::optional<std::size_t> LineFor(const std::vector<double>& x, const std::vector<double>& y, double target,
                                   bool largestNear);

// Keeps a label showing where the cursors stand: "Cursor: x unit, y unit", one entry per harmonic
// or bearing fault line, in the units the view names. The values are those of the shown line
// nearest to each cursor (the spectrum line or waveform sample), not what the control snapped to
// on screen; a cursor that stands nowhere shows nothing. With a family fundamental the harmonic
// and bearing entries read the lines at its multiples (the reading's run speed, not the line the
// control snapped it to). Every entry is worked out again from the lines and units in force, so a
// new unit never shows an old number.
class CursorReadout : public QObject {
    Q_OBJECT
public:
    CursorReadout(CVantorGraphCtrl& graph, QLabel& label, QObject* parent = nullptr);
    // The unit labels and decimals the values are shown with (xDecimals the most; a line's X
    // shows with the fewest that give it exactly: 12.5 and 23.75 on 1.25 Hz lines).
    void SetUnits(const QString& xUnit, int xDecimals, const QString& yUnit, int yDecimals);
    // The lines the cursors are read on (X ascending, displayed units); empty: the control's values.
    void SetLines(std::vector<double> x, std::vector<double> y);
    // The harmonic and bearing cursors' 1× in displayed units (none: the control's lines), and
    // whether each multiple reads the largest line within ±2 % of it.
    void SetFamilyFundamental(std::optional<double> fundamental, bool largestNear);
    // Forgets every entry (cursor off or a new graph).
    void Reset();
    QString Text() const;
    // The value read for a cursor at x: the nearest line's X and Y; none for a cursor that stands
    // nowhere (the control's -100).
    std::optional<std::pair<double, double>> ValueAt(double x, double y) const;

private:
    // Where an entry reads: the control's position, or a multiple of the family fundamental.
    struct Entry {
        QString caption;
        double x = 0;
        double y = 0;
        double multiple = 0; // > 0: reads at multiple × the family fundamental when there is one
    };
    void Set(const QString& key, const QString& caption, double x, double y, double multiple = 0);
    void Show();
    QString EntryText(const Entry& entry) const;
    std::vector<double> lineX_;
    std::vector<double> lineY_;

    CVantorGraphCtrl& graph_;
    QLabel& label_;
    QString xUnit_;
    QString yUnit_;
    int xDecimals_ = 2;
    int yDecimals_ = 3;
    std::optional<double> fundamental_;
    bool largestNear_ = false;
    QMap<QString, Entry> entries_; // ordered by key
};

} // namespace vantor
