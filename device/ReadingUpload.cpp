#include "device/ReadingUpload.h"

#include "analysis/ReadingIndices.h"
#include "device/DateFixCheck.h"
#include "device/Log.h"
#include "device/MeterCommands.h"
#include "device/RouteDownload.h"
#include "loaders/IndicesStore.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "store/SqlConnection.h"
#include "store/Validation.h"
#include "texts/UiText.h"

#include <QSqlQuery>

namespace vantor {
namespace {

// Whether the database went away rather than refused one write: a server that stopped answering
// (a write refused on a living connection, as the local file refuses one, still answers here).
bool DatabaseGone(SqlConnection& connection) {
    if (connection.Lost()) {
        return true;
    }
    QSqlQuery ping(connection.Database());
    return !ping.exec(QStringLiteral("SELECT 1")) || connection.Lost();
}

constexpr qsizetype kDisplayNameWidth = 50;
constexpr qsizetype kMeterNameWidth = 14;

QString CleanName(const QString& name) {
    QString clean;
    clean.reserve(name.size());
    for (const QChar c : name) {
        const bool unsafe =
            c.unicode() < 0x20 || c.unicode() == 0x7F || HasForbiddenNameCharacter(QString(c));
        clean.append(unsafe ? QLatin1Char('_') : c);
    }
    return clean.trimmed();
}

COffRouteReading ToOffRoute(const CVibReading& reading) {
    COffRouteReading offRoute;
    static_cast<VibReadingValues&>(offRoute) = reading;
    offRoute.sItemGUID = reading.sItemGUID;
    return offRoute;
}

// The meter's run speed when it is one the analysis may compute with.
bool MeterRunSpeedUsable(const CVibReading& reading) {
    return IsMeterRunSpeed(reading.fOriginalRunSpeedHz);
}

void NoteRunSpeed(const MeasurementPointHeader& header, const CVibReading& meterReading, float storedHz,
                  ReadingUploadContext& context) {
    const QString kept = storedHz > 0
                             ? QStringLiteral("stored with the point's run speed %1 Hz").arg(storedHz)
                             : QStringLiteral("stored without a run speed until one is set");
    const QString note =
        QStringLiteral(
            "Reading of %1 / %2 taken %3: the meter's run speed %4 Hz lies outside 0.01 to %5 Hz; %6")
            .arg(header.machineName, header.pointName,
                 meterReading.ctDateTaken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
            .arg(static_cast<double>(meterReading.fOriginalRunSpeedHz), 0, 'g', 6)
            .arg(kMaxRunSpeedHz)
            .arg(kept);
    qCWarning(lcSync) << "reading" << meterReading.sItemGUID << "of point" << header.pointGuid << ":" << note;
    if (context.noteRunSpeed) {
        context.noteRunSpeed(note);
    }
}

int StoreRouteReading(const MeasurementPointHeader& header, const CVibReading& meterReading,
                      ReadingUploadContext& context) {
    const bool meterSpeedUsable = MeterRunSpeedUsable(meterReading);
    CVibReading reading = meterReading;
    CMainConnection& main = context.main;
    CMachine machine;
    CVib point;
    {
        // Machine, point and reading in one transaction.
        SqlConnection::Batch batch(main.Connection());
        if (!main.GetMachine(header.machineGuid, machine)) {
            machine = {};
            machine.sItemGUID = header.machineGuid;
            machine.sName = HeaderDisplayName(header.machineName, UiText(text::MachineLabel));
            machine.sVMName = HeaderMeterName(header.machineName, UiText(text::MachineLabel));
            machine.fOrder = main.NextOrder(ItemKind::Machines, {});
            if (!main.UpsertMachine(machine)) {
                return kReadingNotStored;
            }
        }
        if (main.GetVib(header.pointGuid, point)) {
            if (meterSpeedUsable) {
                point.fRunSpeedHz = reading.fOriginalRunSpeedHz;
            }
        } else {
            point = {};
            point.sItemGUID = header.pointGuid;
            point.sParentGUID = machine.sItemGUID;
            point.sName = HeaderDisplayName(header.pointName, UiText(text::VibPointLabel));
            point.sVMName = HeaderMeterName(header.pointName, UiText(text::VibPointLabel));
            point.fOrder = main.NextOrder(ItemKind::VibPoints, machine.sItemGUID);
            point.fRunSpeedHz = meterSpeedUsable ? reading.fOriginalRunSpeedHz : 0.0f;
            point.bISOAlarmsOn = true;
            point.fISOWarningMMS = header.isoWarningDefault;
            point.fISOCriticalMMS = header.isoCriticalDefault;
            point.bBDUAlarmsOn = true;
            point.fBDUWarning = header.bduWarningDefault;
            point.fBDUCritical = header.bduCriticalDefault;
        }
        if (!meterSpeedUsable) {
            // The meter's value stays out of every computation; the reading itself is kept.
            reading.fOriginalRunSpeedHz = reading.fCurrentRunSpeedHz = point.fRunSpeedHz;
        }
        if (!main.UpsertVib(point) || !main.UpsertVibReading(reading)) {
            return kReadingNotStored;
        }
    }
    if (!meterSpeedUsable) {
        NoteRunSpeed(header, meterReading, point.fRunSpeedHz, context);
    }
    // The waveform indices trend like the meter's values, so they are taken as the reading arrives;
    // a failure here leaves them to be computed when first needed.
    EnvelopeAnalyzer analyzer;
    RecordReadingIndices(main.Connection(), reading, analyzer);
    if (context.collectException) {
        context.collectException(machine, point, reading);
    }
    if (context.readingStored) {
        context.readingStored(main, point, reading);
    }
    return 0;
}

} // namespace

bool IsMeterRunSpeed(double hz) {
    return IsUsableRunSpeed(hz) && hz >= kLeastMeterRunSpeedHz;
}

QString HeaderDisplayName(const QString& name, const QString& fallback) {
    QString clean = CleanName(name).left(kDisplayNameWidth).trimmed();
    return clean.isEmpty() ? fallback.left(kDisplayNameWidth) : clean;
}

QString HeaderMeterName(const QString& name, const QString& fallback) {
    QString ascii;
    for (const QChar c : CleanName(name)) {
        if (c.unicode() < 0x80) {
            ascii.append(c);
        }
    }
    ascii = ascii.trimmed().left(kMeterNameWidth).trimmed();
    return ascii.isEmpty() ? fallback.left(kMeterNameWidth) : ascii;
}

CVibReading MakeUploadedReading(const MeasurementPointHeader& header, const MeasurementPointReply& reply,
                                const CDevice& device, const QDateTime& taken) {
    CVibReading reading;
    static_cast<VibReadingValues&>(reading) = header.values;
    reading.sItemGUID = MakeItemGuid();
    reading.sParentGUID = header.pointGuid;
    reading.sDeviceGUID = device.sItemGUID;
    reading.sDeviceName = device.sName;
    reading.sDeviceSN = device.sSN;
    reading.ctDateTaken = taken;
    reading.fTotalMMS = 0;
    reading.fVABand4MMS = 0;
    reading.fVABand1G = reading.fVABand2G = reading.fVABand3G = reading.fVABand4G = 0;
    reading.rawADCISODataByteArray = reply.isoCapture;
    reading.rawADCTotalDataByteArray = reply.totalCapture;
    return reading;
}

int StoreUploadedReading(const MeasurementPointHeader& header, const CVibReading& reading,
                         ReadingUploadContext& context) {
    try {
        if (header.machineGuid == context.offRouteAssetGuid) {
            COffRouteReading offRoute = ToOffRoute(reading);
            const bool usable = MeterRunSpeedUsable(reading);
            if (!usable) {
                offRoute.fOriginalRunSpeedHz = offRoute.fCurrentRunSpeedHz =
                    static_cast<float>(kOffRoutePointRunSpeedHz);
            }
            if (!context.sync.UpsertOffRouteReading(offRoute)) {
                return kReadingNotStored;
            }
            if (!usable) {
                NoteRunSpeed(header, reading, offRoute.fCurrentRunSpeedHz, context);
            }
            return 0;
        }
        const int stored = StoreRouteReading(header, reading, context);
        // A server that went away mid-write (even at the commit) has stored nothing of it.
        if (context.main.Connection().Lost() ||
            (stored == kReadingNotStored && DatabaseGone(context.main.Connection()))) {
            return kDatabaseUnavailable;
        }
        return stored;
    } catch (const DatabaseError& error) {
        qCWarning(lcSync) << "reading" << reading.sItemGUID << "of point" << header.pointGuid
                          << "could not be stored:" << error.what();
        return error.Unavailable() || DatabaseGone(context.main.Connection()) ? kDatabaseUnavailable
                                                                              : kReadingNotStored;
    }
}

int GetMeasurementPoint(CMeterLink& link, int meterPoint, int slot, const CDevice& device,
                        ReadingUploadContext& context) {
    MeasurementPointReply reply;
    if (const int sent = CollectMeasurementPoint(link, meterPoint, slot, reply)) {
        return sent;
    }
    const QString command = QString::fromLatin1(GetMeasurementPointCommand(meterPoint, slot).toLatin1());
    if (const int verdict = JudgeMeasurementPointReply(reply, command)) {
        return verdict;
    }
    MeasurementPointHeader header;
    if (const int parsed = ParseMeasurementPointHeader(reply.text, header)) {
        return parsed;
    }
    QDateTime taken = HeaderDateTime(header.taken);
    if (!IsWithinMeterDateRange(taken)) {
        const QDateTime initial = taken.isValid() ? taken : QDateTime::currentDateTime();
        const DateFixCheck dialog(header.machineName, header.pointName, initial);
        const std::optional<QDateTime> corrected = dialog.Run(context.prompter);
        if (!corrected) {
            return meter_code::kGetMpDateCancelled;
        }
        taken = *corrected;
    }
    return StoreUploadedReading(header, MakeUploadedReading(header, reply, device, taken), context);
}

} // namespace vantor
