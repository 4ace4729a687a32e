// status, signals.
#include "cli/AnalysisCommands.h"
#include "cli/ConsoleOutput.h"

#include "analysis/Measures.h"
#include "analysis/PointAlarms.h"
#include "analysis/ReadingDiagnosis.h"
#include "analysis/SignalCache.h"
#include "analysis/SignalProcessor.h"
#include "analysis/StatusTable.h"
#include "app/OptionsFromSettings.h"
#include "app/PlantStatus.h"
#include "app/Startup.h"
#include "cli/AlarmCommands.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/RowFormat.h"
#include "loaders/PointAlarmsQuery.h"
#include "loaders/SignalLoader.h"
#include "store/RecordFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <charconv>
#include <memory>
#include <string>

namespace vantor::cli {
namespace {

// The fewest digits that read back as the same single-precision value.
QString Number(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QJsonArray ToJson(const std::vector<double>& values) {
    QJsonArray array;
    for (const double value : values) {
        array.append(value);
    }
    return array;
}

QJsonObject ChannelJson(const ChannelSignals& channel) {
    return {{QStringLiteral("fmax"), ShortestFloat(channel.fmaxHz)},
            {QStringLiteral("fs"), ShortestFloat(channel.samplingFrequencyHz)},
            {QStringLiteral("samples"), channel.sampleCount},
            {QStringLiteral("lines"), channel.lineCount},
            {QStringLiteral("lowCut"), ShortestFloat(channel.lowCutoffHz)},
            {QStringLiteral("waveform"), ToJson(channel.waveform)},
            {QStringLiteral("spectrum"), ToJson(channel.spectrum)}};
}

QString ChannelLine(const QString& name, const ChannelSignals& channel) {
    return QStringList{name,
                       QStringLiteral("fmax"),
                       Number(channel.fmaxHz),
                       QStringLiteral("fs"),
                       Number(channel.samplingFrequencyHz),
                       QStringLiteral("samples"),
                       QString::number(channel.sampleCount),
                       QStringLiteral("lines"),
                       QString::number(channel.lineCount),
                       QStringLiteral("lowCut"),
                       Number(channel.lowCutoffHz)}
        .join(QLatin1Char('\t'));
}

// Route readings first (through the cache), then off-route readings.
bool LoadAnyReading(CAppData& app, const QString& guid, ReadingSignals& decoded, bool& found) {
    // The command owns its processor: processors keep work buffers and are never shared between
    // threads or owners.
    SignalProcessor processor;
    CMainConnection& db = *app.MainConnection();
    CVibReading route;
    if (db.GetVibReading(guid, route)) {
        found = true;
        return LoadReadingSignals(db, processor, guid, decoded);
    }
    auto sync = app.MakeSyncConnection();
    COffRouteReading offRoute;
    if (sync->Open() && sync->GetOffRouteReading(guid, offRoute)) {
        found = true;
        return LoadOffRouteReadingSignals(*sync, processor, guid, decoded);
    }
    found = false;
    return false;
}

} // namespace

// The status table; a point with baseline, change or band settings shows its combined status
// (the documented one for every other point). --json adds each point's reasons, the findings of
// the diagnosis of its latest reading and their mark (findingsStatus: 4 WARNING, 5 CRITICAL, else 3),
// as the desktop's tree and status table show them, and for a point judged by ISO 20816-3 its zone.
int RunStatus(CAppData& app, bool json, std::FILE* out) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    CMainConnection& db = *app.MainConnection();
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    const std::vector<AlarmedStatusRow> rows =
        BuildAlarmedStatusTable(db, StatusTableOptionsOf(app.settings), processor, analyzer);
    if (json) {
        QJsonArray array;
        for (const AlarmedStatusRow& alarmed : rows) {
            const StatusTableRow& row = alarmed.row;
            QJsonArray cells;
            for (const StatusTableCell& cell : row.cells) {
                cells.append(QJsonObject{{QStringLiteral("kind"), static_cast<int>(cell.kind)},
                                         {QStringLiteral("status"), static_cast<int>(cell.cell.code)},
                                         {QStringLiteral("text"), cell.cell.text}});
            }
            CVibReading latest;
            std::optional<std::vector<Finding>> findings;
            if (db.GetLatestVibReading(alarmed.pointGuid, latest)) {
                findings = LatestReadingFindings(db, processor, analyzer, latest.sItemGUID);
            }
            QJsonObject object{
                {QStringLiteral("machine"), row.machineName},
                {QStringLiteral("point"), row.pointName},
                {QStringLiteral("date"),
                 row.latestDate.isValid() ? QJsonValue(SqlDateTimeText(row.latestDate)) : QJsonValue()},
                {QStringLiteral("status"), static_cast<int>(row.status.code)},
                {QStringLiteral("statusText"), StatusText(row.status.code)},
                {QStringLiteral("cells"), cells},
                {QStringLiteral("documentedStatus"), static_cast<int>(alarmed.alarms.documented.code)},
                {QStringLiteral("reasons"), ReasonsJson(alarmed.alarms.reasons)},
                {QStringLiteral("findings"), findings ? FindingsJson(*findings) : QJsonArray()},
                {QStringLiteral("findingsStatus"), static_cast<int>(FindingsMarkOf(findings))}};
            // Only a point judged by ISO 20816-3 has a zone; every other row stays as it was.
            if (const std::optional<PointZone>& zone = alarmed.alarms.zone) {
                object.insert(QStringLiteral("zone"), ZoneName(zone->verdict.zone));
                object.insert(QStringLiteral("zoneText"),
                              QStringLiteral("%1: %2").arg(PointStandardText(zone->standard), zone->text));
            }
            array.append(object);
        }
        PrintJsonArray(out, array);
        return kDone;
    }
    for (const AlarmedStatusRow& alarmed : rows) {
        const StatusTableRow& row = alarmed.row;
        QStringList fields{row.machineName, row.pointName,
                           row.latestDate.isValid() ? SqlDateTimeText(row.latestDate) : QString(),
                           StatusText(row.status.code)};
        for (const StatusTableCell& cell : row.cells) {
            fields << cell.cell.text;
        }
        PrintLine(out, fields.join(QLatin1Char('\t')));
    }
    return kDone;
}

int RunSignals(CAppData& app, const QString& readingGuid, bool json, std::FILE* out) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    ReadingSignals decoded;
    bool found = false;
    if (!LoadAnyReading(app, readingGuid, decoded, found)) {
        PrintLine(stderr, found ? QStringLiteral("The reading %1 cannot be decoded").arg(readingGuid)
                                : QStringLiteral("No reading %1").arg(readingGuid));
        return kFailed;
    }
    VibReadingValues overalls;
    RecomputeOveralls(overalls, decoded);
    if (json) {
        const QJsonObject object{
            {QStringLiteral("runSpeed"), ShortestFloat(decoded.runSpeedHz)},
            {QStringLiteral("total"), ChannelJson(decoded.total)},
            {QStringLiteral("iso"), ChannelJson(decoded.iso)},
            {QStringLiteral("overalls"),
             QJsonObject{{QStringLiteral("iso"), ShortestFloat(overalls.fISOMMS)},
                         {QStringLiteral("band1"), ShortestFloat(overalls.fVABand1MMS)},
                         {QStringLiteral("band2"), ShortestFloat(overalls.fVABand2MMS)},
                         {QStringLiteral("band3"), ShortestFloat(overalls.fVABand3MMS)}}}};
        PrintJsonLine(out, object);
        return kDone;
    }
    PrintLine(out, QStringLiteral("runSpeed\t%1").arg(Number(decoded.runSpeedHz)));
    PrintLine(out, ChannelLine(QStringLiteral("total"), decoded.total));
    PrintLine(out, ChannelLine(QStringLiteral("iso"), decoded.iso));
    PrintLine(out,
              QStringList{QStringLiteral("overalls"), QStringLiteral("iso"), Number(overalls.fISOMMS),
                          QStringLiteral("band1"), Number(overalls.fVABand1MMS), QStringLiteral("band2"),
                          Number(overalls.fVABand2MMS), QStringLiteral("band3"), Number(overalls.fVABand3MMS)}
                  .join(QLatin1Char('\t')));
    return kDone;
}

void AddAnalysisCommands(CLI::App& cli, CommandContext& context) {
    auto* status = cli.add_subcommand("status", "Print the vibration status table");
    auto statusJson = std::make_shared<bool>(false);
    status->add_flag("--json", *statusJson, "Print one JSON array of row objects");
    status->callback([&context, statusJson] { context.status = RunStatus(context.App(), *statusJson); });

    auto* signalsCommand = cli.add_subcommand("signals", "Decode a reading and print its signals");
    auto guid = std::make_shared<std::string>();
    auto signalsJson = std::make_shared<bool>(false);
    signalsCommand->add_option("guid", *guid, "The reading's GUID (route or off-route)")->required();
    signalsCommand->add_flag("--json", *signalsJson, "Print one JSON object with the full arrays");
    signalsCommand->callback([&context, guid, signalsJson] {
        context.status = RunSignals(context.App(), QString::fromStdString(*guid), *signalsJson);
    });
}

} // namespace vantor::cli
