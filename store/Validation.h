#pragma once
// Checks the setup editors run before they write a machine, a point or a name. Each check returns
// the message to show for the first rule broken (empty when accepted); the caller shows it
// (app/EditorChecks.h shows it through the prompter).

#include "store/Records.h"

#include <QStringList>

#include <optional>

namespace vantor {

// Machine: name, meter name; on acceptance the meter name loses its non-ASCII characters and the
// e-mail column is rebuilt from the address list.
std::optional<QString> CheckMachine(CMachine& machine, const QStringList& addresses);

// Vibration point: name, meter name, running speed, then each alarm pair whose switch is on.
std::optional<QString> CheckVibPoint(CVib& vib);

// Lubrication point: name and meter name as for a machine, then the bearing alarm pair when its
// switch is on.
std::optional<QString> CheckLubePoint(CLube& lube);

// A machine's exception e-mail addresses, taken one by one as the editor adds them: a sixth is
// refused with "5 Addresses Max", an address that is not name@domain with "E-Mail Address Invalid!".
std::optional<QString> CheckMachineAddresses(const QStringList& addresses);
bool IsValidEmailAddress(const QString& address);

// Name typed into the single-field name prompt.
std::optional<QString> CheckPromptedName(const QString& name);

// Capacity checks before adding: a point to a machine holding `points` of that kind, machines to a
// route holding `items`, an address to a list holding `addresses`: the refusal's message, empty
// when there is room.
std::optional<QString> CheckPointRoom(int points);
std::optional<QString> CheckRouteItemRoom(int items);
std::optional<QString> CheckAddressRoom(int addresses);

// True when the text holds one of the characters no name may contain: * $ \ / ? > < : " |
bool HasForbiddenNameCharacter(const QString& text);

} // namespace vantor
