#include "ingest/IngestSettings.h"

#include <QFile>
#include <QStringList>

#include <sys/stat.h>

#include <functional>
#include <map>

namespace vantor::ingest {
namespace {

SettingsRead Refused(const QString& path, const QString& why) {
    return {std::nullopt, QStringLiteral("%1: %2").arg(path, why)};
}

// A whole number in [low, high], or why not.
std::optional<int> Number(const QString& text, int low, int high) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= low && value <= high ? std::optional<int>(value) : std::nullopt;
}

} // namespace

SettingsRead ReadIngestSettings(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return Refused(path, QStringLiteral("cannot be read"));
    }
    if ((status.st_mode & 077) != 0) {
        return Refused(path,
                       QStringLiteral("has mode %1: it holds the broker's password, so only its owner may "
                                      "read it (chmod 600 %2)")
                           .arg(status.st_mode & 0777, 4, 8, QLatin1Char('0'))
                           .arg(path));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return Refused(path, file.errorString());
    }
    IngestSettings settings;
    using Setter = std::function<bool(const QString&)>;
    auto text = [](QString& field) {
        return Setter([&field](const QString& v) {
            field = v;
            return true;
        });
    };
    auto number = [](int& field, int low, int high) {
        return Setter([&field, low, high](const QString& v) {
            const std::optional<int> n = Number(v, low, high);
            if (n) {
                field = *n;
            }
            return n.has_value();
        });
    };
    const std::map<QString, Setter> keys = {
        {QStringLiteral("host"), text(settings.host)},
        {QStringLiteral("port"), number(settings.port, 1, 65535)},
        {QStringLiteral("site"), text(settings.site)},
        {QStringLiteral("client_id"), text(settings.clientId)},
        {QStringLiteral("ca_file"), text(settings.caFile)},
        {QStringLiteral("user"), text(settings.user)},
        {QStringLiteral("password"), text(settings.password)},
        {QStringLiteral("keepalive_s"), number(settings.keepAliveSeconds, 5, 3600)},
        {QStringLiteral("overall_interval_s"), number(settings.overallIntervalSeconds, 0, 86400)},
        {QStringLiteral("waveform_interval_s"), number(settings.waveformIntervalSeconds, 0, 7 * 86400)},
        {QStringLiteral("max_backoff_s"), number(settings.maxBackoffSeconds, 1, 3600)},
    };
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            return Refused(path, QStringLiteral("line %1 is not \"key = value\"").arg(lineNumber));
        }
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        const auto setter = keys.find(key);
        if (setter == keys.end()) {
            return Refused(path, QStringLiteral("line %1: unknown setting \"%2\"").arg(lineNumber).arg(key));
        }
        if (!setter->second(value)) {
            return Refused(
                path,
                QStringLiteral("line %1: \"%2\" is out of range for %3").arg(lineNumber).arg(value, key));
        }
    }
    if (settings.site.isEmpty() || settings.site.contains(QLatin1Char('/')) ||
        settings.site.contains(QLatin1Char('+')) || settings.site.contains(QLatin1Char('#'))) {
        return Refused(path, QStringLiteral("\"site\" must be one topic level (no /, + or #)"));
    }
    if (settings.clientId.isEmpty()) {
        settings.clientId = QStringLiteral("vantor-ingest-%1").arg(settings.site);
    }
    return {settings, {}};
}

} // namespace vantor::ingest
