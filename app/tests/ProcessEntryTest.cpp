#include "app/ProcessEntry.h"
#include "app/CommandLine.h"
#include "app/FileTypeRegistration.h"
#include "app/PendingDataFile.h"
#include "app/SingleInstance.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "texts/UiText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <future>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace vantor;
using namespace std::chrono_literals;

namespace {

// A single-instance name no real program uses, distinct per test.
QString TestInstanceName() {
    static int counter = 0;
    return QStringLiteral("VantorTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// Runs a blocking call on another thread while this thread's event loop keeps serving the
// running instance, as two processes would.
template <typename F> auto WhileServing(F call) {
    auto result = std::async(std::launch::async, std::move(call));
    while (result.wait_for(5ms) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return result.get();
}

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(CommandLineArgument, KeepsOnlyAFileEndingInTheExactExtension) {
    const QString ext = QStringLiteral("rmd");
    EXPECT_EQ(KeptDataFileArgument({"Corvane", "/data/Plant.rmd"}, ext), QStringLiteral("/data/Plant.rmd"));
    EXPECT_EQ(KeptDataFileArgument({"Corvane", "/data/Plant.RMD"}, ext), QString());
    EXPECT_EQ(KeptDataFileArgument({"Corvane", "/data/Plant.Rmd"}, ext), QString());
    EXPECT_EQ(KeptDataFileArgument({"Corvane", "/data/Plant.rmd.bak"}, ext), QString());
    EXPECT_EQ(KeptDataFileArgument({"Corvane", "-reverse", "a.rmd"}, ext), QStringLiteral("a.rmd"));
    EXPECT_EQ(KeptDataFileArgument({"Corvane"}, ext), QString());
    EXPECT_FALSE(HasDataFileExtension(QStringLiteral("md"), ext));
}

class SingleInstanceTest : public ::testing::Test {
protected:
    QString name = TestInstanceName();
};

TEST_F(SingleInstanceTest, ASecondLaunchHandsItsFileToTheRunningWindow) {
    SingleInstance first(name);
    ASSERT_TRUE(first.Claim());
    first.SetWindowReady(true);
    QSignalSpy files(&first, &SingleInstance::DataFileReceived);
    QSignalSpy activations(&first, &SingleInstance::ActivationRequested);

    SingleInstance second(name);
    EXPECT_FALSE(second.Claim());
    const QString path = QStringLiteral("/data/Plant Ä 1.rmd");
    EXPECT_TRUE(WhileServing([&] { return SingleInstance::Forward(name, path); }));
    QTRY_COMPARE(files.size(), 1);
    EXPECT_EQ(files[0][0].toString(), path);
    EXPECT_EQ(activations.size(), 1);

    // Without a file the window only comes to the front.
    EXPECT_TRUE(WhileServing([&] { return SingleInstance::Forward(name, QString()); }));
    QTRY_COMPARE(activations.size(), 2);
    EXPECT_EQ(files.size(), 1);
}

TEST_F(SingleInstanceTest, WithoutAWindowYetTheSecondLaunchShowsTheOrvoMessage) {
    SingleInstance first(name);
    ASSERT_TRUE(first.Claim());
    QSignalSpy files(&first, &SingleInstance::DataFileReceived);

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    Edition edition = Edition::For(2, 0);
    edition.singleInstanceName = name;
    CAppData app(prompter, edition);
    SingleInstance second(name);
    const ProcessStart start = WhileServing([&] {
        return EnterProcess(app, second, {QStringLiteral("Corvane"), QStringLiteral("/d/a.rmd")},
                            QStringLiteral("/opt/Corvane"));
    });
    EXPECT_FALSE(start.run);
    EXPECT_EQ(
        prompter.Messages(),
        QStringList{QStringLiteral("Corvane can't be run while another app in the Orvo range is running.")});
    EXPECT_EQ(files.size(), 0);
    // A second launch registers nothing and writes no settings.
    EXPECT_FALSE(QFileInfo::exists(FileTypeRegistrationFor(edition).desktopFile));
}

TEST_F(SingleInstanceTest, AnInstanceLeftByACrashDoesNotBlockTheNextStart) {
    const QString socketPath = SingleInstance::SocketPath(name);
    // A socket file nobody listens on, as a killed process leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    ASSERT_LT(static_cast<size_t>(encoded.size()), sizeof(address.sun_path));
    std::copy(encoded.cbegin(), encoded.cend(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(socketPath));
    // And its lock, naming a process that no longer exists.
    QFile lock(socketPath + QStringLiteral(".lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray("2147480000\nCorvane\n") + QSysInfo::machineHostName().toUtf8() + '\n');
    lock.close();

    SingleInstance next(name);
    ASSERT_TRUE(next.Claim());
    next.SetWindowReady(true);
    QSignalSpy files(&next, &SingleInstance::DataFileReceived);
    EXPECT_TRUE(WhileServing([&] { return SingleInstance::Forward(name, QStringLiteral("/x.rmd")); }));
    QTRY_COMPARE(files.size(), 1);
}

TEST_F(SingleInstanceTest, TheNameIsFreeAgainOnceTheRunningInstanceEnds) {
    {
        SingleInstance first(name);
        ASSERT_TRUE(first.Claim());
    }
    SingleInstance again(name);
    EXPECT_TRUE(again.Claim());
    EXPECT_FALSE(SingleInstance::Forward(TestInstanceName(), QString(), 200ms)); // nobody there
}

TEST(FileTypeRegistrationTest, WritesTheMimeTypeAndTheImportActionOnEveryStart) {
    vantor::testing::TempEnvironment env;
    const Edition edition = Edition::For(2, 0);
    const FileTypeRegistration names = FileTypeRegistrationFor(edition);
    EXPECT_EQ(names.mimeFile, env.Root() + QStringLiteral("/data/mime/packages/corvanedatafile.xml"));
    EXPECT_EQ(names.desktopFile, env.Root() + QStringLiteral("/data/applications/corvanedatafile.desktop"));

    ASSERT_TRUE(
        RegisterDataFileType(edition, QStringLiteral("/opt/My Apps/Corvane"), QStringLiteral("rmd"), false));
    const QString mime = ReadAll(names.mimeFile);
    EXPECT_TRUE(mime.contains(QStringLiteral("<mime-type type=\"application/x-corvanedatafile\">")))
        << mime.toStdString();
    EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.rmd\"/>")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<comment>Corvane DataFile</comment>")));
    const QString desktop = ReadAll(names.desktopFile);
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nExec=\"/opt/My Apps/Corvane\" %f\n")))
        << desktop.toStdString();
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nMimeType=application/x-corvanedatafile;\n")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nActions=import;\n")));
    // The installed entry's icon and menu place survive the user's entry that replaces it.
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nIcon=corvane\n")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("\nCategories=Science;Engineering;\n")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("[Desktop Action import]\nName=Import Corvane DataFile\n")));

