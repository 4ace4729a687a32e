// Waveforms from CSV and WAV files and from UFF time records: the variants each format allows,
// what the file says about rate, unit, date and run speed, and the refusals naming line or record.
#include "interchange/SignalExport.h"
#include "interchange/WavFile.h"
#include "interchange/WaveformCsv.h"
#include "interchange/WaveformSources.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sndfile.h>

#include <cmath>

namespace vantor {
namespace {

TEST(WaveformCsvTest, ReadsTheVariants) {
    const struct {
        const char* name;
        QByteArray text;
        double givenFs;
        std::vector<double> values;
        double fs;
    } cases[] = {
        {"two columns with header",
         "Time (Secs),Total (g)\r\n0.000000,1.5\r\n0.000400,-2\r\n0.000800,0.25\r\n",
         0,
         {1.5, -2, 0.25},
         2500},
        {"two columns no header", "0,1\n0.5,2\n1.0,3\n", 0, {1, 2, 3}, 2},
        {"one column at a given rate", "value\n1e-3\n-2.5E+00\n+3\n\n", 1000, {1e-3, -2.5, 3}, 1000},
        {"semicolons and decimal commas", "t;v\n0;1,5\n0,25;-2,0\n", 0, {1.5, -2.0}, 4},
        {"tabs", "0\t1\n0.1\t2\n", 0, {1, 2}, 10},
        {"blanks and an odd rate", "0 1\n0.3 2\n0.6 3\n", 0, {1, 2, 3}, 1 / 0.3},
        {"quoted fields", "\"0\",\"1\"\n\"1\",\"2\"\n", 0, {1, 2}, 1},
        {"25.6 kHz times written in whole microseconds",
         "0.000000,1\n0.000039,2\n0.000078,3\n0.000117,4\n0.000156,5\n0.000195,6\n0.000234,7\n"
         "0.000273,8\n0.000313,9\n",
         0,
         {1, 2, 3, 4, 5, 6, 7, 8, 9},
         25597.269624573375}, // the least-squares rate of the rounded times
    };
    for (const auto& c : cases) {
        const CsvWaveformResult read = ReadWaveformCsv(c.text, c.givenFs);
        ASSERT_TRUE(read.Ok()) << c.name << ": " << read.error.toStdString();
        EXPECT_EQ(read.waveform.values, c.values) << c.name;
        EXPECT_NEAR(read.waveform.samplingFrequencyHz, c.fs, c.fs * 1e-12) << c.name;
    }
}

TEST(WaveformCsvTest, ABadLineIsNamed) {
    const struct {
        const char* name;
        QByteArray text;
        double givenFs;
        const char* error;
    } cases[] = {
        {"text in the data", "t,v\n0,1\n0.1,x\n", 0, "line 3: \"0.1,x\" is not a number"},
        {"a second header", "t,v\nt,v\n0,1\n", 0, "line 2: \"t,v\" is not a number"},
        {"a field too many", "0,1\n0.1,2,3\n", 0, "line 2: 3 fields where line 1 has 2"},
        {"three columns", "a,b,c\n0,1,2\n", 0, "line 2: 3 fields; a waveform has one column"},
        {"one column without a rate", "1\n2\n", 0,
         "line 1: one column of values needs the sampling frequency"},
        {"time going back", "0,1\n0.1,2\n0.05,3\n", 0, "line 3: time 0.05 s does not follow 0.1 s"},
        {"uneven times", "0,1\n0.1,2\n0.25,3\n0.3,4\n", 0, "line 3: time 0.25 s is off the even spacing"},
        {"one sample", "t,v\n0,1\n", 0, "line 2: the file holds 1 samples"},
    };
    for (const auto& c : cases) {
        const CsvWaveformResult read = ReadWaveformCsv(c.text, c.givenFs);
        EXPECT_TRUE(read.waveform.values.empty()) << c.name;
        EXPECT_TRUE(read.error.startsWith(QLatin1String(c.error)))
            << c.name << ": " << read.error.toStdString();
    }
}

class WavTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QTemporaryDir dir;
};

TEST_F(WavTest, FloatSamplesAndTheInfoChunkComeBack) {
    ChannelSignals channel;
    channel.samplingFrequencyHz = 2560.5f;
    channel.sampleCount = 4;
    channel.waveform = {0.5, -1.75, 2.0, 1e-3};
    const ReadingIdentity identity{QStringLiteral("Fan 3"), QStringLiteral("Motor DE"),
                                   QStringLiteral("{r-1}"), QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)),
                                   24.5f};
    const WavInfo info = WavInfoOf(channel, Channel::Iso, identity);
    EXPECT_EQ(info.comment, QStringLiteral("fs=2560.5 Hz; unit=g; channel=ISO; rs=24.5 Hz; reading={r-1}"));
    QString error;
    ASSERT_TRUE(WriteWav(Path("iso.wav"), channel.waveform, WavSampleRate(2560.5f), info, &error))
        << error.toStdString();

    // What another program sees: a one-channel 32-bit float WAV at the rounded rate.
    SF_INFO format{};
    SNDFILE* file = sf_open(Path("iso.wav").toLocal8Bit().constData(), SFM_READ, &format);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(format.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(format.samplerate, 2561);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(QString::fromLatin1(sf_get_string(file, SF_STR_TITLE)),
              QStringLiteral("Fan 3 / Motor DE / ISO"));
    EXPECT_EQ(QString::fromLatin1(sf_get_string(file, SF_STR_DATE)), QStringLiteral("2026-03-04 05:06:07"));
    sf_close(file);

    WaveformChoice choice;
    const SourceWaveform source = WaveformFromWav(Path("iso.wav"), choice);
    ASSERT_TRUE(source.Ok()) << source.error.toStdString();
    ASSERT_EQ(source.waveform.samples.size(), channel.waveform.size());
    for (std::size_t i = 0; i < channel.waveform.size(); ++i) {
        EXPECT_EQ(source.waveform.samples[i], static_cast<double>(static_cast<float>(channel.waveform[i])));
    }
    EXPECT_DOUBLE_EQ(source.waveform.samplingFrequencyHz, 2560.5) << "the exact rate of the INFO comment";
    EXPECT_EQ(source.waveform.unit, SignalUnit::G);
    EXPECT_EQ(source.taken, identity.taken);
    EXPECT_EQ(source.runSpeedHz, 24.5f);
}

