#include "ui/views/SignalFileExport.h"

#include "app/SignalTransfer.h"
#include "platform/Prompter.h"
#include "ui/views/PointViewsState.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

namespace vantor {
namespace {

void ExportShown(QWidget* parent, PointViewsState& state, SignalFileFormat format, Channel channel) {
    if (state.readingGuid.isEmpty()) {
        return;
    }
    const bool wav = format == SignalFileFormat::Wav;
    // The filters are the file types' names, the same in every language.
    QString chosen = QFileDialog::getSaveFileName(
        parent, wav ? QStringLiteral("WAV") : QStringLiteral("UFF 58"), state.app.settings.exportToFolder,
        wav ? QStringLiteral("WAV (*.wav)") : QStringLiteral("Universal File Format (*.uff *.unv)"));
    if (chosen.isEmpty()) {
        return;
    }
    if (QFileInfo(chosen).suffix().isEmpty()) {
        chosen += wav ? QStringLiteral(".wav") : QStringLiteral(".uff");
    }
    SignalExportRequest request;
    request.readingGuid = state.readingGuid;
    request.path = chosen;
    request.format = format;
    request.total = !wav || channel == Channel::Total;
    request.iso = !wav || channel == Channel::Iso;
    request.spectra = !wav;
    if (!wav) {
        // Channels without a capture (a reading imported with one channel) are left out.
        if (const ViewedReading* reading = state.Reading()) {
            request.total = reading->decoded.total.sampleCount > 0;
            request.iso = reading->decoded.iso.sampleCount > 0;
        }
    }
    const SignalExportOutcome outcome = ExportReadingSignals(state.app, state.processor, request);
    if (outcome.ok) {
        state.app.settings.exportToFolder = QFileInfo(chosen).absolutePath();
    } else {
        state.app.UserPrompter().ShowMessage(outcome.error);
    }
}

} // namespace

void AddSignalExportMenu(QMenu& menu, QWidget* parent, PointViewsState& state, Channel viewChannel,
                         bool enabled) {
    QMenu* exportMenu = menu.addMenu(QStringLiteral("Export"));
    exportMenu->setEnabled(enabled);
    exportMenu->addAction(QStringLiteral("UFF 58..."), parent, [parent, &state, viewChannel] {
        ExportShown(parent, state, SignalFileFormat::Uff58, viewChannel);
    });
    exportMenu->addAction(QStringLiteral("WAV..."), parent, [parent, &state, viewChannel] {
        ExportShown(parent, state, SignalFileFormat::Wav, viewChannel);
    });
}

} // namespace vantor
