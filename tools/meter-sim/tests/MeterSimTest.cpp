// The emulated meter: its measurement-point record decodes back to the signal it was made from,
// its replies follow the protocol, and its scenario file is read strictly.
#include "tools/meter-sim/MeterEmulator.h"
#include "tools/meter-sim/MeterRecord.h"
#include "tools/meter-sim/MeterResponder.h"
#include "tools/meter-sim/MeterScenario.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <map>
#include <numbers>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace vantor::sim;

namespace {

// The PC's collection of a GETMP reply: the text, and the capture bytes after "ISO=" and "Total=".
struct Collected {
    QString text;
    QByteArray iso;
    QByteArray total;
};

Collected Collect(const QByteArray& reply) {
    Collected c;
    bool isoOn = false;
    bool totalOn = false;
    for (const char byte : reply) {
        if (byte != 0) {
            c.text += QChar(static_cast<unsigned char>(byte));
        }
        if (isoOn && c.iso.size() < kCaptureBytes) {
            c.iso.append(byte);
        }
        isoOn = isoOn || c.text.contains("ISO=");
        if (totalOn && c.total.size() < kCaptureBytes) {
            c.total.append(byte);
        }
        totalOn = totalOn || c.text.contains("Total=");
    }
    return c;
}

// Header values by key, searched in the fixed order, each from the end of the previous value.
std::map<QString, QString> Header(const QString& text) {
    std::map<QString, QString> values;
    qsizetype at = text.indexOf("MP Header=");
    EXPECT_GE(at, 0);
    for (const QString& key : HeaderKeys()) {
        const qsizetype k = text.indexOf(key, at);
        if (k < 0) {
            return values;
        }
        const qsizetype end = text.indexOf('<', k + key.size());
        if (end < 0) {
            return values;
        }
        values[key] = text.mid(k + key.size(), end - k - key.size());
        at = end;
    }
    return values;
}

float Real(const std::map<QString, QString>& header, const char* key) {
    return static_cast<float>(header.at(QString::fromLatin1(key)).toDouble());
}

// The reading decode as the PC does it: integer mean removal, then volts per count, calibration
// times gain, times 1000, divided by the sensitivity, in single precision.
std::vector<double> Decode(const QByteArray& bytes, float cal, float gain, float psu, int bits,
                           float sensitivity) {
    const size_t n = static_cast<size_t>(bytes.size() / 2);
    std::vector<unsigned> samples(n);
    std::uint32_t sum = 0;
    for (size_t i = 0; i < n; ++i) {
        samples[i] = static_cast<unsigned char>(bytes[static_cast<qsizetype>(2 * i)]) +
                     256u * static_cast<unsigned char>(bytes[static_cast<qsizetype>(2 * i + 1)]);
        sum += samples[i];
    }
    const std::uint32_t mean = sum / static_cast<std::uint32_t>(n);
    const double voltsPerCount = psu / std::pow(2.0, bits);
    std::vector<double> wave(n);
    for (size_t i = 0; i < n; ++i) {
        const int d = static_cast<int>(samples[i]) - static_cast<int>(mean);
        const float v = static_cast<float>(d * voltsPerCount);
        float a = cal * gain * v;
        a = a * 1000.0f;
        wave[i] = a / sensitivity;
    }
    return wave;
}

// Peak amplitude of the component at `hz` (a whole number of cycles in the capture).
double Amplitude(const std::vector<double>& wave, double samplingHz, double hz) {
    std::complex<double> sum;
    for (size_t i = 0; i < wave.size(); ++i) {
        sum += wave[i] * std::polar(1.0, -2 * std::numbers::pi * hz * static_cast<double>(i) / samplingHz);
    }
    return 2.0 * std::abs(sum) / static_cast<double>(wave.size());
}

StoredReading Reading() {
    StoredReading r;
    r.pointGuid = "p-guid";
    r.pointName = "DE H";
    r.assetGuid = "a-guid";
    r.assetName = "Fan 3";
    r.taken = "2026-11-30T09:15:00Z";
    r.recipe.runSpeedHz = 25.0;
    r.recipe.tones = {{0, 1, 0.8}, {150.0, 0, 0.3}, {1000.0, 0, 1.5}};
    r.recipe.noiseRmsG = 0.005;
    return r;
}

struct Channels {
    std::vector<double> iso;
    std::vector<double> total;
    float isoFs;
    float totalFs;
};

Channels DecodeRecord(const StoredReading& reading, bool totalFirst) {
    const Collected c = Collect(MeasurementPointRecord(reading, "2.04", totalFirst));
    EXPECT_EQ(c.iso.size(), kCaptureBytes);
    EXPECT_EQ(c.total.size(), kCaptureBytes);
    const auto h = Header(c.text);
    EXPECT_EQ(h.size(), 33u);
    const float psu = Real(h, "ADC Suppy Voltage = ");
    const int bits = h.at("ADC Resolution Bits = ").toInt();
    const float sensitivity = Real(h, "Sensor mV/g = ");
    EXPECT_EQ(h.at("ISO Number of Samples = ").toInt() * 2, c.iso.size());
    return {Decode(c.iso, Real(h, "ISO Cal = "), Real(h, "ISO Gain = "), psu, bits, sensitivity),
            Decode(c.total, Real(h, "Total Cal = "), Real(h, "Total Gain = "), psu, bits, sensitivity),
            Real(h, "ISO Sampling Frequency Hz = "), Real(h, "Total Sampling Frequency Hz = ")};
}

} // namespace

