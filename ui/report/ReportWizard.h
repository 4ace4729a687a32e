#pragma once
// The report wizard: report type, machine selection, status tables, graphs, reporting period and,
// when chosen, the between-dates range; Finish builds the report in the progress dialog and opens
// it with the desktop's default program.

#include "app/CAppData.h"
#include "reports/document/ReportOptions.h"

#include <QWizard>

#include <functional>

class QCheckBox;
class QDateTimeEdit;
class QListWidget;
class QRadioButton;

namespace vantor {

class CReportWizard : public QWizard {
    Q_OBJECT
public:
    enum PageId { TypePage, MachinesPage, StatusTablesPage, GraphsPage, PeriodPage, DatesPage };

    CReportWizard(CAppData& app, QWidget* parent = nullptr);

    // The options as the pages hold them now.
    ReportOptions Options() const;

    // The controls, for the pages' own use and for tests.
    QRadioButton* TypeButton(ReportType type) const;
    QListWidget* MachineList() const { return machines_; }
    QCheckBox* StatusTableBox() const { return statusTable_; }
    QCheckBox* GraphBox(ReportGraph graph) const;
    QRadioButton* PeriodButton(ReportPeriod period) const;
    QDateTimeEdit* StartEdit() const { return start_; }
    QDateTimeEdit* EndEdit() const { return end_; }

    int nextId() const override;
    bool validateCurrentPage() override;

private:
    QWizardPage* MakeTypePage();
    QWizardPage* MakeMachinesPage();
    QWizardPage* MakeStatusTablesPage();
    QWizardPage* MakeGraphsPage();
    QWizardPage* MakePeriodPage();
    QWizardPage* MakeDatesPage();
    void TickAllMachines(bool ticked);

    CAppData& app_;
    QRadioButton* typeButtons_[2] = {};
    QListWidget* machines_ = nullptr;
    QCheckBox* statusTable_ = nullptr;
    QCheckBox* graphBoxes_[kReportGraphCount] = {};
    QRadioButton* periodButtons_[3] = {};
    QDateTimeEdit* start_ = nullptr;
    QDateTimeEdit* end_ = nullptr;
};

// Where the desktop writes a report: "<user folder>/Reports/<title> <date-time>.odt".
QString DesktopReportPath(const CAppData& app, const QDateTime& now);

// The whole road from the main window's "Create Report": the wizard, then on Finish the progress
// dialog building the report, then the document opened with the desktop's default program.
void RunReportWizard(CAppData& app, QWidget* parent);

} // namespace vantor
