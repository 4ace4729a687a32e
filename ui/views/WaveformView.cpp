#include "ui/views/WaveformView.h"

#include "analysis/CaptureNotice.h"
#include "analysis/SignalCsv.h"
#include "analysis/ViewData.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/GraphPane.h"
#include "ui/views/PointViewsState.h"
#include "ui/views/SignalCsvExport.h"
#include "ui/views/SignalFileExport.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QMenu>

namespace vantor {
namespace {
constexpr int kTimeReadoutDecimals = 4;
constexpr int kGReadoutDecimals = 3;
} // namespace

WaveformView::WaveformView(PointViewsState& state, QWidget* parent) : ReadingView(state, {}, parent) {}

void WaveformView::Clear() {
    ShowWaveformView(Pane().Graph(), WaveformViewData{}, QString());
    Emptied();
}

void WaveformView::Redraw() {
    const ViewedReading* reading = state_.Reading();
    if (!reading) {
        Clear();
        return;
    }
    WaveformViewData view = MakeWaveformViewData(reading->decoded);
    // A reading imported with its ISO channel only has no Total waveform: the title says so.
    const auto note = MissingWaveformNote(reading->decoded);
    ShowWaveformView(Pane().Graph(), view,
                     note ? QStringLiteral("%1  %2").arg(ReadingTitle(*reading), *note)
                          : ReadingTitle(*reading));
    DrawnGraph drawn;
    drawn.xUnit = QStringLiteral("s");
    drawn.xDecimals = kTimeReadoutDecimals;
    drawn.yUnit = QStringLiteral("g");
    drawn.yDecimals = kGReadoutDecimals;
    drawn.cursorStart = (view.xAxis.minimum + view.xAxis.maximum) / 2;
    drawn.source = state_.readingGuid;
    drawn.lineX = std::move(view.x);
    drawn.lineY = std::move(view.y);
    Drawn(std::move(drawn));
}

void WaveformView::AddMenuItems(QMenu& menu) {
    const bool shown = Pane().Graph().GetSeriesCount() > 0;
    AddAxisSetupItem(menu);
    menu.addAction(UiText(text::views::ExportCsv), this, &WaveformView::ExportCsv)->setEnabled(shown);
    AddSignalExportMenu(menu, this, state_, Channel::Total, shown);
}

void WaveformView::ExportCsv() {
    ExportShownSignalCsv(this, state_, MeasureKind::Acceleration, CsvContent::Waveform);
}

bool WaveformView::WriteCsv(const QString& path) {
    return WriteShownSignalCsv(state_, MeasureKind::Acceleration, CsvContent::Waveform, path);
}

} // namespace vantor
