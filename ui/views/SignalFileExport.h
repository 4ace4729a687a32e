#pragma once
// Export of the shown reading in the interchange formats from a point view's menu: "UFF 58..." (both
// channels' waveforms and spectra, ASCII) and "WAV..." (the view's channel as 32-bit float samples).
#include "analysis/ReadingDecode.h"

#include <QDateTime>
#include <QString>

class QMenu;
class QWidget;

namespace vantor {

struct PointViewsState;

// The file name the save dialog proposes: "<machine> <point> <yyyy-MM-dd HHmm>[ <channel>].<suffix>",
// with the characters file systems refuse replaced by "-".
QString ProposedSignalFileName(const QString& machine, const QString& point, const QDateTime& taken,
                               const QString& channel, const QString& suffix);

// Adds the "Export" submenu; its items act on the reading the views show.
void AddSignalExportMenu(QMenu& menu, QWidget* parent, PointViewsState& state, Channel viewChannel,
                         bool enabled);

} // namespace vantor
