#pragma once
// The start of the command-line programs: the common options, the command groups a program links,
// parsing and the exit status.
//
// `vantor` links the commands that draw nothing and reach neither the meter nor a mail server, so
// that a catalogue or status command loads no widget, network or serial library; any other command
// word (and help) is handed to `vantor-full`, which links every command, by replacing the process.

#include "cli/CommandContext.h"

#include <span>
#include <string_view>

namespace vantor::cli {

using CommandGroup = void (*)(CLI::App&, CommandContext&);

// The first word that is neither an option nor the value of --log; empty when there is none.
std::string_view CommandWord(int argc, char** argv);

// Parses the command line against the groups and runs the command; returns the exit status.
int RunProgram(int argc, char** argv, std::span<const CommandGroup> groups);

// Whether one of the groups registers `word` as a command.
bool RegistersCommand(std::span<const CommandGroup> groups, std::string_view word);

} // namespace vantor::cli
