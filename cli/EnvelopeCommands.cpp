// envelope, cepstrum, indices.
#include "cli/EnvelopeCommands.h"
#include "cli/ConsoleOutput.h"

#include "analysis/Cepstrum.h"
#include "analysis/ReadingEnvelope.h"
#include "analysis/ReadingIndices.h"
#include "analysis/SignalCache.h"
#include "analysis/SignalProcessor.h"
#include "analysis/ViewTexts.h"
#include "app/EnvelopeCsv.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "loaders/BearingsAtPoint.h"
#include "loaders/EnvelopeLoader.h"
#include "loaders/IndicesStore.h"
#include "loaders/SignalLoader.h"
#include "platform/Prompter.h"
#include "store/BearingStore.h"
#include "store/MainConnection.h"
#include "store/SqlConnection.h"
#include "texts/UiText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>
#include <cmath>
#include <memory>
#include <string>

namespace vantor::cli {
namespace {

QString Number(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString Optional(const std::optional<double>& value) {
    return value ? Number(*value) : QStringLiteral("-");
}

QJsonValue JsonOptional(const std::optional<double>& value) {
    return value && std::isfinite(*value) ? QJsonValue(*value) : QJsonValue();
}

QJsonObject BandJson(const EnvelopeBand& band) {
    return {{QStringLiteral("low"), band.lowHz}, {QStringLiteral("high"), band.highHz}};
}

QString ClippedText(const EnvelopeSpectrum& spectrum) {
    return QStringLiteral("The envelope band's high edge %1 Hz lies past Fmax; the band used ends at %2 Hz.")
        .arg(Number(spectrum.requested.highHz), Number(spectrum.band.highHz));
}

bool WriteCsv(const QString& path, const EnvelopeSpectrum& spectrum) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QByteArray text = EnvelopeCsv(spectrum);
    return file.write(text) == text.size() && file.flush();
}

QJsonObject ChannelJson(const std::optional<WaveformIndices>& indices) {
    if (!indices) {
        return {};
    }
    return {{QStringLiteral("rms"), indices->rms},
            {QStringLiteral("peak"), indices->peak},
            {QStringLiteral("peakToPeak"), indices->peakToPeak},
            {QStringLiteral("crest"), JsonOptional(indices->crest)},
            {QStringLiteral("kurtosis"), JsonOptional(indices->kurtosis)},
            {QStringLiteral("skewness"), JsonOptional(indices->skewness)}};
}

void WriteChannelText(std::FILE* out, const char* name, const std::optional<WaveformIndices>& indices) {
    if (!indices) {
        PrintLine(out, QStringLiteral("%1\t-").arg(QLatin1String(name)));
        return;
    }
    PrintLine(out, QStringList{QLatin1String(name), QStringLiteral("rms"), Number(indices->rms),
                               QStringLiteral("peak"), Number(indices->peak), QStringLiteral("p2p"),
                               Number(indices->peakToPeak), QStringLiteral("crest"), Optional(indices->crest),
                               QStringLiteral("kurtosis"), Optional(indices->kurtosis),
                               QStringLiteral("skewness"), Optional(indices->skewness)}
                       .join(QLatin1Char('\t')));
}

} // namespace

int RunEnvelope(CAppData& app, const EnvelopeOptions& options, std::FILE* out) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    Prompter& prompter = app.UserPrompter();
    SignalProcessor processor;
    EnvelopeAnalyzer analyzer;
    ReadingEnvelope envelope;
    try {
        envelope =
            LoadReadingEnvelope(*app.MainConnection(), processor, analyzer, options.reading, options.band);
    } catch (const DatabaseError&) {
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return kFailed;
    }
    switch (envelope.outcome) {
    case ReadingEnvelopeOutcome::NoReading:
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return kFailed;
    case ReadingEnvelopeOutcome::Refused:
        prompter.ShowMessage(EnvelopeRefusalText(envelope.refusal));
        return kFailed;
    case ReadingEnvelopeOutcome::Ready:
        break;
    }
    const EnvelopeSpectrum& spectrum = envelope.spectrum;
    if (spectrum.highClipped) {
        prompter.ShowMessage(ClippedText(spectrum));
    }
    if (!options.csvFile.isEmpty()) {
        if (!WriteCsv(options.csvFile, spectrum)) {
            prompter.ShowMessage(UiText(text::ErrorSavingDataFile));
            return kFailed;
        }
        return kDone;
    }
    if (options.json) {
        QJsonArray frequencies;
        QJsonArray amplitudes;
        for (std::size_t k = 0; k < spectrum.lines.size(); ++k) {
            frequencies.append(spectrum.FrequencyOf(k));
            amplitudes.append(spectrum.lines[k]);
        }
        const QJsonObject object{{QStringLiteral("reading"), options.reading},
                                 {QStringLiteral("band"), BandJson(spectrum.band)},
                                 {QStringLiteral("requestedBand"), BandJson(spectrum.requested)},
                                 {QStringLiteral("clipped"), spectrum.highClipped},
                                 {QStringLiteral("lineSpacingHz"), spectrum.lineSpacingHz},
                                 {QStringLiteral("geOverall"), spectrum.overallGe},
                                 {QStringLiteral("unit"), QStringLiteral("gE")},
                                 {QStringLiteral("frequencyHz"), frequencies},
                                 {QStringLiteral("amplitudeGe"), amplitudes}};
        PrintJsonLine(out, object);
        return kDone;
    }
    PrintLine(out,
              QStringLiteral("band\t%1\t%2").arg(Number(spectrum.band.lowHz), Number(spectrum.band.highHz)));
    PrintLine(out, QStringLiteral("clipped\t%1").arg(spectrum.highClipped ? 1 : 0));
    PrintLine(out, QStringLiteral("lineSpacing\t%1").arg(Number(spectrum.lineSpacingHz)));
    PrintLine(out, QStringLiteral("geOverall\t%1").arg(Number(spectrum.overallGe)));
    PrintLine(out, QStringLiteral("Hz\tgE"));
    for (std::size_t k = 0; k < spectrum.lines.size(); ++k) {
        PrintLine(out, Number(spectrum.FrequencyOf(k)) + QLatin1Char('\t') + Number(spectrum.lines[k]));
    }
    return kDone;
}

