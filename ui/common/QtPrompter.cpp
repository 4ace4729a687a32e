#include "ui/common/QtPrompter.h"

#include "texts/UiText.h"
#include "ui/common/DateFixDialog.h"
#include "ui/common/NameDialog.h"

#include <QMessageBox>
#include <QPushButton>

namespace vantor {
namespace {

// A message box whose buttons carry the current language's texts.
bool Ask(QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon,
         QMessageBox::StandardButton accept, int acceptText, QMessageBox::StandardButton reject,
         int rejectText) {
    QMessageBox box(icon, caption, text, accept | reject, parent);
    box.button(accept)->setText(UiText(acceptText));
    box.button(reject)->setText(UiText(rejectText));
    box.setDefaultButton(accept);
    box.setEscapeButton(reject);
    return box.exec() == accept;
}

} // namespace

QtPrompter::QtPrompter(QString caption) : caption_(std::move(caption)) {}

void QtPrompter::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::Information, caption_, text, QMessageBox::Ok, parent_);
    box.button(QMessageBox::Ok)->setText(UiText(text::Ok));
    box.exec();
}

bool QtPrompter::AskYesNo(const QString& text) {
    return Ask(parent_, caption_, text, QMessageBox::Question, QMessageBox::Yes, text::Yes, QMessageBox::No,
               text::No);
}

bool QtPrompter::AskRetryCancel(const QString& text) {
    return Ask(parent_, caption_, text, QMessageBox::Warning, QMessageBox::Retry, text::Retry,
               QMessageBox::Cancel, text::Cancel);
}

std::optional<QString> QtPrompter::PromptName(const NameRequest& request) {
    NameDialog dialog(request, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Name();
}

std::optional<QDateTime> QtPrompter::PromptDateFix(const DateFixRequest& request) {
    DateFixDialog dialog(request, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.DateTime();
}

} // namespace vantor
