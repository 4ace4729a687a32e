#include "device/SyncEvents.h"

namespace vantor {

ManualResetEvent& SyncAbortEvent() {
    static ManualResetEvent event;
    return event;
}

ManualResetEvent& SyncDoneEvent() {
    static ManualResetEvent event;
    return event;
}

} // namespace vantor
