// vantor bearing, vib bearings and faults as a user runs them: the starter library, an absurd
// bearing refused, a point's bearings, and an outer-race fault found on a stored reading.
#include "analysis/BearingFactors.h"
#include "app/Startup.h"
#include "cli/tests/RunVantor.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/StarterBearings.h"
#include "store/testing/TestPlant.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace vantor {
namespace {

using testing::RunVantor;

constexpr double kRunSpeedHz = 29.988;
constexpr int kSamples = 8192;

// 16-bit counts of 0.001 g around the mid count: a tone at each frequency with its peak in g, over
// a broadband floor of 0.01 g RMS as a real machine has (without it, every window leak would stand
// above the noise floor).
QByteArray Tones(const std::vector<std::pair<double, double>>& tones) {
    QByteArray raw;
    std::mt19937 random(7);
    std::normal_distribution<double> floor(0.0, 0.01);
    for (int i = 0; i < kSamples; ++i) {
        double g = floor(random);
        for (const auto& [hz, peak] : tones) {
            g += peak * std::sin(2 * std::numbers::pi * hz * i / 2560.0);
        }
        const auto sample = static_cast<std::uint16_t>(32768 + std::lround(g / 0.001));
        raw.append(static_cast<char>(sample & 0xFF));
        raw.append(static_cast<char>(sample >> 8));
    }
    return raw;
}

// A carrier at `carrierHz` (peak `peak` g) whose amplitude is modulated to `depth` at `rateHz`: the
// impacts of a race defect ringing a resonance, as the envelope spectrum sees them.
QByteArray Modulated(double carrierHz, double peak, double depth, double rateHz) {
    QByteArray raw;
    for (int i = 0; i < kSamples; ++i) {
        const double t = i / 2560.0;
        const double g = peak * (1 + depth * std::cos(2 * std::numbers::pi * rateHz * t)) *
                         std::sin(2 * std::numbers::pi * carrierHz * t);
        const auto sample = static_cast<std::uint16_t>(32768 + std::lround(g / 0.001));
        raw.append(static_cast<char>(sample & 0xFF));
        raw.append(static_cast<char>(sample >> 8));
    }
    return raw;
}

class BearingCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<CAppData>(prompter);
        ASSERT_TRUE(InitDataRoot(*app));
        ASSERT_TRUE(RunHeadlessStartup(*app));
        CMainConnection& db = *app->MainConnection();
        point = testing::AddFanMotorDE(db);
        const double bpfo = FactorsFromGeometry({9, 7.94, 39.04, 0}).bpfo * kRunSpeedHz;
        CVibReading r =
            testing::CapturedReading(point.sItemGUID, QDateTime(QDate(2024, 5, 1), QTime(10, 0)), 1.0f,
                                     Tones({{bpfo, 0.5}, {2 * bpfo, 0.3}, {3 * bpfo, 0.2}}));
        r.iTotalNumberOfSamples = kSamples;
        r.iISONumberOfSamples = kSamples;
        r.fOriginalRunSpeedHz = r.fCurrentRunSpeedHz = static_cast<float>(kRunSpeedHz);
        ASSERT_TRUE(db.UpsertVibReading(r));
        reading = r.sItemGUID;
        app.reset(); // the commands open the database themselves
    }

    QJsonObject Json(const QStringList& arguments) {
        const testing::VantorRun run = RunVantor(arguments);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out).object();
    }

    // The BPFO family of the first bearing in `faults --json`.
    static QJsonObject OuterRace(const QJsonObject& faults) {
        return faults[QStringLiteral("bearings")][0][QStringLiteral("families")][1].toObject();
    }

    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    std::unique_ptr<CAppData> app;
    CVib point;
    QString reading;
};

