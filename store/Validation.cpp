#include "store/Validation.h"

#include "store/Limits.h"
#include "store/RecordFields.h"
#include "texts/UiText.h"

#include <cmath>
#include <initializer_list>
#include <limits>

namespace vantor {
namespace {

constexpr int kAddressMaxLength = 254; // the longest address mail transport accepts

// Rules 1 to 7, shared by machines and points: the name, then the meter name (stripped of
// characters outside ASCII once it has passed).
std::optional<QString> CheckNames(const QString& name, QString& meterName) {
    if (name.isEmpty()) {
        return UiText(text::PleaseInputName);
    }
    if (HasForbiddenNameCharacter(name)) {
        return UiText(text::NameForbiddenCharacters);
    }
    if (HasControlCharacter(name)) {
        return NameControlCharacterMessage();
    }
    if (name.size() > kNameMaxLength) {
        return UiText(text::NameMaxLength50);
    }
    if (meterName.isEmpty()) {
        return UiText(text::PleaseInputMeterName);
    }
    if (HasForbiddenNameCharacter(meterName)) {
        return UiText(text::MeterNameForbiddenCharacters);
    }
    // The meter's command line separates its fields with commas and ends at a carriage return:
    // a meter name holding either would shift or end the command it is sent in.
    if (HasControlCharacter(meterName) || meterName.contains(QLatin1Char(','))) {
        return MeterNameSeparatorMessage();
    }
    if (meterName.size() > kMeterNameMaxLength) {
        return UiText(text::MeterNameMaxLength14);
    }
    QString ascii;
    for (const QChar c : meterName) {
        if (c.unicode() < 128) {
            ascii += c;
        }
    }
    meterName = ascii;
    return std::nullopt;
}

bool AllFinite(std::initializer_list<float> values) {
    for (const float value : values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

std::optional<QString> CheckAlarmPair(float warning, float critical) {
    if (!(warning >= 0) || !(critical >= 0)) {
        return UiText(text::ValueMustBePositive);
    }
    if (!(critical > warning)) {
        return UiText(text::CriticalMustExceedWarning);
    }
    return std::nullopt;
}

std::optional<QString> CheckRoom(int count, int limit, int textIndex) {
    if (count < limit) {
        return std::nullopt;
    }
    return QString::asprintf("%d %s", limit, qUtf8Printable(UiText(textIndex)));
}

} // namespace

QString NameControlCharacterMessage() {
    return QStringLiteral(
        "Name cannot contain line breaks, tabs or other control characters.\r\nPlease re-type!");
}

QString MeterNameSeparatorMessage() {
    return QStringLiteral("Name (VibMeter) cannot contain commas, line breaks, tabs or other control "
                          "characters.\r\nPlease re-type!");
}

QString AlarmLevelNotFiniteMessage() {
    return QStringLiteral("Value must be a finite number");
}

QString RunSpeedOutOfRangeMessage() {
    return QStringLiteral("Running Speed must be at most %1 Hz (%2 RPM)")
        .arg(kMaxRunSpeedHz)
        .arg(kMaxRunSpeedHz * 60);
}

std::optional<QString> CheckRunSpeed(double hz) {
    const float stored = AsStoredFloat(hz);
    if (!(stored > 0)) {
        return UiText(text::RunSpeedMustBePositive);
    }
    if (!(stored <= kMaxRunSpeedHz)) { // also infinity
        return RunSpeedOutOfRangeMessage();
    }
    return std::nullopt;
}

float AsStoredFloat(double value) {
    // Beyond the float range the conversion is undefined; the column would hold infinity.
    if (std::isnan(value)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return value > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

std::optional<QString> CheckFloatValue(const QString& name, double value, const FloatRange& range) {
    const QString shown = QString::number(value, 'g', 6);
    const float stored = AsStoredFloat(value);
    if (!std::isfinite(stored)) {
        return QStringLiteral("%1: %2 is not a finite number").arg(name, shown);
    }
    const double v = stored;
    const bool aboveLow = range.lowOpen ? v > range.low : v >= range.low;
    const bool belowHigh = range.highOpen ? v < range.high : v <= range.high;
    if (aboveLow && belowHigh) {
        return std::nullopt;
    }
    const QString low = QString::number(range.low, 'g', 6);
    const QString high = QString::number(range.high, 'g', 6);
    const QString lowText =
        range.lowOpen ? QStringLiteral("above %1").arg(low) : QStringLiteral("at least %1").arg(low);
    const QString highText =
        range.highOpen ? QStringLiteral("below %1").arg(high) : QStringLiteral("at most %1").arg(high);
    // A value the float rounds away (1e-300 becomes 0) is named with what would be stored.
    const QString kept = QString::number(v, 'g', 6);
    const QString stated = kept != shown ? QStringLiteral("%1 (stored as %2)").arg(shown, kept) : shown;
    return QStringLiteral("%1: %2 must be %3 and %4").arg(name, stated, lowText, highText);
}

bool HasControlCharacter(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || c.category() == QChar::Other_Format ||
            u == 0x2028 || u == 0x2029) {
            return true;
        }
    }
    return false;
}

bool HasForbiddenNameCharacter(const QString& text) {
    static const QString forbidden = QStringLiteral("*$\\/?><:\"|");
    for (const QChar c : text) {
        if (forbidden.contains(c)) {
            return true;
        }
    }
    return false;
}

std::optional<QString> CheckMachine(CMachine& machine, const QStringList& addresses) {
    QString meterName = machine.sVMName;
    if (auto message = CheckNames(machine.sName, meterName)) {
        return message;
    }
    machine.sVMName = meterName;
    machine.sEMails = addresses.join(QLatin1Char(';'));
    return std::nullopt;
}

std::optional<QString> CheckVibPoint(CVib& vib) {
    QString meterName = vib.sVMName;
    if (auto message = CheckNames(vib.sName, meterName)) {
        return message;
    }
    if (auto message = CheckRunSpeed(vib.fRunSpeedHz)) {
        return message;
    }
    // Every level goes to the meter whether its alarms are on or not: none may be infinite.
    if (!AllFinite({vib.fISOWarningMMS, vib.fISOCriticalMMS, vib.fBDUWarning, vib.fBDUCritical})) {
        return AlarmLevelNotFiniteMessage();
    }
    if (vib.bISOAlarmsOn) {
        if (auto message = CheckAlarmPair(vib.fISOWarningMMS, vib.fISOCriticalMMS)) {
            return message;
        }
    }
    if (vib.bBDUAlarmsOn) {
        if (auto message = CheckAlarmPair(vib.fBDUWarning, vib.fBDUCritical)) {
            return message;
        }
    }
    vib.sVMName = meterName;
    return std::nullopt;
}

std::optional<QString> CheckLubePoint(CLube& lube) {
    QString meterName = lube.sVMName;
    if (auto message = CheckNames(lube.sName, meterName)) {
        return message;
    }
    if (!AllFinite({lube.fBDUWarning, lube.fBDUCritical})) {
        return AlarmLevelNotFiniteMessage();
    }
    if (lube.bBDUAlarmsOn) {
        if (auto message = CheckAlarmPair(lube.fBDUWarning, lube.fBDUCritical)) {
            return message;
        }
    }
    lube.sVMName = meterName;
    return std::nullopt;
}

bool IsValidEmailAddress(const QString& address) {
    // One '@' between a non-empty local part and a domain of dot-separated labels; nothing that
    // would split or break a recipient list (blanks, separators, angle brackets, quotes).
    static const QString unsafe = QStringLiteral(" \t\r\n;,<>\"()[]\\");
    if (address.size() > kAddressMaxLength) {
        return false;
    }
    for (const QChar c : address) {
        if (unsafe.contains(c) || c.unicode() < 32) {
            return false;
        }
    }
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (at <= 0 || at != address.lastIndexOf(QLatin1Char('@'))) {
        return false;
    }
    const QStringList labels = address.mid(at + 1).split(QLatin1Char('.'));
    if (labels.size() < 2) {
        return false;
    }
    for (const QString& label : labels) {
        if (label.isEmpty() || label.startsWith(QLatin1Char('-')) || label.endsWith(QLatin1Char('-'))) {
            return false;
        }
    }
    return true;
}

std::optional<QString> CheckMachineAddresses(const QStringList& addresses) {
    int accepted = 0;
    qsizetype joined = 0;
    for (const QString& address : addresses) {
        if (accepted >= kAddressesPerMachine) {
            return UiText(text::FiveAddressesMax);
        }
        // The joined list must fit its column whole: a cut-off list would end in a broken address.
        joined += (accepted > 0 ? 1 : 0) + address.size();
        if (!IsValidEmailAddress(address) || joined > kTextColumnLimit) {
            return UiText(text::EmailAddressInvalid);
        }
        ++accepted;
    }
    return std::nullopt;
}

std::optional<QString> CheckPromptedName(const QString& name) {
    if (name.isEmpty()) {
        return UiText(text::PleaseInputName);
    }
    if (HasForbiddenNameCharacter(name)) {
        return UiText(text::NamePromptForbiddenCharacters);
    }
    if (HasControlCharacter(name)) {
        return NameControlCharacterMessage();
    }
    return std::nullopt;
}

std::optional<QString> CheckPointRoom(int points) {
    return CheckRoom(points, kPointsPerMachine, text::PointsPerMachineMax);
}

std::optional<QString> CheckRouteItemRoom(int items) {
    return CheckRoom(items, kMachinesPerRoute, text::MachinesPerRouteMax);
}

std::optional<QString> CheckAddressRoom(int addresses) {
    if (addresses < kAddressesPerMachine) {
        return std::nullopt;
    }
    return UiText(text::FiveAddressesMax);
}

} // namespace vantor
