#include "app/SignalCsvFile.h"

#include "analysis/ViewTexts.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <QSaveFile>

namespace vantor {

CsvExportOutcome ExportSignalCsv(const ReadingSignals& decoded, const SignalCsvInput& input,
                                 const QString& chosenPath, Prompter& prompter) {
    if (input.viewKind != MeasureKind::Acceleration) {
        return CsvExportOutcome::NotAcceleration;
    }
    const QString target = CsvTargetPath(chosenPath);
    const QByteArray bytes = EncodeCsvText(SignalCsvText(decoded, input), target);
    QSaveFile file(target);
    const bool written = !target.isEmpty() && file.open(QIODevice::WriteOnly) &&
                         file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        if (file.isOpen()) {
            file.cancelWriting();
        }
        prompter.ShowMessage(UiText(text::ErrorSavingDataFile));
        return CsvExportOutcome::Failed;
    }
    return CsvExportOutcome::Written;
}

} // namespace vantor
