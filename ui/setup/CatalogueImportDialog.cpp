#include "ui/setup/CatalogueImportDialog.h"

#include "app/Database.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vantor {
namespace {

const QString kCsvFilter = QStringLiteral("CSV (*.csv)");
const QColor kRefusedRow(255, 220, 220);

QString StartFolder(const CAppData& app) {
    return app.settings.exportToFolder;
}

void RememberFolder(CAppData& app, const QString& path) {
    app.settings.exportToFolder = QFileInfo(path).absolutePath();
    app.WriteSettings();
}

} // namespace

bool RunCatalogueImport(CAppData& app, QWidget* parent, const FileQuestion& ask) {
    if (!DatabaseOpen(app)) {
        return false;
    }
    const QString path =
        ask(parent, FileRequest{UiText(text::added::ImportCatalogue), StartFolder(app), kCsvFilter, false});
    if (path.isEmpty()) {
        return false;
    }
    RememberFolder(app, path);
    CCatalogueImportDialog dialog(app, path, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool RunCatalogueExport(CAppData& app, QWidget* parent, const FileQuestion& ask) {
    if (!DatabaseOpen(app)) {
        return false;
    }
    QString path =
        ask(parent, FileRequest{UiText(text::added::ExportCatalogue), StartFolder(app), kCsvFilter, true});
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".csv");
    }
    RememberFolder(app, path);
    if (!ExportCatalogueCsvFile(Database(app), path)) {
        app.UserPrompter().ShowMessage(UiText(text::ErrorExportingData));
        return false;
    }
    return true;
}

CCatalogueImportDialog::CCatalogueImportDialog(CAppData& app, const QString& path, QWidget* parent)
    : QDialog(parent), app_(app), table_(new QTableWidget(this)), summary_(new QLabel(this)) {
    setWindowTitle(
        QStringLiteral("%1 - %2").arg(UiText(text::added::ImportCatalogue), QFileInfo(path).fileName()));
    table_->setObjectName(QStringLiteral("Preview"));
    summary_->setObjectName(QStringLiteral("Summary"));
    summary_->setWordWrap(true);
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        plan_ = PlanCatalogueImport(Database(app), file.readAll());
    } else {
        plan_.errors << UiText(text::ErrorImportingData);
    }

    auto* buttons = new QDialogButtonBox(this);
    import_ = buttons->addButton(UiText(text::ImportMenu), QDialogButtonBox::AcceptRole);
    import_->setObjectName(QStringLiteral("ImportButton"));
    buttons->addButton(UiText(text::Cancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(summary_);
    layout->addWidget(buttons);
    // Within a 1024 × 768 screen; the table scrolls for a wide file.
    resize(980, 520);
    Fill();
}

void CCatalogueImportDialog::Fill() {
    // Line, what the row does (or why it is refused), then the file's columns.
    QStringList headers{QStringLiteral("#"), QString()};
    headers << CatalogueCsvHeader();
    table_->setColumnCount(static_cast<int>(headers.size()));
    table_->setHorizontalHeaderLabels(headers);
    table_->setRowCount(static_cast<int>(plan_.rows.size()));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    for (int row = 0; row < table_->rowCount(); ++row) {
        const CatalogueCsvRow& csv = plan_.rows[static_cast<std::size_t>(row)];
        const bool newRow = csv.newPoint || (csv.newMachine && csv.cells.value(2).isEmpty());
        const QString action =
            csv.error.isEmpty() ? UiText(newRow ? text::AddCommand : text::Update) : csv.error;
        table_->setItem(row, 0, new QTableWidgetItem(QString::number(csv.line)));
        auto* actionItem = new QTableWidgetItem(action);
        actionItem->setToolTip(action);
        table_->setItem(row, 1, actionItem);
        for (int column = 0; column < csv.cells.size(); ++column) {
            table_->setItem(row, column + 2, new QTableWidgetItem(csv.cells[column]));
        }
        if (!csv.error.isEmpty()) {
            for (int column = 0; column < table_->columnCount(); ++column) {
                if (QTableWidgetItem* item = table_->item(row, column)) {
                    item->setBackground(kRefusedRow);
                }
            }
        }
    }
    // Columns the file leaves empty throughout (or does not have) are not shown.
    for (int column = 2; column < table_->columnCount(); ++column) {
        bool empty = true;
        for (int row = 0; row < table_->rowCount() && empty; ++row) {
            empty = table_->item(row, column)->text().isEmpty();
        }
        table_->setColumnHidden(column, empty && table_->rowCount() > 0);
    }
    table_->resizeColumnsToContents();
    // Errors that belong to no row (the header, an unreadable file) are listed under the table.
    summary_->setText(plan_.Ok() ? plan_.Summary() : plan_.errors.join(QLatin1Char('\n')));
    import_->setEnabled(plan_.Ok() && !plan_.rows.empty());
}

void CCatalogueImportDialog::accept() {
    if (!plan_.Ok()) {
        return;
    }
    if (!ApplyCatalogueImport(Database(app_), plan_)) {
        app_.UserPrompter().ShowMessage(UiText(text::ErrorImportingData));
        return;
    }
    QDialog::accept();
}

} // namespace vantor
