#include "device/SyncSession.h"

#include "store/SyncState.h"
#include "texts/UiText.h"

namespace vantor {

SyncSession::SyncSession(bool fromMeter, ManualResetEvent& abortEvent, ManualResetEvent& doneEvent)
    : fromMeter_(fromMeter), abort_(abortEvent), done_(doneEvent), abortButtonText_(UiText(text::Abort)) {}

SyncSession::~SyncSession() {
    if (holdsInProgress_) {
        SyncInProgress() = 0;
    }
}

void SyncSession::Open() {
    SyncInProgress() = 1;
    holdsInProgress_ = true;
    abortButtonText_ = UiText(text::Abort);
    stopRequested_ = false;
    // Set until a worker starts, so that a dialog stopped before then closes at once.
    done_.Set();
    abort_.Reset();
}

QString SyncSession::Title() const {
    return fromMeter_ ? UiText(text::FromMeter) + QChar(0x2191) + QStringLiteral("...")
                      : UiText(text::ToMeter) + QChar(0x2193) + QStringLiteral("...");
}

QString SyncSession::InitialProgress() {
    return UiText(text::CheckingForDevice) + QStringLiteral("...");
}

void SyncSession::RequestStop(bool abortClicked) {
    abort_.Set();
    if (abortClicked && !stopRequested_) {
        abortButtonText_ = UiText(text::Aborting);
    }
    stopRequested_ = true;
}

bool SyncSession::PollClose() {
    if (!done_.IsSet()) {
        return false;
    }
    if (holdsInProgress_) {
        SyncInProgress() = 0;
        holdsInProgress_ = false;
    }
    return true;
}

} // namespace vantor