TEST(MeterRecord, CapturesDecodeBackToTheRecipesAmplitudes) {
    const Channels ch = DecodeRecord(Reading(), false);
    EXPECT_NEAR(Amplitude(ch.total, ch.totalFs, 25.0), 0.8, 0.8 * 0.01);
    EXPECT_NEAR(Amplitude(ch.total, ch.totalFs, 150.0), 0.3, 0.3 * 0.01);
    EXPECT_NEAR(Amplitude(ch.total, ch.totalFs, 1000.0), 1.5, 1.5 * 0.01);
    EXPECT_NEAR(Amplitude(ch.iso, ch.isoFs, 25.0), 0.8, 0.8 * 0.01);
    EXPECT_NEAR(Amplitude(ch.iso, ch.isoFs, 150.0), 0.3, 0.3 * 0.01);
    // 1000 Hz is the ISO channel's bandwidth limit: filtered out there.
    EXPECT_LT(Amplitude(ch.iso, ch.isoFs, 1000.0), 0.01);
}

TEST(MeterRecord, EveryScalingStepIsInvertedWithNonUnitSettings) {
    StoredReading r = Reading();
    r.iso = {2048, 2560, 1.02, 0.5};
    r.total = {2048, 12800, 0.97, 2.0};
    r.sensitivityMvPerG = 10.2;
    r.supplyVolts = 5.0;
    r.adcBits = 14;
    r.recipe.tones = {{0, 1, 2.0}, {400.0, 0, 3.0}};
    r.recipe.noiseRmsG = 0;
    const Channels ch = DecodeRecord(r, true);
    EXPECT_NEAR(Amplitude(ch.total, ch.totalFs, 25.0), 2.0, 2.0 * 0.02);
    EXPECT_NEAR(Amplitude(ch.total, ch.totalFs, 400.0), 3.0, 3.0 * 0.02);
    EXPECT_NEAR(Amplitude(ch.iso, ch.isoFs, 25.0), 2.0, 2.0 * 0.02);
    EXPECT_NEAR(Amplitude(ch.iso, ch.isoFs, 400.0), 3.0, 3.0 * 0.02);
}

TEST(MeterRecord, TheBearingImpulseTrainRepeatsAtTheDefectRate) {
    StoredReading r = Reading();
    r.recipe.tones.clear();
    r.recipe.noiseRmsG = 0;
    r.recipe.bearing = {100.0, 3200.0, 2.0, 0.001};
    const Channels ch = DecodeRecord(r, false);
    // Bursts every 1/100 s = 128 samples at 12800 Hz: the waveform repeats with that period.
    double difference = 0;
    double energy = 0;
    for (size_t i = 0; i + 128 < ch.total.size(); ++i) {
        difference += std::abs(ch.total[i] - ch.total[i + 128]);
        energy += std::abs(ch.total[i]);
    }
    EXPECT_GT(energy, 10.0);
    EXPECT_LT(difference, 0.05 * energy);
    // The ringing lies far above the ISO channel's band.
    double isoEnergy = 0;
    for (const double v : ch.iso) {
        isoEnergy += std::abs(v);
    }
    EXPECT_LT(isoEnergy, 0.01 * energy);
}

