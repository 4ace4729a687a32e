// The catalogue and route editors' checks, order values and cascades.
#include "app/CatalogueEditor.h"
#include "DatabaseFixture.h"
#include "app/RouteEditor.h"
#include "store/BearingStore.h"
#include "store/SignalCachePath.h"
#include "store/StarterBearings.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>

namespace vantor::testing {
namespace {

class CatalogueEditorTest : public DatabaseFixture {
protected:
    QString NewMachine(const QString& name, const QString& before = {}) {
        CMachine machine;
        machine.sName = name;
        machine.sVMName = name.left(14);
        return editorPtr->SaveMachine(machine, {}, before).value_or(QString());
    }
    std::optional<QString> NewVib(const QString& machine, const QString& name, const QString& before = {}) {
        CVib vib;
        vib.sParentGUID = machine;
        vib.sName = name;
        vib.sVMName = name.left(14);
        vib.fRunSpeedHz = 25;
        return editorPtr->SaveVib(vib, before);
    }
    QStringList MachineOrder() {
        QStringList rows;
        for (const CMachine& m : Db().ListMachines()) {
            rows << QStringLiteral("%1@%2").arg(m.sName).arg(static_cast<double>(m.fOrder));
        }
        return rows;
    }

    void SetUp() override {
        DatabaseFixture::SetUp();
        editorPtr = std::make_unique<CatalogueEditor>(Db(), prompter);
        routesPtr = std::make_unique<RouteEditor>(Db(), prompter);
    }

    std::unique_ptr<CatalogueEditor> editorPtr;
    std::unique_ptr<RouteEditor> routesPtr;
};

TEST_F(CatalogueEditorTest, VibPointChecksRunInOrderAndStoreNothing) {
    const QString fan = NewMachine(QStringLiteral("Fan"));
    struct Case {
        QString name, meterName;
        float runSpeed, isoWarning, isoCritical;
        int message;
    };
    const Case cases[] = {
        {{}, QStringLiteral("a*b"), 0, 0, 0, text::PleaseInputName},
        {QStringLiteral("a*b"), {}, 0, 0, 0, text::NameForbiddenCharacters},
        {QString(51, QLatin1Char('x')), {}, 0, 0, 0, text::NameMaxLength50},
        {QStringLiteral("DE"), {}, 0, 0, 0, text::PleaseInputMeterName},
        {QStringLiteral("DE"), QStringLiteral("D|E"), 0, 0, 0, text::MeterNameForbiddenCharacters},
        {QStringLiteral("DE"), QString(15, QLatin1Char('x')), 0, 0, 0, text::MeterNameMaxLength14},
        {QStringLiteral("DE"), QStringLiteral("DE"), 0, -1, 2, text::RunSpeedMustBePositive},
        {QStringLiteral("DE"), QStringLiteral("DE"), 25, -1, -2, text::ValueMustBePositive},
        {QStringLiteral("DE"), QStringLiteral("DE"), 25, 2, 2, text::CriticalMustExceedWarning},
    };
    for (const Case& c : cases) {
        prompter.records.clear();
        CVib vib;
        vib.sParentGUID = fan;
        vib.sName = c.name;
        vib.sVMName = c.meterName;
        vib.fRunSpeedHz = c.runSpeed;
        vib.bISOAlarmsOn = true;
        vib.fISOWarningMMS = c.isoWarning;
        vib.fISOCriticalMMS = c.isoCritical;
        EXPECT_FALSE(editorPtr->SaveVib(vib));
        EXPECT_EQ(prompter.Messages(), QStringList{UiText(c.message)}) << c.message;
    }
    EXPECT_EQ(Db().CountVibs(fan), 0);
}

// A point and its bearings are stored together or not at all: when the bearings cannot be stored
// (a bearing gone from the library, or the database refusing the rows), neither a new point nor the
// edit of an existing one is kept, and the message says why.
TEST_F(CatalogueEditorTest, APointAndItsBearingsAreStoredTogetherOrNotAtAll) {
    const QString fan = NewMachine(QStringLiteral("Fan"));
    const QString existing = NewVib(fan, QStringLiteral("DE")).value_or(QString());
    ASSERT_FALSE(existing.isEmpty());
    const auto assignment = [](const QString& bearing) {
        CPointBearing row;
        row.sBearingGUID = bearing;
        row.sLocation = QStringLiteral("Fan NDE");
        row.fSpeedRatio = 1.0f;
        return row;
    };
    const QString starter = StarterBearings()[0].sItemGUID;
    CBearingStore bearings(Db());

    struct Case {
        const char* what;
        QString bearing;
        const char* trigger; // run before the save; dropped after it
    };
    const Case cases[] = {
        {"a bearing not in the library", MakeItemGuid(), nullptr},
        {"the database refusing the bearing rows", starter,
         "CREATE TRIGGER refuse BEFORE INSERT ON tblPointBearings BEGIN SELECT RAISE(ABORT, 'refused'); END"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.trigger) {
            ASSERT_TRUE(Exec(QLatin1String(c.trigger)));
        }
        prompter.records.clear();
        CVib renamed;
        ASSERT_TRUE(Db().GetVib(existing, renamed));
        renamed.sName = QStringLiteral("Renamed");
        EXPECT_FALSE(editorPtr->SaveVibWithBearings(renamed, {assignment(c.bearing)}));
        CVib fresh;
        fresh.sParentGUID = fan;
        fresh.sName = fresh.sVMName = QStringLiteral("NDE");
        fresh.fRunSpeedHz = 25;
        EXPECT_FALSE(editorPtr->SaveVibWithBearings(fresh, {assignment(c.bearing)}));
        // Both refusals name the bearings as what could not be saved.
        ASSERT_EQ(prompter.Messages().size(), 2);
        for (const QString& message : prompter.Messages()) {
            EXPECT_TRUE(message.startsWith(UiText(text::added::Bearings))) << message.toStdString();
            EXPECT_TRUE(message.contains(UiText(text::ErrorSavingRecord))) << message.toStdString();
        }
        const std::vector<CVib> points = Db().ListVibs(fan);
        ASSERT_EQ(points.size(), 1u);
        EXPECT_EQ(points[0].sName, QStringLiteral("DE"));
        EXPECT_TRUE(bearings.ListPointBearings(existing).empty());
        if (c.trigger) {
            ASSERT_TRUE(Exec(QStringLiteral("DROP TRIGGER refuse")));
        }
    }

    // Without the fault both are stored; a refused row is refused before anything is written.
    CVib renamed;
    ASSERT_TRUE(Db().GetVib(existing, renamed));
    renamed.sName = QStringLiteral("Renamed");
    CPointBearing unplaced = assignment(starter);
    unplaced.sLocation.clear();
    prompter.records.clear();
    EXPECT_FALSE(editorPtr->SaveVibWithBearings(renamed, {unplaced}));
    EXPECT_EQ(prompter.Messages().size(), 1);
    EXPECT_TRUE(prompter.Messages().front().contains(QStringLiteral("location")));
    EXPECT_EQ(editorPtr->SaveVibWithBearings(renamed, {assignment(starter)}), existing);
    EXPECT_EQ(editorPtr->LoadVib(existing)->sName, QStringLiteral("Renamed"));
    const std::vector<CPointBearing> stored = bearings.ListPointBearings(existing);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].sBearingGUID, starter);
}

