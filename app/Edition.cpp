#include "app/Edition.h"

#ifndef VANTOR_BRAND
#define VANTOR_BRAND 2
#endif
#ifndef VANTOR_KIND
#define VANTOR_KIND 0
#endif

namespace vantor {

Edition Edition::For(int brand, int kind) {
    Edition e;
    e.brand = brand == 1 ? 1 : 2;
    e.kind = kind == 1 ? 1 : 0;
    const bool first = e.brand == 1;
    e.productName = first ? QStringLiteral("Vantor") : QStringLiteral("Corvane");
    e.title = e.kind == 0 ? e.productName : e.productName + QStringLiteral(" (Lube)");
    e.companyName = first ? QStringLiteral("Halvard Ltd") : QStringLiteral("Norhall Instruments");
    e.profileName = QStringLiteral("VantorV1");
    e.singleInstanceName = e.productName + QStringLiteral("123456789");
    e.fileTypeClass = e.productName + QStringLiteral("DataFile");
    e.fileTypeDescription = e.productName + QStringLiteral(" DataFile");
    e.shellVerb = QStringLiteral("&Import %1 DataFile").arg(e.productName);
    return e;
}

Edition Edition::Built() {
    return For(VANTOR_BRAND, VANTOR_KIND);
}

} // namespace vantor
