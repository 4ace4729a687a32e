#include "ui/setup/MachineManagerDialog.h"

#include "app/Database.h"
#include "app/RecordLists.h"
#include "app/TypedSettings.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"
#include "ui/setup/EditableList.h"
#include "ui/setup/EditorFields.h"
#include "ui/setup/MachineSetupDialog.h"
#include "ui/setup/ManagerDialogLayout.h"
#include "ui/setup/PointSetupDialogs.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

bool RunMachineManager(CAppData& app, QWidget* parent) {
    if (!DatabaseOpen(app)) {
        return false;
    }
    CMachineManagerDialog dialog(app, parent);
    dialog.exec();
    return dialog.Changed();
}

CMachineManagerDialog::CMachineManagerDialog(CAppData& app, QWidget* parent)
    : QDialog(parent), app_(app), editor_(Database(app), app.UserPrompter()),
      units_(DisplayUnitsOf(app.settings)),
      machines_(new EditableList(
          UiText(text::SectionMachines),
          {UiText(text::OrderColumn), UiText(text::NameField), UiText(text::MeterNameField)}, true, this)),
      vibs_(
          new EditableList(UiText(text::VibPoints),
                           {UiText(text::NameField), UiText(text::MeterNameField),
                            QStringLiteral("%1 (%2)").arg(UiText(text::RunSpeedLabel), UiText(text::UnitHz)),
                            UiText(text::IsoAlarms), UiText(text::BearingAlarms)},
                           true, this)),
      lubes_(new EditableList(
          UiText(text::LubePoints),
          {UiText(text::NameField), UiText(text::MeterNameField), UiText(text::BearingAlarms)}, true, this)) {
    setWindowTitle(UiText(text::MachineManagerTitle));
    machines_->setObjectName(QStringLiteral("Machines"));
    vibs_->setObjectName(QStringLiteral("VibPoints"));
    lubes_->setObjectName(QStringLiteral("LubePoints"));
    vibs_->setVisible(app.vibPointsEnabled);
    lubes_->setVisible(app.lubePointsEnabled);

    connect(machines_, &EditableList::addRequested, this, [this] { AddMachine(); });
    connect(machines_, &EditableList::insertRequested, this, [this](const QString& g) { AddMachine(g); });
    connect(machines_, &EditableList::editRequested, this, &CMachineManagerDialog::EditMachine);
    connect(machines_, &EditableList::deleteRequested, this, &CMachineManagerDialog::DeleteMachine);
    connect(machines_, &EditableList::moveRequested, this, &CMachineManagerDialog::MoveMachine);
    connect(machines_->List(), &QTreeWidget::itemSelectionChanged, this, &CMachineManagerDialog::FillPoints);
    connect(vibs_, &EditableList::addRequested, this, [this] { AddVib(); });
    connect(vibs_, &EditableList::insertRequested, this, [this](const QString& g) { AddVib(g); });
    connect(vibs_, &EditableList::editRequested, this, &CMachineManagerDialog::EditVib);
    connect(vibs_, &EditableList::deleteRequested, this, &CMachineManagerDialog::DeleteVib);
    connect(vibs_, &EditableList::moveRequested, this, &CMachineManagerDialog::MoveVib);
    connect(lubes_, &EditableList::addRequested, this, [this] { AddLube(); });
    connect(lubes_, &EditableList::insertRequested, this, [this](const QString& g) { AddLube(g); });
    connect(lubes_, &EditableList::editRequested, this, &CMachineManagerDialog::EditLube);
    connect(lubes_, &EditableList::deleteRequested, this, &CMachineManagerDialog::DeleteLube);
    connect(lubes_, &EditableList::moveRequested, this, &CMachineManagerDialog::MoveLube);

    auto* points = new QWidget(this);
    auto* pointsLayout = new QVBoxLayout(points);
    pointsLayout->setContentsMargins(0, 0, 0, 0);
    pointsLayout->addWidget(vibs_);
    pointsLayout->addWidget(lubes_);
    SetManagerLayout(*this, machines_, points);
    resize(980, 560);
    FillMachines();
}

