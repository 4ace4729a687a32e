#pragma once
// The secondary connection: meters, off-route readings and the exception e-mail address list.
// Opened on demand by whoever needs those tables (and by the synchronisation run, on its own
// thread); opening it brings an older database file's schema up to date.

#include "store/DynamicRecordset.h"
#include "store/StoreContext.h"

#include <QStringList>

#include <vector>

namespace vantor {

class CRecordSyncConnection {
public:
    explicit CRecordSyncConnection(StoreContext context);
    ~CRecordSyncConnection();
    CRecordSyncConnection(const CRecordSyncConnection&) = delete;
    CRecordSyncConnection& operator=(const CRecordSyncConnection&) = delete;

    // A missing database file shows "No Database found..." and marks the application for shutdown;
    // a file that cannot be opened runs the security-warning routine. Both return false.
    bool Open();
    void Close();
    bool IsOpen() const { return connection_.IsOpen(); }
    SqlConnection& Connection() { return connection_; }

    // Adds the columns and tables that older files lack; errors (already there) are ignored.
    void UpgradeSchema();

    // Meters
    bool GetDevice(const QString& guid, CDevice& out);
    bool UpsertDevice(const CDevice& device);
    std::vector<CDevice> ListDevices();
    bool DeleteDevice(const QString& guid);
    float NextDeviceOrder(const QString& before = {});
    void RenumberDevices();

    // Off-route readings; the upsert matches by GUID or by date-time taken.
    bool GetOffRouteReading(const QString& guid, COffRouteReading& out);
    bool UpsertOffRouteReading(const COffRouteReading& reading);
    std::vector<COffRouteReading> ListOffRouteReadings(); // newest first
    bool DeleteOffRouteReading(const QString& guid);

    // Exception e-mail addresses; the address is the key, compared exactly.
    bool AddEmailAddress(const QString& address); // adds only when absent
    QStringList ListEmailAddresses();             // sorted
    bool RemoveEmailAddress(const QString& address);
    bool RemoveAllEmailAddresses();

private:
    // Runs one statement without result rows; false when it was refused.
    bool Run(const QString& sql, const QVariantList& values);

    StoreContext context_;
    SqlConnection connection_;
    CDeviceDB devices_;
    COffRouteReadingDB offRouteReadings_;
    CEmailAddressDB emailAddresses_;
};

} // namespace vantor
