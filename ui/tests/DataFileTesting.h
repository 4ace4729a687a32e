#pragma once
// A data file for the desktop's import tests, written from a database of its own.

#include "store/DataFile.h"
#include "store/MainConnection.h"
#include "store/Schema.h"

#include <gtest/gtest.h>

namespace vantor::testing {

// Writes `path`: a data file holding the one machine "Pump" (a source database beside it).
inline void WriteDataFileOfOneMachine(const QString& path) {
    StoreContext context;
    context.databaseFile = path + QStringLiteral(".source.mdb");
    ASSERT_TRUE(CreateEmptyDatabase(context.databaseFile));
    CMainConnection source(context);
    ASSERT_TRUE(source.Open());
    ASSERT_TRUE(source.UpsertMachine(CMachine{QStringLiteral("{0000000a-0000-4000-8000-000000000000}"),
                                              0,
                                              QStringLiteral("Pump"),
                                              QStringLiteral("PUMP"),
                                              {}}));
    DataFileProgress quiet;
    ASSERT_EQ(ExportEverything(source, path, quiet), DataFileOutcome::Done);
}

} // namespace vantor::testing
