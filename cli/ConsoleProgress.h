#pragma once
// A one-line progress bar of an export or import on standard error.

#include "store/DataFile.h"

namespace vantor::cli {

// A one-line progress bar on standard error, drawn only on a terminal so that messages stay one
// per line everywhere else.
class ConsoleProgress final : public DataFileProgress {
public:
    ConsoleProgress();
    ~ConsoleProgress() override;
    ConsoleProgress(const ConsoleProgress&) = delete;
    ConsoleProgress& operator=(const ConsoleProgress&) = delete;

    void Enumerating(const QString& section) override;
    void Step(const QString& section, int done, int total) override;

private:
    void Draw(const QString& label, int percent);

    bool terminal_;
    bool drawn_ = false;
};

} // namespace vantor::cli
