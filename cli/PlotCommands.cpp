// plot: trend, spectrum, waveform, waterfall and envelope views painted into PNG files.
#include "cli/PlotCommands.h"
#include "app/TypedSettings.h"

#include "analysis/AlarmStatus.h"
#include "analysis/CaptureNotice.h"
#include "analysis/ReadingEnvelope.h"
#include "analysis/SignalCache.h"
#include "analysis/SignalProcessor.h"
#include "analysis/ViewData.h"
#include "analysis/ViewTexts.h"
#include "app/MeasureTrends.h"
#include "app/ReadingFindings.h"
#include "app/Startup.h"
#include "app/ViewedReading.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/ReadingToolCommands.h"
#include "graphviews/AlarmBandMarks.h"
#include "graphviews/FaultOverlay.h"
#include "loaders/BearingsAtPoint.h"
#include "loaders/EnvelopeLoader.h"
#include "loaders/SignalLoader.h"
#include "store/BearingStore.h"
#include "store/MainConnection.h"
#include "texts/UiText.h"

#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>

#include <QImage>
#include <QLocale>
#include <QPainter>

#include <memory>
#include <string>

namespace vantor::cli {
namespace {

double AxisMiddle(const CVantorGraphCtrl& graph) {
    return (graph.GetXAxisMin() + graph.GetXAxisMax()) / 2;
}

// Fills the control with the chosen view; the exit status when the view cannot be shown. The
// cursor stands at the run speed on a spectrum, in the middle of the axis elsewhere.
// The point a spectrum view shows (a spectrum's reading's point, a waterfall's point) and its run
// speed in Hz, for the fault families.
struct ShownPoint {
    QString point;
    double runSpeedHz = 0;
};

// The reading's point's spectral alarm bands on the shown spectrum, as the reading views draw them.
void ShowPointAlarmBands(CAppData& app, CVantorGraphCtrl& graph, const ViewedReading& reading,
                         BandSpectrum spectrum, const DisplayUnits& units) {
    if (reading.point) {
        ShowAlarmBands(graph, AlarmBandMarks(LoadPointSpectralBands(app, reading.point->sItemGUID), spectrum,
                                             reading.decoded.runSpeedHz, units));
    }
}

std::optional<int> ShowView(CAppData& app, const PlotOptions& options, CVantorGraphCtrl& graph,
                            double& cursorX, ShownPoint& shown) {
    CMainConnection& db = *app.MainConnection();
    Prompter& prompter = app.UserPrompter();
    const DisplayUnits units = DisplayUnitsOf(app.settings);
    const bool consolidate = ConsolidatePeaks(app.settings);
    SignalProcessor processor;
    switch (options.view) {
    case PlotView::Trend: {
        CVib point;
        if (!db.GetVib(options.item, point)) {
            prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
            return kFailed;
        }
        const TrendSamples samples =
            MakeTrendSamples(TrendReadingsOf(db.ListVibReadings(point.sItemGUID), options.kind));
        TrendViewData view = MakeTrendViewData(point, options.kind, samples, TrendLine{}, units);
        AddOnlineValues(view, point, PointOnlineTrend(db, point, options.kind), units);
        ShowTrendView(graph, view, PointTitle(db, point));
        cursorX = AxisMiddle(graph);
        return std::nullopt;
    }
    case PlotView::Spectrum: {
        const std::optional<ViewedReading> reading = LoadOrSay(app, processor, options.item);
        if (!reading) {
            return kFailed;
        }
        if (const auto note = MissingSpectrumNote(reading->decoded, options.kind)) {
            prompter.ShowMessage(*note);
            return kFailed;
        }
        const std::optional<SpectrumViewData> view =
            MakeSpectrumViewData(reading->decoded, options.kind, units, consolidate);
        if (!view) {
            return kUsage;
        }
        ShowSpectrumView(graph, *view, BandAlarmLevel(*reading, units), ReadingTitle(*reading));
        if (const std::optional<BandSpectrum> spectrum = AlarmBandSpectrumOf(options.kind)) {
            ShowPointAlarmBands(app, graph, *reading, *spectrum, units);
        }
        cursorX = view->runSpeed > 0 ? view->runSpeed : AxisMiddle(graph);
        shown = {reading->point ? reading->point->sItemGUID : QString(), reading->decoded.runSpeedHz};
        return std::nullopt;
    }
    case PlotView::Waveform: {
        const std::optional<ViewedReading> reading = LoadOrSay(app, processor, options.item);
        if (!reading) {
            return kFailed;
        }
        if (const auto note = MissingWaveformNote(reading->decoded)) {
            prompter.ShowMessage(*note);
            return kFailed;
        }
        ShowWaveformView(graph, MakeWaveformViewData(reading->decoded), ReadingTitle(*reading));
        cursorX = AxisMiddle(graph);
        return std::nullopt;
    }
    case PlotView::Envelope: {
        const std::optional<ViewedReading> reading = LoadOrSay(app, processor, options.item);
        if (!reading) {
            return kFailed;
        }
        EnvelopeAnalyzer analyzer;
        const ReadingEnvelope envelope =
            reading->row ? LoadReadingEnvelope(db, analyzer, *reading->row, reading->decoded)
                         : ReadingEnvelope{};
        if (envelope.outcome != ReadingEnvelopeOutcome::Ready) {
            prompter.ShowMessage(envelope.outcome == ReadingEnvelopeOutcome::Refused
                                     ? EnvelopeRefusalText(envelope.refusal)
                                     : UiText(text::ErrorLoadingRecord));
            return kFailed;
        }
        ShowSpectrumView(graph, MakeEnvelopeViewData(envelope.spectrum, units), std::nullopt,
                         EnvelopeTitle(ReadingTitle(*reading), envelope.spectrum));
        ShowPointAlarmBands(app, graph, *reading, BandSpectrum::Envelope, units);
        const double runSpeed = reading->decoded.runSpeedHz * units.FrequencyFactor();
        cursorX = runSpeed > 0 && runSpeed < graph.GetXAxisMax() ? runSpeed : AxisMiddle(graph);
        shown = {reading->point ? reading->point->sItemGUID : QString(), reading->decoded.runSpeedHz};
        return std::nullopt;
    }
    case PlotView::Waterfall: {
        CVib point;
        if (!db.GetVib(options.item, point)) {
            prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
            return kFailed;
        }
        std::vector<WaterfallSpectrum> spectra;
        for (const CVibReading& row : db.ListVibReadingsNewestFirst(point.sItemGUID)) {
            if (static_cast<int>(spectra.size()) == kWaterfallMostSpectra) {
                break;
            }
            ReadingSignals decoded;
            if (!LoadReadingSignals(db, processor, row.sItemGUID, decoded)) {
                continue;
            }
            std::optional<SpectrumViewData> view =
                MakeSpectrumViewData(decoded, options.kind, units, consolidate);
            if (!view) {
                return kUsage;
            }
            if (spectra.empty()) {
                shown = {point.sItemGUID, decoded.runSpeedHz};
            }
            spectra.push_back({std::move(*view), row.ctDateTaken, row.sItemGUID});
        }
        ShowWaterfallView(graph, spectra, units, PointTitle(db, point));
        cursorX = spectra.empty() || !(spectra.front().view.runSpeed > 0) ? AxisMiddle(graph)
                                                                          : spectra.front().view.runSpeed;
        return std::nullopt;
    }
    }
    return kFailed;
}

void PaintInto(CVantorGraphCtrl& graph, QImage& image) {
    QPainter painter(&image);
    graph.paint(painter, image.rect());
}

} // namespace

int RunPlot(CAppData& app, const PlotOptions& options) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    Prompter& prompter = app.UserPrompter();
    const std::unique_ptr<CVantorGraphCtrl> graph =
        createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
    if (!graph) {
        return kFailed;
    }
    graph->setMessagePort([&prompter](const QString& text) { prompter.ShowMessage(text); });
    graph->resetToDefaults();
    graph->resize(options.width, options.height);

