// sensor add|list|values|remove: which vibration point each online sensor measures and the overall
// values stored of it; ingest run: the
// service that stores what the sensors publish (the vantor-ingest program beside this one, which
// alone loads the MQTT client library).
#include "analysis/AlarmStatus.h"
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/ConsoleOutput.h"
#include "cli/ExitCode.h"
#include "store/MainConnection.h"
#include "store/OnlineTables.h"
#include "store/RecordFields.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace vantor::cli {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Runs `work` on the opened database; a database failure is told as the documented message.
template <class Work> int WithDatabase(CommandContext& context, Work work) {
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    try {
        return work(*app.MainConnection());
    } catch (const DatabaseError&) {
        context.UserPrompter().ShowMessage(UiText(text::ErrorLoadingRecord));
        return static_cast<int>(kFailed);
    }
}

int RunSensorAdd(CommandContext& context, const QString& sensor, const QString& pointGuid) {
    if (sensor.isEmpty() || sensor.contains(QLatin1Char('/')) || sensor.contains(QLatin1Char('+')) ||
        sensor.contains(QLatin1Char('#'))) {
        context.UserPrompter().ShowMessage(
            QStringLiteral("A sensor id is one topic level: not empty, without /, + or #"));
        return kUsage;
    }
    return WithDatabase(context, [&](CMainConnection& db) {
        CVib point;
        if (!db.GetVib(pointGuid, point)) {
            context.UserPrompter().ShowMessage(QStringLiteral("No vibration point %1").arg(pointGuid));
            return static_cast<int>(kFailed);
        }
        onlinerows::PutSensor(db.Connection(), {sensor, point.sItemGUID, QDateTime::currentDateTime()});
        return static_cast<int>(kDone);
    });
}

int RunSensorList(CommandContext& context, bool json) {
    return WithDatabase(context, [&](CMainConnection& db) {
        QJsonArray rows;
        std::string text = "sensor\tpoint\tname\tadded\n";
        for (const SensorRow& sensor : onlinerows::Sensors(db.Connection())) {
            CVib point;
            const QString name = db.GetVib(sensor.pointGuid, point) ? point.sName : QString();
            rows.append(QJsonObject{{QStringLiteral("sensor"), sensor.sensorId},
                                    {QStringLiteral("point"), sensor.pointGuid},
                                    {QStringLiteral("name"), name},
                                    {QStringLiteral("added"), SqlDateTimeText(sensor.added)}});
            text += QStringLiteral("%1\t%2\t%3\t%4\n")
                        .arg(sensor.sensorId, sensor.pointGuid, name, SqlDateTimeText(sensor.added))
                        .toStdString();
        }
        if (json) {
            PrintJsonArrayLine(stdout, rows);
        } else {
            PrintBytes(stdout, QByteArray::fromStdString(text));
        }
        return static_cast<int>(kDone);
    });
}

int RunSensorRemove(CommandContext& context, const QString& sensor) {
    return WithDatabase(context, [&](CMainConnection& db) {
        if (!onlinerows::RemoveSensor(db.Connection(), sensor)) {
            context.UserPrompter().ShowMessage(QStringLiteral("No sensor %1").arg(sensor));
            return static_cast<int>(kFailed);
        }
        return static_cast<int>(kDone);
    });
}

QString Value(const std::optional<double>& value) {
    return value ? QString::number(*value, 'g', 6) : QString();
}

