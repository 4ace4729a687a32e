// The desktop program. Its executable carries the edition title as its name, which start-up checks.
#include "app/CAppData.h"
#include "app/ProcessEntry.h"
#include "app/SingleInstance.h"
#include "ui/window/MainWindow.h"
#include "ui/common/QtPrompter.h"

#include <QApplication>

using namespace vantor;

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    const Edition edition = Edition::Built();
    QtPrompter prompter(edition.title);
    CAppData app(prompter, edition);
    QApplication::setApplicationName(edition.title);
    QApplication::setOrganizationName(edition.companyName);

    SingleInstance instance(edition.singleInstanceName);
    const QString executable = QApplication::applicationFilePath();
    const ProcessStart start = EnterProcess(app, instance, QApplication::arguments(), executable);
    if (!start.run) {
        return 0;
    }

    MainWindow window(app);
    prompter.SetParentWindow(&window);
    window.SetPendingDataFile(start.dataFile);
    if (!window.Initialise(ExecutableBaseName(executable))) {
        app.WriteSettings();
        return 0;
    }
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &window, &MainWindow::BringToFront);
    QObject::connect(&instance, &SingleInstance::DataFileReceived, &window, &MainWindow::ReceiveDataFile);
    instance.SetWindowReady(true);
    window.show();
    return QApplication::exec();
}