    double cursorX = 0;
    ShownPoint shown;
    if (const std::optional<int> status = ShowView(app, options, *graph, cursorX, shown)) {
        return *status;
    }
    std::vector<BearingAtPoint> bearings;
    if (options.families || options.bearing > 0) {
        CBearingStore store(*app.MainConnection());
        if (!shown.point.isEmpty()) {
            bearings = LoadBearingsAtPoint(store, shown.point);
        }
        if (options.bearing > static_cast<int>(bearings.size())) {
            prompter.ShowMessage(QStringLiteral("The point has no bearing number %1").arg(options.bearing));
            return kFailed;
        }
    }
    QImage image(options.width, options.height, QImage::Format_ARGB32);
    // The first paint lays the graph out, so that the cursor finds the drawn data to stand on.
    PaintInto(*graph, image);
    if (options.bearing > 0) {
        SetBearingCursorFrom(*graph, bearings[static_cast<std::size_t>(options.bearing - 1)]);
    }
    SetGraphCursor(*graph, options.cursor, cursorX);
    for (const PropertyValue& property : options.properties) {
        WriteProperty(*graph, property);
    }
    // The families as the desktop draws them: their lines under the spectrum's (the control's
    // underlay, with the bands behind the data too), so no family line hides a peak; their labels
    // and legend over the finished picture.
    FaultOverlay overlay;
    if (options.families) {
        const double factor = DisplayUnitsOf(app.settings).FrequencyFactor();
        overlay = MakeFaultOverlay(bearings, shown.runSpeedHz, factor, options.harmonics);
        graph->setDrawingsBehindData(true);
        graph->setUnderlay([&graph = *graph, &overlay](QPainter& painter) {
            PaintFaultOverlay(painter, graph, overlay, OverlayParts::Lines);
        });
    }
    image.fill(Qt::transparent);
    PaintInto(*graph, image);
    if (options.families) {
        QPainter painter(&image);
        PaintFaultOverlay(painter, *graph, overlay, OverlayParts::LabelsAndLegend);
    }
    graph->setUnderlay({});
    if (!image.save(options.file, "PNG")) {
        prompter.ShowMessage(UiText(text::ErrorSavingDataFile));
        return kFailed;
    }
    return kDone;
}

