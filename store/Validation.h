#pragma once
// Checks the setup editors run before they write a machine, a point or a name. Each check returns
// the message to show for the first rule broken (empty when accepted); the caller shows it
// (app/EditorChecks.h shows it through the prompter).

#include "records/Records.h"
#include "records/RunSpeedLimit.h"

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

// The longest name and meter name the checks accept (the editors' fields stop there while typing).
inline constexpr int kNameMaxLength = 50;
inline constexpr int kMeterNameMaxLength = 14;

// True when the text holds one of the characters no name may contain: * $ \ / ? > < : " |
bool HasForbiddenNameCharacter(const QString& text);
// True when the text holds a control character (C0, DEL, C1), a line or paragraph separator or an
// invisible format character. No name may: they would break the meter's command line, the
// e-mails and the exported sheets.
bool HasControlCharacter(const QString& text);

// "Running Speed must be > 0" for zero, negative or not-a-number; the range message for a speed
// above kMaxRunSpeedHz or infinite. The speed is judged as the float its column keeps: 1e-300 Hz
// is 0 there and refused.
std::optional<QString> CheckRunSpeed(double hz);

// ---- values kept in float columns ---------------------------------------------------------------
// Every value the editors, the command options and the spreadsheets store in a float column is
// judged as that float: a double that is finite may still become infinity (1e300) or 0 (1e-300)
// when stored. The readers of stored values judge them with the same ranges, since a file written
// by an older version may hold anything.

// The interval a value must lie in; an open end excludes its bound.
struct FloatRange {
    double low = 0;
    double high = 0;
    bool lowOpen = false;
    bool highOpen = false;
};
// The value as its float column keeps it.
float AsStoredFloat(double value);
// The message refusing `value` for the field `name` ("Pitch diameter mm: 1e+300 is not a finite
// number"), or none when its float is finite and inside the range.
std::optional<QString> CheckFloatValue(const QString& name, double value, const FloatRange& range);

// The messages of the rules added to the editors' checks.
QString NameControlCharacterMessage();
QString MeterNameSeparatorMessage();
QString AlarmLevelNotFiniteMessage();
QString RunSpeedOutOfRangeMessage();

} // namespace vantor
