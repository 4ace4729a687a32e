#pragma once
// What the desktop's From Meter and To Meter commands need besides the dialogs: the run's settings
// from the application data, and the exception e-mails sent after every run.

#include "app/CAppData.h"
#include "device/SyncWorker.h"

class QWidget;

namespace vantor {

// The run's settings: direction and route, the meter limits, the Off Route identifiers, the
// database, the cradle ports found on the USB bus, and the exception collection of the settings.
SyncSettings MakeSyncSettings(CAppData& app, bool fromMeter, const QString& routeGuid = {});

// Sends or shows the exception e-mails of the run just ended, with a progress window.
void SendExceptionEmails(CAppData& app, Prompter& prompter, QWidget* parent);

} // namespace vantor