TEST(MeterRecord, HeaderFieldsInOrderWithOverridesAndDamage) {
    StoredReading r = Reading();
    r.headerOverrides["Calc ISO"] = "9.87";
    r.headerOverrides["Calc BDU"] = "1.5";
    const auto fields = HeaderFields(r, "2.04");
    ASSERT_EQ(fields.size(), 33u);
    EXPECT_EQ(fields[0], std::make_pair(QString("FLASH Revision = "), QString("2.04")));
    EXPECT_EQ(fields[1].second, "p-guid");
    EXPECT_EQ(fields[14].second, "2026-11-30T09:15:00Z");
    EXPECT_EQ(fields[15].second, "9.87");
    EXPECT_EQ(fields[32].first, "ADC Resolution Bits = ");

    Collected c = Collect(MeasurementPointRecord(r, "2.04", false, RecordDamage{0, 0, "Calc BDU = ", {}}));
    EXPECT_FALSE(c.text.contains("Calc BDU = "));
    c = Collect(MeasurementPointRecord(r, "2.04", false, RecordDamage{0, 0, {}, "Calc BDU = "}));
    EXPECT_TRUE(c.text.contains("Calc BDU = 1.5Calc UBAL")) << c.text.toStdString();
    // A capture cut short is the last thing sent.
    c = Collect(MeasurementPointRecord(r, "2.04", false, RecordDamage{1, 0, {}, {}}));
    EXPECT_EQ(c.iso.size(), kCaptureBytes - 1);
    EXPECT_EQ(c.total.size(), kCaptureBytes);
    c = Collect(MeasurementPointRecord(r, "2.04", true, RecordDamage{0, 3, {}, {}}));
    EXPECT_EQ(c.total.size(), kCaptureBytes - 3);
}

TEST(MeterResponder, AMeterAtAnotherSpeedDoesNotUnderstand) {
    MeterState state;
    state.lineSpeed = 57600;
    MeterResponder meter(state);
    EXPECT_FALSE(meter.Respond("CMD*ATTN", 9600).has_value());
    EXPECT_EQ(meter.Respond("CMD*ATTN", 57600), QByteArray("CMD*ATTN\r\nOK\r\n"));
    EXPECT_FALSE(meter.Respond("CMD*SETCOMBAUD=9600", 57600).has_value());
    EXPECT_EQ(meter.State().lineSpeed, 9600);
    ASSERT_EQ(meter.Log().size(), 3u);
    EXPECT_TRUE(meter.Log()[0].note.contains("9600"));
}

TEST(MeterResponder, RepliesAndTheirMarkers) {
    Scenario s;
    QString error;
    ASSERT_TRUE(ParseScenario(R"({"meter": {"guid": "g1", "serial": "S", "btAddress": "B", "number": 3},
        "points": [{"guid": "p0", "asset": "a"}],
        "readings": [{"point": 0, "slot": 4, "recipe": {"tones": [{"order": 1, "amplitudeG": 1}]}}]})",
                              s, error))
        << error.toStdString();
    MeterResponder meter(s.state, s.faults);
    EXPECT_EQ(meter.Respond("CMD*INFO", 9600), QByteArray("CMD*INFO\r\nINFO=1.1,g1,S,B,3\r\nOK\r\n"));
    EXPECT_EQ(meter.Respond("CMD*GETNEWDATA", 9600), QByteArray("CMD*GETNEWDATA=\x10\x00\r\nOK\r\n", 23));
    const QByteArray record = *meter.Respond("CMD*GETMP=0,4", 9600);
    EXPECT_TRUE(record.startsWith("CMD*GETMP=0,4\r\nOK\r\nISO="));
    const auto header = Header(Collect(record).text);
    EXPECT_EQ(header.at("MPGUID = "), "p0");
    EXPECT_EQ(header.at("AGUID = "), "a");
    EXPECT_EQ(meter.Respond("CMD*GETMP=0,5", 9600), QByteArray("CMD*GETMP=0,5\r\nERROR\r\n"));
    EXPECT_EQ(meter.Respond("HELLO", 9600), QByteArray("ERROR\r\n"));
}