int RunCepstrum(CAppData& app, const QString& readingGuid, bool json, const QString& csvFile,
                std::FILE* out) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    Prompter& prompter = app.UserPrompter();
    SignalProcessor processor;
    ReadingSignals decoded;
    std::vector<BearingAtPoint> bearings;
    try {
        CMainConnection& db = *app.MainConnection();
        CVibReading row;
        if (readingGuid.isEmpty() || !db.GetVibReading(readingGuid, row) ||
            !LoadReadingSignals(db, processor, row, decoded)) {
            prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
            return kFailed;
        }
        CBearingStore store(db);
        bearings = LoadBearingsAtPoint(store, row.sParentGUID);
    } catch (const DatabaseError&) {
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return kFailed;
    }
    const std::optional<Cepstrum> cepstrum =
        RealCepstrum(decoded.total.waveform, decoded.total.samplingFrequencyHz);
    if (!cepstrum) {
        prompter.ShowMessage(EnvelopeRefusalText(decoded.total.waveform.empty()
                                                     ? EnvelopeRefusal::CaptureTooShort
                                                     : EnvelopeRefusal::CaptureNotFinite));
        return kFailed;
    }
    const std::vector<CepstrumMark> marks = CepstrumMarks(*cepstrum, decoded.runSpeedHz, bearings);
    if (!csvFile.isEmpty()) {
        QFile file(csvFile);
        QByteArray text;
        for (const CepstrumMark& mark : marks) {
            text += QStringLiteral("Period %1 (ms),%2,%3\r\n")
                        .arg(mark.name)
                        .arg(mark.periodMs, 0, 'f', 6)
                        .arg(mark.value, 0, 'g', 8)
                        .toUtf8();
        }
        text += "\r\nQuefrency (ms),Cepstrum\r\n";
        for (std::size_t i = 0; i < cepstrum->values.size(); ++i) {
            text += QStringLiteral("%1,%2\r\n")
                        .arg(static_cast<double>(i) * cepstrum->quefrencyStepMs, 0, 'f', 6)
                        .arg(cepstrum->values[i], 0, 'g', 8)
                        .toUtf8();
        }
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
            !file.flush()) {
            prompter.ShowMessage(UiText(text::ErrorSavingDataFile));
            return kFailed;
        }
        return kDone;
    }
    if (json) {
        QJsonArray marked;
        for (const CepstrumMark& mark : marks) {
            marked.append(QJsonObject{{QStringLiteral("name"), mark.name},
                                      {QStringLiteral("periodMs"), mark.periodMs},
                                      {QStringLiteral("value"), mark.value}});
        }
        QJsonArray values;
        for (const double v : cepstrum->values) {
            values.append(v);
        }
        const QJsonObject object{{QStringLiteral("reading"), readingGuid},
                                 {QStringLiteral("runSpeedHz"), static_cast<double>(decoded.runSpeedHz)},
                                 {QStringLiteral("quefrencyStepMs"), cepstrum->quefrencyStepMs},
                                 {QStringLiteral("marks"), marked},
                                 {QStringLiteral("values"), values}};
        PrintJsonLine(out, object);
        return kDone;
    }
    PrintLine(out, QStringLiteral("quefrencyStep\t%1\tms").arg(Number(cepstrum->quefrencyStepMs)));
    for (const CepstrumMark& mark : marks) {
        PrintLine(
            out,
            QStringLiteral("mark\t%1\t%2\tms\t%3").arg(mark.name, Number(mark.periodMs), Number(mark.value)));
    }
    PrintLine(out, QStringLiteral("ms\tcepstrum"));
    for (std::size_t i = 0; i < cepstrum->values.size(); ++i) {
        PrintLine(out, Number(static_cast<double>(i) * cepstrum->quefrencyStepMs) + QLatin1Char('\t') +
                           Number(cepstrum->values[i]));
    }
    return kDone;
}

