#include "cli/CatalogueLookup.h"

#include "cli/ConsoleOutput.h"

namespace vantor::cli {
namespace {

template <class R> QString FindIn(const std::vector<R>& rows, const QString& key) {
    QString byName;
    int named = 0;
    for (const R& row : rows) {
        if (row.sItemGUID.compare(key, Qt::CaseInsensitive) == 0) {
            return row.sItemGUID;
        }
        if (row.sName == key) {
            byName = row.sItemGUID;
            ++named;
        }
    }
    return named == 1 ? byName : QString();
}

} // namespace

QString FindMachineGuid(CMainConnection& db, const QString& key) {
    return key.isEmpty() ? QString() : FindIn(db.ListMachines(), key);
}

QString FindRouteByKey(CMainConnection& db, const QString& key) {
    return key.isEmpty() ? QString() : FindIn(db.ListRoutes(), key);
}

void PrintGuid(const QString& guid, std::FILE* out) {
    PrintLine(out, guid);
}

} // namespace vantor::cli
