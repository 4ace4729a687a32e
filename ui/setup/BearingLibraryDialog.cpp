#include "ui/setup/BearingLibraryDialog.h"

#include "analysis/BearingFactors.h"
#include "app/Database.h"
#include "texts/UiText.h"
#include "ui/common/DialogButtons.h"
#include "ui/common/MainWindowTexts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vantor {
namespace {

constexpr const char* kFactorNames[4] = {"FTF", "BSF", "BPFO", "BPFI"};
constexpr int kFactorDecimals = 4;
constexpr int kDiameterDecimals = 3;
constexpr double kLargestDiameterMM = 10000;
constexpr double kLargestContactAngle = 89.99;
constexpr int kNewBearingElements = 9; // a common deep-groove count, a start for typing
constexpr const char* kCsvFilter = "CSV (*.csv *.txt);;* (*)";

QDoubleSpinBox* NumberBox(double maximum, int decimals, QWidget* parent, const char* name) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, maximum);
    box->setDecimals(decimals);
    return box;
}

QString FactorsText(const BearingFactors& f) {
    return QStringLiteral("FTF %1   BSF %2   BPFO %3   BPFI %4")
        .arg(f.ftf, 0, 'f', kFactorDecimals)
        .arg(f.bsf, 0, 'f', kFactorDecimals)
        .arg(f.bpfo, 0, 'f', kFactorDecimals)
        .arg(f.bpfi, 0, 'f', kFactorDecimals);
}

} // namespace

bool RunBearingLibrary(CAppData& app, QWidget* parent) {
    if (!DatabaseOpen(app)) {
        return false;
    }
    CBearingLibraryDialog dialog(app, parent);
    dialog.exec();
    return dialog.Changed();
}

// ---- one bearing --------------------------------------------------------------------------------

