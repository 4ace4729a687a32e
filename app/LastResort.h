#pragma once
// The last resort of a front end's event loop: an exception that escaped an event handler or a slot
// is caught where the event was delivered, logged under the front end's category, and the program
// goes on. A
// database error also shows "Connection error detected, please try again!".

#include <QLoggingCategory>
#include <QString>

#include <functional>

namespace vantor {

class Prompter;

// Runs one delivery (`deliver` answers whether the event was handled); `receiver` names the object
// for the log under `category`; `prompter` may be null (logged only). False after an exception.
bool DeliverGuarded(const std::function<bool()>& deliver, Prompter* prompter, const QString& receiver,
                    const QLoggingCategory& category);

} // namespace vantor
