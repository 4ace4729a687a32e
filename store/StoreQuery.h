#pragma once
// The free-text statements of the store, each written once in a named list beside the code that
// runs it (derived rows, alarm settings, imported-reading marks). Names of the documented tables'
// columns are bracketed ([sItemGUID]) and quoted for the engine by its dialect, as the record
// access layer writes them; the added tables' own names are plain, which every engine folds alike.
// Code runs a statement only through its list entry, and AllStoreQueries() gathers the lists, so a
// test runs every statement on each engine and a new one cannot be left out.

#include <QString>

#include <vector>

namespace vantor {

struct StoreQuery {
    const char* name; // "module: what it does", for messages
    QString sql;      // bracketed documented names, plain added names, `?` marks
};

// Every statement of every list, in list order.
std::vector<StoreQuery> AllStoreQueries();

} // namespace vantor
