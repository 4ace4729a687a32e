#include "LargePlant.h"

#include "app/Startup.h"
#include "store/MainConnection.h"

namespace vantor::bench {

LargePlant::LargePlant() {
    for (const char* name :
         {"VANTOR_COMMON_APPDATA", "VANTOR_USER_APPDATA", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
        qputenv(name, (root.path() + QLatin1Char('/') + QLatin1String(name)).toLocal8Bit());
    }
    app = std::make_unique<CAppData>(prompter, Edition::For(2, 0));
    if (!InitDataRoot(*app) || !RunStartupSteps(*app, app->edition.title, CreateAndDeleteTestFile).ok) {
        qFatal("the benchmark's data root could not be prepared");
    }
    CMainConnection& db = *app->MainConnection();
    const QByteArray capture(kCaptureBytes, '\x5a');
    const QDateTime first(QDate(2022, 1, 3), QTime(8, 0));
    SqlConnection::Batch batch(db.Connection());
    for (int m = 0; m < kMachines; ++m) {
        CMachine machine{MakeItemGuid(), static_cast<float>(m), QStringLiteral("Machine %1").arg(m), {}, {}};
        db.UpsertMachine(machine);
        for (int p = 0; p < kPointsPerMachine; ++p) {
            CVib vib;
            vib.sItemGUID = MakeItemGuid();
            vib.sParentGUID = machine.sItemGUID;
            vib.fOrder = static_cast<float>(p);
            vib.sName = QStringLiteral("Point %1").arg(p);
            vib.fRunSpeedHz = 25;
            vib.bISOAlarmsOn = true;
            vib.fISOWarningMMS = 4.5f;
            vib.fISOCriticalMMS = 7.1f;
            db.UpsertVib(vib);
            for (int r = 0; r < kReadingsPerPoint; ++r) {
                CVibReading reading;
                reading.sItemGUID = MakeItemGuid();
                reading.sParentGUID = vib.sItemGUID;
                reading.ctDateTaken = first.addDays(7 * r).addSecs(60 * p);
                reading.fISOMMS = static_cast<float>((m + p + r) % 90) / 10.0f;
                reading.fBearingBDU = 5;
                reading.rawADCISODataByteArray = capture;
                reading.rawADCTotalDataByteArray = capture;
                db.UpsertVibReading(reading);
            }
        }
    }
}

LargePlant& TheLargePlant() {
    static LargePlant plant;
    return plant;
}

} // namespace vantor::bench
