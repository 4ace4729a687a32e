#pragma once
// The list of known meters, in their order, with the commands that rename or delete one. Readings
// keep the copies of the meter's name and serial number they were stored with.

#include "app/SyncConnectionList.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace vantor {

// One row as the list shows it.
struct DeviceRow {
    QString guid;
    int order = 0; // the row number, from 1
    QString name;
    QString serialNumber;
};

class DeviceNameList final : public SyncConnectionList {
public:
    explicit DeviceNameList(CAppData& app);

    // Headers of the visible columns: Order, Device Name, Device S/N.
    static QStringList Headers();

    const std::vector<DeviceRow>& Rows() const { return rows_; }

    // Loads the meter ("Error loading record, please try again" when it cannot be loaded), asks for
    // its new name until the name is accepted or the prompt is cancelled, stores it, renumbers the
    // meters and refills.
    EditOutcome Rename(const QString& guid);
    // Asks "Are you sure you want to delete?"; on Yes deletes the meter, renumbers and refills.
    EditOutcome Delete(const QString& guid);

private:
    void FillRows(CRecordSyncConnection& sync) override;
    void ClearRows() override { rows_.clear(); }

    std::vector<DeviceRow> rows_;
};

} // namespace vantor
