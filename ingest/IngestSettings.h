#pragma once
// The settings of the ingest service, from a file of "key = value" lines that only its owner may
// read (it holds the broker's password): the broker, the site, the client id of the persistent
// session, TLS, the thinning intervals and the reconnect back-off.

#include <QString>

#include <optional>

namespace vantor::ingest {

// The defaults: one overall row per sensor per 10 minutes, one waveform per sensor per hour.
inline constexpr int kDefaultOverallIntervalSeconds = 600;
inline constexpr int kDefaultWaveformIntervalSeconds = 3600;
// Reconnecting waits 1 s, then twice as long each time, up to this cap.
inline constexpr int kDefaultMaxBackoffSeconds = 60;

struct IngestSettings {
    QString host = QStringLiteral("localhost");
    int port = 1883;
    QString site;     // the topics' <site>
    QString clientId; // the persistent session's name at the broker
    QString caFile;   // TLS when set
    QString user;
    QString password;
    int keepAliveSeconds = 30;
    int overallIntervalSeconds = kDefaultOverallIntervalSeconds;
    int waveformIntervalSeconds = kDefaultWaveformIntervalSeconds;
    int maxBackoffSeconds = kDefaultMaxBackoffSeconds;
};

struct SettingsRead {
    std::optional<IngestSettings> settings;
    QString error; // names the file and what is wrong
};

// Reads the file. Refused: a file that cannot be read, one that group or others may read or write
// (it must be mode 0600 or stricter), an unknown key, a number out of range, no site.
SettingsRead ReadIngestSettings(const QString& path);

} // namespace vantor::ingest
