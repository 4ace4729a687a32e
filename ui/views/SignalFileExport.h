#pragma once
// Export of the shown reading in the interchange formats from a point view's menu: "UFF 58..." (both
// channels' waveforms and spectra, ASCII) and "WAV..." (the view's channel as 32-bit float samples).
#include "analysis/ReadingDecode.h"

class QMenu;
class QWidget;

namespace vantor {

struct PointViewsState;

// Adds the "Export" submenu; its items act on the reading the views show.
void AddSignalExportMenu(QMenu& menu, QWidget* parent, PointViewsState& state, Channel viewChannel,
                         bool enabled);

} // namespace vantor
