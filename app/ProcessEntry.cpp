#include "app/ProcessEntry.h"

#include "app/CommandLine.h"
#include "app/FileTypeRegistration.h"
#include "platform/Prompter.h"

#include <QFileInfo>

namespace vantor {

QString ExecutableBaseName(const QString& executablePath) {
#ifdef Q_OS_WIN
    return QFileInfo(executablePath).completeBaseName();
#else
    return QFileInfo(executablePath).fileName(); // "Corvane (Lube)" has no extension to strip
#endif
}

ProcessStart EnterProcess(CAppData& app, SingleInstance& instance, const QStringList& arguments,
                          const QString& executablePath, std::chrono::milliseconds forwardTimeout) {
    ProcessStart start;
    start.dataFile = KeptDataFileArgument(arguments, app.dataFileExtension);
    if (!instance.Claim()) {
        if (!SingleInstance::Forward(app.edition.singleInstanceName, start.dataFile, forwardTimeout)) {
            app.UserPrompter().ShowMessage(
                QLatin1String(kAnotherInstanceRunningMessage).arg(app.edition.title));
        }
        return start;
    }
    RegisterDataFileType(app.edition, executablePath, app.dataFileExtension);
    app.ReadSettings();
    start.run = true;
    return start;
}

LanguageState ApplyChosenLanguage(CAppData& app, const QString& language) {
    LanguagePacks packs(app.folders.languageFolder, app.UserPrompter());
    LanguageState state = packs.ApplyLanguage(language, app.edition.title);
    app.settings.language = state.current;
    return state;
}

} // namespace vantor
