// The service's settings file: read with its defaults, and refused with a message naming the file
// when others may read it, a key is unknown, a number is out of range or the site is missing.
#include "ingest/IngestSettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantor::ingest;

namespace {

QString Write(const QTemporaryDir& dir, const QByteArray& text, QFile::Permissions permissions) {
    const QString path = dir.filePath(QStringLiteral("ingest.conf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    EXPECT_TRUE(file.setPermissions(permissions));
    return path;
}

} // namespace

TEST(IngestSettings, AnOwnerOnlyFileIsReadAndAnythingElseIsRefusedWithTheReason) {
    const QTemporaryDir dir;
    constexpr QFile::Permissions kOwner = QFile::ReadOwner | QFile::WriteOwner;
    const SettingsRead good = ReadIngestSettings(
        Write(dir,
              "# broker\nhost = 127.0.0.1\nport=1884\nsite = plant\nuser = ingest\npassword = a=b\n"
              "overall_interval_s = 0\n",
              kOwner));
    ASSERT_TRUE(good.settings.has_value()) << good.error.toStdString();
    EXPECT_EQ(good.settings->host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(good.settings->port, 1884);
    EXPECT_EQ(good.settings->password, QStringLiteral("a=b"));
    EXPECT_EQ(good.settings->clientId, QStringLiteral("vantor-ingest-plant"));
    EXPECT_EQ(good.settings->overallIntervalSeconds, 0);
    EXPECT_EQ(good.settings->waveformIntervalSeconds, kDefaultWaveformIntervalSeconds);

    struct Case {
        const char* name;
        QByteArray text;
        QFile::Permissions permissions;
        const char* error;
    } const cases[] = {
        {"group may read", "site = plant\n", kOwner | QFile::ReadGroup, "has mode 0640"},
        {"others may read", "site = plant\n", kOwner | QFile::ReadOther, "has mode 0604"},
        {"unknown key", "site = plant\nhots = x\n", kOwner, "line 2: unknown setting \"hots\""},
        {"port out of range", "site = plant\nport = 70000\n", kOwner, "out of range for port"},
        {"not key = value", "site plant\n", kOwner, "line 1 is not"},
        {"no site", "host = x\n", kOwner, "\"site\" must be one topic level"},
        {"wildcard site", "site = #\n", kOwner, "\"site\" must be one topic level"},
    };
    for (const Case& test : cases) {
        const SettingsRead read = ReadIngestSettings(Write(dir, test.text, test.permissions));
        EXPECT_FALSE(read.settings.has_value()) << test.name;
        EXPECT_TRUE(read.error.contains(QLatin1String(test.error)))
            << test.name << ": " << read.error.toStdString();
    }
    EXPECT_TRUE(ReadIngestSettings(dir.filePath(QStringLiteral("absent"))).error.contains("cannot be read"));
}
