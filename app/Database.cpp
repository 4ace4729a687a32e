#include "app/Database.h"

namespace vantor {

CMainConnection& Database(const CAppData& app) {
    if (CMainConnection* db = app.MainConnection()) {
        return *db;
    }
    throw DatabaseError(QStringLiteral("no database is open"), DatabaseError::Kind::Unavailable);
}

} // namespace vantor
