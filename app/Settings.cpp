#include "app/Settings.h"

#include "app/Log.h"
#include "app/Secrets.h"
#include "platform/OwnerOnlyFile.h"
#include "store/ServerAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <array>
#include <limits>
#include <memory>

namespace vantor {
namespace {

const QString kGroup = QStringLiteral("Settings");
constexpr int kFirstFolderNumber = 1;

// One persisted value: an integer field, a text field, or the numbered remote folder list.
struct Field {
    const char* name;
    int CSettings::*integer = nullptr;
    QString CSettings::*text = nullptr;
};

constexpr Field Int(const char* name, int CSettings::*member) {
    return Field{name, member, nullptr};
}
constexpr Field Text(const char* name, QString CSettings::*member) {
    return Field{name, nullptr, member};
}
constexpr Field RemoteFolders() {
    return Field{"RemoteFolderPath", nullptr, nullptr};
}
bool IsRemoteFolders(const Field& field) {
    return field.integer == nullptr && field.text == nullptr;
}

// Every persisted value in field order.
const std::array kFields = {
    Int("DialogLeft", &CSettings::dialogLeft),
    Int("DialogRight", &CSettings::dialogRight),
    Int("DialogTop", &CSettings::dialogTop),
    Int("DialogBottom", &CSettings::dialogBottom),
    Int("DialogState", &CSettings::dialogState),
    Int("DialogFlags", &CSettings::dialogFlags),
    Text("Language", &CSettings::language),
    Int("VarovudOVOOn", &CSettings::varovudOvoOn),
    Int("FFTLineOrBar", &CSettings::fftLineOrBar),
    Int("XAxisUnits", &CSettings::xAxisUnits),
    Int("YAxisUnits", &CSettings::yAxisUnits),
    Text("Band1Name", &CSettings::band1Name),
    Text("Band2Name", &CSettings::band2Name),
    Text("Band3Name", &CSettings::band3Name),
    Text("Band4Name", &CSettings::band4Name),
    Int("VibDisplayOption", &CSettings::vibDisplayOption),
    Int("LubeDisplayOption", &CSettings::lubeDisplayOption),
    Int("VibStatusValuesOn", &CSettings::vibStatusValuesOn),
    Int("VibStatusColumn1", &CSettings::vibStatusColumn1),
    Int("VibStatusColumn2", &CSettings::vibStatusColumn2),
    Int("VibStatusColumn3", &CSettings::vibStatusColumn3),
    Int("BoldFontOn", &CSettings::boldFontOn),
    Int("MoveSplitterBy", &CSettings::moveSplitterBy),
    Int("BackColor", &CSettings::backColor),
    Int("AppLook", &CSettings::appLook),
    Int("LocalOrRemote", &CSettings::localOrRemote),
    RemoteFolders(),
    Int("DP g", &CSettings::dpG),
    Int("DP mms", &CSettings::dpMms),
    Int("DP InchS", &CSettings::dpInchS),
    Int("EmailExceptionsOnUpload", &CSettings::emailExceptionsOnUpload),
    Int("AutoSendEmailExceptionsOnUpload", &CSettings::autoSendEmailExceptionsOnUpload),
    Text("ExportToFolder", &CSettings::exportToFolder),
    Int("UnicodeOrCSV", &CSettings::unicodeOrCsv),
    Text("SmtpHost", &CSettings::smtpHost),
    Int("SmtpPort", &CSettings::smtpPort),
    Int("SmtpSecurity", &CSettings::smtpSecurity),
    Text("SmtpUser", &CSettings::smtpUser),
    Text("SmtpFrom", &CSettings::smtpFrom),
    Text("MeterPort", &CSettings::meterPort),
    Text("ServerDatabase", &CSettings::serverDatabase),
    Text("RememberedServers", &CSettings::rememberedServers),
    Text("SmtpAllowPlainAuth", &CSettings::smtpAllowPlainAuth),
};

QString FolderValueName(int number) {
    return QStringLiteral("RemoteFolderPath%1").arg(number);
}

// The slot number of a "RemoteFolderPath<n>" name, 0 when the name is not one.
int FolderNumber(const QString& name) {
    static const QString prefix = QStringLiteral("RemoteFolderPath");
    if (!name.startsWith(prefix)) {
        return 0;
    }
    bool ok = false;
    const int number = name.mid(prefix.size()).toInt(&ok);
    const bool canonical = ok && FolderValueName(number) == name;
    return canonical && number >= kFirstFolderNumber && number <= CSettings::kMaxRememberedFolders ? number
                                                                                                   : 0;
}

const Field* FindField(const QString& name) {
    for (const Field& field : kFields) {
        if (!IsRemoteFolders(field) && name == QLatin1String(field.name)) {
            return &field;
        }
    }
    return nullptr;
}

// Older versions named the bands differently; each name is replaced only when it matches whole.
void MigrateBandNames(CSettings& s) {
    const auto migrate = [](QString& value, const char* old, const char* current) {
        if (value == QLatin1String(old)) {
            value = QLatin1String(current);
        }
    };
    migrate(s.band1Name, "Instability", "Unbalance");
    migrate(s.band2Name, "Unbalance", "Misalignment");
    migrate(s.band3Name, "Alignment", "Looseness");
    migrate(s.band4Name, "Looseness", "Not Used");
}

// A 32-bit number, or nothing; QVariant::toInt would silently wrap a larger number.
std::optional<int> ReadInteger(const QVariant& value) {
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

std::optional<QString> ReadText(const QVariant& value) {
    // A hand-edited file may hold an unquoted text with commas, which reads as a list.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    if (!value.canConvert<QString>()) {
        return std::nullopt;
    }
    return value.toString();
}

// The list as it is stored: non-empty entries, at most the remembered maximum.
QStringList StoredFolders(const QStringList& folders) {
    QStringList stored;
    for (const QString& folder : folders) {
        if (!folder.isEmpty() && stored.size() < CSettings::kMaxRememberedFolders) {
            stored << folder;
        }
    }
    return stored;
}

} // namespace

void CSettings::AddRemoteFolder(const QString& folder) {
    if (folder.isEmpty()) {
        return;
    }
    remoteFolders.removeAll(folder);
    remoteFolders.prepend(folder);
    remoteFolders = StoredFolders(remoteFolders);
}

SettingsStore::SettingsStore(const Edition& edition) : edition_(edition) {}

QString SettingsStore::FilePath() const {
#ifdef Q_OS_WIN
    return {};
#else
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(QDir(configHome).filePath(edition_.companyName))
        .filePath(edition_.title + QStringLiteral(".conf"));
#endif
}

namespace {

std::unique_ptr<QSettings> OpenSettings(const Edition& edition, const QString& filePath) {
#ifdef Q_OS_WIN
    Q_UNUSED(filePath);
    return std::make_unique<QSettings>(edition.companyName, edition.title);
#else
    // The same file QSettings(company, title) uses, located afresh on every call so that a changed
    // XDG_CONFIG_HOME is honoured.
    Q_UNUSED(edition);
    return std::make_unique<QSettings>(filePath, QSettings::IniFormat);
#endif
}

// An address without the key passphrase, which goes to the secret store. Nullopt when the address
// holds none or the store cannot take it (the text then stays as it is: nothing is lost).
std::optional<QString> PassphraseMovedOut(const SecretStore& secrets, const QString& text) {
    if (!text.contains(QLatin1String("sslpassword"))) {
        return std::nullopt;
    }
    const auto address = ServerAddress::Parse(text);
    if (!address || address->Option(QStringLiteral("sslpassword")).isEmpty()) {
        return std::nullopt;
    }
    const QString storable = address->ToStorable();
    QString error;
    if (!secrets.Write(ServerPassphraseSecret(storable), address->Option(QStringLiteral("sslpassword")),
                       &error)) {
        qCWarning(lcApp, "the key passphrase of %s stays in the settings: %s",
                  qUtf8Printable(address->Describe()), qUtf8Printable(error));
        return std::nullopt;
    }
    return storable;
}

// Moves the secrets an older version kept in the settings file into the secret store and takes
// them out of the file (and the record). True when the file changed.
bool MoveSecretsOut(QSettings& store, const Edition& edition, CSettings& settings) {
    const SecretStore secrets = UserSecrets(edition);
    bool changed = false;
    if (store.contains(kSmtpPasswordSecret)) {
        const QString password = ReadText(store.value(kSmtpPasswordSecret)).value_or(QString());
        QString error;
        if (password.isEmpty() || secrets.Write(kSmtpPasswordSecret, password, &error)) {
            store.remove(kSmtpPasswordSecret);
            changed = true;
        } else {
            qCWarning(lcApp, "the mail password stays in the settings file: %s", qUtf8Printable(error));
        }
    }
    if (const auto stripped = PassphraseMovedOut(secrets, settings.serverDatabase)) {
        settings.serverDatabase = *stripped;
        store.setValue(QStringLiteral("ServerDatabase"), *stripped);
        changed = true;
    }
    QStringList servers = settings.rememberedServers.split(QLatin1Char('\n'));
    bool serversChanged = false;
    for (QString& server : servers) {
        if (const auto stripped = PassphraseMovedOut(secrets, server)) {
            server = *stripped;
            serversChanged = true;
        }
    }
    if (serversChanged) {
        settings.rememberedServers = servers.join(QLatin1Char('\n'));
        store.setValue(QStringLiteral("RememberedServers"), settings.rememberedServers);
        changed = true;
    }
    return changed;
}

} // namespace

void SettingsStore::Read(CSettings& settings) const {
    const auto store = OpenSettings(edition_, FilePath());
    store->beginGroup(kGroup);
    for (const Field& field : kFields) {
        if (IsRemoteFolders(field)) {
            settings.remoteFolders.clear();
            for (int n = kFirstFolderNumber; n <= CSettings::kMaxRememberedFolders; ++n) {
                const QString folder = ReadText(store->value(FolderValueName(n))).value_or(QString());
                if (!folder.isEmpty()) {
                    settings.remoteFolders << folder;
                }
            }
            continue;
        }
        const QVariant value = store->value(QLatin1String(field.name));
        if (!value.isValid()) {
            continue;
        }
        if (field.integer != nullptr) {
            if (const auto number = ReadInteger(value)) {
                settings.*field.integer = *number;
            }
        } else if (const auto text = ReadText(value)) {
            settings.*field.text = *text;
        }
    }
    const bool secretsMoved = MoveSecretsOut(*store, edition_, settings);
    store->endGroup();
    MigrateBandNames(settings);
#ifndef Q_OS_WIN
    // A file an older version left readable by others is made private before it is written again.
    if (QString error; QFileInfo::exists(FilePath()) && !EnsureOwnerOnlyFile(FilePath(), &error)) {
        qCWarning(lcApp, "%s", qUtf8Printable(error));
    }
#endif
    if (secretsMoved) {
        store->sync();
    }
}

bool SettingsStore::Write(const CSettings& settings) const {
#ifndef Q_OS_WIN
    // Created readable by its owner only before anything is written in it; the writes replace the
    // file keeping that mode.
    QString error;
    if (!EnsureOwnerOnlyFile(FilePath(), &error)) {
        qCWarning(lcApp, "the settings cannot be stored: %s", qUtf8Printable(error));
        return false;
    }
#endif
    const auto store = OpenSettings(edition_, FilePath());
    store->beginGroup(kGroup);
    for (const Field& field : kFields) {
        if (IsRemoteFolders(field)) {
            const QStringList folders = StoredFolders(settings.remoteFolders);
            for (int n = kFirstFolderNumber; n <= CSettings::kMaxRememberedFolders; ++n) {
                if (n <= folders.size()) {
                    store->setValue(FolderValueName(n), folders[n - 1]);
                } else {
                    store->remove(FolderValueName(n)); // no stale folder may come back on reading
                }
            }
        } else if (field.integer != nullptr) {
            store->setValue(QLatin1String(field.name), settings.*field.integer);
        } else {
            store->setValue(QLatin1String(field.name), settings.*field.text);
        }
    }
    store->endGroup();
    store->sync();
    return store->status() == QSettings::NoError;
}

std::vector<std::pair<QString, QString>> ListSettingValues(const CSettings& settings) {
    std::vector<std::pair<QString, QString>> values;
    for (const Field& field : kFields) {
        if (IsRemoteFolders(field)) {
            const QStringList folders = StoredFolders(settings.remoteFolders);
            for (int i = 0; i < folders.size(); ++i) {
                values.emplace_back(FolderValueName(i + kFirstFolderNumber), folders[i]);
            }
        } else if (field.integer != nullptr) {
            values.emplace_back(QLatin1String(field.name), QString::number(settings.*field.integer));
        } else {
            values.emplace_back(QLatin1String(field.name), settings.*field.text);
        }
    }
    return values;
}

std::optional<QString> SettingValue(const CSettings& settings, const QString& name) {
    if (const int number = FolderNumber(name)) {
        const QStringList folders = StoredFolders(settings.remoteFolders);
        return number <= folders.size() ? folders[number - 1] : QString();
    }
    const Field* field = FindField(name);
    if (field == nullptr) {
        return std::nullopt;
    }
    return field->integer != nullptr ? QString::number(settings.*field->integer) : settings.*field->text;
}

SettingUpdate SetSettingValue(CSettings& settings, const QString& name, const QString& value) {
    if (const int number = FolderNumber(name)) {
        QStringList entries = StoredFolders(settings.remoteFolders);
        while (entries.size() < CSettings::kMaxRememberedFolders) {
            entries << QString();
        }
        entries[number - 1] = value;
        settings.remoteFolders = StoredFolders(entries);
        return SettingUpdate::Done;
    }
    const Field* field = FindField(name);
    if (field == nullptr) {
        return SettingUpdate::UnknownName;
    }
    if (field->integer == nullptr) {
        settings.*field->text = value;
        return SettingUpdate::Done;
    }
    bool ok = false;
    const int number = value.trimmed().toInt(&ok, 10);
    if (!ok) {
        return SettingUpdate::NotANumber;
    }
    settings.*field->integer = number;
    return SettingUpdate::Done;
}

} // namespace vantor
