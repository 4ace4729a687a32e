#pragma once
// How the catalogue commands name rows: by GUID, or (machines and routes) by a name that only one
// row carries. Unknown or ambiguous keys give an empty GUID.

#include "store/MainConnection.h"

#include <QString>

#include <cstdio>

namespace vantor::cli {

QString FindMachineGuid(CMainConnection& db, const QString& key);
QString FindRouteByKey(CMainConnection& db, const QString& key);

// Prints a new row's GUID on standard output, one per line.
void PrintGuid(const QString& guid, std::FILE* out = stdout);

} // namespace vantor::cli