CBearingDialog::CBearingDialog(BearingEditor& editor, const CBearing& bearing, QWidget* parent)
    : QDialog(parent), editor_(editor), bearing_(bearing),
      designation_(new QLineEdit(bearing.sDesignation, this)), maker_(new QLineEdit(bearing.sMaker, this)),
      describedBy_(new QComboBox(this)), elements_(new QSpinBox(this)),
      elementDiameter_(NumberBox(kLargestDiameterMM, kDiameterDecimals, this, "ElementDiameter")),
      pitchDiameter_(NumberBox(kLargestDiameterMM, kDiameterDecimals, this, "PitchDiameter")),
      contactAngle_(NumberBox(kLargestContactAngle, 2, this, "ContactAngle")),
      source_(new QLineEdit(bearing.sSource, this)), computed_(new QLabel(this)) {
    const bool fresh = bearing.sItemGUID.isEmpty();
    setWindowTitle(UiText(fresh ? text::added::NewBearing : text::added::Bearing));
    designation_->setObjectName(QStringLiteral("Designation"));
    designation_->setMaxLength(kBearingTextLimit);
    maker_->setObjectName(QStringLiteral("Maker"));
    maker_->setMaxLength(kBearingTextLimit);
    source_->setObjectName(QStringLiteral("Source"));
    describedBy_->setObjectName(QStringLiteral("DescribedBy"));
    describedBy_->addItems({UiText(text::added::Geometry), UiText(text::added::MakersFactors)});
    elements_->setObjectName(QStringLiteral("RollingElements"));
    elements_->setRange(0, kMostRollingElements);
    computed_->setObjectName(QStringLiteral("ComputedFactors"));
    computed_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* form = new QFormLayout;
    form->addRow(UiText(text::added::Designation), designation_);
    form->addRow(UiText(text::added::Maker), maker_);
    form->addRow(UiText(text::added::DescribedBy), describedBy_);
    form->addRow(UiText(text::added::RollingElements), elements_);
    form->addRow(UiText(text::added::ElementDiameter), elementDiameter_);
    form->addRow(UiText(text::added::PitchDiameter), pitchDiameter_);
    form->addRow(UiText(text::added::ContactAngle), contactAngle_);
    for (std::size_t i = 0; i < factors_.size(); ++i) {
        factors_[i] = NumberBox(kLargestFactor, kFactorDecimals, this, kFactorNames[i]);
        form->addRow(UiText(text::added::TimesRunSpeed).arg(QLatin1String(kFactorNames[i])), factors_[i]);
    }
    form->addRow(UiText(text::added::SourceOfFigures), source_);
    form->addRow(UiText(text::added::Factors), computed_);

    const bool geometry = bearing.iRollingElements > 0 || fresh;
    describedBy_->setCurrentIndex(geometry ? 0 : 1);
    elements_->setValue(fresh ? kNewBearingElements : bearing.iRollingElements);
    elementDiameter_->setValue(bearing.fRollingElementDiameterMM);
    pitchDiameter_->setValue(bearing.fPitchDiameterMM);
    contactAngle_->setValue(bearing.fContactAngleDeg);
    const BearingFactors f = FactorsOf(bearing);
    const double values[4] = {f.ftf, f.bsf, f.bpfo, f.bpfi};
    for (std::size_t i = 0; i < factors_.size(); ++i) {
        factors_[i]->setValue(values[i]);
        connect(factors_[i], &QDoubleSpinBox::valueChanged, this, &CBearingDialog::UpdateFactors);
    }
    connect(describedBy_, &QComboBox::currentIndexChanged, this, &CBearingDialog::UpdateFactors);
    connect(elements_, &QSpinBox::valueChanged, this, &CBearingDialog::UpdateFactors);
    for (QDoubleSpinBox* box : {elementDiameter_, pitchDiameter_, contactAngle_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, &CBearingDialog::UpdateFactors);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(MakeOkCancelButtons(this));
    UpdateFactors();
}

CBearing CBearingDialog::Entered() const {
    CBearing bearing = bearing_;
    bearing.sDesignation = designation_->text();
    bearing.sMaker = maker_->text();
    bearing.sSource = source_->text();
    if (describedBy_->currentIndex() == 0) {
        bearing.iRollingElements = elements_->value();
        bearing.fRollingElementDiameterMM = static_cast<float>(elementDiameter_->value());
        bearing.fPitchDiameterMM = static_cast<float>(pitchDiameter_->value());
        bearing.fContactAngleDeg = static_cast<float>(contactAngle_->value());
    } else {
        bearing.iRollingElements = 0;
        bearing.fRollingElementDiameterMM = bearing.fPitchDiameterMM = bearing.fContactAngleDeg = 0;
        bearing.fFTF = static_cast<float>(factors_[0]->value());
        bearing.fBSF = static_cast<float>(factors_[1]->value());
        bearing.fBPFO = static_cast<float>(factors_[2]->value());
        bearing.fBPFI = static_cast<float>(factors_[3]->value());
    }
    return bearing;
}

void CBearingDialog::UpdateFactors() {
    const bool geometry = describedBy_->currentIndex() == 0;
    for (QWidget* field :
         std::initializer_list<QWidget*>{elements_, elementDiameter_, pitchDiameter_, contactAngle_}) {
        field->setEnabled(geometry);
    }
    for (QDoubleSpinBox* factor : factors_) {
        factor->setEnabled(!geometry);
    }
    CBearing bearing = Entered();
    bearing.sDesignation = QStringLiteral("-"); // the designation is checked on OK
    const std::optional<QString> refused = CheckBearing(bearing);
    computed_->setText(refused ? *refused : FactorsText(FactorsOf(bearing)));
}

void CBearingDialog::accept() {
    if (const std::optional<QString> guid = editor_.SaveBearing(Entered())) {
        saved_ = *guid;
        QDialog::accept();
    }
}

// ---- the library --------------------------------------------------------------------------------

CBearingLibraryDialog::CBearingLibraryDialog(CAppData& app, QWidget* parent)
    : QDialog(parent), app_(app), editor_(Database(app), app.UserPrompter()), search_(new QLineEdit(this)),
      table_(new QTableWidget(this)) {
    setWindowTitle(UiText(text::added::Bearings));
    search_->setObjectName(QStringLiteral("BearingSearch"));
    search_->setPlaceholderText(UiText(text::added::SearchByDesignation));
    search_->setClearButtonEnabled(true);
    table_->setObjectName(QStringLiteral("BearingTable"));
    table_->setColumnCount(8);
    table_->setHorizontalHeaderLabels({UiText(text::added::Designation), UiText(text::added::Maker),
                                       QStringLiteral("Z"), QStringLiteral("FTF"), QStringLiteral("BSF"),
                                       QStringLiteral("BPFO"), QStringLiteral("BPFI"),
                                       UiText(text::added::Source)});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(search_, &QLineEdit::textChanged, this, &CBearingLibraryDialog::Fill);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &CBearingLibraryDialog::Edit);

    auto* buttons = new QVBoxLayout;
    const std::pair<QString, void (CBearingLibraryDialog::*)()> commands[] = {
        {UiText(text::AddCommand) + QStringLiteral("..."), &CBearingLibraryDialog::Add},
        {UiText(text::EditCommand) + QStringLiteral("..."), &CBearingLibraryDialog::Edit},
        {UiText(text::DeleteCommand), &CBearingLibraryDialog::Delete},
        {UiText(text::ImportMenu) + QStringLiteral("..."), &CBearingLibraryDialog::Import},
        {UiText(text::ExportMenu) + QStringLiteral("..."), &CBearingLibraryDialog::Export}};
    for (const auto& [caption, command] : commands) {
        auto* button = new QPushButton(caption, this);
        connect(button, &QPushButton::clicked, this, command);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* close = new QPushButton(UiText(text::window::Close), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(close);

    auto* list = new QVBoxLayout;
    list->addWidget(search_);
    list->addWidget(table_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);
    resize(900, 440);
    Fill();
}

void CBearingLibraryDialog::Fill() {
    const QString selected = SelectedGuid();
    const QString search = search_->text().trimmed();
    std::vector<CBearing> shown;
    for (const CBearing& bearing : editor_.ListBearings().value_or(std::vector<CBearing>{})) {
        if (search.isEmpty() || bearing.sDesignation.contains(search, Qt::CaseInsensitive)) {
            shown.push_back(bearing);
        }
    }
    table_->setRowCount(static_cast<int>(shown.size()));
    for (int row = 0; row < static_cast<int>(shown.size()); ++row) {
        const CBearing& bearing = shown[static_cast<std::size_t>(row)];
        const BearingFactors f = FactorsOf(bearing);
        const QStringList cells = {bearing.sDesignation,
                                   bearing.sMaker,
                                   bearing.iRollingElements > 0 ? QString::number(bearing.iRollingElements)
                                                                : QStringLiteral("-"),
                                   QString::number(f.ftf, 'f', kFactorDecimals),
                                   QString::number(f.bsf, 'f', kFactorDecimals),
                                   QString::number(f.bpfo, 'f', kFactorDecimals),
                                   QString::number(f.bpfi, 'f', kFactorDecimals),
                                   bearing.sSource};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setData(Qt::UserRole, bearing.sItemGUID);
            item->setToolTip(cells[column]);
            if (column >= 2 && column <= 6) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table_->setItem(row, column, item);
        }
    }
    table_->resizeColumnsToContents();
    Select(selected);
}

QStringList CBearingLibraryDialog::ShownGuids() const {
    QStringList guids;
    for (int row = 0; row < table_->rowCount(); ++row) {
        guids << table_->item(row, 0)->data(Qt::UserRole).toString();
    }
    return guids;
}

void CBearingLibraryDialog::SetSearch(const QString& text) {
    search_->setText(text);
}

void CBearingLibraryDialog::Select(const QString& guid) {
    const int row = static_cast<int>(ShownGuids().indexOf(guid));
    if (row >= 0) {
        table_->selectRow(row);
    }
}

QString CBearingLibraryDialog::SelectedGuid() const {
    const int row = table_->currentRow();
    return row >= 0 && table_->item(row, 0) && table_->item(row, 0)->isSelected()
               ? table_->item(row, 0)->data(Qt::UserRole).toString()
               : QString();
}

void CBearingLibraryDialog::Add() {
    CBearingDialog dialog(editor_, CBearing{}, this);
    if (dialog.exec() == QDialog::Accepted) {
        changed_ = true;
        Fill();
        Select(dialog.SavedGuid());
    }
}

void CBearingLibraryDialog::Edit() {
    const QString guid = SelectedGuid();
    if (guid.isEmpty()) {
        return;
    }
    const std::optional<CBearing> bearing = editor_.FindBearing(guid);
    if (!bearing) {
        return;
    }
    CBearingDialog dialog(editor_, *bearing, this);
    if (dialog.exec() == QDialog::Accepted) {
        changed_ = true;
        Fill();
    }
}

void CBearingLibraryDialog::Delete() {
    const QString guid = SelectedGuid();
    if (!guid.isEmpty() && editor_.DeleteBearing(guid) == EditOutcome::Done) {
        changed_ = true;
        Fill();
    }
}

void CBearingLibraryDialog::Import() {
    const QString path = QFileDialog::getOpenFileName(this, UiText(text::added::ImportBearings), {},
                                                      QLatin1String(kCsvFilter));
    if (!path.isEmpty()) {
        ImportFile(path);
    }
}

void CBearingLibraryDialog::ImportFile(const QString& path) {
    if (editor_.ImportCsvFile(path)) {
        changed_ = true;
        Fill();
    }
}

void CBearingLibraryDialog::Export() {
    const QString path = QFileDialog::getSaveFileName(
        this, UiText(text::added::ExportBearings), QStringLiteral("bearings.csv"), QLatin1String(kCsvFilter));
    if (!path.isEmpty()) {
        ExportFile(path);
    }
}

void CBearingLibraryDialog::ExportFile(const QString& path) {
    editor_.ExportCsvFile(path);
}

} // namespace vantor
