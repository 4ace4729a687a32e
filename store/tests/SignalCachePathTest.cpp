#include "store/SignalCachePath.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using vantor::SignalCacheFilePath;

TEST(SignalCachePath, WellFormedGuidsNameTheFileDirectly) {
    EXPECT_EQ(SignalCacheFilePath(QStringLiteral("/d/Data"), QStringLiteral("{0a1b-FF}")),
              QStringLiteral("/d/Data/{0a1b-FF}"));
    EXPECT_TRUE(SignalCacheFilePath(QStringLiteral("/d/Data"), {}).isEmpty());
}

TEST(SignalCachePath, AnyOtherGuidStaysDirectlyInsideTheFolder) {
    const QString folder = QStringLiteral("/d/Data");
    for (const QString& guid : {QStringLiteral(".."), QStringLiteral("../../etc/passwd"),
                                QStringLiteral("/abs"), QStringLiteral("a\\b"), QStringLiteral("x\ny"),
                                QString(255, QLatin1Char('/')), QString::fromUtf8("caf\xc3\xa9")}) {
        const QString path = SignalCacheFilePath(folder, guid);
        const QFileInfo info(path);
        EXPECT_EQ(info.absolutePath(), folder) << path.toStdString();
        EXPECT_NE(info.fileName(), QStringLiteral(".."));
        EXPECT_LE(info.fileName().size(), 200);
    }
    EXPECT_NE(SignalCacheFilePath(folder, QStringLiteral("a/b")),
              SignalCacheFilePath(folder, QStringLiteral("a%2Fb")));
}
