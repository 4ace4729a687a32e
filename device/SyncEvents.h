#pragma once
// The process-wide events of the synchronisation run: the dialog sets the abort event to stop the
// worker; the worker sets the done event when it has ended. Both are manual-reset and start unset.

#include "platform/ManualResetEvent.h"

namespace vantor {

ManualResetEvent& SyncAbortEvent();
ManualResetEvent& SyncDoneEvent();

} // namespace vantor