TEST_F(CatalogueEditorTest, MachineAddressesAreLimitedAndChecked) {
    CMachine machine{{}, 0, QStringLiteral("Fan"), QStringLiteral("FAN"), {}};
    const QStringList six = SplitAddresses(QStringLiteral("a@x.io; b@x.io;c@x.io;d@x.io;e@x.io;f@x.io"));
    EXPECT_FALSE(editorPtr->SaveMachine(machine, six));
    EXPECT_FALSE(editorPtr->SaveMachine(machine, {QStringLiteral("a@x.io"), QStringLiteral("no-at.x.io")}));
    EXPECT_EQ(prompter.Messages(),
              (QStringList{UiText(text::FiveAddressesMax), UiText(text::EmailAddressInvalid)}));
    const auto guid = editorPtr->SaveMachine(machine, six.mid(0, 2));
    ASSERT_TRUE(guid);
    CMachine stored;
    ASSERT_TRUE(Db().GetMachine(*guid, stored));
    EXPECT_EQ(stored.sEMails, QStringLiteral("a@x.io;b@x.io"));
}

TEST_F(CatalogueEditorTest, EleventhVibPointIsRefusedWhileLubePointsAreStillAccepted) {
    const QString fan = NewMachine(QStringLiteral("Fan"));
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(NewVib(fan, QStringLiteral("V%1").arg(i)));
    }
    EXPECT_FALSE(NewVib(fan, QStringLiteral("V10")));
    EXPECT_EQ(prompter.Messages(), QStringList{QStringLiteral("10 ") + UiText(text::PointsPerMachineMax)});
    CLube lube;
    lube.sParentGUID = fan;
    lube.sName = lube.sVMName = QStringLiteral("Grease");
    EXPECT_TRUE(editorPtr->SaveLube(lube));
    EXPECT_EQ(Db().CountVibs(fan), 10);
}

TEST_F(CatalogueEditorTest, InsertBeforeAndMoveCompactTheOrder) {
    const QString a = NewMachine(QStringLiteral("A"));
    const QString b = NewMachine(QStringLiteral("B"));
    NewMachine(QStringLiteral("C"), a);
    NewMachine(QStringLiteral("D"), b);
    EXPECT_EQ(MachineOrder(), (QStringList{"C@0", "A@1", "D@2", "B@3"}));
    EXPECT_EQ(editorPtr->MoveMachine(a, {}), EditOutcome::Done);
    EXPECT_EQ(editorPtr->MoveMachine(b, a), EditOutcome::Done);
    EXPECT_EQ(MachineOrder(), (QStringList{"C@0", "D@1", "B@2", "A@3"}));
    // A point of another list is no place to put a machine.
    const QString point = NewVib(a, QStringLiteral("DE")).value_or(QString());
    EXPECT_EQ(editorPtr->MoveMachine(b, point), EditOutcome::Failed);
    EXPECT_FALSE(NewVib(a, QStringLiteral("NDE"), b));
}

