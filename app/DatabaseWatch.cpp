#include "app/DatabaseWatch.h"

#include "app/Log.h"
#include "store/MainConnection.h"

namespace vantor {

std::optional<qint64> DatabaseChangeCounter(CMainConnection& db) {
    SqlConnection& connection = db.Connection();
    if (!connection.IsOpen()) {
        return std::nullopt;
    }
    const QString sql =
        connection.IsServer()
            ? QStringLiteral(
                  "SELECT COALESCE(SUM(n_tup_ins + n_tup_upd + n_tup_del), 0) FROM pg_stat_user_tables")
            : QStringLiteral("PRAGMA data_version");
    try {
        return FirstInteger(connection.Prepared(sql));
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "reading the database's change counter failed:" << error.what();
        return std::nullopt;
    }
}

} // namespace vantor
