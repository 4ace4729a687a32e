// vantor-full: every command of the `vantor` program, including those that paint (plot, report),
// talk to the meter (meter, sync) or send e-mail (email). `vantor` hands these commands here.
#include "cli/CommandContext.h"
#include "cli/ProgramMain.h"
#include "cli/ReportCommands.h"
#include "cli/SignalCommands.h"
#include "platform/LocalTimeZone.h"

#include <QApplication>
#include <QCoreApplication>

#include <array>
#include <memory>

using namespace vantor;
using namespace vantor::cli;

namespace {

constexpr std::array<CommandGroup, 25> kGroups = {
    AddStoreCommands,  AddTextsCommands,     AddSettingsCommands,    AddAnalysisCommands,
    AddMeterCommands,  AddDataFileCommands,  AddSyncCommands,        AddOffRouteCommands,
    AddDeviceCommands, AddEmailCommands,     AddReadingToolCommands, AddRemoteCommands,
    AddPlotCommands,   AddCatalogueCommands, AddRouteCommands,       AddCatalogueCsvCommands,
    AddReportCommands, AddSignalCommands,    AddBearingCommands,     AddEnvelopeCommands,
    AddServerCommands, AddAlarmCommands,     AddFollowUpCommands,    AddWorkRequestCommands,
    AddSensorCommands,
};

// plot and report paint the graph control, a widget, so they need the widget application; they
// never show a window, so they run offscreen unless a platform is chosen. Every other command stays
// headless.
std::unique_ptr<QCoreApplication> MakeQtApplication(int& argc, char** argv) {
    const std::string_view word = CommandWord(argc, argv);
    if (word != "plot" && word != "report") {
        return std::make_unique<QCoreApplication>(argc, argv);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    PinLocalTimeZone();
    const std::unique_ptr<QCoreApplication> qtApp = MakeQtApplication(argc, argv);
    return RunProgram(argc, argv, kGroups);
}