TEST_F(CatalogueEditorTest, DeletedMachineTakesItsPointsReadingsCacheFilesAndRouteItems) {
    const QString fan = NewMachine(QStringLiteral("Fan"));
    const QString pump = NewMachine(QStringLiteral("Pump"));
    const QString point = NewVib(fan, QStringLiteral("DE")).value_or(QString());
    ASSERT_TRUE(NewVib(pump, QStringLiteral("DE")));
    CVibReading reading;
    reading.sItemGUID = MakeItemGuid();
    reading.sParentGUID = point;
    reading.ctDateTaken = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    ASSERT_TRUE(Db().UpsertVibReading(reading));
    const QString cache = SignalCacheFilePath(Db().Context().dataFolder, reading.sItemGUID);
    QDir().mkpath(QFileInfo(cache).path());
    QFile file(cache);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString route = routesPtr->AddRoute(QStringLiteral("North")).value_or(QString());
    ASSERT_TRUE(routesPtr->AddMachines(route, {fan, pump}));

    prompter.yesNoAnswers = {false, true};
    EXPECT_EQ(editorPtr->DeleteMachine(fan), EditOutcome::Declined);
    EXPECT_EQ(Db().CountVibs(fan), 1);
    EXPECT_EQ(editorPtr->DeleteMachine(fan), EditOutcome::Done);
    EXPECT_EQ(Db().CountVibs(fan), 0);
    EXPECT_EQ(Db().ListVibReadings(point).size(), 0u);
    EXPECT_FALSE(QFile::exists(cache));
    const auto items = Db().ListRouteItems(route);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].sMachineGUID, pump);
    EXPECT_EQ(items[0].fOrder, 0.0f);
    EXPECT_EQ(Db().ListRoutes().size(), 1u);
}

TEST_F(CatalogueEditorTest, RouteAdditionsAreAllOrNothing) {
    const QString fan = NewMachine(QStringLiteral("Fan"));
    const QString pump = NewMachine(QStringLiteral("Pump"));
    const QString bare = NewMachine(QStringLiteral("Bare"));
    ASSERT_TRUE(NewVib(fan, QStringLiteral("DE")));
    ASSERT_TRUE(NewVib(pump, QStringLiteral("DE")));
    const QString route = routesPtr->AddRoute(QStringLiteral("North")).value_or(QString());
    const QStringList first = routesPtr->AddMachines(route, {fan}).value_or(QStringList());
    ASSERT_EQ(first.size(), 1);
    struct Case {
        QStringList machines;
        int message;
    };
    const Case refused[] = {{{pump, fan}, text::MachineAlreadyInRoute},
                            {{pump, pump}, text::MachineAlreadyInRoute},
                            {{pump, bare}, text::MachineWithoutVibPoints}};
    for (const Case& c : refused) {
        prompter.records.clear();
        EXPECT_FALSE(routesPtr->AddMachines(route, c.machines));
        EXPECT_EQ(prompter.Messages(), QStringList{UiText(c.message)});
        EXPECT_EQ(Db().CountRouteItems(route), 1);
    }
    ASSERT_TRUE(routesPtr->AddMachines(route, {pump}, first[0]));
    const auto rows = routesPtr->Items(route).value_or(std::vector<RouteItemRow>{});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].machineName, QStringLiteral("Pump"));
    EXPECT_EQ(Db().ListRouteItems(route)[1].fOrder, 1.0f);
}

TEST_F(CatalogueEditorTest, ASelectionPastTheRouteLimitIsRefusedWhole) {
    const QString route = routesPtr->AddRoute(QStringLiteral("Big")).value_or(QString());
    {
        SqlConnection::Batch batch(Db().Connection());
        for (int i = 0; i < 999; ++i) {
            CRouteItem item{MakeItemGuid(), route, static_cast<float>(i), MakeItemGuid(),
                            QStringLiteral("M")};
            ASSERT_TRUE(Db().UpsertRouteItem(item));
        }
    }
    const QString fan = NewMachine(QStringLiteral("Fan"));
    const QString pump = NewMachine(QStringLiteral("Pump"));
    ASSERT_TRUE(NewVib(fan, QStringLiteral("DE")));
    ASSERT_TRUE(NewVib(pump, QStringLiteral("DE")));
    EXPECT_FALSE(routesPtr->AddMachines(route, {fan, pump}));
    EXPECT_EQ(prompter.Messages(), QStringList{QStringLiteral("1000 ") + UiText(text::MachinesPerRouteMax)});
    EXPECT_TRUE(routesPtr->AddMachines(route, {fan}));
    EXPECT_EQ(Db().CountRouteItems(route), 1000);
}

} // namespace
} // namespace vantor::testing
