#include "store/RecordSyncConnection.h"

#include "platform/Prompter.h"
#include "store/detail/RecordOps.h"
#include "texts/UiText.h"

#include <QFileInfo>
#include <QSqlQuery>

namespace vantor {

using detail::Query;

namespace {

const QString kByGuid = QStringLiteral("WHERE [sItemGUID] = ?");
const QString kByGuidOrNull = QStringLiteral("WHERE [sItemGUID] = ? OR [sItemGUID] IS NULL");
const QString kAllInOrder = QStringLiteral("ORDER BY [fOrder] ASC");

auto NoChildren = [](const auto&) { return true; };

} // namespace

CRecordSyncConnection::CRecordSyncConnection(StoreContext context)
    : context_(std::move(context)), connection_(ConnectionFor(context_)) {}

CRecordSyncConnection::~CRecordSyncConnection() {
    Close();
}

bool CRecordSyncConnection::Open() {
    if (!context_.server && !QFileInfo(context_.databaseFile).isFile()) {
        if (context_.prompter != nullptr) {
            context_.prompter->ShowMessage(UiText(text::NoDatabaseFound));
        }
        if (context_.markShuttingDown) {
            context_.markShuttingDown();
        }
        return false;
    }
    if (!connection_.Open()) {
        if (context_.securityWarning) {
            context_.securityWarning();
        }
        return false;
    }
    // A server's schema is versioned and brought up to date by the server set-up instead.
    if (!connection_.IsServer()) {
        UpgradeSchema();
    }
    return true;
}

void CRecordSyncConnection::Close() {
    connection_.Close();
}

void CRecordSyncConnection::UpgradeSchema() {
    QSqlQuery query(connection_.Database());
    // Each statement fails harmlessly once the column or table exists.
    query.exec(QStringLiteral("ALTER TABLE tblDevices ADD COLUMN \"sBTAddress\" TEXT(255)"));
    query.exec(QStringLiteral("CREATE TABLE tblEmailAddresses (\"sEmailAddress\" TEXT(255))"));
}

// ---- meters -------------------------------------------------------------------------------------

bool CRecordSyncConnection::GetDevice(const QString& guid, CDevice& out) {
    return detail::GetOne(Query<CDevice>{devices_, connection_, context_.discovery}, kByGuid, {guid}, out);
}

bool CRecordSyncConnection::UpsertDevice(const CDevice& device) {
    return detail::Upsert(Query<CDevice>{devices_, connection_, context_.discovery}, kByGuid,
                          {device.sItemGUID}, device);
}

std::vector<CDevice> CRecordSyncConnection::ListDevices() {
    return detail::List(Query<CDevice>{devices_, connection_, context_.discovery}, kAllInOrder, {});
}

bool CRecordSyncConnection::DeleteDevice(const QString& guid) {
    return !guid.isEmpty() && detail::DeleteWalk(Query<CDevice>{devices_, connection_, context_.discovery},
                                                 kByGuidOrNull, {guid}, "DELETE Device", NoChildren);
}

float CRecordSyncConnection::NextDeviceOrder(const QString& before) {
    return detail::NextOrderIn(Query<CDevice>{devices_, connection_, context_.discovery}, kAllInOrder, {},
                               before);
}

void CRecordSyncConnection::RenumberDevices() {
    detail::Renumber(Query<CDevice>{devices_, connection_, context_.discovery}, kAllInOrder, {});
}

// ---- off-route readings -------------------------------------------------------------------------

bool CRecordSyncConnection::GetOffRouteReading(const QString& guid, COffRouteReading& out) {
    return detail::GetOne(Query<COffRouteReading>{offRouteReadings_, connection_, context_.discovery},
                          kByGuid, {guid}, out);
}

bool CRecordSyncConnection::UpsertOffRouteReading(const COffRouteReading& reading) {
    COffRouteReading stored = reading;
    // Like vibration readings, whose columns these are: an empty capture is stored as one byte.
    for (QByteArray* raw : {&stored.rawADCISODataByteArray, &stored.rawADCTotalDataByteArray}) {
        if (raw->isEmpty()) {
            *raw = QByteArray(1, '\0');
        }
    }
    const QVariant taken = reading.ctDateTaken.isValid() ? QVariant(SqlDateTimeText(reading.ctDateTaken))
                                                         : QVariant(QMetaType(QMetaType::QString));
    return detail::Upsert(Query<COffRouteReading>{offRouteReadings_, connection_, context_.discovery},
                          QStringLiteral("WHERE [sItemGUID] = ? OR [ctDateTaken] = ?"),
                          {reading.sItemGUID, taken}, stored);
}

std::vector<COffRouteReading> CRecordSyncConnection::ListOffRouteReadings() {
    return detail::List(Query<COffRouteReading>{offRouteReadings_, connection_, context_.discovery},
                        QStringLiteral("ORDER BY [ctDateTaken] DESC"), {});
}

bool CRecordSyncConnection::DeleteOffRouteReading(const QString& guid) {
    return !guid.isEmpty() &&
           detail::DeleteWalk(Query<COffRouteReading>{offRouteReadings_, connection_, context_.discovery},
                              kByGuidOrNull, {guid}, "DELETE OffRouteReading", NoChildren);
}

// ---- e-mail addresses ---------------------------------------------------------------------------

bool CRecordSyncConnection::AddEmailAddress(const QString& address) {
    const auto rows = emailAddresses_.Select(connection_, context_.discovery,
                                             QStringLiteral("WHERE [sEmailAddress] = ?"), {address}, 1);
    if (!rows) {
        return false;
    }
    if (rows->empty()) {
        emailAddresses_.AddNew(connection_, CEmailAddress{address});
    }
    return true;
}

QStringList CRecordSyncConnection::ListEmailAddresses() {
    QStringList addresses;
    for (const auto& row :
         detail::List(Query<CEmailAddress>{emailAddresses_, connection_, context_.discovery},
                      QStringLiteral("ORDER BY [sEmailAddress] ASC"), {})) {
        addresses << row.sEmailAddress;
    }
    return addresses;
}

bool CRecordSyncConnection::RemoveEmailAddress(const QString& address) {
    return Run(QStringLiteral("DELETE FROM tblEmailAddresses WHERE [sEmailAddress] = ?"), {address});
}

bool CRecordSyncConnection::RemoveAllEmailAddresses() {
    return Run(QStringLiteral("DELETE FROM tblEmailAddresses"), {});
}

bool CRecordSyncConnection::Run(const QString& sql, const QVariantList& values) {
    if (!connection_.IsOpen()) {
        return false;
    }
    try {
        SqlStatement& statement = connection_.Prepared(sql);
        for (int i = 0; i < values.size(); ++i) {
            BindValue(statement, i, values[i]);
        }
        RunOnce(statement);
    } catch (const DatabaseError&) {
        return false;
    }
    return true;
}

} // namespace vantor
