#pragma once
// Copies every row of every table from one database into another, on either engine (a local
// file to a server and back). The target is written in one transaction: it ends with all the
// source's rows or, on any failure, as it was. Row counts of both sides are compared before the
// commit.

#include "store/DynamicRecordset.h"

#include <QString>

#include <vector>

namespace vantor {

struct TableRowCount {
    QString table;
    int source = 0;
    int target = 0;
};

enum class CopyOutcome {
    Done,
    TargetHoldsData, // refused: the target has rows and replacing was not asked for
    CountsDiffer,    // rolled back: the target's counts did not match the source's
    Failed,          // rolled back (or never begun): see the error
};

struct CopyResult {
    CopyOutcome outcome = CopyOutcome::Failed;
    std::vector<TableRowCount> counts;
    QString error;
};

// The row count of every table the copy covers, in copy order; -1 for a table that is missing.
std::vector<TableRowCount> CountRows(SqlConnection& connection);

// Copies `from` into `to`. A target holding rows is refused unless `replace`, which empties its
// tables first (in the same transaction).
CopyResult CopyWholeDatabase(SqlConnection& from, SqlConnection& to, bool replace,
                             const ColumnDiscoveryPolicy& policy = {});

} // namespace vantor
