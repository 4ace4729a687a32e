#pragma once
// Alarm status of measured values and points: the status codes with their words and colours, the
// no-value marker, the classification against a point's limits, the point status over its latest
// reading, the status-table cells and the ISO 10816-3 zone limits.

#include "analysis/MeasureFormat.h"
#include "analysis/Measures.h"
#include "records/Records.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

namespace vantor {

// In increasing severity; combining statuses keeps the most severe.
enum class StatusCode : int {
    NoReadings = 0,    // no reading, or the meter produced no value
    NotConfigured = 1, // alarms are not enabled for the quantity
    InvalidData = 2,   // the stored value is not a number (NaN or infinite)
    Ok = 3,            // below the warning limit
    Warning = 4,       // at or above warning, below critical
    Critical = 5,      // at or above critical
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

QString StatusText(StatusCode code);
Rgb StatusColour(StatusCode code);
StatusCode MostSevere(StatusCode a, StatusCode b);

// The meter's "no value" is stored as −100.0; it is recognised by its exact bit pattern.
inline constexpr std::uint32_t kNoValueBits = 0xC2C80000u;
bool IsNoValue(float value);

// A value against its limits: the no-value marker gives NoReadings; a NaN or infinite value gives
// InvalidData; with alarms off NotConfigured; otherwise Ok, Warning or Critical by value ≥ limit in
// single precision, so a value equal to a limit takes the higher status.
StatusCode ClassifyValue(float value, bool alarmsOn, float warning, float critical);

// The limits that judge a measure kind: ISO velocity and the VA bands use the ISO velocity limits,
// bearing noise its own, acceleration and displacement have none (alarms never on).
struct AlarmLimits {
    bool alarmsOn = false;
    float warning = 0;
    float critical = 0;
};
AlarmLimits LimitsFor(const CVib& point, MeasureKind kind);
StatusCode ClassifyMeasure(const CVib& point, const VibReadingValues& reading, MeasureKind kind);

// A status with the date-time it belongs to (invalid when none).
struct DatedStatus {
    StatusCode code = StatusCode::NoReadings;
    QDateTime dateTime;
};
// Combines into `into`: a more severe status replaces code and date; at the same severity a later
// date replaces an earlier one.
void Combine(DatedStatus& into, const DatedStatus& next);

// The point status: the most severe of all seven measure kinds of the latest reading, with that
// reading's date-time; NoReadings (no date) without a reading.
DatedStatus PointStatus(const CVib& point, const CVibReading* latestReading);

// One measure cell of the vibration status table.
struct StatusCell {
    StatusCode code = StatusCode::NoReadings;
    QString text;
    Rgb colour;
};
// Without a reading "No Readings"; otherwise the status word, or with `valuesOn` ("Status as
// Values") the formatted value, except that a no-value marker still reads "No Readings".
StatusCell MakeStatusCell(const CVib& point, const CVibReading* latestReading, MeasureKind kind,
                          bool valuesOn, const MeasureFormat& format);

// ISO 10816-3 zone boundaries B/C (warning) and C/D (critical) in mm/s RMS, for machine groups 1 to 4
// on a rigid (0) or flexible (1) foundation; none for any other group or foundation.
enum class Foundation : int { Rigid = 0, Flexible = 1 };
struct IsoLimits {
    float warningMms = 0;
    float criticalMms = 0;
    friend bool operator==(const IsoLimits&, const IsoLimits&) = default;
};
std::optional<IsoLimits> IsoLimitsForGroup(int group, int foundation);

} // namespace vantor
