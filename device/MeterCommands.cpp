#include "device/MeterCommands.h"

#include "device/Log.h"
#include "device/MeterLink.h"
#include "device/MeterReply.h"
#include "device/MeterResults.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace vantor {
namespace {

QString WithoutBraces(QString guid) {
    return guid.remove(QLatin1Char('{')).remove(QLatin1Char('}'));
}

QString TwoDecimals(float value) {
    return QString::asprintf("%.2f", static_cast<double>(value));
}

// Leading decimal digits; 0 when there are none.
int LeadingNumber(QStringView text) {
    long long value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            break;
        }
        value = std::min<long long>(value * 10 + (c.unicode() - '0'), std::numeric_limits<int>::max());
    }
    return static_cast<int>(value);
}

int SimpleCommand(CMeterLink& link, const QString& command, const ExchangeCodes& codes) {
    QString reply;
    return Exchange(link, command, codes, reply);
}

QByteArray LowBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
    }
    return bytes;
}

// The documented longest meter name.
constexpr qsizetype kWireNameMaxLength = 14;

bool IsWireGuid(const QString& guid) {
    static const QRegularExpression form(
        QStringLiteral("^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
    return form.match(WithoutBraces(guid)).hasMatch();
}

bool IsWireName(const QString& name) {
    if (name.isEmpty() || name.size() > kWireNameMaxLength) {
        return false;
    }
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u == ',') {
            return false;
        }
    }
    return true;
}

QString Quoted(const QString& name) {
    // The name as it can be shown: control characters made visible.
    QString shown;
    for (const QChar c : name) {
        shown += c.unicode() < 0x20 || c.unicode() == 0x7F
                     ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                     : QString(c);
    }
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

} // namespace

std::optional<QString> AssetCommandProblem(const CMachine& machine) {
    const QString who = QStringLiteral("Machine %1").arg(Quoted(machine.sVMName));
    if (!IsWireGuid(machine.sItemGUID)) {
        return who + QStringLiteral(" cannot be sent to the meter: its GUID is malformed.");
    }
    if (!IsWireName(machine.sVMName)) {
        return who + QStringLiteral(" cannot be sent to the meter: its meter name must be 1 to 14 "
                                    "characters without commas or control characters.");
    }
    return std::nullopt;
}

std::optional<QString> MeasurementPointCommandProblem(const CMachine& machine, const CVib& point) {
    if (auto problem = AssetCommandProblem(machine)) {
        return problem;
    }
    const QString who = QStringLiteral("Vibration point %1 of machine %2")
                            .arg(Quoted(point.sVMName), Quoted(machine.sVMName));
    if (!IsWireGuid(point.sItemGUID)) {
        return who + QStringLiteral(" cannot be sent to the meter: its GUID is malformed.");
    }
    if (!IsWireName(point.sVMName)) {
        return who + QStringLiteral(" cannot be sent to the meter: its meter name must be 1 to 14 "
                                    "characters without commas or control characters.");
    }
    for (const float value : {point.fRunSpeedHz, point.fISOWarningMMS, point.fISOCriticalMMS,
                              point.fBDUWarning, point.fBDUCritical}) {
        if (!std::isfinite(value)) {
            return who + QStringLiteral(" cannot be sent to the meter: its running speed or an alarm "
                                        "level is not a finite number.");
        }
    }
    return std::nullopt;
}

QString CreateAssetCommand(const CMachine& machine) {
    return QStringLiteral("CMD*CRTASST=") + WithoutBraces(machine.sItemGUID) + QLatin1Char(',') +
           machine.sVMName;
}

QString CreateMeasurementPointCommand(const CMachine& machine, const CVib& point) {
    const QChar comma(QLatin1Char(','));
    return QStringLiteral("CMD*CRTMPT=") + WithoutBraces(machine.sItemGUID) + comma +
           WithoutBraces(point.sItemGUID) + comma + point.sVMName + comma + TwoDecimals(point.fRunSpeedHz) +
           comma + TwoDecimals(point.fISOWarningMMS) + comma + TwoDecimals(point.fISOCriticalMMS) + comma +
           TwoDecimals(point.fBDUWarning) + comma + TwoDecimals(point.fBDUCritical);
}

