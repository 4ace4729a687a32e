// bearing add|list|delete|import|export, vib bearings POINT, faults READING: the bearing library,
// the bearings a point watches, and their fault-frequency families matched on a reading.
#include "analysis/BearingFactors.h"
#include "analysis/DisplayedSpectrum.h"
#include "analysis/FaultMatching.h"
#include "analysis/ReadingEnvelope.h"
#include "analysis/SignalProcessor.h"
#include "app/BearingCsv.h"
#include "app/BearingEditor.h"
#include "app/Startup.h"
#include "app/TypedSettings.h"
#include "app/ViewedReading.h"
#include "cli/CatalogueLookup.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/EditStatus.h"
#include "cli/RowFormat.h"
#include "loaders/BearingsAtPoint.h"
#include "loaders/EnvelopeLoader.h"
#include "store/BearingStore.h"
#include "store/Validation.h"
#include "texts/UiText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantor::cli {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Decimal(double value, int decimals = 4) {
    return QString::number(value, 'f', decimals);
}

QJsonObject FactorsJson(const BearingFactors& f) {
    return {{QStringLiteral("ftf"), f.ftf},
            {QStringLiteral("bsf"), f.bsf},
            {QStringLiteral("bpfo"), f.bpfo},
            {QStringLiteral("bpfi"), f.bpfi}};
}

QJsonObject BearingJson(const CBearing& bearing) {
    QJsonObject object{{QStringLiteral("guid"), bearing.sItemGUID},
                       {QStringLiteral("designation"), bearing.sDesignation},
                       {QStringLiteral("maker"), bearing.sMaker},
                       {QStringLiteral("source"), bearing.sSource},
                       {QStringLiteral("factors"), FactorsJson(FactorsOf(bearing))}};
    if (bearing.iRollingElements > 0) {
        object.insert(QStringLiteral("rollingElements"), bearing.iRollingElements);
        object.insert(QStringLiteral("elementDiameterMM"), ShortestFloat(bearing.fRollingElementDiameterMM));
        object.insert(QStringLiteral("pitchDiameterMM"), ShortestFloat(bearing.fPitchDiameterMM));
        object.insert(QStringLiteral("contactAngleDeg"), ShortestFloat(bearing.fContactAngleDeg));
    }
    return object;
}

// Runs `work` on the opened database; a data root that cannot be started fails.
template <class Work> int WithDatabase(CommandContext& context, Work work) {
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    try {
        return work(app, *app.MainConnection());
    } catch (const DatabaseError&) {
        context.UserPrompter().ShowMessage(UiText(text::ErrorLoadingRecord));
        return kFailed;
    }
}

// ---- bearing ------------------------------------------------------------------------------------

struct BearingOptions {
    std::string designation;
    std::string maker;
    std::optional<int> balls;
    std::optional<double> ballDiameter;
    std::optional<double> pitchDiameter;
    double contactAngle = 0;
    std::vector<double> factors;
    std::string guid;
    std::string file;
    bool yes = false;
    bool json = false;
    bool dryRun = false;
};

int AddBearing(CommandContext& context, const BearingOptions& o) {
    const bool geometry = o.balls || o.ballDiameter || o.pitchDiameter;
    if (geometry == !o.factors.empty()) {
        context.UserPrompter().ShowMessage(
            QStringLiteral("bearing add: give --balls, --ball-diameter and --pitch-diameter, or --factors "
                           "FTF,BSF,BPFO,BPFI"));
        return kUsage;
    }
    if (geometry && !(o.balls && o.ballDiameter && o.pitchDiameter)) {
        context.UserPrompter().ShowMessage(
            QStringLiteral("bearing add: --balls, --ball-diameter and --pitch-diameter go together"));
        return kUsage;
    }
    return WithDatabase(context, [&](CAppData&, CMainConnection& db) {
        CBearing bearing;
        bearing.sDesignation = Q(o.designation);
        bearing.sMaker = Q(o.maker);
        if (geometry) {
            bearing.iRollingElements = *o.balls;
            bearing.fRollingElementDiameterMM = AsStoredFloat(*o.ballDiameter);
            bearing.fPitchDiameterMM = AsStoredFloat(*o.pitchDiameter);
            bearing.fContactAngleDeg = AsStoredFloat(o.contactAngle);
        } else {
            bearing.fFTF = AsStoredFloat(o.factors[0]);
            bearing.fBSF = AsStoredFloat(o.factors[1]);
            bearing.fBPFO = AsStoredFloat(o.factors[2]);
            bearing.fBPFI = AsStoredFloat(o.factors[3]);
        }
        const std::optional<QString> guid = BearingEditor(db, context.UserPrompter()).SaveBearing(bearing);
        if (!guid) {
            return static_cast<int>(kFailed);
        }
        PrintGuid(*guid);
        return static_cast<int>(kDone);
    });
}

