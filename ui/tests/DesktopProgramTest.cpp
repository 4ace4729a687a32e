// The built desktop program as a user starts it.
#include "app/Edition.h"
#include "app/ProcessEntry.h"
#include "app/SingleInstance.h"
#include "platform/testing/TempEnvironment.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantor;

TEST(DesktopProgram, ItsExecutableCarriesTheEditionTitle) {
    EXPECT_EQ(ExecutableBaseName(QStringLiteral(VANTOR_DESKTOP_PATH)), Edition::Built().title);
}

TEST(DesktopProgram, ASecondStartHandsItsFileToTheRunningInstanceAndEnds) {
    vantor::testing::TempEnvironment env;
    // A runtime folder of its own, so the running instance here is the only one the program sees.
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());

    SingleInstance running(Edition::Built().singleInstanceName);
    ASSERT_TRUE(running.Claim());
    running.SetWindowReady(true);
    QSignalSpy files(&running, &SingleInstance::DataFileReceived);

    QProcess second;
    second.start(QStringLiteral(VANTOR_DESKTOP_PATH), {QStringLiteral("/data/plant.rmd")});
    QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 30000);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0][0].toString(), QStringLiteral("/data/plant.rmd"));

    // A capitalised extension is not a data file: the window only comes to the front.
    QSignalSpy activations(&running, &SingleInstance::ActivationRequested);
    second.start(QStringLiteral(VANTOR_DESKTOP_PATH), {QStringLiteral("/data/plant.RMD")});
    QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 30000);
    EXPECT_EQ(activations.size(), 1);
    EXPECT_EQ(files.size(), 1);

    if (savedRuntime.isNull()) {
        qunsetenv("XDG_RUNTIME_DIR");
    } else {
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
    }
}
