// The desktop program. Its executable carries the edition title as its name, which start-up checks.
#include "app/CAppData.h"
#include "app/ProcessEntry.h"
#include "app/SingleInstance.h"
#include "platform/LocalTimeZone.h"
#include "ui/common/DesktopApplication.h"
#include "ui/common/QtPrompter.h"
#include "ui/window/MainWindow.h"

#include <QTimer>
#include <QTreeView>

using namespace vantor;

int main(int argc, char** argv) {
    PinLocalTimeZone();
    DesktopApplication qtApp(argc, argv);
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
    qtApp.SetFailurePrompter(&prompter);
    window.SetPendingDataFile(start.dataFile);
    if (!window.Initialise(ExecutableBaseName(executable))) {
        app.WriteSettings();
        return 0;
    }
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &window, &MainWindow::BringToFront);
    QObject::connect(&instance, &SingleInstance::DataFileReceived, &window, &MainWindow::ReceiveDataFile);
    instance.SetWindowReady(true);
    window.show();
    if (qEnvironmentVariableIsSet("VANTOR_EXIT_WHEN_SHOWN")) {
        // For the start-up benchmark: the tree painted once, then the program ends as if closed.
        QTimer::singleShot(0, &window, [&window] {
            window.MachineTree()->repaint();
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
