#pragma once
// The meter's port: Automatic (the cradle found on the USB bus), one of the serial ports present
// (USB-serial adapters named by their description), or a typed device path such as the emulator's
// pseudo-terminal. Set-up > Meter Port shows it with OK and Cancel; a From Meter or To Meter run that
// finds no cradle or no meter shows it in place of its Retry/Cancel question, with the reason above
// the choice. The choice is kept in the MeterPort setting.

#include "platform/Prompter.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;

namespace vantor {

class CAppData;

class CMeterPortDialog : public QDialog {
    Q_OBJECT
public:
    // `current` is the stored port; empty means Automatic. `message` is the reason shown above the
    // choice (a run that found no cradle): the buttons are then Retry and Cancel, else OK and Cancel.
    CMeterPortDialog(const QString& current, const QString& message, QWidget* parent = nullptr);

    // The chosen device path; empty for Automatic.
    QString Port() const;
    QComboBox* Choice() const { return choice_; }
    QLabel* Message() const { return message_; }

private:
    QComboBox* choice_;
    QLabel* message_;
};

// Set-up > Meter Port: true when the setting changed (and was written).
bool RunMeterPortSetting(CAppData& app, QWidget* parent);

// The prompter a synchronisation run asks through on the desktop: it answers "No Cradle detected" and
// "No Device detected" with the port dialog, and passes every other question on. Retry with the same
// port retries in the run; Retry with another port ends the run so that the caller starts it again on
// the new port (PortChanged() then says so, and the setting holds the new port).
class MeterPortPrompter : public Prompter {
public:
    using PortDialog = std::function<std::optional<QString>(const QString& current, const QString& message)>;
    MeterPortPrompter(CAppData& app, Prompter& next, QWidget* parent);

    bool PortChanged() const { return portChanged_; }
    // Replaces the dialog (tests answer it): the chosen port, or nothing for Cancel.
    void SetPortDialog(PortDialog dialog) { dialog_ = std::move(dialog); }

    void ShowMessage(const QString& text) override { next_.ShowMessage(text); }
    bool AskYesNo(const QString& text) override { return next_.AskYesNo(text); }
    bool AskRetryCancel(const QString& text) override;
    std::optional<QString> PromptName(const NameRequest& request) override {
        return next_.PromptName(request);
    }
    std::optional<QDateTime> PromptDateFix(const DateFixRequest& request) override {
        return next_.PromptDateFix(request);
    }

private:
    CAppData& app_;
    Prompter& next_;
    PortDialog dialog_;
    bool portChanged_ = false;
};

} // namespace vantor
