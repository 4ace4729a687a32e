// The vibration status table (`vantor status`) of a large plant beside the one SQL query it needs
// (each point's newest reading, without captures) run through SQLite's C interface; the table as it
// was built before, from every point's full reading list; and the conversion of stored date-times
// beside Qt's general parser, with the time zone unset and pinned.
#include "LargePlant.h"
#include "analysis/StatusTable.h"
#include "loaders/StatusTableQuery.h"
#include "platform/LocalTimeZone.h"
#include "store/MainConnection.h"
#include "store/RecordFields.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <ctime>

namespace {

using namespace vantor;
using bench::TheLargePlant;

void BM_StatusTable(benchmark::State& state) {
    CMainConnection& db = *TheLargePlant().app->MainConnection();
    for (auto _ : state) {
        const std::vector<StatusTableRow> rows = BuildVibStatusTable(db, StatusTableOptions{});
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_StatusTable)->Unit(benchmark::kMillisecond);

// The same rows from every point's readings newest first, captures and all: the table as it was.
void BM_StatusTableFromEveryReading(benchmark::State& state) {
    CMainConnection& db = *TheLargePlant().app->MainConnection();
    for (auto _ : state) {
        std::size_t rows = 0;
        for (const CMachine& machine : db.ListMachines()) {
            for (const CVib& point : db.ListVibs(machine.sItemGUID)) {
                const std::vector<CVibReading> readings = db.ListVibReadingsNewestFirst(point.sItemGUID);
                benchmark::DoNotOptimize(PointStatus(point, readings.empty() ? nullptr : &readings.front()));
                ++rows;
            }
        }
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_StatusTableFromEveryReading)->Unit(benchmark::kMillisecond)->Iterations(1);

// The peer: one query for each point's newest reading, its value columns stepped through.
void BM_NewestReadingQuery(benchmark::State& state) {
    sqlite3* db = nullptr;
    const QString path = TheLargePlant().app->MainConnection()->Connection().Path();
    if (sqlite3_open_v2(qPrintable(path), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        state.SkipWithError("the database did not open");
        return;
    }
    QStringList columns;
    sqlite3_stmt* info = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA table_info(tblVibReadings)", -1, &info, nullptr);
    while (sqlite3_step(info) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info, 1)));
        if (!name.startsWith(QLatin1String("raw"))) {
            columns << QStringLiteral("r.[%1]").arg(name);
        }
    }
    sqlite3_finalize(info);
    const QByteArray sql =
        QStringLiteral("SELECT %1 FROM tblVibs p JOIN tblVibReadings r ON r.rowid = (SELECT x.rowid FROM "
                       "tblVibReadings x WHERE x.sParentGUID = p.sItemGUID ORDER BY x.ctDateTaken DESC, "
                       "x.rowid DESC LIMIT 1)")
            .arg(columns.join(QLatin1Char(',')))
            .toUtf8();
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &query, nullptr);
    for (auto _ : state) {
        int rows = 0;
        while (sqlite3_step(query) == SQLITE_ROW) {
            for (int column = 0; column < columns.size(); ++column) {
                if (sqlite3_column_type(query, column) == SQLITE_TEXT) {
                    benchmark::DoNotOptimize(sqlite3_column_text(query, column));
                } else {
                    benchmark::DoNotOptimize(sqlite3_column_double(query, column));
                }
            }
            ++rows;
        }
        sqlite3_reset(query);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
}
BENCHMARK(BM_NewestReadingQuery)->Unit(benchmark::kMillisecond);

// 10,000 stored date-times of a year, read as local times. Argument: 0 with TZ unset (the C library
// checks the zone file at each conversion), 1 with the zone pinned.
QStringList StoredDates() {
    QStringList texts;
    const QDateTime first(QDate(2025, 1, 1), QTime(0, 0));
    for (int i = 0; i < 10000; ++i) {
        texts << SqlDateTimeText(first.addSecs(3153LL * i));
    }
    return texts;
}

class ZoneState {
public:
    explicit ZoneState(bool pinned) : saved_(qgetenv("TZ")), wasSet_(qEnvironmentVariableIsSet("TZ")) {
        qunsetenv("TZ");
        tzset();
        if (pinned) {
            PinLocalTimeZone();
        }
    }
    ~ZoneState() {
        if (wasSet_) {
            qputenv("TZ", saved_);
        } else {
            qunsetenv("TZ");
        }
        tzset();
    }

private:
    QByteArray saved_;
    bool wasSet_;
};

void BM_DateTimeFromSql(benchmark::State& state) {
    const QStringList texts = StoredDates();
    const ZoneState zone(state.range(0) != 0);
    for (auto _ : state) {
        for (const QString& text : texts) {
            benchmark::DoNotOptimize(DateTimeFromSql(text));
        }
    }
    state.SetItemsProcessed(state.iterations() * texts.size());
}
BENCHMARK(BM_DateTimeFromSql)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Qt's general parser of the same form, as the dates were read before.
void BM_DateTimeGeneralParser(benchmark::State& state) {
    const QStringList texts = StoredDates();
    const ZoneState zone(state.range(0) != 0);
    for (auto _ : state) {
        for (const QString& text : texts) {
            benchmark::DoNotOptimize(QDateTime::fromString(text, QLatin1String(kSqlDateTimeFormat)));
        }
    }
    state.SetItemsProcessed(state.iterations() * texts.size());
}
BENCHMARK(BM_DateTimeGeneralParser)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    PinLocalTimeZone();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TheLargePlant();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
