#pragma once
// The start benchmarks' peer: a plant's machines and vibration points read by one query into a
// plain item model, as the simplest tree of the plant would show them.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>

namespace vantor::bench {

inline void FillPlantTree(const QSqlDatabase& database, QStandardItemModel& model) {
    QSqlQuery query(database);
    query.setForwardOnly(true);
    query.exec(QStringLiteral("SELECT m.sItemGUID, m.sName, v.sName FROM tblMachines m JOIN tblVibs v ON "
                              "v.sParentGUID = m.sItemGUID ORDER BY m.fOrder, m.sItemGUID, v.fOrder"));
    QStandardItem* machine = nullptr;
    QString machineGuid;
    while (query.next()) {
        if (machine == nullptr || query.value(0).toString() != machineGuid) {
            machineGuid = query.value(0).toString();
            machine = new QStandardItem(query.value(1).toString());
            model.appendRow(machine);
        }
        machine->appendRow(new QStandardItem(query.value(2).toString()));
    }
}

} // namespace vantor::bench
