#include "app/TypedSettings.h"
#include "platform/testing/TempEnvironment.h"

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

using namespace vantor;

namespace {

// One setting read through its typed accessor, as a number to compare.
using Reading = std::function<int(const CSettings&)>;

const Reading kFrequency = [](const CSettings& s) { return static_cast<int>(DisplayUnitsOf(s).Frequency()); };
const Reading kAmplitude = [](const CSettings& s) { return static_cast<int>(DisplayUnitsOf(s).Amplitude()); };
const Reading kConsolidate = [](const CSettings& s) { return int{ConsolidatePeaks(s)}; };
const Reading kSpectrum = [](const CSettings& s) { return static_cast<int>(SpectrumStyleOf(s)); };
const Reading kVibDisplay = [](const CSettings& s) { return static_cast<int>(VibDisplayOf(s)); };
const Reading kStatusValues = [](const CSettings& s) { return int{StatusValuesOn(s)}; };
const Reading kBold = [](const CSettings& s) { return int{BoldFontOn(s)}; };
const Reading kRemote = [](const CSettings& s) { return int{RemoteDatabaseChosen(s)}; };
const Reading kEmail = [](const CSettings& s) { return int{EmailExceptionsOnUpload(s)}; };
const Reading kAutoSend = [](const CSettings& s) { return int{AutoSendExceptions(s)}; };
const Reading kSecurity = [](const CSettings& s) { return static_cast<int>(SmtpSecurityOf(s)); };

constexpr int kOff = 0;
constexpr int kOn = 1;

struct StoredCase {
    const char* key;
    std::optional<const char*> stored; // nothing: absent from the file
    const Reading* read;
    int expected;
};

// What the program made of each stored text before the accessors: absent and unreadable values keep
// the default, codes no version writes fall back as each reader did.
const StoredCase kStoredCases[] = {
    {"XAxisUnits", std::nullopt, &kFrequency, static_cast<int>(FrequencyUnit::Hz)},
    {"XAxisUnits", "1", &kFrequency, static_cast<int>(FrequencyUnit::Rpm)},
    {"XAxisUnits", "2", &kFrequency, static_cast<int>(FrequencyUnit::Cpm)},
    {"XAxisUnits", "3", &kFrequency, static_cast<int>(FrequencyUnit::Hz)},
    {"XAxisUnits", "-1", &kFrequency, static_cast<int>(FrequencyUnit::Hz)},
    {"XAxisUnits", "rpm", &kFrequency, static_cast<int>(FrequencyUnit::Hz)},
    {"YAxisUnits", std::nullopt, &kAmplitude, static_cast<int>(AmplitudeUnit::Metric)},
    {"YAxisUnits", "1", &kAmplitude, static_cast<int>(AmplitudeUnit::Imperial)},
    {"YAxisUnits", "2", &kAmplitude, static_cast<int>(AmplitudeUnit::Metric)},
    {"VarovudOVOOn", std::nullopt, &kConsolidate, kOff},
    {"VarovudOVOOn", "1", &kConsolidate, kOn},
    {"VarovudOVOOn", "2", &kConsolidate, kOff},
    {"FFTLineOrBar", std::nullopt, &kSpectrum, static_cast<int>(SpectrumStyle::Bars)},
    {"FFTLineOrBar", "0", &kSpectrum, static_cast<int>(SpectrumStyle::Lines)},
    {"FFTLineOrBar", "7", &kSpectrum, static_cast<int>(SpectrumStyle::Bars)},
    {"FFTLineOrBar", "lines", &kSpectrum, static_cast<int>(SpectrumStyle::Bars)},
    {"VibDisplayOption", std::nullopt, &kVibDisplay, static_cast<int>(VibDisplay::Both)},
    {"VibDisplayOption", "0", &kVibDisplay, static_cast<int>(VibDisplay::Trend)},
    {"VibDisplayOption", "1", &kVibDisplay, static_cast<int>(VibDisplay::Spectrum)},
    {"VibDisplayOption", "-5", &kVibDisplay, static_cast<int>(VibDisplay::Trend)},
    {"VibDisplayOption", "9", &kVibDisplay, static_cast<int>(VibDisplay::Both)},
    {"VibStatusValuesOn", std::nullopt, &kStatusValues, kOn},
    {"VibStatusValuesOn", "0", &kStatusValues, kOff},
    {"VibStatusValuesOn", "2", &kStatusValues, kOff},
    {"BoldFontOn", std::nullopt, &kBold, kOn},
    {"BoldFontOn", "0", &kBold, kOff},
    {"BoldFontOn", "2", &kBold, kOn},
    {"BoldFontOn", "99999999999", &kBold, kOn},
    {"LocalOrRemote", std::nullopt, &kRemote, kOff},
    {"LocalOrRemote", "1", &kRemote, kOn},
    {"LocalOrRemote", "2", &kRemote, kOff},
    {"EmailExceptionsOnUpload", std::nullopt, &kEmail, kOn},
    {"EmailExceptionsOnUpload", "0", &kEmail, kOff},
    {"EmailExceptionsOnUpload", "2", &kEmail, kOn},
    {"AutoSendEmailExceptionsOnUpload", std::nullopt, &kAutoSend, kOn},
    {"AutoSendEmailExceptionsOnUpload", "0", &kAutoSend, kOff},
    {"AutoSendEmailExceptionsOnUpload", "2", &kAutoSend, kOff},
    {"SmtpSecurity", std::nullopt, &kSecurity, static_cast<int>(SmtpSecurity::None)},
    {"SmtpSecurity", "1", &kSecurity, static_cast<int>(SmtpSecurity::StartTls)},
    {"SmtpSecurity", "2", &kSecurity, static_cast<int>(SmtpSecurity::Tls)},
    {"SmtpSecurity", "3", &kSecurity, static_cast<int>(SmtpSecurity::None)},
};

class TypedSettings : public ::testing::Test {
protected:
    // The stored text of a value, as another program would see it.
    QString Stored(const char* key) const {
        QSettings raw(store.FilePath(), QSettings::IniFormat);
        return raw.value(QStringLiteral("Settings/%1").arg(QLatin1String(key))).toString();
    }

