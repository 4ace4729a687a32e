#pragma once
// A PostgreSQL server named the way libpq names one: a connection URL
// ("postgresql://user@host:5432/plant?sslmode=require") or keyword/value pairs
// ("host=db1 dbname=plant user=vantor"). libpq reads it, so every option it knows (TLS modes and
// certificates, time-outs, service files, ~/.pgpass) is honoured as it would honour it.

#include <QString>

#include <map>
#include <optional>

namespace vantor {

class ServerAddress {
public:
    // Nullopt (with `error` set) when libpq cannot read the text.
    static std::optional<ServerAddress> Parse(const QString& text, QString* error = nullptr);

    // The options as libpq read them, without the empty ones.
    const std::map<QString, QString>& Options() const { return options_; }
    QString Option(const QString& key) const;
    void SetOption(const QString& key, const QString& value);

    // The text to remember: the address as given, minus any password and TLS key passphrase
    // ("sslpassword"). A password is never stored in the settings (it comes from ~/.pgpass,
    // PGPASSWORD or a prompt); the passphrase is kept in the user's secret store.
    QString ToStorable() const;
    bool HasPassword() const { return options_.count(QStringLiteral("password")) != 0; }
    // "user@host:port/database" for titles and status lines.
    QString Describe() const;

    bool operator==(const ServerAddress& other) const { return options_ == other.options_; }

private:
    std::map<QString, QString> options_;
};

// A value in libpq's keyword/value form: quoted, with quotes and backslashes escaped.
QString QuotedConnectionValue(const QString& value);

// Seconds a connection attempt waits for the server before it gives up, unless the address says
// otherwise (connect_timeout).
inline constexpr int kServerConnectTimeoutSeconds = 5;

} // namespace vantor