int RunSensorValues(CommandContext& context, const QString& sensor, bool json) {
    return WithDatabase(context, [&](CMainConnection& db) {
        if (!onlinerows::SensorOf(db.Connection(), sensor)) {
            context.UserPrompter().ShowMessage(QStringLiteral("No sensor %1").arg(sensor));
            return static_cast<int>(kFailed);
        }
        QJsonArray rows;
        std::string text = "taken\tiso_mms\ttotal_g\ttemperature_c\tstatus\n";
        for (const OnlineOverallRow& row : onlinerows::Overalls(db.Connection(), sensor)) {
            const QString status = StatusText(static_cast<StatusCode>(row.level));
            QJsonObject object{{QStringLiteral("taken"), OnlineMomentText(row.taken)},
                               {QStringLiteral("point"), row.pointGuid},
                               {QStringLiteral("status"), status}};
            for (const auto& [key, value] :
                 {std::pair{"iso_mms", row.isoMms}, std::pair{"total_g", row.totalG},
                  std::pair{"temperature_c", row.temperatureC}}) {
                object.insert(QLatin1String(key), value ? QJsonValue(*value) : QJsonValue());
            }
            rows.append(object);
            text += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                        .arg(OnlineMomentText(row.taken), Value(row.isoMms), Value(row.totalG),
                             Value(row.temperatureC), status)
                        .toStdString();
        }
        if (json) {
            PrintJsonArrayLine(stdout, rows);
        } else {
            PrintBytes(stdout, QByteArray::fromStdString(text));
        }
        return static_cast<int>(kDone);
    });
}

// Replaces this process by vantor-ingest beside it; returns only when that cannot be run.
int RunIngest(const std::string& settings) {
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    const QByteArray program =
        QFileInfo(self.canonicalFilePath()).dir().filePath(QStringLiteral("vantor-ingest")).toLocal8Bit();
    const QByteArray option("--settings");
    const QByteArray file = QByteArray::fromStdString(settings);
    char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(option.constData()),
                    const_cast<char*>(file.constData()), nullptr};
    execv(program.constData(), argv);
    std::fprintf(stderr, "vantor: cannot run %s: %s\n", program.constData(), std::strerror(errno));
    return kFailed;
}

} // namespace

void AddSensorCommands(CLI::App& cli, CommandContext& context) {
    auto* sensor = cli.add_subcommand("sensor", "Online sensors: which vibration point each one measures");
    sensor->require_subcommand(1);

    auto added = std::make_shared<std::pair<std::string, std::string>>();
    auto* add = sensor->add_subcommand("add", "Bind a sensor (its id in the topics) to a vibration point");
    add->add_option("sensor", added->first, "The sensor's id")->required();
    add->add_option("point", added->second, "The vibration point's GUID")->required();
    add->callback(
        [&context, added] { context.status = RunSensorAdd(context, Q(added->first), Q(added->second)); });

    auto json = std::make_shared<bool>(false);
    auto* list = sensor->add_subcommand("list", "The sensors with their points");
    list->add_flag("--json", *json, "Print a JSON array");
    list->callback([&context, json] { context.status = RunSensorList(context, *json); });

    auto values = std::make_shared<std::pair<std::string, bool>>();
    auto* valuesCommand =
        sensor->add_subcommand("values", "The overall values stored of a sensor, oldest first");
    valuesCommand->add_option("sensor", values->first, "The sensor's id")->required();
    valuesCommand->add_flag("--json", values->second, "Print a JSON array");
    valuesCommand->callback(
        [&context, values] { context.status = RunSensorValues(context, Q(values->first), values->second); });

    auto removed = std::make_shared<std::string>();
    auto* remove = sensor->add_subcommand("remove", "Unbind a sensor: its messages are no longer stored");
    remove->add_option("sensor", *removed, "The sensor's id")->required();
    remove->callback([&context, removed] { context.status = RunSensorRemove(context, Q(*removed)); });

    auto settings = std::make_shared<std::string>();
    auto* ingest = cli.add_subcommand("ingest", "The service that stores what online sensors publish");
    ingest->require_subcommand(1);
    auto* run =
        ingest->add_subcommand("run", "Run the service in the foreground (the vantor-ingest program)");
    run->add_option("--settings", *settings, "The service's settings file (mode 0600)")->required();
    run->callback([&context, settings] { context.status = RunIngest(*settings); });
}

} // namespace vantor::cli