QString GetMeasurementPointCommand(int meterPoint, int slot) {
    return QStringLiteral("CMD*GETMP=%1,%2").arg(meterPoint).arg(slot);
}

QString TimeAndDateCommand(const QDateTime& localNow) {
    // Local wall-clock time followed by the letter Z (no conversion to UTC), then the five literal
    // characters "<CR>"; the real carriage return is added when the line is sent.
    return QStringLiteral("CMD*SETTANDD=") + localNow.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'")) +
           QStringLiteral("<CR>");
}

int FlashPageOfMeterPoint(int meterPoint) {
    return static_cast<int>((static_cast<unsigned>(meterPoint) + 23u) * 64u % 65536u);
}

QDateTime EarliestMeterDateTime() {
    return QDateTime(QDate(1900, 1, 1), QTime(0, 0, 0));
}

QDateTime LatestMeterDateTime() {
    return QDateTime(QDate(2079, 6, 6), QTime(0, 0, 0));
}

bool IsWithinMeterDateRange(const QDateTime& dateTime) {
    return dateTime.isValid() && dateTime >= EarliestMeterDateTime() && dateTime <= LatestMeterDateTime();
}

int Attention(CMeterLink& link) {
    return SimpleCommand(link, QStringLiteral("CMD*ATTN"), meter_code::kAttention);
}

int ParseInfoReply(const QString& reply, MeterInfo& info) {
    const qsizetype equals = reply.indexOf(QLatin1Char('='));
    if (equals < 0) {
        return meter_code::kInfoNoEquals;
    }
    QStringList fields;
    qsizetype start = equals + 1;
    for (int i = 0; i < 4; ++i) {
        const qsizetype comma = reply.indexOf(QLatin1Char(','), start);
        if (comma < 0) {
            return meter_code::kInfoNoComma1 - i;
        }
        fields << reply.mid(start, comma - start);
        start = comma + 1;
    }
    const qsizetype end = reply.indexOf(QLatin1Char('\r'), start);
    if (end < 0) {
        return meter_code::kInfoNoCarriageReturn;
    }
    info.version = fields[0];
    info.guid = fields[1];
    info.serial = fields[2];
    info.btAddress = fields[3];
    info.number = LeadingNumber(QStringView(reply).mid(start, end - start));
    return 0;
}

int GetInfo(CMeterLink& link, MeterInfo& info) {
    QString reply;
    if (const int result = Exchange(link, QStringLiteral("CMD*INFO"), meter_code::kGetInfo, reply)) {
        return result;
    }
    return ParseInfoReply(reply, info);
}

int SetScreen(CMeterLink& link, int screen) {
    return SimpleCommand(link, QStringLiteral("CMD*SCREENSET=%1").arg(screen), meter_code::kSetScreen);
}

int DeleteAssets(CMeterLink& link) {
    return SimpleCommand(link, QStringLiteral("CMD*DELASST"), meter_code::kDeleteAssets);
}

int CreateAsset(CMeterLink& link, const CMachine& machine) {
    if (const auto problem = AssetCommandProblem(machine)) {
        qCWarning(lcLink, "%s", qUtf8Printable(*problem));
        return kCommandTextRefused;
    }
    return SimpleCommand(link, CreateAssetCommand(machine), meter_code::kCreateAsset);
}

int CreateMeasurementPoint(CMeterLink& link, const CMachine& machine, const CVib& point) {
    if (const auto problem = MeasurementPointCommandProblem(machine, point)) {
        qCWarning(lcLink, "%s", qUtf8Printable(*problem));
        return kCommandTextRefused;
    }
    return SimpleCommand(link, CreateMeasurementPointCommand(machine, point),
                         meter_code::kCreateMeasurementPoint);
}

NewDataFlags DecodeNewDataPayload(const QByteArray& payload, int& count) {
    NewDataFlags flags(static_cast<size_t>(payload.size() / 2));
    count = 0;
    for (size_t point = 0; point < flags.size(); ++point) {
        const auto lo = static_cast<unsigned char>(payload[static_cast<qsizetype>(2 * point)]);
        const auto hi = static_cast<unsigned char>(payload[static_cast<qsizetype>(2 * point + 1)]);
        const unsigned word = lo | ((hi & 0x03u) << 8);
        for (int slot = 0; slot < kSlotsPerMeterPoint; ++slot) {
            const bool set = (word >> slot) & 1u;
            flags[point][static_cast<size_t>(slot)] = set;
            count += set ? 1 : 0;
        }
    }
    return flags;
}

