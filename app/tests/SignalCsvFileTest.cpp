// The Export CSV file: encodings by extension and failures.
#include "app/SignalCsvFile.h"
#include "analysis/ViewTexts.h"
#include "platform/testing/RecordingPrompter.h"

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

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SignalCsvFileTest, EncodingFollowsTheExtension) {
    QTemporaryDir dir;
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkdir(QStringLiteral("txt reports")));
    testing::RecordingPrompter prompter;
    const ReadingSignals s = TotalSignals(4);
    const QByteArray narrow = "Machine Name,L\xFC"
                              "fter \x80\r\n";
    struct Case {
        QString chosen;
        QString written;
        bool wide;
    };
    const Case cases[] = {
        {QStringLiteral("data.csv"), QStringLiteral("data.csv"), false},
        {QStringLiteral("txt reports/data.txt"), QStringLiteral("txt reports/data.csv"), false},
        {QStringLiteral("data.dat"), QStringLiteral("data.dat"), true},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(ExportSignalCsv(s, Input(), root.filePath(c.chosen), prompter), CsvExportOutcome::Written);
        const QByteArray bytes = Read(root.filePath(c.written));
        if (c.wide) {
            EXPECT_TRUE(bytes.startsWith("\xFF\xFEM\0a\0"));
            EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                         (bytes.size() - 2) / 2),
                      SignalCsvText(s, Input()));
        } else {
            EXPECT_TRUE(bytes.startsWith(narrow)) << c.chosen.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(root.filePath(QStringLiteral("data.txt"))));
    EXPECT_TRUE(prompter.records.empty());
}

TEST(SignalCsvFileTest, FailuresAndOtherQuantities) {
    QTemporaryDir dir;
    testing::RecordingPrompter prompter;
    const QString unwritable = dir.filePath(QStringLiteral("missing/data.csv"));
    EXPECT_EQ(ExportSignalCsv(TotalSignals(4), Input(), unwritable, prompter), CsvExportOutcome::Failed);
    EXPECT_EQ(prompter.Messages(), QStringList{QStringLiteral("Error saving data file")});
    EXPECT_FALSE(QFile::exists(unwritable));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

    SignalCsvInput input = Input();
    input.viewKind = MeasureKind::IsoVelocity;
    const QString path = dir.filePath(QStringLiteral("iso.csv"));
    EXPECT_EQ(ExportSignalCsv(TotalSignals(4), input, path, prompter), CsvExportOutcome::NotAcceleration);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
} // namespace vantor
