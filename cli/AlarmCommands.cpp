// alarms POINT, bands POINT, diagnose READING: the alarms beside the documented ones and the
// automatic diagnosis.
#include "cli/AlarmCommands.h"

#include "analysis/ReadingDiagnosis.h"
#include "analysis/ReadingEnvelope.h"
#include "analysis/ReadingIndices.h"
#include "analysis/SignalCache.h"
#include "analysis/SignalProcessor.h"
#include "app/PointAlarmSetup.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "cli/SeverityCommands.h"
#include "loaders/DiagnosisLoader.h"
#include "loaders/EnvelopeLoader.h"
#include "loaders/IndicesStore.h"
#include "loaders/PointAlarmsQuery.h"
#include "loaders/SignalLoader.h"
#include "store/AlarmRecords.h"
#include "store/RecordFields.h"
#include "texts/UiText.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <limits>
#include <memory>
#include <string>

namespace vantor::cli {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Level(double value) {
    return QString::number(value, 'g', 4);
}

// Runs `work` on the opened database with the point named by GUID; an unknown point fails.
template <class Work> int WithPoint(CommandContext& context, const std::string& pointGuid, Work work) {
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    try {
        CMainConnection& db = *app.MainConnection();
        CVib point;
        if (!db.GetVib(Q(pointGuid), point)) {
            context.UserPrompter().ShowMessage(QStringLiteral("No vibration point %1").arg(Q(pointGuid)));
            return static_cast<int>(kFailed);
        }
        return work(db, point);
    } catch (const DatabaseError&) {
        context.UserPrompter().ShowMessage(UiText(text::ErrorLoadingRecord));
        return static_cast<int>(kFailed);
    }
}

QJsonObject SettingJson(const BaselineSettings& s, const std::optional<BaselineOutcome>& outcome) {
    QJsonObject object{{QStringLiteral("measure"), AlarmMeasureName(s.measure)},
                       {QStringLiteral("sigma"), QJsonArray{s.sigmaWarning, s.sigmaCritical}},
                       {QStringLiteral("change"), QJsonArray{s.changeWarning, s.changeCritical}}};
    if (s.baselineReadings > 0) {
        object.insert(QStringLiteral("baselineReadings"), s.baselineReadings);
    } else if (s.HasBaseline()) {
        object.insert(QStringLiteral("baselineFrom"), SqlDateTimeText(s.baselineFrom));
        object.insert(QStringLiteral("baselineTo"), SqlDateTimeText(s.baselineTo));
    }
    if (outcome && outcome->baseline) {
        const BaselineStatistics& b = *outcome->baseline;
        object.insert(QStringLiteral("baseline"), QJsonObject{{QStringLiteral("count"), b.count},
                                                              {QStringLiteral("mean"), b.mean},
                                                              {QStringLiteral("sigma"), b.sigma},
                                                              {QStringLiteral("warning"), b.warning},
                                                              {QStringLiteral("critical"), b.critical}});
    }
    if (outcome) {
        object.insert(QStringLiteral("status"), StatusText(outcome->code));
        object.insert(QStringLiteral("reason"), outcome->reason);
    }
    return object;
}

QString SettingText(const BaselineSettings& s, const std::optional<BaselineOutcome>& outcome) {
    QStringList fields{QStringLiteral("measure"), AlarmMeasureName(s.measure)};
    if (s.baselineReadings > 0) {
        fields << QStringLiteral("baseline first %1").arg(s.baselineReadings);
    } else if (s.HasBaseline()) {
        fields << QStringLiteral("baseline %1 to %2")
                      .arg(SqlDateTimeText(s.baselineFrom), SqlDateTimeText(s.baselineTo));
    } else {
        fields << QStringLiteral("no baseline (change against the previous reading)");
    }
    fields << QStringLiteral("sigma %1,%2").arg(Level(s.sigmaWarning), Level(s.sigmaCritical))
           << QStringLiteral("change %1,%2").arg(Level(s.changeWarning), Level(s.changeCritical));
    if (outcome && outcome->baseline) {
        const BaselineStatistics& b = *outcome->baseline;
        fields << QStringLiteral("mean %1 sigma %2 warning %3 critical %4")
                      .arg(Level(b.mean), Level(b.sigma), Level(b.warning), Level(b.critical));
    }
    fields << (outcome ? StatusText(outcome->code) : QStringLiteral("not judged"));
    if (outcome && !outcome->reason.isEmpty()) {
        fields << outcome->reason;
    }
    return fields.join(QLatin1Char('\t'));
}

// ---- alarms -------------------------------------------------------------------------------------

struct AlarmOptions {
    std::string point;
    std::string measure;
    std::optional<int> baseline;
    std::string from;
    std::string to;
    std::vector<double> sigma;
    std::vector<double> change;
    bool off = false;
    bool json = false;
    // The point's severity standard and the standard's suggestion (SeverityCommands.h).
    std::string standard;
    std::optional<int> group;
    std::string support;
    std::string suggest;
    bool apply = false;
};

int ShowAlarms(CommandContext& context, const AlarmOptions& o, std::FILE* out) {
    return WithPoint(context, o.point, [&](CMainConnection& db, const CVib& point) {
        SignalProcessor processor;
        EnvelopeAnalyzer analyzer;
        const PointAlarmStatus status = EvaluatePointAlarms(db, processor, analyzer, point);
        const std::vector<CVibReading> readings = db.ListVibReadings(point.sItemGUID);
        std::optional<std::map<QString, ReadingIndices>> indices;
        QJsonArray settingsJson;
        QStringList settingsText;
        for (const PointAlarmSettingRow& row : alarmrows::SettingsOf(db.Connection(), point.sItemGUID)) {
            const std::optional<BaselineSettings> settings = BaselineSettingsOf(row);
            if (!settings) {
                continue;
            }
            if (settings->measure.index && !indices) {
                indices = PointReadingIndices(db, analyzer, point.sItemGUID, readings);
            }
            const std::vector<MeasureSample> samples = MeasureSamplesOf(
                readings, indices.value_or(std::map<QString, ReadingIndices>{}), settings->measure);
            const std::optional<BaselineOutcome> outcome = JudgeBaseline(samples, *settings);
            settingsJson.append(SettingJson(*settings, outcome));
            settingsText << SettingText(*settings, outcome);
        }
        if (o.json) {
            QJsonObject object{{QStringLiteral("point"), point.sItemGUID},
                               {QStringLiteral("documented"), StatusText(status.documented.code)},
                               {QStringLiteral("status"), StatusText(status.combined.code)},
                               {QStringLiteral("settings"), settingsJson},
                               {QStringLiteral("reasons"), ReasonsJson(status.reasons)},
                               {QStringLiteral("notes"), QJsonArray::fromStringList(status.notes)}};
            if (status.zone) {
                object.insert(QStringLiteral("zone"), ZoneName(status.zone->verdict.zone));
                object.insert(QStringLiteral("zoneText"), status.zone->text);
            }
            PrintJsonLine(out, object);
            return static_cast<int>(kDone);
        }
        PrintLine(out, QStringLiteral("status\t%1\tdocumented %2")
                           .arg(StatusText(status.combined.code), StatusText(status.documented.code)));
        if (status.zone) {
            PrintLine(out, QStringLiteral("zone\t%1\t%2: %3")
                               .arg(ZoneName(status.zone->verdict.zone),
                                    PointStandardText(status.zone->standard), status.zone->text));
        }
        for (const QString& line : settingsText) {
            PrintLine(out, line);
        }
        for (const AlarmReason& reason : status.reasons) {
            PrintLine(out, QStringList{QStringLiteral("reason"), AlarmReasonSourceName(reason.source),
                                       StatusText(reason.code), reason.text}
                               .join(QLatin1Char('\t')));
        }
        for (const QString& note : status.notes) {
            PrintLine(out, QStringLiteral("note\t%1").arg(note));
        }
        return static_cast<int>(kDone);
    });
}

int SetAlarms(CommandContext& context, const AlarmOptions& o) {
    Prompter& prompter = context.UserPrompter();
    const std::optional<AlarmMeasure> measure = AlarmMeasureNamed(Q(o.measure));
    if (!measure) {
        prompter.ShowMessage(QStringLiteral("alarms: unknown measure %1").arg(Q(o.measure)));
        return kUsage;
    }
    BaselineSettings settings;
    settings.measure = *measure;
    if (o.baseline) {
        settings.baselineReadings = *o.baseline;
    }
    if (!o.from.empty() || !o.to.empty()) {
        settings.baselineFrom = QDateTime::fromString(Q(o.from), QLatin1String(kSqlDateTimeFormat));
        settings.baselineTo = QDateTime::fromString(Q(o.to), QLatin1String(kSqlDateTimeFormat));
        if (!settings.baselineFrom.isValid() || !settings.baselineTo.isValid()) {
            prompter.ShowMessage(
                QStringLiteral("alarms: --baseline-from and --baseline-to take \"YYYY-MM-DD HH:MM:SS\""));
            return kUsage;
        }
    }
    if (o.sigma.size() == 2) {
        settings.sigmaWarning = o.sigma[0];
        settings.sigmaCritical = o.sigma[1];
    }
    if (o.change.size() == 2) {
        settings.changeWarning = o.change[0];
        settings.changeCritical = o.change[1];
    }
    if (const std::optional<QString> refused = CheckBaselineSettings(settings)) {
        prompter.ShowMessage(*refused);
        return kUsage;
    }
    return WithPoint(context, o.point, [&](CMainConnection& db, const CVib& point) {
        if (o.off) {
            if (!RemoveBaselineSettings(db, point.sItemGUID, *measure)) {
                prompter.ShowMessage(
                    QStringLiteral("The point has no alarm settings for %1").arg(Q(o.measure)));
            }
            return static_cast<int>(kDone);
        }
        if (const std::optional<QString> refused = StoreBaselineSettings(db, point, settings)) {
            prompter.ShowMessage(*refused);
            return static_cast<int>(kFailed);
        }
        return static_cast<int>(kDone);
    });
}

void AddAlarmsCommand(CLI::App& cli, CommandContext& context) {
    auto o = std::make_shared<AlarmOptions>();
    auto* alarms = cli.add_subcommand(
        "alarms", "A point's baseline and change alarms: show them, or set or remove one measure's settings");
    alarms->add_option("point", o->point, "The vibration point's GUID")->required();
    alarms->add_option("--measure", o->measure,
                       "iso, bdu, total, displacement, band1, band2, band3, crest, kurtosis, p2p or ge");
    alarms->add_option("--baseline", o->baseline, "The baseline is the first N readings (at least 3)")
        ->check(CLI::PositiveNumber);
    alarms->add_option("--baseline-from", o->from, "The baseline's first date \"YYYY-MM-DD HH:MM:SS\"");
    alarms->add_option("--baseline-to", o->to, "The baseline's last date");
    alarms->add_option("--sigma", o->sigma, "Warning and critical at mean + K1·σ, K2·σ (default 2,3)")
        ->delimiter(',')
        ->expected(2);
    alarms->add_option("--change", o->change, "Warning and critical at R1, R2 × the reference (default 2,4)")
        ->delimiter(',')
        ->expected(2);
    alarms->add_flag("--off", o->off, "Remove the measure's settings");
    alarms->add_flag("--json", o->json, "Print one JSON object");
    alarms->add_option("--standard", o->standard,
                       "The standard that judges the point's severity: iso10816-3 (the documented alarm) "
                       "or iso20816-3 with --group and --support");
    alarms->add_option("--group", o->group, "ISO 20816-3 machine group: 1 or 2");
    alarms->add_option("--support", o->support, "ISO 20816-3 support: rigid or flexible");
    alarms->add_option("--suggest", o->suggest,
                       "iso20816: ALARM and TRIP by the standard's rule from the first --baseline N "
                       "readings (default 6)");
    alarms->add_flag("--apply", o->apply,
                     "With --suggest: store them as the point's ISO warning and critical levels");
    alarms->callback([&context, o] {
        if (!o->standard.empty() || !o->suggest.empty()) {
            if (!o->measure.empty() || !o->from.empty() || !o->to.empty() || !o->sigma.empty() ||
                !o->change.empty() || o->off || (!o->standard.empty() && !o->suggest.empty())) {
                context.UserPrompter().ShowMessage(
                    QStringLiteral("alarms: --standard and --suggest each stand alone (with --baseline, "
                                   "--group, --support, --apply, --json)"));
                context.status = kUsage;
                return;
            }
            context.status = RunPointSeverity(context, {o->point, o->standard, o->group, o->support,
                                                        o->suggest, o->baseline, o->apply, o->json});
            return;
        }
        if (o->apply || o->group || !o->support.empty()) {
            context.UserPrompter().ShowMessage(
                QStringLiteral("alarms: --group, --support and --apply go with --standard or --suggest"));
            context.status = kUsage;
            return;
        }
        const bool setting = o->baseline || !o->from.empty() || !o->to.empty() || !o->sigma.empty() ||
                             !o->change.empty() || o->off;
        if (setting && o->measure.empty()) {
            context.UserPrompter().ShowMessage(QStringLiteral("alarms: --measure names the measure to set"));
            context.status = kUsage;
            return;
        }
        if (o->baseline && (!o->from.empty() || !o->to.empty())) {
            context.UserPrompter().ShowMessage(
                QStringLiteral("alarms: give --baseline N or --baseline-from and --baseline-to, not both"));
            context.status = kUsage;
            return;
        }
        context.status =
            setting || !o->measure.empty() ? SetAlarms(context, *o) : ShowAlarms(context, *o, stdout);
    });
}

// ---- bands --------------------------------------------------------------------------------------

struct BandOptions {
    std::string point;
    std::string action = "list";
    int number = 0;
    std::optional<double> from;
    std::optional<double> to;
    bool orders = false;
    std::string spectrum = "iso";
    std::optional<double> warning;
    std::optional<double> critical;
    bool rms = false;
    bool json = false;
};

QJsonObject BandJson(int number, const SpectralBand& band) {
    return {{QStringLiteral("band"), number},
            {QStringLiteral("from"), band.from},
            {QStringLiteral("to"), band.to},
            {QStringLiteral("orders"), band.orders},
            {QStringLiteral("spectrum"), BandSpectrumName(band.spectrum)},
            {QStringLiteral("value"),
             band.value == BandValue::Rms ? QStringLiteral("rms") : QStringLiteral("peak")},
            {QStringLiteral("unit"), BandSpectrumUnit(band.spectrum)},
            {QStringLiteral("warning"), band.warning},
            {QStringLiteral("critical"), band.critical}};
}

int RunBands(CommandContext& context, const BandOptions& o, std::FILE* out) {
    Prompter& prompter = context.UserPrompter();
    return WithPoint(context, o.point, [&](CMainConnection& db, const CVib& point) {
        std::vector<SpectralBandRow> rows = alarmrows::BandsOf(db.Connection(), point.sItemGUID);
        if (o.action == "add") {
            if (!o.from || !o.to || !o.warning || !o.critical) {
                prompter.ShowMessage(
                    QStringLiteral("bands add: give --from, --to, --warning and --critical"));
                return static_cast<int>(kUsage);
            }
            if (rows.size() >= static_cast<std::size_t>(kMostSpectralBands)) {
                prompter.ShowMessage(QStringLiteral("A point has at most %1 bands").arg(kMostSpectralBands));
                return static_cast<int>(kFailed);
            }
            const SpectralBand band{*o.from,
                                    *o.to,
                                    o.orders,
                                    *BandSpectrumNamed(Q(o.spectrum)),
                                    *o.warning,
                                    *o.critical,
                                    o.rms ? BandValue::Rms : BandValue::Peak};
            const PointBandCheck check = CheckPointBand(db, point, band);
            if (check.withoutReading) {
                prompter.ShowMessage(
                    QStringLiteral("The point has no reading to take the spectrum's Fmax from; "
                                   "the band is checked when it is judged"));
            }
            if (check.refusal) {
                prompter.ShowMessage(*check.refusal);
                return static_cast<int>(kFailed);
            }
            rows.push_back(ToSpectralBandRow(point.sItemGUID, band));
            alarmrows::PutBands(db.Connection(), point.sItemGUID, rows);
            PrintLine(out, QString::number(rows.size()));
            return static_cast<int>(kDone);
        }
        if (o.action == "remove") {
            if (o.number < 1 || o.number > static_cast<int>(rows.size())) {
                prompter.ShowMessage(QStringLiteral("The point has no band %1").arg(o.number));
                return static_cast<int>(kFailed);
            }
            rows.erase(rows.begin() + (o.number - 1));
            alarmrows::PutBands(db.Connection(), point.sItemGUID, rows);
            return static_cast<int>(kDone);
        }
        QJsonArray bands;
        for (const SpectralBandRow& row : rows) {
            const std::optional<SpectralBand> band = SpectralBandOf(row);
            if (!band) {
                // A stored band no check would let in now is named, so that it can be removed.
                if (!o.json) {
                    PrintLine(out, QStringList{QString::number(row.number),
                                               QStringLiteral("refused: %1")
                                                   .arg(SpectralBandRowRefusal(row).value_or(QString()))}
                                       .join(QLatin1Char('\t')));
                }
                continue;
            }
            if (o.json) {
                bands.append(BandJson(row.number, *band));
            } else {
                PrintLine(out, QStringList{QString::number(row.number), BandSpectrumName(band->spectrum),
                                           BandRangeText(*band),
                                           band->value == BandValue::Rms ? QStringLiteral("rms")
                                                                         : QStringLiteral("peak"),
                                           QStringLiteral("warning %1").arg(Level(band->warning)),
                                           QStringLiteral("critical %1").arg(Level(band->critical)),
                                           BandSpectrumUnit(band->spectrum)}
                                   .join(QLatin1Char('\t')));
            }
        }
        if (o.json) {
            PrintJsonLine(out,
                          {{QStringLiteral("point"), point.sItemGUID}, {QStringLiteral("bands"), bands}});
        }
        return static_cast<int>(kDone);
    });
}

void AddBandsCommand(CLI::App& cli, CommandContext& context) {
    auto o = std::make_shared<BandOptions>();
    auto* bands = cli.add_subcommand("bands", "A point's spectral alarm bands: list, add or remove one");
    bands->add_option("point", o->point, "The vibration point's GUID")->required();
    bands->add_option("action", o->action, "list (default), add or remove")
        ->check(CLI::IsMember({"list", "add", "remove"}));
    bands->add_option("number", o->number, "The band to remove (1 to 8)");
    bands->add_option("--from", o->from, "The band's low edge, Hz (or orders with --orders)");
    bands->add_option("--to", o->to, "The band's high edge");
    bands->add_flag("--orders", o->orders, "The edges are orders of the run speed");
    bands->add_option("--spectrum", o->spectrum, "iso (default, mm/s), total (g) or envelope (gE)")
        ->check(CLI::IsMember({"iso", "total", "envelope"}));
    bands->add_option("--warning", o->warning, "The warning limit");
    bands->add_option("--critical", o->critical, "The critical limit");
    bands->add_flag("--rms", o->rms, "Judge the band's RMS instead of its largest line");
    bands->add_flag("--json", o->json, "Print one JSON object");
    bands->callback([&context, o] { context.status = RunBands(context, *o, stdout); });
}

// ---- diagnose -----------------------------------------------------------------------------------

int RunDiagnose(CommandContext& context, const std::string& reading, bool json, std::FILE* out) {
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    try {
        SignalProcessor processor;
        EnvelopeAnalyzer analyzer;
        const std::optional<ReadingDiagnosis> diagnosis =
            DiagnoseReading(*app.MainConnection(), processor, analyzer, Q(reading));
        if (!diagnosis) {
            context.UserPrompter().ShowMessage(UiText(text::ErrorLoadingRecord));
            return kFailed;
        }
        if (json) {
            PrintJsonLine(out, {{QStringLiteral("reading"), Q(reading)},
                                {QStringLiteral("point"), diagnosis->pointGuid},
                                {QStringLiteral("runSpeed"), diagnosis->runSpeedHz},
                                {QStringLiteral("estimatedRunSpeed"),
                                 diagnosis->estimatedRunSpeedHz ? QJsonValue(*diagnosis->estimatedRunSpeedHz)
                                                                : QJsonValue()},
                                {QStringLiteral("usedEstimate"), diagnosis->usedEstimate},
                                {QStringLiteral("bearings"), diagnosis->bearings},
                                {QStringLiteral("findings"), FindingsJson(diagnosis->findings)},
                                {QStringLiteral("notes"), QJsonArray::fromStringList(diagnosis->notes)}});
            return kDone;
        }
        for (const Finding& f : diagnosis->findings) {
            PrintLine(out,
                      QStringList{QStringLiteral("finding"), FindingKindCaption(f.kind),
                                  StatusText(f.severity),
                                  QStringLiteral("confidence %1").arg(QString::number(f.confidence, 'f', 2)),
                                  f.summary}
                          .join(QLatin1Char('\t')));
            for (const Evidence& e : f.evidence) {
                PrintLine(out, QStringLiteral("evidence\t%1\t%2").arg(e.source, e.text));
            }
            if (!f.nextStep.isEmpty()) {
                PrintLine(out, QStringLiteral("next\t%1").arg(f.nextStep));
            }
        }
        for (const QString& note : diagnosis->notes) {
            PrintLine(out, QStringLiteral("note\t%1").arg(note));
        }
        return kDone;
    } catch (const DatabaseError&) {
        context.UserPrompter().ShowMessage(UiText(text::ErrorLoadingRecord));
        return kFailed;
    }
}

void AddDiagnoseCommand(CLI::App& cli, CommandContext& context) {
    auto reading = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    auto rules = std::make_shared<bool>(false);
    auto* diagnose =
        cli.add_subcommand("diagnose", "The automatic diagnosis of a reading, with its evidence");
    diagnose->add_option("reading", *reading, "The route reading's GUID");
    diagnose->add_flag("--rules", *rules, "Print the rules' thresholds with their sources");
    diagnose->add_flag("--json", *json, "Print one JSON object");
    diagnose->callback([&context, reading, json, rules] {
        if (*rules) {
            for (const DiagnosisThreshold& row : kDiagnosisThresholds) {
                PrintLine(stdout, QStringList{FindingKindName(row.rule), Level(row.value),
                                              QString::fromUtf8(row.meaning), QString::fromUtf8(row.source)}
                                      .join(QLatin1Char('\t')));
            }
            context.status = kDone;
            return;
        }
        if (reading->empty()) {
            context.UserPrompter().ShowMessage(QStringLiteral("diagnose: name the reading"));
            context.status = kUsage;
            return;
        }
        context.status = RunDiagnose(context, *reading, *json, stdout);
    });
}

} // namespace

