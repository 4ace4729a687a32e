#include "store/SyncState.h"

namespace vantor {

std::atomic<int>& SyncInProgress() {
    static std::atomic<int> flag{0};
    return flag;
}

} // namespace vantor