int GetNewData(CMeterLink& link, NewDataFlags& flags, int& count) {
    // Data phase: the payload is every byte after the first "=" up to the next carriage return,
    // provided no carriage return came before that "=".
    QByteArray payload;
    bool dataPhase = false;
    bool sawCarriageReturn = false;
    bool sawEquals = false;
    const ReplyByteHook hook = [&](unsigned char byte, const QString&) {
        sawCarriageReturn = sawCarriageReturn || byte == '\r';
        sawEquals = sawEquals || byte == '=';
        if (dataPhase && sawCarriageReturn) {
            dataPhase = false;
        }
        if (dataPhase) {
            payload.append(static_cast<char>(byte));
        }
        if (!dataPhase && sawEquals) {
            dataPhase = true;
        }
    };
    QString reply;
    if (const int result =
            Exchange(link, QStringLiteral("CMD*GETNEWDATA"), meter_code::kGetNewData, reply, hook)) {
        return result;
    }
    flags = DecodeNewDataPayload(payload, count);
    return 0;
}

int ClearNewDataFlag(CMeterLink& link, int meterPoint, int slot) {
    return SimpleCommand(link, QStringLiteral("CMD*CLRNEWDATAFLAG=%1,%2").arg(meterPoint).arg(slot),
                         meter_code::kClearNewDataFlag);
}

int ClearNewDataFlagInFlash(CMeterLink& link, int meterPoint, int slot) {
    const int page = FlashPageOfMeterPoint(meterPoint);
    const QString readCommand = QStringLiteral("CMD*FLASHPR=%1").arg(page);
    QString reply;
    if (const int result = Exchange(link, readCommand, meter_code::kFlashRead, reply)) {
        return result;
    }

    const QString key = QStringLiteral("New Data = ");
    const qsizetype keyAt = reply.indexOf(key);
    if (keyAt < 0) {
        return meter_code::kFlashNoNewData;
    }
    const qsizetype fieldStart = keyAt + key.size();
    const qsizetype fieldEnd = reply.indexOf(QLatin1String("AGUID"), fieldStart);
    if (fieldEnd < 0) {
        return meter_code::kFlashNoAssetGuid;
    }
    if (fieldEnd - fieldStart != 5) {
        return meter_code::kFlashFieldNotFive;
    }
    const bool threeDigits = reply.at(fieldStart + 3) == QLatin1Char('<');
    const int digits = threeDigits ? 3 : 4;
    int number = LeadingNumber(QStringView(reply).mid(fieldStart, digits));
    if (slot >= 0 && slot < 16) {
        number &= ~(1 << slot);
    }
    const QString edited = QString::asprintf(threeDigits ? "%03d<" : "%04d<", number);
    for (qsizetype i = 0; i < edited.size() && fieldStart + i < reply.size(); ++i) {
        reply[fieldStart + i] = edited.at(i);
    }
    reply.remove(readCommand + QLatin1Char(','));
    reply.chop(6);

    link.DiscardQueues();
    QByteArray request = LowBytes(QStringLiteral("CMD*FLASHPP=%1,").arg(page)) + LowBytes(reply);
    request.append('\0').append('\0');
    std::uint32_t toWrite = 0;
    std::uint32_t written = 0;
    link.WriteBytes(request, true, toWrite, written);
    if (written != toWrite) {
        return meter_code::kFlashWriteNotWritten;
    }
    const QString answer = CollectReply(link);
    if (answer.contains(QLatin1String("ERROR"))) {
        return meter_code::kFlashWriteError;
    }
    if (!answer.contains(QLatin1String("OK"))) {
        return meter_code::kFlashWriteNoOk;
    }
    return 0;
}

int SetTimeAndDate(CMeterLink& link, Prompter& prompter, const QDateTime& localNow) {
    if (!IsWithinMeterDateRange(localNow)) {
        prompter.ShowMessage(UiText(text::LocalClockInvalid));
        return meter_code::kClockInvalid;
    }
    return SimpleCommand(link, TimeAndDateCommand(localNow), meter_code::kSetTimeAndDate);
}

} // namespace vantor