TEST_F(WavTest, SeveralChannelsNeedAChoice) {
    SF_INFO format{};
    format.samplerate = 8000;
    format.channels = 2;
    format.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(Path("stereo.wav").toLocal8Bit().constData(), SFM_WRITE, &format);
    ASSERT_NE(file, nullptr);
    const short frames[] = {16384, -8192, 0, 8192};
    ASSERT_EQ(sf_writef_short(file, frames, 2), 2);
    sf_close(file);

    WaveformChoice choice;
    choice.unit = SignalUnit::MillimetresPerSecond;
    EXPECT_EQ(WaveformFromWav(Path("stereo.wav"), choice).error,
              QStringLiteral("the WAV file has 2 channels: choose which one to import (1 to 2)"));
    choice.source = 3;
    EXPECT_EQ(WaveformFromWav(Path("stereo.wav"), choice).error,
              QStringLiteral("the WAV file has 2 channel(s), not 3"));
    choice.source = 2;
    const SourceWaveform second = WaveformFromWav(Path("stereo.wav"), choice);
    ASSERT_TRUE(second.Ok());
    EXPECT_EQ(second.waveform.samples, (std::vector<double>{-0.25, 0.25}))
        << "integer samples as parts of full scale";
    EXPECT_EQ(second.waveform.samplingFrequencyHz, 8000);
    EXPECT_EQ(second.waveform.unit, SignalUnit::MillimetresPerSecond);
    EXPECT_FALSE(second.taken.isValid());

    choice.unit.reset();
    EXPECT_EQ(WaveformFromWav(Path("stereo.wav"), choice).error,
              QStringLiteral("channel 2: the file names no unit: give the unit (g, mm/s or inch/s)"));
    EXPECT_TRUE(WaveformFromWav(Path("missing.wav"), choice).error.startsWith(Path("missing.wav")));
}

