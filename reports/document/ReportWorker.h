#pragma once
// The report worker: on its own thread, with its own database connection, it builds the document
// and writes it as ODT or PDF (by the file's suffix). It talks to whoever shows its progress only
// through queued signals and reads the cancel request from a stop event. After a cancel the file
// holds what was built so far; after a failure no file is left behind.

#include "platform/ManualResetEvent.h"
#include "reports/document/ReportBuilder.h"
#include "reports/document/ReportChart.h"
#include "reports/document/ReportOptions.h"
#include "store/StoreContext.h"

#include <QObject>
#include <QString>

#include <thread>

namespace vantor {

enum class ReportFormat { Odt, Pdf };
// The format named by a file's suffix (.odt or .pdf, any case); none for another.
std::optional<ReportFormat> ReportFormatOf(const QString& path);
// Writes a built document in the given format (no partial file on failure).
bool WriteReportFile(const ReportDocument& document, ReportFormat format, const QString& path,
                     QString* error);

struct ReportJob {
    ReportOptions options;
    ReportLook look;
    StoreContext store;
    QString outputPath;
};

struct ReportOutcome {
    enum class Result { Written, Cancelled, Failed };
    Result result = Result::Failed;
    QString message; // why it failed
    int charts = 0;
};

class ReportWorker : public QObject {
    Q_OBJECT
public:
    // `charts` paints every chart; it must outlive the worker.
    ReportWorker(ReportJob job, ChartPainter& charts, QObject* parent = nullptr);
    // Sets the stop event and waits for the thread. Whoever owns the worker lets it finish first
    // when the chart painter needs the owner's thread.
    ~ReportWorker() override;

    void Start();
    // The Cancel button: building stops before the next point.
    void RequestStop() { stop_.Set(); }
    bool StopRequested() const { return stop_.IsSet(); }
    // Valid once Finished has been emitted.
    const ReportOutcome& Outcome() const { return outcome_; }

signals:
    void ProgressRange(int maximum);
    void ProgressPosition(int position);
    void Finished();

private:
    void Run();

    ReportJob job_;
    ChartPainter& charts_;
    ManualResetEvent stop_;
    ReportOutcome outcome_;
    std::thread thread_;
};

} // namespace vantor
