#include "app/SeverityStandards.h"

#include "analysis/BaselineAlarms.h"
#include "app/Log.h"
#include "loaders/PointSeverityStore.h"
#include "platform/Prompter.h"
#include "store/MainConnection.h"
#include "texts/UiText.h"

namespace vantor {

std::optional<PointStandard> LoadSeverityStandard(CMainConnection& db, Prompter& prompter,
                                                  const QString& pointGuid) {
    if (pointGuid.isEmpty()) {
        return PointStandard{};
    }
    try {
        return LoadPointStandard(db, pointGuid);
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "loading the severity standard of point" << pointGuid
                         << "failed:" << error.what();
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return std::nullopt;
    }
}

bool SaveSeverityStandard(CMainConnection& db, Prompter& prompter, const QString& pointGuid,
                          const PointStandard& standard) {
    try {
        StorePointStandard(db, pointGuid, standard);
        return true;
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "storing the severity standard of point" << pointGuid
                         << "failed:" << error.what();
        prompter.ShowMessage(UiText(text::ErrorSavingRecord));
        return false;
    }
}

std::optional<AlarmSuggestion> SuggestSeverityLevels(CMainConnection& db, Prompter& prompter,
                                                     const CVib& point, int group, Support support) {
    try {
        const PointSuggestion result =
            SuggestPointAlarms(db, point, group, support, BaselineDefaults::kReadings);
        if (!result.outcome.suggestion) {
            prompter.ShowMessage(result.outcome.refusal);
        }
        return result.outcome.suggestion;
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "reading the baseline of point" << point.sItemGUID << "failed:" << error.what();
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return std::nullopt;
    }
}

QString SeverityZoneLine(const PointZone& zone) {
    return UiText(text::added::SeverityZoneLine).arg(PointStandardText(zone.standard), zone.text);
}

} // namespace vantor
