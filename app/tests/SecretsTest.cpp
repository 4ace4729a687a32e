// Secrets out of the settings file: the file's mode from its creation, secrets an older version
// left in it moved to the secret store (the owner-only fallback file here: tests have no keyring),
// the mail server's plain-login permission, and the server key passphrase kept aside.
#include "app/Secrets.h"
#include "app/OptionsFromSettings.h"
#include "app/ServerDatabase.h"
#include "app/Settings.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

#include <array>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {
namespace {

int ModeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0
               ? static_cast<int>(status.st_mode & 07777)
               : -1;
}

// The names in a folder whose mode or owner was changed after they were made (inotify's
// IN_ATTRIB), collected while the object lives.
class ModeChangeWatch {
public:
    explicit ModeChangeWatch(const QString& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_ATTRIB);
    }
    ~ModeChangeWatch() { ::close(fd_); }
    ModeChangeWatch(const ModeChangeWatch&) = delete;
    ModeChangeWatch& operator=(const ModeChangeWatch&) = delete;
    QStringList Changed() const {
        QStringList names;
        alignas(inotify_event) std::array<char, 16384> buffer{};
        for (;;) {
            const ssize_t length = ::read(fd_, buffer.data(), buffer.size());
            if (length <= 0) {
                return names;
            }
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                if (event->len > 0) {
                    names << QFile::decodeName(event->name);
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int fd_;
};

class Secrets : public ::testing::Test {
protected:
    QString Folder() const { return QFileInfo(store.FilePath()).absolutePath(); }
    QString SecretsFile() const { return Folder() + QStringLiteral("/Corvane.secrets"); }
    // Values as an older version wrote them, straight into the settings file.
    void PutRaw(const std::initializer_list<std::pair<const char*, QString>>& values) {
        QSettings raw(store.FilePath(), QSettings::IniFormat);
        raw.beginGroup(QStringLiteral("Settings"));
        for (const auto& [name, value] : values) {
            raw.setValue(QString::fromLatin1(name), value);
        }
        raw.endGroup();
        raw.sync();
    }
    QByteArray SettingsText() const {
        QFile file(store.FilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    vantor::testing::TempEnvironment env;
    Edition edition = Edition::For(2, 0);
    SettingsStore store{edition};
    vantor::testing::RecordingPrompter prompter;
};

// Created private, with no moment in which others could read it: under a umask that would let
// everyone read a new file, the settings and secrets files never change mode after being made.
TEST_F(Secrets, SettingsAndSecretsFilesAreCreatedPrivate) {
    const mode_t saved = ::umask(0);
    ASSERT_TRUE(QDir().mkpath(Folder()));
    const ModeChangeWatch watch(Folder());
    CSettings settings;
    settings.smtpHost = QStringLiteral("mail.plant.example");
    const bool written = store.Write(settings);
    const bool kept = UserSecrets(edition).Write(kSmtpPasswordSecret, QStringLiteral("s3cret"));
    const bool rewritten = store.Write(settings);
    ::umask(saved);
    ASSERT_TRUE(written && kept && rewritten);
    EXPECT_EQ(ModeOf(store.FilePath()), 0600);
    EXPECT_EQ(ModeOf(SecretsFile()), 0600);
    const QStringList changed = watch.Changed();
    EXPECT_FALSE(changed.contains(QStringLiteral("Corvane.conf"))) << changed.join(' ').toStdString();
    EXPECT_FALSE(changed.contains(QStringLiteral("Corvane.secrets"))) << changed.join(' ').toStdString();
    EXPECT_FALSE(SettingsText().contains("s3cret"));
}

// A password an older version kept in the file moves to the secret store on the first reading
// and leaves the file; where the store cannot take it, it stays where it was.
TEST_F(Secrets, APlainPasswordInTheSettingsMovesToTheSecretStore) {
    const struct {
        const char* password;
        bool storeDamaged;
        bool leavesFile;
        const char* stored; // nullptr: none
    } cases[] = {{"old s3cret", false, true, "old s3cret"},
                 {"", false, true, nullptr},
                 {"old s3cret", true, false, nullptr}};
    for (const auto& c : cases) {
        QFile::remove(store.FilePath());
        QFile::remove(SecretsFile());
        PutRaw({{"SmtpHost", QStringLiteral("mail.plant.example")},
                {"SmtpPassword", QString::fromUtf8(c.password)}});
        if (c.storeDamaged) {
            QFile damaged(SecretsFile());
            ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
            damaged.write("damaged\n");
        }
        CSettings read;
        store.Read(read);
        EXPECT_EQ(read.smtpHost, QStringLiteral("mail.plant.example"));
        EXPECT_EQ(SettingsText().contains("SmtpPassword"), !c.leavesFile) << c.password << c.storeDamaged;
        EXPECT_EQ(ModeOf(store.FilePath()), 0600);
        const auto secret = UserSecrets(edition).Read(kSmtpPasswordSecret);
        EXPECT_EQ(secret.has_value(), c.stored != nullptr) << c.password << c.storeDamaged;
        if (c.stored != nullptr && secret) {
            EXPECT_EQ(*secret, QString::fromUtf8(c.stored));
        }
    }
}

TEST_F(Secrets, PlainLoginsAreAllowedOnlyForTheServerNamed) {
    const struct {
        int security;
        const char* user;
        const char* allowed;
        bool refused;
    } cases[] = {
        {0, "monitor", "", true},
        {0, "monitor", "other.example", true},
        {0, "monitor", "MAIL.plant.example ", false},
        {0, "", "", false}, // no login, no password sent
        {1, "monitor", "", false},
        {2, "monitor", "", false},
    };
    for (const auto& c : cases) {
        CSettings settings;
        settings.smtpHost = QStringLiteral("mail.plant.example");
        settings.smtpSecurity = c.security;
        settings.smtpUser = QString::fromLatin1(c.user);
        settings.smtpAllowPlainAuth = QString::fromLatin1(c.allowed);
        EXPECT_EQ(SmtpSettingsOf(settings, QStringLiteral("pw")).RefusesPlainAuth(), c.refused)
            << c.security << " " << c.user << " " << c.allowed;
    }
}

// The passphrase of a TLS key never stands in the stored address; it is kept aside and put back
// for that address only.
TEST_F(Secrets, TheKeyPassphraseIsKeptAsideAndPutBack) {
    CAppData app(prompter, edition);
    const auto address = ServerAddress::Parse(
        QStringLiteral("postgresql://vantor@db1.example/plant?sslmode=verify-full&sslpassword=k3y%20phrase"));
    ASSERT_TRUE(address);
    EXPECT_FALSE(address->ToStorable().contains(QStringLiteral("k3y")));
    ASSERT_TRUE(KeepPassphrase(app, *address));
    const auto stored = ServerAddress::Parse(address->ToStorable());
    ASSERT_TRUE(stored);
    EXPECT_EQ(WithKeptPassphrase(app, *stored).Option(QStringLiteral("sslpassword")),
              QStringLiteral("k3y phrase"));
    const auto other = ServerAddress::Parse(QStringLiteral("host=db2.example dbname=plant user=vantor"));
    EXPECT_TRUE(WithKeptPassphrase(app, *other).Option(QStringLiteral("sslpassword")).isEmpty());

    // An older version's settings with the passphrase in both values: moved out on reading.
    const QString withPhrase = QStringLiteral("host=db3.example dbname=plant sslpassword='old phrase'");
    PutRaw({{"ServerDatabase", withPhrase},
            {"RememberedServers", withPhrase + QStringLiteral("\nhost=db4.example dbname=plant")}});
    CSettings read;
    store.Read(read);
    EXPECT_FALSE(SettingsText().contains("old phrase"));
    EXPECT_FALSE(read.serverDatabase.contains(QStringLiteral("sslpassword")));
    EXPECT_EQ(RememberedServers(read).size(), 2);
    const auto migrated = ServerAddress::Parse(read.serverDatabase);
    ASSERT_TRUE(migrated);
    EXPECT_EQ(WithKeptPassphrase(app, *migrated).Option(QStringLiteral("sslpassword")),
              QStringLiteral("old phrase"));
    EXPECT_EQ(RememberedServers(read).first(), read.serverDatabase);
}

} // namespace
} // namespace vantor
