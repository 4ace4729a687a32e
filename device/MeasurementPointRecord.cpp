#include "device/MeasurementPointRecord.h"

#include "device/MeterCommands.h"
#include "device/MeterReply.h"
#include "store/Validation.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <array>
#include <limits>

namespace vantor {
namespace {

const QString kIsoMarker = QStringLiteral("ISO=");
const QString kTotalMarker = QStringLiteral("Total=");

// Whether `marker` appears in the text, looking only at what was added since the last call.
bool MarkerArrived(const QString& text, const QString& marker, qsizetype& checkedUpTo) {
    const qsizetype from = std::max<qsizetype>(0, checkedUpTo - marker.size() + 1);
    checkedUpTo = text.size();
    return text.indexOf(marker, from) >= 0;
}

enum class Field {
    Ignored,
    PointGuid,
    PointName,
    MachineGuid,
    MachineName,
    RunSpeed,
    BduWarning,
    BduCritical,
    IsoWarning,
    IsoCritical,
    Taken,
    CalcIso,
    CalcDisplacement,
    CalcAccel,
    CalcBdu,
    CalcUbal,
    CalcMalgn,
    CalcLsns,
    IsoCal,
    IsoGain,
    IsoSamples,
    IsoSampling,
    TotalCal,
    TotalGain,
    TotalSamples,
    TotalSampling,
    Sensitivity,
    SupplyVoltage,
    AdcBits,
};

struct HeaderKey {
    const char* key;
    int missingKey;
    int missingEnd;
    Field field;
};

// The header's fields in the order the meter writes them, with the codes for a missing key and a
// missing "<" (-73 belongs to the date correction, -93 is not used).
constexpr std::array<HeaderKey, 33> kHeaderKeys = {{
    {"FLASH Revision = ", -43, -44, Field::Ignored},
    {"MPGUID = ", -45, -46, Field::PointGuid},
    {"MPName = ", -47, -48, Field::PointName},
    {"AGUID = ", -49, -50, Field::MachineGuid},
    {"AName = ", -51, -52, Field::MachineName},
    {"RSPD = ", -53, -54, Field::RunSpeed},
    {"BDUW Default = ", -55, -56, Field::BduWarning},
    {"BDUC Default = ", -57, -58, Field::BduCritical},
    {"ISOW Default = ", -59, -60, Field::IsoWarning},
    {"ISOC Default = ", -61, -62, Field::IsoCritical},
    {"BDUW Saved = ", -63, -64, Field::Ignored},
    {"BDUC Saved = ", -65, -66, Field::Ignored},
    {"ISOW Saved = ", -67, -68, Field::Ignored},
    {"ISOC Saved = ", -69, -70, Field::Ignored},
    {"TND = ", -71, -72, Field::Taken},
    {"Calc ISO = ", -74, -75, Field::CalcIso},
    {"Calc Displacement = ", -76, -77, Field::CalcDisplacement},
    {"Calc ACCEL = ", -78, -79, Field::CalcAccel},
    {"Calc BDU = ", -80, -81, Field::CalcBdu},
    {"Calc UBAL = ", -82, -83, Field::CalcUbal},
    {"Calc MALGN = ", -84, -85, Field::CalcMalgn},
    {"Calc LSNS = ", -86, -87, Field::CalcLsns},
    {"ISO Cal = ", -88, -89, Field::IsoCal},
    {"ISO Gain = ", -90, -91, Field::IsoGain},
    {"ISO Number of Samples = ", -92, -94, Field::IsoSamples},
    {"ISO Sampling Frequency Hz = ", -95, -96, Field::IsoSampling},
    {"Total Cal = ", -97, -98, Field::TotalCal},
    {"Total Gain = ", -99, -100, Field::TotalGain},
    {"Total Number of Samples = ", -101, -102, Field::TotalSamples},
    {"Total Sampling Frequency Hz = ", -103, -104, Field::TotalSampling},
    {"Sensor mV/g = ", -105, -106, Field::Sensitivity},
    {"ADC Suppy Voltage = ", -107, -108, Field::SupplyVoltage},
    {"ADC Resolution Bits = ", -109, -110, Field::AdcBits},
}};

float Real(const QString& value) {
    return AsStoredFloat(HeaderReal(value)); // 1e39 is infinity as a float, never undefined
}

void Keep(Field field, const QString& value, MeasurementPointHeader& header) {
    VibReadingValues& v = header.values;
    switch (field) {
    case Field::Ignored:
        break;
    case Field::PointGuid:
        header.pointGuid = QStringLiteral("{%1}").arg(value);
        break;
    case Field::PointName:
        header.pointName = value;
        break;
    case Field::MachineGuid:
        header.machineGuid = QStringLiteral("{%1}").arg(value);
        break;
    case Field::MachineName:
        header.machineName = value;
        break;
    case Field::RunSpeed:
        v.fOriginalRunSpeedHz = Real(value);
        v.fCurrentRunSpeedHz = v.fOriginalRunSpeedHz;
        break;
    case Field::BduWarning:
        header.bduWarningDefault = Real(value);
        break;
    case Field::BduCritical:
        header.bduCriticalDefault = Real(value);
        break;
    case Field::IsoWarning:
        header.isoWarningDefault = Real(value);
        break;
    case Field::IsoCritical:
        header.isoCriticalDefault = Real(value);
        break;
    case Field::Taken:
        header.taken = value;
        break;
    case Field::CalcIso:
        v.fISOMMS = Real(value);
        break;
    case Field::CalcDisplacement:
        v.fDisplacementMicrons = Real(value);
        break;
    case Field::CalcAccel:
        v.fTotalG = Real(value);
        break;
    case Field::CalcBdu:
        v.fBearingBDU = Real(value);
        break;
    case Field::CalcUbal:
        v.fVABand1MMS = Real(value);
        break;
    case Field::CalcMalgn:
        v.fVABand2MMS = Real(value);
        break;
    case Field::CalcLsns:
        v.fVABand3MMS = Real(value);
        break;
    case Field::IsoCal:
        v.fISOCal = Real(value);
        break;
    case Field::IsoGain:
        v.fISOGain = Real(value);
        break;
    case Field::IsoSamples:
        v.iISONumberOfSamples = HeaderInteger(value);
        break;
    case Field::IsoSampling:
        v.fISOSamplingFrequency = Real(value);
        break;
    case Field::TotalCal:
        v.fTotalCal = Real(value);
        break;
    case Field::TotalGain:
        v.fTotalGain = Real(value);
        break;
    case Field::TotalSamples:
        v.iTotalNumberOfSamples = HeaderInteger(value);
        break;
    case Field::TotalSampling:
        v.fTotalSamplingFrequency = Real(value);
        break;
    case Field::Sensitivity:
        v.fAccelerometerSensitivity = Real(value);
        break;
    case Field::SupplyVoltage:
        v.fPSUVoltage = Real(value);
        break;
    case Field::AdcBits:
        v.iADCBits = HeaderInteger(value);
        break;
    }
}

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

// The number at the fixed position of a date field: its leading digits, 0 when none.
int DateField(const QString& value, qsizetype from, qsizetype length) {
    return HeaderInteger(value.mid(from, length));
}

} // namespace

void CaptureSplitter::Take(unsigned char byte, const QString& replyText) {
    // The byte that completes a marker belongs to the marker, not to the capture.
    if (isoOn_) {
        if (iso_.size() < kMeasurementCaptureBytes) {
            iso_.append(static_cast<char>(byte));
        }
    } else {
        isoOn_ = MarkerArrived(replyText, kIsoMarker, isoChecked_);
    }
    if (totalOn_) {
        if (total_.size() < kMeasurementCaptureBytes) {
            total_.append(static_cast<char>(byte));
        }
    } else {
        totalOn_ = MarkerArrived(replyText, kTotalMarker, totalChecked_);
    }
}

MeasurementPointReply CaptureSplitter::Finish(QString text) {
    return {std::move(text), std::move(iso_), std::move(total_)};
}

int CollectMeasurementPoint(CMeterLink& link, int meterPoint, int slot, MeasurementPointReply& reply) {
    const QString command = GetMeasurementPointCommand(meterPoint, slot);
    if (!SendCommand(link, command)) {
        return meter_code::kGetMpNotWritten;
    }
    CaptureSplitter splitter;
    QString text = CollectReply(
        link, [&splitter](unsigned char byte, const QString& replyText) { splitter.Take(byte, replyText); });
    reply = splitter.Finish(std::move(text));
    return 0;
}

int JudgeMeasurementPointReply(const MeasurementPointReply& reply, const QString& command) {
    const int exchange = CheckReply(reply.text, command,
                                    {meter_code::kGetMpNotWritten, meter_code::kGetMpError,
                                     meter_code::kGetMpNoOk, meter_code::kGetMpNoEcho});
    if (exchange != 0) {
        return exchange;
    }
    if (reply.isoCapture.size() != kMeasurementCaptureBytes) {
        return meter_code::kGetMpIsoCaptureSize;
    }
    if (reply.totalCapture.size() != kMeasurementCaptureBytes) {
        return meter_code::kGetMpTotalCaptureSize;
    }
    return 0;
}

int ParseMeasurementPointHeader(const QString& replyText, MeasurementPointHeader& header) {
    static const QString kHeaderMarker = QStringLiteral("MP Header=");
    const qsizetype start = replyText.indexOf(kHeaderMarker);
    if (start < 0) {
        return meter_code::kGetMpNoHeader;
    }
    MeasurementPointHeader parsed;
    qsizetype position = start + kHeaderMarker.size();
    for (size_t i = 0; i < kHeaderKeys.size(); ++i) {
        const HeaderKey& entry = kHeaderKeys[i];
        const QString key = QString::fromLatin1(entry.key);
        const qsizetype keyAt = replyText.indexOf(key, position);
        if (keyAt < 0) {
            return entry.missingKey;
        }
        const qsizetype valueAt = keyAt + key.size();
        const qsizetype end = replyText.indexOf(QLatin1Char('<'), valueAt);
        if (end < 0) {
            return entry.missingEnd;
        }
        // A "<" that lies beyond the next key belongs to that key: this value's own is missing, and
        // taking the next one would swallow the following field into this value.
        if (i + 1 < kHeaderKeys.size()) {
            const qsizetype nextKeyAt = replyText.indexOf(QLatin1String(kHeaderKeys[i + 1].key), valueAt);
            if (nextKeyAt >= 0 && nextKeyAt < end) {
                return entry.missingEnd;
            }
        }
        Keep(entry.field, replyText.mid(valueAt, end - valueAt), parsed);
        position = end;
    }
    header = std::move(parsed);
    return 0;
}

double HeaderReal(const QString& value) {
    qsizetype i = 0;
    while (i < value.size() && IsBlank(value[i])) {
        ++i;
    }
    const qsizetype begin = i;
    if (i < value.size() && (value[i] == QLatin1Char('+') || value[i] == QLatin1Char('-'))) {
        ++i;
    }
    qsizetype digits = 0;
    while (i < value.size() && IsDigit(value[i])) {
        ++i, ++digits;
    }
    if (i < value.size() && value[i] == QLatin1Char('.')) {
        ++i;
        while (i < value.size() && IsDigit(value[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    qsizetype end = i;
    // An exponent counts only when digits follow it.
    if (i < value.size() && (value[i] == QLatin1Char('e') || value[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < value.size() && (value[j] == QLatin1Char('+') || value[j] == QLatin1Char('-'))) {
            ++j;
        }
        if (j < value.size() && IsDigit(value[j])) {
            while (j < value.size() && IsDigit(value[j])) {
                ++j;
            }
            end = j;
        }
    }
    bool ok = false;
    // toDouble of a QByteArray always reads the C locale's decimal point.
    const double result = value.mid(begin, end - begin).toLatin1().toDouble(&ok);
    return ok ? result : 0;
}

int HeaderInteger(const QString& value) {
    qint64 result = 0;
    for (const QChar c : value) {
        if (!IsDigit(c)) {
            break;
        }
        result = std::min<qint64>(result * 10 + (c.unicode() - '0'), std::numeric_limits<int>::max());
    }
    return static_cast<int>(result);
}

QDateTime HeaderDateTime(const QString& value) {
    const QDate date(DateField(value, 0, 4), DateField(value, 5, 2), DateField(value, 8, 2));
    const QTime time(DateField(value, 11, 2), DateField(value, 14, 2), DateField(value, 17, 2));
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time);
}

} // namespace vantor