    vantor::testing::TempEnvironment env;
    SettingsStore store{Edition::For(2, 0)};
};

} // namespace

TEST_F(TypedSettings, EachAccessorReadsStoredCodesAsTheProgramDid) {
    for (const StoredCase& c : kStoredCases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored.value_or("(absent)"));
        QFile::remove(store.FilePath());
        if (c.stored) {
            QSettings raw(store.FilePath(), QSettings::IniFormat);
            raw.setValue(QStringLiteral("Settings/%1").arg(QLatin1String(c.key)),
                         QString::fromUtf8(*c.stored));
            raw.sync();
        }
        CSettings settings;
        store.Read(settings);
        EXPECT_EQ((*c.read)(settings), c.expected);
    }
}

// Each setter stores the code the program always wrote, and the stored file reads back the same.
TEST_F(TypedSettings, SettersStoreTheDocumentedCodes) {
    struct SetCase {
        std::function<void(CSettings&)> set;
        const char* key;
        const char* code;
    };
    const SetCase cases[] = {
        {[](CSettings& s) {
             SetDisplayUnits(s, {FrequencyUnit::Cpm, AmplitudeUnit::Imperial});
         },
         "XAxisUnits", "2"},
        {[](CSettings& s) {
             SetDisplayUnits(s, {FrequencyUnit::Cpm, AmplitudeUnit::Imperial});
         },
         "YAxisUnits", "1"},
        {[](CSettings& s) { SetFrequencyUnitCode(s, 9); }, "XAxisUnits", "0"},
        {[](CSettings& s) { SetConsolidatePeaks(s, true); }, "VarovudOVOOn", "1"},
        {[](CSettings& s) { SetSpectrumStyle(s, SpectrumStyle::Lines); }, "FFTLineOrBar", "0"},
        {[](CSettings& s) { SetVibDisplay(s, VibDisplay::Spectrum); }, "VibDisplayOption", "1"},
        {[](CSettings& s) { SetStatusValuesOn(s, false); }, "VibStatusValuesOn", "0"},
        {[](CSettings& s) { SetBoldFontOn(s, false); }, "BoldFontOn", "0"},
        {[](CSettings& s) { SetRemoteDatabaseChosen(s, true); }, "LocalOrRemote", "1"},
        {[](CSettings& s) { SetEmailExceptionsOnUpload(s, false); }, "EmailExceptionsOnUpload", "0"},
        {[](CSettings& s) { SetAutoSendExceptions(s, false); }, "AutoSendEmailExceptionsOnUpload", "0"},
        {[](CSettings& s) { SetSmtpSecurity(s, SmtpSecurity::Tls); }, "SmtpSecurity", "2"},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.key);
        CSettings settings;
        c.set(settings);
        ASSERT_TRUE(store.Write(settings));
        EXPECT_EQ(Stored(c.key), QLatin1String(c.code));
    }
}

TEST_F(TypedSettings, TheUnitLabelsFollowTheStoredCodes) {
    CSettings settings;
    settings.xAxisUnits = 1;
    settings.yAxisUnits = 1;
    RefreshUnitLabels(settings);
    EXPECT_EQ(settings.frequencyUnitLabel, DisplayUnitsOf(settings).FrequencyLabel());
    EXPECT_EQ(settings.velocityUnitLabel, DisplayUnitsOf(settings).VelocityLabel());
    EXPECT_FLOAT_EQ(static_cast<float>(settings.velocityUnitFactor), kImperialAmplitudeFactor);
    // A code no version writes stays as stored; only the run-time labels follow what it means.
    settings.xAxisUnits = 7;
    RefreshUnitLabels(settings);
    EXPECT_EQ(settings.xAxisUnits, 7);
    EXPECT_EQ(settings.frequencyUnitLabel, DisplayUnits().FrequencyLabel());
}
