#include "reports/mail/ExceptionList.h"

#include <algorithm>

namespace vantor {

void ExceptionList::Clear() {
    const std::lock_guard lock(mutex_);
    groups_.clear();
}

void ExceptionList::Add(const QString& machineGuid, const QString& machineName, const QString& recipients,
                        PointException point) {
    const std::lock_guard lock(mutex_);
    auto group = std::find_if(groups_.begin(), groups_.end(), [&machineGuid](const MachineExceptions& g) {
        return g.machineGuid == machineGuid;
    });
    if (group == groups_.end()) {
        group = groups_.insert(groups_.end(), MachineExceptions{});
    }
    group->machineGuid = machineGuid;
    group->machineName = machineName;
    group->recipients = recipients;
    group->points.push_back(std::move(point));
}

std::vector<MachineExceptions> ExceptionList::Groups() const {
    const std::lock_guard lock(mutex_);
    return groups_;
}

bool ExceptionList::Empty() const {
    const std::lock_guard lock(mutex_);
    return groups_.empty();
}

ExceptionList& ProcessExceptionList() {
    static ExceptionList list;
    return list;
}

} // namespace vantor
