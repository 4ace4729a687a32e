#pragma once
// One running instance per user. The first process holds a lock file and listens on a local
// socket, both named by the edition's single-instance name; a second launch hands its data-file
// path to the first over the socket and ends.
//
// The lock decides who is first: a lock whose owner process has died is taken over, and the
// socket such a process left behind is removed, so a crash never blocks the next start.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

namespace vantor {

// How long a second launch waits for the first instance to connect and to answer.
inline constexpr std::chrono::milliseconds kForwardTimeout{3000};

// Shown by a second launch when the first instance has no main window yet; %1 is the title.
inline constexpr const char* kAnotherInstanceRunningMessage =
    "%1 can't be run while another app in the Orvo range is running.";

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Where the socket and its lock file live for a name (the user's runtime folder).
    static QString SocketPath(const QString& name);

    // Tries to become the running instance; false when another live process already is.
    bool Claim();
    bool IsClaimed() const { return server_ != nullptr; }

    // For the running instance: whether its main window exists. Until it does, second launches
    // are told that no window was found and their files are not taken.
    void SetWindowReady(bool ready) { windowReady_ = ready; }

    // For a second launch: hands the data-file path (may be empty) to the running instance and
    // waits for its answer. True when the running instance's window took it; false when it has no
    // window yet or did not answer in time.
    static bool Forward(const QString& name, const QString& dataFile,
                        std::chrono::milliseconds timeout = kForwardTimeout);

signals:
    // A second launch asked the window to come to the front.
    void ActivationRequested();
    // A second launch handed over a data-file path (not empty).
    void DataFileReceived(const QString& path);

private:
    void OnNewConnection();

    QString path_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
    bool windowReady_ = false;
};

} // namespace vantor
