#include "archive/ArchiveDate.h"

#include <cmath>

namespace vantor {
namespace {

constexpr qint64 kMsecsPerDay = 24LL * 60 * 60 * 1000;
// Far beyond any date the system stores, yet well inside what QDate handles.
constexpr double kMaxAbsDays = 3.0e6;

QDate Epoch() {
    return QDate(1899, 12, 30);
}

} // namespace

ArchiveDate ArchiveDate::FromDateTime(const QDateTime& dateTime) {
    if (!dateTime.isValid()) {
        return {Invalid, 0.0};
    }
    const auto wholeDays = static_cast<double>(Epoch().daysTo(dateTime.date()));
    const double fraction = static_cast<double>(dateTime.time().msecsSinceStartOfDay()) / kMsecsPerDay;
    return {Valid, wholeDays >= 0 ? wholeDays + fraction : wholeDays - fraction};
}

QDateTime ArchiveDate::ToDateTime(Qt::TimeSpec spec) const {
    if (status != Valid || !std::isfinite(days) || std::fabs(days) > kMaxAbsDays) {
        return {};
    }
    auto wholeDays = static_cast<qint64>(std::trunc(days));
    auto msecs = std::llround(std::fabs(days - static_cast<double>(wholeDays)) * kMsecsPerDay);
    if (msecs >= kMsecsPerDay) {
        // Rounding reached midnight: the time of day always runs forwards, also before the epoch.
        msecs -= kMsecsPerDay;
        wholeDays += 1;
    }
    return QDateTime(Epoch().addDays(wholeDays), QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs)),
                     spec);
}

} // namespace vantor
