#include "cli/Commands.h"

#include "app/EditOutcome.h"
#include "app/Startup.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "cli/RowFormat.h"
#include "platform/Prompter.h"
#include "store/Validation.h"
#include "texts/UiText.h"

namespace vantor::cli {
namespace {

template <class R> int Print(const std::vector<R>& records, const ListOptions& options, std::FILE* out) {
    const auto rows = RowsOf(records);
    PrintBytes(out, options.json ? RowsAsJson(rows) : RowsAsText(ColumnNames<R>(), rows).toUtf8());
    return kDone;
}

int ListMain(CMainConnection& db, const ListOptions& o, std::FILE* out) {
    if (o.what == QLatin1String("machines")) {
        return Print(db.ListMachines(), o, out);
    }
    if (o.what == QLatin1String("vibs")) {
        return Print(db.ListVibs(o.parent), o, out);
    }
    if (o.what == QLatin1String("lubes")) {
        return Print(db.ListLubes(o.parent), o, out);
    }
    if (o.what == QLatin1String("readings")) {
        return Print(db.ListVibReadings(o.parent), o, out);
    }
    if (o.what == QLatin1String("routes")) {
        return Print(db.ListRoutes(), o, out);
    }
    return Print(db.ListRouteItems(o.parent), o, out);
}

int ListSecondary(CAppData& app, const ListOptions& o, std::FILE* out) {
    auto sync = app.MakeSyncConnection();
    if (!sync->Open()) {
        return kFailed;
    }
    if (o.what == QLatin1String("devices")) {
        return Print(sync->ListDevices(), o, out);
    }
    if (o.what == QLatin1String("offroute")) {
        return Print(sync->ListOffRouteReadings(), o, out);
    }
    std::vector<CEmailAddress> addresses;
    for (const QString& address : sync->ListEmailAddresses()) {
        addresses.push_back(CEmailAddress{address});
    }
    return Print(addresses, o, out);
}

} // namespace

int RunInit(CAppData& app) {
    return InitDataRoot(app) ? kDone : kFailed;
}

int RunList(CAppData& app, const ListOptions& options, std::FILE* out) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    const bool secondary = options.what == QLatin1String("devices") ||
                           options.what == QLatin1String("offroute") ||
                           options.what == QLatin1String("emails");
    return secondary ? ListSecondary(app, options, out) : ListMain(*app.MainConnection(), options, out);
}

int RunEmailAdd(CAppData& app, const QString& address) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    // The same checks as the desktop's address list: a valid address, and room for a new one.
    if (!IsValidEmailAddress(address)) {
        app.UserPrompter().ShowMessage(UiText(text::EmailAddressInvalid));
        return kFailed;
    }
    auto sync = app.MakeSyncConnection();
    if (!sync->Open()) {
        return kFailed;
    }
    const QStringList stored = sync->ListEmailAddresses();
    if (stored.contains(address, Qt::CaseInsensitive)) {
        return kDone; // listed already (addresses are not case-sensitive)
    }
    if (!Accepted(CheckAddressRoom(static_cast<int>(stored.size())), app.UserPrompter())) {
        return kFailed;
    }
    return sync->AddEmailAddress(address) ? kDone : kFailed;
}

int RunEmailRemove(CAppData& app, const QString& address) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    auto sync = app.MakeSyncConnection();
    return sync->Open() && sync->RemoveEmailAddress(address) ? kDone : kFailed;
}

} // namespace vantor::cli
