#include "app/PendingDataFile.h"

#include "app/CommandLine.h"

#include <utility>

namespace vantor {

PendingDataFile::PendingDataFile(QString extension, Importer importer, std::chrono::milliseconds delay,
                                 QObject* parent)
    : QObject(parent), extension_(std::move(extension)), importer_(std::move(importer)) {
    timer_.setSingleShot(true);
    timer_.setInterval(delay);
    connect(&timer_, &QTimer::timeout, this, &PendingDataFile::OnTimer);
}

void PendingDataFile::StartIfPending() {
    if (!path_.isEmpty()) {
        timer_.start();
    }
}

void PendingDataFile::Receive(const QString& path) {
    path_ = path;
    if (!path_.isEmpty() && HasDataFileExtension(path_, extension_)) {
        timer_.start();
    }
}

void PendingDataFile::OnTimer() {
    // An import shows dialogs, so the timer can fire again while one runs: the next file then
    // waits for it to end instead of starting a second import inside the first.
    if (importing_) {
        timer_.start();
        return;
    }
    const QString path = std::exchange(path_, QString());
    if (path.isEmpty() || !importer_) {
        return;
    }
    importing_ = true;
    importer_(path);
    importing_ = false;
}

} // namespace vantor
