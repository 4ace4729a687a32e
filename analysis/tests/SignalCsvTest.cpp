// Export CSV of the Total channel: layout, units, encodings by extension and failures.
#include "analysis/SignalCsv.h"
#include "analysis/ViewTexts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantor {
namespace {

ReadingSignals TotalSignals(int lines) {
    ReadingSignals s;
    s.total.fmaxHz = 1000.0f;
    s.total.samplingFrequencyHz = 2560.0f;
    s.total.lineCount = lines;
    s.total.sampleCount = 4;
    s.total.spectrum.assign(static_cast<std::size_t>(lines), 0.0);
    s.total.waveform = {0.5, -0.25, 0.125, 0.0};
    return s;
}

SignalCsvInput Input() {
    SignalCsvInput input;
    input.machineName = QStringLiteral("Lüfter €");
    input.pointName = QStringLiteral("Motor DE");
    input.dateText = QStringLiteral("02/05/2024");
    input.timeText = QStringLiteral("14:30:05");
    return input;
}

TEST(SignalCsvTest, SpectrumAndWaveformLayout) {
    ReadingSignals s = TotalSignals(4);
    s.total.spectrum = {0.0, 0.5, 0.25, 0.125};
    SignalCsvInput input = Input();
    input.units = DisplayUnits(FrequencyUnit::Hz, AmplitudeUnit::Imperial); // g stays g
    EXPECT_EQ(SignalCsvText(s, input), QStringLiteral("Machine Name,Lüfter €\r\n"
                                                      "Vib Point Name,Motor DE\r\n\r\n"
                                                      "FMax (Hz),1000\r\n"
                                                      "Number of Lines,4\r\n\r\n"
                                                      "Date/Time,02/05/2024 14:30:05\r\n\r\n"
                                                      "Frequency (Hz),Total (g)\r\n"
                                                      "0.000000,0.000000\r\n"
                                                      "250.000000,0.500000\r\n"
                                                      "500.000000,0.250000\r\n"
                                                      "750.000000,0.125000\r\n"));
    input.content = CsvContent::Waveform;
    input.units = DisplayUnits(FrequencyUnit::Cpm, AmplitudeUnit::Metric);
    EXPECT_TRUE(SignalCsvText(s, input).endsWith(QStringLiteral("Sampling Frequency (CPM),153600\r\n"
                                                                "Number of Samples,4\r\n\r\n"
                                                                "Date/Time,02/05/2024 14:30:05\r\n\r\n"
                                                                "Time (Secs),Total (g)\r\n"
                                                                "0.000000,0.500000\r\n"
                                                                "0.000391,-0.250000\r\n"
                                                                "0.000781,0.125000\r\n"
                                                                "0.001172,0.000000\r\n")));
}

TEST(SignalCsvTest, RpmRowsAndConsolidatedPeaks) {
    ReadingSignals s = TotalSignals(800);
    SignalCsvInput input = Input();
    input.units = DisplayUnits(FrequencyUnit::Rpm, AmplitudeUnit::Metric);
    const QStringList lines = SignalCsvText(s, input).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[3], QStringLiteral("FMax (RPM),60000"));
    EXPECT_EQ(lines[9 + 10], QStringLiteral("750.000000,0.000000"));
    EXPECT_EQ(lines[9 + 799], QStringLiteral("59925.000000,0.000000"));
    EXPECT_EQ(lines.size(), 9 + 800 + 1);

    s.total.spectrum[101] = 4.0;
    s.total.spectrum[100] = 3.0; // 3 then 4: the peak is line 101 and takes 3² + 4² = 5²
    input.consolidatePeaks = true;
    const QStringList consolidated = SignalCsvText(s, input).split(QStringLiteral("\r\n"));
    EXPECT_EQ(consolidated[9 + 99], QStringLiteral("7425.000000,0.000000"));
    EXPECT_EQ(consolidated[9 + 100], QStringLiteral("7500.000000,0.000000"));
    EXPECT_EQ(consolidated[9 + 101], QStringLiteral("7575.000000,5.000000"));
    EXPECT_EQ(consolidated[9 + 102], QStringLiteral("7650.000000,0.000000"));
}

} // namespace
} // namespace vantor
