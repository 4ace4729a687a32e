#pragma once
// What the program does from launch to its main window, apart from the windows themselves; the
// main window's own start-up steps are in app/Startup.h.

#include "app/CAppData.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "texts/LanguagePacks.h"

#include <QStringList>

namespace vantor {

// The executable's base name as start-up compares it with the title.
QString ExecutableBaseName(const QString& executablePath);

struct ProcessStart {
    bool run = false; // false: another instance runs; this process ends
    QString dataFile; // the kept data-file argument, the pending data file of the main window
};

// Process entry up to the main window: keeps the data-file argument, claims the single instance
// (a second launch hands its file to the first instance, or shows the "can't be run" message when
// that one has no window yet), registers the data-file type and reads the settings.
ProcessStart EnterProcess(CAppData& app, SingleInstance& instance, const QStringList& arguments,
                          const QString& executablePath,
                          std::chrono::milliseconds forwardTimeout = kForwardTimeout);

// Makes a language current (the Language menu): refills the UI text table and records the choice
// in the settings.
LanguageState ApplyChosenLanguage(CAppData& app, const QString& language);

} // namespace vantor
