#include "app/PlantStatus.h"

#include "app/CAppData.h"
#include "app/EditOutcome.h"

#include <QSet>

#include <algorithm>
#include <memory>

#include "analysis/EnvelopeSpectrum.h"
#include "analysis/ReadingDiagnosis.h"
#include "analysis/SignalProcessor.h"
#include "app/RouteSchedule.h"
#include "loaders/DiagnosisLoader.h"
#include "loaders/PointAlarmsQuery.h"
#include "store/AlarmEventRecords.h"
#include "store/AlarmRecords.h"
#include "store/LatestReadings.h"
#include "store/MainConnection.h"

namespace vantor {

QDateTime PlantPoint::LatestDate() const {
    if (latestVib) {
        return latestVib->ctDateTaken;
    }
    if (latestLube) {
        return latestLube->ctDateTaken;
    }
    return {};
}

StatusCode PlantPoint::FindingsMark() const {
    return FindingsMarkOf(findings);
}

std::optional<std::vector<Finding>> LatestReadingFindings(CMainConnection& db, SignalProcessor& processor,
                                                          EnvelopeAnalyzer& analyzer,
                                                          const QString& latestReadingGuid) {
    if (latestReadingGuid.isEmpty()) {
        return std::nullopt;
    }
    std::optional<ReadingDiagnosis> diagnosis = DiagnoseReading(db, processor, analyzer, latestReadingGuid);
    if (!diagnosis) {
        return std::nullopt;
    }
    return std::move(diagnosis->findings);
}

StatusCode FindingsMarkOf(const std::optional<std::vector<Finding>>& findings) {
    if (!findings) {
        return StatusCode::Ok;
    }
    const StatusCode severity = FindingsSeverity(*findings);
    return severity == StatusCode::Warning || severity == StatusCode::Critical ? severity : StatusCode::Ok;
}

bool PlantSnapshot::SetPointFindings(const QString& pointGuid, std::optional<std::vector<Finding>> findings) {
    for (PlantMachine& machine : machines) {
        for (PlantPoint& point : machine.points) {
            if (point.Guid() != pointGuid) {
                continue;
            }
            point.findings = std::move(findings);
            machine.findingsMark = StatusCode::Ok;
            for (const PlantPoint& each : machine.points) {
                machine.findingsMark = std::max(machine.findingsMark, each.FindingsMark());
            }
            return true;
        }
    }
    return false;
}

StatusCode PlantSnapshot::FindingsMark() const {
    StatusCode mark = StatusCode::Ok;
    for (const PlantMachine& machine : machines) {
        mark = std::max(mark, machine.findingsMark);
    }
    return mark;
}

const PlantMachine* PlantSnapshot::FindMachine(const QString& guid) const {
    for (const PlantMachine& machine : machines) {
        if (machine.machine.sItemGUID == guid) {
            return &machine;
        }
    }
    return nullptr;
}

const PlantPoint* PlantSnapshot::FindPoint(const QString& guid) const {
    for (const PlantMachine& machine : machines) {
        for (const PlantPoint& point : machine.points) {
            if (point.Guid() == guid) {
                return &point;
            }
        }
    }
    return nullptr;
}

DatedStatus LubePointStatus(const CLube& point, const CLubeReading* latest) {
    DatedStatus status;
    if (latest == nullptr) {
        return status;
    }
    for (const float value : {latest->fBeforeBDU, latest->fAfterBDU}) {
        Combine(status, {ClassifyValue(value, point.bBDUAlarmsOn, point.fBDUWarning, point.fBDUCritical),
                         latest->ctDateTaken});
    }
    return status;
}

PlantSnapshot LoadPlant(CMainConnection& db, PlantContents contents) {
    PlantSnapshot plant;
    QHash<QString, CVibReading> latestVibs;
    QHash<QString, CLubeReading> latestLubes;
    if (contents.vibPoints) {
        latestVibs = LatestVibReadingsByPoint(db);
    }
    if (contents.lubePoints) {
        latestLubes = LatestLubeReadingsByPoint(db);
    }
    // Points with settings beside the documented alarms; the processors are made only for them.
    QSet<QString> alarmed;
    if (contents.vibPoints) {
        for (const QString& guid : alarmrows::PointsWithAlarmRows(db.Connection())) {
            alarmed.insert(guid);
        }
    }
    QHash<QString, QDate> dueDates;
    QHash<QString, int> newEvents;
    if (contents.vibPoints && contents.followUp) {
        dueDates = DueDatesByPoint(db, contents.today, latestVibs);
        for (const auto& [point, count] : eventrows::PointsWithNewEvents(db.Connection())) {
            newEvents.insert(point, count);
        }
    }
    // The points online sensors feed, with each sensor's newest overall values.
    QHash<QString, PlantPoint::Online> online;
    if (contents.vibPoints) {
        for (const SensorRow& sensor : onlinerows::Sensors(db.Connection())) {
            online.insert(sensor.pointGuid,
                          {sensor.sensorId, onlinerows::LatestOverall(db.Connection(), sensor.sensorId)});
        }
    }
    std::unique_ptr<SignalProcessor> processor;
    std::unique_ptr<EnvelopeAnalyzer> analyzer;
    std::vector<CMachine> machines = db.ListMachines();
    plant.machines.reserve(machines.size());
    for (CMachine& machine : machines) {
        PlantMachine entry;
        if (contents.vibPoints) {
            for (CVib& vib : db.ListVibs(machine.sItemGUID)) {
                PlantPoint point;
                point.kind = PlantPoint::Kind::Vib;
                if (const auto found = latestVibs.constFind(vib.sItemGUID); found != latestVibs.cend()) {
                    point.latestVib = *found;
                }
                if (alarmed.contains(vib.sItemGUID)) {
                    if (!processor) {
                        processor = std::make_unique<SignalProcessor>();
                        analyzer = std::make_unique<EnvelopeAnalyzer>();
                    }
                    PointAlarmStatus alarms = EvaluatePointAlarms(db, *processor, *analyzer, vib);
                    point.status = alarms.combined;
                    point.reasons = std::move(alarms.reasons);
                    point.zone = std::move(alarms.zone);
                } else {
                    point.status = PointStatus(vib, point.latestVib ? &*point.latestVib : nullptr);
                }
                point.due = dueDates.value(vib.sItemGUID);
                if (const auto fed = online.constFind(vib.sItemGUID); fed != online.cend()) {
                    point.online = *fed;
                }
                point.newEvents = newEvents.value(vib.sItemGUID);
                entry.newEvents += point.newEvents;
                point.vib = std::move(vib);
                Combine(entry.status, point.status);
                entry.points.push_back(std::move(point));
            }
        }
        if (contents.lubePoints) {
            for (CLube& lube : db.ListLubes(machine.sItemGUID)) {
                PlantPoint point;
                point.kind = PlantPoint::Kind::Lube;
                if (const auto found = latestLubes.constFind(lube.sItemGUID); found != latestLubes.cend()) {
                    point.latestLube = *found;
                }
                point.status = LubePointStatus(lube, point.latestLube ? &*point.latestLube : nullptr);
                point.lube = std::move(lube);
                Combine(entry.status, point.status);
                entry.points.push_back(std::move(point));
            }
        }
        entry.machine = std::move(machine);
        Combine(plant.status, entry.status);
        plant.newEvents += entry.newEvents;
        plant.machines.push_back(std::move(entry));
    }
    plant.offRouteReadings = CountOffRouteReadings(db);
    return plant;
}

std::vector<StatusTableRow> StatusRowsOf(const PlantSnapshot& plant, const QString& machineGuid,
                                         const StatusTableOptions& options) {
    std::vector<StatusTableRow> rows;
    for (const PlantMachine& machine : plant.machines) {
        if (!machineGuid.isEmpty() && machine.machine.sItemGUID != machineGuid) {
            continue;
        }
        for (const PlantPoint& point : machine.points) {
            if (point.kind != PlantPoint::Kind::Vib) {
                continue;
            }
            const CVibReading* latest = point.latestVib ? &*point.latestVib : nullptr;
            StatusTableRow row;
            row.machineName = machine.machine.sName;
            row.pointName = point.vib.sName;
            row.latestDate = point.LatestDate();
            row.status = point.status;
            for (const int column : options.columns) {
                if (!IsMeasureKind(column)) {
                    continue;
                }
                const auto kind = static_cast<MeasureKind>(column);
                row.cells.push_back(
                    {kind, MakeStatusCell(point.vib, latest, kind, options.valuesOn, options.format)});
            }
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::optional<PlantSnapshot> LoadPlantShown(CAppData& app, PlantContents contents) {
    CMainConnection* db = app.MainConnection();
    if (db == nullptr) {
        return std::nullopt;
    }
    return ReadShown(app.UserPrompter(), QStringLiteral("reading the plant"),
                     [db, contents] { return LoadPlant(*db, contents); });
}

} // namespace vantor