    // A start that finds both files as it would write them leaves them alone.
    const QDateTime written = QFileInfo(names.desktopFile).lastModified();
    {
        QFile entry(names.desktopFile);
        ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
        ASSERT_TRUE(entry.setFileTime(written.addSecs(-60), QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(
        RegisterDataFileType(edition, QStringLiteral("/opt/My Apps/Corvane"), QStringLiteral("rmd"), false));
    EXPECT_EQ(QFileInfo(names.desktopFile).lastModified(), written.addSecs(-60));

    QFile stale(names.desktopFile);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("[Desktop Entry]\nExec=/old/place %f\n");
    stale.close();
    ASSERT_TRUE(RegisterDataFileType(edition, QStringLiteral("/new/Corvane"), QStringLiteral("rmd"), false));
    EXPECT_TRUE(ReadAll(names.desktopFile).contains(QStringLiteral("Exec=\"/new/Corvane\" %f")));
}

TEST(FileTypeRegistrationTest, ExecLinesSurviveAwkwardPaths) {
    EXPECT_EQ(DesktopExecLine(QStringLiteral("/a/100% \"b\"/$c`d")),
              QStringLiteral("\"/a/100%% \\\\\"b\\\\\"/\\\\$c\\\\`d\" %f"));
    EXPECT_EQ(DesktopExecLine(QStringLiteral("/a\\b")), QStringLiteral("\"/a\\\\\\\\b\" %f"));
}

TEST(PendingDataFileTest, ImportsOnceFromTheTimerAndOnlyFilesWithTheExtension) {
    QStringList imported;
    PendingDataFile pending(
        QStringLiteral("rmd"), [&](const QString& path) { imported << path; }, 1ms);
    pending.Set(QStringLiteral("/d/first.rmd"));
    EXPECT_FALSE(pending.TimerActive()); // the window starts it when it is ready
    pending.StartIfPending();
    EXPECT_TRUE(pending.TimerActive());
    QTRY_COMPARE(imported, QStringList{QStringLiteral("/d/first.rmd")});
    QTest::qWait(20);
    EXPECT_EQ(imported.size(), 1);

    pending.Receive(QStringLiteral("/d/second.RMD"));
    EXPECT_FALSE(pending.TimerActive());
    pending.Receive(QStringLiteral("/d/third.rmd"));
    EXPECT_TRUE(pending.TimerActive());
    QTRY_COMPARE(imported.size(), 2);
    EXPECT_EQ(imported.back(), QStringLiteral("/d/third.rmd"));
    EXPECT_EQ(kImportTimerId, 120);
    EXPECT_EQ(kImportTimerDelay, 100ms);
}

TEST(PendingDataFileTest, AFileArrivingDuringAnImportWaitsForItToEnd) {
    QStringList events;
    PendingDataFile* self = nullptr;
    PendingDataFile pending(
        QStringLiteral("rmd"),
        [&](const QString& path) {
            events << QStringLiteral("begin ") + path;
            if (path == QStringLiteral("a.rmd")) {
                self->Receive(QStringLiteral("b.rmd"));
                QTest::qWait(30); // an import's dialogs run the event loop
            }
            events << QStringLiteral("end ") + path;
        },
        1ms);
    self = &pending;
    pending.Receive(QStringLiteral("a.rmd"));
    QTRY_COMPARE(events.size(), 4);
    EXPECT_EQ(events, (QStringList{"begin a.rmd", "end a.rmd", "begin b.rmd", "end b.rmd"}));
}

class StartupSteps : public ::testing::Test {
protected:
    void TearDown() override { UiTextTable::ResetToDefaults(); }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    CAppData app{prompter, Edition::For(2, 0)};
};

TEST_F(StartupSteps, EachFailureShowsItsMessageAndStopsTheRest) {
    StartupResult result = RunStartupSteps(app, QStringLiteral("Corvane"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(prompter.Messages(),
              QStringList{QStringLiteral("No Database found, please reinstall Corvane!")});
    EXPECT_TRUE(app.shuttingDown);

    CAppData renamed(prompter, Edition::For(2, 0));
    prompter.records.clear();
    EXPECT_FALSE(RunStartupSteps(renamed, QStringLiteral("corvane-1.0")).ok);
    EXPECT_EQ(prompter.Messages(), QStringList{QStringLiteral("App name and exe Name don't match.")});
    EXPECT_TRUE(renamed.shuttingDown);

    ASSERT_TRUE(InitDataRoot(app));
    CAppData locked(prompter, Edition::For(2, 0));
    prompter.records.clear();
    const auto dataFolderRefuses = [](const QString& folder) {
        return !folder.endsWith(QStringLiteral("/Data"));
    };
    EXPECT_FALSE(RunStartupSteps(locked, QStringLiteral("Corvane"), dataFolderRefuses).ok);
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_TRUE(prompter.Messages()[0].startsWith(QStringLiteral("Security Warning:")));
    EXPECT_TRUE(locked.shuttingDown);
}

TEST_F(StartupSteps, ASuccessfulStartOpensTheDatabaseInTheSettingsLanguage) {
    ASSERT_TRUE(InitDataRoot(app));
    CAppData started(prompter, Edition::For(2, 0));
    started.settings.language = QStringLiteral("Deutsch"); // not installed
    const StartupResult result = RunStartupSteps(started, QStringLiteral("Corvane"));
    ASSERT_TRUE(result.ok);
    EXPECT_NE(started.MainConnection(), nullptr);
    EXPECT_FALSE(started.shuttingDown);
    EXPECT_EQ(result.language.languages, QStringList{QStringLiteral("English")});
    EXPECT_EQ(started.settings.language, QStringLiteral("English"));
    EXPECT_EQ(UiText(text::AboutProduct), QStringLiteral("About Corvane"));
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(StartupSteps, TheFirstLaunchRegistersTheFileTypeReadsTheSettingsAndKeepsItsFile) {
    Edition edition = Edition::For(2, 0);
    edition.singleInstanceName = TestInstanceName();
    CAppData first(prompter, edition);
    CSettings stored;
    stored.vibDisplayOption = 0;
    ASSERT_TRUE(SettingsStore(edition).Write(stored));

    SingleInstance instance(edition.singleInstanceName);
    const ProcessStart start =
        EnterProcess(first, instance, {QStringLiteral("Corvane"), QStringLiteral("/d/plant.rmd")},
                     QStringLiteral("/opt/Corvane"));
    EXPECT_TRUE(start.run);
    EXPECT_EQ(start.dataFile, QStringLiteral("/d/plant.rmd"));
    EXPECT_EQ(first.settings.vibDisplayOption, 0);
    EXPECT_TRUE(QFileInfo::exists(FileTypeRegistrationFor(edition).desktopFile));
    EXPECT_EQ(ExecutableBaseName(QStringLiteral("/opt/bin/Corvane (Lube)")),
              QStringLiteral("Corvane (Lube)"));
}
