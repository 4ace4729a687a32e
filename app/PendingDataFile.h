#pragma once
// The data file waiting to be imported: given on the command line or handed over by a second
// launch. Its import starts from the import timer a short moment after it is set, so that the
// main window is up and painted first.

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

namespace vantor {

class CAppData;

// The import timer: its id among the main window's timers and its delay.
inline constexpr int kImportTimerId = 120;
inline constexpr std::chrono::milliseconds kImportTimerDelay{100};

class PendingDataFile : public QObject {
    Q_OBJECT
public:
    using Importer = std::function<void(const QString& path)>;

    PendingDataFile(QString extension, Importer importer, std::chrono::milliseconds delay = kImportTimerDelay,
                    QObject* parent = nullptr);

    // Holds a path (from the command line) without starting the timer.
    void Set(const QString& path) { path_ = path; }
    const QString& Path() const { return path_; }

    // Starts the import timer when a path is pending (the main window's last start-up step).
    void StartIfPending();
    // A path handed over by a second launch replaces the pending one; the timer starts when it
    // ends in the data-file extension.
    void Receive(const QString& path);

    bool TimerActive() const { return timer_.isActive(); }

private:
    void OnTimer();

    QString extension_;
    Importer importer_;
    QString path_;
    QTimer timer_;
    bool importing_ = false;
};

} // namespace vantor
