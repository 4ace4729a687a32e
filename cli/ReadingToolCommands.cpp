// csv, peaks, runspeed, trend.
#include "cli/ReadingToolCommands.h"
#include "app/TypedSettings.h"
#include "cli/ConsoleOutput.h"

#include "analysis/CaptureNotice.h"
#include "analysis/MeasureFormat.h"
#include "analysis/ReadingDiagnosis.h"
#include "analysis/ReadingIndices.h"
#include "analysis/SignalCache.h"
#include "analysis/SignalCsv.h"
#include "analysis/SignalProcessor.h"
#include "analysis/TopPeaks.h"
#include "analysis/TrendFit.h"
#include "analysis/ViewTexts.h"
#include "app/MeasureTrends.h"
#include "app/RunSpeedUpdate.h"
#include "app/SignalCsvFile.h"
#include "app/Startup.h"
#include "app/ViewedReading.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/RowFormat.h"
#include "loaders/DiagnosisLoader.h"
#include "loaders/IndicesStore.h"
#include "store/MainConnection.h"
#include "store/RecordSyncConnection.h"
#include "store/Validation.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace vantor::cli {
namespace {

constexpr int kFewestPolynomialOrder = kFewestPolynomialCoefficients - 1;
constexpr int kMostPolynomialOrder = kMostPolynomialCoefficients - 1;
constexpr const char* kDateTimeFormat = "yyyy-MM-dd HH:mm:ss";
constexpr const char* kMeasureNames[kMeasureKindCount] = {"iso",   "bdu",   "total", "displacement",
                                                          "band1", "band2", "band3"};

QString FloatText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString DoubleText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QJsonValue JsonNumber(double value) {
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue();
}

QString DateTimeText(const QDateTime& value) {
    return value.isValid() ? value.toString(QLatin1String(kDateTimeFormat)) : QString();
}

// The date and the time of a reading in the user's short date and long time formats.
std::pair<QString, QString> ViewDateTexts(const QDateTime& taken, const QLocale& locale = QLocale::system()) {
    // The long time format ends in the time zone, which a reading's local time does not carry.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(zone);
    return {locale.toString(taken.date(), QLocale::ShortFormat),
            locale.toString(taken.time(), timeFormat.trimmed())};
}

QJsonObject TrendJson(const TrendSamples& samples, const TrendLine& line,
                      const std::optional<QString>& message) {
    QJsonArray sampleArray;
    for (const TrendSample& sample : samples.samples) {
        sampleArray.append(QJsonObject{{QStringLiteral("reading"), sample.readingGuid},
                                       {QStringLiteral("date"), DateTimeText(sample.taken)},
                                       {QStringLiteral("x"), sample.x},
                                       {QStringLiteral("y"), ShortestFloat(static_cast<float>(sample.y))},
                                       {QStringLiteral("mask"), sample.mask}});
    }
    QJsonArray coefficients;
    for (const double c : line.coefficients) {
        coefficients.append(JsonNumber(c));
    }
    QJsonValue end;
    if (line.endX) {
        end =
            QJsonObject{{QStringLiteral("x"), *line.endX},
                        {QStringLiteral("date"), DateTimeText(TrendDateTime(samples.reference, *line.endX))}};
    }
    return {{QStringLiteral("reference"),
             samples.reference.isValid() ? QJsonValue(DateTimeText(samples.reference)) : QJsonValue()},
            {QStringLiteral("samples"), sampleArray},
            {QStringLiteral("result"), line.result},
            {QStringLiteral("coefficients"), coefficients},
            {QStringLiteral("end"), end},
            {QStringLiteral("message"), message ? QJsonValue(*message) : QJsonValue()}};
}

void WriteTrendText(std::FILE* out, const TrendSamples& samples, const TrendLine& line) {
    PrintLine(out, QStringLiteral("reference\t%1").arg(DateTimeText(samples.reference)));
    for (const TrendSample& sample : samples.samples) {
        PrintLine(out, QStringList{QStringLiteral("sample"), sample.readingGuid, DateTimeText(sample.taken),
                                   DoubleText(sample.x), FloatText(static_cast<float>(sample.y)),
                                   QString::number(sample.mask)}
                           .join(QLatin1Char('\t')));
    }
    PrintLine(out, QStringLiteral("result\t%1").arg(line.result));
    QStringList coefficients{QStringLiteral("coefficients")};
    for (const double c : line.coefficients) {
        coefficients << DoubleText(c);
    }
    PrintLine(out, coefficients.join(QLatin1Char('\t')));
    PrintLine(out, line.endX ? QStringLiteral("end\t%1\t%2")
                                   .arg(DoubleText(*line.endX),
                                        DateTimeText(TrendDateTime(samples.reference, *line.endX)))
                             : QStringLiteral("end\t-"));
}

} // namespace

