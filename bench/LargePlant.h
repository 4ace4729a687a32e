#pragma once
// A large plant in a temporary data root, built once per benchmark run: 1,000 machines with 10
// vibration points each and 50 readings per point (two 512-byte raw captures each).

#include "app/CAppData.h"
#include "platform/Prompter.h"

#include <QTemporaryDir>

#include <memory>

namespace vantor::bench {

inline constexpr int kMachines = 1000;
inline constexpr int kPointsPerMachine = 10;
inline constexpr int kReadingsPerPoint = 50;
inline constexpr int kCaptureBytes = 512;

class SilentPrompter final : public Prompter {
public:
    void ShowMessage(const QString&) override {}
    bool AskYesNo(const QString&) override { return true; }
    bool AskRetryCancel(const QString&) override { return false; }
    std::optional<QString> PromptName(const NameRequest&) override { return std::nullopt; }
    std::optional<QDateTime> PromptDateFix(const DateFixRequest&) override { return std::nullopt; }
};

struct LargePlant {
    QTemporaryDir root;
    SilentPrompter prompter;
    std::unique_ptr<CAppData> app;

    LargePlant();
};

// The plant, made on first use and kept for the whole run.
LargePlant& TheLargePlant();

} // namespace vantor::bench
