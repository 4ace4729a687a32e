#pragma once
// What the desktop's From Meter and To Meter commands need besides the dialogs: the run's settings
// from the application data, and the exception e-mails sent after every run.

#include "app/CAppData.h"
#include "app/SyncRunSettings.h"

class QWidget;

namespace vantor {

// Sends or shows the exception e-mails of the run just ended, with a progress window.
void SendExceptionEmails(CAppData& app, Prompter& prompter, QWidget* parent);

} // namespace vantor
