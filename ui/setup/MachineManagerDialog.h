#pragma once
// "Machine Manager": the machines in order and, for the selected one, its vibration points and
// (in editions with lubrication) its lubrication points. Each list adds, inserts before the
// selection, edits, deletes (after asking, with everything under the row) and moves rows, all
// through the catalogue editor.

#include "analysis/DisplayUnits.h"
#include "app/CAppData.h"
#include "app/CatalogueEditor.h"

#include <QDialog>

namespace vantor {

class EditableList;

// Runs the machine manager over the main window; true when anything was stored, so that the
// machine tree is rebuilt.
bool RunMachineManager(CAppData& app, QWidget* parent);

class CMachineManagerDialog : public QDialog {
    Q_OBJECT
public:
    explicit CMachineManagerDialog(CAppData& app, QWidget* parent = nullptr);

    bool Changed() const { return changed_; }
    EditableList* Machines() const { return machines_; }
    EditableList* VibPoints() const { return vibs_; }
    EditableList* LubePoints() const { return lubes_; }

    // The point set-up dialogs are created modal over this one; tests answer them.
    void AddMachine(const QString& before = {});
    void EditMachine(const QString& guid);
    void DeleteMachine(const QString& guid);
    void MoveMachine(const QString& guid, int step);
    void AddVib(const QString& before = {});
    void EditVib(const QString& guid);
    void DeleteVib(const QString& guid);
    void MoveVib(const QString& guid, int step);
    void AddLube(const QString& before = {});
    void EditLube(const QString& guid);
    void DeleteLube(const QString& guid);
    void MoveLube(const QString& guid, int step);

private:
    void FillMachines(const QString& select = {});
    void FillPoints();
    QString SelectedMachine() const;
    // The sibling a row moved by `step` goes before ("" for last); nothing when it cannot move.
    static std::optional<QString> MoveTarget(const EditableList& list, const QString& guid, int step);
    void Stored(bool stored);

    CAppData& app_;
    CatalogueEditor editor_;
    DisplayUnits units_;
    EditableList* machines_;
    EditableList* vibs_;
    EditableList* lubes_;
    bool changed_ = false;
};

} // namespace vantor
