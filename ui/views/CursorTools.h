#pragma once
// The cursor items of the graph views' menus (Off / Simple / Harmonic / Bearing, Harmonic Add and
// Minus, the bearing fault multipliers) and the read-out line that follows the cursor events.

#include "graphviews/GraphViews.h"

#include <QMap>
#include <QObject>
#include <QString>

#include <functional>

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

// Keeps a label showing where the cursors stand: "Cursor: x unit, y unit", one entry per harmonic
// or bearing fault line, in the units the view names.
class CursorReadout : public QObject {
    Q_OBJECT
public:
    CursorReadout(CVantorGraphCtrl& graph, QLabel& label, QObject* parent = nullptr);
    // The unit labels and decimals the values are shown with.
    void SetUnits(const QString& xUnit, int xDecimals, const QString& yUnit, int yDecimals);
    // Forgets every entry (cursor off or a new graph).
    void Reset();
    QString Text() const;

private:
    void Set(const QString& key, const QString& caption, double x, double y);

    CVantorGraphCtrl& graph_;
    QLabel& label_;
    QString xUnit_;
    QString yUnit_;
    int xDecimals_ = 2;
    int yDecimals_ = 3;
    QMap<QString, QString> entries_; // ordered by key
};

} // namespace vantor
