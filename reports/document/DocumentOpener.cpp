#include "reports/document/DocumentOpener.h"

#include "reports/Log.h"

#include <QProcess>

namespace vantor {

QString DocumentOpenerProgram() {
    const QString chosen = qEnvironmentVariable(kOpenCommandVariable);
    return chosen.isEmpty() ? QString::fromLatin1(kDefaultOpenCommand) : chosen;
}

bool OpenDocument(const QString& path) {
    const QString program = DocumentOpenerProgram();
    if (!QProcess::startDetached(program, {path})) {
        qCWarning(lcReports) << "cannot start" << program << "on" << path;
        return false;
    }
    return true;
}

} // namespace vantor
