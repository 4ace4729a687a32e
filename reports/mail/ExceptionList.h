#pragma once
// The exceptions of one synchronisation run: per machine in alarm, the points and measures that
// reached warning or critical, in upload order. The synchronisation worker empties and fills the
// process-wide list while the user-interface thread waits; the sender reads a copy afterwards.

#include <QDateTime>
#include <QString>

#include <array>
#include <mutex>
#include <vector>

namespace vantor {

// The measures an exception reports, always in this order; band 4 is never reported.
enum class ExceptionMeasure : int { IsoVelocity = 0, BearingNoise, VaBand1, VaBand2, VaBand3 };
inline constexpr int kExceptionMeasureCount = 5;

// Status of one measure of an entry: reported only when above 3.
enum class ExceptionStatus : int { None = 0, Warning = 4, Critical = 5 };

struct MeasureException {
    QString valueText;
    ExceptionStatus status = ExceptionStatus::None;
    friend bool operator==(const MeasureException&, const MeasureException&) = default;
};

struct PointException {
    QString pointName;
    QDateTime dateTaken;
    std::array<MeasureException, kExceptionMeasureCount> measures;
    friend bool operator==(const PointException&, const PointException&) = default;
};

struct MachineExceptions {
    QString machineGuid; // the group key, compared exactly
    QString machineName;
    QString recipients; // the machine's addresses as stored, ";"-separated
    std::vector<PointException> points;
    friend bool operator==(const MachineExceptions&, const MachineExceptions&) = default;
};

class ExceptionList {
public:
    void Clear();
    // Appends a point entry to the machine's group, creating the group at the end when the machine
    // has none yet; the group's name and recipients take the given (latest) values.
    void Add(const QString& machineGuid, const QString& machineName, const QString& recipients,
             PointException point);
    // A copy of the groups in list order.
    std::vector<MachineExceptions> Groups() const;
    bool Empty() const;

private:
    mutable std::mutex mutex_;
    std::vector<MachineExceptions> groups_;
};

// The list the synchronisation run fills and the exception e-mails read; lives for the process.
ExceptionList& ProcessExceptionList();

} // namespace vantor
