#include <VantorLabel/VantorLabelCtrl.h>
#include <VantorLabel/VantorLabelFactory.h>

std::unique_ptr<CVantorLabelCtrl> createVantorLabelControl(const QString& classIdOrProgId, QWidget* parent) {
    const bool byClassId =
        classIdOrProgId.compare(QLatin1String(VantorLabelIds::CoclassId), Qt::CaseInsensitive) == 0;
    const bool byProgId =
        classIdOrProgId.compare(QLatin1String(VantorLabelIds::ProgId), Qt::CaseInsensitive) == 0;
    if (!byClassId && !byProgId)
        return nullptr;
    return std::make_unique<CVantorLabelCtrl>(parent);
}
