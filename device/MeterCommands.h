#pragma once
// The meter's commands, one function per operation. Each discards the port queues, sends its
// command line, collects the complete reply and returns 0 or the operation's own negative code
// (device/MeterResults.h). Nothing is retried here.

#include "store/Records.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace vantor {

class CMeterLink;
class Prompter;

// The five fields of the GetInfo reply.
struct MeterInfo {
    QString version;   // decimal text such as "1.1"
    QString guid;      // the meter's identity, without braces
    QString serial;    // serial number
    QString btAddress; // wireless address
    int number = 0;    // fifth field, leading decimal digits
};

// Per meter point (index 0 first), one flag per reading slot: set when the slot holds a reading not
// yet uploaded.
inline constexpr int kSlotsPerMeterPoint = 10;
using SlotFlags = std::array<bool, kSlotsPerMeterPoint>;
using NewDataFlags = std::vector<SlotFlags>;

// Why a machine or a point cannot go onto the meter's command line; nullopt when it can. Checked
// where the command is built: each GUID (braces removed) is 8-4-4-4-12 hexadecimal digits, each
// meter name 1 to 14 characters without control characters or commas (the command's field
// separator; a carriage return would end the command and start another), every number finite.
// The reason names the machine or the point.
std::optional<QString> AssetCommandProblem(const CMachine& machine);
std::optional<QString> MeasurementPointCommandProblem(const CMachine& machine, const CVib& point);

// Command texts, without the carriage return. Only for records the checks above accept.
QString CreateAssetCommand(const CMachine& machine);
QString CreateMeasurementPointCommand(const CMachine& machine, const CVib& point);
QString GetMeasurementPointCommand(int meterPoint, int slot);
QString TimeAndDateCommand(const QDateTime& localNow);
// The flash page holding a meter point's flag word: (point + 23) x 64, modulo 65536.
int FlashPageOfMeterPoint(int meterPoint);

int Attention(CMeterLink& link);
int GetInfo(CMeterLink& link, MeterInfo& info);
int SetScreen(CMeterLink& link, int screen);
int DeleteAssets(CMeterLink& link);
// Both send nothing and return kCommandTextRefused for a record the checks above refuse.
int CreateAsset(CMeterLink& link, const CMachine& machine);
int CreateMeasurementPoint(CMeterLink& link, const CMachine& machine, const CVib& point);
// `count` receives the number of set flags.
int GetNewData(CMeterLink& link, NewDataFlags& flags, int& count);
int ClearNewDataFlag(CMeterLink& link, int meterPoint, int slot);
// For meters of version 1.0 and below, which keep their flags in flash: reads the point's page,
// clears the slot's bit in its "New Data = " field and writes the page back.
int ClearNewDataFlagInFlash(CMeterLink& link, int meterPoint, int slot);
// Sets the meter's clock to `localNow`. A clock outside 1900-01-01 00:00:00 to 2079-06-06
// 00:00:00 (or not valid at all) is refused with UI text 383 and nothing is sent.
int SetTimeAndDate(CMeterLink& link, Prompter& prompter,
                   const QDateTime& localNow = QDateTime::currentDateTime());

// Parsing of replies, exposed for their own tests.
int ParseInfoReply(const QString& reply, MeterInfo& info);
// Flags from the GetNewData payload: two bytes per meter point (low byte: slots 0 to 7, bits 0 and 1
// of the high byte: slots 8 and 9); an odd last byte is ignored.
NewDataFlags DecodeNewDataPayload(const QByteArray& payload, int& count);

// The valid range of a date-time exchanged with the meter (both ends included).
QDateTime EarliestMeterDateTime();
QDateTime LatestMeterDateTime();
bool IsWithinMeterDateRange(const QDateTime& dateTime);

} // namespace vantor
