#pragma once
// In-memory records, one per table; field names, types and order are those of the table columns.
// A default-constructed record is a new row: texts empty, numbers 0, booleans false, no date.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>

namespace vantor {

struct CMachine {
    QString sItemGUID;
    float fOrder = 0;
    QString sName;
    QString sVMName;
    QString sEMails;
};

struct CVib {
    QString sItemGUID;
    QString sParentGUID;
    float fOrder = 0;
    QString sName;
    QString sVMName;
    float fRunSpeedHz = 0;
    bool bISOAlarmsOn = false;
    float fISOWarningMMS = 0;
    float fISOCriticalMMS = 0;
    bool bBDUAlarmsOn = false;
    float fBDUWarning = 0;
    float fBDUCritical = 0;
};

struct CLube {
    QString sItemGUID;
    QString sParentGUID;
    float fOrder = 0;
    QString sName;
    QString sVMName;
    QString sLubeType;
    QString sLubeUnits;
    bool bBDUAlarmsOn = false;
    float fBDUWarning = 0;
    float fBDUCritical = 0;
};

// The columns shared by vibration readings and off-route readings, after the parent key.
struct VibReadingValues {
    QString sDeviceGUID;
    QString sDeviceName;
    QString sDeviceSN;
    QDateTime ctDateTaken;
    float fISOMMS = 0;
    float fDisplacementMicrons = 0;
    float fTotalG = 0;
    float fTotalMMS = 0;
    float fBearingBDU = 0;
    float fVABand1MMS = 0;
    float fVABand2MMS = 0;
    float fVABand3MMS = 0;
    float fVABand4MMS = 0;
    float fVABand1G = 0;
    float fVABand2G = 0;
    float fVABand3G = 0;
    float fVABand4G = 0;
    float fAccelerometerSensitivity = 0;
    float fOriginalRunSpeedHz = 0;
    float fCurrentRunSpeedHz = 0;
    std::int32_t iISONumberOfSamples = 0;
    float fISOSamplingFrequency = 0;
    std::int32_t iTotalNumberOfSamples = 0;
    float fTotalSamplingFrequency = 0;
    float fISOGain = 0;
    float fISOCal = 0;
    float fTotalGain = 0;
    float fTotalCal = 0;
    float fPSUVoltage = 0;
    std::int32_t iADCBits = 0;
    QByteArray rawADCISODataByteArray;
    QByteArray rawADCTotalDataByteArray;
};

struct CVibReading : VibReadingValues {
    QString sItemGUID;
    QString sParentGUID;
};

// A reading a meter took outside any route: the vibration reading's columns without a parent.
struct COffRouteReading : VibReadingValues {
    QString sItemGUID;
};

struct CLubeReading {
    QString sItemGUID;
    QString sParentGUID;
    QString sDeviceGUID;
    QString sDeviceName;
    QString sDeviceSN;
    QDateTime ctDateTaken;
    float fBeforeBDU = 0;
    float fAfterBDU = 0;
    float fAmountofLube = 0;
    QString sLubeType;
    QString sLubeUnits;
    float fAccelerometerSensitivity = 0;
};

struct CRoute {
    QString sItemGUID;
    float fOrder = 0;
    QString sName;
};

struct CRouteItem {
    QString sItemGUID;
    QString sParentGUID;
    float fOrder = 0;
    QString sMachineGUID;
    QString sMachineName;
};

// A meter.
struct CDevice {
    QString sItemGUID;
    float fOrder = 0;
    QString sName;
    QString sSN;
    QString sBTAddress;
};

// One exception e-mail address; the address is its own key.
struct CEmailAddress {
    QString sEmailAddress;
};

// A new braced GUID, "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" in lower case.
QString MakeItemGuid();

} // namespace vantor
