#pragma once
// The desktop program's answers to the Prompter port: message boxes, a name prompt and the
// date-fix dialog, all modal over the main window and captioned with the edition title.

#include "platform/Prompter.h"

#include <QPointer>
#include <QWidget>

namespace vantor {

class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QString caption);

    // The window the dialogs are modal to (none until the main window exists).
    void SetParentWindow(QWidget* parent) { parent_ = parent; }

    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    bool AskRetryCancel(const QString& text) override;
    std::optional<QString> PromptName(const NameRequest& request) override;
    std::optional<QDateTime> PromptDateFix(const DateFixRequest& request) override;

private:
    QString caption_;
    QPointer<QWidget> parent_;
};

} // namespace vantor