// Only WAV is read as WAV, whatever the name says; the samples are read as they are found, never
// sized from the header, and only those an import can take are kept.
TEST_F(WavTest, OtherFormatsAreRefusedAndTheHeadersCountIsNotTrusted) {
    const auto write = [this](const char* name, int format, int frames) {
        SF_INFO info{};
        info.samplerate = 8000;
        info.channels = 1;
        info.format = format;
        SNDFILE* file = sf_open(Path(name).toLocal8Bit().constData(), SFM_WRITE, &info);
        if (file == nullptr) {
            return false; // this libsndfile does not write the format
        }
        const std::vector<short> samples(static_cast<std::size_t>(frames), 1000);
        sf_writef_short(file, samples.data(), frames);
        sf_close(file);
        return true;
    };
    WaveformChoice choice;
    choice.unit = SignalUnit::G;
    const struct {
        const char* name;
        int format;
        const char* named;
    } others[] = {
        {"aiff.wav", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, "AIFF"},
        {"flac.wav", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, "FLAC"},
        {"ogg.wav", SF_FORMAT_OGG | SF_FORMAT_VORBIS, "OGG"},
        {"au.wav", SF_FORMAT_AU | SF_FORMAT_PCM_16, "AU"},
    };
    for (const auto& c : others) {
        if (!write(c.name, c.format, 1024)) {
            continue;
        }
        const SourceWaveform source = WaveformFromWav(Path(c.name), choice);
        EXPECT_TRUE(source.error.endsWith(QStringLiteral("not a WAV file")))
            << c.name << ": " << source.error.toStdString();
        EXPECT_TRUE(source.error.contains(QLatin1String(c.named))) << source.error.toStdString();
    }

    // A data chunk that claims two thousand million frames over the 2048 bytes present.
    ASSERT_TRUE(write("short.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1024));
    QFile file(Path("short.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype data = bytes.indexOf("data");
    ASSERT_GT(data, 0);
    const quint32 claimed = 0xEE6B2800u; // 4e9 bytes
    bytes.replace(data + 4, 4, QByteArray(reinterpret_cast<const char*>(&claimed), 4));
    file.seek(0);
    file.write(bytes);
    file.close();
    QString error;
    const std::optional<WavSignal> read = ReadWav(Path("short.wav"), &error);
    if (read) {
        EXPECT_EQ(read->framesInFile, 1024u);
        EXPECT_EQ(read->channels.at(0).size(), 1024u);
    } else {
        EXPECT_TRUE(error.contains(QStringLiteral("1024 of"))) << error.toStdString();
    }

    // A long file: the first 131072 frames are kept, all of them counted.
    ASSERT_TRUE(write("long.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 200000));
    const SourceWaveform longer = WaveformFromWav(Path("long.wav"), choice);
    ASSERT_TRUE(longer.Ok()) << longer.error.toStdString();
    EXPECT_EQ(longer.waveform.samples.size(), 131072u);
    EXPECT_EQ(longer.waveform.samplesInFile, 200000u);
}

TEST(UffSourceTest, PicksTheTimeRecordOfTheChannelAndItsUnit) {
    ReadingSignals decoded;
    for (ChannelSignals* channel : {&decoded.total, &decoded.iso}) {
        channel->samplingFrequencyHz = 2560.0f;
        channel->sampleCount = 4;
        channel->lineCount = 1;
        channel->waveform = {1, 2, 3, channel == &decoded.iso ? 5.0 : 4.0};
        channel->spectrum = {0.5};
    }
    const ReadingIdentity identity{QStringLiteral("Fan"), QStringLiteral("DE"), QStringLiteral("{r}"),
                                   QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)), 12.5f};
    const QByteArray image =
        WriteUff(UffFunctionsOf(decoded, identity, {true, true, true}, DisplayUnits()), UffEncoding::Ascii);
    WaveformChoice choice;
    choice.channel = Channel::Iso;
    SourceWaveform iso = WaveformFromUff(image, choice);
    ASSERT_TRUE(iso.Ok()) << iso.error.toStdString();
    EXPECT_EQ(iso.waveform.samples.back(), 5.0);
    EXPECT_EQ(iso.taken, identity.taken);
    EXPECT_EQ(iso.runSpeedHz, 12.5f);
    EXPECT_DOUBLE_EQ(iso.waveform.samplingFrequencyHz, 2560.0);

    choice.source = 2; // the Total spectrum
    EXPECT_EQ(WaveformFromUff(image, choice).error,
              QStringLiteral("record 2: function type 12 is not a time record (1)"));
    choice.source = 1;
    EXPECT_EQ(WaveformFromUff(image, choice).waveform.samples.back(), 4.0);

    // Another program's file with two time records and no channel names: the user chooses.
    QByteArray foreign = image;
    foreign.replace("     TOTAL", "      ch01").replace("       ISO", "      ch02");
    choice.source = 0;
    EXPECT_EQ(WaveformFromUff(foreign, choice).error,
              QStringLiteral("the file holds 2 time records (records 1, 3): choose one"));
    // Several records of the chosen channel are no choice either; the only one of it is named.
    choice.channel = Channel::Total;
    const SourceWaveform total = WaveformFromUff(image, choice);
    EXPECT_EQ(total.note, QStringLiteral("record 1 of the file's 2 time records was taken: the only one of "
                                         "the TOTAL channel (--record chooses another)"));
    EXPECT_EQ(WaveformFromUff(image + image + image, choice).error,
              QStringLiteral("the file holds 6 time records (records 1, 3, 5, 7, 9, 11): choose one"));
    choice.channel = Channel::Iso;

    QByteArray psi = image;
    psi.replace("Acceleration         g  ", "Acceleration         psi");
    choice.source = 3;
    EXPECT_EQ(
        WaveformFromUff(psi, choice).error,
        QStringLiteral("record 3 (line 31): unknown unit \"psi\"; known are g, mm/s, m/s, in/s and inch/s"));
    choice.unit = SignalUnit::G; // the user says what the values are
    EXPECT_TRUE(WaveformFromUff(psi, choice).Ok());
}

} // namespace
} // namespace vantor
