#include "device/DateFixDialog.h"

#include "device/MeterCommands.h"
#include "platform/Prompter.h"
#include "ui/texts/UiText.h"

#include <QLocale>

namespace vantor {

CDateFixDialog::CDateFixDialog(QString machineName, QString pointName, QDateTime initial)
    : machineName_(std::move(machineName)), pointName_(std::move(pointName)), initial_(std::move(initial)) {}

QString CDateFixDialog::Title() const {
    return QStringLiteral("%1: %2").arg(UiText(text::Update), UiText(text::DateTime));
}

QString CDateFixDialog::Text() const {
    return QStringLiteral("%1:\r\n\r\n%2: %3 - %4: %5\r\n\r\n%6")
        .arg(UiText(text::ReadingDateProblem), UiText(text::MachineLabel), machineName_,
             UiText(text::VibPointLabel), pointName_, UiText(text::InputCorrectDate));
}

QString CDateFixDialog::UpdateButtonText() const {
    return UiText(text::Update);
}

QString CDateFixDialog::CancelButtonText() const {
    return UiText(text::Cancel);
}

QString CDateFixDialog::PickerFormat() {
    const QLocale locale = QLocale::system();
    return locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.timeFormat(QLocale::ShortFormat);
}

std::optional<QString> CDateFixDialog::CheckUpdate(const QDateTime& entered) {
    if (IsWithinMeterDateRange(entered)) {
        return std::nullopt;
    }
    return UiText(text::InvalidDateTime);
}

std::optional<QDateTime> CDateFixDialog::Run(Prompter& prompter) const {
    DateFixRequest request{Title(), Text(), initial_, 0};
    for (;;) {
        const std::optional<QDateTime> entered = prompter.PromptDateFix(request);
        if (!entered) {
            return std::nullopt;
        }
        const std::optional<QString> refusal = CheckUpdate(*entered);
        if (!refusal) {
            return entered;
        }
        prompter.ShowMessage(*refusal);
        ++request.attempt;
    }
}

} // namespace vantor
