// The secret store on machines without a keyring (CI, headless): the owner-only fallback file; and
// the keyring itself where a Secret Service runs on the session bus.
#include "platform/SecretStore.h"
#include "platform/KeyringSecrets.h"
#include "platform/OwnerOnlyFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vantor {
namespace {

// The file's permission bits; -1 when it does not exist.
int ModeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0
               ? static_cast<int>(status.st_mode & 07777)
               : -1;
}

// Runs with the given umask, restoring the one before.
class Umask {
public:
    explicit Umask(mode_t mask) : saved_(::umask(mask)) {}
    ~Umask() { ::umask(saved_); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t saved_;
};

class SecretStoreTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return QDir(root.path()).filePath(QString::fromLatin1(name)); }
    QTemporaryDir root;
};

// Whatever the umask, a new file and a new folder are private; a file left readable by others is
// narrowed, its content kept.
TEST_F(SecretStoreTest, OwnerOnlyFilesArePrivateWhateverTheUmask) {
    for (const mode_t mask : {mode_t{0}, mode_t{022}, mode_t{077}}) {
        const Umask umask(mask);
        const QString folder = Path("new") + QString::number(mask);
        const QString file = folder + QStringLiteral("/a.conf");
        QString error;
        ASSERT_TRUE(EnsureOwnerOnlyFile(file, &error)) << error.toStdString();
        EXPECT_EQ(ModeOf(file), 0600) << mask;
        EXPECT_EQ(ModeOf(folder), 0700) << mask;
        const QString written = folder + QStringLiteral("/b.secrets");
        ASSERT_TRUE(WriteOwnerOnlyFile(written, "one", &error)) << error.toStdString();
        ASSERT_TRUE(WriteOwnerOnlyFile(written, "two", &error)) << error.toStdString();
        EXPECT_EQ(ModeOf(written), 0600) << mask;
        QFile read(written);
        ASSERT_TRUE(read.open(QIODevice::ReadOnly));
        EXPECT_EQ(read.readAll(), "two");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2) << "no temporary file is left";
    }
    const QString legacy = Path("legacy.conf");
    QFile old(legacy);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("[Settings]\n");
    old.close();
    ASSERT_EQ(::chmod(QFile::encodeName(legacy).constData(), 0644), 0);
    ASSERT_TRUE(EnsureOwnerOnlyFile(legacy));
    EXPECT_EQ(ModeOf(legacy), 0600);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "[Settings]\n");
}

TEST_F(SecretStoreTest, TheFallbackFileKeepsEachSecretUnderItsName) {
    const SecretStore store(QStringLiteral("Corvane"), Path("cfg/Corvane.secrets"), SecretBackend::FileOnly);
    EXPECT_FALSE(store.UsesKeyring());
    EXPECT_FALSE(store.Read(QStringLiteral("SmtpPassword")).has_value());
    const struct {
        const char* name;
        const char* secret;
    } secrets[] = {{"SmtpPassword", "s3cret"},
                   {"sslpassword host=db1 dbname=plant", "pass phrase with spaces"},
                   {"line\nbreak", "a\nb c\td=e"},
                   {"Übergabe", "pässwörd €"}};
    for (const auto& s : secrets) {
        QString error;
        ASSERT_TRUE(store.Write(QString::fromUtf8(s.name), QString::fromUtf8(s.secret), &error))
            << error.toStdString();
    }
    for (const auto& s : secrets) {
        EXPECT_EQ(store.Read(QString::fromUtf8(s.name)), QString::fromUtf8(s.secret)) << s.name;
    }
    EXPECT_EQ(ModeOf(store.FallbackFile()), 0600);
    QFile file(store.FallbackFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("s3cret"));

    ASSERT_TRUE(store.Write(QStringLiteral("SmtpPassword"), QStringLiteral("changed")));
    EXPECT_EQ(store.Read(QStringLiteral("SmtpPassword")), QStringLiteral("changed"));
    ASSERT_TRUE(store.Remove(QStringLiteral("SmtpPassword")));
    EXPECT_FALSE(store.Read(QStringLiteral("SmtpPassword")).has_value());
    EXPECT_EQ(store.Read(QStringLiteral("line\nbreak")), QStringLiteral("a\nb c\td=e"));
    EXPECT_TRUE(SecretStore(QStringLiteral("x"), Path("none.secrets"), SecretBackend::FileOnly)
                    .Remove(QStringLiteral("SmtpPassword")));
}

// A damaged file is reported and never overwritten: what it held may still be recovered by hand.
TEST_F(SecretStoreTest, ADamagedFileIsLeftAsItIs) {
    const QString path = Path("damaged.secrets");
    ASSERT_TRUE(WriteOwnerOnlyFile(path, "not base64 at all\n"));
    const SecretStore store(QStringLiteral("Corvane"), path, SecretBackend::FileOnly);
    QString error;
    EXPECT_FALSE(store.Read(QStringLiteral("SmtpPassword"), &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("damaged"))) << error.toStdString();
    error.clear();
    EXPECT_FALSE(store.Write(QStringLiteral("SmtpPassword"), QStringLiteral("x"), &error));
    EXPECT_FALSE(error.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "not base64 at all\n");
}

TEST_F(SecretStoreTest, TheEnvironmentCanKeepSecretsOutOfTheKeyring) {
    qputenv(kSecretStoreVariable, "file");
    EXPECT_FALSE(SecretStore(QStringLiteral("a"), Path("a.secrets")).UsesKeyring());
    qunsetenv(kSecretStoreVariable);
}

// No bus at the given address: no keyring, and the question starts none.
TEST_F(SecretStoreTest, NoSessionBusMeansNoKeyring) {
    const QByteArray savedBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const struct {
        QByteArray bus;
        QByteArray runtime;
    } cases[] = {{"", QFile::encodeName(root.path())},
                 {"unix:path=" + QFile::encodeName(Path("no-bus")), QFile::encodeName(root.path())}};
    for (const auto& c : cases) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", c.bus);
        qputenv("XDG_RUNTIME_DIR", c.runtime);
        EXPECT_FALSE(keyring::ServiceOnBus()) << c.bus.constData();
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", savedBus);
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
}

TEST_F(SecretStoreTest, TheKeyringKeepsASecretWhereASecretServiceRuns) {
    if (!keyring::ServiceOnBus()) {
        GTEST_SKIP() << "no Secret Service on the session bus";
    }
    const QString application =
        QStringLiteral("vantor-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const SecretStore store(application, Path("k.secrets"));
    ASSERT_TRUE(store.UsesKeyring());
    QString error;
    ASSERT_TRUE(store.Write(QStringLiteral("SmtpPassword"), QStringLiteral("in the keyring"), &error))
        << error.toStdString();
    EXPECT_EQ(store.Read(QStringLiteral("SmtpPassword")), QStringLiteral("in the keyring"));
    EXPECT_FALSE(QFile::exists(store.FallbackFile()));
    ASSERT_TRUE(store.Remove(QStringLiteral("SmtpPassword"), &error)) << error.toStdString();
    EXPECT_FALSE(store.Read(QStringLiteral("SmtpPassword")).has_value());
}

} // namespace
} // namespace vantor
