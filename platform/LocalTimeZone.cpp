#include "platform/LocalTimeZone.h"

#include <QFileInfo>
#include <QtGlobal>

#include <ctime>

namespace vantor {

void PinLocalTimeZone() {
    // glibc's default zone file; the leading colon names a file rather than a POSIX rule.
    static constexpr char kSystemZoneFile[] = "/etc/localtime";
    if (qEnvironmentVariableIsSet("TZ") || !QFileInfo::exists(QLatin1String(kSystemZoneFile))) {
        return;
    }
    qputenv("TZ", QByteArray(":") + kSystemZoneFile);
    tzset();
}

} // namespace vantor
