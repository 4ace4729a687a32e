#include "app/FollowUpNotes.h"

#include "store/MainConnection.h"

#include <QHash>

namespace vantor {

QString AddNote(CMainConnection& db, const QString& targetGuid, const QString& text, const QString& author,
                const QDateTime& now) {
    if (text.trimmed().isEmpty()) {
        return QStringLiteral("A note needs a text; nothing was stored.");
    }
    CMachine machine;
    CVib point;
    if (!db.GetMachine(targetGuid, machine) && !db.GetVib(targetGuid, point)) {
        return QStringLiteral("No machine or vibration point %1; nothing was stored.").arg(targetGuid);
    }
    noterows::Insert(db.Connection(), {MakeItemGuid(), targetGuid, author, text.trimmed(), now});
    return {};
}

std::vector<NoteView> ListNotes(CMainConnection& db, const QStringList& targetGuids) {
    std::vector<NoteView> views;
    std::vector<NoteRow> notes = noterows::List(db.Connection(), targetGuids);
    if (notes.empty()) {
        return views;
    }
    QHash<QString, QString> machines;
    for (const CMachine& machine : db.ListMachines()) {
        machines.insert(machine.sItemGUID, machine.sName);
    }
    QHash<QString, CVib> points;
    for (CVib& vib : db.ListVibs({})) {
        points.insert(vib.sItemGUID, std::move(vib));
    }
    for (NoteRow& note : notes) {
        NoteView view{std::move(note), {}, {}};
        if (const auto point = points.constFind(view.note.targetGuid); point != points.cend()) {
            view.machineName = machines.value(point->sParentGUID);
            view.pointName = point->sName;
        } else {
            view.machineName = machines.value(view.note.targetGuid);
        }
        views.push_back(std::move(view));
    }
    return views;
}

} // namespace vantor
