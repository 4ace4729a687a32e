// zones, and the severity parts of alarms POINT: the zone boundaries of a standard for scripts and
// auditors, the standard that judges a point's severity, and the ALARM and TRIP levels the
// standard's rule proposes from the point's baseline (stored only with --apply).
#include "cli/SeverityCommands.h"

#include "analysis/AlarmStatus.h"
#include "analysis/BaselineAlarms.h"
#include "analysis/PointSeverity.h"
#include "app/CatalogueEditor.h"
#include "app/Startup.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "cli/RowFormat.h"
#include "loaders/PointSeverityStore.h"
#include "store/MainConnection.h"
#include "texts/UiText.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

namespace vantor::cli {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Level(double value) {
    return QString::number(value, 'g', 4);
}

// Two decimals as the point editor shows mm/s levels.
QString Mms(double value) {
    return QString::number(value, 'f', 2);
}

QJsonValue Boundary(std::optional<double> value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

struct Quantity {
    SeverityQuantity quantity;
    std::optional<double> ab;
    double bc;
    double cd;
};

int PrintZones(const ZoneOptions& o, Prompter& prompter, std::FILE* out) {
    const std::optional<SeverityStandard> standard = SeverityStandardNamed(Q(o.standard));
    if (!standard) {
        prompter.ShowMessage(
            QStringLiteral("zones: unknown standard \"%1\": iso10816-3 or iso20816-3").arg(Q(o.standard)));
        return kUsage;
    }
    const std::optional<Support> support = SupportNamed(Q(o.support));
    if (!support) {
        prompter.ShowMessage(
            QStringLiteral("zones: the support must be rigid or flexible, not \"%1\"").arg(Q(o.support)));
        return kUsage;
    }
    std::vector<Quantity> rows;
    QString source;
    if (*standard == SeverityStandard::Iso20816_3) {
        if (o.group < 1 || o.group > kSeverityGroups) {
            prompter.ShowMessage(
                QStringLiteral("zones: ISO 20816-3 has machine groups 1 and 2; group %1 is not in its table")
                    .arg(o.group));
            return kUsage;
        }
        for (const SeverityQuantity q : {SeverityQuantity::Velocity, SeverityQuantity::Displacement}) {
            const ZoneBoundaries b = *Iso20816Boundaries(o.group, *support, q);
            rows.push_back({q, b.ab, b.bc, b.cd});
        }
        source = Iso20816Source(o.group, *support);
    } else {
        // The documented table holds the warning (B/C) and critical (C/D) levels only.
        const std::optional<IsoLimits> limits =
            IsoLimitsForGroup(o.group, *support == Support::Flexible ? 1 : 0);
        if (!limits) {
            prompter.ShowMessage(
                QStringLiteral("zones: ISO 10816-3 has machine groups 1 to 4; group %1 is not in its table")
                    .arg(o.group));
            return kUsage;
        }
        rows.push_back({SeverityQuantity::Velocity, std::nullopt, ShortestFloat(limits->warningMms),
                        ShortestFloat(limits->criticalMms)});
        source = QStringLiteral("ISO 10816-3:1998, the documented alarm levels (B/C warning, C/D critical)");
    }
    if (o.json) {
        QJsonObject object{{QStringLiteral("standard"), SeverityStandardName(*standard)},
                           {QStringLiteral("group"), o.group},
                           {QStringLiteral("support"), SupportName(*support)},
                           {QStringLiteral("source"), source}};
        for (const Quantity& row : rows) {
            object.insert(SeverityQuantityName(row.quantity),
                          QJsonObject{{QStringLiteral("unit"), SeverityQuantityUnit(row.quantity)},
                                      {QStringLiteral("ab"), Boundary(row.ab)},
                                      {QStringLiteral("bc"), row.bc},
                                      {QStringLiteral("cd"), row.cd}});
        }
        if (*standard == SeverityStandard::Iso20816_3) {
            object.insert(QStringLiteral("displacementBelowRpm"), SeverityRules::kDisplacementBelowRpm);
        }
        PrintJsonLine(out, object);
        return kDone;
    }
    PrintLine(out, QStringLiteral("%1 group %2, %3\t%4")
                       .arg(SeverityStandardCaption(*standard))
                       .arg(o.group)
                       .arg(SupportName(*support), source));
    PrintLine(out, QStringLiteral("quantity\tunit\tA/B\tB/C\tC/D"));
    for (const Quantity& row : rows) {
        PrintLine(out,
                  QStringList{SeverityQuantityName(row.quantity), SeverityQuantityUnit(row.quantity),
                              row.ab ? Level(*row.ab) : QStringLiteral("-"), Level(row.bc), Level(row.cd)}
                      .join(QLatin1Char('\t')));
    }
    if (*standard == SeverityStandard::Iso20816_3) {
        PrintLine(out, QStringLiteral("displacement judges machines below %1 r/min")
                           .arg(SeverityRules::kDisplacementBelowRpm));
    }
    return kDone;
}

// The group and support of a suggestion: the options, else the point's own standard.
std::optional<PointStandard> SuggestionStandard(const SeverityOptions& o, const PointStandard& own,
                                                Prompter& prompter) {
    if (!o.group && o.support.empty()) {
        if (own.standard != SeverityStandard::Iso20816_3) {
            prompter.ShowMessage(
                QStringLiteral("alarms: the point is not judged by ISO 20816-3; give --group "
                               "and --support"));
            return std::nullopt;
        }
        return own;
    }
    if (const std::optional<QString> refused =
            CheckPointStandard(QStringLiteral("iso20816-3"), o.group, Q(o.support))) {
        prompter.ShowMessage(QStringLiteral("alarms: %1").arg(*refused));
        return std::nullopt;
    }
    return PointStandard{SeverityStandard::Iso20816_3, *o.group, *SupportNamed(Q(o.support))};
}

int Suggest(CommandContext& context, CAppData& app, const CVib& point, const SeverityOptions& o,
            std::FILE* out) {
    Prompter& prompter = context.UserPrompter();
    CMainConnection& db = *app.MainConnection();
    const std::optional<PointStandard> standard =
        SuggestionStandard(o, LoadPointStandard(db, point.sItemGUID), prompter);
    if (!standard) {
        return kUsage;
    }
    const int readings = o.baseline.value_or(BaselineDefaults::kReadings);
    const PointSuggestion result =
        SuggestPointAlarms(db, point, standard->group, standard->support, readings);
    if (!result.outcome.suggestion) {
        prompter.ShowMessage(result.outcome.refusal);
        return kFailed;
    }
    const AlarmSuggestion& s = *result.outcome.suggestion;
    if (o.json) {
        PrintJsonLine(out, {{QStringLiteral("point"), point.sItemGUID},
                            {QStringLiteral("standard"), SeverityStandardName(standard->standard)},
                            {QStringLiteral("group"), standard->group},
                            {QStringLiteral("support"), SupportName(standard->support)},
                            {QStringLiteral("readings"), s.readings},
                            {QStringLiteral("baseline"), s.baselineMms},
                            {QStringLiteral("bc"), result.velocity.bc},
                            {QStringLiteral("cd"), result.velocity.cd},
                            {QStringLiteral("alarm"), s.alarmMms},
                            {QStringLiteral("alarmCapped"), s.alarmCapped},
                            {QStringLiteral("trip"), s.tripMms},
                            {QStringLiteral("applied"), o.apply}});
    } else {
        PrintLine(out, QStringLiteral("%1\tbaseline %2 mm/s of %3 readings")
                           .arg(PointStandardText(*standard), Mms(s.baselineMms))
                           .arg(s.readings));
        PrintLine(out, QStringLiteral("alarm\t%1\tbaseline + 0.25 × B/C %2%3")
                           .arg(Mms(s.alarmMms), Level(result.velocity.bc),
                                s.alarmCapped ? QStringLiteral(", capped at 1.25 × B/C") : QString()));
        PrintLine(out,
                  QStringLiteral("trip\t%1\t1.25 × C/D %2").arg(Mms(s.tripMms), Level(result.velocity.cd)));
    }
    if (!o.apply) {
        return kDone;
    }
    // Accepted: ALARM and TRIP become the point's ISO warning and critical levels, through the
    // point editor's checks.
    CVib changed = point;
    changed.bISOAlarmsOn = true;
    changed.fISOWarningMMS = static_cast<float>(s.alarmMms);
    changed.fISOCriticalMMS = static_cast<float>(s.tripMms);
    CatalogueEditor editor(db, prompter);
    return editor.SaveVib(changed) ? kDone : kFailed;
}

} // namespace

int RunPointSeverity(CommandContext& context, const SeverityOptions& o, std::FILE* out) {
    Prompter& prompter = context.UserPrompter();
    if (!o.suggest.empty() && o.suggest != "iso20816" && o.suggest != "iso20816-3") {
        prompter.ShowMessage(QStringLiteral("alarms: --suggest takes iso20816"));
        return kUsage;
    }
    if (!o.standard.empty()) {
        const std::optional<int> group = o.group;
        if (const std::optional<QString> refused = CheckPointStandard(Q(o.standard), group, Q(o.support))) {
            prompter.ShowMessage(QStringLiteral("alarms: %1").arg(*refused));
            return kUsage;
        }
    }
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    try {
        CMainConnection& db = *app.MainConnection();
        CVib point;
        if (!db.GetVib(Q(o.point), point)) {
            prompter.ShowMessage(QStringLiteral("No vibration point %1").arg(Q(o.point)));
            return kFailed;
        }
        if (!o.suggest.empty()) {
            return Suggest(context, app, point, o, out);
        }
        PointStandard standard;
        standard.standard = *SeverityStandardNamed(Q(o.standard));
        if (standard.standard == SeverityStandard::Iso20816_3) {
            standard.group = *o.group;
            standard.support = *SupportNamed(Q(o.support));
        }
        StorePointStandard(db, point.sItemGUID, standard);
        PrintLine(out, QStringLiteral("%1\t%2").arg(point.sName, PointStandardText(standard)));
        return kDone;
    } catch (const DatabaseError&) {
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return kFailed;
    }
}

void AddZonesCommand(CLI::App& cli, CommandContext& context) {
    auto o = std::make_shared<ZoneOptions>();
    auto* zones = cli.add_subcommand(
        "zones", "The zone boundaries of a severity standard for a machine group and support");
    zones->add_option("--standard", o->standard, "iso10816-3 (the documented alarm levels) or iso20816-3")
        ->required();
    zones->add_option("--group", o->group, "The machine group: 1 or 2 (ISO 10816-3 also 3 and 4)")
        ->required();
    zones->add_option("--support", o->support, "rigid or flexible")->required();
    zones->add_flag("--json", o->json, "Print one JSON object");
    zones->callback([&context, o] { context.status = PrintZones(*o, context.UserPrompter(), stdout); });
}

} // namespace vantor::cli
