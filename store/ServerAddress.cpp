#include "store/ServerAddress.h"

#include "store/LibPq.h"

#include <QStringList>

namespace vantor {
QString QuotedConnectionValue(const QString& value) {
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

std::optional<ServerAddress> ServerAddress::Parse(const QString& text, QString* error) {
    if (text.trimmed().isEmpty()) {
        if (error != nullptr) {
            *error = QStringLiteral("no server address given");
        }
        return std::nullopt;
    }
    if (const QString missing = LoadLibPq(); !missing.isEmpty()) {
        if (error != nullptr) {
            *error = missing;
        }
        return std::nullopt;
    }
    const LibPqApi& pq = LibPq();
    char* message = nullptr;
    PQconninfoOption* parsed = pq.PQconninfoParse(text.trimmed().toUtf8().constData(), &message);
    if (parsed == nullptr) {
        if (error != nullptr) {
            *error = message != nullptr ? QString::fromUtf8(message).trimmed()
                                        : QStringLiteral("the server address cannot be read");
        }
        pq.PQfreemem(message);
        return std::nullopt;
    }
    ServerAddress address;
    for (const PQconninfoOption* option = parsed; option->keyword != nullptr; ++option) {
        if (option->val != nullptr && option->val[0] != '\0') {
            address.options_[QString::fromUtf8(option->keyword)] = QString::fromUtf8(option->val);
        }
    }
    pq.PQconninfoFree(parsed);
    return address;
}

QString ServerAddress::Option(const QString& key) const {
    const auto found = options_.find(key);
    return found == options_.end() ? QString() : found->second;
}

void ServerAddress::SetOption(const QString& key, const QString& value) {
    if (value.isEmpty()) {
        options_.erase(key);
    } else {
        options_[key] = value;
    }
}

QString ServerAddress::ToStorable() const {
    QStringList pairs;
    for (const auto& [key, value] : options_) {
        // Neither the password nor the TLS key's passphrase is ever stored in the settings.
        if (key != QLatin1String("password") && key != QLatin1String("sslpassword")) {
            pairs << key + QLatin1Char('=') + QuotedConnectionValue(value);
        }
    }
    return pairs.join(QLatin1Char(' '));
}

QString ServerAddress::Describe() const {
    QString host = Option(QStringLiteral("host"));
    if (host.isEmpty()) {
        host = Option(QStringLiteral("hostaddr"));
    }
    if (host.isEmpty() || host.startsWith(QLatin1Char('/'))) {
        host = QStringLiteral("localhost");
    }
    QString text = host;
    if (const QString port = Option(QStringLiteral("port")); !port.isEmpty()) {
        text += QLatin1Char(':') + port;
    }
    const QString database = Option(QStringLiteral("dbname"));
    const QString user = Option(QStringLiteral("user"));
    text += QLatin1Char('/') + (database.isEmpty() ? user : database);
    return user.isEmpty() ? text : user + QLatin1Char('@') + text;
}

} // namespace vantor
