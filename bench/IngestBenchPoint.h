#pragma once
// The ingest benchmarks' plant: one fan whose Motor DE point has ISO limits 4.5 / 7.1 mm/s and is
// fed by the online sensor "s1".

#include "store/MainConnection.h"
#include "store/OnlineTables.h"

#include <QDateTime>

namespace vantor::bench {

inline CVib AddSensorPoint(CMainConnection& db, const QDateTime& added) {
    const CMachine machine{MakeItemGuid(), 0, QStringLiteral("Fan"), QStringLiteral("FAN"), {}};
    db.UpsertMachine(machine);
    CVib point;
    point.sItemGUID = MakeItemGuid();
    point.sParentGUID = machine.sItemGUID;
    point.sName = QStringLiteral("Motor DE");
    point.bISOAlarmsOn = true;
    point.fISOWarningMMS = 4.5f;
    point.fISOCriticalMMS = 7.1f;
    point.fRunSpeedHz = 24.75f;
    db.UpsertVib(point);
    onlinerows::PutSensor(db.Connection(), {QStringLiteral("s1"), point.sItemGUID, added});
    return point;
}

} // namespace vantor::bench
