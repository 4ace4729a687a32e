#pragma once
// The report wizard: report type, machine selection, status tables, graphs, reporting period and,
// when chosen, the between-dates range, then the file: PDF or ODT and where it goes, with an optional
// sign-off (analyst, qualification, date) printed at the report's end. Finish builds the
// report in the progress dialog; the end says where it was written and offers to open it.

#include "app/CAppData.h"
#include "reports/document/ReportOptions.h"
#include "ui/common/FileQuestion.h"
#include "ui/report/ReportDoneDialog.h"

#include <QWizard>

#include <functional>

class QCheckBox;
class QDateEdit;
class QDateTimeEdit;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace vantor {

class CReportWizard : public QWizard {
    Q_OBJECT
public:
    enum PageId { TypePage, MachinesPage, StatusTablesPage, GraphsPage, PeriodPage, DatesPage, SavePage };
    enum class Format { Pdf, Odt };

    // `ask` answers the save page's Browse button.
    CReportWizard(CAppData& app, QWidget* parent = nullptr, FileQuestion ask = AskWithFileDialog);

    // The options as the pages hold them now.
    ReportOptions Options() const;

    // The controls, for the pages' own use and for tests.
    QRadioButton* TypeButton(ReportType type) const;
    QListWidget* MachineList() const { return machines_; }
    QCheckBox* StatusTableBox() const { return statusTable_; }
    QCheckBox* FindingsBox() const { return findings_; }
    QCheckBox* EnvelopeBox() const { return envelope_; }
    QCheckBox* TrendHistoryBox() const { return trendHistory_; }
    QCheckBox* GraphBox(ReportGraph graph) const;
    QRadioButton* PeriodButton(ReportPeriod period) const;
    QDateTimeEdit* StartEdit() const { return start_; }
    QDateTimeEdit* EndEdit() const { return end_; }
    QRadioButton* FormatButton(Format format) const { return formatButtons_[static_cast<int>(format)]; }
    QLineEdit* PathEdit() const { return path_; }
    QPushButton* BrowseButton() const { return browse_; }
    // The sign-off fields on the save page; left empty, the report has no sign-off.
    QLineEdit* AnalystEdit() const { return analyst_; }
    QLineEdit* QualificationEdit() const { return qualification_; }
    QDateEdit* SignOffDateEdit() const { return signOffDate_; }
    // The file the report goes to: the path as typed, with the chosen format's extension.
    QString OutputPath() const;

    int nextId() const override;
    bool validateCurrentPage() override;

private:
    QWizardPage* MakeTypePage();
    QWizardPage* MakeMachinesPage();
    QWizardPage* MakeStatusTablesPage();
    QWizardPage* MakeGraphsPage();
    QWizardPage* MakePeriodPage();
    QWizardPage* MakeDatesPage();
    QWizardPage* MakeSavePage();
    void TickAllMachines(bool ticked);
    // The path's extension follows the chosen format.
    void MatchExtension();
    void Browse();

    CAppData& app_;
    QRadioButton* typeButtons_[2] = {};
    QListWidget* machines_ = nullptr;
    QCheckBox* statusTable_ = nullptr;
    QCheckBox* findings_ = nullptr;
    QCheckBox* envelope_ = nullptr;
    QCheckBox* trendHistory_ = nullptr;
    QCheckBox* graphBoxes_[kReportGraphCount] = {};
    QRadioButton* periodButtons_[3] = {};
    QDateTimeEdit* start_ = nullptr;
    QDateTimeEdit* end_ = nullptr;
    FileQuestion ask_;
    QRadioButton* formatButtons_[2] = {};
    QLineEdit* path_ = nullptr;
    QPushButton* browse_ = nullptr;
    QLineEdit* analyst_ = nullptr;
    QLineEdit* qualification_ = nullptr;
    QDateEdit* signOffDate_ = nullptr;
};

// Where the wizard proposes to write a report: "<folder>/<title> <date-time>.pdf", the folder being
// the one the last report (or export) went to, else "<user folder>/Reports".
QString DesktopReportPath(const CAppData& app, const QDateTime& now);

// The whole road from the main window's "Create Report": the wizard, then on Finish the progress
// dialog building the report, then the end dialog naming the file with Open and Show in Folder
// (`opener` starts the program; tests replace it). The chosen folder is remembered.
void RunReportWizard(CAppData& app, QWidget* parent, const DocumentOpenerHook& opener = {});

} // namespace vantor
