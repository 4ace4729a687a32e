#include "reports/mail/SmtpClient.h"
#include "reports/Log.h"
#include "texts/UiText.h"

#include <QRegularExpression>
#include <QSysInfo>

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace vantor {
namespace {

struct UploadSource {
    const QByteArray* data;
    qsizetype offset = 0;
};

std::size_t ReadUpload(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto* source = static_cast<UploadSource*>(user);
    const auto wanted = static_cast<qsizetype>(size * count);
    const qsizetype left = source->data->size() - source->offset;
    const qsizetype taken = left < wanted ? left : wanted;
    std::memcpy(buffer, source->data->constData() + source->offset, static_cast<std::size_t>(taken));
    source->offset += taken;
    return static_cast<std::size_t>(taken);
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

QString AngleAddress(const QString& text) {
    static const QRegularExpression angle(QStringLiteral("<([^<>]*)>"));
    const auto match = angle.match(text);
    return (match.hasMatch() ? match.captured(1) : text).trimmed();
}

} // namespace

QString SenderAddress(const SmtpSettings& settings) {
    if (!settings.from.trimmed().isEmpty()) {
        return AngleAddress(settings.from);
    }
    if (settings.user.contains(QLatin1Char('@'))) {
        return settings.user.trimmed();
    }
    QString login = qEnvironmentVariable("USER");
    if (login.isEmpty()) {
        login = QStringLiteral("vantor");
    }
    return login + QLatin1Char('@') + QSysInfo::machineHostName();
}

int InitialiseSmtp() {
    static std::once_flag once;
    static CURLcode result = CURLE_OK;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return static_cast<int>(result);
}

SmtpOutcome SendSmtp(const SmtpSettings& settings, const QStringList& recipients, const QByteArray& message,
                     const SmtpOptions& options) {
    if (const int init = InitialiseSmtp(); init != 0) {
        return {init, QString::fromUtf8(curl_easy_strerror(static_cast<CURLcode>(init)))};
    }
    const std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl) {
        return {static_cast<int>(CURLE_FAILED_INIT), QStringLiteral("libcurl could not start a transfer")};
    }
    if (settings.RefusesPlainAuth()) {
        // AUTH PLAIN and LOGIN carry the password readable by anyone on the way.
        const QString error = UiText(text::added::PlainAuthRefused).arg(settings.host.trimmed());
        qCWarning(lcSmtp, "%s", qUtf8Printable(error));
        return {static_cast<int>(CURLE_LOGIN_DENIED), error};
    }
    CURL* handle = curl.get();
    const bool tls = settings.security == static_cast<int>(SmtpSecurity::Tls);
    const QByteArray url =
        QStringLiteral("%1://%2:%3")
            .arg(tls ? QStringLiteral("smtps") : QStringLiteral("smtp"), settings.host.trimmed())
            .arg(settings.port)
            .toUtf8();
    const QByteArray from = '<' + SenderAddress(settings).toUtf8() + '>';
    const QByteArray user = settings.user.toUtf8();
    const QByteArray password = settings.password.toUtf8();

    curl_slist* rawList = nullptr;
    for (const QString& recipient : recipients) {
        const QByteArray address = '<' + AngleAddress(recipient).toUtf8() + '>';
        curl_slist* next = curl_slist_append(rawList, address.constData());
        if (next == nullptr) {
            curl_slist_free_all(rawList);
            return {static_cast<int>(CURLE_OUT_OF_MEMORY), QStringLiteral("out of memory")};
        }
        rawList = next;
    }
    const std::unique_ptr<curl_slist, ListDeleter> rcpt(rawList);

    UploadSource source{&message};
    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, static_cast<long>(options.connect.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, static_cast<long>(options.transfer.count()));
    const QByteArray caFile = options.caFile.toLocal8Bit();
    if (!caFile.isEmpty()) {
        curl_easy_setopt(handle, CURLOPT_CAINFO, caFile.constData());
    }
    if (settings.security == static_cast<int>(SmtpSecurity::StartTls)) {
        curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    }
    if (!user.isEmpty()) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, rcpt.get());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, &ReadUpload);
    curl_easy_setopt(handle, CURLOPT_READDATA, &source);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));

    qCDebug(lcSmtp, "sending %lld bytes to %s", static_cast<long long>(message.size()), url.constData());
    const CURLcode code = curl_easy_perform(handle);
    if (code == CURLE_OK) {
        qCDebug(lcSmtp, "accepted by the server");
        return {};
    }
    QString error = QString::fromUtf8(errorBuffer);
    if (error.isEmpty()) {
        error = QString::fromUtf8(curl_easy_strerror(code));
    }
    qCWarning(lcSmtp, "delivery failed (%d): %s", static_cast<int>(code), qUtf8Printable(error));
    return {static_cast<int>(code), error};
}

} // namespace vantor
