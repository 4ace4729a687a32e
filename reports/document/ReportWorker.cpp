#include "reports/document/ReportWorker.h"

#include "reports/Log.h"
#include "reports/document/OdtWriter.h"
#include "reports/document/PdfWriter.h"
#include "store/MainConnection.h"
#include "store/SqlConnection.h"

#include <QFileInfo>

namespace vantor {

std::optional<ReportFormat> ReportFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("odt")) {
        return ReportFormat::Odt;
    }
    if (suffix == QLatin1String("pdf")) {
        return ReportFormat::Pdf;
    }
    return std::nullopt;
}

bool WriteReportFile(const ReportDocument& document, ReportFormat format, const QString& path,
                     QString* error) {
    return format == ReportFormat::Odt ? WriteOdt(document, path, error) : WritePdf(document, path, error);
}

ReportWorker::ReportWorker(ReportJob job, ChartPainter& charts, QObject* parent)
    : QObject(parent), job_(std::move(job)), charts_(charts) {}

ReportWorker::~ReportWorker() {
    stop_.Set();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ReportWorker::Start() {
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { Run(); });
    }
}

void ReportWorker::Run() {
    ReportOutcome outcome;
    const auto finish = [this, &outcome] {
        outcome_ = outcome;
        emit Finished();
    };
    const std::optional<ReportFormat> format = ReportFormatOf(job_.outputPath);
    if (!format) {
        outcome.message =
            QStringLiteral("The report must be an .odt or a .pdf file: %1").arg(job_.outputPath);
        finish();
        return;
    }
    try {
        CMainConnection db(job_.store);
        if (!db.Open()) {
            outcome.message =
                QStringLiteral("The database cannot be opened: %1").arg(job_.store.databaseFile);
            finish();
            return;
        }
        int position = 0;
        ReportProgress progress;
        progress.range = [this](int maximum) { emit ProgressRange(maximum); };
        progress.step = [this, &position] { emit ProgressPosition(++position); };
        const BuiltReport built = BuildReport(db, job_.options, job_.look, charts_, stop_, progress);
        db.Close();
        QString error;
        if (!WriteReportFile(built.document, *format, job_.outputPath, &error)) {
            outcome.message =
                QStringLiteral("The report cannot be written to %1: %2").arg(job_.outputPath, error);
            finish();
            return;
        }
        progress.step();
        outcome.charts = built.document.ImageCount();
        outcome.result = built.cancelled ? ReportOutcome::Result::Cancelled : ReportOutcome::Result::Written;
    } catch (const DatabaseError& error) {
        outcome.result = ReportOutcome::Result::Failed;
        outcome.message = QString::fromStdString(error.what());
    } catch (const std::exception& error) {
        outcome.result = ReportOutcome::Result::Failed;
        outcome.message = QString::fromLocal8Bit(error.what());
    }
    finish();
}

} // namespace vantor
