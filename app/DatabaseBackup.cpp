#include "app/DatabaseBackup.h"

#include "app/Log.h"
#include "platform/Prompter.h"
#include "store/DatabaseCopy.h"
#include "texts/UiText.h"

#include <QFile>

namespace vantor {
namespace {

BackupOutcome Failed(CAppData& app, int textIndex, const QString& reason) {
    qCWarning(lcApp, "%s", qUtf8Printable(reason));
    app.UserPrompter().ShowMessage(UiText(textIndex));
    return BackupOutcome::Failed;
}

// An SQLite database file starts with this header; anything else is taken for a data file.
bool LooksLikeDatabaseFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

// Moves the database file (and what SQLite keeps beside it) to `to`; the connection is closed.
bool MoveDatabase(const QString& from, const QString& to) {
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        QFile::remove(to + QLatin1String(suffix));
        QFile::remove(from + QLatin1String(suffix)); // empty after a clean close
    }
    QFile::remove(to);
    return QFile::rename(from, to);
}

} // namespace

BackupOutcome BackupDatabaseTo(CAppData& app, const QString& path) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return Failed(app, text::ErrorExportingData, QStringLiteral("backup without an open database"));
    }
    QString error;
    if (!BackupDatabase(db->Connection(), path, error)) {
        return Failed(app, text::ErrorExportingData,
                      QStringLiteral("backup to %1 failed: %2").arg(path, error));
    }
    return BackupOutcome::Done;
}

BackupOutcome RestoreDatabaseFrom(CAppData& app, const QString& path, const ProgressOpener& open) {
    if (app.MainConnection() == nullptr) {
        return Failed(app, text::ErrorImportingData, QStringLiteral("restore without an open database"));
    }
    if (!LooksLikeDatabaseFile(path)) {
        const DataFileTransfer transfer = ImportDataFileInto(app, path, false, open);
        return transfer.outcome == DataFileOutcome::Done ? BackupOutcome::Done : BackupOutcome::Failed;
    }
    if (!app.UserPrompter().AskYesNo(UiText(text::ImportReplaceQuestion))) {
        return BackupOutcome::Cancelled;
    }
    const QString database = app.folders.databaseFile;
    const QString incoming = database + QStringLiteral(".restoring");
    const QString previous = database + QStringLiteral(".previous");
    QString error;
    // The copy beside the database is what gets checked and put in place, so a backup that changes
    // after its check never reaches the database.
    QFile::remove(incoming);
    if (!QFile::copy(path, incoming) || !CheckDatabaseFile(incoming, error)) {
        QFile::remove(incoming);
        return Failed(app, text::ErrorImportingData,
                      QStringLiteral("restore from %1 refused: %2").arg(path, error));
    }
    app.CloseMainConnection();
    if (!MoveDatabase(database, previous)) {
        QFile::remove(incoming);
        app.OpenMainConnection();
        return Failed(app, text::ErrorImportingData, QStringLiteral("cannot set %1 aside").arg(database));
    }
    if (QFile::rename(incoming, database) && app.OpenMainConnection()) {
        QFile::remove(previous);
        if (app.databaseView.databaseChanged) {
            app.databaseView.databaseChanged();
        }
        return BackupOutcome::Done;
    }
    // The restored copy did not open: the previous database goes back.
    app.CloseMainConnection();
    QFile::remove(incoming);
    MoveDatabase(previous, database);
    app.OpenMainConnection();
    return Failed(app, text::ErrorImportingData, QStringLiteral("restored database did not open"));
}

} // namespace vantor
