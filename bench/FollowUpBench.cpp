// The follow-up lists on the large plant (1,000 machines × 10 points × 50 readings, ten routes of
// 100 machines, 5,000 alarm events of which every other one acknowledged): `vantor due` and
// `vantor events --new` (the Events pane's first fill) each beside the one SQL query they need,
// run through SQLite's C interface in the same run; the status table's plant read with its Due
// column and new-event marks beside the same read without them.
#include "LargePlant.h"
#include "app/AlarmEvents.h"
#include "app/PlantStatus.h"
#include "app/RouteSchedule.h"
#include "platform/LocalTimeZone.h"
#include "store/AlarmEventRecords.h"
#include "store/MainConnection.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

using namespace vantor;

constexpr int kRoutes = 10;
constexpr int kEvents = 5000;

// The large plant with its routes and events, added once.
CMainConnection& Plant() {
    static CMainConnection* db = [] {
        CMainConnection* main = bench::TheLargePlant().app->MainConnection();
        if (main->ListRoutes().empty()) {
            SqlConnection::Batch batch(main->Connection());
            const std::vector<CMachine> machines = main->ListMachines();
            for (int r = 0; r < kRoutes; ++r) {
                const CRoute route{MakeItemGuid(), static_cast<float>(r), QStringLiteral("Route %1").arg(r)};
                main->UpsertRoute(route);
                for (std::size_t m = static_cast<std::size_t>(r); m < machines.size(); m += kRoutes) {
                    main->UpsertRouteItem({MakeItemGuid(), route.sItemGUID, static_cast<float>(m),
                                           machines[m].sItemGUID, machines[m].sName});
                }
            }
            const std::vector<CVib> points = main->ListVibs({});
            const QDateTime raised(QDate(2025, 1, 1), QTime(8, 0));
            for (int e = 0; e < kEvents; ++e) {
                const AlarmEventRow event{MakeItemGuid(),
                                          points[static_cast<std::size_t>(e) % points.size()].sItemGUID,
                                          MakeItemGuid(),
                                          QStringLiteral("documented"),
                                          {},
                                          4,
                                          QStringLiteral("ISO/BDU limits: WARNING"),
                                          raised.addSecs(60LL * e)};
                eventrows::Insert(main->Connection(), event);
                if (e % 2 == 0) {
                    eventrows::AddAcknowledgement(main->Connection(),
                                                  {MakeItemGuid(), event.guid, QStringLiteral("ann"),
                                                   QStringLiteral("seen"), raised.addSecs(60LL * e + 30)});
                }
            }
        }
        return main;
    }();
    return *db;
}

// Steps through every row and column of one statement on a read-only connection of the plant file.
void RunQuery(benchmark::State& state, const char* sql) {
    Plant();
    sqlite3* db = nullptr;
    const QString path = bench::TheLargePlant().app->MainConnection()->Connection().Path();
    if (sqlite3_open_v2(qPrintable(path), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        state.SkipWithError("the database did not open");
        return;
    }
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &query, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    for (auto _ : state) {
        int rows = 0;
        while (sqlite3_step(query) == SQLITE_ROW) {
            for (int column = 0; column < sqlite3_column_count(query); ++column) {
                benchmark::DoNotOptimize(sqlite3_column_text(query, column));
            }
            ++rows;
        }
        sqlite3_reset(query);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
}

void BM_DuePoints(benchmark::State& state) {
    CMainConnection& db = Plant();
    const QDate today(2026, 1, 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DuePoints(db, today, kSoonDueDays).size());
    }
}
BENCHMARK(BM_DuePoints)->Unit(benchmark::kMillisecond);

// The peer: each route point with its newest reading's date.
void BM_DueQuery(benchmark::State& state) {
    RunQuery(state,
             "SELECT ri.sParentGUID, v.sItemGUID, v.sName, (SELECT MAX(r.ctDateTaken) FROM tblVibReadings r "
             "WHERE r.sParentGUID = v.sItemGUID) FROM tblRouteItems ri JOIN tblVibs v ON v.sParentGUID = "
             "ri.sMachineGUID");
}
BENCHMARK(BM_DueQuery)->Unit(benchmark::kMillisecond);

void BM_NewEvents(benchmark::State& state) {
    CMainConnection& db = Plant();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ListEventViews(db, {true, {}}).size());
    }
}
BENCHMARK(BM_NewEvents)->Unit(benchmark::kMillisecond);

// The peer: the new events with their point's and machine's names, in the listing's order (events
// raised in the same second by their readings' dates).
void BM_NewEventsQuery(benchmark::State& state) {
    RunQuery(
        state,
        "SELECT e.sItemGUID, e.sVibGUID, e.sReadingGUID, e.sSource, e.sRule, e.iLevel, e.sReason, "
        "e.sRaised, v.sName, m.sName FROM tblAlarmEvents e LEFT JOIN tblVibs v ON v.sItemGUID = e.sVibGUID "
        "LEFT JOIN tblMachines m ON m.sItemGUID = v.sParentGUID WHERE NOT EXISTS (SELECT 1 FROM "
        "tblEventAcknowledgements a WHERE a.sEventGUID = e.sItemGUID) ORDER BY e.sRaised, (SELECT "
        "r.ctDateTaken FROM tblVibReadings r WHERE r.sItemGUID = e.sReadingGUID), e.sItemGUID");
}
BENCHMARK(BM_NewEventsQuery)->Unit(benchmark::kMillisecond);

// The plant read behind the tree and the status table, with the follow-up (each point's due date
// and new events) and, as the peer, without it.
void BM_PlantStatus(benchmark::State& state) {
    CMainConnection& db = Plant();
    PlantContents contents;
    contents.followUp = state.range(0) != 0;
    contents.today = QDate(2026, 1, 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadPlant(db, contents).machines.size());
    }
}
BENCHMARK(BM_PlantStatus)->ArgName("followUp")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    PinLocalTimeZone();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
