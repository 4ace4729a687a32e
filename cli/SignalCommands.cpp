// export-signal, import-signal.
#include "cli/SignalCommands.h"
#include "cli/ConsoleOutput.h"

#include "analysis/AlarmStatus.h"
#include "analysis/SignalProcessor.h"
#include "app/SignalTransfer.h"
#include "app/Startup.h"
#include "cli/ExitCode.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <optional>
#include <string>

namespace vantor::cli {
namespace {

constexpr const char* kDateTimeFormat = "yyyy-MM-dd HH:mm:ss";

struct ExportOptions {
    std::string reading;
    std::string format;
    std::string out;
    std::string channel;
    std::string precision = "double";
    bool spectra = false;
};

struct ImportOptions {
    std::string point;
    std::string file;
    std::string format;
    std::string date;
    std::string channel = "total";
    std::string unit;
    double fs = 0;
    double runSpeed = -1;
    int record = 0;
    bool json = false;
};

int RunExport(CAppData& app, const ExportOptions& options) {
    const bool wav = options.format == "wav";
    // A WAV file holds one channel's waveform: Total unless another is asked for.
    const std::string channel = options.channel.empty() ? (wav ? "total" : "both") : options.channel;
    if (wav && channel == "both") {
        PrintLine(stderr, QStringLiteral("a WAV file holds one channel: choose --channel total or iso"));
        return kUsage;
    }
    if (wav && options.spectra) {
        PrintLine(stderr, QStringLiteral("--spectra goes with the UFF formats only"));
        return kUsage;
    }
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    SignalExportRequest request;
    request.readingGuid = QString::fromStdString(options.reading);
    request.path = QString::fromStdString(options.out);
    request.format = wav                             ? SignalFileFormat::Wav
                     : options.format == "uff58"     ? SignalFileFormat::Uff58
                     : options.precision == "single" ? SignalFileFormat::Uff58bSingle
                                                     : SignalFileFormat::Uff58b;
    request.total = channel != "iso";
    request.iso = channel != "total";
    request.spectra = options.spectra;
    SignalProcessor processor;
    const SignalExportOutcome outcome = ExportReadingSignals(app, processor, request);
    if (!outcome.ok) {
        PrintLine(stderr, outcome.error);
        return kFailed;
    }
    return kDone;
}

QJsonValue Value(float value) {
    return IsNoValue(value) ? QJsonValue() : QJsonValue(static_cast<double>(value));
}

int RunImport(CAppData& app, const ImportOptions& options) {
    SignalImportRequest request;
    request.pointGuid = QString::fromStdString(options.point);
    request.path = QString::fromStdString(options.file);
    if (!options.format.empty()) {
        request.format = options.format == "wav"   ? WaveformFormat::Wav
                         : options.format == "csv" ? WaveformFormat::Csv
                                                   : WaveformFormat::Uff;
    }
    if (!options.date.empty()) {
        request.taken =
            QDateTime::fromString(QString::fromStdString(options.date), QLatin1String(kDateTimeFormat));
        if (!request.taken.isValid()) {
            PrintLine(stderr, QStringLiteral("--date: \"%1\" is not a date-time \"YYYY-MM-DD HH:MM:SS\"")
                                  .arg(QString::fromStdString(options.date)));
            return kUsage;
        }
    }
    request.choice.channel = options.channel == "iso" ? Channel::Iso : Channel::Total;
    if (!options.unit.empty()) {
        request.choice.unit = SignalUnitFromText(QString::fromStdString(options.unit));
    }
    request.choice.samplingFrequencyHz = options.fs;
    request.choice.source = options.record;
    if (options.runSpeed >= 0) {
        request.runSpeedHz = options.runSpeed;
    }
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    SignalProcessor processor;
    const SignalImportOutcome outcome = ImportReadingSignals(app, processor, request);
    if (!outcome.ok) {
        PrintLine(stderr, outcome.error);
        return kFailed;
    }
    const CVibReading& r = outcome.reading;
    const bool cut = outcome.samplesUsed != outcome.samplesInFile;
    const QString channel =
        request.choice.channel == Channel::Total ? QStringLiteral("total") : QStringLiteral("iso");
    if (options.json) {
        QJsonObject values{{QStringLiteral("iso"), Value(r.fISOMMS)},
                           {QStringLiteral("bdu"), Value(r.fBearingBDU)},
                           {QStringLiteral("total"), Value(r.fTotalG)},
                           {QStringLiteral("displacement"), Value(r.fDisplacementMicrons)},
                           {QStringLiteral("band1"), Value(r.fVABand1MMS)},
                           {QStringLiteral("band2"), Value(r.fVABand2MMS)},
                           {QStringLiteral("band3"), Value(r.fVABand3MMS)}};
        QJsonObject json{{QStringLiteral("reading"), r.sItemGUID},
                         {QStringLiteral("point"), r.sParentGUID},
                         {QStringLiteral("date"), r.ctDateTaken.toString(QLatin1String(kDateTimeFormat))},
                         {QStringLiteral("channel"), channel},
                         {QStringLiteral("unit"), SignalUnitText(outcome.unit)},
                         {QStringLiteral("samplingFrequencyHz"), outcome.samplingFrequencyHz},
                         {QStringLiteral("samplesInFile"), static_cast<qint64>(outcome.samplesInFile)},
                         {QStringLiteral("samplesUsed"), static_cast<qint64>(outcome.samplesUsed)},
                         {QStringLiteral("cut"), cut},
                         {QStringLiteral("runSpeedHz"), static_cast<double>(r.fCurrentRunSpeedHz)},
                         {QStringLiteral("values"), values}};
        if (!outcome.note.isEmpty()) {
            json.insert(QStringLiteral("note"), outcome.note);
        }
        PrintJsonLine(stdout, json);
        return kDone;
    }
    PrintBytes(stdout, (r.sItemGUID + QLatin1Char('\n')).toUtf8());
    PrintLine(stderr,
              QStringLiteral("Imported %1 samples at %2 Hz (%3) as the %4 channel of a reading taken %5")
                  .arg(outcome.samplesUsed)
                  .arg(outcome.samplingFrequencyHz, 0, 'g', 10)
                  .arg(SignalUnitText(outcome.unit),
                       channel == QLatin1String("total") ? QStringLiteral("Total") : QStringLiteral("ISO"),
                       r.ctDateTaken.toString(QLatin1String(kDateTimeFormat))));
    if (!outcome.note.isEmpty()) {
        PrintLine(stderr, QStringLiteral("The %1").arg(outcome.note));
    }
    if (cut) {
        PrintLine(stderr,
                  QStringLiteral(
                      "The file's %1 samples were cut to %2, the largest power of two the spectrum takes")
                      .arg(outcome.samplesInFile)
                      .arg(outcome.samplesUsed));
    }
    return kDone;
}

} // namespace

void AddSignalCommands(CLI::App& cli, CommandContext& context) {
    auto exportOptions = std::make_shared<ExportOptions>();
    auto* exporter = cli.add_subcommand("export-signal", "Write a reading's waveforms as UFF 58/58b or WAV");
    exporter->add_option("reading", exportOptions->reading, "The reading's GUID")->required();
    exporter->add_option("--format", exportOptions->format, "uff58 (ASCII), uff58b (binary) or wav")
        ->required()
        ->check(CLI::IsMember({"uff58", "uff58b", "wav"}));
    exporter->add_option("--out", exportOptions->out, "The file to write")->required();
    exporter
        ->add_option("--channel", exportOptions->channel, "total, iso or both (UFF default both, WAV total)")
        ->check(CLI::IsMember({"total", "iso", "both"}));
    exporter->add_flag("--spectra", exportOptions->spectra, "UFF: the spectra too, in their display units");
    exporter->add_option("--precision", exportOptions->precision, "uff58b: double (default) or single")
        ->check(CLI::IsMember({"double", "single"}));
    exporter->callback(
        [&context, exportOptions] { context.status = RunExport(context.App(), *exportOptions); });

    auto importOptions = std::make_shared<ImportOptions>();
    auto* importer =
        cli.add_subcommand("import-signal", "Store a waveform from a UFF, WAV or CSV file as a reading");
    importer->add_option("point", importOptions->point, "The vibration point's GUID")->required();
    importer->add_option("file", importOptions->file, "The file (.uff/.unv, .wav, .csv/.txt)")->required();
    importer->add_option("--format", importOptions->format, "uff58, wav or csv (default: by the file name)")
        ->check(CLI::IsMember({"uff58", "uff58b", "wav", "csv"}));
    importer->add_option("--date", importOptions->date,
                         "When it was taken, \"YYYY-MM-DD HH:MM:SS\" (default: the file's)");
    importer
        ->add_option("--channel", importOptions->channel, "total (acceleration, default) or iso (velocity)")
        ->check(CLI::IsMember({"total", "iso"}));
    importer->add_option("--unit", importOptions->unit, "g, mm/s or inch/s (default: the file's, CSV g)")
        ->check(CLI::IsMember({"g", "mm/s", "inch/s"}));
    importer->add_option("--fs", importOptions->fs, "Sampling frequency in Hz (one-column CSV)")
        ->check(CLI::PositiveNumber);
    importer
        ->add_option("--run-speed", importOptions->runSpeed,
                     "Run speed in Hz (default: the file's, else the point's)")
        ->check(CLI::NonNegativeNumber);
    importer
        ->add_option("--record", importOptions->record, "The UFF record or WAV channel to import (1-based)")
        ->check(CLI::PositiveNumber);
    importer->add_flag("--json", importOptions->json, "Print one JSON object");
    importer->callback(
        [&context, importOptions] { context.status = RunImport(context.App(), *importOptions); });
}

} // namespace vantor::cli
