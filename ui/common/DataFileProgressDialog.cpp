#include "ui/common/DataFileProgressDialog.h"

#include "texts/UiText.h"

#include <QCoreApplication>

namespace vantor {

DataFileProgressDialog::DataFileProgressDialog(const QString& title, QWidget* parent)
    : dialog_(QString(), UiText(text::Cancel), 0, 0, parent) {
    dialog_.setWindowTitle(title);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(0);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
}

void DataFileProgressDialog::Enumerating(const QString& section) {
    dialog_.setRange(0, 0);
    dialog_.setLabelText(QStringLiteral("%1\n%2").arg(section, UiText(text::Enumerating)));
    QCoreApplication::processEvents();
}

void DataFileProgressDialog::Step(const QString& section, int done, int total) {
    if (dialog_.maximum() != total) {
        dialog_.setRange(0, total);
    }
    dialog_.setValue(done);
    dialog_.setLabelText(DataFileStepText(section, done, total));
    QCoreApplication::processEvents();
}

bool DataFileProgressDialog::StopRequested() {
    return dialog_.wasCanceled();
}

} // namespace vantor
