// Signals out and in: a meter's reading exported as UFF 58/58b and WAV and imported again into
// another point gives its waveforms back within the capture's quantisation and its overall values
// within 1 %; imported readings are marked in their own table; refusals store nothing.
#include "app/SignalTransfer.h"

#include "DatabaseFixture.h"
#include "analysis/AlarmStatus.h"
#include "analysis/Measures.h"
#include "analysis/SignalProcessor.h"
#include "store/ImportedReadings.h"
#include "store/MainConnection.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <bit>
#include <cmath>
#include <numbers>

namespace vantor::testing {
namespace {

// Counts of a meter capture: a 1x and a 3x tone around mid-scale.
QByteArray MeterCapture(int samples, double fs, double runSpeed) {
    QByteArray raw(2 * samples, '\0');
    for (int i = 0; i < samples; ++i) {
        const double t = i / fs;
        const double counts = 32768 + 9000 * std::sin(2 * std::numbers::pi * runSpeed * t) +
                              2500 * std::sin(2 * std::numbers::pi * 3 * runSpeed * t + 0.4);
        const auto value = static_cast<std::uint16_t>(std::lround(counts));
        raw[2 * i] = static_cast<char>(value & 0xFF);
        raw[2 * i + 1] = static_cast<char>(value >> 8);
    }
    return raw;
}

class SignalTransferTest : public DatabaseFixture {
protected:
    void SetUp() override {
        DatabaseFixture::SetUp();
        machine = AddMachine(QStringLiteral("Fan 3"));
        source = AddPoint(machine, QStringLiteral("Motor DE"));
        target = AddPoint(machine, QStringLiteral("Copy"));
        target.fRunSpeedHz = 24.75f;
        ASSERT_TRUE(Db().UpsertVib(target));

        meter.sItemGUID = MakeItemGuid();
        meter.sParentGUID = source.sItemGUID;
        meter.sDeviceName = QStringLiteral("Meter A");
        meter.ctDateTaken = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7));
        meter.fPSUVoltage = 3.3f;
        meter.iADCBits = 16;
        meter.fAccelerometerSensitivity = 100.0f;
        meter.fTotalCal = 1.02f;
        meter.fTotalGain = 2.0f;
        meter.fISOCal = 0.98f;
        meter.fISOGain = 4.0f;
        meter.fTotalSamplingFrequency = 2560.0f;
        meter.iTotalNumberOfSamples = 2048;
        meter.fISOSamplingFrequency = 1280.0f;
        meter.iISONumberOfSamples = 1024;
        meter.fOriginalRunSpeedHz = meter.fCurrentRunSpeedHz = 24.5f;
        meter.rawADCTotalDataByteArray = MeterCapture(2048, 2560, 24.5);
        meter.rawADCISODataByteArray = MeterCapture(1024, 1280, 24.5);
        ASSERT_TRUE(DecodeReading(meter, processor, original));
        RecomputeOveralls(meter, original);
        double sum = 0;
        for (const double g : original.total.waveform) {
            sum += g * g;
        }
        meter.fTotalG = static_cast<float>(std::sqrt(sum / 2048));
        ASSERT_TRUE(Db().UpsertVibReading(meter));
    }

    QString File(const char* name) const { return dir.filePath(QLatin1String(name)); }

    int ReadingCount() { return Db().CountVibReadings(QString()) + Db().CountVibReadings(target.sItemGUID); }
    bool HasImportTable() {
        return Db().Connection().Database().tables().contains(QLatin1String(kImportedReadingsTable));
    }

    SignalImportOutcome Import(const QString& path, Channel channel, QDateTime taken = {}) {
        SignalImportRequest request;
        request.pointGuid = target.sItemGUID;
        request.path = path;
        request.taken = taken;
        request.choice.channel = channel;
        return ImportReadingSignals(*app, processor, request);
    }

    CMachine machine;
    CVib source;
    CVib target;
    CVibReading meter;
    ReadingSignals original;
    SignalProcessor processor;
    QTemporaryDir dir;
};

