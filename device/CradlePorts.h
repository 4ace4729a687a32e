#pragma once
// Where the meter's cradle is: the serial ports of its USB-to-serial bridge, or the port the user
// named.

#include <QString>
#include <QStringList>

namespace vantor {

inline constexpr quint16 kCradleVendorId = 0x0451;
inline constexpr quint16 kCradleProductId = 0x3410;

// Device paths of every serial port whose USB vendor and product are the cradle's, in the order
// the system lists them, at most kMaxCradlePorts.
QStringList CradlePorts();

// The device path of a port the user named: a path as given, a bare name under /dev.
QString PortDevicePath(const QString& port);

// Explains that `devicePath` exists but this account may not open it.
QString SerialAccessDeniedMessage(const QString& devicePath);

} // namespace vantor
