#pragma once
// Offers each uploaded vibration reading to the exception list: the measures at or above their
// point's warning or critical level are recorded for the machine's exception e-mail.

#include "analysis/MeasureFormat.h"
#include "reports/mail/ExceptionList.h"
#include "store/Records.h"

namespace vantor {

// The settings collection depends on, filled by the caller from the settings record.
struct ExceptionCollectOptions {
    bool emailExceptionsOnUpload = true; // "EmailExceptionsOnUpload" non-zero
    MeasureFormat format;                // units and decimals of the value texts
};

// Warning when value ≥ warning and not ≥ critical, else critical when value ≥ critical, else none.
// Tested in this order, so with the critical level below the warning level every value at or above
// the critical level is critical.
ExceptionStatus ExceptionStatusOf(float value, float warning, float critical);

// The point entry a reading gives: each of the five measures with its status and, when reported,
// its value text. A measure is judged only when its alarm switch is on and the meter produced a
// value (−100.0 is skipped). False when nothing is in alarm.
bool MakePointException(const CVib& point, const VibReadingValues& reading, const MeasureFormat& format,
                        PointException& entry);

// Adds the reading's exceptions to the list, grouped under the machine. Nothing happens when
// exception e-mails are off or the machine has no e-mail addresses.
void CollectException(ExceptionList& list, const ExceptionCollectOptions& options, const CMachine& machine,
                      const CVib& point, const CVibReading& reading);

} // namespace vantor
