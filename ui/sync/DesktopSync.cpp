#include "ui/sync/DesktopSync.h"

#include "app/OptionsFromSettings.h"
#include "reports/mail/ExceptionList.h"
#include "reports/mail/ExceptionSender.h"
#include "reports/mail/SystemMailTransport.h"

#include <QProgressDialog>

namespace vantor {
namespace {

// The exception e-mails' progress in a window of its own.
class DialogMailProgress final : public ExceptionProgress {
public:
    explicit DialogMailProgress(QWidget* parent) : dialog_(parent) {
        dialog_.setCancelButton(nullptr);
        dialog_.setRange(0, 100);
        dialog_.setMinimumDuration(0);
        dialog_.setAutoClose(false);
    }
    void Show(const QString& text, int position) override {
        dialog_.setLabelText(text);
        dialog_.setValue(position);
    }
    void Close() override { dialog_.close(); }

private:
    QProgressDialog dialog_;
};

} // namespace

void SendExceptionEmails(CAppData& app, Prompter& prompter, QWidget* parent) {
    SystemMailTransport transport(SystemMailOptionsOf(app));
    DialogMailProgress progress(parent);
    vantor::SendExceptionEmails(ProcessExceptionList().Groups(), ExceptionSendOptionsOf(app), transport,
                                prompter, progress);
    progress.Close();
}

} // namespace vantor