int RunIndices(CAppData& app, const QString& readingGuid, bool json, std::FILE* out) {
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    Prompter& prompter = app.UserPrompter();
    EnvelopeAnalyzer analyzer;
    std::optional<ReadingIndices> indices;
    try {
        indices = ReadingIndicesOf(*app.MainConnection(), analyzer, readingGuid);
    } catch (const DatabaseError&) {
        indices.reset();
    }
    if (!indices) {
        prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        return kFailed;
    }
    if (json) {
        const auto channel = [](const std::optional<WaveformIndices>& c) {
            return c ? QJsonValue(ChannelJson(c)) : QJsonValue();
        };
        const QJsonObject object{{QStringLiteral("reading"), readingGuid},
                                 {QStringLiteral("total"), channel(indices->total)},
                                 {QStringLiteral("iso"), channel(indices->iso)},
                                 {QStringLiteral("envelopeBand"), BandJson(indices->band)},
                                 {QStringLiteral("geOverall"), JsonOptional(indices->geOverall)}};
        PrintJsonLine(out, object);
        return kDone;
    }
    WriteChannelText(out, "total", indices->total);
    WriteChannelText(out, "iso", indices->iso);
    PrintLine(out, QStringLiteral("ge\t%1\tband\t%2\t%3")
                       .arg(Optional(indices->geOverall), Number(indices->band.lowHz),
                            Number(indices->band.highHz)));
    return kDone;
}

void AddEnvelopeCommands(CLI::App& cli, CommandContext& context) {
    auto* envelope =
        cli.add_subcommand("envelope", "A reading's envelope spectrum (Hz, gE) in its point's band");
    auto reading = std::make_shared<std::string>();
    auto band = std::make_shared<std::vector<double>>();
    auto json = std::make_shared<bool>(false);
    auto csv = std::make_shared<std::string>();
    envelope->add_option("reading", *reading, "The route reading's GUID")->required();
    envelope->add_option("--band", *band, "LOW HIGH: the band in Hz instead of the point's")->expected(2);
    auto* jsonFlag = envelope->add_flag("--json", *json, "Print one JSON object");
    envelope->add_option("--csv", *csv, "Write the lines to a CSV file")->excludes(jsonFlag);
    envelope->callback([&context, reading, band, json, csv] {
        EnvelopeOptions options;
        options.reading = QString::fromStdString(*reading);
        if (band->size() == 2) {
            options.band = EnvelopeBand{(*band)[0], (*band)[1]};
        }
        options.json = *json;
        options.csvFile = QString::fromStdString(*csv);
        context.status = RunEnvelope(context.App(), options);
    });

    auto* cepstrum = cli.add_subcommand(
        "cepstrum", "A reading's real cepstrum (quefrency in ms) with the bearing families' periods marked");
    auto cepstrumReading = std::make_shared<std::string>();
    auto cepstrumJson = std::make_shared<bool>(false);
    auto cepstrumCsv = std::make_shared<std::string>();
    cepstrum->add_option("reading", *cepstrumReading, "The route reading's GUID")->required();
    auto* cepstrumJsonFlag = cepstrum->add_flag("--json", *cepstrumJson, "Print one JSON object");
    cepstrum->add_option("--csv", *cepstrumCsv, "Write the cepstrum to a CSV file")
        ->excludes(cepstrumJsonFlag);
    cepstrum->callback([&context, cepstrumReading, cepstrumJson, cepstrumCsv] {
        context.status = RunCepstrum(context.App(), QString::fromStdString(*cepstrumReading), *cepstrumJson,
                                     QString::fromStdString(*cepstrumCsv));
    });

    auto* indices =
        cli.add_subcommand("indices", "A reading's waveform indices per channel and its gE overall");
    auto indicesReading = std::make_shared<std::string>();
    auto indicesJson = std::make_shared<bool>(false);
    indices->add_option("reading", *indicesReading, "The route reading's GUID")->required();
    indices->add_flag("--json", *indicesJson, "Print one JSON object");
    indices->callback([&context, indicesReading, indicesJson] {
        context.status = RunIndices(context.App(), QString::fromStdString(*indicesReading), *indicesJson);
    });
}

} // namespace vantor::cli