TEST_F(BearingCommandsTest, LibraryStartsWithThePublishedBearingsAndRefusesAbsurdOnes) {
    const QJsonArray bearings = Json({QStringLiteral("bearing"), QStringLiteral("list"),
                                      QStringLiteral("--json")})[QStringLiteral("bearings")]
                                    .toArray();
    ASSERT_EQ(bearings.size(), static_cast<qsizetype>(StarterBearings().size()));
    const QJsonObject driveEnd = bearings[0].toObject();
    EXPECT_EQ(driveEnd[QStringLiteral("designation")].toString(), QStringLiteral("6205-2RS JEM"));
    EXPECT_NEAR(driveEnd[QStringLiteral("factors")][QStringLiteral("bpfi")].toDouble(), 5.4152, 5e-5);
    EXPECT_NEAR(driveEnd[QStringLiteral("factors")][QStringLiteral("bsf")].toDouble(), 2.3567, 5e-5);

    testing::VantorRun run =
        RunVantor({QStringLiteral("bearing"), QStringLiteral("add"), QStringLiteral("Bad"),
                   QStringLiteral("--balls"), QStringLiteral("9"), QStringLiteral("--ball-diameter"),
                   QStringLiteral("40"), QStringLiteral("--pitch-diameter"), QStringLiteral("39.04")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("Bearing refused: the pitch diameter")) << run.err.toStdString();
    run = RunVantor({QStringLiteral("bearing"), QStringLiteral("add"), QStringLiteral("Both"),
                     QStringLiteral("--balls"), QStringLiteral("9"), QStringLiteral("--factors"),
                     QStringLiteral("0.4,2.3,3.6,5.4")});
    EXPECT_EQ(run.status, 2);

    run = RunVantor({QStringLiteral("bearing"), QStringLiteral("add"), QStringLiteral("Published"),
                     QStringLiteral("--factors"), QStringLiteral("0.4,2.3,3.6,5.4"),
                     QStringLiteral("--maker"), QStringLiteral("Maker")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString guid = QString::fromUtf8(run.out.trimmed());
    run = RunVantor({QStringLiteral("bearing"), QStringLiteral("list")});
    EXPECT_TRUE(run.out.contains(guid.toUtf8() +
                                 "\tPublished\tMaker\tFTF 0.4000\tBSF 2.3000\tBPFO 3.6000\tBPFI 5.4000\n"))
        << run.out.toStdString();

    // Export, then the same file imported again updates every bearing in place.
    const QString file = env.Root() + QStringLiteral("/bearings.csv");
    ASSERT_EQ(RunVantor({QStringLiteral("bearing"), QStringLiteral("export"), file}).status, 0);
    run = RunVantor({QStringLiteral("bearing"), QStringLiteral("import"), file, QStringLiteral("--dry-run")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Dry run, nothing stored. Bearings: 0 new, 6 updated\n");
}

TEST_F(BearingCommandsTest, AnOuterRaceFaultIsMatchedAndFollowsTheReadingsRunSpeed) {
    const QString p = point.sItemGUID;
    testing::VantorRun run =
        RunVantor({QStringLiteral("vib"), QStringLiteral("bearings"), p, QStringLiteral("--add"),
                   QStringLiteral("6205-2RS JEM"), QStringLiteral("--location"), QStringLiteral("Pump NDE")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("1\tPump NDE\t6205-2RS JEM\t1\t{")) << run.out.toStdString();

    const QStringList faults{QStringLiteral("faults"), reading, QStringLiteral("--json")};
    QJsonObject result = Json(faults);
    EXPECT_NEAR(result[QStringLiteral("runSpeed")].toDouble(), kRunSpeedHz, 1e-3);
    QJsonObject outer = OuterRace(result);
    EXPECT_EQ(outer[QStringLiteral("family")].toString(), QStringLiteral("BPFO"));
    EXPECT_EQ(outer[QStringLiteral("matchedHarmonics")].toInt(), 3);
    const double bpfo = outer[QStringLiteral("fundamental")].toDouble();
    EXPECT_NEAR(bpfo, 3.5848 * kRunSpeedHz, 0.01);
    const QJsonArray lines = outer[QStringLiteral("lines")].toArray();
    const double peaks[] = {0.5, 0.3, 0.2};
    for (int n = 0; n < 3; ++n) {
        const QJsonObject line = lines[n].toObject();
        EXPECT_NEAR(line[QStringLiteral("matched")].toDouble(), (n + 1) * bpfo, 2560.0 / kSamples);
        EXPECT_NEAR(line[QStringLiteral("amplitude")].toDouble(), peaks[n] / std::sqrt(2.0), peaks[n] * 0.26);
        EXPECT_TRUE(line[QStringLiteral("aboveNoise")].toBool());
    }
    EXPECT_FALSE(lines[3][QStringLiteral("aboveNoise")].toBool());
    // The other families find a tone only where one of their lines lies within the window of a
    // BPFO harmonic (2×BPFI at 3×BPFO, 3×BSF at 2×BPFO); elsewhere at most a noise line at the floor.
    for (const int family : {0, 2, 3}) {
        for (const QJsonValue line : result[QStringLiteral("bearings")][0][QStringLiteral("families")][family]
                                           [QStringLiteral("lines")]
                                               .toArray()) {
            if (line[QStringLiteral("aboveNoise")].toBool() &&
                line[QStringLiteral("amplitude")].toDouble() > 0.01) {
                const double matched = line[QStringLiteral("matched")].toDouble();
                EXPECT_NEAR(matched / bpfo, std::round(matched / bpfo), 0.01) << family << " at " << matched;
            }
        }
    }

    // A run speed corrected 1.5 % high moves the families, which still find the tones.
    ASSERT_EQ(RunVantor({QStringLiteral("runspeed"), reading, QString::number(kRunSpeedHz * 1.015),
                         QStringLiteral("--yes")})
                  .status,
              0);
    result = Json(faults);
    outer = OuterRace(result);
    EXPECT_NEAR(outer[QStringLiteral("fundamental")].toDouble(), bpfo * 1.015, 0.01);
    EXPECT_EQ(outer[QStringLiteral("matchedHarmonics")].toInt(), 3);
    // ... but not within a 1 % window, where only noise lines at the floor remain.
    result = Json(faults + QStringList{QStringLiteral("--tolerance"), QStringLiteral("1")});
    for (const QJsonValue line : OuterRace(result)[QStringLiteral("lines")].toArray()) {
        EXPECT_LT(line[QStringLiteral("amplitude")].toDouble(), 0.01)
            << line[QStringLiteral("expected")].toDouble();
    }

    // Deleting the bearing asks first (no answer: No), then leaves the point without it.
    const QString driveEnd = StarterBearings().front().sItemGUID;
    EXPECT_EQ(RunVantor({QStringLiteral("bearing"), QStringLiteral("delete"), driveEnd}).status, 3);
    ASSERT_EQ(
        RunVantor({QStringLiteral("bearing"), QStringLiteral("delete"), driveEnd, QStringLiteral("--yes")})
            .status,
        0);
    result = Json({QStringLiteral("vib"), QStringLiteral("bearings"), p, QStringLiteral("--json")});
    EXPECT_TRUE(result[QStringLiteral("bearings")].toArray().isEmpty());
}

// On the envelope spectrum (gE) the outer-race rate of a modulated resonance is matched.
TEST_F(BearingCommandsTest, TheEnvelopeSpectrumFindsTheOuterRaceRateOfAModulatedResonance) {
    const double bpfo = FactorsFromGeometry({9, 7.94, 39.04, 0}).bpfo * kRunSpeedHz;
    QString modulated;
    {
        CAppData data(prompter);
        ASSERT_TRUE(RunHeadlessStartup(data));
        CVibReading r = testing::CapturedReading(point.sItemGUID, QDateTime(QDate(2024, 6, 1), QTime(10, 0)),
                                                 1.0f, Modulated(600, 0.5, 0.6, bpfo));
        r.iTotalNumberOfSamples = kSamples;
        r.iISONumberOfSamples = kSamples;
        r.fOriginalRunSpeedHz = r.fCurrentRunSpeedHz = static_cast<float>(kRunSpeedHz);
        ASSERT_TRUE(data.MainConnection()->UpsertVibReading(r));
        modulated = r.sItemGUID;
    }
    ASSERT_EQ(RunVantor({QStringLiteral("vib"), QStringLiteral("bearings"), point.sItemGUID,
                         QStringLiteral("--add"), QStringLiteral("6205-2RS JEM"),
                         QStringLiteral("--location"), QStringLiteral("Pump NDE")})
                  .status,
              0);
    const QJsonObject result = Json({QStringLiteral("faults"), modulated, QStringLiteral("--measure"),
                                     QStringLiteral("envelope"), QStringLiteral("--json")});
    EXPECT_EQ(result[QStringLiteral("amplitudeUnit")].toString(), QStringLiteral("gE"));
    const QJsonObject first = OuterRace(result)[QStringLiteral("lines")][0].toObject();
    EXPECT_NEAR(first[QStringLiteral("matched")].toDouble(), bpfo, 2560.0 / kSamples);
    // A carrier of amplitude A modulated to depth m shows A·m at the rate.
    EXPECT_NEAR(first[QStringLiteral("amplitude")].toDouble(), 0.5 * 0.6, 0.05);
    EXPECT_TRUE(first[QStringLiteral("aboveNoise")].toBool());
}

TEST_F(BearingCommandsTest, APointCarriesFourBearingsAndLosesOneByNumber) {
    const QString p = point.sItemGUID;
    for (const char* location : {"Motor DE", "Motor NDE", "Fan DE", "Fan NDE"}) {
        ASSERT_EQ(RunVantor({QStringLiteral("vib"), QStringLiteral("bearings"), p, QStringLiteral("--add"),
                             QStringLiteral("UER204"), QStringLiteral("--location"), QLatin1String(location),
                             QStringLiteral("--ratio"), QStringLiteral("1.5")})
                      .status,
                  0);
    }
    testing::VantorRun run =
        RunVantor({QStringLiteral("vib"), QStringLiteral("bearings"), p, QStringLiteral("--add"),
                   QStringLiteral("UER204"), QStringLiteral("--location"), QStringLiteral("Fifth")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("4 bearings per point at most"));
    run = RunVantor({QStringLiteral("vib"), QStringLiteral("bearings"), p, QStringLiteral("--remove"),
                     QStringLiteral("2")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith("2\tFan DE\tUER204\t1.5\t"));
    EXPECT_EQ(RunVantor({QStringLiteral("vib"), QStringLiteral("bearings"), p, QStringLiteral("--remove"),
                         QStringLiteral("7")})
                  .status,
              1);
}

// Values an older version (or a hand-edited file) left in the tables, which no check lets in now:
// every reader leaves them out with a message naming them, and no command that reads them fails;
// the library still lists the bearing so that it can be deleted.
TEST_F(BearingCommandsTest, StoredValuesNoCheckLetsInAreLeftOutWithAMessage) {
    const QString p = point.sItemGUID;
    ASSERT_EQ(
        RunVantor({QStringLiteral("vib"), QStringLiteral("bearings"), p, QStringLiteral("--add"),
                   QStringLiteral("6205-2RS JEM"), QStringLiteral("--location"), QStringLiteral("Pump NDE")})
            .status,
        0);
    const QString driveEnd = StarterBearings().front().sItemGUID;
    const QString png = env.Root() + QStringLiteral("/families.png");
    const QStringList readers[] = {
        {QStringLiteral("faults"), reading, QStringLiteral("--json")},
        {QStringLiteral("faults"), reading, QStringLiteral("--measure"), QStringLiteral("envelope")},
        {QStringLiteral("diagnose"), reading, QStringLiteral("--json")},
        {QStringLiteral("status"), QStringLiteral("--json")},
        {QStringLiteral("alarms"), p, QStringLiteral("--json")},
        {QStringLiteral("plot"), QStringLiteral("spectrum"), reading, QStringLiteral("--out"), png,
         QStringLiteral("--families")},
    };
    // Each stored value as SQL writes it (9e999 is infinity to SQLite), the reader that names it,
    // and the statement that puts things right again for the next case.
    const struct {
        const char* sql;
        int reader;
        const char* message;
        const char* undo;
    } cases[] = {
        // First, before any reader has written the reading's signal cache file.
        {"UPDATE tblVibReadings SET fCurrentRunSpeedHz = 9e999 WHERE sItemGUID = :reading", 0,
         "run speed inf Hz is not usable", nullptr},
        {"UPDATE tblBearings SET fPitchDiameterMM = 9e999 WHERE sItemGUID = :bearing", 0,
         "Bearing 6205-2RS JEM",
         "UPDATE tblBearings SET fPitchDiameterMM = 39.04 WHERE sItemGUID = :bearing"},
        {"UPDATE tblBearings SET fRollingElementDiameterMM = 1e-300 WHERE sItemGUID = :bearing", 2,
         "Bearing 6205-2RS JEM",
         "UPDATE tblBearings SET fRollingElementDiameterMM = 7.94 WHERE sItemGUID = :bearing"},
        {"UPDATE tblPointBearings SET fSpeedRatio = -9e999 WHERE sParentGUID = :point", 5, "Pump NDE",
         "UPDATE tblPointBearings SET fSpeedRatio = 1 WHERE sParentGUID = :point"},
        {"INSERT INTO tblPointSpectralBands VALUES (:point, 1, 0, 9e999, 0, 'total', 1, 2, 0)", 4,
         "left out: Band 1", nullptr},
        // Last: the bearing stays broken for the listing below.
        {"UPDATE tblBearings SET fBPFO = 1e-300, iRollingElements = 0 WHERE sItemGUID = :bearing", 3,
         "Bearing 6205-2RS JEM", nullptr},
    };
    const auto execute = [&](const char* statement) {
        CAppData data(prompter);
        ASSERT_TRUE(RunHeadlessStartup(data));
        QSqlQuery query(data.MainConnection()->Connection().Database());
        ASSERT_TRUE(query.prepare(QLatin1String(statement))) << statement;
        const QString sql = QLatin1String(statement);
        for (const auto& [name, value] :
             {std::pair{QStringLiteral(":bearing"), driveEnd}, std::pair{QStringLiteral(":point"), p},
              std::pair{QStringLiteral(":reading"), reading}}) {
            if (sql.contains(name)) {
                query.bindValue(name, value);
            }
        }
        ASSERT_TRUE(query.exec()) << statement << " " << query.lastError().text().toStdString();
    };
    for (const auto& c : cases) {
        execute(c.sql);
        for (const QStringList& arguments : readers) {
            const testing::VantorRun run = RunVantor(arguments);
            EXPECT_EQ(run.status, 0) << c.sql << "\n"
                                     << arguments.join(' ').toStdString() << "\n"
                                     << run.err.toStdString();
            // The command works without the value and names it on standard error.
            if (&arguments == &readers[c.reader]) {
                EXPECT_TRUE(run.err.contains(c.message)) << c.sql << "\n" << run.err.toStdString();
            }
            if (&arguments == &readers[0] && c.reader == 0 &&
                QLatin1String(c.sql).contains(QLatin1String("tblBearings"))) {
                EXPECT_TRUE(run.out.contains("\"bearings\":[]")) << run.out.toStdString();
            }
        }
        if (c.undo != nullptr) {
            execute(c.undo);
        }
    }
    // The library lists the broken bearing as stored, and it can be deleted.
    testing::VantorRun run = RunVantor({QStringLiteral("bearing"), QStringLiteral("list")});
    EXPECT_TRUE(run.out.contains(driveEnd.toUtf8())) << run.out.toStdString();
    EXPECT_EQ(
        RunVantor({QStringLiteral("bearing"), QStringLiteral("delete"), driveEnd, QStringLiteral("--yes")})
            .status,
        0);
}

} // namespace
} // namespace vantor
