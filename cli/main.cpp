// vantor: the command-line program. Same data root, settings and database as the desktop program;
// messages go to standard error, machine-readable output to standard output.
//
// This program links the commands that need neither widgets nor the meter nor a mail server; the
// others (and help over every command) run in vantor-full beside it, which replaces this process.
#include "cli/ExitCode.h"
#include "cli/ProgramMain.h"
#include "platform/LocalTimeZone.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace vantor;
using namespace vantor::cli;

namespace {

constexpr std::array<CommandGroup, 18> kGroups = {
    AddStoreCommands,    AddTextsCommands,     AddSettingsCommands, AddAnalysisCommands,
    AddDataFileCommands, AddOffRouteCommands,  AddDeviceCommands,   AddReadingToolCommands,
    AddRemoteCommands,   AddCatalogueCommands, AddRouteCommands,    AddCatalogueCsvCommands,
    AddBearingCommands,  AddEnvelopeCommands,  AddServerCommands,   AddAlarmCommands,
    AddFollowUpCommands, AddSensorCommands,
};

// The program with every command, beside this one.
QByteArray FullProgramPath() {
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    return QFileInfo(self.canonicalFilePath()).dir().filePath(QStringLiteral("vantor-full")).toLocal8Bit();
}

} // namespace

int main(int argc, char** argv) {
    if (!RegistersCommand(kGroups, CommandWord(argc, argv))) {
        const QByteArray full = FullProgramPath();
        execv(full.constData(), argv);
        std::fprintf(stderr, "vantor: cannot run %s: %s\n", full.constData(), std::strerror(errno));
        return kFailed;
    }
    PinLocalTimeZone();
    const QCoreApplication qtApp(argc, argv);
    return RunProgram(argc, argv, kGroups);
}
