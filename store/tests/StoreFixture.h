#pragma once
// A fresh database file in a temporary folder, with the main connection open and a recording
// prompter for whatever the store shows.

#include "platform/testing/PostgresCluster.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "store/Schema.h"
#include "store/ServerSchema.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <memory>

namespace vantor::testing {

// The database of a test on either engine: a fresh file, or a fresh database on the test cluster
// with the server schema. A server that cannot start fails the test with the reason.
class StoreFixture : public ::testing::Test {
protected:
    virtual SqlEngine Engine() const { return SqlEngine::Sqlite; }
    bool OnServer() const { return Engine() == SqlEngine::Postgres; }

    void SetUp() override {
        QDir(env.Root()).mkpath(QStringLiteral("Data"));
        context.databaseFile = QDir(env.Root()).filePath(QStringLiteral("VantorV1.mdb"));
        context.dataFolder = QDir(env.Root()).filePath(QStringLiteral("Data"));
        context.prompter = &prompter;
        context.securityWarning = [this] { prompter.ShowMessage(QStringLiteral("Security Warning")); };
        context.markShuttingDown = [this] { shuttingDown = true; };
        context.discovery.retryWait = std::chrono::milliseconds(1);
        if (OnServer()) {
            PostgresCluster& cluster = PostgresCluster::Shared();
            ASSERT_TRUE(cluster.Ready())
                << "the test PostgreSQL cluster did not start: " << cluster.Error().toStdString();
            const QString address = cluster.CreateDatabase();
            ASSERT_FALSE(address.isEmpty()) << cluster.Error().toStdString();
            context.server = ServerAddress::Parse(address);
            context.applicationName = QStringLiteral("vantor tests");
            if (createDatabase) {
                SqlConnection setup(*context.server);
                ASSERT_TRUE(setup.Open()) << setup.LastError().toStdString();
                QString error;
                ASSERT_EQ(InitServerSchema(setup, &error), SchemaInit::Created) << error.toStdString();
            }
        } else if (createDatabase) {
            QString error;
            ASSERT_TRUE(CreateEmptyDatabase(context.databaseFile, &error)) << error.toStdString();
        }
        db = std::make_unique<CMainConnection>(context);
        if (createDatabase) {
            ASSERT_TRUE(db->Open());
        }
    }

    CMachine AddMachine(const QString& name) {
        CMachine machine;
        machine.sItemGUID = MakeItemGuid();
        machine.fOrder = db->NextOrder(ItemKind::Machines, {});
        machine.sName = name;
        machine.sVMName = name.left(14);
        EXPECT_TRUE(db->UpsertMachine(machine));
        return machine;
    }

    CVib AddVib(const QString& machine, const QString& name) {
        CVib vib;
        vib.sItemGUID = MakeItemGuid();
        vib.sParentGUID = machine;
        vib.fOrder = db->NextOrder(ItemKind::VibPoints, machine);
        vib.sName = name;
        vib.sVMName = name;
        vib.fRunSpeedHz = 24.5f;
        EXPECT_TRUE(db->UpsertVib(vib));
        return vib;
    }

    CVibReading AddReading(const QString& point, const QDateTime& taken) {
        CVibReading reading;
        reading.sItemGUID = MakeItemGuid();
        reading.sParentGUID = point;
        reading.ctDateTaken = taken;
        reading.fISOMMS = 1.25f;
        reading.rawADCISODataByteArray = QByteArray(4096, 'i');
        reading.rawADCTotalDataByteArray = QByteArray(4096, 't');
        EXPECT_TRUE(db->UpsertVibReading(reading));
        return reading;
    }

    CRouteItem AddRouteItem(const QString& route, const CMachine& machine) {
        CRouteItem item;
        item.sItemGUID = MakeItemGuid();
        item.sParentGUID = route;
        item.fOrder = db->NextOrder(ItemKind::RouteItems, route);
        item.sMachineGUID = machine.sItemGUID;
        item.sMachineName = machine.sName;
        EXPECT_TRUE(db->UpsertRouteItem(item));
        return item;
    }

    // Runs a statement on a separate plain connection, as another program would.
    void Execute(const QString& statement) {
        SqlConnection raw = ConnectionFor(context);
        ASSERT_TRUE(raw.Open());
        QSqlQuery query(raw.Database());
        ASSERT_TRUE(query.exec(raw.Dialect().Translate(statement))) << query.lastError().text().toStdString();
    }

    bool createDatabase = true;
    TempEnvironment env;
    RecordingPrompter prompter;
    StoreContext context;
    std::unique_ptr<CMainConnection> db;
    bool shuttingDown = false;
};

// A fixture whose tests run once per engine, from one table of cases.
template <class Base = StoreFixture>
class OnBothEngines : public Base, public ::testing::WithParamInterface<SqlEngine> {
protected:
    SqlEngine Engine() const override { return GetParam(); }
};

inline std::string EngineName(const ::testing::TestParamInfo<SqlEngine>& info) {
    return info.param == SqlEngine::Postgres ? "PostgreSQL" : "SQLite";
}

#define VANTOR_ON_BOTH_ENGINES(Suite)                                                                        \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                                 \
                             ::testing::Values(::vantor::SqlEngine::Sqlite, ::vantor::SqlEngine::Postgres),  \
                             ::vantor::testing::EngineName)

inline QDateTime At(int day, int hour = 12, int minute = 0, int second = 0) {
    return QDateTime(QDate(2024, 3, day), QTime(hour, minute, second));
}

} // namespace vantor::testing
