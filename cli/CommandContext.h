#pragma once
// What every command of the `vantor` program shares: the answers given by options, the console
// prompter built from them, the application data, and the exit status the command sets.
//
// Each group of commands registers itself from its own source file (Add...Commands below); its
// callbacks run after parsing, so options are known when App() builds the prompter.

#include "app/CAppData.h"
#include "platform/ConsolePrompter.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace vantor::cli {

class CommandContext {
public:
    // Answers for the prompter; commands fill these from their options before calling App().
    ConsoleAnswers answers;
    int status = 0;

    // The application data with a console prompter, made on first use.
    CAppData& App();
    Prompter& UserPrompter();

private:
    std::unique_ptr<ConsolePrompter> prompter_;
    std::unique_ptr<CAppData> app_;
};

// Command groups, one source file each.
void AddStoreCommands(CLI::App& cli, CommandContext& context);     // init, list, emails
void AddTextsCommands(CLI::App& cli, CommandContext& context);     // texts
void AddSettingsCommands(CLI::App& cli, CommandContext& context);  // settings list, get, set
void AddAnalysisCommands(CLI::App& cli, CommandContext& context);  // status, signals
void AddMeterCommands(CLI::App& cli, CommandContext& context);     // meter info, new-data
void AddDataFileCommands(CLI::App& cli, CommandContext& context);  // import, export
void AddSyncCommands(CLI::App& cli, CommandContext& context);      // sync from-meter, to-meter
void AddOffRouteCommands(CLI::App& cli, CommandContext& context);  // offroute move, delete
void AddDeviceCommands(CLI::App& cli, CommandContext& context);    // devices rename, delete
void AddEmailCommands(CLI::App& cli, CommandContext& context);     // email test, exceptions
void AddCatalogueCommands(CLI::App& cli, CommandContext& context); // machine, vib, lube
void AddRouteCommands(CLI::App& cli, CommandContext& context);
void AddEnvelopeCommands(CLI::App& cli, CommandContext& context);     // envelope, indices        // route
void AddCatalogueCsvCommands(CLI::App& cli, CommandContext& context); // catalogue export, import
// csv, peaks, runspeed, trend
void AddReadingToolCommands(CLI::App& cli, CommandContext& context);
// remote list, open, use, local, who
void AddRemoteCommands(CLI::App& cli, CommandContext& context);
void AddPlotCommands(CLI::App& cli, CommandContext& context); // plot
// bearing, vib bearings (after AddCatalogueCommands), faults
void AddBearingCommands(CLI::App& cli, CommandContext& context);
// server init, use, local, status, copy-from-local, copy-to-local
void AddServerCommands(CLI::App& cli, CommandContext& context);
// alarms, bands, diagnose
void AddAlarmCommands(CLI::App& cli, CommandContext& context);
// schedule, due, compliance, events, ack, note, recommendations, diagnosis-record
void AddFollowUpCommands(CLI::App& cli, CommandContext& context);
// recommend, recommendation close|send (vantor-full: a work request may be mailed)
void AddWorkRequestCommands(CLI::App& cli, CommandContext& context);
// sensor add|list|remove, ingest run (online sensors)
void AddSensorCommands(CLI::App& cli, CommandContext& context);

} // namespace vantor::cli
