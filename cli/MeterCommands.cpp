// meter info, meter new-data: talk to the meter in its cradle (or on the port given) directly.
#include "device/MeterCommands.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "device/MeterLink.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <cstdio>
#include <functional>
#include <string>

namespace vantor::cli {
namespace {

// The message the synchronisation run shows for a failure code.
QString FailureMessage(int code) {
    if (code == kNoCradleFound) {
        return UiText(text::NoCradleDetected);
    }
    if (code == kNoMeterFound) {
        return UiText(text::NoDeviceDetected);
    }
    return QStringLiteral("%1 (%2)").arg(UiText(text::ConnectionErrorTryAgain)).arg(code);
}

int Fail(Prompter& prompter, int code) {
    prompter.ShowMessage(FailureMessage(code));
    return kFailed;
}

struct FoundMeter {
    int result = 0;
    CDevice device;
    QString version;
    int number = 0;
};

// Runs the headless start-up, finds the meter and hands it to `work`; a failure on the way prints
// its message and gives the exit status.
int WithMeter(CAppData& app, const std::string& port,
              const std::function<int(CMeterLink&, const FoundMeter&)>& work) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    CMeterLink link(&app.UserPrompter());
    if (!port.empty()) {
        link.UsePort(QString::fromStdString(port));
    }
    FoundMeter found;
    found.result = link.FindMeter(found.device, found.version, found.number);
    if (found.result != 0) {
        return Fail(app.UserPrompter(), found.result);
    }
    return work(link, found);
}

int RunMeterInfo(CAppData& app, const std::string& port, std::FILE* out) {
    return WithMeter(app, port, [out](CMeterLink&, const FoundMeter& found) -> int {
        PrintLine(out, QStringLiteral("version\t") + found.version);
        PrintLine(out, QStringLiteral("guid\t") + found.device.sItemGUID);
        PrintLine(out, QStringLiteral("serial\t") + found.device.sSN);
        PrintLine(out, QStringLiteral("btaddress\t") + found.device.sBTAddress);
        PrintLine(out, QStringLiteral("number\t%1").arg(found.number));
        return kDone;
    });
}

int RunMeterNewData(CAppData& app, const std::string& port, std::FILE* out) {
    return WithMeter(app, port, [&app, out](CMeterLink& link, const FoundMeter&) -> int {
        NewDataFlags flags;
        int count = 0;
        if (const int result = GetNewData(link, flags, count)) {
            return Fail(app.UserPrompter(), result);
        }
        for (size_t point = 0; point < flags.size(); ++point) {
            QString line = QStringLiteral("%1\t").arg(point);
            for (const bool set : flags[point]) {
                line += set ? QLatin1Char('1') : QLatin1Char('0');
            }
            PrintLine(out, line);
        }
        PrintLine(out, QStringLiteral("count\t%1").arg(count));
        return kDone;
    });
}

} // namespace

void AddMeterCommands(CLI::App& cli, CommandContext& context) {
    auto* meter = cli.add_subcommand("meter", "Talk to the meter in its cradle");
    meter->require_subcommand(1);
    auto port = std::make_shared<std::string>();

    auto* info = meter->add_subcommand("info", "Find the meter and print its identity");
    info->add_option("--port", *port, "Serial device of the cradle (default: every cradle port found)");
    info->callback([&context, port] { context.status = RunMeterInfo(context.App(), *port, stdout); });

    auto* newData =
        meter->add_subcommand("new-data", "Find the meter and print which reading slots hold new data");
    newData->add_option("--port", *port, "Serial device of the cradle (default: every cradle port found)");
    newData->callback([&context, port] { context.status = RunMeterNewData(context.App(), *port, stdout); });
}

} // namespace vantor::cli
