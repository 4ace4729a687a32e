#pragma once
// "Bearings": the bearing library's editor. A list with search by designation, and Add, Edit,
// Delete, Import and Export; a bearing is edited in its own dialog by geometry or by its maker's
// factors, with the four factors shown as they follow from what is typed.

#include "app/BearingEditor.h"
#include "app/CAppData.h"

#include <QDialog>

#include <array>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace vantor {

// Shows the library; true when anything was changed.
bool RunBearingLibrary(CAppData& app, QWidget* parent);

class CBearingDialog : public QDialog {
    Q_OBJECT
public:
    // A new bearing has an empty sItemGUID.
    CBearingDialog(BearingEditor& editor, const CBearing& bearing, QWidget* parent = nullptr);
    QString SavedGuid() const { return saved_; }
    void accept() override;
    // The bearing as the fields describe it.
    CBearing Entered() const;

private:
    void UpdateFactors();

    BearingEditor& editor_;
    CBearing bearing_;
    QLineEdit* designation_;
    QLineEdit* maker_;
    QComboBox* describedBy_;
    QSpinBox* elements_;
    QDoubleSpinBox* elementDiameter_;
    QDoubleSpinBox* pitchDiameter_;
    QDoubleSpinBox* contactAngle_;
    std::array<QDoubleSpinBox*, 4> factors_{}; // FTF, BSF, BPFO, BPFI
    QLineEdit* source_;
    QLabel* computed_;
    QString saved_;
};

class CBearingLibraryDialog : public QDialog {
    Q_OBJECT
public:
    CBearingLibraryDialog(CAppData& app, QWidget* parent = nullptr);
    bool Changed() const { return changed_; }
    // The rows shown (after the search), their bearings' GUIDs in order.
    QStringList ShownGuids() const;
    void SetSearch(const QString& text);
    void Select(const QString& guid);

    // The buttons' commands; Import and Export ask for the file, ImportFile and ExportFile take it.
    void Add();
    void Edit();
    void Delete();
    void Import();
    void Export();
    void ImportFile(const QString& path);
    void ExportFile(const QString& path);

private:
    void Fill();
    QString SelectedGuid() const;

    CAppData& app_;
    BearingEditor editor_;
    QLineEdit* search_;
    QTableWidget* table_;
    bool changed_ = false;
};

} // namespace vantor
