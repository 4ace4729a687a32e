#include "store/BearingRecords.h"

#include "store/Log.h"
#include "store/StarterBearings.h"

#include <QSqlError>
#include <QSqlQuery>

#include <array>

namespace vantor {
namespace {

const std::array<Field<CBearing>, 13> kBearingFields{{
    {"sItemGUID", &CBearing::sItemGUID},
    {"fOrder", &CBearing::fOrder},
    {"sDesignation", &CBearing::sDesignation},
    {"sMaker", &CBearing::sMaker},
    {"iRollingElements", &CBearing::iRollingElements},
    {"fRollingElementDiameterMM", &CBearing::fRollingElementDiameterMM},
    {"fPitchDiameterMM", &CBearing::fPitchDiameterMM},
    {"fContactAngleDeg", &CBearing::fContactAngleDeg},
    {"fFTF", &CBearing::fFTF},
    {"fBSF", &CBearing::fBSF},
    {"fBPFO", &CBearing::fBPFO},
    {"fBPFI", &CBearing::fBPFI},
    {"sSource", &CBearing::sSource},
}};

const std::array<Field<CPointBearing>, 6> kPointBearingFields{{
    {"sItemGUID", &CPointBearing::sItemGUID},
    {"sParentGUID", &CPointBearing::sParentGUID},
    {"fOrder", &CPointBearing::fOrder},
    {"sBearingGUID", &CPointBearing::sBearingGUID},
    {"sLocation", &CPointBearing::sLocation},
    {"fSpeedRatio", &CPointBearing::fSpeedRatio},
}};

bool HasTable(const SqlConnection& connection, const char* table) {
    return connection.Database().tables().contains(QLatin1String(table), Qt::CaseInsensitive);
}

} // namespace

template <> std::span<const Field<CBearing>> FieldsOf<CBearing>() {
    return kBearingFields;
}
template <> std::span<const Field<CPointBearing>> FieldsOf<CPointBearing>() {
    return kPointBearingFields;
}

std::vector<TableStatements> BearingTableStatements(const SqlDialect& dialect) {
    return {
        {TableTraits<CBearing>::name,
         {CreateTableStatement<CBearing>(dialect),
          dialect.QuoteNames(QStringLiteral("CREATE INDEX ixBearingsGuid ON tblBearings ([sItemGUID])"))}},
        {TableTraits<CPointBearing>::name,
         {CreateTableStatement<CPointBearing>(dialect),
          dialect.QuoteNames(QStringLiteral(
              "CREATE INDEX ixPointBearingsParent ON tblPointBearings ([sParentGUID], [fOrder])")),
          dialect.QuoteNames(
              QStringLiteral("CREATE INDEX ixPointBearingsBearing ON tblPointBearings ([sBearingGUID])"))}},
    };
}

TablesOutcome EnsureBearingTables(SqlConnection& connection) {
    if (!connection.IsOpen()) {
        return TablesOutcome::Failed;
    }
    const bool hasBearings = HasTable(connection, TableTraits<CBearing>::name);
    const bool hasAssignments = HasTable(connection, TableTraits<CPointBearing>::name);
    if (hasBearings && hasAssignments) {
        return TablesOutcome::Present;
    }
    try {
        SqlConnection::Transaction transaction(connection);
        QSqlQuery query(connection.Database());
        for (const TableStatements& table : BearingTableStatements(connection.Dialect())) {
            // Only a missing table (with its indexes) is made; a half-upgraded file keeps its rows.
            if (HasTable(connection, table.table)) {
                continue;
            }
            for (const QString& statement : table.statements) {
                if (!query.exec(statement)) {
                    qCWarning(lcStore, "Bearing tables not created: %s",
                              qUtf8Printable(query.lastError().text()));
                    return TablesOutcome::Failed;
                }
            }
        }
        if (!hasBearings) {
            CBearingDB bearings;
            const ColumnDiscoveryPolicy policy;
            if (!bearings.DiscoverColumns(connection.Database(), policy)) {
                return TablesOutcome::Failed;
            }
            for (const CBearing& bearing : StarterBearings()) {
                bearings.AddNew(connection, bearing);
            }
        }
        if (!transaction.Commit()) {
            qCWarning(lcStore, "Bearing tables not created: the transaction did not commit");
            return TablesOutcome::Failed;
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcStore, "Bearing tables not created: %s", error.what());
        return TablesOutcome::Failed;
    }
    return TablesOutcome::Created;
}

} // namespace vantor
