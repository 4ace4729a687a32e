#pragma once

namespace vantor::cli {

// Exit status of every command.
enum ExitCode : int {
    kDone = 0,
    kFailed = 1,
    kUsage = 2,
    kCancelled = 3,
};

} // namespace vantor::cli
