#pragma once
// The synchronisation dialog: an animation, the worker's progress text and an Abort button. It
// starts the worker after the start delay (timer 163), turns Abort, Escape, the frame's close box
// and the worker's end into a stop request, and closes only once the worker has ended, looking for
// that every close-poll period (timer 162).

#include "device/SyncSession.h"
#include "device/SyncWorker.h"
#include "ui/common/GuiThreadPrompter.h"

#include <QDialog>
#include <QTimer>

#include <memory>

class CVantorLabelCtrl;
class QProgressBar;
class QPushButton;

namespace vantor {

struct SyncDialogTimings {
    std::chrono::milliseconds startDelay = kSyncStartDelay; // timer 163
    std::chrono::milliseconds closePoll = kSyncClosePoll;   // timer 162
};

class CSyncDialog : public QDialog {
    Q_OBJECT
public:
    // `prompter` answers the worker's messages and questions on the user-interface thread.
    CSyncDialog(SyncSettings settings, Prompter& prompter, QWidget* parent = nullptr,
                SyncDialogTimings timings = {});
    ~CSyncDialog() override;

    QString ProgressText() const;
    // The bar: busy, or "n of m" while the readings are uploaded.
    QProgressBar* Bar() const { return animation_; }
    // Shows a progress text of the worker; a reading's upload also moves the bar.
    void ShowProgress(const QString& text);
    // Moves the bar to "n of m" (the route download's items sent).
    void ShowStep(int step, int steps);
    QPushButton* AbortButton() const { return abort_; }
    bool WorkerStarted() const { return worker_ != nullptr; }
    // The run's outcome once the dialog has closed after a started worker.
    const SyncOutcome* Outcome() const { return worker_ ? &worker_->Outcome() : nullptr; }

    // Escape: a stop request, not a close.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void StartWorker();
    void StopRequest(bool abortClicked);
    void PollClose();

    SyncSettings settings_;
    GuiThreadPrompter prompter_;
    SyncDialogTimings timings_;
    SyncSession session_;
    CVantorLabelCtrl* progress_; // the progress text, owned by the dialog
    QProgressBar* animation_;
    QPushButton* abort_;
    QTimer startTimer_;
    QTimer closeTimer_;
    std::unique_ptr<SyncWorker> worker_;
};

} // namespace vantor
