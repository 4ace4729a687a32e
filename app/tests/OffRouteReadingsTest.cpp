// The off-route readings list: its rows, Delete and Move To.
#include "app/OffRouteReadings.h"
#include "DatabaseFixture.h"
#include "texts/UiText.h"

#include <QFile>

namespace vantor::testing {
namespace {

class OffRouteReadingsTest : public DatabaseFixture {
protected:
    COffRouteReading AddOffRoute(const QDateTime& taken, float iso) {
        COffRouteReading reading;
        reading.sItemGUID = MakeItemGuid();
        reading.sDeviceGUID = QStringLiteral("{meter}");
        reading.sDeviceName = QStringLiteral("Meter A");
        reading.sDeviceSN = QStringLiteral("SN-1");
        reading.ctDateTaken = taken;
        reading.fISOMMS = iso;
        reading.fBearingBDU = 12.0f;
        reading.fTotalG = 0.75f;
        reading.fDisplacementMicrons = 25.4f;
        reading.fVABand3G = 0.125f;
        reading.fCurrentRunSpeedHz = 24.5f;
        reading.iISONumberOfSamples = 4;
        reading.rawADCISODataByteArray = QByteArray("\x01\x02\x03\x04", 4);
        reading.rawADCTotalDataByteArray = QByteArray("\x05\x06", 2);
        auto sync = app->MakeSyncConnection();
        EXPECT_TRUE(sync->Open());
        EXPECT_TRUE(sync->UpsertOffRouteReading(reading));
        return reading;
    }
    std::vector<COffRouteReading> OffRouteRows() {
        auto sync = app->MakeSyncConnection();
        EXPECT_TRUE(sync->Open());
        return sync->ListOffRouteReadings();
    }
    static OffRouteReadingList::PointChooser Choose(const QString& guid) {
        return [guid] { return std::optional<QString>(guid); };
    }

    const QDateTime monday{QDate(2024, 5, 6), QTime(9, 15, 30)};
    const QDateTime tuesday{QDate(2024, 5, 7), QTime(10, 0, 0)};
};

TEST_F(OffRouteReadingsTest, RowsNewestFirstWithHeadersInTheCurrentUnits) {
    AddOffRoute(monday, 2.5f);
    const COffRouteReading newer = AddOffRoute(tuesday, -100.0f); // the meter gave no ISO value
    app->settings.yAxisUnits = 1;                                 // inch/s and thou
    OffRouteReadingList list(*app);
    ASSERT_TRUE(list.Open());

    EXPECT_EQ(list.Headers(),
              (QStringList{UiText(text::DateTime),
                           UiText(text::IsoLabel) + " (" + UiText(text::UnitInchPerSecond) + ")",
                           UiText(text::BearingNoiseLabel) + " (BDU)", UiText(text::TotalLabel) + " (g)",
                           UiText(text::DisplacementLabel) + " (" + UiText(text::UnitThou) + ")"}));
    ASSERT_EQ(list.Rows().size(), 2u);
    EXPECT_EQ(list.Rows()[0].guid, newer.sItemGUID);
    EXPECT_EQ(list.Rows()[0].iso, QString());
    EXPECT_EQ(list.Rows()[1].taken, monday);
    EXPECT_EQ(list.Rows()[1].iso, QStringLiteral("0.098")); // 2.5 mm/s in inch/s, three decimals
    EXPECT_EQ(list.Rows()[1].bearingNoise, QStringLiteral("12"));
    EXPECT_EQ(list.Rows()[1].total, QStringLiteral("0.8"));
    EXPECT_EQ(list.Rows()[1].displacement, QStringLiteral("1"));
    EXPECT_EQ(list.Rows()[1].date, ReadingDateText(monday));
    EXPECT_TRUE(
        ReadingDateText(monday, QLocale(QLocale::English, QLocale::UnitedKingdom)).endsWith("09:15:30"));
}

TEST_F(OffRouteReadingsTest, DeleteAsksAndDeletesOnlyOnYes) {
    const COffRouteReading reading = AddOffRoute(monday, 2.5f);
    OffRouteReadingList list(*app);
    ASSERT_TRUE(list.Open());

    prompter.yesNoAnswers = {false};
    EXPECT_EQ(list.Delete(reading.sItemGUID), EditOutcome::Declined);
    EXPECT_EQ(prompter.Texts(), QStringList{UiText(text::DeleteVibReadingQuestion)});
    EXPECT_EQ(OffRouteRows().size(), 1u);

    prompter.yesNoAnswers = {true};
    EXPECT_EQ(list.Delete(reading.sItemGUID), EditOutcome::Done);
    EXPECT_TRUE(OffRouteRows().empty());
    EXPECT_TRUE(list.Rows().empty()); // refilled

    prompter.records.clear();
    EXPECT_EQ(list.Delete(reading.sItemGUID), EditOutcome::Failed); // gone: nothing to ask about
    EXPECT_EQ(prompter.Texts(), QStringList{UiText(text::ErrorLoadingRecord)});
}

TEST_F(OffRouteReadingsTest, MoveToStoresEveryColumnUnderThePointThenDeletesTheRow) {
    const CVib point = AddPoint(AddMachine(QStringLiteral("Fan")), QStringLiteral("Motor DE"));
    const COffRouteReading reading = AddOffRoute(monday, 2.5f);
    const COffRouteReading other = AddOffRoute(tuesday, 1.0f);
    OffRouteReadingList list(*app);
    ASSERT_TRUE(list.Open());

    EXPECT_EQ(list.MoveTo(reading.sItemGUID, Choose(point.sItemGUID)), EditOutcome::Done);
    EXPECT_TRUE(prompter.records.empty());
    const std::vector<CVibReading> moved = Db().ListVibReadings(point.sItemGUID);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].sItemGUID, reading.sItemGUID);
    EXPECT_EQ(moved[0].sParentGUID, point.sItemGUID);
    EXPECT_EQ(moved[0].sDeviceName, QStringLiteral("Meter A"));
    EXPECT_EQ(moved[0].sDeviceSN, QStringLiteral("SN-1"));
    EXPECT_EQ(moved[0].ctDateTaken, monday);
    EXPECT_EQ(moved[0].fISOMMS, 2.5f);
    EXPECT_EQ(moved[0].fVABand3G, 0.125f);
    EXPECT_EQ(moved[0].fCurrentRunSpeedHz, 24.5f);
    EXPECT_EQ(moved[0].iISONumberOfSamples, 4);
    EXPECT_EQ(moved[0].rawADCISODataByteArray, reading.rawADCISODataByteArray);
    EXPECT_EQ(moved[0].rawADCTotalDataByteArray, reading.rawADCTotalDataByteArray);