TEST_F(SignalTransferTest, ExportThenImportGivesTheReadingBack) {
    const struct {
        const char* name;
        SignalFileFormat format;
        Channel channel;
        double precision; // of the file's values, relative
    } cases[] = {
        {"signal.uff", SignalFileFormat::Uff58, Channel::Total, 1e-12},
        {"signal-double.uff", SignalFileFormat::Uff58b, Channel::Iso, 0},
        {"signal-single.uff", SignalFileFormat::Uff58bSingle, Channel::Total, 1e-7},
        {"total.wav", SignalFileFormat::Wav, Channel::Total, 1e-7},
        {"iso.wav", SignalFileFormat::Wav, Channel::Iso, 1e-7},
    };
    int day = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SignalExportRequest out;
        out.readingGuid = meter.sItemGUID;
        out.path = File(c.name);
        out.format = c.format;
        out.spectra = c.format != SignalFileFormat::Wav;
        if (c.format == SignalFileFormat::Wav) {
            out.total = c.channel == Channel::Total;
            out.iso = c.channel == Channel::Iso;
        }
        const SignalExportOutcome exported = ExportReadingSignals(*app, processor, out);
        ASSERT_TRUE(exported.ok) << exported.error.toStdString();
        EXPECT_EQ(exported.records, c.format == SignalFileFormat::Wav ? 1 : 4);

        // Each import goes to the copy point on its own day.
        const QDateTime taken = meter.ctDateTaken.addDays(++day);
        const SignalImportOutcome imported = Import(out.path, c.channel, taken);
        ASSERT_TRUE(imported.ok) << imported.error.toStdString();
        EXPECT_EQ(imported.samplesUsed, imported.samplesInFile);
        const CVibReading& r = imported.reading;
        EXPECT_EQ(r.fCurrentRunSpeedHz, 24.5f) << "the run speed the file carries";

        ReadingSignals back;
        ASSERT_TRUE(DecodeReading(r, processor, back));
        const ChannelSignals& before = c.channel == Channel::Total ? original.total : original.iso;
        const ChannelSignals& after = c.channel == Channel::Total ? back.total : back.iso;
        EXPECT_EQ(after.samplingFrequencyHz, before.samplingFrequencyHz);
        ASSERT_EQ(after.waveform.size(), before.waveform.size());
        const float gain = c.channel == Channel::Total ? r.fTotalGain : r.fISOGain;
        const double count = gain * (3.3 / 65536) * 1000 / 100; // the imported capture's count in g
        // The decode removes the mean (what is left of the meter's integer mean) once more.
        double peak = 0;
        double mean = 0;
        for (std::size_t i = 0; i < before.waveform.size(); ++i) {
            peak = std::max(peak, std::fabs(before.waveform[i]));
            mean += before.waveform[i] / static_cast<double>(before.waveform.size());
        }
        for (std::size_t i = 0; i < before.waveform.size(); ++i) {
            ASSERT_LE(std::fabs(after.waveform[i] - (before.waveform[i] - mean)),
                      count * 1.001 + c.precision * peak)
                << i;
        }
        if (c.channel == Channel::Total) {
            EXPECT_NEAR(r.fTotalG, meter.fTotalG, 0.01 * meter.fTotalG);
            EXPECT_TRUE(IsNoValue(r.fISOMMS));
            EXPECT_EQ(back.iso.sampleCount, 0);
        } else {
            EXPECT_NEAR(r.fISOMMS, meter.fISOMMS, 0.01 * meter.fISOMMS);
            EXPECT_NEAR(r.fVABand1MMS, meter.fVABand1MMS, 0.01 * meter.fVABand1MMS);
            EXPECT_NEAR(r.fVABand3MMS, meter.fVABand3MMS, 0.01 * meter.fVABand3MMS);
            EXPECT_TRUE(IsNoValue(r.fTotalG));
            EXPECT_EQ(back.total.sampleCount, 0);
        }
        EXPECT_TRUE(IsNoValue(r.fBearingBDU));

        const auto mark = FindImportedReading(Db().Connection(), r.sItemGUID);
        ASSERT_TRUE(mark);
        EXPECT_EQ(mark->sourceFile, QString::fromLatin1(c.name));
        EXPECT_EQ(mark->channel,
                  c.channel == Channel::Total ? QStringLiteral("total") : QStringLiteral("iso"));
        EXPECT_EQ(mark->unit, QStringLiteral("g"));
    }
    EXPECT_FALSE(FindImportedReading(Db().Connection(), meter.sItemGUID))
        << "the meter's reading is not marked";
    EXPECT_EQ(Db().CountVibReadings(target.sItemGUID), 5);

    // Deleting the point's readings takes their marks along.
    ASSERT_TRUE(Db().DeleteVibReadingsOf(target.sItemGUID));
    QSqlQuery rows(Db().Connection().Database());
    ASSERT_TRUE(rows.exec(QStringLiteral("SELECT COUNT(*) FROM tblImportedReadings")));
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.value(0).toInt(), 0);
}

