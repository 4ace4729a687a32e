#pragma once
// The exception e-mail addresses (the synchronisation database's address list) as the desktop's
// dialog reads and stores them.

#include "app/CAppData.h"
// Each address is checked as the editors check it (IsValidEmailAddress).
#include "store/Validation.h"

#include <QStringList>

#include <optional>

namespace vantor {

// The stored addresses; nothing when the synchronisation database cannot be opened (that shows its
// own message) or, after "Error loading record, please try again", when it fails.
std::optional<QStringList> LoadExceptionAddresses(CAppData& app);

// Makes the stored list `stored` into `wanted`: removes what went, adds what came. False, after
// "Error saving record, please try again" (logged), when a change could not be stored, and false
// without a message when the database cannot be opened.
bool StoreExceptionAddresses(CAppData& app, const QStringList& stored, const QStringList& wanted);

} // namespace vantor
