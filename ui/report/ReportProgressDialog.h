#pragma once
// The "Please Wait" dialog of the report: its caption gains a dot every 300 ms (none to six, then
// again), the text "Please wait, Creating Report!", a progress bar and Cancel. It starts the report
// worker when it opens and closes when the worker has finished; Cancel, Escape and the close box
// only ask the worker to stop, so the document built so far is still written.

#include "graphviews/ReportCharts.h"
#include "reports/document/ReportWorker.h"

#include <QDialog>
#include <QTimer>

#include <chrono>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vantor {

inline constexpr std::chrono::milliseconds kPleaseWaitDotsInterval{300};
inline constexpr int kPleaseWaitMostDots = 6;

class CReportProgressDialog : public QDialog {
    Q_OBJECT
public:
    CReportProgressDialog(ReportJob job, QWidget* parent = nullptr,
                          std::chrono::milliseconds dotsInterval = kPleaseWaitDotsInterval);
    ~CReportProgressDialog() override;

    const ReportOutcome& Outcome() const { return worker_.Outcome(); }
    QProgressBar* Bar() const { return bar_; }
    QPushButton* CancelButton() const { return cancel_; }
    // The caption for a dot count: "Please Wait" and that many dots.
    static QString CaptionWithDots(int dots);

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void StopRequest();

    GraphChartPainter charts_;
    ReportWorker worker_;
    QLabel* text_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    QTimer dots_;
    int dotCount_ = 0;
    bool finished_ = false;
};

} // namespace vantor
