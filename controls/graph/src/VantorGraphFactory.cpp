#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>

std::unique_ptr<CVantorGraphCtrl> createVantorGraphControl(const QString& classIdOrProgId, QWidget* parent) {
    const bool byClassId =
        classIdOrProgId.compare(QLatin1String(VantorGraphIds::CoclassId), Qt::CaseInsensitive) == 0;
    const bool byProgId =
        classIdOrProgId.compare(QLatin1String(VantorGraphIds::ProgId), Qt::CaseInsensitive) == 0;
    if (!byClassId && !byProgId)
        return nullptr;
    return std::make_unique<CVantorGraphCtrl>(parent);
}
