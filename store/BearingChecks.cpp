#include "store/BearingChecks.h"

#include "store/Validation.h"

#include <QLocale>

#include <cmath>
#include <numbers>

namespace vantor {

std::optional<QString> CheckBearing(const CBearing& bearing) {
    if (bearing.sDesignation.trimmed().isEmpty()) {
        return QStringLiteral("a bearing needs its designation");
    }
    if (bearing.sDesignation.size() > kBearingTextLimit || bearing.sMaker.size() > kBearingTextLimit) {
        return QStringLiteral("Designation and maker: at most %1 characters").arg(kBearingTextLimit);
    }
    // A control character would break the library's listing and spreadsheet, and a terminal's
    // escape sequence would pass through to whoever lists it.
    if (HasControlCharacter(bearing.sDesignation) || HasControlCharacter(bearing.sMaker) ||
        HasControlCharacter(bearing.sSource)) {
        return QStringLiteral("Designation, maker and source cannot contain line breaks, tabs or other "
                              "control characters");
    }
    return CheckBearingNumbers(bearing);
}

std::optional<QString> CheckPointBearing(const CPointBearing& assignment) {
    const QString location = assignment.sLocation.trimmed();
    if (location.isEmpty() || location.size() > kBearingTextLimit) {
        return QStringLiteral("A bearing's location needs 1 to %1 characters").arg(kBearingTextLimit);
    }
    if (HasControlCharacter(location)) {
        return QStringLiteral("A bearing's location cannot contain line breaks, tabs or other control "
                              "characters");
    }
    if (!std::isfinite(assignment.fSpeedRatio) || !(assignment.fSpeedRatio > 0) ||
        assignment.fSpeedRatio > kMostSpeedRatio) {
        return QStringLiteral("The speed ratio must be above 0 and at most %1").arg(kMostSpeedRatio);
    }
    return std::nullopt;
}

} // namespace vantor
