#pragma once
// The small pictures of the machine tree: a shape per kind of item (the plant, a machine, a
// vibration point, a lubrication point, the off-route readings) filled with the colour of its
// status, so an alarm shows at a glance even when the tree's text colours are themed.

#include "analysis/AlarmStatus.h"

#include <QColor>
#include <QIcon>

namespace vantor {

enum class TreeIconShape { Plant, Machine, VibPoint, LubePoint, OffRoute };

// The status colour as a QColor.
QColor StatusQColor(StatusCode code);
// The colour of a status word or name on the application's text background: the status colour,
// made lighter on a dark background so that blue and red stay readable there.
QColor StatusTextColour(StatusCode code);
// Painted once per shape and status, then shared.
QIcon StatusIcon(TreeIconShape shape, StatusCode code);
// The same with the diagnosis's mark: a small triangle with "!" in the colour of the most severe
// alarming finding at its lower right (the plain icon for a mark below WARNING), so a point whose
// findings alarm shows even where its status is NOT CONFIGURED or OK. With newEvents a dot at its
// upper right says that alarm events under the item wait for acknowledgement; with online a small
// ring at its upper left says that an online sensor feeds the point.
QIcon MarkedStatusIcon(TreeIconShape shape, StatusCode code, StatusCode mark, bool newEvents = false,
                       bool online = false);
// The mark alone (a null icon below WARNING), for the status table's status cell.
QIcon FindingsMarkIcon(StatusCode mark);
// The new-events dot alone, for the status table's point name.
QIcon NewEventsIcon();

} // namespace vantor
