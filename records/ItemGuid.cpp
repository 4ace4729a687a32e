#include "records/Records.h"

#include <QUuid>

namespace vantor {

QString MakeItemGuid() {
    return QStringLiteral("{%1}").arg(QUuid::createUuid().toString(QUuid::WithoutBraces).toLower());
}

} // namespace vantor
