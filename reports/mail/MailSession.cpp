#include "reports/mail/MailSession.h"

#include "platform/Prompter.h"
#include "texts/UiText.h"

namespace vantor {
namespace {

constexpr int kMailPosition = 66;
constexpr int kDonePosition = 100;

QString Busy(int index) {
    return UiText(index) + QStringLiteral("...");
}

} // namespace

MailSession::MailSession(MailTransport& transport, Prompter& prompter, ExceptionProgress& progress)
    : transport_(transport), prompter_(prompter), progress_(progress) {}

bool MailSession::Deliver(const MailMessage& message, MailDelivery delivery, QString* location) {
    if (!opened_) {
        progress_.Show(Busy(text::OpeningMailClient), kMailPosition);
        const std::uint32_t status = transport_.Open();
        if (status != 0) {
            prompter_.ShowMessage(
                status == MailTransport::kServerExecutionFailed
                    ? UiText(text::MailIntegrityLevel)
                    : QString::asprintf(kMailOpenFailedText, static_cast<unsigned long>(status)));
            return false;
        }
        opened_ = true;
    }
    progress_.Show(Busy(text::CreatingEmail), kMailPosition);
    if (!transport_.OpenStore()) {
        prompter_.ShowMessage(QString::fromLatin1(kMailStoreFailedText));
        return false;
    }
    const std::optional<QString> created = transport_.CreateMessage(message, delivery);
    if (!created) {
        transport_.CloseStore();
        prompter_.ShowMessage(UiText(text::CantCreateMailMessage));
        return false;
    }
    if (location != nullptr) {
        *location = *created;
    }
    const bool delivered = transport_.Deliver(*created, message, delivery);
    if (!delivered) {
        prompter_.ShowMessage(UiText(text::MailAccessDenied));
    }
    transport_.CloseStore();
    progress_.Show(Busy(text::CreatingEmail), kDonePosition);
    progress_.Close();
    return delivered;
}

} // namespace vantor
