#include "ui/sync/SyncDialog.h"

#include "device/SyncEvents.h"
#include "texts/UiText.h"

#include <VantorLabel/VantorLabelCtrl.h>
#include <VantorLabel/VantorLabelFactory.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace vantor {
namespace {

// Room for the longest progress text on two lines.
constexpr int kProgressTextWidth = 320;
constexpr int kProgressTextHeight = 44;

} // namespace

CSyncDialog::CSyncDialog(SyncSettings settings, Prompter& prompter, QWidget* parent,
                         SyncDialogTimings timings)
    : QDialog(parent), settings_(std::move(settings)), prompter_(prompter), timings_(timings),
      session_(settings_.fromMeter),
      progress_(createVantorLabelControl(QString::fromLatin1(VantorLabelIds::ProgId), this).release()),
      abort_(new QPushButton(this)) {
    session_.Open();
    setWindowTitle(session_.Title());
    setModal(true);

    // Any short looping animation serves: a busy bar runs without end.
    animation_ = new QProgressBar(this);
    QProgressBar* animation = animation_;
    animation->setObjectName(QStringLiteral("Animation"));
    animation->setRange(0, 0);
    animation->setTextVisible(false);
    // The progress text is a label control: two lines at most, left and top aligned, on the
    // dialog's background.
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->resetToDefaults();
    progress_->setProperty("WordWrapOn", true);
    progress_->setProperty("HorizontalAlignment", static_cast<short>(CVantorLabelCtrl::Left));
    progress_->setProperty("VerticalAlignment", static_cast<short>(CVantorLabelCtrl::Top));
    progress_->setProperty("FontName", static_cast<short>(CVantorLabelCtrl::SystemFont));
    progress_->setProperty("Caption", SyncSession::InitialProgress());
    progress_->setMinimumSize(kProgressTextWidth, kProgressTextHeight);
    abort_->setObjectName(QStringLiteral("AbortButton"));
    abort_->setText(session_.AbortButtonText());
    abort_->setAutoDefault(false);
    connect(abort_, &QPushButton::clicked, this, [this] { StopRequest(true); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(animation);
    layout->addWidget(progress_);
    layout->addWidget(abort_, 0, Qt::AlignHCenter);

    startTimer_.setSingleShot(true);
    closeTimer_.setSingleShot(true);
    connect(&startTimer_, &QTimer::timeout, this, &CSyncDialog::StartWorker);
    connect(&closeTimer_, &QTimer::timeout, this, &CSyncDialog::PollClose);
    startTimer_.start(timings_.startDelay);
}

CSyncDialog::~CSyncDialog() {
    // The dialog only closes once the worker has ended; joining here covers a dialog destroyed
    // without running.
    if (worker_) {
        SyncAbortEvent().Set();
        // The worker may be waiting for an answer shown on this thread: keep answering until it ends.
        while (!SyncDoneEvent().Wait(timings_.closePoll)) {
            QCoreApplication::processEvents();
        }
        worker_->Join();
    }
}

QString CSyncDialog::ProgressText() const {
    return progress_->property("Caption").toString();
}

void CSyncDialog::StartWorker() {
    if (!session_.MayStartWorker() || worker_) {
        return;
    }
    worker_ = std::make_unique<SyncWorker>(settings_, prompter_, SyncAbortEvent(), SyncDoneEvent());
    // The callbacks run on the worker's thread: they post to the dialog, whose thread shows them.
    // A posted call whose receiver is gone is dropped.
    worker_->OnProgress([this](const QString& text) {
        QMetaObject::invokeMethod(
            this, [this, text] { ShowProgress(text); }, Qt::QueuedConnection);
    });
    worker_->OnStep([this](int step, int steps) {
        QMetaObject::invokeMethod(
            this, [this, step, steps] { ShowStep(step, steps); }, Qt::QueuedConnection);
    });
    worker_->OnFinished([this](const SyncOutcome&) {
        QMetaObject::invokeMethod(
            this, [this] { StopRequest(false); }, Qt::QueuedConnection);
    });
    worker_->Start();
}

void CSyncDialog::ShowProgress(const QString& text) {
    progress_->setProperty("Caption", text);
    // "Uploading Reading: 3 of 10" as the worker words it.
    const QRegularExpression upload(QStringLiteral("^%1: (\\d+) %2 (\\d+)$")
                                        .arg(QRegularExpression::escape(UiText(text::UploadingReading)),
                                             QRegularExpression::escape(UiText(text::Of))));
    const QRegularExpressionMatch match = upload.match(text);
    if (!match.hasMatch()) {
        animation_->setRange(0, 0);
        animation_->setTextVisible(false);
        return;
    }
    ShowStep(match.captured(1).toInt(), match.captured(2).toInt());
}

void CSyncDialog::ShowStep(int step, int steps) {
    animation_->setRange(0, steps);
    animation_->setValue(step);
    animation_->setFormat(UiText(text::added::StepOfSteps).arg(step).arg(steps));
    animation_->setTextVisible(true);
}

void CSyncDialog::StopRequest(bool abortClicked) {
    startTimer_.stop(); // a worker that has not started never starts
    session_.RequestStop(abortClicked);
    abort_->setEnabled(session_.AbortEnabled());
    abort_->setText(session_.AbortButtonText());
    if (!closeTimer_.isActive()) {
        closeTimer_.start(timings_.closePoll);
    }
}

void CSyncDialog::PollClose() {
    if (!session_.PollClose()) {
        closeTimer_.start(timings_.closePoll);
        return;
    }
    if (worker_) {
        worker_->Join();
    }
    done(QDialog::Accepted);
}

void CSyncDialog::reject() {
    StopRequest(false);
}

void CSyncDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    StopRequest(false);
}

} // namespace vantor
