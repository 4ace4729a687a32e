#pragma once
// Process-wide flag set while a synchronisation run talks to the meter; the data-file import and
// export refuse to start while it is 1.

#include <atomic>

namespace vantor {

std::atomic<int>& SyncInProgress();

} // namespace vantor
