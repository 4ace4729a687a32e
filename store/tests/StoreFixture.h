#pragma once
// A fresh database file in a temporary folder, with the main connection open and a recording
// prompter for whatever the store shows.

#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "store/Schema.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <memory>

namespace vantor::testing {

class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(env.Root()).mkpath(QStringLiteral("Data"));
        context.databaseFile = QDir(env.Root()).filePath(QStringLiteral("VantorV1.mdb"));
        context.dataFolder = QDir(env.Root()).filePath(QStringLiteral("Data"));
        context.prompter = &prompter;
        context.securityWarning = [this] { prompter.ShowMessage(QStringLiteral("Security Warning")); };
        context.markShuttingDown = [this] { shuttingDown = true; };
        context.discovery.retryWait = std::chrono::milliseconds(1);
        if (createDatabase) {
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
        SqlConnection raw(context.databaseFile);
        ASSERT_TRUE(raw.Open());
        QSqlQuery query(raw.Database());
        ASSERT_TRUE(query.exec(statement)) << query.lastError().text().toStdString();
    }

    bool createDatabase = true;
    TempEnvironment env;
    RecordingPrompter prompter;
    StoreContext context;
    std::unique_ptr<CMainConnection> db;
    bool shuttingDown = false;
};

inline QDateTime At(int day, int hour = 12, int minute = 0, int second = 0) {
    return QDateTime(QDate(2024, 3, day), QTime(hour, minute, second));
}

} // namespace vantor::testing
