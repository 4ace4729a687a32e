#include "app/ExceptionAddresses.h"

#include "app/EditOutcome.h"

namespace vantor {

std::optional<QStringList> LoadExceptionAddresses(CAppData& app) {
    auto sync = app.MakeSyncConnection();
    if (!sync->Open()) {
        qCWarning(lcApp) << "the exception addresses could not be read: no synchronisation database";
        return std::nullopt;
    }
    return ReadShown(app.UserPrompter(), QStringLiteral("reading the exception addresses"),
                     [&sync] { return sync->ListEmailAddresses(); });
}

bool StoreExceptionAddresses(CAppData& app, const QStringList& stored, const QStringList& wanted) {
    auto sync = app.MakeSyncConnection();
    if (!sync->Open()) {
        qCWarning(lcApp) << "the exception addresses could not be stored: no synchronisation database";
        return false;
    }
    const auto store = [&] {
        bool done = true;
        for (const QString& address : stored) {
            if (!wanted.contains(address)) {
                done = sync->RemoveEmailAddress(address) && done;
            }
        }
        for (const QString& address : wanted) {
            done = sync->AddEmailAddress(address) && done;
        }
        return done;
    };
    bool done = false;
    try {
        done = store();
    } catch (const DatabaseError& error) {
        qCWarning(lcApp) << "storing the exception addresses failed:" << error.what();
    }
    if (!done) {
        qCWarning(lcApp) << "the exception addresses were not all stored";
        app.UserPrompter().ShowMessage(UiText(text::ErrorSavingRecord));
    }
    return done;
}

} // namespace vantor
