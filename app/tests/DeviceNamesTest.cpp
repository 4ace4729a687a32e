// The list of known meters: rows, Rename and Delete with renumbering.
#include "app/DeviceNames.h"
#include "DatabaseFixture.h"
#include "platform/ConsolePrompter.h"
#include "texts/UiText.h"

namespace vantor::testing {
namespace {

class DeviceNamesTest : public DatabaseFixture {
protected:
    void SetUp() override {
        DatabaseFixture::SetUp();
        sync = app->MakeSyncConnection();
        ASSERT_TRUE(sync->Open());
        // Stored out of order and with gaps, as years of adding and deleting leave them.
        a = AddDevice(QStringLiteral("Line 1"), QStringLiteral("SN-A"), 7.5f);
        b = AddDevice(QStringLiteral("Line 2"), QStringLiteral("SN-B"), 2.0f);
        c = AddDevice(QStringLiteral("Stores"), QStringLiteral("SN-C"), 12.0f);
    }
    CDevice AddDevice(const QString& name, const QString& serial, float order) {
        CDevice device{MakeItemGuid(), order, name, serial, {}};
        EXPECT_TRUE(sync->UpsertDevice(device));
        return device;
    }
    // (name, order) of every stored meter in list order.
    std::vector<std::pair<QString, float>> Stored() {
        std::vector<std::pair<QString, float>> rows;
        for (const CDevice& device : sync->ListDevices()) {
            rows.emplace_back(device.sName, device.fOrder);
        }
        return rows;
    }
    std::size_t NamePrompts() const {
        return static_cast<std::size_t>(
            std::count_if(prompter.records.cbegin(), prompter.records.cend(),
                          [](const auto& r) { return r.kind == PromptRecord::Kind::Name; }));
    }

    std::unique_ptr<CRecordSyncConnection> sync;
    CDevice a, b, c;
};

using Rows = std::vector<std::pair<QString, float>>;

TEST_F(DeviceNamesTest, RowsFollowTheStoredOrderNumberedFromOne) {
    DeviceNameList list(*app);
    ASSERT_TRUE(list.Open());
    EXPECT_EQ(DeviceNameList::Headers(),
              (QStringList{UiText(text::OrderColumn), UiText(text::DeviceNameColumn),
                           UiText(text::DeviceSerialColumn)}));
    ASSERT_EQ(list.Rows().size(), 3u);
    EXPECT_EQ(list.Rows()[0].name, QStringLiteral("Line 2"));
    EXPECT_EQ(list.Rows()[0].order, 1);
    EXPECT_EQ(list.Rows()[2].name, QStringLiteral("Stores"));
    EXPECT_EQ(list.Rows()[2].serialNumber, QStringLiteral("SN-C"));
    EXPECT_EQ(list.Rows()[2].order, 3);
}

TEST_F(DeviceNamesTest, RenameRefusesBadNamesUntilOneIsAcceptedThenRenumbers) {
    CVibReading reading;
    reading.sItemGUID = MakeItemGuid();
    reading.sParentGUID = MakeItemGuid();
    reading.sDeviceGUID = a.sItemGUID;
    reading.sDeviceName = a.sName;
    reading.sDeviceSN = a.sSN;
    reading.ctDateTaken = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));
    ASSERT_TRUE(Db().UpsertVibReading(reading));

    DeviceNameList list(*app);
    ASSERT_TRUE(list.Open());
    prompter.nameAnswers = {QStringLiteral("Line*1"), QString(), QStringLiteral("Boiler house")};
    EXPECT_EQ(list.Rename(a.sItemGUID), EditOutcome::Done);
    EXPECT_EQ(NamePrompts(), 3u);
    EXPECT_EQ(prompter.Messages(),
              (QStringList{UiText(text::NamePromptForbiddenCharacters), UiText(text::PleaseInputName)}));
    EXPECT_EQ(Stored(), (Rows{{"Line 2", 0.0f}, {"Boiler house", 1.0f}, {"Stores", 2.0f}}));
    EXPECT_EQ(list.Rows()[1].name, QStringLiteral("Boiler house"));

    // The reading keeps the name it was stored with.
    CVibReading kept;
    ASSERT_TRUE(Db().GetVibReading(reading.sItemGUID, kept));
    EXPECT_EQ(kept.sDeviceName, QStringLiteral("Line 1"));
    EXPECT_EQ(kept.sDeviceSN, QStringLiteral("SN-A"));
}

TEST_F(DeviceNamesTest, RenameCancelledOrOfAMissingMeterChangesNothing) {
    DeviceNameList list(*app);
    ASSERT_TRUE(list.Open());
    prompter.nameAnswers = {QStringLiteral("a/b"), std::nullopt};
    EXPECT_EQ(list.Rename(b.sItemGUID), EditOutcome::Declined);
    EXPECT_EQ(NamePrompts(), 2u);

    prompter.records.clear();
    EXPECT_EQ(list.Rename(MakeItemGuid()), EditOutcome::Failed);
    EXPECT_EQ(prompter.Texts(), QStringList{UiText(text::ErrorLoadingRecord)});
    EXPECT_EQ(Stored(), (Rows{{"Line 2", 2.0f}, {"Line 1", 7.5f}, {"Stores", 12.0f}}));
}

TEST_F(DeviceNamesTest, EachRefusedNameCountsAsAnAttemptSoAnAnswererWithoutAPersonGivesUp) {
    // The command line's prompter offers its one preset name only on the first attempt.
    std::FILE* messages = std::tmpfile();
    ConsoleAnswers answers;
    answers.name = QStringLiteral("Line?2");
    ConsolePrompter console(answers, messages, nullptr);
    CAppData consoleApp(console);
    ASSERT_TRUE(RunHeadlessStartup(consoleApp));
    DeviceNameList list(consoleApp);
    ASSERT_TRUE(list.Open());
    EXPECT_EQ(list.Rename(b.sItemGUID), EditOutcome::Declined);
    std::fclose(messages);
    EXPECT_EQ(Stored(), (Rows{{"Line 2", 2.0f}, {"Line 1", 7.5f}, {"Stores", 12.0f}}));
}

TEST_F(DeviceNamesTest, DeleteAsksThenDeletesAndRenumbers) {
    DeviceNameList list(*app);
    ASSERT_TRUE(list.Open());
    prompter.yesNoAnswers = {false, true};
    EXPECT_EQ(list.Delete(a.sItemGUID), EditOutcome::Declined);
    EXPECT_EQ(Stored().size(), 3u);
    EXPECT_EQ(list.Delete(a.sItemGUID), EditOutcome::Done);
    EXPECT_EQ(prompter.Texts(), QStringList(2, UiText(text::AreYouSureDelete)));
    EXPECT_EQ(Stored(), (Rows{{"Line 2", 0.0f}, {"Stores", 1.0f}}));
    ASSERT_EQ(list.Rows().size(), 2u);
    EXPECT_EQ(list.Rows()[1].order, 2);
}

} // namespace
} // namespace vantor::testing
