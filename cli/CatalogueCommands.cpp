// machine, vib, lube: the catalogue editors without windows. Each add prints the new row's GUID;
// a refused check prints its message and stores nothing.
#include "analysis/AlarmStatus.h"
#include "app/CatalogueEditor.h"
#include "app/Startup.h"
#include "cli/CatalogueLookup.h"
#include "cli/CommandContext.h"
#include "cli/EditStatus.h"
#include "store/Validation.h"
#include "texts/UiText.h"

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace vantor::cli {
namespace {

constexpr double kSecondsPerMinute = 60.0; // RPM = Hz x 60

struct CatalogueOptions {
    std::string machine; // the machine a new point goes on: GUID or unique name
    std::string guid;    // the row edited, deleted or moved
    std::string before;
    bool last = false;
    bool yes = false;
    std::optional<std::string> name;
    std::optional<std::string> meterName;
    std::optional<std::string> emails;
    std::optional<double> runSpeedHz;
    std::optional<double> rpm;
    std::optional<int> isoAlarms;
    std::optional<double> isoWarning;
    std::optional<double> isoCritical;
    std::optional<int> isoGroup;
    std::string foundation = "rigid";
    std::optional<int> bduAlarms;
    std::optional<double> bduWarning;
    std::optional<double> bduCritical;
    std::optional<std::string> lubeType;
    std::optional<std::string> lubeUnits;
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

template <class T, class V> void Set(T& field, const std::optional<V>& value) {
    if (value) {
        if constexpr (std::is_same_v<T, float>) {
            field = AsStoredFloat(*value); // as the column keeps it, for the editors' checks
        } else {
            field = static_cast<T>(*value);
        }
    }
}

void SetText(QString& field, const std::optional<std::string>& value) {
    if (value) {
        field = Q(*value);
    }
}

void ApplyNames(const CatalogueOptions& o, QString& name, QString& meterName, bool isNew) {
    SetText(name, o.name);
    SetText(meterName, o.meterName);
    if (isNew && !o.meterName) {
        meterName = name; // "Same as Name"
    }
}

void ApplyBearingAlarms(const CatalogueOptions& o, bool& on, float& warning, float& critical) {
    if (o.bduAlarms) {
        on = *o.bduAlarms != 0;
    }
    Set(warning, o.bduWarning);
    Set(critical, o.bduCritical);
}

void ApplyVib(const CatalogueOptions& o, CVib& vib) {
    ApplyNames(o, vib.sName, vib.sVMName, vib.sItemGUID.isEmpty());
    Set(vib.fRunSpeedHz, o.runSpeedHz);
    if (o.rpm) {
        vib.fRunSpeedHz = AsStoredFloat(*o.rpm / kSecondsPerMinute);
    }
    // The ISO 10816-3 zone limits of the machine group propose the levels; given levels win.
    if (o.isoGroup) {
        if (const auto limits = IsoLimitsForGroup(*o.isoGroup, o.foundation == "flexible" ? 1 : 0)) {
            vib.fISOWarningMMS = limits->warningMms;
            vib.fISOCriticalMMS = limits->criticalMms;
        }
    }
    if (o.isoAlarms) {
        vib.bISOAlarmsOn = *o.isoAlarms != 0;
    }
    Set(vib.fISOWarningMMS, o.isoWarning);
    Set(vib.fISOCriticalMMS, o.isoCritical);
    ApplyBearingAlarms(o, vib.bBDUAlarmsOn, vib.fBDUWarning, vib.fBDUCritical);
}

void ApplyLube(const CatalogueOptions& o, CLube& lube) {
    ApplyNames(o, lube.sName, lube.sVMName, lube.sItemGUID.isEmpty());
    SetText(lube.sLubeType, o.lubeType);
    SetText(lube.sLubeUnits, o.lubeUnits);
    ApplyBearingAlarms(o, lube.bBDUAlarmsOn, lube.fBDUWarning, lube.fBDUCritical);
}

// Runs `work` with the editor on the opened database; a data root that cannot be started fails.
template <class Work> int WithEditor(CommandContext& context, Work work) {
    CAppData& app = context.App();
    if (!RunHeadlessStartup(app)) {
        return kFailed;
    }
    CatalogueEditor editor(*app.MainConnection(), context.UserPrompter());
    return work(editor, *app.MainConnection());
}

int Added(const std::optional<QString>& guid) {
    if (!guid) {
        return kFailed;
    }
    PrintGuid(*guid);
    return kDone;
}

// The machine named by the MACHINE argument; its message and an empty GUID when there is none.
QString MachineArgument(CMainConnection& db, CommandContext& context, const std::string& key) {
    const QString guid = FindMachineGuid(db, Q(key));
    if (guid.isEmpty()) {
        context.UserPrompter().ShowMessage(UiText(text::ErrorLoadingRecord));
    }
    return guid;
}

void AddNameOptions(CLI::App* command, CatalogueOptions& o, bool withName) {
    if (withName) {
        command->add_option("--name", o.name, "Display name (at most 50 characters)");
    }
    command->add_option("--vm-name", o.meterName,
                        "Name shown on the meter (at most 14 characters; non-ASCII letters are dropped; "
                        "a new row takes its name)");
}

void AddBearingOptions(CLI::App* command, CatalogueOptions& o) {
    command->add_option("--bdu-alarms", o.bduAlarms, "Bearing damage alarms on (1) or off (0)")
        ->check(CLI::Range(0, 1));
    command->add_option("--bdu-warning", o.bduWarning, "Bearing damage warning level, BDU");
    command->add_option("--bdu-critical", o.bduCritical, "Bearing damage critical level, BDU");
}

void AddVibOptions(CLI::App* command, CatalogueOptions& o, bool withName) {
    AddNameOptions(command, o, withName);
    auto* hz = command->add_option("--run-speed", o.runSpeedHz, "Running speed, Hz");
    command->add_option("--rpm", o.rpm, "Running speed, RPM (Hz x 60)")->excludes(hz);
    command->add_option("--iso-alarms", o.isoAlarms, "ISO velocity alarms on (1) or off (0)")
        ->check(CLI::Range(0, 1));
    command->add_option("--iso-warning", o.isoWarning, "ISO velocity warning level, mm/s");
    command->add_option("--iso-critical", o.isoCritical, "ISO velocity critical level, mm/s");
    command
        ->add_option("--iso-group", o.isoGroup,
                     "Take the ISO levels from the ISO 10816-3 zone limits of machine group 1..4")
        ->check(CLI::Range(1, 4));
    command->add_option("--foundation", o.foundation, "Foundation of --iso-group: rigid or flexible")
        ->check(CLI::IsMember({"rigid", "flexible"}));
    AddBearingOptions(command, o);
}

void AddLubeOptions(CLI::App* command, CatalogueOptions& o, bool withName) {
    AddNameOptions(command, o, withName);
    command->add_option("--lube-type", o.lubeType, "Lubricant type");
    command->add_option("--lube-units", o.lubeUnits, "Unit of lubricant amounts");
    AddBearingOptions(command, o);
}

// delete GUID [--yes] and move GUID --before GUID|--last, the same for every kind of row.
template <class Delete, class Move>
void AddDeleteAndMove(CLI::App* parent, CommandContext& context, std::shared_ptr<CatalogueOptions> o,
                      const char* what, Delete remove, Move move) {
    auto* del = parent->add_subcommand("delete", std::string("Delete a ") + what +
                                                     " with everything under it (asks first)");
    del->add_option("guid", o->guid, "Its GUID")->required();
    del->add_flag("--yes", o->yes, "Answer Yes to the question");
    del->callback([&context, o, remove] {
        if (o->yes) {
            context.answers.yesNo = true;
        }
        context.status = WithEditor(context, [&](CatalogueEditor& editor, CMainConnection&) {
            return StatusOf(remove(editor, Q(o->guid)));
        });
    });

    auto* mv = parent->add_subcommand("move", std::string("Move a ") + what + " within its list");
    mv->add_option("guid", o->guid, "Its GUID")->required();
    auto* before = mv->add_option("--before", o->before, "Place it just before this sibling");
    mv->add_flag("--last", o->last, "Place it last")->excludes(before);
    mv->callback([&context, o, move] {
        if (o->before.empty() && !o->last) {
            context.UserPrompter().ShowMessage(QStringLiteral("move: --before GUID or --last is required"));
            context.status = kUsage;
            return;
        }
        context.status = WithEditor(context, [&](CatalogueEditor& editor, CMainConnection&) {
            return StatusOf(move(editor, Q(o->guid), Q(o->before)));
        });
    });
}

void AddMachineCommands(CLI::App& cli, CommandContext& context) {
    auto* machines = cli.add_subcommand("machine", "Add, edit, delete or move machines");
    machines->require_subcommand(1);
    auto o = std::make_shared<CatalogueOptions>();

    auto* add = machines->add_subcommand("add", "Add a machine; prints its GUID");
    add->add_option("name", o->name, "Display name")->required();
    AddNameOptions(add, *o, false);
    add->add_option("--emails", o->emails, "Exception e-mail addresses, separated by ';' (at most 5)");
    add->add_option("--before", o->before, "Place it just before this machine (else last)");
    add->callback([&context, o] {
        context.status = WithEditor(context, [&](CatalogueEditor& editor, CMainConnection&) {
            CMachine machine;
            ApplyNames(*o, machine.sName, machine.sVMName, true);
            return Added(
                editor.SaveMachine(machine, SplitAddresses(Q(o->emails.value_or(""))), Q(o->before)));
        });
    });

    auto* edit = machines->add_subcommand("edit", "Change a machine's names or e-mail addresses");
    edit->add_option("guid", o->guid, "The machine's GUID")->required();
    AddNameOptions(edit, *o, true);
    edit->add_option("--emails", o->emails,
                     "Exception e-mail addresses, separated by ';' (replaces the list)");
    edit->callback([&context, o] {
        context.status = WithEditor(context, [&](CatalogueEditor& editor, CMainConnection&) {
            std::optional<CMachine> machine = editor.LoadMachine(Q(o->guid));
            if (!machine) {
                return static_cast<int>(kFailed);
            }
            ApplyNames(*o, machine->sName, machine->sVMName, false);
            const QString addresses = o->emails ? Q(*o->emails) : machine->sEMails;
            return editor.SaveMachine(*machine, SplitAddresses(addresses)) ? static_cast<int>(kDone)
                                                                           : static_cast<int>(kFailed);
        });
    });

    AddDeleteAndMove(
        machines, context, o, "machine",
        [](CatalogueEditor& editor, const QString& guid) { return editor.DeleteMachine(guid); },
        [](CatalogueEditor& editor, const QString& guid, const QString& before) {
            return editor.MoveMachine(guid, before);
        });
}

void AddVibCommands(CLI::App& cli, CommandContext& context) {
    auto* vib = cli.add_subcommand("vib", "Add, edit, delete or move vibration points");
    vib->require_subcommand(1);
    auto o = std::make_shared<CatalogueOptions>();

    auto* add = vib->add_subcommand("add", "Add a vibration point to a machine; prints its GUID");
    add->add_option("machine", o->machine, "The machine: GUID or unique name")->required();
    add->add_option("name", o->name, "Display name")->required();
    AddVibOptions(add, *o, false);
    add->add_option("--before", o->before, "Place it just before this point of the machine (else last)");
    add->callback([&context, o] {
        context.status = WithEditor(context, [&](CatalogueEditor& editor, CMainConnection& db) {
            CVib point;
            point.sParentGUID = MachineArgument(db, context, o->machine);
            if (point.sParentGUID.isEmpty()) {
                return static_cast<int>(kFailed);
            }
            ApplyVib(*o, point);
            return Added(editor.SaveVib(point, Q(o->before)));
        });
    });

    auto* edit = vib->add_subcommand("edit", "Change a vibration point's settings");
    edit->add_option("guid", o->guid, "The point's GUID")->required();
    AddVibOptions(edit, *o, true);
    edit->callback([&context, o] {
        context.status = WithEditor(context, [&](CatalogueEditor& editor, CMainConnection&) {
            std::optional<CVib> point = editor.LoadVib(Q(o->guid));
            if (!point) {
                return static_cast<int>(kFailed);
            }
            ApplyVib(*o, *point);
            return editor.SaveVib(*point) ? static_cast<int>(kDone) : static_cast<int>(kFailed);
        });
    });

    AddDeleteAndMove(
        vib, context, o, "vibration point",
        [](CatalogueEditor& editor, const QString& guid) { return editor.DeleteVib(guid); },
        [](CatalogueEditor& editor, const QString& guid, const QString& before) {
            return editor.MoveVib(guid, before);
        });
}

void AddLubeCommands(CLI::App& cli, CommandContext& context) {
    auto* lube = cli.add_subcommand("lube", "Add, edit, delete or move lubrication points");
    lube->require_subcommand(1);
    auto o = std::make_shared<CatalogueOptions>();

    auto* add = lube->add_subcommand("add", "Add a lubrication point to a machine; prints its GUID");
    add->add_option("machine", o->machine, "The machine: GUID or unique name")->required();
    add->add_option("name", o->name, "Display name")->required();
    AddLubeOptions(add, *o, false);
    add->add_option("--before", o->before, "Place it just before this point of the machine (else last)");
    add->callback([&context, o] {
        context.status = WithEditor(context, [&](CatalogueEditor& editor, CMainConnection& db) {
            CLube point;
            point.sParentGUID = MachineArgument(db, context, o->machine);
            if (point.sParentGUID.isEmpty()) {
                return static_cast<int>(kFailed);
            }
            ApplyLube(*o, point);
            return Added(editor.SaveLube(point, Q(o->before)));
        });
    });

    auto* edit = lube->add_subcommand("edit", "Change a lubrication point's settings");
    edit->add_option("guid", o->guid, "The point's GUID")->required();
    AddLubeOptions(edit, *o, true);
    edit->callback([&context, o] {
        context.status = WithEditor(context, [&](CatalogueEditor& editor, CMainConnection&) {
            std::optional<CLube> point = editor.LoadLube(Q(o->guid));
            if (!point) {
                return static_cast<int>(kFailed);
            }
            ApplyLube(*o, *point);
            return editor.SaveLube(*point) ? static_cast<int>(kDone) : static_cast<int>(kFailed);
        });
    });

    AddDeleteAndMove(
        lube, context, o, "lubrication point",
        [](CatalogueEditor& editor, const QString& guid) { return editor.DeleteLube(guid); },
        [](CatalogueEditor& editor, const QString& guid, const QString& before) {
            return editor.MoveLube(guid, before);
        });
}

} // namespace

void AddCatalogueCommands(CLI::App& cli, CommandContext& context) {
    AddMachineCommands(cli, context);
    AddVibCommands(cli, context);
    AddLubeCommands(cli, context);
}

} // namespace vantor::cli
