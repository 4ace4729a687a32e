#pragma once
// zones: a severity standard's zone boundaries; and what alarms POINT does with a point's severity
// standard (--standard) and the standard's ALARM and TRIP proposal (--suggest iso20816, --apply).

#include "cli/CommandContext.h"

#include <cstdio>
#include <optional>
#include <string>

namespace vantor::cli {

struct ZoneOptions {
    std::string standard;
    int group = 0;
    std::string support;
    bool json = false;
};

struct SeverityOptions {
    std::string point;
    std::string standard; // iso10816-3 / iso20816-3: store the point's standard
    std::optional<int> group;
    std::string support;
    std::string suggest;         // iso20816: print ALARM and TRIP from the baseline
    std::optional<int> baseline; // readings in the suggestion's baseline (default 6)
    bool apply = false;          // store the suggestion as the point's ISO levels
    bool json = false;
};

// Sets the point's standard or prints (and with apply stores) the suggestion. Bad input is refused
// with its message before anything is stored.
int RunPointSeverity(CommandContext& context, const SeverityOptions& o, std::FILE* out = stdout);

void AddZonesCommand(CLI::App& cli, CommandContext& context);

} // namespace vantor::cli
