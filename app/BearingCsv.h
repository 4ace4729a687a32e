#pragma once
// Bearing lists as spreadsheets: one row per bearing, UTF-8 with a header row, fields separated by
// commas or semicolons as the catalogue spreadsheet. A bearing is given by its geometry (Rolling
// elements, Element diameter mm, Pitch diameter mm, Contact angle deg) or by its four published
// factors (FTF, BSF, BPFO, BPFI), never both. Import matches a row to a stored bearing by its
// Bearing GUID, else by designation and maker; every row is checked first and nothing is stored
// unless every row passes, all in one transaction.

#include "store/BearingStore.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace vantor {

// The header row, in file order; on import the columns are found by name in any order and only
// Designation is required.
const QStringList& BearingCsvHeader();

// The whole library, comma-separated, with CRLF line ends.
QByteArray ExportBearingCsv(CBearingStore& store);
bool ExportBearingCsvFile(CBearingStore& store, const QString& path);

struct BearingImportPlan {
    QStringList errors;             // "line N: message", in line order
    std::vector<CBearing> bearings; // new ones without an order value yet
    int added = 0;
    int updated = 0;

    bool Ok() const { return errors.isEmpty(); }
    // "Bearings: 2 new, 1 updated".
    QString Summary() const;
};

// Reads and checks the rows against the library; stores nothing.
BearingImportPlan PlanBearingImport(CBearingStore& store, const QByteArray& csv);
// Stores a plan without errors in one transaction, new bearings after the existing ones in file
// order. False, with nothing stored, when the plan has errors or the database refuses.
bool ApplyBearingImport(CMainConnection& db, const BearingImportPlan& plan);

} // namespace vantor
