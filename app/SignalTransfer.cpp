#include "app/SignalTransfer.h"

#include "analysis/ReadingIndices.h"
#include "analysis/SignalProcessor.h"
#include "app/AlarmEvents.h"
#include "app/CAppData.h"
#include "app/Log.h"
#include "app/TypedSettings.h"
#include "app/ViewedReading.h"
#include "device/DateFixCheck.h"
#include "interchange/SignalExport.h"
#include "interchange/Uff58.h"
#include "interchange/WavFile.h"
#include "loaders/IndicesStore.h"
#include "store/ImportedReadings.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "store/SqlConnection.h"
#include "store/Validation.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vantor {
namespace {

// The row of a route or off-route reading with its names.
struct ReadingRow {
    VibReadingValues values;
    ReadingIdentity identity;
};

std::optional<ReadingRow> FindReading(CAppData& app, const QString& guid) {
    CMainConnection& db = *app.MainConnection();
    ReadingRow row;
    row.identity.readingGuid = guid;
    CVibReading route;
    if (db.GetVibReading(guid, route)) {
        row.values = route;
        CVib point;
        CMachine machine;
        if (db.GetVib(route.sParentGUID, point)) {
            row.identity.pointName = point.sName;
            if (db.GetMachine(point.sParentGUID, machine)) {
                row.identity.machineName = machine.sName;
            }
        }
    } else {
        auto sync = app.MakeSyncConnection();
        COffRouteReading offRoute;
        if (!sync->Open() || !sync->GetOffRouteReading(guid, offRoute)) {
            return std::nullopt;
        }
        row.values = offRoute;
    }
    row.identity.taken = row.values.ctDateTaken;
    row.identity.runSpeedHz = row.values.fCurrentRunSpeedHz;
    return row;
}

QString FormatName(WaveformFormat format) {
    switch (format) {
    case WaveformFormat::Uff:
        return QStringLiteral("uff58");
    case WaveformFormat::Wav:
        return QStringLiteral("wav");
    case WaveformFormat::Csv:
        return QStringLiteral("csv");
    }
    return {};
}

SignalExportOutcome ExportFailed(const QString& why) {
    qCWarning(lcApp) << "Signal export failed:" << why;
    SignalExportOutcome outcome;
    outcome.error = why;
    return outcome;
}

SignalImportOutcome ImportFailed(const QString& why) {
    qCWarning(lcApp) << "Signal import refused:" << why;
    SignalImportOutcome outcome;
    outcome.error = why;
    return outcome;
}

} // namespace

SignalExportOutcome ExportReadingSignals(CAppData& app, SignalProcessor& processor,
                                         const SignalExportRequest& request) {
    const std::optional<ReadingRow> row = FindReading(app, request.readingGuid);
    if (!row) {
        return ExportFailed(QStringLiteral("no reading %1").arg(request.readingGuid));
    }
    ReadingSignals decoded;
    if (!DecodeReading(row->values, processor, decoded)) {
        return ExportFailed(QStringLiteral("the reading %1 cannot be decoded").arg(request.readingGuid));
    }
    // Both channels asked for: those with a capture (a reading imported with one channel has one).
    SignalExportRequest chosen = request;
    if (request.format != SignalFileFormat::Wav && request.total && request.iso) {
        chosen.total = !decoded.total.waveform.empty();
        chosen.iso = !decoded.iso.waveform.empty();
    }
    const auto missing = [](bool wanted, const ChannelSignals& channel) {
        return wanted && channel.waveform.empty();
    };
    if (missing(chosen.total, decoded.total) || missing(chosen.iso, decoded.iso)) {
        return ExportFailed(
            QStringLiteral("the reading has no %1 capture")
                .arg(missing(chosen.total, decoded.total) ? QStringLiteral("Total") : QStringLiteral("ISO")));
    }

    SignalExportOutcome outcome;
    if (request.format == SignalFileFormat::Wav) {
        if (request.total == request.iso) {
            return ExportFailed(QStringLiteral("a WAV file holds one channel: choose total or iso"));
        }
        const Channel which = request.total ? Channel::Total : Channel::Iso;
        const ChannelSignals& channel = request.total ? decoded.total : decoded.iso;
        QString error;
        if (!WriteWav(request.path, channel.waveform, WavSampleRate(channel.samplingFrequencyHz),
                      WavInfoOf(channel, which, row->identity), &error)) {
            return ExportFailed(error);
        }
        outcome.ok = true;
        outcome.records = 1;
        return outcome;
    }

    const ExportChoice choice{chosen.total, chosen.iso, request.spectra};
    const std::vector<UffFunction> functions =
        UffFunctionsOf(decoded, row->identity, choice, DisplayUnitsOf(app.settings));
    const UffEncoding encoding = request.format == SignalFileFormat::Uff58    ? UffEncoding::Ascii
                                 : request.format == SignalFileFormat::Uff58b ? UffEncoding::BinaryDouble
                                                                              : UffEncoding::BinarySingle;
    QSaveFile file(request.path);
    if (!file.open(QIODevice::WriteOnly) || file.write(WriteUff(functions, encoding)) < 0 || !file.commit()) {
        return ExportFailed(QStringLiteral("%1: %2").arg(request.path, file.errorString()));
    }
    outcome.ok = true;
    outcome.records = static_cast<int>(functions.size());
    return outcome;
}