TEST(MeterResponder, FaultsCountTheirOwnCommands) {
    std::vector<Fault> faults{{"ATTN", FaultKind::Silence, 1, 1, 1, {}},
                              {"*", FaultKind::Garbage, 0, 1, 40, {}}};
    MeterResponder meter({}, faults);
    const QByteArray garbage = *meter.Respond("CMD*ATTN", 9600); // the first ATTN: garbage fault
    EXPECT_EQ(garbage.size(), 40);
    EXPECT_FALSE(garbage.contains('\r'));
    EXPECT_FALSE(garbage.contains("OK"));
    EXPECT_FALSE(meter.Respond("CMD*ATTN", 9600).has_value()); // the second ATTN: silence
    EXPECT_EQ(meter.Respond("CMD*ATTN", 9600), QByteArray("CMD*ATTN\r\nOK\r\n"));
}

TEST(MeterScenario, RefusesWhatItDoesNotKnow) {
    Scenario s;
    QString error;
    EXPECT_FALSE(ParseScenario("[1]", s, error));
    EXPECT_FALSE(ParseScenario(R"({"meter": {"versoin": "1.0"}})", s, error));
    EXPECT_TRUE(error.contains("versoin"));
    s = {};
    EXPECT_FALSE(ParseScenario(R"({"faults": [{"kind": "explode"}]})", s, error));
    EXPECT_TRUE(error.contains("explode"));
    s = {};
    EXPECT_FALSE(ParseScenario(R"({"readings": [{"slot": 10}]})", s, error));
    s = {};
    EXPECT_FALSE(ParseScenario(R"({"readings": [{"iso": {"samples": 1024}}]})", s, error));
    s = {};
    ASSERT_TRUE(ParseScenario(R"({"points": [{"newData": [0, 9]}],
                                  "readings": [{"point": 1, "slot": 2}, {"point": 1, "slot": 3, "newData": false}]})",
                              s, error))
        << error.toStdString();
    ASSERT_EQ(s.state.points.size(), 2u);
    EXPECT_EQ(s.state.points[0].newData, 0x201u);
    EXPECT_EQ(s.state.points[1].newData, 0x4u);
}

namespace {

// Reads from `fd` until `expected` has arrived or a second has passed.
QByteArray ReadUntil(int fd, const QByteArray& expected) {
    QByteArray got;
    for (int i = 0; i < 100 && !got.contains(expected); ++i) {
        pollfd waitFor{fd, POLLIN, 0};
        if (::poll(&waitFor, 1, 10) > 0) {
            char buffer[256];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                got.append(buffer, n);
            }
        }
    }
    return got;
}

} // namespace

TEST(MeterEmulator, ServesAnExistingSerialLineAndFollowsTheSpeedSwitch) {
    // A pseudo-terminal stands in for the serial line: the emulator serves its slave side as a
    // device, the test talks on the master side.
    const int line = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(line, 0);
    ASSERT_EQ(::grantpt(line), 0);
    ASSERT_EQ(::unlockpt(line), 0);
    QString error;
    auto meter = MeterEmulator::OnDevice(QString::fromLocal8Bit(::ptsname(line)), MeterResponder(), error);
    ASSERT_NE(meter, nullptr) << error.toStdString();

    ASSERT_EQ(::write(line, "CMD*ATTN\r", 9), 9);
    EXPECT_EQ(ReadUntil(line, "OK\r\n"), QByteArray("CMD*ATTN\r\nOK\r\n"));
    ASSERT_EQ(::write(line, "CMD*SETCOMBAUD=57600\r", 21), 21);
    ASSERT_EQ(::write(line, "CMD*ATTN\r", 9), 9);
    EXPECT_EQ(ReadUntil(line, "OK\r\n"), QByteArray("CMD*ATTN\r\nOK\r\n"));
    termios settings{};
    ASSERT_EQ(::tcgetattr(line, &settings), 0);
    EXPECT_EQ(::cfgetospeed(&settings), speed_t(B57600)); // the emulator changed its port's speed
    EXPECT_EQ(meter->Commands(), (QStringList{"CMD*ATTN", "CMD*SETCOMBAUD=57600", "CMD*ATTN"}));
    meter->Stop();
    ::close(line);
}
