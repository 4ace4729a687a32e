#include "ui/report/ReportProgressDialog.h"

#include "reports/document/ReportTexts.h"
#include "texts/UiText.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

CReportProgressDialog::CReportProgressDialog(ReportJob job, QWidget* parent,
                                             std::chrono::milliseconds dotsInterval)
    : QDialog(parent), worker_(std::move(job), charts_),
      text_(new QLabel(UiText(text::CreatingReport), this)), bar_(new QProgressBar(this)),
      cancel_(new QPushButton(UiText(text::Cancel), this)) {
    setModal(true);
    setWindowTitle(CaptionWithDots(0));
    setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    layout->addWidget(bar_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);

    connect(cancel_, &QPushButton::clicked, this, &CReportProgressDialog::StopRequest);
    connect(&worker_, &ReportWorker::ProgressRange, this,
            [this](int maximum) { bar_->setRange(0, maximum); });
    connect(&worker_, &ReportWorker::ProgressPosition, this,
            [this](int position) { bar_->setValue(position); });
    connect(
        &worker_, &ReportWorker::Finished, this,
        [this] {
            finished_ = true;
            dots_.stop();
            accept();
        },
        Qt::QueuedConnection);
    dots_.setInterval(dotsInterval);
    connect(&dots_, &QTimer::timeout, this, [this] {
        dotCount_ = (dotCount_ + 1) % (kPleaseWaitMostDots + 1);
        setWindowTitle(CaptionWithDots(dotCount_));
    });
}

CReportProgressDialog::~CReportProgressDialog() = default;

QString CReportProgressDialog::CaptionWithDots(int dots) {
    return UiText(text::PleaseWait) + QString(std::clamp(dots, 0, kPleaseWaitMostDots), QLatin1Char('.'));
}

void CReportProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!dots_.isActive() && !finished_) {
        dots_.start();
        worker_.Start();
    }
}

void CReportProgressDialog::StopRequest() {
    worker_.RequestStop();
    cancel_->setEnabled(false);
}

void CReportProgressDialog::reject() {
    if (finished_) {
        QDialog::reject();
    } else {
        StopRequest();
    }
}

void CReportProgressDialog::closeEvent(QCloseEvent* event) {
    if (finished_) {
        QDialog::closeEvent(event);
        return;
    }
    StopRequest();
    event->ignore();
}

} // namespace vantor
