#include "device/DateFixCheck.h"

#include "device/MeterCommands.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <QLocale>

namespace vantor {

DateFixCheck::DateFixCheck(QString machineName, QString pointName, QDateTime initial)
    : machineName_(std::move(machineName)), pointName_(std::move(pointName)), initial_(std::move(initial)) {}

QString DateFixCheck::Title() const {
    return QStringLiteral("%1: %2").arg(UiText(text::Update), UiText(text::DateTime));
}

QString DateFixCheck::Text() const {
    return QStringLiteral("%1:\r\n\r\n%2: %3 - %4: %5\r\n\r\n%6")
        .arg(UiText(text::ReadingDateProblem), UiText(text::MachineLabel), machineName_,
             UiText(text::VibPointLabel), pointName_, UiText(text::InputCorrectDate));
}

QString DateFixCheck::UpdateButtonText() const {
    return UiText(text::Update);
}

QString DateFixCheck::CancelButtonText() const {
    return UiText(text::Cancel);
}

QString DateFixCheck::PickerFormat() {
    const QLocale locale = QLocale::system();
    QString date = locale.dateFormat(QLocale::ShortFormat);
    // A two-digit year cannot tell 1950 from 2050 within the meter's range: show all four digits.
    if (!date.contains(QLatin1String("yyyy"))) {
        date.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    return date + QLatin1Char(' ') + locale.timeFormat(QLocale::ShortFormat);
}

QDateTime DateFixCheck::Earliest() {
    return EarliestMeterDateTime();
}

QDateTime DateFixCheck::Latest() {
    return LatestMeterDateTime();
}

QDateTime DateFixCheck::PickerStart(const QDateTime& initial) {
    return IsWithinMeterDateRange(initial) ? initial : QDateTime::currentDateTime();
}

std::optional<QString> DateFixCheck::CheckUpdate(const QDateTime& entered) {
    if (IsWithinMeterDateRange(entered)) {
        return std::nullopt;
    }
    return UiText(text::InvalidDateTime);
}

std::optional<QDateTime> DateFixCheck::Run(Prompter& prompter) const {
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
