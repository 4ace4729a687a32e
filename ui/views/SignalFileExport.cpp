#include "ui/views/SignalFileExport.h"

#include "app/SignalTransfer.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"
#include "ui/views/PointViewsState.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>

namespace vantor {
namespace {} // namespace

QString ProposedSignalFileName(const QString& machine, const QString& point, const QDateTime& taken,
                               const QString& channel, const QString& suffix) {
    QStringList parts{machine, point, taken.toString(QStringLiteral("yyyy-MM-dd HHmm")), channel};
    parts.removeAll(QString());
    // Characters file systems or file managers refuse or misread become "-".
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]"));
    return parts.join(QLatin1Char(' ')).replace(unsafe, QStringLiteral("-")).trimmed() + QLatin1Char('.') +
           suffix;
}

namespace {

void ExportShown(QWidget* parent, PointViewsState& state, SignalFileFormat format, Channel channel) {
    if (state.readingGuid.isEmpty()) {
        return;
    }
    const bool wav = format == SignalFileFormat::Wav;
    // A name that says whose reading it is, in the folder used last.
    QString proposed;
    if (const ViewedReading* reading = state.Reading()) {
        proposed = ProposedSignalFileName(
            reading->machineName, reading->pointName, reading->taken,
            wav ? (channel == Channel::Total ? QStringLiteral("Total") : QStringLiteral("ISO")) : QString(),
            wav ? QStringLiteral("wav") : QStringLiteral("uff"));
    }
    const QString folder =
        state.app.settings.exportToFolder.isEmpty() ? QDir::homePath() : state.app.settings.exportToFolder;
    // The filters are the file types' names, the same in every language.
    QString chosen = QFileDialog::getSaveFileName(
        parent, wav ? QStringLiteral("WAV") : QStringLiteral("UFF 58"), QDir(folder).filePath(proposed),
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
    QMenu* exportMenu = menu.addMenu(UiText(text::ExportMenu));
    exportMenu->setEnabled(enabled);
    exportMenu->addAction(QStringLiteral("UFF 58..."), parent, [parent, &state, viewChannel] {
        ExportShown(parent, state, SignalFileFormat::Uff58, viewChannel);
    });
    exportMenu->addAction(QStringLiteral("WAV..."), parent, [parent, &state, viewChannel] {
        ExportShown(parent, state, SignalFileFormat::Wav, viewChannel);
    });
}

} // namespace vantor