std::optional<MeasureKind> MeasureKindNamed(const QString& name) {
    for (int kind = 0; kind < kMeasureKindCount; ++kind) {
        if (name == QLatin1String(kMeasureNames[kind])) {
            return static_cast<MeasureKind>(kind);
        }
    }
    return std::nullopt;
}

int RunCsv(CAppData& app, const QString& readingGuid, const QString& file, bool waveform) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    SignalProcessor processor;
    const std::optional<ViewedReading> reading = LoadOrSay(app, processor, readingGuid);
    if (!reading) {
        return kFailed;
    }
    if (const auto note = waveform ? MissingWaveformNote(reading->decoded)
                                   : MissingSpectrumNote(reading->decoded, MeasureKind::Acceleration)) {
        app.UserPrompter().ShowMessage(*note);
        return kFailed;
    }
    SignalCsvInput input;
    input.content = waveform ? CsvContent::Waveform : CsvContent::Spectrum;
    input.machineName = reading->machineName;
    input.pointName = reading->pointName;
    std::tie(input.dateText, input.timeText) = ViewDateTexts(reading->taken);
    input.units = DisplayUnitsOf(app.settings);
    input.consolidatePeaks = ConsolidatePeaks(app.settings);
    return ExportSignalCsv(reading->decoded, input, file, app.UserPrompter()) == CsvExportOutcome::Written
               ? kDone
               : kFailed;
}

int RunPeaks(CAppData& app, const QString& readingGuid, MeasureKind kind, bool json, std::FILE* out) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    SignalProcessor processor;
    const std::optional<ViewedReading> reading = LoadOrSay(app, processor, readingGuid);
    if (!reading) {
        return kFailed;
    }
    if (const auto note = MissingSpectrumNote(reading->decoded, kind)) {
        app.UserPrompter().ShowMessage(*note);
        return kFailed;
    }
    const DisplayUnits units = DisplayUnitsOf(app.settings);
    const std::optional<DisplayedSpectrum> spectrum =
        MakeDisplayedSpectrum(reading->decoded, kind, units, ConsolidatePeaks(app.settings));
    if (!spectrum) {
        return kUsage;
    }
    const PeakList list = FindTopPeaks(*spectrum);
    const std::array<QString, 2> columns = PeakColumnCaptions(kind, units);
    const QLocale locale = QLocale::system();
    if (json) {
        QJsonArray rows;
        for (const PeakSlot& peak : list.peaks) {
            rows.append(QJsonObject{
                {QStringLiteral("frequency"), ShortestFloat(peak.frequency)},
                {QStringLiteral("amplitude"), ShortestFloat(peak.amplitude)},
                {QStringLiteral("frequencyText"), PeakText(peak.frequency, peak.frequencyDecimals, locale)},
                {QStringLiteral("amplitudeText"), PeakText(peak.amplitude, list.amplitudeDecimals, locale)}});
        }
        PrintJsonLine(out, {{QStringLiteral("columns"), QJsonArray{columns[0], columns[1]}},
                            {QStringLiteral("rows"), rows},
                            {QStringLiteral("smallest"), list.smallest}});
        return kDone;
    }
    PrintLine(out, columns[0] + QLatin1Char('\t') + columns[1]);
    for (const PeakSlot& peak : list.peaks) {
        PrintLine(out, PeakText(peak.frequency, peak.frequencyDecimals, locale) + QLatin1Char('\t') +
                           PeakText(peak.amplitude, list.amplitudeDecimals, locale));
    }
    return kDone;
}