SignalImportOutcome ImportReadingSignals(CAppData& app, SignalProcessor& processor,
                                         const SignalImportRequest& request) {
    CMainConnection& db = *app.MainConnection();
    CVib point;
    if (request.pointGuid.isEmpty() || !db.GetVib(request.pointGuid, point)) {
        return ImportFailed(QStringLiteral("no vibration point %1").arg(request.pointGuid));
    }
    const std::optional<WaveformFormat> format =
        request.format ? request.format : WaveformFormatOf(request.path);
    if (!format) {
        return ImportFailed(QStringLiteral("%1: unknown file type; give the format (uff58, wav or csv)")
                                .arg(QFileInfo(request.path).fileName()));
    }

    SourceWaveform source;
    if (*format == WaveformFormat::Wav) {
        source = WaveformFromWav(request.path, request.choice);
    } else {
        QFile file(request.path);
        if (!file.open(QIODevice::ReadOnly)) {
            return ImportFailed(QStringLiteral("%1: %2").arg(request.path, file.errorString()));
        }
        const QByteArray bytes = file.readAll();
        source = *format == WaveformFormat::Uff ? WaveformFromUff(bytes, request.choice)
                                                : WaveformFromCsv(bytes, request.choice);
    }
    if (!source.Ok()) {
        return ImportFailed(QStringLiteral("%1: %2").arg(QFileInfo(request.path).fileName(), source.error));
    }

    const QDateTime taken = request.taken.isValid() ? request.taken : source.taken;
    if (!taken.isValid()) {
        return ImportFailed(QStringLiteral("the file gives no date: give the date the reading was taken"));
    }
    if (taken < DateFixCheck::Earliest() || taken > DateFixCheck::Latest()) {
        return ImportFailed(
            QStringLiteral("the date %1 lies outside 1900-01-01 00:00:00 to 2079-06-06 00:00:00")
                .arg(taken.toString(QLatin1String(kInterchangeDateFormat))));
    }
    // A run speed from the command or the file passes the point editor's check; the point's own
    // is what its editor stored.
    std::optional<double> runSpeed;
    for (const auto& [given, where] :
         {std::pair{request.runSpeedHz, QStringLiteral("the run speed given")},
          std::pair{source.runSpeedHz.has_value() ? std::optional<double>(*source.runSpeedHz) : std::nullopt,
                    QStringLiteral("the file's run speed (rs=)")}}) {
        if (!given) {
            continue;
        }
        if (const std::optional<QString> refused = CheckRunSpeed(*given)) {
            return ImportFailed(
                QStringLiteral("%1, %2 Hz: %3").arg(where, QString::number(*given, 'g', 6), *refused));
        }
        runSpeed = given;
        break;
    }

    WaveformReadingRequest store;
    store.waveform = std::move(source.waveform);
    store.channel = request.choice.channel;
    store.taken = taken;
    store.runSpeedHz = runSpeed;
    store.sourceName = QFileInfo(request.path).fileName();
    store.format = FormatName(*format);
    SignalImportOutcome outcome = StoreWaveformReading(db, processor, point, store);
    if (outcome.duplicate) {
        outcome.error = QStringLiteral("the point already has a reading taken at %1")
                            .arg(taken.toString(QLatin1String(kInterchangeDateFormat)));
    }
    outcome.note = source.note;
    return outcome;
}

SignalImportOutcome StoreWaveformReading(CMainConnection& db, SignalProcessor& processor, const CVib& point,
                                         const WaveformReadingRequest& request) {
    const float runSpeed = request.runSpeedHz ? AsStoredFloat(*request.runSpeedHz) : point.fRunSpeedHz;
    ImportedReadingBuild build =
        BuildImportedReading(request.waveform, request.channel, runSpeed, processor, request.fill);
    if (!build.Ok()) {
        return ImportFailed(QStringLiteral("%1: %2").arg(request.sourceName, build.error));
    }

    SignalImportOutcome outcome;
    try {
        CVibReading reading;
        static_cast<VibReadingValues&>(reading) = std::move(build.values);
        reading.sItemGUID = MakeItemGuid();
        reading.sParentGUID = point.sItemGUID;
        reading.ctDateTaken = request.taken;

        ImportedReadingMark mark;
        mark.readingGuid = reading.sItemGUID;
        mark.sourceFile = request.sourceName;
        mark.format = request.format;
        mark.channel = request.channel == Channel::Total ? QStringLiteral("total") : QStringLiteral("iso");
        mark.unit = SignalUnitText(request.waveform.unit);
        mark.samplesInFile = static_cast<int>(build.samplesInFile);
        mark.samplesUsed = static_cast<int>(build.samplesUsed);
        mark.imported = QDateTime::currentDateTime();

        if (StoreImportedReading(db, reading, mark) == ImportedReadingStore::PointHasReadingThen) {
            SignalImportOutcome duplicate =
                ImportFailed(QStringLiteral("the point already has a reading then"));
            duplicate.duplicate = true;
            return duplicate;
        }
        // The waveform indices are taken as the reading arrives, as for a reading from the meter; a
        // failure leaves them to be computed when first needed.
        EnvelopeAnalyzer analyzer;
        RecordReadingIndices(db.Connection(), reading, analyzer);
        RecordAlarmEvent(db, reading.sParentGUID);
        outcome.reading = std::move(reading);
    } catch (const DatabaseError& error) {
        return ImportFailed(
            QStringLiteral("the reading could not be stored: %1").arg(QString::fromUtf8(error.what())));
    }
    outcome.ok = true;
    outcome.samplesInFile = build.samplesInFile;
    outcome.samplesUsed = build.samplesUsed;
    outcome.samplingFrequencyHz = request.waveform.samplingFrequencyHz;
    outcome.unit = request.waveform.unit;
    return outcome;
}

} // namespace vantor
