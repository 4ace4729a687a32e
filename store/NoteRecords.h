#pragma once
// Dated notes on a machine or a point (tblNotes), with their author. Notes are only added.

#include "store/SqlConnection.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace vantor {

struct NoteRow {
    QString guid;
    QString targetGuid; // a machine or a vibration point
    QString author;
    QString text;
    QDateTime written;
};

// Throw DatabaseError when a statement cannot run.
namespace noterows {

void Insert(SqlConnection& connection, const NoteRow& row);
// Oldest first; every note when `targetGuids` is empty, else those on the given machines and points.
std::vector<NoteRow> List(SqlConnection& connection, const QStringList& targetGuids = {});

} // namespace noterows
} // namespace vantor