int RunRunSpeed(CAppData& app, const QString& readingGuid, float runSpeedHz, std::FILE* out) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    Prompter& prompter = app.UserPrompter();
    if (const std::optional<QString> refused = CheckRunSpeed(runSpeedHz)) {
        prompter.ShowMessage(*refused);
        return kFailed;
    }
    SignalProcessor processor;
    const RunSpeedResult result =
        UpdateRunSpeed(*app.MainConnection(), processor, prompter, readingGuid, runSpeedHz);
    switch (result.outcome) {
    case RunSpeedOutcome::Declined:
        return kCancelled;
    case RunSpeedOutcome::LoadFailed:
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return kFailed;
    case RunSpeedOutcome::SaveFailed:
        prompter.ShowMessage(UiText(text::ErrorSavingRecord));
        return kFailed;
    case RunSpeedOutcome::CacheFailed:
    case RunSpeedOutcome::Updated:
        break;
    }
    const CVibReading& row = result.reading;
    PrintLine(out, QStringLiteral("runSpeed\t%1").arg(FloatText(row.fCurrentRunSpeedHz)));
    PrintLine(out,
              QStringList{QStringLiteral("overalls"), QStringLiteral("iso"), FloatText(row.fISOMMS),
                          QStringLiteral("band1"), FloatText(row.fVABand1MMS), QStringLiteral("band2"),
                          FloatText(row.fVABand2MMS), QStringLiteral("band3"), FloatText(row.fVABand3MMS)}
                  .join(QLatin1Char('\t')));
    return kDone;
}

int RunRunSpeedEstimate(CAppData& app, const QString& readingGuid, std::FILE* out) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    Prompter& prompter = app.UserPrompter();
    SignalProcessor processor;
    double storedHz = 0;
    std::optional<RunSpeedEstimate> estimate;
    try {
        CVibReading row;
        if (readingGuid.isEmpty() || !app.MainConnection()->GetVibReading(readingGuid, row)) {
            prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
            return kFailed;
        }
        estimate = EstimateReadingRunSpeed(*app.MainConnection(), processor, readingGuid, &storedHz);
    } catch (const DatabaseError&) {
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return kFailed;
    }
    if (!estimate) {
        prompter.ShowMessage(
            QStringLiteral("The Total spectrum cannot give the run speed near %1 Hz: too few of its "
                           "harmonics stand, or the capture is too short to resolve it to a percent.")
                .arg(QString::number(storedHz, 'f', 1)));
        return kFailed;
    }
    PrintLine(out, QStringLiteral("run speed %1 Hz estimated, %2 Hz stored")
                       .arg(QString::number(estimate->hz, 'f', 1), QString::number(storedHz, 'f', 1)));
    PrintLine(out, QStringList{QStringLiteral("estimate"), QString::number(estimate->hz, 'f', 4),
                               QStringLiteral("stored"), QString::number(storedHz, 'f', 4),
                               QStringLiteral("harmonics"), QString::number(estimate->harmonics)}
                       .join(QLatin1Char('\t')));
    return kDone;
}

int RunTrend(CAppData& app, const TrendOptions& options, std::FILE* out) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    Prompter& prompter = app.UserPrompter();
    if (const std::optional<int> refusal = ValidateTrendLineSettings(options.line)) {
        prompter.ShowMessage(UiText(*refusal));
        return kFailed;
    }
    CMainConnection& db = *app.MainConnection();
    CVib point;
    if (!db.GetVib(options.point, point)) {
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return kFailed;
    }
    const std::vector<CVibReading> readings = db.ListVibReadings(point.sItemGUID);
    std::vector<TrendReading> trendReadings;
    std::optional<double> target;
    if (options.index) {
        try {
            trendReadings = PointIndexTrend(db, point, readings, *options.index);
        } catch (const DatabaseError&) {
            prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
            return kFailed;
        }
        if (options.line.mode == ProjectionMode::ValuePoint) {
            target = options.line.targetValue;
        }
    } else {
        trendReadings = TrendReadingsOf(readings, options.kind);
        target = ProjectionTarget(options.line, point, options.kind);
    }
    const TrendSamples samples = MakeTrendSamples(trendReadings, options.line.from);
    const TrendLine line = FitTrendLine(samples, options.line, target);
    std::optional<QString> message;
    if (line.targetMissed) {
        message = UiText(text::TrendlineDoesNotCross);
        prompter.ShowMessage(*message);
    }
    if (options.json) {
        PrintJsonLine(out, TrendJson(samples, line, message));
    } else {
        WriteTrendText(out, samples, line);
    }
    return kDone;
}