int ListBearings(CommandContext& context, bool json, std::FILE* out = stdout) {
    return WithDatabase(context, [&](CAppData&, CMainConnection& db) {
        CBearingStore store(db, StoredValues::AsStored);
        const std::vector<CBearing> bearings = store.ListBearings();
        if (json) {
            QJsonArray rows;
            for (const CBearing& bearing : bearings) {
                rows.append(BearingJson(bearing));
            }
            PrintJsonLine(out, {{QStringLiteral("bearings"), rows}});
            return static_cast<int>(kDone);
        }
        for (const CBearing& bearing : bearings) {
            const BearingFactors f = FactorsOf(bearing);
            PrintLine(out, QStringList{bearing.sItemGUID, bearing.sDesignation, bearing.sMaker,
                                       QStringLiteral("FTF %1").arg(Decimal(f.ftf)),
                                       QStringLiteral("BSF %1").arg(Decimal(f.bsf)),
                                       QStringLiteral("BPFO %1").arg(Decimal(f.bpfo)),
                                       QStringLiteral("BPFI %1").arg(Decimal(f.bpfi))}
                               .join(QLatin1Char('\t')));
        }
        return static_cast<int>(kDone);
    });
}

int ImportBearings(CommandContext& context, const BearingOptions& o) {
    return WithDatabase(context, [&](CAppData&, CMainConnection& db) {
        Prompter& prompter = context.UserPrompter();
        QFile file(Q(o.file));
        if (!file.open(QIODevice::ReadOnly)) {
            prompter.ShowMessage(UiText(text::ErrorImportingData));
            return static_cast<int>(kFailed);
        }
        CBearingStore store(db, StoredValues::AsStored);
        const BearingImportPlan plan = PlanBearingImport(store, file.readAll());
        for (const QString& error : plan.errors) {
            prompter.ShowMessage(error);
        }
        if (!plan.Ok()) {
            return static_cast<int>(kFailed);
        }
        if (!o.dryRun && !ApplyBearingImport(db, plan)) {
            prompter.ShowMessage(UiText(text::ErrorImportingData));
            return static_cast<int>(kFailed);
        }
        PrintLine(stdout,
                  (o.dryRun ? QStringLiteral("Dry run, nothing stored. ") : QString()) + plan.Summary());
        return static_cast<int>(kDone);
    });
}

int ExportBearings(CommandContext& context, const BearingOptions& o) {
    return WithDatabase(context, [&](CAppData&, CMainConnection& db) {
        CBearingStore store(db, StoredValues::AsStored);
        if (!ExportBearingCsvFile(store, Q(o.file))) {
            context.UserPrompter().ShowMessage(UiText(text::ErrorExportingData));
            return static_cast<int>(kFailed);
        }
        return static_cast<int>(kDone);
    });
}

