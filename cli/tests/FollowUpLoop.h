#pragma once
// The follow-up loop as a user drives it from the command line, on whatever database is in use (a
// local file, a shared folder's file or a server): a pump point with ISO alarms gets an imported
// 8 mm/s run-speed tone (CRITICAL: an event), two users acknowledge it at once (both kept), a
// recommendation is refused on bad input, raised, written as a work request, closed as confirmed
// and counted in the diagnosis's record, and refused when closed again.

#include "cli/tests/RunVantor.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vantor::testing {

struct LoopPlant {
    QString machine;
    QString point;
    QString idleMachine; // on a second route, never measured
};

inline QString Trimmed(const VantorRun& run) {
    return QString::fromUtf8(run.out).trimmed();
}

inline VantorRun Checked(const QStringList& arguments, int expected = 0) {
    VantorRun run = RunVantor(arguments);
    EXPECT_EQ(run.status, expected) << arguments.join(QLatin1Char(' ')).toStdString() << ": "
                                    << run.err.toStdString() << run.out.toStdString();
    return run;
}

inline QJsonArray JsonArrayOf(const QStringList& arguments) {
    return QJsonDocument::fromJson(Checked(arguments).out).array();
}

// A 25 Hz tone of `mms` mm/s RMS as one column of velocities in mm/s at 2560 Hz.
inline QString ToneCsv(const QString& folder, double mms) {
    const QString path = QDir(folder).filePath(QStringLiteral("tone.csv"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    const double peak = mms * std::sqrt(2.0);
    QByteArray text;
    for (int i = 0; i < 8192; ++i) {
        text += QByteArray::number(peak * std::sin(2 * std::numbers::pi * 25 * i / 2560.0), 'g', 9) + '\n';
    }
    file.write(text);
    return path;
}

inline LoopPlant MakeLoopPlant(const QString& folder) {
    LoopPlant plant;
    plant.machine = Trimmed(Checked({"machine", "add", "Pump"}));
    plant.point = Trimmed(Checked({"vib", "add", plant.machine, "Pump NDE", "--run-speed", "25",
                                   "--iso-alarms", "1", "--iso-warning", "4.5", "--iso-critical", "7.1"}));
    plant.idleMachine = Trimmed(Checked({"machine", "add", "Fan"}));
    Checked({"vib", "add", plant.idleMachine, "Fan DE", "--run-speed", "25"});
    Checked({"route", "add", "Route 1"});
    Checked({"route", "add-machine", "Route 1", plant.machine});
    Checked({"route", "add", "Route 2"});
    Checked({"route", "add-machine", "Route 2", plant.idleMachine});
    Checked({"import-signal", plant.point, ToneCsv(folder, 8.0), "--format", "csv", "--fs", "2560",
             "--channel", "iso", "--unit", "mm/s", "--date", "2024-05-10 10:00:00"});
    return plant;
}

// Two `vantor ack` processes started together; both must succeed.
inline void AcknowledgeAtOnce(const QString& event) {
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(VANTOR_CLI_PATH), {"ack", event, "--comment", "seen by ann"});
    second.start(QStringLiteral(VANTOR_CLI_PATH), {"ack", event, "--comment", "seen by bob"});
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
}

inline void RunFollowUpLoop(const LoopPlant& plant, const QString& folder) {
    QJsonArray events = JsonArrayOf({"events", "--new", "--json"});
    ASSERT_EQ(events.size(), 1);
    const QJsonObject event = events[0].toObject();
    EXPECT_EQ(event.value("levelText").toString(), QStringLiteral("CRITICAL"));
    EXPECT_EQ(event.value("source").toString(), QStringLiteral("documented"));
    EXPECT_EQ(event.value("pointName").toString(), QStringLiteral("Pump NDE"));
    const QString id = event.value("id").toString();

    // Bad acknowledgements store nothing.
    Checked({"ack", id, "--comment", " "}, 1);
    Checked({"ack", id, "{00000000-0000-0000-0000-000000000000}", "--comment", "x"}, 1);
    EXPECT_EQ(JsonArrayOf({"events", "--new", "--json"}).size(), 1);

    AcknowledgeAtOnce(id);
    EXPECT_TRUE(JsonArrayOf({"events", "--new", "--json"}).isEmpty());
    const QJsonArray trail = JsonArrayOf({"events", "--point", plant.point, "--json"})[0]
                                 .toObject()
                                 .value("acknowledgements")
                                 .toArray();
    ASSERT_EQ(trail.size(), 2);
    QStringList comments{trail[0].toObject().value("comment").toString(),
                         trail[1].toObject().value("comment").toString()};
    comments.sort();
    EXPECT_EQ(comments, (QStringList{"seen by ann", "seen by bob"}));

    Checked({"note", "add", plant.point, "Bearing greased"});
    Checked({"note", "add", "{00000000-0000-0000-0000-000000000000}", "x"}, 1);
    EXPECT_EQ(JsonArrayOf({"note", "list", "--json"}).size(), 1);

    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QString yesterday = QDate::currentDate().addDays(-1).toString(Qt::ISODate);
    Checked({"recommend", id, "--action", "Balance", "--priority", "5", "--due", today}, 1);
    Checked({"recommend", id, "--action", "Balance", "--priority", "2", "--due", yesterday}, 1);
    Checked({"recommend", id, "--action", "", "--priority", "2", "--due", today}, 1);
    Checked({"recommend", "{00000000-0000-0000-0000-000000000000}", "--action", "Balance", "--priority", "2",
             "--due", today},
            1);
    EXPECT_TRUE(JsonArrayOf({"recommendations", "--json"}).isEmpty());

    const QString requests = QDir(folder).filePath(QStringLiteral("requests"));
    const VantorRun raised = Checked({"recommend", id, "--action", "Balance the impeller", "--priority", "2",
                                      "--due", today, "--send", "--folder", requests});
    const QString recommendation = QString::fromUtf8(raised.out).section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(raised.out.contains("Work request: ")) << raised.out.toStdString();
    EXPECT_TRUE(QFile::exists(QDir(requests).filePath(QStringLiteral("work-requests.csv"))));
    ASSERT_EQ(JsonArrayOf({"recommendations", "--open", "--json"}).size(), 1);

    Checked({"recommendation", "close", recommendation, "--outcome", "maybe", "--found", "x"}, 1);
    Checked(
        {"recommendation", "close", recommendation, "--outcome", "confirmed", "--found", "3 g·mm residual"});
    const VantorRun again =
        Checked({"recommendation", "close", recommendation, "--outcome", "not-confirmed", "--found", "x"}, 1);
    EXPECT_TRUE(again.err.contains("closed already")) << again.err.toStdString();
    EXPECT_TRUE(JsonArrayOf({"recommendations", "--open", "--json"}).isEmpty());

    const QJsonArray record = JsonArrayOf({"diagnosis-record", "--json"});
    ASSERT_EQ(record.size(), 1);
    EXPECT_EQ(record[0].toObject().value("rule").toString(), QStringLiteral("unbalance"));
    EXPECT_EQ(record[0].toObject().value("confirmed").toInt(), 1);
    EXPECT_DOUBLE_EQ(record[0].toObject().value("precision").toDouble(), 1.0);
}

} // namespace vantor::testing
