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
