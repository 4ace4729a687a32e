#include "reports/ExceptionSender.h"

#include "platform/Prompter.h"
#include "reports/ExceptionFilePath.h"
#include "reports/SingleByteText.h"
#include "ui/texts/UiText.h"

#include <QDir>
#include <QFile>

namespace vantor {
namespace {

constexpr int kStartPosition = 10;
constexpr int kMailPosition = 66;
constexpr int kDonePosition = 100;

// Texts of failures that have no entry in the UI text table.
constexpr const char* kOpenFailedText = "CreateDispatch() failed w/error 0x%08lx";
constexpr const char* kNoStoreText = "Can't get MAPI namespace";

QString Busy(int index) {
    return UiText(index) + QStringLiteral("...");
}

// Writes the attachment as single-byte text, replacing an existing file; false when it cannot.
bool WriteAttachment(const QString& path, const QString& csv) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QByteArray bytes = EncodeWindows1252(csv);
    return file.write(bytes) == bytes.size() && file.flush();
}

// The mail steps for one machine; false after a failure has been shown.
class MailRun {
public:
    MailRun(MailTransport& transport, Prompter& prompter, ExceptionProgress& progress)
        : transport_(transport), prompter_(prompter), progress_(progress) {}
    MailRun(const MailRun&) = delete;
    MailRun& operator=(const MailRun&) = delete;

    bool Deliver(const MailMessage& message, MailDelivery delivery) {
        if (!opened_) {
            progress_.Show(Busy(text::OpeningMailClient), kMailPosition);
            const std::uint32_t status = transport_.Open();
            if (status != 0) {
                prompter_.ShowMessage(
                    status == MailTransport::kServerExecutionFailed
                        ? UiText(text::MailIntegrityLevel)
                        : QString::asprintf(kOpenFailedText, static_cast<unsigned long>(status)));
                return false;
            }
            opened_ = true;
        }
        progress_.Show(Busy(text::CreatingEmail), kMailPosition);
        if (!transport_.OpenStore()) {
            prompter_.ShowMessage(QString::fromLatin1(kNoStoreText));
            return false;
        }
        const std::optional<QString> location = transport_.CreateMessage(message, delivery);
        if (!location) {
            transport_.CloseStore();
            prompter_.ShowMessage(UiText(text::CantCreateMailMessage));
            return false;
        }
        const bool delivered = transport_.Deliver(*location, message, delivery);
        if (!delivered) {
            prompter_.ShowMessage(UiText(text::MailAccessDenied));
        }
        transport_.CloseStore();
        progress_.Show(Busy(text::CreatingEmail), kDonePosition);
        progress_.Close();
        return delivered;
    }

private:
    MailTransport& transport_;
    Prompter& prompter_;
    ExceptionProgress& progress_;
    bool opened_ = false;
};

} // namespace

QString ExceptionSubject(const QString& editionTitle) {
    return QStringLiteral("%1 - %2").arg(editionTitle, UiText(text::ExceptionReport));
}

ExceptionSendOutcome SendExceptionEmails(const std::vector<MachineExceptions>& groups,
                                         const ExceptionSendOptions& options, MailTransport& transport,
                                         Prompter& prompter, ExceptionProgress& progress) {
    if (!options.emailExceptionsOnUpload) {
        return ExceptionSendOutcome::Off;
    }
    if (!transport.Present()) {
        prompter.ShowMessage(UiText(text::MailClientUnavailable));
        return ExceptionSendOutcome::NoMailClient;
    }
    if (groups.empty()) {
        return ExceptionSendOutcome::Done;
    }
    progress.Show(Busy(text::CreatingExceptionEmail), kStartPosition);

    const QString tempFolder = ExceptionTempFolder(options.dataFolder);
    const MailDelivery delivery = options.autoSend ? MailDelivery::Send : MailDelivery::Display;
    MailRun run(transport, prompter, progress);
    bool failed = false;
    for (const MachineExceptions& group : groups) {
        QDir().mkpath(tempFolder);
        const QString path = ExceptionFilePath(tempFolder, group.machineName);
        const ExceptionEmailContent content = BuildExceptionEmail(group, options.labels);
        if (!WriteAttachment(path, content.csv)) {
            prompter.ShowMessage(UiText(text::CantSaveExceptionFile));
            failed = true;
            continue;
        }
        if (failed) {
            continue; // after a failure the files are still written, but no more mail goes out
        }
        const MailMessage message{group.recipients, ExceptionSubject(options.editionTitle), content.html,
                                  path};
        failed = !run.Deliver(message, delivery);
    }
    progress.Close();
    return failed ? ExceptionSendOutcome::Failed : ExceptionSendOutcome::Done;
}

} // namespace vantor