QJsonArray FindingsJson(const std::vector<Finding>& findings) {
    QJsonArray array;
    for (const Finding& f : findings) {
        QJsonArray evidence;
        for (const Evidence& e : f.evidence) {
            evidence.append(QJsonObject{{QStringLiteral("source"), e.source},
                                        {QStringLiteral("hz"), e.hz},
                                        {QStringLiteral("value"), e.value},
                                        {QStringLiteral("unit"), e.unit},
                                        {QStringLiteral("text"), e.text}});
        }
        array.append(QJsonObject{{QStringLiteral("kind"), FindingKindName(f.kind)},
                                 {QStringLiteral("caption"), FindingKindCaption(f.kind)},
                                 {QStringLiteral("severity"), static_cast<int>(f.severity)},
                                 {QStringLiteral("severityText"), StatusText(f.severity)},
                                 {QStringLiteral("confidence"), f.confidence},
                                 {QStringLiteral("summary"), f.summary},
                                 {QStringLiteral("evidence"), evidence},
                                 {QStringLiteral("nextStep"), f.nextStep},
                                 {QStringLiteral("families"), QJsonArray::fromStringList(f.families)}});
    }
    return array;
}

QJsonArray ReasonsJson(const std::vector<AlarmReason>& reasons) {
    QJsonArray array;
    for (const AlarmReason& r : reasons) {
        array.append(QJsonObject{{QStringLiteral("source"), AlarmReasonSourceName(r.source)},
                                 {QStringLiteral("status"), static_cast<int>(r.code)},
                                 {QStringLiteral("statusText"), StatusText(r.code)},
                                 {QStringLiteral("text"), r.text}});
    }
    return array;
}

void AddAlarmCommands(CLI::App& cli, CommandContext& context) {
    AddAlarmsCommand(cli, context);
    AddZonesCommand(cli, context);
    AddBandsCommand(cli, context);
    AddDiagnoseCommand(cli, context);
}

} // namespace vantor::cli
