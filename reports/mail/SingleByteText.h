#pragma once
// Text for files read by programs that expect the Windows "ANSI" code page: Windows-1252, one byte
// per character, no byte-order mark.

#include <QByteArray>
#include <QStringView>

namespace vantor {

// Encodes text in Windows-1252, the inverse of DecodeWindows1252; a character the code page cannot
// hold becomes '?'.
QByteArray EncodeWindows1252(QStringView text);

} // namespace vantor
