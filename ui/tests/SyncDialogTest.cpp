// The synchronisation dialog's states with shortened timers, under the offscreen platform.
#include "ui/sync/SyncDialog.h"
#include "app/Startup.h"
#include "device/SyncEvents.h"
#include "device/tests/EmulatedMeter.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/SyncState.h"
#include "texts/UiText.h"
#include "ui/common/GuiThreadPrompter.h"
#include "ui/sync/DesktopSync.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

using namespace vantor;
using namespace std::chrono_literals;

namespace {

class SyncDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        settings = MakeSyncSettings(*app, true);
        // No cradle on this line: the run asks Retry/Cancel and ends.
        settings.port = env.Root() + QStringLiteral("/no-such-tty");
    }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    SyncSettings settings;
};

TEST_F(SyncDialogTest, ARunWithoutACradleAsksOnTheUserThreadAndClosesItself) {
    CSyncDialog dialog(settings, prompter, nullptr, {10ms, 10ms});
    EXPECT_EQ(dialog.windowTitle(), UiText(text::FromMeter) + QChar(0x2191) + QStringLiteral("..."));
    EXPECT_EQ(dialog.AbortButton()->text(), UiText(text::Abort));
    EXPECT_EQ(dialog.ProgressText(), UiText(text::CheckingForDevice) + QStringLiteral("..."));
    EXPECT_EQ(SyncInProgress(), 1);

    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    ASSERT_TRUE(dialog.WorkerStarted());
    const int result = dialog.Outcome()->result;
    EXPECT_TRUE(result == -1009 || result == -1010) << result;
    ASSERT_FALSE(prompter.records.empty());
    EXPECT_EQ(prompter.records[0].kind, vantor::testing::PromptRecord::Kind::RetryCancel);
    EXPECT_EQ(dialog.ProgressText(), UiText(text::SyncAborted));
    // The worker's end is not an Abort press.
    EXPECT_EQ(dialog.AbortButton()->text(), UiText(text::Abort));
    EXPECT_FALSE(dialog.AbortButton()->isEnabled());
    EXPECT_EQ(SyncInProgress(), 0);
}

TEST_F(SyncDialogTest, AnUploadFromTheEmulatedMeterNamesTheNewMeterAndStoresItsReadings) {
    const auto meter = vantor::testing::StartMeter(R"({"meter": {"version": "1.1"},
        "assets": [{"guid": "0a1b2c3d-0000-4000-8000-00000000000a", "name": "Fan 3"}],
        "points": [{"asset": "0a1b2c3d-0000-4000-8000-00000000000a",
                    "guid": "0a1b2c3d-0000-4000-8000-0000000000b1", "name": "DE H", "runSpeedHz": 24.5}],
        "readings": [{"point": 0, "slot": 0, "taken": "2026-11-30T09:10:00Z"},
                     {"point": 0, "slot": 1, "taken": "2026-11-30T09:11:00Z"}]})");
    ASSERT_NE(meter, nullptr);
    settings.port = meter->DevicePath();
    settings.linkTimings = vantor::testing::kTestTimings;
    settings.announcePause = 1ms;
    prompter.nameAnswers = {QStringLiteral("Meter B")};
    CSyncDialog dialog(settings, prompter, nullptr, {10ms, 10ms});
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    ASSERT_TRUE(dialog.WorkerStarted());
    EXPECT_EQ(dialog.Outcome()->result, 0);
    EXPECT_EQ(dialog.Outcome()->uploaded, 2);
    EXPECT_EQ(dialog.ProgressText(), UiText(text::SyncCompleted));
    EXPECT_EQ(app->MainConnection()
                  ->ListVibReadings(QStringLiteral("{0a1b2c3d-0000-4000-8000-0000000000b1}"))
                  .size(),
              2u);
    auto sync = app->MakeSyncConnection();
    ASSERT_TRUE(sync->Open());
    const std::vector<CDevice> devices = sync->ListDevices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].sName, QStringLiteral("Meter B"));
    EXPECT_EQ(meter->State().screen, 1);
}

