// Stored date-times ("YYYY-MM-DD HH:MM:SS", local time) read and written in several time zones,
// across daylight-saving changes: the same values as Qt's general parser and formatter give.
#include "store/RecordFields.h"
#include "store/tests/StoreFixture.h"

#include <gtest/gtest.h>

#include <ctime>
#include <optional>

namespace vantor::testing {
namespace {

// Sets TZ for the test's life, then restores what it was.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (qEnvironmentVariableIsSet("TZ")) {
            saved_ = qgetenv("TZ");
        }
        qputenv("TZ", zone);
        tzset();
    }
    ~ZoneScope() {
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

constexpr const char* kZones[] = {
    "UTC", "Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "Asia/Kolkata", "America/Sao_Paulo"};

// Ordinary times, day and year ends, a leap day, and the hours skipped and repeated by the
// daylight-saving changes of 2024 in Berlin (31 March, 27 October), New York (10 March, 3 November)
// and Lord Howe Island (half-hour steps on 7 April and 6 October).
constexpr const char* kTexts[] = {
    "2024-01-15 08:30:00", "2024-07-15 23:59:59", "2024-02-29 00:00:00", "1999-12-31 23:59:59",
    "2038-01-19 03:14:08", "2024-03-31 01:59:59", "2024-03-31 02:30:00", "2024-03-31 03:00:00",
    "2024-10-27 02:30:00", "2024-10-27 03:00:00", "2024-03-10 02:30:00", "2024-11-03 01:30:00",
    "2024-04-07 01:45:00", "2024-10-06 02:15:00", "1970-01-01 00:00:00",
};

TEST(SqlDateTime, ReadAndWrittenAsTheGeneralParserDoesInEveryZone) {
    for (const char* zone : kZones) {
        const ZoneScope scope(zone);
        for (const char* text : kTexts) {
            SCOPED_TRACE(std::string(zone) + " " + text);
            const QString stored = QString::fromLatin1(text);
            const QDateTime expected = QDateTime::fromString(stored, QLatin1String(kSqlDateTimeFormat));
            const QDateTime read = DateTimeFromSql(stored);
            ASSERT_EQ(read.isValid(), expected.isValid());
            if (!expected.isValid()) {
                continue;
            }
            EXPECT_EQ(read, expected);
            EXPECT_EQ(read.toMSecsSinceEpoch(), expected.toMSecsSinceEpoch());
            EXPECT_EQ(read.offsetFromUtc(), expected.offsetFromUtc());
            EXPECT_EQ(read.timeSpec(), Qt::LocalTime);
            EXPECT_EQ(SqlDateTimeText(read), expected.toString(QLatin1String(kSqlDateTimeFormat)));
            // A time that exists in the zone comes back as it was stored.
            if (expected.time() == read.time() && expected.date() == read.date()) {
                EXPECT_EQ(SqlDateTimeText(read), stored);
            }
        }
    }
}

TEST(SqlDateTime, OtherFormsAndBadTexts) {
    const ZoneScope scope("Europe/Berlin");
    const QDateTime halfPast(QDate(2024, 5, 6), QTime(7, 30, 5));
    const struct {
        QVariant stored;
        QDateTime expected;
    } cases[] = {
        {QVariant(), QDateTime()},
        {QStringLiteral("  2024-05-06 07:30:05 "), halfPast},
        {QStringLiteral("2024-05-06T07:30:05"), halfPast},
        {QStringLiteral("2024-05-06T07:30:05.250"), halfPast.addMSecs(250)},
        {QVariant(halfPast), halfPast},
        {QStringLiteral("2024-02-30 10:00:00"), QDateTime()},
        // The ISO reading of another program's end-of-day midnight.
        {QStringLiteral("2024-05-06 24:00:00"), QDateTime(QDate(2024, 5, 7), QTime(0, 0))},
        {QStringLiteral("2024-05-06 07:3a:05"), QDateTime()},
        {QStringLiteral("garbage"), QDateTime()},
        {QString(), QDateTime()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.toString().toStdString());
        const QDateTime read = DateTimeFromSql(c.stored);
        EXPECT_EQ(read.isValid(), c.expected.isValid());
        if (c.expected.isValid()) {
            EXPECT_EQ(read, c.expected);
        }
    }
    EXPECT_EQ(SqlDateTimeText(QDateTime()), QString());
    EXPECT_EQ(SqlDateTimeText(QDateTime(QDate(987, 6, 5), QTime(4, 3, 2))),
              QStringLiteral("0987-06-05 04:03:02"));
    EXPECT_EQ(SqlDateTimeText(halfPast.addMSecs(999)), QStringLiteral("2024-05-06 07:30:05"));
}

class SqlDateTimeStoreTest : public StoreFixture {};

// A reading stored and read back in each zone keeps its date, also beside a daylight-saving change.
TEST_F(SqlDateTimeStoreTest, ReadingDatesRoundTripThroughTheDatabaseInEveryZone) {
    const CMachine machine = AddMachine(QStringLiteral("Fan"));
    for (const char* zone : kZones) {
        const ZoneScope scope(zone);
        SCOPED_TRACE(zone);
        const CVib point = AddVib(machine.sItemGUID, QString::fromLatin1(zone));
        const QDateTime before(QDate(2024, 3, 31), QTime(1, 15));
        const QDateTime after(QDate(2024, 11, 3), QTime(1, 45));
        AddReading(point.sItemGUID, before);
        AddReading(point.sItemGUID, after);
        const std::vector<CVibReading> read = db->ListVibReadings(point.sItemGUID);
        ASSERT_EQ(read.size(), 2u);
        EXPECT_EQ(read[0].ctDateTaken, before);
        EXPECT_EQ(read[1].ctDateTaken, after);
        EXPECT_EQ(SqlDateTimeText(read[1].ctDateTaken), QStringLiteral("2024-11-03 01:45:00"));
    }
}

} // namespace
} // namespace vantor::testing
