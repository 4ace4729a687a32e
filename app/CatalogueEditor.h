#pragma once
// The machine and point editors' logic, shared by the desktop dialogs and the command line: load a
// row for editing, store a new or changed row through the editors' validations and limits, delete
// with the cascade after asking, and move a row within its list. Every refusal shows its message
// through the prompter and stores nothing; order values are compacted after every change.

#include "app/EditOutcome.h"
#include "store/BearingRecords.h"
#include "store/MainConnection.h"
// The checks the editor runs before a write; the dialogs' fields apply the same limits while typing.
#include "store/Validation.h"

#include <QStringList>

#include <optional>

namespace vantor {

class Prompter;

// The machine's exception addresses as the editor lists them: split on ";" (or ","), trimmed,
// empty entries dropped.
QStringList SplitAddresses(const QString& text);

class CatalogueEditor {
public:
    CatalogueEditor(CMainConnection& db, Prompter& prompter);
    CMainConnection& Database() const { return db_; }

    // The row with this GUID; "Error loading record, please try again" when there is none.
    std::optional<CMachine> LoadMachine(const QString& guid);
    std::optional<CVib> LoadVib(const QString& guid);
    std::optional<CLube> LoadLube(const QString& guid);

    // Stores the row: a new one when its sItemGUID is empty (it gets a GUID and goes just before
    // the sibling `before`, or last), else the existing one in place. A new point needs its
    // machine (sParentGUID) and room on it. Gives the stored row's GUID; nothing when refused.
    std::optional<QString> SaveMachine(CMachine machine, const QStringList& addresses,
                                       const QString& before = {});
    std::optional<QString> SaveVib(CVib vib, const QString& before = {});
    std::optional<QString> SaveLube(CLube lube, const QString& before = {});
    // Stores the vibration point as SaveVib does and replaces its bearings in the same transaction
    // (the rows checked first, as BearingEditor checks them): both are stored or neither is. When
    // the bearings cannot be stored the message names them.
    std::optional<QString> SaveVibWithBearings(CVib vib, const std::vector<CPointBearing>& bearings,
                                               const QString& before = {});

    // Asks whether to delete (the row's warning and "Are you sure you want to delete?"); on Yes
    // deletes the row with everything under it. A machine also leaves every route (routes stay).
    EditOutcome DeleteMachine(const QString& guid);
    EditOutcome DeleteVib(const QString& guid);
    EditOutcome DeleteLube(const QString& guid);

    // A new point fits on the machine: the machine exists and has room for one more point of the
    // kind ("10 Points/Machine Max allowed!" otherwise).
    bool CanAddVibTo(const QString& machine);
    bool CanAddLubeTo(const QString& machine);

    // Moves the row just before the sibling `before`, or last when `before` is empty.
    EditOutcome MoveMachine(const QString& guid, const QString& before);
    EditOutcome MoveVib(const QString& guid, const QString& before);
    EditOutcome MoveLube(const QString& guid, const QString& before);

private:
    // Stores the record through `store` in one transaction with its order values. `failureText`
    // gives the message shown when it fails (asked after the failure).
    template <class R, class Store, class FailureText>
    std::optional<QString> Save(R record, ItemKind kind, const QString& before, Store store,
                                FailureText failureText);
    template <class R, class Store>
    std::optional<QString> Save(R record, ItemKind kind, const QString& before, Store store) {
        return Save(std::move(record), kind, before, store, [] { return UiText(text::ErrorSavingRecord); });
    }
    // The checks of SaveVib; the point (its machine kept) when it may be stored.
    std::optional<CVib> CheckedVib(CVib vib, const QString& before);
    template <class R, class Store>
    EditOutcome Move(std::optional<R> record, ItemKind kind, const QString& before, Store store);
    template <class Remove> EditOutcome ConfirmDelete(int warningText, Remove remove);
    // False, with "Error loading record", unless `before` is empty or a row of the list `list()`.
    template <class List> bool IsSibling(List list, const QString& before);
    template <class Count> bool CanAddPointTo(const QString& machine, Count count);

    CMainConnection& db_;
    Prompter& prompter_;
};

} // namespace vantor
