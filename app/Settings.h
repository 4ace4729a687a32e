#pragma once
// The user's preferences: one record in memory, persisted per user under the company and the title
// of the edition, section "Settings". Read once at start-up, written in full when the main window
// closes and whenever the remembered remote folders change.

#include "app/Edition.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace vantor {

struct CSettings {
    // How many remote database folders are remembered.
    static constexpr int kMaxRememberedFolders = 5;

    // Persisted values, in the order they are read and written.
    int dialogLeft = 0;
    int dialogRight = 0;
    int dialogTop = 0;
    int dialogBottom = 0;
    int dialogState = 0;
    int dialogFlags = 0;
    QString language;
    int varovudOvoOn = 0;
    int fftLineOrBar = 1;
    int xAxisUnits = 0;
    int yAxisUnits = 0;
    QString band1Name = QStringLiteral("Unbalance");
    QString band2Name = QStringLiteral("Misalignment");
    QString band3Name = QStringLiteral("Looseness");
    QString band4Name = QStringLiteral("NOT USED");
    int vibDisplayOption = 2;
    int lubeDisplayOption = 2;
    int vibStatusValuesOn = 1;
    int vibStatusColumn1 = 0; // measure kind, -1 for an empty column
    int vibStatusColumn2 = 1;
    int vibStatusColumn3 = 2;
    int boldFontOn = 1;
    int moveSplitterBy = 0;
    int backColor = 0x00FFFFFF; // red in the lowest byte, then green, then blue
    int appLook = 116;
    int localOrRemote = 0;     // 0 local database, 1 remote database
    QStringList remoteFolders; // most recent first, at most kMaxRememberedFolders
    int dpG = 1;
    int dpMms = 3;
    int dpInchS = 3;
    int emailExceptionsOnUpload = 1;
    int autoSendEmailExceptionsOnUpload = 1;
    QString exportToFolder;
    int unicodeOrCsv = 0;
    // The outgoing mail server of the exception e-mails; an empty host means none is configured.
    QString smtpHost;
    int smtpPort = 25;
    int smtpSecurity = 0; // 0 none, 1 STARTTLS, 2 TLS
    QString smtpUser;
    QString smtpFrom; // the password is kept in the secret store (app/Secrets.h), never here
    // The meter's serial device; empty finds the cradle on the USB bus.
    QString meterPort;
    // The PostgreSQL server in use (a libpq address without its password); empty while the local
    // file or a remote folder is in use. The servers connected to before, one per line, newest first.
    QString serverDatabase;
    QString rememberedServers;
    // The mail server (host name) to which the password may go over a connection without
    // encryption (SmtpSecurity 0); empty: to none.
    QString smtpAllowPlainAuth;

    // Run-time values, never persisted; the units settings change them.
    QString frequencyUnitLabel = QStringLiteral("Hz");
    QString velocityUnitLabel = QStringLiteral("mm/s");
    double velocityUnitFactor = 1.0;

    // Puts a folder at the front of the remembered remote folders (an equal entry further down
    // moves up rather than appearing twice) and keeps at most kMaxRememberedFolders.
    void AddRemoteFolder(const QString& folder);
};

// Where the settings persist for an edition: QSettings(company, title), group "Settings".
class SettingsStore {
public:
    explicit SettingsStore(const Edition& edition);

    // The settings file ($XDG_CONFIG_HOME/<company>/<title>.conf); empty where the settings live
    // in the registry.
    QString FilePath() const;

    // Reads every value over the record's current fields: a value that is absent or unreadable
    // keeps the field as it is. Migrates band names written by older versions, and moves secrets
    // an older version kept in the file (the mail password, server key passphrases) into the
    // secret store, removing them from the file once they are stored there.
    void Read(CSettings& settings) const;
    // Writes every persisted value into a file readable by its owner only from its creation.
    // Remote folders are numbered from 1 in list order; numbered values beyond the list are
    // removed. False when the values could not be stored.
    bool Write(const CSettings& settings) const;

private:
    Edition edition_;
};

// Access to persisted values by their value name, for the command line.
enum class SettingUpdate { Done, UnknownName, NotANumber };

// Every persisted value as (value name, text) in field order; the remote folders as
// "RemoteFolderPath1" ... for the entries the list holds.
std::vector<std::pair<QString, QString>> ListSettingValues(const CSettings& settings);
// The value stored under a name; nullopt for an unknown name. "RemoteFolderPath<n>" beyond the
// list reads as empty.
std::optional<QString> SettingValue(const CSettings& settings, const QString& name);
// Sets a value by name. Integers must be whole 32-bit numbers. "RemoteFolderPath<n>" (n from 1 to
// 5) puts the folder in slot n of the stored list, an empty text clears the slot; the list then
// closes its gaps exactly as it would when read back.
SettingUpdate SetSettingValue(CSettings& settings, const QString& name, const QString& value);

} // namespace vantor
