#pragma once
// "Latest Machine Status": the vibration status table of one machine, or of every machine when the
// plant is selected. Per point: (machine,) name, date of the latest reading, the point status and
// the three chosen measure columns as status words or values ("Status as Values"), each status in
// its colour, in bold while "Bold On/Off" is on. After them, "Findings": what the automatic diagnosis
// finds in each point's latest reading, coloured by its most severe finding, each one in the tooltip.
// The status cell keeps the documented word and carries the findings' mark (a point whose findings
// alarm is marked even where its status is NOT CONFIGURED); its tooltip gives the reasons. Before
// the findings, "Due": the point's due date by its route schedule, in the critical colour once
// passed; "Overdue only" hides the other rows. A point with alarm events nobody acknowledged has a
// dot beside its name.

#include "app/PlantStatus.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QTableView;

namespace vantor {

class CAppData;
class StatusTableModel;

class MachineStatusTable : public QWidget {
    Q_OBJECT
public:
    MachineStatusTable(CAppData& app, QWidget* parent = nullptr);
    ~MachineStatusTable() override;

    // Fills the table from the snapshot with the current settings: the machine's points, or with an
    // empty GUID every machine's (with a machine column).
    void Show(const PlantSnapshot& plant, const QString& machineGuid);
    // A point's findings worked out after the table was shown: its row's mark and findings follow.
    void SetPointFindings(const QString& pointGuid, const std::optional<std::vector<Finding>>& findings);
    // Selects the row of a point of the shown machine (none when it is not shown).
    void SelectPoint(const QString& pointGuid);

    QString Title() const;
    QTableView* View() const { return view_; }
    // The rows as the table shows them (header row first); for tests and copying.
    QStringList HeaderTexts() const;
    QStringList RowTexts(int row) const;
    int RowCount() const;
    // The rows not hidden by "Overdue only".
    int VisibleRowCount() const;
    QCheckBox* OverdueOnly() const { return overdueOnly_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Columns sized to their contents; when they are wider than the pane together, the name
    // columns give up width (their text elided, whole in the tooltip) so that nothing scrolls
    // sideways while the names keep a readable least width.
    void FitColumns();
    // The width a column's values need (the first rows measured, as for the contents' width).
    int CellsWidth(int column) const;
    // Hides the rows that are not overdue while "Overdue only" is on.
    void ApplyOverdueFilter();

    CAppData& app_;
    QLabel* title_;
    QCheckBox* overdueOnly_;
    QTableView* view_;
    StatusTableModel* model_;
    QString machineName_;
    int nameColumns_ = 1; // the machine's and the point's name on the plant, else the point's
    std::vector<QString> pointGuids_;
    bool shown_ = false;
    QString shownMachine_; // the machine of the table shown (empty: the plant)
};

} // namespace vantor
