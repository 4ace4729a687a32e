#pragma once
// The commands of the `vantor` program, each returning its exit status. Every command but init runs
// the headless start-up first.

#include "app/CAppData.h"

#include <QString>

#include <cstdio>

namespace vantor::cli {

int RunInit(CAppData& app);

struct ListOptions {
    QString what; // machines, vibs, lubes, readings, routes, route-items, devices, offroute, emails
    QString parent;
    bool json = false;
};
inline constexpr const char* kListables[] = {"machines",    "vibs",    "lubes",    "readings", "routes",
                                             "route-items", "devices", "offroute", "emails"};
int RunList(CAppData& app, const ListOptions& options, std::FILE* out = stdout);

int RunEmailAdd(CAppData& app, const QString& address);
int RunEmailRemove(CAppData& app, const QString& address);

} // namespace vantor::cli
