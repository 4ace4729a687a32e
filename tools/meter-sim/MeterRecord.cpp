#include "tools/meter-sim/MeterRecord.h"

#include <cmath>
#include <numbers>

namespace vantor::sim {
namespace {

constexpr double kStandardGravityMmPerS2 = 9806.65;

QString Real(double value) {
    return QString::number(value, 'f', 2);
}

double TonesInBand(const StoredReading& r, double lowHz, double highHz, double (*measure)(double, double)) {
    double sumSquares = 0;
    for (const Tone& tone : r.recipe.tones) {
        const double f = r.recipe.FrequencyOf(tone);
        if (f >= lowHz && f < highHz) {
            const double value = measure(tone.amplitudeG, f);
            sumSquares += value * value;
        }
    }
    return std::sqrt(sumSquares);
}

// RMS velocity (mm/s) and displacement (µm) of a sinusoid of peak acceleration `g` at `f` Hz.
double VelocityRms(double g, double f) {
    return g * kStandardGravityMmPerS2 / (2 * std::numbers::pi * f) / std::numbers::sqrt2;
}
double DisplacementRms(double g, double f) {
    return VelocityRms(g, f) / (2 * std::numbers::pi * f) * 1000.0;
}

double RmsOf(const std::vector<double>& wave) {
    double sum = 0;
    for (const double v : wave) {
        sum += v * v;
    }
    return wave.empty() ? 0 : std::sqrt(sum / static_cast<double>(wave.size()));
}

} // namespace

const QStringList& HeaderKeys() {
    static const QStringList keys{"FLASH Revision = ",
                                  "MPGUID = ",
                                  "MPName = ",
                                  "AGUID = ",
                                  "AName = ",
                                  "RSPD = ",
                                  "BDUW Default = ",
                                  "BDUC Default = ",
                                  "ISOW Default = ",
                                  "ISOC Default = ",
                                  "BDUW Saved = ",
                                  "BDUC Saved = ",
                                  "ISOW Saved = ",
                                  "ISOC Saved = ",
                                  "TND = ",
                                  "Calc ISO = ",
                                  "Calc Displacement = ",
                                  "Calc ACCEL = ",
                                  "Calc BDU = ",
                                  "Calc UBAL = ",
                                  "Calc MALGN = ",
                                  "Calc LSNS = ",
                                  "ISO Cal = ",
                                  "ISO Gain = ",
                                  "ISO Number of Samples = ",
                                  "ISO Sampling Frequency Hz = ",
                                  "Total Cal = ",
                                  "Total Gain = ",
                                  "Total Number of Samples = ",
                                  "Total Sampling Frequency Hz = ",
                                  "Sensor mV/g = ",
                                  "ADC Suppy Voltage = ",
                                  "ADC Resolution Bits = "};
    return keys;
}

QByteArray IsoCapture(const StoredReading& r) {
    return EncodeCapture(SynthesiseWaveform(r.recipe, r.iso.samplingHz, r.iso.samples, 1), r.IsoScaling());
}

QByteArray TotalCapture(const StoredReading& r) {
    return EncodeCapture(SynthesiseWaveform(r.recipe, r.total.samplingHz, r.total.samples, 2),
                         r.TotalScaling());
}

std::vector<std::pair<QString, QString>> HeaderFields(const StoredReading& r, const QString& flashRevision) {
    const double run = r.recipe.runSpeedHz;
    const double isoLow = run > 10.0 ? 10.0 : 2.0;
    const double isoHigh = r.iso.samplingHz / 2.56;
    const double iso = TonesInBand(r, isoLow, isoHigh, VelocityRms);
    const double displacement = TonesInBand(r, isoLow, isoHigh, DisplacementRms);
    const double accel = RmsOf(SynthesiseWaveform(r.recipe, r.total.samplingHz, r.total.samples, 2));
    // Bearing noise grows with the impact level; the meter's own scale is not modelled further.
    const double bdu = std::abs(r.recipe.bearing.amplitudeG) * 10.0 + r.recipe.noiseRmsG * 5.0;
    const double unbalance = TonesInBand(r, 0.9 * run, 1.1 * run, VelocityRms);
    const double misalignment = TonesInBand(r, 1.9 * run, 3.1 * run, VelocityRms);
    const double looseness = TonesInBand(r, 3.1 * run, isoHigh, VelocityRms);

    const QStringList values{flashRevision,
                             r.pointGuid,
                             r.pointName,
                             r.assetGuid,
                             r.assetName,
                             Real(run),
                             Real(r.defaultBduWarning),
                             Real(r.defaultBduCritical),
                             Real(r.defaultIsoWarning),
                             Real(r.defaultIsoCritical),
                             Real(r.defaultBduWarning),
                             Real(r.defaultBduCritical),
                             Real(r.defaultIsoWarning),
                             Real(r.defaultIsoCritical),
                             r.taken,
                             Real(iso),
                             Real(displacement),
                             Real(accel),
                             Real(bdu),
                             Real(unbalance),
                             Real(misalignment),
                             Real(looseness),
                             QString::number(r.iso.calibration, 'g', 9),
                             QString::number(r.iso.gain, 'g', 9),
                             QString::number(r.iso.samples),
                             QString::number(r.iso.samplingHz, 'g', 9),
                             QString::number(r.total.calibration, 'g', 9),
                             QString::number(r.total.gain, 'g', 9),
                             QString::number(r.total.samples),
                             QString::number(r.total.samplingHz, 'g', 9),
                             QString::number(r.sensitivityMvPerG, 'g', 9),
                             QString::number(r.supplyVolts, 'g', 9),
                             QString::number(r.adcBits)};
    std::vector<std::pair<QString, QString>> fields;
    const QStringList& keys = HeaderKeys();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QString value = values[i];
        const QString trimmedKey = keys[i].trimmed().chopped(1).trimmed(); // "Calc ISO = " -> "Calc ISO"
        if (auto it = r.headerOverrides.find(trimmedKey); it != r.headerOverrides.end()) {
            value = it->second;
        }
        fields.emplace_back(keys[i], value);
    }
    return fields;
}

QByteArray MeasurementPointRecord(const StoredReading& r, const QString& flashRevision, bool totalFirst,
                                  const RecordDamage& damage) {
    QByteArray iso = IsoCapture(r);
    QByteArray total = TotalCapture(r);
    iso.chop(damage.isoBytesMissing);
    total.chop(damage.totalBytesMissing);
    const QByteArray isoPart = QByteArray("ISO=") + iso;
    const QByteArray totalPart = QByteArray("Total=") + total;

    QByteArray header = "MP Header=";
    for (const auto& [key, value] : HeaderFields(r, flashRevision)) {
        if (key == damage.omittedKey) {
            continue;
        }
        header += key.toLatin1() + value.toLatin1();
        if (key != damage.unterminatedKey) {
            header += '<';
        }
    }
    header += "\r\n";

    // A capture cut short is the meter stopping in the middle of it: it is sent last, so that the
    // line falls silent right after its bytes.
    if (damage.isoBytesMissing > 0) {
        return totalPart + header + isoPart;
    }
    if (damage.totalBytesMissing > 0) {
        return isoPart + header + totalPart;
    }
    return (totalFirst ? totalPart + isoPart : isoPart + totalPart) + header;
}

} // namespace vantor::sim
