#include "interchange/WaveformSources.h"

#include "analysis/SignalProcessor.h"
#include "interchange/Log.h"
#include "interchange/SignalExport.h"
#include "interchange/Uff58.h"
#include "interchange/WavFile.h"
#include "interchange/WaveformCsv.h"
#include "store/Validation.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace vantor {
namespace {

SourceWaveform Refused(const QString& why) {
    SourceWaveform source;
    source.error = why;
    qCWarning(lcInterchange) << "Waveform source refused:" << why;
    return source;
}

// "key=value" in free text (ID lines, INFO comments).
std::optional<double> TaggedNumber(const QString& text, const QString& key) {
    const QRegularExpression pattern(QStringLiteral(R"((?:^|[\s;])%1=([-+0-9.eE]+))").arg(key));
    const auto match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = match.captured(1).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString TaggedText(const QString& text, const QString& key) {
    const QRegularExpression pattern(QStringLiteral(R"((?:^|[\s;])%1=([^;\s]+))").arg(key));
    const auto match = pattern.match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

QDateTime DateOf(const QString& text) {
    for (const char* format : {kInterchangeDateFormat, "dd-MMM-yy HH:mm:ss", "dd-MMM-yyyy HH:mm:ss"}) {
        const QDateTime taken = QDateTime::fromString(text.trimmed(), QLatin1String(format));
        if (taken.isValid()) {
            return taken;
        }
    }
    return {};
}

// The unit of the values from a file's label; the choice's unit wins. Velocities in m/s are scaled
// to mm/s.
std::optional<QString> ApplyUnit(ImportedWaveform& waveform, const QString& label,
                                 const std::optional<SignalUnit>& chosen) {
    if (chosen) {
        waveform.unit = *chosen;
        return std::nullopt;
    }
    const auto unit = SignalUnitFromText(label);
    if (!unit) {
        return label.isEmpty() || label == QLatin1String("NONE")
                   ? QStringLiteral("the file names no unit: give the unit (g, mm/s or inch/s)")
                   : QStringLiteral("unknown unit \"%1\"; known are g, mm/s, m/s, in/s and inch/s")
                         .arg(label);
    }
    waveform.unit = *unit;
    const double factor = VelocityFactorOf(label);
    if (factor != 1.0) {
        for (double& v : waveform.samples) {
            v *= factor;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<WaveformFormat> WaveformFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("uff") || suffix == QLatin1String("unv")) {
        return WaveformFormat::Uff;
    }
    if (suffix == QLatin1String("wav")) {
        return WaveformFormat::Wav;
    }
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt")) {
        return WaveformFormat::Csv;
    }
    return std::nullopt;
}

SourceWaveform WaveformFromUff(const QByteArray& image, const WaveformChoice& choice) {
    UffReadResult read = ReadUff(image);
    if (!read.Ok()) {
        return Refused(read.error);
    }
    std::vector<const UffFunction*> times;
    for (const UffFunction& f : read.functions) {
        if (f.functionType == kUffTimeResponse) {
            times.push_back(&f);
        }
    }
    const UffFunction* chosen = nullptr;
    QString note;
    if (choice.source > 0) {
        for (const UffFunction& f : read.functions) {
            if (f.recordNumber == choice.source) {
                chosen = &f;
            }
        }
        if (chosen == nullptr) {
            return Refused(QStringLiteral("the file has no record %1").arg(choice.source));
        }
        if (chosen->functionType != kUffTimeResponse) {
            return Refused(QStringLiteral("record %1: function type %2 is not a time record (1)")
                               .arg(choice.source)
                               .arg(chosen->functionType));
        }
    } else if (times.empty()) {
        return Refused(QStringLiteral("the file holds no time record (function type 1)"));
    } else if (times.size() == 1) {
        chosen = times.front();
    } else {
        QStringList numbers;
        std::vector<const UffFunction*> ofChannel;
        for (const UffFunction* f : times) {
            numbers << QString::number(f->recordNumber);
            if (f->responseEntity == ChannelEntity(choice.channel)) {
                ofChannel.push_back(f);
            }
        }
        if (ofChannel.size() != 1) {
            return Refused(QStringLiteral("the file holds %1 time records (records %2): choose one")
                               .arg(times.size())
                               .arg(numbers.join(QStringLiteral(", "))));
        }
        chosen = ofChannel.front();
        note = QStringLiteral("record %1 of the file's %2 time records was taken: the only one of the %3 "
                              "channel (--record chooses another)")
                   .arg(chosen->recordNumber)
                   .arg(times.size())
                   .arg(ChannelEntity(choice.channel));
    }
    const UffFunction& f = *chosen;
    SourceWaveform source;
    source.note = note;
    source.waveform.samples = f.values;
    source.waveform.samplingFrequencyHz = f.abscissaIncrement > 0 ? 1.0 / f.abscissaIncrement : 0.0;
    if (const auto error = ApplyUnit(source.waveform, f.ordinate.unitsLabel, choice.unit)) {
        return Refused(
            QStringLiteral("record %1 (line %2): %3").arg(f.recordNumber).arg(f.firstLine).arg(*error));
    }
    if (!(f.abscissaIncrement > 0)) {
        return Refused(QStringLiteral("record %1 (line %2): the abscissa increment %3 is not a time step")
                           .arg(f.recordNumber)
                           .arg(f.firstLine)
                           .arg(f.abscissaIncrement));
    }
    source.taken = DateOf(f.idLines[2]);
    if (const auto rs = TaggedNumber(f.idLines[4], QStringLiteral("rs"))) {
        source.runSpeedHz = AsStoredFloat(*rs);
    }
    return source;
}

SourceWaveform WaveformFromWav(const QString& path, const WaveformChoice& choice) {
    QString error;
    auto wav = ReadWav(path, &error, SignalProcessor::kMaxLength);
    if (!wav) {
        return Refused(error);
    }
    const auto channels = static_cast<int>(wav->channels.size());
    int index = 0;
    if (choice.source > 0) {
        if (choice.source > channels) {
            return Refused(
                QStringLiteral("the WAV file has %1 channel(s), not %2").arg(channels).arg(choice.source));
        }
        index = choice.source - 1;
    } else if (channels > 1) {
        return Refused(QStringLiteral("the WAV file has %1 channels: choose which one to import (1 to %1)")
                           .arg(channels));
    }
    SourceWaveform source;
    source.waveform.samples = std::move(wav->channels[static_cast<std::size_t>(index)]);
    source.waveform.samplesInFile = wav->framesInFile;
    source.waveform.samplingFrequencyHz = wav->sampleRate;
    // This program's own comment keeps the exact rate the file's whole-number rate rounds.
    if (const auto exact = TaggedNumber(wav->info.comment, QStringLiteral("fs"));
        exact && std::lround(*exact) == wav->sampleRate) {
        source.waveform.samplingFrequencyHz = *exact;
    }
    const QString label = TaggedText(wav->info.comment, QStringLiteral("unit"));
    if (const auto unitError = ApplyUnit(source.waveform, label, choice.unit)) {
        return Refused(QStringLiteral("channel %1: %2").arg(index + 1).arg(*unitError));
    }
    source.taken = DateOf(wav->info.date);
    if (const auto rs = TaggedNumber(wav->info.comment, QStringLiteral("rs"))) {
        source.runSpeedHz = AsStoredFloat(*rs);
    }
    return source;
}

SourceWaveform WaveformFromCsv(const QByteArray& text, const WaveformChoice& choice) {
    CsvWaveformResult csv = ReadWaveformCsv(text, choice.samplingFrequencyHz);
    if (!csv.Ok()) {
        return Refused(csv.error);
    }
    SourceWaveform source;
    source.waveform.samples = std::move(csv.waveform.values);
    source.waveform.samplingFrequencyHz = csv.waveform.samplingFrequencyHz;
    source.waveform.unit = choice.unit.value_or(SignalUnit::G);
    return source;
}

} // namespace vantor
