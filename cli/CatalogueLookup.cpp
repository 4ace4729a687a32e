#include "cli/CatalogueLookup.h"

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
    const QByteArray line = guid.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out);
    std::fflush(out);
}

} // namespace vantor::cli
