#pragma once
// "Export CSV" of the acceleration (Total) channel: the displayed spectrum or waveform as a
// comma-separated text file with a short header naming machine, point, capture and date.
//
// Every line ends in CR LF. A name ending in ".csv" is written in the Windows-1252 code page; a
// name ending in ".txt" gets the extension ".csv" instead and is written the same way; any other
// name is written as UTF-16LE starting with the byte-order mark FF FE. The file is written beside
// its final place and only then takes it, so a failed export leaves nothing behind.

#include "analysis/DisplayUnits.h"
#include "analysis/Measures.h"
#include "analysis/ReadingSignals.h"

#include <QByteArray>
#include <QString>

namespace vantor {

enum class CsvContent { Spectrum, Waveform };

struct SignalCsvInput {
    MeasureKind viewKind = MeasureKind::Acceleration; // the view's quantity; only acceleration exports
    CsvContent content = CsvContent::Spectrum;
    QString machineName;
    QString pointName;
    QString dateText; // as the view shows them
    QString timeText;
    DisplayUnits units;
    bool consolidatePeaks = false; // VarovudOVOOn
};

// The path actually written for a chosen path: ".txt" at the end becomes ".csv".
QString CsvTargetPath(const QString& chosenPath);
// The lines of the file as text (each ending "\r\n").
QString SignalCsvText(const ReadingSignals& decoded, const SignalCsvInput& input);
// The file's bytes for a target path, in its encoding.
QByteArray EncodeCsvText(const QString& text, const QString& targetPath);

} // namespace vantor
