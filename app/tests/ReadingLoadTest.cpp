// A reading opened in the Analysis page, and the commands that diagnose one or draw its envelope,
// read the reading's row (with both raw captures) from the database once: counted on the SQLite
// handle itself, with the signal cache file absent (first open) and present (opened again).
#include "analysis/EnvelopeSpectrum.h"
#include "analysis/SignalProcessor.h"
#include "app/ReadingFindings.h"
#include "app/ViewedReading.h"
#include "app/tests/DatabaseFixture.h"
#include "app/tests/FindingsTestData.h"
#include "loaders/DiagnosisLoader.h"
#include "loaders/EnvelopeLoader.h"
#include "store/MainConnection.h"
#include "store/SignalCachePath.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlDriver>

#include <sqlite3.h>

#include <functional>

namespace vantor {
namespace {

// Counts the statements SQLite starts on a connection that read a vibration reading's row with its
// captures; the trace is removed when the counter goes.
class RowFetchCounter {
public:
    explicit RowFetchCounter(CMainConnection& db) {
        const QVariant handle = db.Connection().Database().driver()->handle();
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
            handle_ = *static_cast<sqlite3* const*>(handle.constData());
        }
        if (handle_ != nullptr) {
            sqlite3_trace_v2(handle_, SQLITE_TRACE_STMT, &RowFetchCounter::Trace, this);
        }
    }
    ~RowFetchCounter() {
        if (handle_ != nullptr) {
            sqlite3_trace_v2(handle_, 0, nullptr, nullptr);
        }
    }
    RowFetchCounter(const RowFetchCounter&) = delete;
    RowFetchCounter& operator=(const RowFetchCounter&) = delete;

    bool Tracing() const { return handle_ != nullptr; }
    int Fetches() const { return fetches_; }

private:
    static int Trace(unsigned type, void* self, void* statement, void*) {
        if (type == SQLITE_TRACE_STMT) {
            const QString sql = QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
            // The whole row (every column, or the captures named) of the readings table.
            static const QRegularExpression kRowOfReadings(
                QStringLiteral(R"(^SELECT\b.*(\*|rawADCTotalDataByteArray).*\bFROM\s+\[?tblVibReadings\b)"),
                QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
            if (kRowOfReadings.match(sql).hasMatch()) {
                ++static_cast<RowFetchCounter*>(self)->fetches_;
            }
        }
        return 0;
    }

    sqlite3* handle_ = nullptr;
    int fetches_ = 0;
};

class ReadingLoadTest : public testing::DatabaseFixture {
protected:
    void SetUp() override {
        DatabaseFixture::SetUp();
        point = testing::AddFanMotorDE(Db(), 10.0f, 20.0f);
        reading = testing::ToneReading(point.sItemGUID, QDateTime(QDate(2024, 5, 2), QTime(10, 0)), 4.0);
        ASSERT_TRUE(Db().UpsertVibReading(reading));
    }

    QString CacheFile() const {
        return SignalCacheFilePath(app->MainConnection()->Context().dataFolder, reading.sItemGUID);
    }

    CVib point;
    CVibReading reading;
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
};

TEST_F(ReadingLoadTest, EachPathReadsTheReadingsRowOnce) {
    // The Analysis page: the reading loaded for the views, then its spectrum (drawn from the loaded
    // signals), its envelope and its findings.
    const auto analysisPage = [this] {
        const std::optional<ViewedReading> loaded = LoadOrSay(*app, processor, reading.sItemGUID);
        ASSERT_TRUE(loaded && loaded->row);
        EXPECT_FALSE(loaded->decoded.iso.spectrum.empty());
        EXPECT_EQ(LoadPointReadingEnvelope(*app, analyzer, *loaded).outcome, ReadingEnvelopeOutcome::Ready);
        const std::optional<ReadingDiagnosis> diagnosis = LoadReadingDiagnosis(*app, analyzer, *loaded);
        ASSERT_TRUE(diagnosis);
        EXPECT_EQ(diagnosis->pointGuid, point.sItemGUID);
    };
    // `vantor diagnose` and `vantor envelope`, which start from the reading's GUID.
    const auto diagnose = [this] {
        EXPECT_TRUE(DiagnoseReading(Db(), processor, analyzer, reading.sItemGUID));
    };
    const auto envelope = [this] {
        EXPECT_EQ(LoadReadingEnvelope(Db(), processor, analyzer, reading.sItemGUID).outcome,
                  ReadingEnvelopeOutcome::Ready);
    };
    const struct {
        const char* name;
        std::function<void()> run;
    } paths[] = {{"analysis page", analysisPage}, {"diagnose", diagnose}, {"envelope", envelope}};

    for (const auto& path : paths) {
        for (const bool cached : {false, true}) {
            if (!cached) {
                QFile::remove(CacheFile());
                QFile::remove(DerivedCacheFilePath(Db().Context().dataFolder, reading.sItemGUID));
            }
            RowFetchCounter counter(Db());
            ASSERT_TRUE(counter.Tracing());
            path.run();
            EXPECT_EQ(counter.Fetches(), 1)
                << path.name << (cached ? ", cache file present" : ", first open");
            EXPECT_TRUE(QFile::exists(CacheFile())) << path.name;
        }
    }
}

TEST_F(ReadingLoadTest, TheLoadedReadingGivesWhatTheLoadsByIdGive) {
    const std::optional<ViewedReading> loaded = LoadOrSay(*app, processor, reading.sItemGUID);
    ASSERT_TRUE(loaded && loaded->row);
    EXPECT_EQ(loaded->row->sItemGUID, reading.sItemGUID);

    const ReadingEnvelope byId = LoadReadingEnvelope(Db(), processor, analyzer, reading.sItemGUID);
    const ReadingEnvelope fromLoaded = LoadPointReadingEnvelope(*app, analyzer, *loaded);
    EXPECT_EQ(fromLoaded.outcome, byId.outcome);
    EXPECT_EQ(fromLoaded.spectrum.lines, byId.spectrum.lines);
    EXPECT_EQ(fromLoaded.pointGuid, point.sItemGUID);

    const std::optional<ReadingDiagnosis> diagnosed =
        DiagnoseReading(Db(), processor, analyzer, reading.sItemGUID);
    const std::optional<ReadingDiagnosis> shown = LoadReadingDiagnosis(*app, analyzer, *loaded);
    ASSERT_TRUE(diagnosed && shown);
    ASSERT_EQ(shown->findings.size(), diagnosed->findings.size());
    ASSERT_FALSE(shown->findings.empty()); // the 4 mm/s tone is found
    for (std::size_t i = 0; i < shown->findings.size(); ++i) {
        EXPECT_EQ(shown->findings[i].summary, diagnosed->findings[i].summary);
    }
    EXPECT_EQ(shown->notes, diagnosed->notes);

    // An off-route reading has no row of a point: nothing to diagnose, no envelope of a point.
    ViewedReading offRoute = *loaded;
    offRoute.row.reset();
    offRoute.point.reset();
    EXPECT_FALSE(LoadReadingDiagnosis(*app, analyzer, offRoute));
    EXPECT_EQ(LoadPointReadingEnvelope(*app, analyzer, offRoute).outcome, ReadingEnvelopeOutcome::NoReading);
}

} // namespace
} // namespace vantor
