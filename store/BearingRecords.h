#pragma once
// The bearing library's two tables, added beside the documented ones: the bearings (geometry or
// published factors) and the assignments of bearings to vibration points. Older database files lack
// both; opening the main connection creates them (EnsureBearingTables).

#include "records/Bearings.h"
#include "store/DynamicRecordset.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace vantor {

template <> std::span<const Field<CBearing>> FieldsOf<CBearing>();
template <> std::span<const Field<CPointBearing>> FieldsOf<CPointBearing>();

template <> struct TableTraits<CBearing> {
    static constexpr const char* name = "tblBearings";
    static int ExpectedColumns() { return static_cast<int>(FieldsOf<CBearing>().size()); }
};
template <> struct TableTraits<CPointBearing> {
    static constexpr const char* name = "tblPointBearings";
    static int ExpectedColumns() { return static_cast<int>(FieldsOf<CPointBearing>().size()); }
};

class CBearingDB final : public CRecordset<CBearing> {};
class CPointBearingDB final : public CRecordset<CPointBearing> {};

// The statements that create one bearing table and its lookup indexes, in order.
struct TableStatements {
    const char* table;
    QStringList statements;
};
std::vector<TableStatements>
BearingTableStatements(const SqlDialect& dialect = SqlDialect::Of(SqlEngine::Sqlite));

enum class TablesOutcome { Present, Created, Failed };
// Creates the bearing tables when the database lacks them, and fills a new library with the
// starter bearings, all in one transaction. Failed when the database refused (a read-only file).
TablesOutcome EnsureBearingTables(SqlConnection& connection);

} // namespace vantor
