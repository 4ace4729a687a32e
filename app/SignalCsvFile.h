#pragma once
// The Export CSV file of a reading's Total channel, written where the user chose.

#include "analysis/SignalCsv.h"

#include <QString>

namespace vantor {

class Prompter;

enum class CsvExportOutcome { Written, NotAcceleration, Failed };

// Writes the file; on failure shows "Error saving data file" and writes nothing.
CsvExportOutcome ExportSignalCsv(const ReadingSignals& decoded, const SignalCsvInput& input,
                                 const QString& chosenPath, Prompter& prompter);

} // namespace vantor
