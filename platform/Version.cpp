#include "platform/Version.h"

#include <QDate>
#include <QLocale>

#ifndef VANTOR_VERSION
#error "VANTOR_VERSION is set by the build from the project's version"
#endif

namespace vantor {

QString ProgramVersion() {
    return QStringLiteral(VANTOR_VERSION);
}

QString ProgramBuildDate() {
    // __DATE__ is "Mmm dd yyyy" in the C locale.
    const QString text = QString::fromLatin1(__DATE__).simplified();
    const QDate date = QLocale::c().toDate(text, QStringLiteral("MMM d yyyy"));
    return date.isValid() ? date.toString(Qt::ISODate) : text;
}

} // namespace vantor