void AddPlotCommands(CLI::App& cli, CommandContext& context) {
    auto* plot =
        cli.add_subcommand("plot", "Paint a reading view (trend, spectrum, waveform, waterfall) into a PNG");
    auto view = std::make_shared<std::string>();
    auto item = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    auto measure = std::make_shared<std::string>("iso");
    auto width = std::make_shared<int>(kDefaultPlotWidth);
    auto height = std::make_shared<int>(kDefaultPlotHeight);
    auto cursor = std::make_shared<std::string>();
    auto sets = std::make_shared<std::vector<std::string>>();
    auto faults = std::make_shared<PlotOptions>(); // only its fault-family fields
    plot->add_option("view", *view,
                     "trend POINT, spectrum READING, waveform READING, waterfall POINT or envelope READING")
        ->required()
        ->check(CLI::IsMember({"trend", "spectrum", "waveform", "waterfall", "envelope"}));
    plot->add_option("item", *item,
                     "The point's GUID (trend, waterfall) or the reading's (spectrum, waveform, envelope)")
        ->required();
    plot->add_option("--out", *out, "The PNG file to write")->required();
    plot->add_option("--measure", *measure,
                     "iso, bdu, total, displacement, band1, band2 or band3 (default iso)")
        ->check(CLI::IsMember({"iso", "bdu", "total", "displacement", "band1", "band2", "band3"}));
    plot->add_option("--width", *width, "Picture width in pixels (default 800)")
        ->check(CLI::Range(1, kLargestPlotSide));
    plot->add_option("--height", *height, "Picture height in pixels (default 500)")
        ->check(CLI::Range(1, kLargestPlotSide));
    plot->add_option("--cursor", *cursor, "simple, harmonic or bearing")
        ->check(CLI::IsMember({"simple", "harmonic", "bearing"}));
    plot->add_option("--set", *sets,
                     "NAME=VALUE: a graph control property written before painting; repeatable");
    plot->add_flag(
        "--families", faults->families,
        "Spectrum, waterfall, envelope: draw the fault families of the point's bearings with a legend");
    plot->add_option("--harmonics", faults->harmonics, "Harmonics per family, 1 to 20 (default 5)")
        ->check(CLI::Range(1, kMostFaultHarmonics));
    plot->add_option("--bearing", faults->bearing,
                     "The bearing cursor's multipliers from the point's bearing N")
        ->check(CLI::Range(1, kBearingsPerPoint));
    plot->callback([&context, view, item, out, measure, width, height, cursor, sets, faults] {
        PlotOptions options;
        const std::string& name = *view;
        options.view = name == "trend"      ? PlotView::Trend
                       : name == "spectrum" ? PlotView::Spectrum
                       : name == "waveform" ? PlotView::Waveform
                       : name == "envelope" ? PlotView::Envelope
                                            : PlotView::Waterfall;
        options.item = QString::fromStdString(*item);
        options.file = QString::fromStdString(*out);
        options.kind = *MeasureKindNamed(QString::fromStdString(*measure));
        options.families = faults->families;
        options.harmonics = faults->harmonics;
        options.bearing = faults->bearing;
        options.width = *width;
        options.height = *height;
        options.cursor = *cursor == "simple"     ? GraphCursor::Simple
                         : *cursor == "harmonic" ? GraphCursor::Harmonic
                         : *cursor == "bearing"  ? GraphCursor::Bearing
                                                 : GraphCursor::None;
        for (const std::string& assignment : *sets) {
            const std::size_t equals = assignment.find('=');
            if (equals == std::string::npos || equals == 0) {
                throw CLI::ValidationError("--set", "NAME=VALUE expected, got " + assignment);
            }
            const std::string property = assignment.substr(0, equals);
            PropertyTextError error{};
            std::optional<PropertyValue> value =
                ParsePropertyValue(CVantorGraphCtrl::staticMetaObject, QString::fromStdString(property),
                                   QString::fromStdString(assignment.substr(equals + 1)), &error);
            if (!value) {
                throw CLI::ValidationError("--set", error == PropertyTextError::UnknownName
                                                        ? "the graph has no property " + property
                                                        : "a value of the wrong type for " + property);
            }
            options.properties.push_back(std::move(*value));
        }
        context.status = RunPlot(context.App(), options);
    });
}

} // namespace vantor::cli
