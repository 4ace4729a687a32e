#pragma once
// The correction of a reading's date-time when the meter stored one that is not valid or lies
// outside 1900-01-01 00:00:00 .. 2079-06-06 00:00:00. The texts, the picker's range and format and
// the check of the entered value live here, free of widgets; the desktop's dialog shows them, and
// Run() asks through the prompter.

#include <QDateTime>
#include <QString>

#include <optional>

namespace vantor {

class Prompter;

class DateFixCheck {
public:
    // `initial` is the value the date-time picker starts with.
    DateFixCheck(QString machineName, QString pointName, QDateTime initial);

    // "Update: Date/Time"
    QString Title() const;
    // Why the dialog is shown, naming the machine and the point.
    QString Text() const;
    QString UpdateButtonText() const;
    QString CancelButtonText() const;
    // The picker's display format: the user's short date format and time format joined by a blank.
    static QString PickerFormat();
    // The range the picker offers: the dates the meter can hold.
    static QDateTime Earliest();
    static QDateTime Latest();
    // What the picker starts with: `initial` when it lies in the range, else the current time.
    static QDateTime PickerStart(const QDateTime& initial);
    QDateTime Initial() const { return initial_; }

    // What "Update" does with the entered value: empty when accepted, else the message to show
    // ("Error: Please input a valid Date/Time") while the dialog stays open.
    static std::optional<QString> CheckUpdate(const QDateTime& entered);

    // Asks through the prompter until a value is accepted (returned) or the user cancels (empty).
    // Every refused value shows the error message and asks again with the attempt counted.
    std::optional<QDateTime> Run(Prompter& prompter) const;

private:
    QString machineName_;
    QString pointName_;
    QDateTime initial_;
};

} // namespace vantor
