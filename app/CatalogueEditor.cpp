#include "app/CatalogueEditor.h"

#include "app/BearingEditor.h"
#include "platform/Prompter.h"
#include "store/Validation.h"
#include "texts/UiText.h"

#include <QRegularExpression>

#include <algorithm>
#include <set>

namespace vantor {
namespace {

QString ParentOf(const CMachine&) {
    return {};
}
template <class Point> QString ParentOf(const Point& point) {
    return point.sParentGUID;
}

} // namespace

QStringList SplitAddresses(const QString& text) {
    QStringList addresses;
    for (const QString& part : text.split(QRegularExpression(QStringLiteral("[;,]")))) {
        const QString address = part.trimmed();
        if (!address.isEmpty()) {
            addresses << address;
        }
    }
    return addresses;
}

CatalogueEditor::CatalogueEditor(CMainConnection& db, Prompter& prompter) : db_(db), prompter_(prompter) {}

std::optional<CMachine> CatalogueEditor::LoadMachine(const QString& guid) {
    return LoadForEdit<CMachine>(guid, prompter_,
                                 [this](const QString& g, CMachine& m) { return db_.GetMachine(g, m); });
}

std::optional<CVib> CatalogueEditor::LoadVib(const QString& guid) {
    return LoadForEdit<CVib>(guid, prompter_, [this](const QString& g, CVib& v) { return db_.GetVib(g, v); });
}

std::optional<CLube> CatalogueEditor::LoadLube(const QString& guid) {
    return LoadForEdit<CLube>(guid, prompter_,
                              [this](const QString& g, CLube& l) { return db_.GetLube(g, l); });
}

template <class List> bool CatalogueEditor::IsSibling(List list, const QString& before) {
    if (before.isEmpty()) {
        return true;
    }
    const auto rows = ReadShown(prompter_, QStringLiteral("listing the siblings of %1").arg(before), list);
    if (!rows) {
        return false;
    }
    if (std::any_of(rows->cbegin(), rows->cend(),
                    [&before](const auto& row) { return row.sItemGUID == before; })) {
        return true;
    }
    // A row of another list would place this one among strangers' order values.
    prompter_.ShowMessage(UiText(text::ErrorLoadingRecord));
    return false;
}

template <class Count> bool CatalogueEditor::CanAddPointTo(const QString& machine, Count count) {
    if (!LoadMachine(machine)) {
        return false;
    }
    const std::optional<int> points =
        ReadShown(prompter_, QStringLiteral("counting the points of machine %1").arg(machine), count);
    return points && Accepted(CheckPointRoom(*points), prompter_);
}

bool CatalogueEditor::CanAddVibTo(const QString& machine) {
    return CanAddPointTo(machine, [&] { return db_.CountVibs(machine); });
}

bool CatalogueEditor::CanAddLubeTo(const QString& machine) {
    return CanAddPointTo(machine, [&] { return db_.CountLubes(machine); });
}

template <class R, class Store, class FailureText>
std::optional<QString> CatalogueEditor::Save(R record, ItemKind kind, const QString& before, Store store,
                                             FailureText failureText) {
    const QString parent = ParentOf(record);
    const bool isNew = record.sItemGUID.isEmpty();
    bool stored = false;
    try {
        SqlConnection::Transaction transaction(db_.Connection());
        if (isNew) {
            // Compacted first, so that the count placing a new row last is past every order value.
            db_.RenumberOrder(static_cast<int>(kind), parent);
            record.sItemGUID = MakeItemGuid();
            record.fOrder = db_.NextOrder(kind, parent, before);
        }
        stored = store(record);
        if (stored && isNew) {
            db_.RenumberOrder(static_cast<int>(kind), parent);
        }
        stored = stored && transaction.Commit();
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "storing record" << record.sItemGUID << "failed:" << error.what();
        stored = false;
    }
    if (!stored) {
        prompter_.ShowMessage(failureText());
        return std::nullopt;
    }
    return record.sItemGUID;
}

std::optional<QString> CatalogueEditor::SaveMachine(CMachine machine, const QStringList& addresses,
                                                    const QString& before) {
    if (!machine.sItemGUID.isEmpty() && !LoadMachine(machine.sItemGUID)) {
        return std::nullopt;
    }
    if (!IsSibling([&] { return db_.ListMachines(); }, before)) {
        return std::nullopt;
    }
    std::optional<QString> refused = CheckMachine(machine, addresses);
    if (!refused) {
        refused = CheckMachineAddresses(addresses);
    }
    if (refused) {
        prompter_.ShowMessage(*refused);
        return std::nullopt;
    }
    return Save(machine, ItemKind::Machines, before,
                [this](const CMachine& m) { return db_.UpsertMachine(m); });
}

std::optional<CVib> CatalogueEditor::CheckedVib(CVib vib, const QString& before) {
    if (vib.sItemGUID.isEmpty()) {
        if (!CanAddVibTo(vib.sParentGUID)) {
            return std::nullopt;
        }
    } else {
        const std::optional<CVib> stored = LoadVib(vib.sItemGUID);
        if (!stored) {
            return std::nullopt;
        }
        vib.sParentGUID = stored->sParentGUID; // a point stays on its machine
    }
    if (!IsSibling([&] { return db_.ListVibs(vib.sParentGUID); }, before) ||
        !Accepted(CheckVibPoint(vib), prompter_)) {
        return std::nullopt;
    }
    return vib;
}

std::optional<QString> CatalogueEditor::SaveVib(CVib vib, const QString& before) {
    const std::optional<CVib> checked = CheckedVib(std::move(vib), before);
    if (!checked) {
        return std::nullopt;
    }
    return Save(*checked, ItemKind::VibPoints, before, [this](const CVib& v) { return db_.UpsertVib(v); });
}

std::optional<QString> CatalogueEditor::SaveVibWithBearings(CVib vib,
                                                            const std::vector<CPointBearing>& bearings,
                                                            const QString& before) {
    BearingEditor bearingEditor(db_, prompter_);
    const std::optional<CVib> checked = CheckedVib(std::move(vib), before);
    if (!checked || !bearingEditor.AcceptPointBearings(bearings)) {
        return std::nullopt;
    }
    // Which step failed decides the message: the point's own row, or its bearings after it.
    bool bearingsFailed = false;
    const auto store = [&](const CVib& v) {
        if (!db_.UpsertVib(v)) {
            return false;
        }
        bearingsFailed = true; // until they are stored: a DatabaseError may leave from here
        bearingsFailed = !bearingEditor.StorePointBearings(v.sItemGUID, bearings);
        if (bearingsFailed) {
            qCWarning(lcApp) << "the bearings of point" << v.sItemGUID << "were not stored";
        }
        return !bearingsFailed;
    };
    // "Bearings: Error saving record, please try again" names the part that could not be stored.
    return Save(*checked, ItemKind::VibPoints, before, store, [&bearingsFailed] {
        return bearingsFailed ? QStringLiteral("%1: %2").arg(UiText(text::added::Bearings),
                                                             UiText(text::ErrorSavingRecord))
                              : UiText(text::ErrorSavingRecord);
    });
}

std::optional<QString> CatalogueEditor::SaveLube(CLube lube, const QString& before) {
    if (lube.sItemGUID.isEmpty()) {
        if (!CanAddLubeTo(lube.sParentGUID)) {
            return std::nullopt;
        }
    } else {
        const std::optional<CLube> stored = LoadLube(lube.sItemGUID);
        if (!stored) {
            return std::nullopt;
        }
        lube.sParentGUID = stored->sParentGUID;
    }
    if (!IsSibling([&] { return db_.ListLubes(lube.sParentGUID); }, before)) {
        return std::nullopt;
    }
    if (const std::optional<QString> refused = CheckLubePoint(lube)) {
        prompter_.ShowMessage(*refused);
        return std::nullopt;
    }
    return Save(lube, ItemKind::LubePoints, before, [this](const CLube& l) { return db_.UpsertLube(l); });
}

template <class Remove> EditOutcome CatalogueEditor::ConfirmDelete(int warningText, Remove remove) {
    if (!prompter_.AskYesNo(
            QStringLiteral("%1\r\n%2").arg(UiText(warningText), UiText(text::AreYouSureDelete)))) {
        return EditOutcome::Declined;
    }
    bool removed = false;
    try {
        removed = remove();
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "deleting failed:" << error.what();
        prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
        return EditOutcome::Failed;
    }
    // A refused delete has shown its own warning (a cache file that could not be removed).
    return removed ? EditOutcome::Done : EditOutcome::Failed;
}

EditOutcome CatalogueEditor::DeleteMachine(const QString& guid) {
    if (!LoadMachine(guid)) {
        return EditOutcome::Failed;
    }
    return ConfirmDelete(text::DeleteMachineWarning, [this, &guid] {
        // The routes that list the machine, so that their items can be compacted afterwards.
        std::set<QString> routes;
        db_.WalkAllRouteItems([&](const CRouteItem& item) {
            if (item.sMachineGUID == guid) {
                routes.insert(item.sParentGUID);
            }
            return true;
        });
        SqlConnection::Batch batch(db_.Connection());
        if (!db_.RemoveMachine(guid)) {
            return false;
        }
        for (const QString& route : routes) {
            db_.RenumberOrder(static_cast<int>(ItemKind::RouteItems), route);
        }
        return true;
    });
}

EditOutcome CatalogueEditor::DeleteVib(const QString& guid) {
    const std::optional<CVib> vib = LoadVib(guid);
    if (!vib) {
        return EditOutcome::Failed;
    }
    return ConfirmDelete(text::DeleteVibPointWarning, [this, &vib] {
        SqlConnection::Batch batch(db_.Connection());
        const bool removed = db_.DeleteVib(vib->sItemGUID);
        db_.RenumberOrder(static_cast<int>(ItemKind::VibPoints), vib->sParentGUID);
        return removed;
    });
}

EditOutcome CatalogueEditor::DeleteLube(const QString& guid) {
    const std::optional<CLube> lube = LoadLube(guid);
    if (!lube) {
        return EditOutcome::Failed;
    }
    return ConfirmDelete(text::DeleteLubePointWarning, [this, &lube] {
        SqlConnection::Batch batch(db_.Connection());
        const bool removed = db_.DeleteLube(lube->sItemGUID);
        db_.RenumberOrder(static_cast<int>(ItemKind::LubePoints), lube->sParentGUID);
        return removed;
    });
}

template <class R, class Store>
EditOutcome CatalogueEditor::Move(std::optional<R> record, ItemKind kind, const QString& before,
                                  Store store) {
    if (!record) {
        return EditOutcome::Failed;
    }
    if (before == record->sItemGUID) {
        return EditOutcome::Done;
    }
    const QString parent = ParentOf(*record);
    try {
        SqlConnection::Transaction transaction(db_.Connection());
        db_.RenumberOrder(static_cast<int>(kind), parent);
        record->fOrder = db_.NextOrder(kind, parent, before);
        if (store(*record)) {
            db_.RenumberOrder(static_cast<int>(kind), parent);
            if (transaction.Commit()) {
                return EditOutcome::Done;
            }
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "moving record" << record->sItemGUID << "failed:" << error.what();
    }
    prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
    return EditOutcome::Failed;
}

EditOutcome CatalogueEditor::MoveMachine(const QString& guid, const QString& before) {
    std::optional<CMachine> machine = LoadMachine(guid);
    if (machine && !IsSibling([&] { return db_.ListMachines(); }, before)) {
        return EditOutcome::Failed;
    }
    return Move(machine, ItemKind::Machines, before,
                [this](const CMachine& m) { return db_.UpsertMachine(m); });
}

EditOutcome CatalogueEditor::MoveVib(const QString& guid, const QString& before) {
    std::optional<CVib> vib = LoadVib(guid);
    if (vib && !IsSibling([&] { return db_.ListVibs(vib->sParentGUID); }, before)) {
        return EditOutcome::Failed;
    }
    return Move(vib, ItemKind::VibPoints, before, [this](const CVib& v) { return db_.UpsertVib(v); });
}

EditOutcome CatalogueEditor::MoveLube(const QString& guid, const QString& before) {
    std::optional<CLube> lube = LoadLube(guid);
    if (lube && !IsSibling([&] { return db_.ListLubes(lube->sParentGUID); }, before)) {
        return EditOutcome::Failed;
    }
    return Move(lube, ItemKind::LubePoints, before, [this](const CLube& l) { return db_.UpsertLube(l); });
}

} // namespace vantor