    const auto left = OffRouteRows();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].sItemGUID, other.sItemGUID);
    ASSERT_EQ(list.Rows().size(), 1u);
}

TEST_F(OffRouteReadingsTest, MoveToAPointWithAReadingAtTheSameInstantUpdatesThatReading) {
    const CVib point = AddPoint(AddMachine(QStringLiteral("Fan")), QStringLiteral("Motor DE"));
    CVibReading existing;
    existing.sItemGUID = MakeItemGuid();
    existing.sParentGUID = point.sItemGUID;
    existing.ctDateTaken = monday;
    existing.fISOMMS = 9.0f;
    ASSERT_TRUE(Db().UpsertVibReading(existing));
    const COffRouteReading reading = AddOffRoute(monday, 2.5f);
    OffRouteReadingList list(*app);
    ASSERT_TRUE(list.Open());

    EXPECT_EQ(list.MoveTo(reading.sItemGUID, Choose(point.sItemGUID)), EditOutcome::Done);
    const std::vector<CVibReading> readings = Db().ListVibReadings(point.sItemGUID);
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_EQ(readings[0].fISOMMS, 2.5f);
    EXPECT_TRUE(OffRouteRows().empty());
}

TEST_F(OffRouteReadingsTest, AFailedStoreKeepsTheOffRouteRow) {
    const CVib point = AddPoint(AddMachine(QStringLiteral("Fan")), QStringLiteral("Motor DE"));
    const COffRouteReading reading = AddOffRoute(monday, 2.5f);
    // The database refuses every new vibration reading, as a full or damaged file would.
    ASSERT_TRUE(Exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblVibReadings "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    OffRouteReadingList list(*app);
    ASSERT_TRUE(list.Open());

    EXPECT_EQ(list.MoveTo(reading.sItemGUID, Choose(point.sItemGUID)), EditOutcome::Failed);
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::ErrorSavingRecord)});
    EXPECT_TRUE(Db().ListVibReadings(point.sItemGUID).empty());
    ASSERT_EQ(OffRouteRows().size(), 1u);

    // With the table gone altogether the store cannot even look for a row: the same outcome.
    ASSERT_TRUE(Exec(QStringLiteral("ALTER TABLE tblVibReadings RENAME TO tblVibReadingsAway")));
    prompter.records.clear();
    EXPECT_EQ(list.MoveTo(reading.sItemGUID, Choose(point.sItemGUID)), EditOutcome::Failed);
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::ErrorSavingRecord)});
    EXPECT_EQ(OffRouteRows().size(), 1u);
}

TEST_F(OffRouteReadingsTest, MoveToStopsEarlyForAMissingReadingACancelledChoiceOrAMissingPoint) {
    const CVib point = AddPoint(AddMachine(QStringLiteral("Fan")), QStringLiteral("Motor DE"));
    const COffRouteReading reading = AddOffRoute(monday, 2.5f);
    OffRouteReadingList list(*app);
    ASSERT_TRUE(list.Open());

    bool asked = false;
    EXPECT_EQ(list.MoveTo(MakeItemGuid(),
                          [&asked] {
                              asked = true;
                              return std::optional<QString>();
                          }),
              EditOutcome::Failed);
    EXPECT_FALSE(asked);
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::ErrorLoadingRecord)});

    prompter.records.clear();
    EXPECT_EQ(list.MoveTo(reading.sItemGUID, [] { return std::optional<QString>(); }), EditOutcome::Declined);
    EXPECT_TRUE(prompter.records.empty());

    // An Off Route point is not a vibration point of the catalogue.
    EXPECT_EQ(list.MoveTo(reading.sItemGUID, Choose(QString::fromLatin1(CAppData::OffRoutePointGuids[0]))),
              EditOutcome::Failed);
    EXPECT_EQ(prompter.Messages(), QStringList{UiText(text::ErrorLoadingRecord)});
    EXPECT_EQ(OffRouteRows().size(), 1u);
    EXPECT_TRUE(Db().ListVibReadings(point.sItemGUID).empty());
}

TEST_F(OffRouteReadingsTest, AMissingDatabaseFileClosesTheList) {
    ASSERT_TRUE(QFile::remove(app->MakeStoreContext().databaseFile));
    OffRouteReadingList list(*app);
    EXPECT_FALSE(list.Open());
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_EQ(list.Delete(QStringLiteral("{x}")), EditOutcome::Failed);
}

} // namespace
} // namespace vantor::testing