void AddLibraryCommands(CLI::App& cli, CommandContext& context) {
    auto* bearing = cli.add_subcommand("bearing", "The bearing library: add, list, delete, import, export");
    bearing->require_subcommand(1);
    auto o = std::make_shared<BearingOptions>();

    auto* add = bearing->add_subcommand(
        "add", "Add a bearing by its geometry or its published factors; prints its GUID");
    add->add_option("designation", o->designation, "Its designation, e.g. 6205-2RS")->required();
    add->add_option("--balls", o->balls, "Number of rolling elements Z");
    add->add_option("--ball-diameter", o->ballDiameter, "Rolling-element diameter d, mm");
    add->add_option("--pitch-diameter", o->pitchDiameter, "Pitch diameter D, mm");
    add->add_option("--contact-angle", o->contactAngle, "Contact angle, degrees (default 0)");
    add->add_option("--factors", o->factors, "The maker's factors FTF,BSF,BPFO,BPFI (orders of shaft speed)")
        ->delimiter(',')
        ->expected(4);
    add->add_option("--maker", o->maker, "The maker");
    add->callback([&context, o] { context.status = AddBearing(context, *o); });

    auto* list = bearing->add_subcommand("list", "The library in order, with each bearing's four factors");
    list->add_flag("--json", o->json, "Print one JSON object");
    list->callback([&context, o] { context.status = ListBearings(context, o->json); });

    auto* del =
        bearing->add_subcommand("delete", "Delete a bearing; the points that watch it lose it (asks first)");
    del->add_option("guid", o->guid, "Its GUID")->required();
    del->add_flag("--yes", o->yes, "Answer Yes to the question");
    del->callback([&context, o] {
        if (o->yes) {
            context.answers.yesNo = true;
        }
        context.status = WithDatabase(context, [&](CAppData&, CMainConnection& db) {
            return StatusOf(BearingEditor(db, context.UserPrompter()).DeleteBearing(Q(o->guid)));
        });
    });

    auto* imported = bearing->add_subcommand(
        "import", "Add or update bearings from a CSV file; every row is checked first and nothing is stored "
                  "unless all pass");
    imported->add_option("file", o->file, "The CSV file to read")->required();
    imported->add_flag("--dry-run", o->dryRun, "Check the rows and print what would change; store nothing");
    imported->callback([&context, o] { context.status = ImportBearings(context, *o); });

    auto* exported = bearing->add_subcommand("export", "Write the library as CSV, UTF-8 with a header row");
    exported->add_option("file", o->file, "The CSV file to write")->required();
    exported->callback([&context, o] { context.status = ExportBearings(context, *o); });
}

// ---- vib bearings -------------------------------------------------------------------------------

struct PointBearingOptions {
    std::string point;
    std::optional<std::string> add;
    std::string location;
    double ratio = 1.0;
    std::optional<int> remove;
    bool json = false;
};

int PointBearings(CommandContext& context, const PointBearingOptions& o, std::FILE* out = stdout) {
    return WithDatabase(context, [&](CAppData&, CMainConnection& db) {
        Prompter& prompter = context.UserPrompter();
        BearingEditor editor(db, prompter);
        const QString point = Q(o.point);
        CVib vib;
        if (!db.GetVib(point, vib)) {
            prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
            return static_cast<int>(kFailed);
        }
        if (o.remove) {
            const EditOutcome outcome = editor.RemovePointBearing(point, *o.remove);
            if (outcome != EditOutcome::Done) {
                return StatusOf(outcome);
            }
        }
        if (o.add && !editor.AssignBearing(point, Q(*o.add), Q(o.location), o.ratio)) {
            return static_cast<int>(kFailed);
        }
        CBearingStore store(db);
        const std::vector<BearingAtPoint> bearings = LoadBearingsAtPoint(store, point);
        if (o.json) {
            QJsonArray rows;
            int number = 1;
            for (const BearingAtPoint& bearing : bearings) {
                rows.append(QJsonObject{{QStringLiteral("number"), number++},
                                        {QStringLiteral("location"), bearing.location},
                                        {QStringLiteral("bearing"), bearing.bearingGuid},
                                        {QStringLiteral("designation"), bearing.designation},
                                        {QStringLiteral("ratio"), bearing.speedRatio},
                                        {QStringLiteral("factors"), FactorsJson(bearing.factors)}});
            }
            PrintJsonLine(out, {{QStringLiteral("point"), point}, {QStringLiteral("bearings"), rows}});
            return static_cast<int>(kDone);
        }
        int number = 1;
        for (const BearingAtPoint& bearing : bearings) {
            PrintLine(out, QStringList{QString::number(number++), bearing.location, bearing.designation,
                                       QString::number(bearing.speedRatio), bearing.bearingGuid}
                               .join(QLatin1Char('\t')));
        }
        return static_cast<int>(kDone);
    });
}

void AddPointBearingCommand(CLI::App& cli, CommandContext& context) {
    CLI::App* vib = cli.get_subcommand("vib");
    auto o = std::make_shared<PointBearingOptions>();
    auto* bearings =
        vib->add_subcommand("bearings", "List a vibration point's bearings (at most 4), add or remove one");
    bearings->add_option("point", o->point, "The point's GUID")->required();
    auto* add =
        bearings->add_option("--add", o->add, "Add this bearing: its GUID, or its designation where unique");
    bearings->add_option("--location", o->location, "Where the added bearing sits, e.g. \"Motor DE\"")
        ->needs(add);
    bearings->add_option("--ratio", o->ratio, "Its shaft's speed against the point's run speed (default 1)")
        ->needs(add);
    bearings->add_option("--remove", o->remove, "Remove the point's bearing number N (from 1)");
    bearings->add_flag("--json", o->json, "Print one JSON object");
    bearings->callback([&context, o] {
        if (o->add && o->location.empty()) {
            context.UserPrompter().ShowMessage(QStringLiteral("vib bearings: --add needs --location"));
            context.status = kUsage;
            return;
        }
        context.status = PointBearings(context, *o);
    });
}

