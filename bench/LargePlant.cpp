#include "LargePlant.h"

#include "app/Startup.h"
#include "store/MainConnection.h"

#include <map>
#include <memory>

namespace vantor::bench {

void LargePlant::Use() const {
    for (const char* name :
         {"VANTOR_COMMON_APPDATA", "VANTOR_USER_APPDATA", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
        qputenv(name, (root + QLatin1Char('/') + QLatin1String(name)).toLocal8Bit());
    }
}

LargePlant::LargePlant(int machines, int readingsPerPoint, const QString& folder)
    : root(folder.isEmpty() ? temporary.path() : folder) {
    Use();
    app = std::make_unique<CAppData>(prompter, Edition::For(2, 0));
    if (!InitDataRoot(*app) || !RunStartupSteps(*app, app->edition.title, CreateAndDeleteTestFile).ok) {
        qFatal("the benchmark's data root could not be prepared");
    }
    CMainConnection& db = *app->MainConnection();
    const QByteArray capture(kCaptureBytes, '\x5a');
    const QDateTime first(QDate(2022, 1, 3), QTime(8, 0));
    SqlConnection::Batch batch(db.Connection());
    for (int m = 0; m < machines; ++m) {
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
            for (int r = 0; r < readingsPerPoint; ++r) {
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

LargePlant& PlantOfSize(int machines) {
    constexpr int kScalingReadingsPerPoint = 20;
    static std::map<int, std::unique_ptr<LargePlant>> plants;
    std::unique_ptr<LargePlant>& plant = plants[machines];
    if (!plant) {
        plant = std::make_unique<LargePlant>(machines, kScalingReadingsPerPoint);
    }
    plant->Use();
    return *plant;
}

} // namespace vantor::bench
