// vantor-ingest --settings FILE: the service that stores what online sensors publish on an MQTT
// broker, into the database the program's settings choose (local file, shared file or server).
#include "app/CAppData.h"
#include "app/Startup.h"
#include "ingest/IngestSettings.h"
#include "ingest/MqttService.h"
#include "ingest/OnlineIngest.h"
#include "platform/ConsolePrompter.h"
#include "platform/LocalTimeZone.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstring>

using namespace vantor;
using namespace vantor::ingest;

namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int) {
    stopRequested = true;
}

int Usage() {
    std::fputs("usage: vantor-ingest --settings FILE\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::strcmp(argv[1], "--settings") != 0) {
        return Usage();
    }
    PinLocalTimeZone();
    const QCoreApplication qtApp(argc, argv);
    const SettingsRead read = ReadIngestSettings(QString::fromLocal8Bit(argv[2]));
    if (!read.settings) {
        std::fprintf(stderr, "vantor-ingest: %s\n", qUtf8Printable(read.error));
        return 1;
    }
    ConsolePrompter prompter(ConsoleAnswers{});
    CAppData app(prompter);
    app.ReadSettings();
    if (!RunHeadlessStartup(app)) {
        return 1;
    }
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGINT, RequestStop);
    const IngestSettings& settings = *read.settings;
    OnlineIngest ingest(*app.MainConnection(), settings.site,
                        {settings.overallIntervalSeconds, settings.waveformIntervalSeconds});
    return RunIngestService(ingest, settings, stopRequested);
}
