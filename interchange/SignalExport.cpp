#include "interchange/SignalExport.h"

#include <cmath>

namespace vantor {
namespace {

QString ChannelName(Channel channel) {
    return channel == Channel::Total ? QStringLiteral("Total") : QStringLiteral("ISO");
}

QString Number(double value) {
    return QString::number(value, 'g', 10);
}

UffFunction Record(const ChannelSignals& captured, Channel channel, const ReadingIdentity& identity,
                   bool spectrum, const DisplayUnits& units) {
    UffFunction f;
    const bool velocity = spectrum && channel == Channel::Iso;
    const double increment = spectrum
                                 ? static_cast<double>(captured.samplingFrequencyHz) / captured.sampleCount
                                 : 1.0 / static_cast<double>(captured.samplingFrequencyHz);
    f.idLines[0] = QStringLiteral("%1 %2").arg(
        ChannelName(channel),
        spectrum ? (velocity ? QStringLiteral("velocity spectrum") : QStringLiteral("acceleration spectrum"))
                 : QStringLiteral("acceleration waveform"));
    f.idLines[1] = identity.machineName;
    f.idLines[2] = identity.taken.toString(QLatin1String(kInterchangeDateFormat));
    f.idLines[3] = identity.pointName;
    f.idLines[4] =
        QStringLiteral("%1 rs=%2 %3")
            .arg(UffExactIncrementTag(increment), Number(identity.runSpeedHz), identity.readingGuid);
    f.functionType = spectrum ? kUffSpectrum : kUffTimeResponse;
    f.functionId = channel == Channel::Total ? 1 : 2;
    f.responseEntity = ChannelEntity(channel);
    f.responseNode = 1;
    f.abscissaIncrement = increment;
    f.abscissa = spectrum
                     ? UffAxis{kUffDataFrequency, 0, 0, 0, QStringLiteral("Frequency"), QStringLiteral("Hz")}
                     : UffAxis{kUffDataTime, 0, 0, 0, QStringLiteral("Time"), QStringLiteral("s")};
    if (velocity) {
        // Velocity is length per time: length exponent 1.
        f.ordinate = UffAxis{kUffDataVelocity,
                             1,
                             0,
                             0,
                             QStringLiteral("Velocity"),
                             units.Amplitude() == AmplitudeUnit::Imperial ? QStringLiteral("in/s")
                                                                          : QStringLiteral("mm/s")};
        const float factor = units.AmplitudeFactor();
        f.values.reserve(captured.spectrum.size());
        for (const double line : captured.spectrum) {
            f.values.push_back(line * static_cast<double>(factor));
        }
    } else {
        f.ordinate =
            UffAxis{kUffDataAcceleration, 1, 0, 0, QStringLiteral("Acceleration"), QStringLiteral("g")};
        f.values = spectrum ? captured.spectrum : captured.waveform;
    }
    return f;
}

} // namespace

QString ChannelEntity(Channel channel) {
    return channel == Channel::Total ? QStringLiteral("TOTAL") : QStringLiteral("ISO");
}

std::vector<UffFunction> UffFunctionsOf(const ReadingSignals& decoded, const ReadingIdentity& identity,
                                        const ExportChoice& choice, const DisplayUnits& units) {
    std::vector<UffFunction> functions;
    const auto add = [&](const ChannelSignals& captured, Channel channel) {
        if (captured.sampleCount <= 0 || captured.waveform.empty()) {
            return;
        }
        functions.push_back(Record(captured, channel, identity, false, units));
        if (choice.spectra && !captured.spectrum.empty()) {
            functions.push_back(Record(captured, channel, identity, true, units));
        }
    };
    if (choice.total) {
        add(decoded.total, Channel::Total);
    }
    if (choice.iso) {
        add(decoded.iso, Channel::Iso);
    }
    return functions;
}

int WavSampleRate(float samplingFrequencyHz) {
    return static_cast<int>(std::lround(static_cast<double>(samplingFrequencyHz)));
}

WavInfo WavInfoOf(const ChannelSignals& channel, Channel which, const ReadingIdentity& identity) {
    WavInfo info;
    info.title =
        QStringLiteral("%1 / %2 / %3").arg(identity.machineName, identity.pointName, ChannelName(which));
    info.comment = QStringLiteral("fs=%1 Hz; unit=g; channel=%2; rs=%3 Hz; reading=%4")
                       .arg(Number(channel.samplingFrequencyHz), ChannelName(which),
                            Number(identity.runSpeedHz), identity.readingGuid);
    info.date = identity.taken.toString(QLatin1String(kInterchangeDateFormat));
    info.software = QStringLiteral("Vantor");
    return info;
}

} // namespace vantor
