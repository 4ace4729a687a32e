#include "ui/views/SignalCsvExport.h"

#include "app/SignalCsvFile.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/PointViewsState.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>

namespace vantor {

void ExportShownSignalCsv(QWidget* parent, PointViewsState& state, MeasureKind viewKind, CsvContent content) {
    const ViewedReading* reading = state.Reading();
    if (!reading) {
        return;
    }
    // The filters are the file types' names, the same in every language.
    QString chosen = QFileDialog::getSaveFileName(
        parent, UiText(text::views::ExportCsv), state.app.settings.exportToFolder,
        QStringLiteral("CSV (Comma delimited)(*.csv);;Unicode Text (Comma delimited)(*.txt)"));
    if (chosen.isEmpty()) {
        return;
    }
    if (QFileInfo(chosen).suffix().isEmpty()) {
        chosen += QStringLiteral(".csv");
    }
    if (WriteShownSignalCsv(state, viewKind, content, chosen)) {
        state.app.settings.exportToFolder = QFileInfo(chosen).absolutePath();
    }
}

bool WriteShownSignalCsv(PointViewsState& state, MeasureKind viewKind, CsvContent content,
                         const QString& path) {
    const ViewedReading* reading = state.Reading();
    if (!reading) {
        return false;
    }
    SignalCsvInput input;
    input.viewKind = viewKind;
    input.content = content;
    input.machineName = reading->machineName;
    input.pointName = reading->pointName;
    // The file's documented date and time: the regional settings, whatever language the desktop shows.
    const QLocale locale = QLocale::system();
    input.dateText = locale.toString(reading->taken.date(), QLocale::ShortFormat);
    input.timeText = locale.toString(reading->taken.time(), QLocale::ShortFormat);
    input.units = state.Units();
    input.consolidatePeaks = state.Consolidate();
    return ExportSignalCsv(reading->decoded, input, path, state.app.UserPrompter()) ==
           CsvExportOutcome::Written;
}

} // namespace vantor
