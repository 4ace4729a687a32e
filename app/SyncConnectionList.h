#pragma once
// What the lists on the secondary connection (known meters, off-route readings) share: opening the
// connection, database calls guarded so that a failure shows its message instead of escaping, and
// the confirmed delete followed by a refill.

#include "app/CAppData.h"
#include "app/EditOutcome.h"

#include <functional>
#include <memory>
#include <optional>

namespace vantor {

class SyncConnectionList {
public:
    virtual ~SyncConnectionList();
    SyncConnectionList(const SyncConnectionList&) = delete;
    SyncConnectionList& operator=(const SyncConnectionList&) = delete;

    // Opens the secondary connection and fills the list; false when it cannot be opened — the
    // list's window then closes at once.
    virtual bool Open();
    // Reads the rows again (nothing while the connection is not open).
    void Refill();

protected:
    explicit SyncConnectionList(CAppData& app);

    // Fills the rows from the open connection; may throw DatabaseError.
    virtual void FillRows(CRecordSyncConnection& sync) = 0;
    virtual void ClearRows() = 0;

    // Runs `work` on the open connection. A database error shows `failureText` when given, else
    // the error's own message; false when the work failed or threw.
    bool Guarded(const std::function<bool(CRecordSyncConnection&)>& work,
                 std::optional<int> failureText = {});

    // Asks `questionText`; on Yes removes through `remove`, then refills.
    EditOutcome ConfirmAndDelete(int questionText, const std::function<bool(CRecordSyncConnection&)>& remove);

    bool IsOpen() const { return sync_ != nullptr; }
    CRecordSyncConnection& Sync() { return *sync_; }

    CAppData& app_;
    Prompter& prompter_;

private:
    std::unique_ptr<CRecordSyncConnection> sync_;
};

} // namespace vantor