TEST_F(SignalTransferTest, ACsvWaveformBecomesAReadingOfThePoint) {
    QFile csv(File("other.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("value\n");
    for (int i = 0; i < 3000; ++i) {
        csv.write(QByteArray::number(2.0 * std::sin(2 * std::numbers::pi * 50 * i / 2560.0), 'g', 12) + "\n");
    }
    csv.close();
    SignalImportRequest request;
    request.pointGuid = target.sItemGUID;
    request.path = File("other.csv");
    request.taken = QDateTime(QDate(2026, 5, 1), QTime(8, 0, 0));
    request.choice.samplingFrequencyHz = 2560;
    const SignalImportOutcome imported = ImportReadingSignals(*app, processor, request);
    ASSERT_TRUE(imported.ok) << imported.error.toStdString();
    EXPECT_EQ(imported.samplesInFile, 3000u);
    EXPECT_EQ(imported.samplesUsed, 2048u);
    EXPECT_EQ(imported.reading.fCurrentRunSpeedHz, 24.75f) << "the point's run speed";

    CVibReading stored;
    ASSERT_TRUE(Db().GetVibReading(imported.reading.sItemGUID, stored));
    EXPECT_EQ(stored.sParentGUID, target.sItemGUID);
    EXPECT_EQ(stored.ctDateTaken, request.taken);
    EXPECT_EQ(stored.iISONumberOfSamples, 0);
    ReadingSignals decoded;
    ASSERT_TRUE(DecodeReading(stored, processor, decoded));
    EXPECT_NEAR(decoded.total.spectrum[40], std::numbers::sqrt2, 1e-3) << "50 Hz at line 40, 2 g peak";
    EXPECT_NEAR(stored.fTotalG, std::numbers::sqrt2, 1e-3);
    CVibReading latest;
    ASSERT_TRUE(Db().GetLatestVibReading(target.sItemGUID, latest));
    EXPECT_EQ(latest.sItemGUID, stored.sItemGUID) << "in the point's trend like any reading";
}

TEST_F(SignalTransferTest, RefusalsStoreNothing) {
    QFile bad(File("bad.csv"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("t,v\n0,1\n0.001,oops\n");
    bad.close();
    QFile shortFile(File("short.csv"));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write("0,1\n0.001,2\n0.002,3\n");
    shortFile.close();
    QFile uff(File("modes.unv"));
    ASSERT_TRUE(uff.open(QIODevice::WriteOnly));
    uff.write("    -1\n    55\nmode 1\n    -1\n");
    uff.close();
    SignalExportRequest out{meter.sItemGUID, File("meter.uff"), SignalFileFormat::Uff58, true, true, false};
    ASSERT_TRUE(ExportReadingSignals(*app, processor, out).ok);

    const struct {
        const char* name;
        QString path;
        QString point;
        QDateTime taken;
        const char* error;
    } cases[] = {
        {"bad line", File("bad.csv"), target.sItemGUID, meter.ctDateTaken,
         "bad.csv: line 3: \"0.001,oops\" is not a number"},
        {"too short", File("short.csv"), target.sItemGUID, meter.ctDateTaken,
         "short.csv: 3 samples are too few"},
        {"other dataset", File("modes.unv"), target.sItemGUID, meter.ctDateTaken,
         "modes.unv: record 1 (line 1): dataset type 55"},
        {"unknown type", File("x.dat"), target.sItemGUID, meter.ctDateTaken, "x.dat: unknown file type"},
        {"missing file", File("missing.csv"), target.sItemGUID, meter.ctDateTaken, ""},
        {"no point", File("meter.uff"), QStringLiteral("{nope}"), meter.ctDateTaken,
         "no vibration point {nope}"},
        {"date out of range", File("meter.uff"), target.sItemGUID, QDateTime(QDate(2080, 1, 1), QTime(0, 0)),
         "the date 2080-01-01 00:00:00 lies outside"},
        {"reading at that date", File("meter.uff"), source.sItemGUID, QDateTime(),
         "the point already has a reading taken at 2026-03-04 05:06:07"},
    };
    const int before = Db().CountVibReadings(source.sItemGUID);
    for (const auto& c : cases) {
        SignalImportRequest request;
        request.pointGuid = c.point;
        request.path = c.path;
        request.taken = c.taken;
        const SignalImportOutcome outcome = ImportReadingSignals(*app, processor, request);
        EXPECT_FALSE(outcome.ok) << c.name;
        EXPECT_TRUE(outcome.error.startsWith(QLatin1String(c.error)))
            << c.name << ": " << outcome.error.toStdString();
    }
    EXPECT_EQ(Db().CountVibReadings(source.sItemGUID), before);
    EXPECT_EQ(Db().CountVibReadings(target.sItemGUID), 0);
    EXPECT_FALSE(HasImportTable()) << "a database without imports keeps its documented tables only";

    // WAV holds one channel.
    SignalExportRequest wav{meter.sItemGUID, File("both.wav"), SignalFileFormat::Wav, true, true, false};
    EXPECT_EQ(ExportReadingSignals(*app, processor, wav).error,
              QStringLiteral("a WAV file holds one channel: choose total or iso"));
    EXPECT_FALSE(QFile::exists(File("both.wav")));
}

} // namespace
} // namespace vantor::testing
