// vantor offroute and vantor devices as a user runs them, on a temporary data root.
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "texts/UiText.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace vantor {
namespace {

using Outcome = vantor::testing::VantorRun;

class SetupCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        sync = app->MakeSyncConnection();
        ASSERT_TRUE(sync->Open());

        CMachine machine{MakeItemGuid(), 0, QStringLiteral("Fan"), QStringLiteral("FAN"), {}};
        ASSERT_TRUE(app->MainConnection()->UpsertMachine(machine));
        point.sItemGUID = MakeItemGuid();
        point.sParentGUID = machine.sItemGUID;
        point.sName = QStringLiteral("Motor DE");
        ASSERT_TRUE(app->MainConnection()->UpsertVib(point));

        offRoute.sItemGUID = MakeItemGuid();
        offRoute.ctDateTaken = QDateTime(QDate(2024, 5, 6), QTime(9, 15, 30));
        offRoute.fISOMMS = 2.5f;
        offRoute.rawADCISODataByteArray = QByteArray("\x01\x02", 2);
        ASSERT_TRUE(sync->UpsertOffRouteReading(offRoute));

        first = {MakeItemGuid(), 3, QStringLiteral("Line 1"), QStringLiteral("SN-A"), {}};
        second = {MakeItemGuid(), 8, QStringLiteral("Line 2"), QStringLiteral("SN-B"), {}};
        ASSERT_TRUE(sync->UpsertDevice(first));
        ASSERT_TRUE(sync->UpsertDevice(second));
    }

    static Outcome Vantor(const QStringList& arguments) { return vantor::testing::RunVantor(arguments); }
    static QByteArray Line(int index) { return UiText(index).toUtf8() + '\n'; }
    std::size_t OffRouteRows() { return sync->ListOffRouteReadings().size(); }
    QStringList Devices() {
        QStringList rows;
        for (const CDevice& device : sync->ListDevices()) {
            rows << QStringLiteral("%1@%2").arg(device.sName).arg(static_cast<double>(device.fOrder));
        }
        return rows;
    }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    std::unique_ptr<CRecordSyncConnection> sync;
    CVib point;
    COffRouteReading offRoute;
    CDevice first;
    CDevice second;
};

TEST_F(SetupCommandsTest, OffRouteMoveStoresUnderThePointAndRemovesTheRow) {
    const Outcome missingPoint = Vantor(
        {"offroute", "move", offRoute.sItemGUID, "--to", QString::fromLatin1(CAppData::OffRouteAssetGuid)});
    EXPECT_EQ(missingPoint.status, 1);
    EXPECT_EQ(missingPoint.err, Line(text::ErrorLoadingRecord));
    EXPECT_EQ(OffRouteRows(), 1u);

    EXPECT_EQ(Vantor({"offroute", "move", offRoute.sItemGUID}).status, 2); // --to is required

    const Outcome moved = Vantor({"offroute", "move", offRoute.sItemGUID, "--to", point.sItemGUID});
    EXPECT_EQ(moved.status, 0) << moved.err.toStdString();
    EXPECT_TRUE(moved.err.isEmpty());
    EXPECT_EQ(OffRouteRows(), 0u);
    const auto readings = app->MainConnection()->ListVibReadings(point.sItemGUID);
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_EQ(readings[0].fISOMMS, 2.5f);
    EXPECT_EQ(readings[0].rawADCISODataByteArray, offRoute.rawADCISODataByteArray);

    const Outcome again = Vantor({"offroute", "move", offRoute.sItemGUID, "--to", point.sItemGUID});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, Line(text::ErrorLoadingRecord));
}

TEST_F(SetupCommandsTest, OffRouteDeleteAsksAndADeclineIsACancel) {
    const Outcome declined = Vantor({"offroute", "delete", offRoute.sItemGUID});
    EXPECT_EQ(declined.status, 3);
    EXPECT_EQ(declined.err, Line(text::DeleteVibReadingQuestion));
    EXPECT_EQ(OffRouteRows(), 1u);

    const Outcome deleted = Vantor({"offroute", "delete", offRoute.sItemGUID, "--yes"});
    EXPECT_EQ(deleted.status, 0);
    EXPECT_EQ(OffRouteRows(), 0u);
}

TEST_F(SetupCommandsTest, DevicesRenameChecksTheNameAndRenumbers) {
    const Outcome refused = Vantor({"devices", "rename", second.sItemGUID, "Line|2"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, Line(text::NamePromptForbiddenCharacters));
    EXPECT_EQ(Devices(), (QStringList{"Line 1@3", "Line 2@8"}));

    const Outcome unknown = Vantor({"devices", "rename", MakeItemGuid(), "Boiler"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, Line(text::ErrorLoadingRecord));

    const Outcome renamed = Vantor({"devices", "rename", second.sItemGUID, "Boiler house"});
    EXPECT_EQ(renamed.status, 0) << renamed.err.toStdString();
    EXPECT_EQ(Devices(), (QStringList{"Line 1@0", "Boiler house@1"}));
}

TEST_F(SetupCommandsTest, DevicesDeleteAsksThenRenumbers) {
    EXPECT_EQ(Vantor({"devices", "delete", first.sItemGUID}).status, 3);
    EXPECT_EQ(Devices().size(), 2);
    const Outcome deleted = Vantor({"devices", "delete", first.sItemGUID, "--yes"});
    EXPECT_EQ(deleted.status, 0);
    EXPECT_EQ(deleted.err, Line(text::AreYouSureDelete)); // the question is still shown
    EXPECT_EQ(Devices(), QStringList{"Line 2@0"});
}

} // namespace
} // namespace vantor
