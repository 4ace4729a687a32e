#pragma once
// A small plant for the report tests, on a temporary data root: machine "Fan" with "Motor DE" (ISO
// alarms on at 4.5 mm/s, newest ISO 2.0 after an older 6.0; bearing alarms on at 20 BDU, newest 25)
// and "Motor NDE" (every alarm off, high values); machine "Pump" with "Pump DE" (ISO alarms on at
// 4.5, newest ISO and band 1 at 5.0, bands 2 and 3 at 1.0). Every reading carries raw samples.

#include "app/CAppData.h"
#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/testing/TestPlant.h"

#include <gtest/gtest.h>

#include <memory>

namespace vantor::testing {

inline const QDateTime kFirstDay(QDate(2024, 5, 1), QTime(10, 0));

struct Values {
    float iso = 1.0f;
    float bdu = 5.0f;
    float band1 = 0.5f;
    float band2 = 0.5f;
    float band3 = 0.5f;
};

class ReportPlant {
public:
    ReportPlant() {
        app = std::make_unique<CAppData>(prompter);
        EXPECT_TRUE(InitDataRoot(*app));
        EXPECT_TRUE(RunHeadlessStartup(*app));
    }

    CMachine AddMachine(const QString& name) {
        const CMachine machine{MakeItemGuid(), static_cast<float>(++order_), name, name.left(14), {}};
        EXPECT_TRUE(app->MainConnection()->UpsertMachine(machine));
        return machine;
    }

    CVib AddPoint(const CMachine& machine, const QString& name, bool isoAlarms, bool bduAlarms) {
        CVib point;
        point.sItemGUID = MakeItemGuid();
        point.sParentGUID = machine.sItemGUID;
        point.fOrder = static_cast<float>(++order_);
        point.sName = name;
        point.fRunSpeedHz = 25.0f;
        point.bISOAlarmsOn = isoAlarms;
        point.fISOWarningMMS = 4.5f;
        point.fISOCriticalMMS = 7.1f;
        point.bBDUAlarmsOn = bduAlarms;
        point.fBDUWarning = 20.0f;
        point.fBDUCritical = 30.0f;
        EXPECT_TRUE(app->MainConnection()->UpsertVib(point));
        return point;
    }

    QString AddReading(const CVib& point, int day, const Values& values) {
        CVibReading r;
        r.sItemGUID = MakeItemGuid();
        r.sParentGUID = point.sItemGUID;
        r.ctDateTaken = kFirstDay.addDays(day);
        r.fISOMMS = values.iso;
        r.fBearingBDU = values.bdu;
        r.fVABand1MMS = values.band1;
        r.fVABand2MMS = values.band2;
        r.fVABand3MMS = values.band3;
        r.fTotalG = 0.4f;
        r.fDisplacementMicrons = 20.0f;
        r.fOriginalRunSpeedHz = r.fCurrentRunSpeedHz = 25.0f;
        r.fPSUVoltage = 65536.0f;
        r.iADCBits = 16;
        r.fAccelerometerSensitivity = 1000.0f;
        r.fTotalCal = r.fISOCal = 1.0f;
        r.fTotalGain = r.fISOGain = 0.001f;
        r.fTotalSamplingFrequency = 2560.0f;
        r.iTotalNumberOfSamples = 256;
        r.fISOSamplingFrequency = 400.0f;
        r.iISONumberOfSamples = 256;
        r.rawADCTotalDataByteArray = QuarterRateSine(256, 1000 * (day + 1));
        r.rawADCISODataByteArray = QuarterRateSine(256, 1000 * (day + 1));
        EXPECT_TRUE(app->MainConnection()->UpsertVibReading(r));
        return r.sItemGUID;
    }

    // The plant described above.
    void AddStandardPlant() {
        const CMachine fan = AddMachine(QStringLiteral("Fan"));
        const CVib motorDe = AddPoint(fan, QStringLiteral("Motor DE"), true, true);
        AddReading(motorDe, 0, {6.0f, 5.0f, 0.5f, 0.5f, 0.5f});
        AddReading(motorDe, 1, {2.0f, 25.0f, 0.5f, 0.5f, 0.5f});
        const CVib motorNde = AddPoint(fan, QStringLiteral("Motor NDE"), false, false);
        AddReading(motorNde, 1, {9.0f, 50.0f, 9.0f, 9.0f, 9.0f});
        const CMachine pump = AddMachine(QStringLiteral("Pump"));
        const CVib pumpDe = AddPoint(pump, QStringLiteral("Pump DE"), true, false);
        AddReading(pumpDe, 2, {5.0f, 5.0f, 5.0f, 1.0f, 1.0f});
    }

    TempEnvironment env;
    RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;

private:
    int order_ = 0;
};

} // namespace vantor::testing
