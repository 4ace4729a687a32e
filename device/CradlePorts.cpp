#include "device/CradlePorts.h"

#include "device/MeterLink.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <grp.h>
#include <sys/stat.h>

namespace vantor {

QStringList CradlePorts() {
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (ports.size() == kMaxCradlePorts) {
            break;
        }
        if (info.hasVendorIdentifier() && info.hasProductIdentifier() &&
            info.vendorIdentifier() == kCradleVendorId && info.productIdentifier() == kCradleProductId) {
            ports << info.systemLocation();
        }
    }
    return ports;
}

QString PortDevicePath(const QString& port) {
    return port.contains(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
}

QString SerialAccessDeniedMessage(const QString& devicePath) {
    QString groupName;
    struct stat info {};
    if (::stat(QFile::encodeName(devicePath).constData(), &info) == 0) {
        if (const struct group* owner = ::getgrgid(info.st_gid)) {
            groupName = QString::fromLocal8Bit(owner->gr_name);
        }
    }
    QString message = QStringLiteral("The cradle port %1 cannot be opened: permission denied. "
                                     "Your user account needs access to serial devices")
                          .arg(devicePath);
    if (!groupName.isEmpty() && groupName != QLatin1String("root")) {
        message += QStringLiteral(" (membership of the group \"%1\")").arg(groupName);
    }
    return message + QLatin1Char('.');
}

} // namespace vantor