QString CMachineManagerDialog::SelectedMachine() const {
    return machines_->List()->SelectedGuid();
}

void CMachineManagerDialog::FillMachines(const QString& select) {
    std::vector<RecordList::Row> rows;
    int order = 0;
    for (const CMachine& machine : ListMachinesShown(app_).value_or(std::vector<CMachine>{})) {
        rows.push_back({{QString::number(++order), machine.sName, machine.sVMName}, machine.sItemGUID});
    }
    const QString keep = select.isEmpty() ? SelectedMachine() : select;
    machines_->List()->SetRows(rows);
    machines_->List()->SelectGuid(keep.isEmpty() ? machines_->GuidAt(0) : keep);
    FillPoints();
}

void CMachineManagerDialog::FillPoints() {
    const QString machine = SelectedMachine();
    const auto alarms = [](bool on, float warning, float critical) {
        return on ? QStringLiteral("%1 / %2").arg(FormatShown(static_cast<double>(warning), kLevelDecimals),
                                                  FormatShown(static_cast<double>(critical), kLevelDecimals))
                  : UiText(text::Off);
    };
    std::vector<RecordList::Row> vibRows;
    std::vector<RecordList::Row> lubeRows;
    if (!machine.isEmpty()) {
        const float factor = units_.AmplitudeFactor();
        for (const CVib& vib : ListVibsShown(app_, machine).value_or(std::vector<CVib>{})) {
            vibRows.push_back(
                {{vib.sName, vib.sVMName, FormatShown(static_cast<double>(vib.fRunSpeedHz), kHzDecimals),
                  alarms(vib.bISOAlarmsOn, vib.fISOWarningMMS * factor, vib.fISOCriticalMMS * factor),
                  alarms(vib.bBDUAlarmsOn, vib.fBDUWarning, vib.fBDUCritical)},
                 vib.sItemGUID});
        }
        for (const CLube& lube : ListLubesShown(app_, machine).value_or(std::vector<CLube>{})) {
            lubeRows.push_back(
                {{lube.sName, lube.sVMName, alarms(lube.bBDUAlarmsOn, lube.fBDUWarning, lube.fBDUCritical)},
                 lube.sItemGUID});
        }
    }
    vibs_->List()->SetRows(vibRows);
    lubes_->List()->SetRows(lubeRows);
    vibs_->Button(QStringLiteral("Add"))->setEnabled(!machine.isEmpty());
    lubes_->Button(QStringLiteral("Add"))->setEnabled(!machine.isEmpty());
}

std::optional<QString> CMachineManagerDialog::MoveTarget(const EditableList& list, const QString& guid,
                                                         int step) {
    int row = -1;
    for (int i = 0; i < list.List()->topLevelItemCount(); ++i) {
        if (list.GuidAt(i) == guid) {
            row = i;
        }
    }
    const int count = list.List()->topLevelItemCount();
    if (row < 0 || (step < 0 && row == 0) || (step > 0 && row == count - 1)) {
        return std::nullopt;
    }
    // Up: before the row above. Down: before the row after the next one, or last.
    return step < 0 ? list.GuidAt(row - 1) : list.GuidAt(row + 2);
}

void CMachineManagerDialog::Stored(bool stored) {
    changed_ = changed_ || stored;
}

void CMachineManagerDialog::AddMachine(const QString& before) {
    CMachineSetupDialog dialog(editor_, app_.UserPrompter(), CMachine{}, before, this);
    if (dialog.exec() == QDialog::Accepted) {
        Stored(true);
        FillMachines(dialog.SavedGuid());
    }
}

void CMachineManagerDialog::EditMachine(const QString& guid) {
    const std::optional<CMachine> machine = editor_.LoadMachine(guid);
    if (!machine) {
        return;
    }
    CMachineSetupDialog dialog(editor_, app_.UserPrompter(), *machine, {}, this);
    if (dialog.exec() == QDialog::Accepted) {
        Stored(true);
        FillMachines(guid);
    }
}

