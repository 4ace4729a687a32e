#include "store/RecordFields.h"

#include <array>

namespace vantor {
namespace {

template <class R> using F = Field<R>;

template <class R> constexpr auto ReadingValueFields() {
    return std::array<F<R>, 32>{{
        {"sDeviceGUID", &R::sDeviceGUID},
        {"sDeviceName", &R::sDeviceName},
        {"sDeviceSN", &R::sDeviceSN},
        {"ctDateTaken", &R::ctDateTaken},
        {"fISOMMS", &R::fISOMMS},
        {"fDisplacementMicrons", &R::fDisplacementMicrons},
        {"fTotalG", &R::fTotalG},
        {"fTotalMMS", &R::fTotalMMS},
        {"fBearingBDU", &R::fBearingBDU},
        {"fVABand1MMS", &R::fVABand1MMS},
        {"fVABand2MMS", &R::fVABand2MMS},
        {"fVABand3MMS", &R::fVABand3MMS},
        {"fVABand4MMS", &R::fVABand4MMS},
        {"fVABand1G", &R::fVABand1G},
        {"fVABand2G", &R::fVABand2G},
        {"fVABand3G", &R::fVABand3G},
        {"fVABand4G", &R::fVABand4G},
        {"fAccelerometerSensitivity", &R::fAccelerometerSensitivity},
        {"fOriginalRunSpeedHz", &R::fOriginalRunSpeedHz},
        {"fCurrentRunSpeedHz", &R::fCurrentRunSpeedHz},
        {"iISONumberOfSamples", &R::iISONumberOfSamples},
        {"fISOSamplingFrequency", &R::fISOSamplingFrequency},
        {"iTotalNumberOfSamples", &R::iTotalNumberOfSamples},
        {"fTotalSamplingFrequency", &R::fTotalSamplingFrequency},
        {"fISOGain", &R::fISOGain},
        {"fISOCal", &R::fISOCal},
        {"fTotalGain", &R::fTotalGain},
        {"fTotalCal", &R::fTotalCal},
        {"fPSUVoltage", &R::fPSUVoltage},
        {"iADCBits", &R::iADCBits},
        {"rawADCISODataByteArray", &R::rawADCISODataByteArray},
        {"rawADCTotalDataByteArray", &R::rawADCTotalDataByteArray},
    }};
}

template <class R, size_t N, size_t M>
constexpr std::array<F<R>, N + M> Join(const std::array<F<R>, N>& head, const std::array<F<R>, M>& tail) {
    std::array<F<R>, N + M> all{};
    for (size_t i = 0; i < N; ++i) {
        all[i] = head[i];
    }
    for (size_t i = 0; i < M; ++i) {
        all[N + i] = tail[i];
    }
    return all;
}

const std::array<F<CMachine>, 5> kMachineFields{{
    {"sItemGUID", &CMachine::sItemGUID},
    {"fOrder", &CMachine::fOrder},
    {"sName", &CMachine::sName},
    {"sVMName", &CMachine::sVMName},
    {"sEMails", &CMachine::sEMails},
}};

const std::array<F<CVib>, 12> kVibFields{{
    {"sItemGUID", &CVib::sItemGUID},
    {"sParentGUID", &CVib::sParentGUID},
    {"fOrder", &CVib::fOrder},
    {"sName", &CVib::sName},
    {"sVMName", &CVib::sVMName},
    {"fRunSpeedHz", &CVib::fRunSpeedHz},
    {"bISOAlarmsOn", &CVib::bISOAlarmsOn},
    {"fISOWarningMMS", &CVib::fISOWarningMMS},
    {"fISOCriticalMMS", &CVib::fISOCriticalMMS},
    {"bBDUAlarmsOn", &CVib::bBDUAlarmsOn},
    {"fBDUWarning", &CVib::fBDUWarning},
    {"fBDUCritical", &CVib::fBDUCritical},
}};

const std::array<F<CLube>, 10> kLubeFields{{
    {"sItemGUID", &CLube::sItemGUID},
    {"sParentGUID", &CLube::sParentGUID},
    {"fOrder", &CLube::fOrder},
    {"sName", &CLube::sName},
    {"sVMName", &CLube::sVMName},
    {"sLubeType", &CLube::sLubeType},
    {"sLubeUnits", &CLube::sLubeUnits},
    {"bBDUAlarmsOn", &CLube::bBDUAlarmsOn},
    {"fBDUWarning", &CLube::fBDUWarning},
    {"fBDUCritical", &CLube::fBDUCritical},
}};

const auto kVibReadingFields =
    Join(std::array<F<CVibReading>, 2>{{{"sItemGUID", &CVibReading::sItemGUID},
                                        {"sParentGUID", &CVibReading::sParentGUID}}},
         ReadingValueFields<CVibReading>());

const auto kOffRouteReadingFields =
    Join(std::array<F<COffRouteReading>, 1>{{{"sItemGUID", &COffRouteReading::sItemGUID}}},
         ReadingValueFields<COffRouteReading>());

const std::array<F<CLubeReading>, 12> kLubeReadingFields{{
    {"sItemGUID", &CLubeReading::sItemGUID},
    {"sParentGUID", &CLubeReading::sParentGUID},
    {"sDeviceGUID", &CLubeReading::sDeviceGUID},
    {"sDeviceName", &CLubeReading::sDeviceName},
    {"sDeviceSN", &CLubeReading::sDeviceSN},
    {"ctDateTaken", &CLubeReading::ctDateTaken},
    {"fBeforeBDU", &CLubeReading::fBeforeBDU},
    {"fAfterBDU", &CLubeReading::fAfterBDU},
    {"fAmountofLube", &CLubeReading::fAmountofLube},
    {"sLubeType", &CLubeReading::sLubeType},
    {"sLubeUnits", &CLubeReading::sLubeUnits},
    {"fAccelerometerSensitivity", &CLubeReading::fAccelerometerSensitivity},
}};

const std::array<F<CRoute>, 3> kRouteFields{{
    {"sItemGUID", &CRoute::sItemGUID},
    {"fOrder", &CRoute::fOrder},
    {"sName", &CRoute::sName},
}};

const std::array<F<CRouteItem>, 5> kRouteItemFields{{
    {"sItemGUID", &CRouteItem::sItemGUID},
    {"sParentGUID", &CRouteItem::sParentGUID},
    {"fOrder", &CRouteItem::fOrder},
    {"sMachineGUID", &CRouteItem::sMachineGUID},
    {"sMachineName", &CRouteItem::sMachineName},
}};

const std::array<F<CDevice>, 5> kDeviceFields{{
    {"sItemGUID", &CDevice::sItemGUID},
    {"fOrder", &CDevice::fOrder},
    {"sName", &CDevice::sName},
    {"sSN", &CDevice::sSN},
    {"sBTAddress", &CDevice::sBTAddress},
}};

const std::array<F<CEmailAddress>, 1> kEmailAddressFields{{
    {"sEmailAddress", &CEmailAddress::sEmailAddress},
}};

} // namespace

template <> std::span<const Field<CMachine>> FieldsOf<CMachine>() {
    return kMachineFields;
}
template <> std::span<const Field<CVib>> FieldsOf<CVib>() {
    return kVibFields;
}
template <> std::span<const Field<CLube>> FieldsOf<CLube>() {
    return kLubeFields;
}
template <> std::span<const Field<CVibReading>> FieldsOf<CVibReading>() {
    return kVibReadingFields;
}
template <> std::span<const Field<COffRouteReading>> FieldsOf<COffRouteReading>() {
    return kOffRouteReadingFields;
}
template <> std::span<const Field<CLubeReading>> FieldsOf<CLubeReading>() {
    return kLubeReadingFields;
}
template <> std::span<const Field<CRoute>> FieldsOf<CRoute>() {
    return kRouteFields;
}
template <> std::span<const Field<CRouteItem>> FieldsOf<CRouteItem>() {
    return kRouteItemFields;
}
template <> std::span<const Field<CDevice>> FieldsOf<CDevice>() {
    return kDeviceFields;
}
template <> std::span<const Field<CEmailAddress>> FieldsOf<CEmailAddress>() {
    return kEmailAddressFields;
}

namespace {

// Two decimal digits at `at`, or -1.
int TwoDigits(QStringView text, qsizetype at) {
    const char16_t high = text[at].unicode();
    const char16_t low = text[at + 1].unicode();
    if (high < u'0' || high > u'9' || low < u'0' || low > u'9') {
        return -1;
    }
    return (high - u'0') * 10 + (low - u'0');
}

// The stored form "YYYY-MM-DD HH:MM:SS" read field by field; an invalid date-time for any other text.
// Local time is resolved by the QDateTime constructor alone, instead of a format parser that
// consults the time-zone rules at each step.
QDateTime FromFixedForm(QStringView text) {
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' || text[13] != u':' ||
        text[16] != u':') {
        return {};
    }
    const int century = TwoDigits(text, 0);
    const int year = TwoDigits(text, 2);
    const int month = TwoDigits(text, 5);
    const int day = TwoDigits(text, 8);
    const int hour = TwoDigits(text, 11);
    const int minute = TwoDigits(text, 14);
    const int second = TwoDigits(text, 17);
    if (century < 0 || year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0) {
        return {};
    }
    const QDate date(century * 100 + year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time);
}

void AppendDigits(char*& out, int value, int digits) {
    for (int place = digits - 1; place >= 0; --place) {
        out[place] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out += digits;
}

} // namespace

QString SqlDateTimeText(const QDateTime& value) {
    // The wall-clock fields written directly; an invalid value and years outside 0..9999 take Qt's
    // own formatting.
    const QDate date = value.date();
    const QTime time = value.time();
    if (!value.isValid() || date.year() < 0 || date.year() > 9999) {
        return value.toString(QLatin1String(kSqlDateTimeFormat));
    }
    char text[19];
    char* out = text;
    AppendDigits(out, date.year(), 4);
    *out++ = '-';
    AppendDigits(out, date.month(), 2);
    *out++ = '-';
    AppendDigits(out, date.day(), 2);
    *out++ = ' ';
    AppendDigits(out, time.hour(), 2);
    *out++ = ':';
    AppendDigits(out, time.minute(), 2);
    *out++ = ':';
    AppendDigits(out, time.second(), 2);
    return QString::fromLatin1(text, sizeof text);
}

QDateTime DateTimeFromSql(const QVariant& value) {
    if (value.isNull()) {
        return {};
    }
    if (value.typeId() == QMetaType::QDateTime) {
        return value.toDateTime();
    }
    const QString text = value.toString().trimmed();
    QDateTime parsed = FromFixedForm(text);
    if (parsed.isValid()) {
        return parsed;
    }
    // Anything else (a time skipped by a daylight-saving change, another program's form) takes the
    // general parser.
    parsed = QDateTime::fromString(text, QLatin1String(kSqlDateTimeFormat));
    if (!parsed.isValid()) {
        // Files written by other programs may use the ISO form, with or without fractions.
        parsed = QDateTime::fromString(text, Qt::ISODate);
    }
    if (!parsed.isValid()) {
        parsed = QDateTime::fromString(text, Qt::ISODateWithMs);
    }
    return parsed;
}

bool BooleanFromSql(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        return text == QLatin1String("true") || text == QLatin1String("yes") || text.toInt() != 0;
    }
    return value.toLongLong() != 0;
}

void BindValue(SqlStatement& statement, int index, const QVariant& value) {
    if (value.isNull()) {
        statement.BindNull(index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        statement.BindBlob(index, value.toByteArray());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        statement.BindDouble(index, value.toDouble());
        return;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        statement.BindInteger(index, value.toLongLong());
        return;
    default:
        statement.BindText(index, value.toString());
    }
}

} // namespace vantor
