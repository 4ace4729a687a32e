#include "reports/mail/ExceptionSender.h"

#include "platform/Prompter.h"
#include "reports/mail/ExceptionFilePath.h"
#include "reports/mail/MailSession.h"
#include "reports/mail/SingleByteText.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>

namespace vantor {
namespace {

constexpr int kStartPosition = 10;

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

// The machine's attachment path. Machine names need not be unique, and a desktop mail program
// reads an attachment only after it has been handed over, so a second machine of the same name
// in one run gets "<name> (2).csv" instead of overwriting the first one's file.
QString UnusedAttachmentPath(const QString& tempFolder, const QString& machineName, const QStringList& used) {
    QString path = ExceptionFilePath(tempFolder, machineName);
    for (int n = 2; used.contains(path); ++n) {
        path = ExceptionFilePath(tempFolder, QStringLiteral("%1 (%2)").arg(machineName).arg(n));
    }
    return path;
}

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
    // Nothing to send is not worth a word, even when no mail facility is present.
    if (groups.empty()) {
        return ExceptionSendOutcome::Done;
    }
    if (!transport.Present()) {
        prompter.ShowMessage(UiText(text::MailClientUnavailable));
        return ExceptionSendOutcome::NoMailClient;
    }
    progress.Show(Busy(text::CreatingExceptionEmail), kStartPosition);

    const QString tempFolder = ExceptionTempFolder(options.dataFolder);
    const MailDelivery delivery = options.autoSend ? MailDelivery::Send : MailDelivery::Display;
    MailSession session(transport, prompter, progress);
    bool failed = false;
    QStringList usedPaths;
    for (const MachineExceptions& group : groups) {
        QDir().mkpath(tempFolder);
        const QString path = UnusedAttachmentPath(tempFolder, group.machineName, usedPaths);
        usedPaths << path;
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
        failed = !session.Deliver(message, delivery);
    }
    progress.Close();
    return failed ? ExceptionSendOutcome::Failed : ExceptionSendOutcome::Done;
}

} // namespace vantor
