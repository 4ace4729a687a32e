#pragma once
// A fresh data root with an empty database, opened as the command line opens it, and helpers that
// add rows.

#include "app/CAppData.h"
#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

#include <memory>

namespace vantor::testing {

class DatabaseFixture : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
    }

    CMainConnection& Db() { return *app->MainConnection(); }

    CMachine AddMachine(const QString& name) {
        CMachine machine;
        machine.sItemGUID = MakeItemGuid();
        machine.sName = name;
        machine.sVMName = name.left(14);
        EXPECT_TRUE(Db().UpsertMachine(machine));
        return machine;
    }
    CVib AddPoint(const CMachine& machine, const QString& name) {
        CVib point;
        point.sItemGUID = MakeItemGuid();
        point.sParentGUID = machine.sItemGUID;
        point.sName = name;
        point.sVMName = name.left(14);
        point.fOrder = static_cast<float>(Db().CountVibs(machine.sItemGUID));
        EXPECT_TRUE(Db().UpsertVib(point));
        return point;
    }
    // Runs a statement on the database file outside the record access layer.
    bool Exec(const QString& statement) { return QSqlQuery(Db().Connection().Database()).exec(statement); }

    TempEnvironment env;
    RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
};

} // namespace vantor::testing
