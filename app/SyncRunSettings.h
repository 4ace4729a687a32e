#pragma once
// The settings of a synchronisation run, formed from the application data in one place for the
// command line and the desktop program alike.

#include "app/CAppData.h"
#include "device/SyncWorker.h"

namespace vantor {

// Direction and route, the meter limits, the Off Route identifiers, the database, the meter port
// (`port` when given, else the user's setting; empty finds the cradle on the USB bus), and the
// exception collection of the settings.
SyncSettings MakeSyncSettings(CAppData& app, bool fromMeter, const QString& routeGuid = {},
                              const QString& port = {});

// The route named by its GUID (any case) or its name; empty when there is none.
QString FindRouteGuid(CMainConnection& db, const QString& key);

} // namespace vantor
