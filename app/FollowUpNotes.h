#pragma once
// Dated notes on a machine or a vibration point, with their author; shown in the views' time axis
// and in the report.

#include "store/NoteRecords.h"

#include <QString>

#include <vector>

namespace vantor {

class CMainConnection;

struct NoteView {
    NoteRow note;
    QString machineName;
    QString pointName; // empty for a note on a machine
};

// Adds a note on the machine or point named by GUID. The message on bad input (unknown machine or
// point, empty text), nothing stored; empty when done. Throws DatabaseError.
QString AddNote(CMainConnection& db, const QString& targetGuid, const QString& text, const QString& author,
                const QDateTime& now = QDateTime::currentDateTime());

// Notes oldest first with their machine and point names; those on the given machines and points
// only when `targetGuids` is not empty. Throws DatabaseError.
std::vector<NoteView> ListNotes(CMainConnection& db, const QStringList& targetGuids = {});

} // namespace vantor