void AddReadingToolCommands(CLI::App& cli, CommandContext& context) {
    const auto guidOf = [](const std::shared_ptr<std::string>& text) {
        return QString::fromStdString(*text);
    };

    auto* csv = cli.add_subcommand("csv", "Write a reading's Total spectrum (or waveform) as CSV");
    auto csvReading = std::make_shared<std::string>();
    auto csvFile = std::make_shared<std::string>();
    auto waveform = std::make_shared<bool>(false);
    csv->add_option("reading", *csvReading, "The reading's GUID")->required();
    csv->add_option("file", *csvFile, "The file to write (.csv, .txt: 8-bit text; other: UTF-16)")
        ->required();
    csv->add_flag("--waveform", *waveform, "The waveform instead of the spectrum");
    csv->callback([&context, csvReading, csvFile, waveform, guidOf] {
        context.status = RunCsv(context.App(), guidOf(csvReading), guidOf(csvFile), *waveform);
    });

    auto* peaks = cli.add_subcommand("peaks", "The Top 10 Peaks of a reading's spectrum");
    auto peaksReading = std::make_shared<std::string>();
    auto peaksMeasure = std::make_shared<std::string>("iso");
    auto peaksJson = std::make_shared<bool>(false);
    peaks->add_option("reading", *peaksReading, "The reading's GUID")->required();
    peaks->add_option("--measure", *peaksMeasure, "iso, total, band1, band2 or band3 (default iso)")
        ->check(CLI::IsMember({"iso", "total", "band1", "band2", "band3"}));
    peaks->add_flag("--json", *peaksJson, "Print one JSON object");
    peaks->callback([&context, peaksReading, peaksMeasure, peaksJson, guidOf] {
        context.status = RunPeaks(context.App(), guidOf(peaksReading),
                                  *MeasureKindNamed(QString::fromStdString(*peaksMeasure)), *peaksJson);
    });

    auto* runspeed = cli.add_subcommand("runspeed", "Correct a reading's run speed and recompute its values");
    auto runspeedReading = std::make_shared<std::string>();
    auto hz = std::make_shared<float>(0.0f);
    auto yes = std::make_shared<bool>(false);
    auto estimate = std::make_shared<bool>(false);
    runspeed->add_option("reading", *runspeedReading, "The route reading's GUID")->required();
    auto* hzOption = runspeed->add_option("hz", *hz, "The new run speed in Hz");
    runspeed->add_flag("--yes", *yes, "Update without asking");
    runspeed
        ->add_flag("--estimate", *estimate, "Print the run speed read from the Total spectrum (no change)")
        ->excludes(hzOption);
    runspeed->callback([&context, runspeedReading, hz, hzOption, yes, estimate, guidOf] {
        if (*estimate) {
            context.status = RunRunSpeedEstimate(context.App(), guidOf(runspeedReading));
            return;
        }
        if (hzOption->count() == 0) {
            context.UserPrompter().ShowMessage(
                QStringLiteral("runspeed: give the new run speed in Hz, or --estimate"));
            context.status = kUsage;
            return;
        }
        if (*yes) {
            context.answers.yesNo = true;
        }
        context.status = RunRunSpeed(context.App(), guidOf(runspeedReading), *hz);
    });

    auto* trend = cli.add_subcommand("trend", "A point's trend of one measure with its fitted line");
    auto trendPoint = std::make_shared<std::string>();
    auto trendMeasure = std::make_shared<std::string>("iso");
    auto fit = std::make_shared<std::vector<std::string>>();
    auto from = std::make_shared<std::string>();
    auto project = std::make_shared<std::vector<std::string>>();
    auto trendJson = std::make_shared<bool>(false);
    trend->add_option("point", *trendPoint, "The vibration point's GUID")->required();
    trend
        ->add_option("--measure", *trendMeasure,
                     "iso, bdu, total, displacement, band1, band2, band3, or a waveform index: crest, "
                     "kurtosis, p2p, ge (default iso)")
        ->check(CLI::IsMember({"iso", "bdu", "total", "displacement", "band1", "band2", "band3", "crest",
                               "kurtosis", "p2p", "ge"}));
    trend->add_option("--fit", *fit, "linear (default), second, or order N (1 to 6)")->expected(1, 2);
    trend->add_option("--from", *from, "Leave out readings before \"YYYY-MM-DD HH:MM:SS\"");
    trend->add_option("--project", *project, "last (default), warning, critical, value V or days N")
        ->expected(1, 2);
    trend->add_flag("--json", *trendJson, "Print one JSON object");
    trend->callback([&context, trendPoint, trendMeasure, fit, from, project, trendJson] {
        TrendOptions options;
        options.point = QString::fromStdString(*trendPoint);
        const QString measureName = QString::fromStdString(*trendMeasure);
        options.index = IndexMeasureNamed(measureName);
        options.kind = MeasureKindNamed(measureName).value_or(MeasureKind::IsoVelocity);
        options.json = *trendJson;
        TrendLineSettings& line = options.line;
        const auto word = [](const std::vector<std::string>& words) { return words.empty() ? "" : words[0]; };
        const auto number = [](const std::vector<std::string>& words, const char* option) {
            double value = 0;
            if (words.size() != 2 ||
                std::from_chars(words[1].data(), words[1].data() + words[1].size(), value).ec !=
                    std::errc() ||
                !std::isfinite(value)) {
                throw CLI::ValidationError(option, "a number must follow " + words[0]);
            }
            return value;
        };
        const std::string fitWord = word(*fit);
        if (fitWord == "second") {
            line.fit = TrendFitKind::Polynomial;
            line.coefficientCount = 3;
        } else if (fitWord == "order") {
            const double order = number(*fit, "--fit");
            if (order != std::trunc(order) || order < kFewestPolynomialOrder ||
                order > kMostPolynomialOrder) {
                throw CLI::ValidationError("--fit", "the order is a whole number from 1 to 6");
            }
            line.fit = TrendFitKind::Polynomial;
            line.coefficientCount = static_cast<int>(order) + 1;
        } else if (!fitWord.empty() && fitWord != "linear") {
            throw CLI::ValidationError("--fit", "linear, second or order N");
        }
        if (fitWord != "order" && fit->size() > 1) {
            throw CLI::ValidationError("--fit", fitWord + " takes no number");
        }
        if (!from->empty()) {
            line.from = QDateTime::fromString(QString::fromStdString(*from), QLatin1String(kDateTimeFormat));
            if (!line.from.isValid()) {
                throw CLI::ValidationError("--from", "dates are written \"YYYY-MM-DD HH:MM:SS\"");
            }
        }
        const std::string mode = word(*project);
        if (mode == "value" || mode == "days") {
            const double value = number(*project, "--project");
            if (mode == "value") {
                line.mode = ProjectionMode::ValuePoint;
                line.targetValue = value;
            } else {
                if (value != std::trunc(value)) {
                    throw CLI::ValidationError("--project", "days are a whole number");
                }
                line.mode = ProjectionMode::Days;
                line.days =
                    static_cast<int>(std::clamp(value, -1.0, static_cast<double>(kProjectionDaysBelow)));
            }
        } else {
            if (project->size() > 1) {
                throw CLI::ValidationError("--project", mode + " takes no number");
            }
            if (mode == "warning") {
                line.mode = ProjectionMode::WarningPoint;
            } else if (mode == "critical") {
                line.mode = ProjectionMode::CriticalPoint;
            } else if (!mode.empty() && mode != "last") {
                throw CLI::ValidationError("--project", "last, warning, critical, value V or days N");
            }
        }
        context.status = RunTrend(context.App(), options);
    });
}

} // namespace vantor::cli
