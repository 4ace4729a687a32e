#include "reports/document/DocumentOpener.h"

#include "reports/Log.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>

namespace vantor {
namespace {

// How long xdg-mime may take to name the default application.
constexpr int kMimeQueryMilliseconds = 5000;

// The desktop entry of the default application for the file's type; empty when there is none or
// xdg-mime cannot tell.
QString DefaultApplicationFor(const QString& path) {
    const QString type = QFileInfo(path).isDir() ? QStringLiteral("inode/directory")
                                                 : QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(QString::fromLatin1(kMimeQueryCommand),
                {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(kMimeQueryMilliseconds) || query.exitStatus() != QProcess::NormalExit) {
        qCWarning(lcReports) << "cannot ask" << kMimeQueryCommand << "for the program of" << type;
        query.kill();
        query.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

} // namespace

QString DocumentOpenerProgram() {
    const QString chosen = qEnvironmentVariable(kOpenCommandVariable);
    return chosen.isEmpty() ? QString::fromLatin1(kDefaultOpenCommand) : chosen;
}

bool OpenDocument(const QString& path) {
    const QString program = DocumentOpenerProgram();
    if (!qEnvironmentVariableIsSet(kOpenCommandVariable) && DefaultApplicationFor(path).isEmpty()) {
        qCWarning(lcReports) << "no program opens" << path;
        return false;
    }
    if (!QProcess::startDetached(program, {path})) {
        qCWarning(lcReports) << "cannot start" << program << "on" << path;
        return false;
    }
    return true;
}

} // namespace vantor