// ---- faults -------------------------------------------------------------------------------------

struct FaultOptions {
    std::string reading;
    std::string measure = "total";
    int harmonics = kDefaultFaultHarmonics;
    double tolerance = 2.0;
    bool json = false;
};

QString LineLabel(const FamilyLine& line) {
    const QString harmonic = QStringLiteral("%1x").arg(line.harmonic);
    return line.sideband < 0   ? harmonic + QLatin1Char('-')
           : line.sideband > 0 ? harmonic + QLatin1Char('+')
                               : harmonic;
}

int Faults(CommandContext& context, const FaultOptions& o, std::FILE* out = stdout) {
    Prompter& prompter = context.UserPrompter();
    return WithDatabase(context, [&](CAppData& app, CMainConnection& db) {
        SignalProcessor processor;
        const std::optional<ViewedReading> reading = LoadOrSay(app, processor, Q(o.reading));
        if (!reading) {
            return static_cast<int>(kFailed);
        }
        if (!reading->point) {
            prompter.ShowMessage(
                QStringLiteral("An off-route reading belongs to no point, so it has no bearings"));
            return static_cast<int>(kFailed);
        }
        const DisplayUnits units = DisplayUnitsOf(app.settings);
        // The lines to match: the Total (g) or ISO spectrum as the view shows it, or the envelope
        // spectrum (gE) in the point's envelope band, where a bearing's impacts repeat.
        std::optional<DisplayedSpectrum> spectrum;
        ReadingEnvelope envelope;
        EnvelopeAnalyzer analyzer;
        SpectrumLines lines;
        QString amplitudeUnit = QStringLiteral("g");
        if (o.measure == "envelope") {
            envelope = LoadReadingEnvelope(db, analyzer, *reading->row, reading->decoded);
            if (envelope.outcome != ReadingEnvelopeOutcome::Ready) {
                prompter.ShowMessage(envelope.outcome == ReadingEnvelopeOutcome::Refused
                                         ? EnvelopeRefusalText(envelope.refusal)
                                         : UiText(text::ErrorLoadingRecord));
                return static_cast<int>(kFailed);
            }
            lines = SpectrumLines{envelope.spectrum.lines, envelope.spectrum.lineSpacingHz, 1,
                                  static_cast<int>(envelope.spectrum.lines.size())};
            amplitudeUnit = QStringLiteral("gE");
        } else {
            const MeasureKind kind =
                o.measure == "iso" ? MeasureKind::IsoVelocity : MeasureKind::Acceleration;
            spectrum = MakeDisplayedSpectrum(reading->decoded, kind, units, ConsolidatePeaks(app.settings));
            if (!spectrum) {
                return static_cast<int>(kUsage);
            }
            lines = LinesOf(*spectrum);
            if (kind != MeasureKind::Acceleration) {
                amplitudeUnit = units.VelocityLabel();
            }
        }
        CBearingStore store(db);
        const std::vector<BearingAtPoint> bearings = LoadBearingsAtPoint(store, reading->point->sItemGUID);
        if (bearings.empty()) {
            prompter.ShowMessage(
                QStringLiteral("The point has no bearings; add one with vantor vib bearings POINT "
                               "--add BEARING --location L"));
        }
        MatchSettings settings;
        settings.harmonics = o.harmonics;
        settings.tolerancePercent = o.tolerance;
        const double runSpeedHz = reading->decoded.runSpeedHz;
        const std::vector<BearingMatch> matches = MatchBearingFaults(lines, runSpeedHz, bearings, settings);
        const double f = units.FrequencyFactor();

        if (o.json) {
            QJsonArray bearingRows;
            for (const BearingMatch& match : matches) {
                QJsonArray families;
                for (const FamilyMatch& family : match.families) {
                    QJsonArray rows;
                    for (const LineMatch& line : family.lines) {
                        rows.append(QJsonObject{{QStringLiteral("harmonic"), line.expected.harmonic},
                                                {QStringLiteral("sideband"), line.expected.sideband},
                                                {QStringLiteral("expected"), line.expected.hz * f},
                                                {QStringLiteral("matched"),
                                                 line.found ? QJsonValue(line.matchedHz * f) : QJsonValue()},
                                                {QStringLiteral("amplitude"),
                                                 line.found ? QJsonValue(line.amplitude) : QJsonValue()},
                                                {QStringLiteral("aboveNoise"), line.aboveNoise}});
                    }
                    families.append(
                        QJsonObject{{QStringLiteral("family"), FaultName(family.family.kind)},
                                    {QStringLiteral("fundamental"), family.family.fundamentalHz * f},
                                    {QStringLiteral("noiseFloor"), family.noiseFloor},
                                    {QStringLiteral("matchedHarmonics"), family.matchedHarmonics},
                                    {QStringLiteral("lines"), rows}});
                }
                bearingRows.append(QJsonObject{{QStringLiteral("location"), match.bearing.location},
                                               {QStringLiteral("designation"), match.bearing.designation},
                                               {QStringLiteral("bearing"), match.bearing.bearingGuid},
                                               {QStringLiteral("ratio"), match.bearing.speedRatio},
                                               {QStringLiteral("families"), families}});
            }
            PrintJsonLine(out, {{QStringLiteral("reading"), Q(o.reading)},
                                {QStringLiteral("runSpeed"), runSpeedHz * f},
                                {QStringLiteral("frequencyUnit"), units.FrequencyLabel()},
                                {QStringLiteral("amplitudeUnit"), amplitudeUnit},
                                {QStringLiteral("tolerancePercent"), o.tolerance},
                                {QStringLiteral("bearings"), bearingRows}});
            return static_cast<int>(kDone);
        }
        PrintLine(out,
                  QStringLiteral("runSpeed\t%1\t%2").arg(Decimal(runSpeedHz * f, 3), units.FrequencyLabel()));
        PrintLine(out, QStringLiteral("amplitude\t%1").arg(amplitudeUnit));
        int number = 1;
        for (const BearingMatch& match : matches) {
            PrintLine(out, QStringList{QStringLiteral("bearing"), QString::number(number++),
                                       match.bearing.location, match.bearing.designation,
                                       QStringLiteral("ratio %1").arg(match.bearing.speedRatio)}
                               .join(QLatin1Char('\t')));
            for (const FamilyMatch& family : match.families) {
                PrintLine(
                    out,
                    QStringList{QStringLiteral("family"), FaultName(family.family.kind),
                                Decimal(family.family.fundamentalHz * f, 3),
                                QStringLiteral("matched %1/%2").arg(family.matchedHarmonics).arg(o.harmonics),
                                QStringLiteral("noise %1").arg(Decimal(family.noiseFloor, 5))}
                        .join(QLatin1Char('\t')));
                for (const LineMatch& line : family.lines) {
                    PrintLine(out,
                              QStringList{QStringLiteral("line"), FaultName(family.family.kind),
                                          LineLabel(line.expected), Decimal(line.expected.hz * f, 3),
                                          line.found ? Decimal(line.matchedHz * f, 3) : QStringLiteral("-"),
                                          line.found ? Decimal(line.amplitude, 5) : QStringLiteral("-"),
                                          line.aboveNoise ? QStringLiteral("above") : QStringLiteral("below")}
                                  .join(QLatin1Char('\t')));
                }
            }
        }
        return static_cast<int>(kDone);
    });
}

void AddFaultsCommand(CLI::App& cli, CommandContext& context) {
    auto o = std::make_shared<FaultOptions>();
    auto* faults =
        cli.add_subcommand("faults", "The fault-frequency families of a reading's point's bearings, "
                                     "matched on the reading's spectrum");
    faults->add_option("reading", o->reading, "The reading's GUID")->required();
    faults->add_option("--measure", o->measure, "total (default), iso or envelope")
        ->check(CLI::IsMember({"iso", "total", "envelope"}));
    faults->add_option("--harmonics", o->harmonics, "Harmonics per family, 1 to 20 (default 5)")
        ->check(CLI::Range(1, kMostFaultHarmonics));
    faults->add_option("--tolerance", o->tolerance, "Search window, percent of each frequency (default 2)")
        ->check(CLI::Range(0.01, 50.0));
    faults->add_flag("--json", o->json, "Print one JSON object");
    faults->callback([&context, o] { context.status = Faults(context, *o); });
}

} // namespace

void AddBearingCommands(CLI::App& cli, CommandContext& context) {
    AddLibraryCommands(cli, context);
    AddPointBearingCommand(cli, context);
    AddFaultsCommand(cli, context);
}

} // namespace vantor::cli
