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
    QTemporaryDir temporary;
    QString root; // the data root's folder
    SilentPrompter prompter;
    std::unique_ptr<CAppData> app;

    LargePlant() : LargePlant(kMachines, kReadingsPerPoint) {}
    // In `folder` when given (kept after the run), else in a temporary folder.
    LargePlant(int machines, int readingsPerPoint, const QString& folder = {});
    // Points the process's data-root variables at this plant's root (several plants in one run).
    void Use() const;
};

// The plant, made on first use and kept for the whole run.
LargePlant& TheLargePlant();
// A plant of `machines` machines × 10 points × 20 readings, made on first use and kept.
LargePlant& PlantOfSize(int machines);

} // namespace vantor::bench
