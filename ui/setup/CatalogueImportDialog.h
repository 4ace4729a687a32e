#pragma once
// The catalogue from a spreadsheet on the desktop: the File menu's import shows every row of the
// chosen CSV file with what it would do (Add or Update) or why it is refused, and stores the whole
// file only when every row passes; the export writes the catalogue to a chosen file.

#include "app/CAppData.h"
#include "app/CatalogueCsv.h"
#include "ui/common/FileQuestion.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace vantor {

// Asks for a CSV file, then previews and imports it; true when anything was stored.
bool RunCatalogueImport(CAppData& app, QWidget* parent, const FileQuestion& ask = AskWithFileDialog);
// Asks for a file name and writes the catalogue; true when written.
bool RunCatalogueExport(CAppData& app, QWidget* parent, const FileQuestion& ask = AskWithFileDialog);

class CCatalogueImportDialog : public QDialog {
    Q_OBJECT
public:
    CCatalogueImportDialog(CAppData& app, const QString& path, QWidget* parent = nullptr);

    const CatalogueImportPlan& Plan() const { return plan_; }
    QTableWidget* Table() const { return table_; }
    QPushButton* ImportButton() const { return import_; }

    // Stores the plan; the dialog stays open when that fails.
    void accept() override;

private:
    void Fill();

    CAppData& app_;
    CatalogueImportPlan plan_;
    QTableWidget* table_;
    QLabel* summary_;
    QPushButton* import_;
};

} // namespace vantor
