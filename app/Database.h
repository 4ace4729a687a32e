#pragma once
// The open database as a front end hands it to the use cases of app/: the desktop passes it from
// the session (CAppData) straight into app/ functions and never reaches the connection behind it.

#include "app/CAppData.h"

namespace vantor {

// Whether a database is open (the desktop asks before it calls a use case).
inline bool DatabaseOpen(const CAppData& app) {
    return app.MainConnection() != nullptr;
}
// The open database; throws DatabaseError (unavailable) when none is open.
CMainConnection& Database(const CAppData& app);

} // namespace vantor
