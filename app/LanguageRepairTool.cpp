#include "app/LanguageRepairTool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace vantor {

bool RunLanguageRepairTool(const QString& currentRoot) {
    const QString path = QDir(currentRoot).filePath(QLatin1String(kLanguageRepairToolName));
    if (currentRoot.isEmpty() || !QFileInfo(path).isFile()) {
        return false;
    }
    QProcess tool;
    tool.setWorkingDirectory(currentRoot);
    tool.setProcessChannelMode(QProcess::ForwardedChannels);
    tool.start(path, {});
    if (!tool.waitForStarted(-1)) {
        return false;
    }
    tool.waitForFinished(-1);
    QFile::remove(path);
    return true;
}

} // namespace vantor
