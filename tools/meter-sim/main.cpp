// vantor-meter-sim: the handheld meter on a pseudo-terminal (or a serial device), for demos and for
// driving the device road without hardware. Prints the device path to open, then serves until
// interrupted, logging every command it receives to standard error.
#include "tools/meter-sim/MeterEmulator.h"
#include "tools/meter-sim/MeterScenario.h"

#include <QCoreApplication>
#include <QFile>

#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace vantor::sim;

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    CLI::App cli{"Emulates the handheld vibration meter in its cradle on a pseudo-terminal.",
                 "vantor-meter-sim"};
    std::string scenarioPath;
    std::string devicePath;
    std::string linkPath;
    cli.add_option("--scenario", scenarioPath, "JSON file with the meter's state and faults");
    cli.add_option("--device", devicePath,
                   "Serve on this existing serial device instead of a pseudo-terminal");
    cli.add_option("--link", linkPath, "Also make this path a symbolic link to the pseudo-terminal");
    CLI11_PARSE(cli, argc, argv);

    Scenario scenario;
    QString error;
    if (!scenarioPath.empty() && !LoadScenarioFile(QString::fromStdString(scenarioPath), scenario, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    MeterResponder responder(scenario.state, scenario.faults);
    auto emulator = devicePath.empty() ? MeterEmulator::OnPseudoTerminal(std::move(responder), error)
                                       : MeterEmulator::OnDevice(QString::fromStdString(devicePath),
                                                                 std::move(responder), error);
    if (!emulator) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (!linkPath.empty()) {
        ::unlink(linkPath.c_str());
        if (::symlink(emulator->DevicePath().toLocal8Bit().constData(), linkPath.c_str()) != 0) {
            std::perror(linkPath.c_str());
            return 1;
        }
    }
    emulator->OnCommand([](const LogEntry& entry) {
        QString printable;
        for (const QChar c : entry.command) {
            printable += c.unicode() >= 0x20 && c.unicode() < 0x7F
                             ? QString(c)
                             : QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        }
        std::fprintf(stderr, "%s%s%s\n", qPrintable(printable), entry.note.isEmpty() ? "" : "  # ",
                     qPrintable(entry.note));
        std::fflush(stderr);
    });
    std::printf("%s\n", qPrintable(emulator->DevicePath()));
    std::fflush(stdout);

    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    while (!stopRequested) {
        ::usleep(100 * 1000);
    }
    emulator->Stop();
    if (!linkPath.empty()) {
        ::unlink(linkPath.c_str());
    }
    return 0;
}
