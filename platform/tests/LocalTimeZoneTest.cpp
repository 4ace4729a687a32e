#include "platform/LocalTimeZone.h"

#include <QDateTime>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <ctime>
#include <optional>

namespace {

// Restores TZ as it was when the test began.
class TzGuard {
public:
    TzGuard() {
        if (qEnvironmentVariableIsSet("TZ")) {
            saved_ = qgetenv("TZ");
        }
    }
    ~TzGuard() {
        if (saved_) {
            qputenv("TZ", *saved_);
        } else {
            qunsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<QByteArray> saved_;
};

TEST(LocalTimeZone, AnUnsetZoneIsPinnedToTheSystemFileWithTheSameOffsets) {
    if (!QFileInfo::exists(QStringLiteral("/etc/localtime"))) {
        GTEST_SKIP() << "no system zone file";
    }
    const TzGuard guard;
    qunsetenv("TZ");
    tzset();
    const QDateTime winter(QDate(2026, 1, 15), QTime(12, 0));
    const QDateTime summer(QDate(2026, 7, 15), QTime(12, 0));
    const qint64 winterUtc = winter.toMSecsSinceEpoch();
    const qint64 summerUtc = summer.toMSecsSinceEpoch();

    vantor::PinLocalTimeZone();
    EXPECT_EQ(qgetenv("TZ"), QByteArray(":/etc/localtime"));
    EXPECT_EQ(QDateTime(QDate(2026, 1, 15), QTime(12, 0)).toMSecsSinceEpoch(), winterUtc);
    EXPECT_EQ(QDateTime(QDate(2026, 7, 15), QTime(12, 0)).toMSecsSinceEpoch(), summerUtc);
}

TEST(LocalTimeZone, AZoneTheUserChoseIsKept) {
    const TzGuard guard;
    for (const char* zone : {"Europe/Berlin", ""}) {
        qputenv("TZ", zone);
        vantor::PinLocalTimeZone();
        EXPECT_EQ(qgetenv("TZ"), QByteArray(zone));
    }
}

} // namespace
