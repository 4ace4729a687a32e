#pragma once
// The bearing library's two tables, added beside the documented ones: the bearings (geometry or
// published factors) and the assignments of bearings to vibration points. Older database files lack
// both; opening the main connection creates them (EnsureBearingTables).

#include "store/DynamicRecordset.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace vantor {

// A rolling-element bearing. With iRollingElements > 0 the bearing is described by its geometry
// and its fault factors follow from it; with iRollingElements = 0 the four factor columns hold the
// factors its maker publishes (orders of shaft speed).
struct CBearing {
    QString sItemGUID;
    float fOrder = 0;
    QString sDesignation;
    QString sMaker;
    std::int32_t iRollingElements = 0;
    float fRollingElementDiameterMM = 0;
    float fPitchDiameterMM = 0;
    float fContactAngleDeg = 0;
    float fFTF = 0;
    float fBSF = 0;
    float fBPFO = 0;
    float fBPFI = 0;
    QString sSource; // where the figures come from
};

// One bearing watched by a vibration point: where it sits and the ratio of its shaft's speed to the
// point's run speed (belts, gearboxes). A point carries at most kBearingsPerPoint, in fOrder.
struct CPointBearing {
    QString sItemGUID;
    QString sParentGUID; // the vibration point
    float fOrder = 0;
    QString sBearingGUID;
    QString sLocation;
    float fSpeedRatio = 1;
};

inline constexpr int kBearingsPerPoint = 4;

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
