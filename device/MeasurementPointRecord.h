#pragma once
// The measurement-point record a meter sends for "CMD*GETMP": collecting the reply with its two
// 4096-byte captures, judging it, and parsing its 33-field text header into a reading.

#include "device/MeterResults.h"
#include "store/Records.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace vantor {

class CMeterLink;

inline constexpr int kMeasurementCaptureBytes = 4096;

// A reply as collected: its text (every byte as the character with its code) and the captures.
struct MeasurementPointReply {
    QString text;
    QByteArray isoCapture;
    QByteArray totalCapture;
};

// The header values the upload uses besides the reading's own columns.
struct MeasurementPointHeader {
    QString pointGuid;   // MPGUID wrapped in braces
    QString pointName;   // MPName as sent
    QString machineGuid; // AGUID wrapped in braces
    QString machineName; // AName as sent
    float bduWarningDefault = 0;
    float bduCriticalDefault = 0;
    float isoWarningDefault = 0;
    float isoCriticalDefault = 0;
    QString taken; // TND as sent
    // The measured values, run speed and capture set-up; GUIDs, device copies, date and captures
    // are left to the caller.
    VibReadingValues values;
};

// Feeds every byte of a reply to the two captures: once "ISO=" (or "Total=") has appeared in the
// text, the following bytes go to that capture until it holds 4096.
class CaptureSplitter {
public:
    void Take(unsigned char byte, const QString& replyText);
    MeasurementPointReply Finish(QString text);

private:
    QByteArray iso_;
    QByteArray total_;
    bool isoOn_ = false;
    bool totalOn_ = false;
    qsizetype isoChecked_ = 0;
    qsizetype totalChecked_ = 0;
};

// Sends the request for slot `slot` of meter point `meterPoint` and collects the reply until the
// line falls silent. 0, or -36 when the command was not written completely.
int CollectMeasurementPoint(CMeterLink& link, int meterPoint, int slot, MeasurementPointReply& reply);

// Judges a collected reply: "ERROR" (-37), no "OK" (-38), no echo (-39), ISO capture not 4096
// bytes (-40), total capture not 4096 bytes (-41). 0 when none applies.
int JudgeMeasurementPointReply(const MeasurementPointReply& reply, const QString& command);

// Parses the header after "MP Header=": each key searched from the end of the previous value, its
// value ending at the next "<". 0, -42 without the header, or the key's own code when a key or its
// "<" is missing (a "<" found only after the next key counts as missing).
int ParseMeasurementPointHeader(const QString& replyText, MeasurementPointHeader& header);

// Number conversions of header values: a decimal real (leading blanks skipped, stops at the first
// character that does not fit, 0 when nothing fits) and the leading decimal digits of an integer.
double HeaderReal(const QString& value);
int HeaderInteger(const QString& value);

// The date-time of a "TND" value: year, month, day, hour, minute, second at fixed positions
// ("2026-11-30T09:15:00..."). Invalid when they do not form a date-time.
QDateTime HeaderDateTime(const QString& value);

} // namespace vantor