TEST_F(SyncDialogTest, AbortBeforeTheStartDelayClosesWithoutStartingTheWorker) {
    CSyncDialog dialog(settings, prompter, nullptr, {60s, 10ms});
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.AbortButton()->click(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_FALSE(dialog.WorkerStarted());
    EXPECT_TRUE(prompter.records.empty());
    EXPECT_EQ(dialog.AbortButton()->text(), UiText(text::Aborting));
    EXPECT_EQ(SyncInProgress(), 0);
}

TEST_F(SyncDialogTest, TheCloseBoxIsAnAbortWithoutAbortingAndNeverClosesARunningWorker) {
    CSyncDialog dialog(settings, prompter, nullptr, {60s, 10ms});
    dialog.show();
    SyncDoneEvent().Reset(); // as while a worker runs
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(SyncAbortEvent().IsSet());
    EXPECT_FALSE(dialog.AbortButton()->isEnabled());
    EXPECT_EQ(dialog.AbortButton()->text(), UiText(text::Abort));
    QTest::qWait(100); // ten close polls
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(SyncInProgress(), 1);

    SyncDoneEvent().Set();
    EXPECT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }, 5000));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.WorkerStarted());
    EXPECT_EQ(SyncInProgress(), 0);
}

TEST_F(SyncDialogTest, ToMeterTitleCarriesTheDownwardArrow) {
    settings.fromMeter = false;
    CSyncDialog dialog(settings, prompter, nullptr, {60s, 10ms});
    EXPECT_EQ(dialog.windowTitle(), UiText(text::ToMeter) + QChar(0x2193) + QStringLiteral("..."));
    dialog.reject(); // Escape
    EXPECT_TRUE(QTest::qWaitFor([&dialog] { return dialog.result() == QDialog::Accepted; }, 5000));
}

TEST_F(SyncDialogTest, TheBarCountsTheRouteDownloadAndAnotherTextMakesItBusyAgain) {
    settings.fromMeter = false;
    CSyncDialog dialog(settings, prompter, nullptr, {60s, 10ms});
    // As the download words it: the item's text, then its count.
    dialog.ShowProgress(UiText(text::CreatingMachine) + QStringLiteral(": Fan"));
    dialog.ShowStep(12, 23);
    EXPECT_EQ(dialog.Bar()->maximum(), 23);
    EXPECT_EQ(dialog.Bar()->value(), 12);
    EXPECT_TRUE(dialog.Bar()->isTextVisible());
    EXPECT_EQ(dialog.Bar()->text(), UiText(text::added::StepOfSteps).arg(12).arg(23));
    dialog.ShowProgress(UiText(text::SyncCompleted));
    EXPECT_EQ(dialog.Bar()->maximum(), 0);
    EXPECT_FALSE(dialog.Bar()->isTextVisible());
    dialog.reject();
    EXPECT_TRUE(QTest::qWaitFor([&dialog] { return dialog.result() == QDialog::Accepted; }, 5000));
}

// Records on which thread it was asked.
class ThreadNotingPrompter final : public Prompter {
public:
    void ShowMessage(const QString&) override { Note(); }
    bool AskYesNo(const QString&) override { return Note(); }
    bool AskRetryCancel(const QString&) override { return Note(); }
    std::optional<QString> PromptName(const NameRequest& request) override {
        Note();
        return request.initial;
    }
    std::optional<QDateTime> PromptDateFix(const DateFixRequest&) override { return std::nullopt; }

    bool Note() {
        onUserThread = onUserThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        ++calls;
        return true;
    }
    bool onUserThread = true;
    int calls = 0;
};

TEST(GuiThreadPrompter, AWorkerThreadsQuestionsAreAnsweredOnTheUserThread) {
    ThreadNotingPrompter shown;
    GuiThreadPrompter prompter(shown);
    std::optional<QString> name;
    bool retry = false;
    std::atomic<bool> finished = false;
    std::thread worker([&] {
        prompter.ShowMessage(QStringLiteral("message"));
        retry = prompter.AskRetryCancel(QStringLiteral("retry?"));
        name = prompter.PromptName({QStringLiteral("title"), {}, QStringLiteral("Meter C"), 0});
        finished = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&finished] { return finished.load(); }, 5000));
    worker.join();
    EXPECT_EQ(shown.calls, 3);
    EXPECT_TRUE(shown.onUserThread);
    EXPECT_TRUE(retry);
    EXPECT_EQ(name, QStringLiteral("Meter C"));
    // Asked on the user thread itself, it answers directly.
    EXPECT_TRUE(prompter.AskYesNo(QStringLiteral("yes?")));
    EXPECT_TRUE(shown.onUserThread);
}

} // namespace
