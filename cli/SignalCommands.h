#pragma once
// export-signal and import-signal: a reading's signals in the interchange formats (UFF 58/58b,
// WAV) and a waveform from a UFF, WAV or CSV file stored as a reading of a point.

#include "cli/CommandContext.h"

#include <QStringList>

#include <cstdio>

namespace vantor::cli {

void AddSignalCommands(CLI::App& cli, CommandContext& context); // export-signal, import-signal

} // namespace vantor::cli