void CMachineManagerDialog::DeleteMachine(const QString& guid) {
    const int row = machines_->SelectedRow();
    if (editor_.DeleteMachine(guid) == EditOutcome::Done) {
        Stored(true);
        FillMachines(machines_->GuidAt(row + 1).isEmpty() ? machines_->GuidAt(row - 1)
                                                          : machines_->GuidAt(row + 1));
    }
}

void CMachineManagerDialog::MoveMachine(const QString& guid, int step) {
    if (const std::optional<QString> before = MoveTarget(*machines_, guid, step)) {
        Stored(editor_.MoveMachine(guid, *before) == EditOutcome::Done);
        FillMachines(guid);
    }
}

void CMachineManagerDialog::AddVib(const QString& before) {
    const QString machine = SelectedMachine();
    if (machine.isEmpty()) {
        app_.UserPrompter().ShowMessage(UiText(text::PleaseMakeSelection));
        return;
    }
    // A full machine is refused before the user fills in a point.
    if (!editor_.CanAddVibTo(machine)) {
        return;
    }
    CVib vib;
    vib.sParentGUID = machine;
    CVibPointSetupDialog dialog(editor_, app_.UserPrompter(), vib, units_, before, this);
    if (dialog.exec() == QDialog::Accepted) {
        Stored(true);
        FillPoints();
        vibs_->List()->SelectGuid(dialog.SavedGuid());
    }
}

void CMachineManagerDialog::EditVib(const QString& guid) {
    const std::optional<CVib> vib = editor_.LoadVib(guid);
    if (!vib) {
        return;
    }
    CVibPointSetupDialog dialog(editor_, app_.UserPrompter(), *vib, units_, {}, this);
    if (dialog.exec() == QDialog::Accepted) {
        Stored(true);
        FillPoints();
        vibs_->List()->SelectGuid(guid);
    }
}

void CMachineManagerDialog::DeleteVib(const QString& guid) {
    if (editor_.DeleteVib(guid) == EditOutcome::Done) {
        Stored(true);
        FillPoints();
    }
}

void CMachineManagerDialog::MoveVib(const QString& guid, int step) {
    if (const std::optional<QString> before = MoveTarget(*vibs_, guid, step)) {
        Stored(editor_.MoveVib(guid, *before) == EditOutcome::Done);
        FillPoints();
        vibs_->List()->SelectGuid(guid);
    }
}

void CMachineManagerDialog::AddLube(const QString& before) {
    const QString machine = SelectedMachine();
    if (machine.isEmpty()) {
        app_.UserPrompter().ShowMessage(UiText(text::PleaseMakeSelection));
        return;
    }
    if (!editor_.CanAddLubeTo(machine)) {
        return;
    }
    CLube lube;
    lube.sParentGUID = machine;
    CLubePointSetupDialog dialog(editor_, app_.UserPrompter(), lube, before, this);
    if (dialog.exec() == QDialog::Accepted) {
        Stored(true);
        FillPoints();
        lubes_->List()->SelectGuid(dialog.SavedGuid());
    }
}

void CMachineManagerDialog::EditLube(const QString& guid) {
    const std::optional<CLube> lube = editor_.LoadLube(guid);
    if (!lube) {
        return;
    }
    CLubePointSetupDialog dialog(editor_, app_.UserPrompter(), *lube, {}, this);
    if (dialog.exec() == QDialog::Accepted) {
        Stored(true);
        FillPoints();
        lubes_->List()->SelectGuid(guid);
    }
}

void CMachineManagerDialog::DeleteLube(const QString& guid) {
    if (editor_.DeleteLube(guid) == EditOutcome::Done) {
        Stored(true);
        FillPoints();
    }
}

void CMachineManagerDialog::MoveLube(const QString& guid, int step) {
    if (const std::optional<QString> before = MoveTarget(*lubes_, guid, step)) {
        Stored(editor_.MoveLube(guid, *before) == EditOutcome::Done);
        FillPoints();
        lubes_->List()->SelectGuid(guid);
    }
}

} // namespace vantor
