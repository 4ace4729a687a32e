// Backup, restore and the copy into the other database keep every row of every table, not only
// the sections of the data file.
#include "app/DatabaseBackup.h"
#include "app/DatabaseSwitch.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/DatabaseCopy.h"
#include "store/Schema.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

namespace vantor {
namespace {

class DatabaseBackup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InitDataRoot(app));
        ASSERT_TRUE(RunLocalStartup(app));
    }

    // Puts 1, 2, 3, ... rows into the tables in catalogue order, so a table that lost or doubled
    // rows shows in the counts.
    void FillEveryTable() {
        QSqlDatabase db = app.MainConnection()->Connection().Database();
        QSqlQuery tables(db);
        ASSERT_TRUE(tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name "
                                               "NOT LIKE 'sqlite_%' ORDER BY name")));
        QStringList names;
        while (tables.next()) {
            names << tables.value(0).toString();
        }
        tables.finish();
        ASSERT_GE(names.size(), 10);
        for (qsizetype t = 0; t < names.size(); ++t) {
            const QSqlRecord columns = db.record(names[t]);
            const QString key = columns.contains(QStringLiteral("sItemGUID")) ? QStringLiteral("sItemGUID")
                                                                              : columns.fieldName(0);
            for (qsizetype row = 0; row <= t; ++row) {
                QSqlQuery insert(db);
                insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(names[t], key));
                insert.addBindValue(key == QLatin1String("sItemGUID")
                                        ? MakeItemGuid()
                                        : QStringLiteral("row%1@t%2.example.org").arg(row).arg(t));
                ASSERT_TRUE(insert.exec()) << qPrintable(names[t]);
            }
        }
    }

    QStringList Counts() { return TableRowCounts(app.folders.databaseFile); }
    QString PathOf(const QString& name) const { return QDir(env.Root()).filePath(name); }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    CAppData app{prompter, Edition::For(2, 0)};
};

TEST_F(DatabaseBackup, BackupAndRestoreKeepEveryRowOfEveryTable) {
    FillEveryTable();
    const QStringList before = Counts();
    ASSERT_FALSE(before.isEmpty());
    const QString backup = PathOf(QStringLiteral("plant.vbk"));
    ASSERT_EQ(BackupDatabaseTo(app, backup), BackupOutcome::Done);
    EXPECT_EQ(TableRowCounts(backup), before);

    // Everything changes after the backup; the restore brings back exactly what was backed up.
    FillEveryTable();
    ASSERT_NE(Counts(), before);
    prompter.yesNoAnswers = {true};
    ASSERT_EQ(RestoreDatabaseFrom(app, backup), BackupOutcome::Done);
    ASSERT_NE(app.MainConnection(), nullptr);
    EXPECT_EQ(Counts(), before);
    EXPECT_FALSE(QFile::exists(app.folders.databaseFile + QStringLiteral(".previous")));
    EXPECT_TRUE(prompter.Messages().isEmpty());
}

TEST_F(DatabaseBackup, ADamagedOrForeignBackupReplacesNothing) {
    FillEveryTable();
    const QStringList before = Counts();
    const QString backup = PathOf(QStringLiteral("plant.vbk"));
    ASSERT_EQ(BackupDatabaseTo(app, backup), BackupOutcome::Done);
    QFile file(backup);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray whole = file.readAll();
    // A backup cut short keeps its header but not its pages.
    file.resize(whole.size() / 2);
    file.close();
    // An SQLite file of another program.
    const QString foreign = PathOf(QStringLiteral("foreign.vbk"));
    {
        ASSERT_TRUE(CreateEmptyDatabase(foreign, nullptr));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(foreign);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("DROP TABLE tblVibs")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    for (const QString& path : {backup, foreign}) {
        prompter.records.clear();
        prompter.yesNoAnswers = {true};
        EXPECT_EQ(RestoreDatabaseFrom(app, path), BackupOutcome::Failed) << qPrintable(path);
        EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::ErrorImportingData)});
        ASSERT_NE(app.MainConnection(), nullptr);
        EXPECT_EQ(Counts(), before);
    }
    // Declined: nothing happens.
    ASSERT_EQ(BackupDatabaseTo(app, backup), BackupOutcome::Done);
    prompter.yesNoAnswers = {false};
    EXPECT_EQ(RestoreDatabaseFrom(app, backup), BackupOutcome::Cancelled);
}

TEST_F(DatabaseBackup, ExportToTheOtherDatabaseCopiesEveryTable) {
    const QString folder = QDir(env.Root()).filePath(QStringLiteral("share/Plant"));
    QDir().mkpath(folder + QStringLiteral("/Database"));
    ASSERT_TRUE(CreateEmptyDatabase(RemoteDatabaseFile(app, folder), nullptr));
    RememberRemoteFolder(app, folder);
    FillEveryTable();
    const QStringList local = Counts();
    ASSERT_TRUE(ExportToOtherDatabase(app, {}));
    EXPECT_FALSE(app.remoteDatabaseInUse);
    EXPECT_EQ(TableRowCounts(RemoteDatabaseFile(app, folder)), local);
    EXPECT_EQ(Counts(), local);
    // Copying again replaces the rows of the same keys instead of adding them twice.
    ASSERT_TRUE(ExportToOtherDatabase(app, {}));
    EXPECT_EQ(TableRowCounts(RemoteDatabaseFile(app, folder)), local);
}

} // namespace
} // namespace vantor
