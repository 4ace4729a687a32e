#include "ui/window/MachineStatusTable.h"

#include "app/CAppData.h"
#include "app/OffRouteReadings.h"
#include "app/OptionsFromSettings.h"
#include "app/ReadingFindings.h"
#include "app/SeverityStandards.h"
#include "app/TypedSettings.h"
#include "texts/DisplayFormat.h"
#include "ui/common/MainWindowTexts.h"
#include "ui/common/StatusIcons.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace vantor {

// The rows of the table with their headers; the cells carry their own colours. After the documented
// columns the findings of each point's newest reading; the status cell carries the findings' mark
// and, in its tooltip, the reasons behind the status.
class StatusTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Per row what the plant snapshot judged beside the documented cells.
    struct RowJudgement {
        std::vector<AlarmReason> reasons;
        std::optional<std::vector<Finding>> findings; // none: no reading, or it cannot be diagnosed
        QString zone; // for a point judged by ISO 20816-3, its zone line; else empty
        QDate due;    // invalid: the point is on no route
        int newEvents = 0;
    };

    void Set(std::vector<StatusTableRow> rows, QStringList headers, bool machineColumn, bool bold,
             std::vector<RowJudgement> judgements, const QDate& today) {
        beginResetModel();
        today_ = today;
        rows_ = std::move(rows);
        headers_ = std::move(headers);
        machineColumn_ = machineColumn;
        bold_ = bold;
        judgements_ = std::move(judgements);
        judgements_.resize(rows_.size());
        endResetModel();
    }
    void SetFindings(int row, const std::optional<std::vector<Finding>>& findings) {
        if (row < 0 || row >= rowCount()) {
            return;
        }
        judgements_[static_cast<std::size_t>(row)].findings = findings;
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
    int FindingsColumn() const { return static_cast<int>(headers_.size()) - 1; }
    int DueColumn() const { return static_cast<int>(headers_.size()) - 2; }
    int DateColumn() const { return machineColumn_ ? 2 : 1; }
    bool Overdue(int row) const {
        const QDate& due = judgements_[static_cast<std::size_t>(row)].due;
        return due.isValid() && due < today_;
    }
    // The measure columns: after the name, date and status columns, before the due column.
    bool IsMeasureColumn(int section) const {
        const int first = (machineColumn_ ? 1 : 0) + 3;
        return section >= first && section < DueColumn();
    }
    // Measure headers on two lines, the unit under the name, where the table is narrow.
    void SetWrapHeaders(bool wrap) {
        if (wrap != wrapHeaders_) {
            wrapHeaders_ = wrap;
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        }
    }
    // The reading's date alone in the date column (the time in the tooltip), where the table is narrow.
    void SetDatesOnly(bool datesOnly) {
        if (datesOnly != datesOnly_) {
            datesOnly_ = datesOnly;
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        }
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(headers_.size());
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        // The whole header in its tooltip too: a narrowed name column elides its header.
        if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::ToolTipRole) &&
            section >= 0 && section < headers_.size()) {
            if (role == Qt::DisplayRole && wrapHeaders_ && IsMeasureColumn(section)) {
                QString wrapped = headers_[section];
                return wrapped.replace(QStringLiteral(" ("), QStringLiteral("\n("));
            }
            return headers_[section];
        }
        // Name headers start at the left, so a narrowed one keeps its beginning.
        if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section < DateColumn()) {
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) {
            return {};
        }
        const StatusTableRow& row = rows_[static_cast<std::size_t>(index.row())];
        int column = index.column();
        if (machineColumn_) {
            if (column == 0) {
                return role == Qt::ToolTipRole ? QVariant(row.machineName) : Plain(row.machineName, role);
            }
            --column;
        }
        switch (column) {
        case 0:
            return PointNameData(static_cast<std::size_t>(index.row()), role);
        case 1:
            return DateData(row.latestDate, role);
        case 2:
            return StatusData(static_cast<std::size_t>(index.row()), role);
        default:
            break;
        }
        const auto cell = static_cast<std::size_t>(column - 3);
        if (cell == row.cells.size()) {
            return DueData(static_cast<std::size_t>(index.row()), role);
        }
        if (cell == row.cells.size() + 1) {
            return FindingsData(static_cast<std::size_t>(index.row()), role);
        }
        if (cell > row.cells.size() + 1) {
            return {};
        }
        const StatusCell& status = row.cells[cell].cell;
        QVariant value = Coloured(DisplayNumberText(status.text), status.code, role);
        if (role == Qt::TextAlignmentRole) {
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        }
        return value;
    }

private:
    // The point's name, marked while it has alarm events nobody acknowledged.
    QVariant PointNameData(std::size_t row, int role) const {
        const QString& name = rows_[row].pointName;
        const int fresh = judgements_[row].newEvents;
        if (role == Qt::DecorationRole) {
            return fresh > 0 ? NewEventsIcon() : QVariant();
        }
        if (role == Qt::ToolTipRole) {
            return fresh > 0
                       ? QStringLiteral("%1\n%2").arg(name, UiText(text::added::NewEventsCount).arg(fresh))
                       : name;
        }
        return Plain(name, role);
    }

    QVariant DateData(const QDateTime& taken, int role) const {
        const QString whole = taken.isValid() ? ReadingDateText(taken) : QString();
        if (role == Qt::DisplayRole && datesOnly_ && taken.isValid()) {
            return DueText(taken.date());
        }
        return Plain(whole, role);
    }

    // The route schedule's due date, in the critical colour once it has passed.
    QVariant DueData(std::size_t row, int role) const {
        const QDate& due = judgements_[row].due;
        if (!due.isValid()) {
            return Plain(QString(), role);
        }
        const int late = static_cast<int>(due.daysTo(today_));
        if (role == Qt::ToolTipRole) {
            return late > 0 ? QStringLiteral("%1\n%2: %3")
                                  .arg(DueText(due), UiText(text::added::DaysLate))
                                  .arg(late)
                            : DueText(due);
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        }
        if (late > 0) {
            return Coloured(DueText(due), StatusCode::Critical, role);
        }
        return Plain(DueText(due), role);
    }
    static QString DueText(const QDate& due) { return DisplayDate(due); }

    QVariant StatusData(std::size_t row, int role) const {
        const StatusTableRow& shown = rows_[row];
        const RowJudgement& judgement = judgements_[row];
        if (role == Qt::DecorationRole) {
            return FindingsMarkIcon(FindingsMarkOf(judgement.findings));
        }
        if (role == Qt::ToolTipRole) {
            QStringList lines{StatusText(shown.status.code)};
            lines << PointStatusReasons(judgement.reasons, judgement.findings);
            if (!judgement.zone.isEmpty()) {
                lines << judgement.zone;
            }
            return lines.join(QLatin1Char('\n'));
        }
        return Coloured(StatusText(shown.status.code), shown.status.code, role);
    }

    QVariant FindingsData(std::size_t row, int role) const {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::ForegroundRole &&
            role != Qt::FontRole) {
            return {};
        }
        const std::optional<std::vector<Finding>>& findings = judgements_[row].findings;
        if (!findings) {
            return Plain(QString(), role);
        }
        if (role == Qt::ToolTipRole) {
            return FindingsTip(*findings);
        }
        const StatusCode severity = FindingsSeverity(*findings);
        if (severity == StatusCode::Ok) {
            return Plain(FindingsCellText(*findings), role);
        }
        return Coloured(FindingsCellText(*findings), severity, role);
    }

    QVariant Plain(const QString& text, int role) const {
        // The whole text in the tooltip too: a narrowed column elides it.
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            return text;
        }
        if (role == Qt::FontRole) {
            QFont font;
            font.setBold(bold_);
            return font;
        }
        return {};
    }
    QVariant Coloured(const QString& text, StatusCode code, int role) const {
        if (role == Qt::ForegroundRole) {
            return StatusTextColour(code);
        }
        return Plain(text, role);
    }

    std::vector<StatusTableRow> rows_;
    QStringList headers_;
    bool machineColumn_ = false;
    bool bold_ = true;
    std::vector<RowJudgement> judgements_;
    QDate today_;
    bool wrapHeaders_ = false;
    bool datesOnly_ = false;
};

namespace {

// The header of a measure column: its name, with the unit while values are shown.
QString MeasureHeader(MeasureKind kind, const CSettings& settings, const DisplayUnits& units, bool valuesOn) {
    const VaBandNames bands{DisplayBandName(settings.band1Name), DisplayBandName(settings.band2Name),
                            DisplayBandName(settings.band3Name)};
    return valuesOn ? MeasureNameWithUnit(kind, bands, units) : MeasureName(kind, bands);
}

} // namespace

MachineStatusTable::MachineStatusTable(CAppData& app, QWidget* parent)
    : QWidget(parent), app_(app), title_(new QLabel(this)), overdueOnly_(new QCheckBox(this)),
      view_(new QTableView(this)), model_(new StatusTableModel(this)) {
    setObjectName(QStringLiteral("MachineStatusTable"));
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    title_->setFont(titleFont);
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setAlternatingRowColors(true);
    view_->verticalHeader()->setVisible(false);
    // One line of (bold) text per row, like the tree beside it.
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setStretchLastSection(false);
    view_->setTextElideMode(Qt::ElideRight);
    view_->horizontalHeader()->setTextElideMode(Qt::ElideRight);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    overdueOnly_->setObjectName(QStringLiteral("StatusOverdueOnly"));
    overdueOnly_->setText(UiText(text::added::OverdueOnly));
    connect(overdueOnly_, &QCheckBox::toggled, this, [this] { ApplyOverdueFilter(); });
    auto* heading = new QHBoxLayout;
    heading->addWidget(title_, 1);
    heading->addWidget(overdueOnly_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(view_, 1);
}

MachineStatusTable::~MachineStatusTable() = default;

void MachineStatusTable::Show(const PlantSnapshot& plant, const QString& machineGuid) {
    const CSettings& settings = app_.settings;
    const StatusTableOptions options = StatusTableOptionsOf(settings);
    const bool allMachines = machineGuid.isEmpty();
    const PlantMachine* machine = allMachines ? nullptr : plant.FindMachine(machineGuid);
    machineName_ = machine != nullptr ? machine->machine.sName : QString();
    // The same table shown again (the plant read anew) keeps its selected row and scroll position.
    const bool again = shown_ && shownMachine_ == machineGuid;
    QString selectedPoint;
    const int scrolled = view_->verticalScrollBar()->value();
    if (again) {
        const QModelIndexList chosen = view_->selectionModel()->selectedRows();
        if (!chosen.isEmpty() && static_cast<std::size_t>(chosen.first().row()) < pointGuids_.size()) {
            selectedPoint = pointGuids_[static_cast<std::size_t>(chosen.first().row())];
        }
    }
    shown_ = true;
    shownMachine_ = machineGuid;

    QStringList headers;
    if (allMachines) {
        headers << UiText(text::MachineName);
    }
    headers << UiText(text::VibPointLabel) << UiText(text::DateTime) << UiText(text::window::Status);
    for (const int column : options.columns) {
        if (IsMeasureKind(column)) {
            headers << MeasureHeader(static_cast<MeasureKind>(column), settings, options.format.units,
                                     options.valuesOn);
        }
    }
    headers << UiText(text::added::DueColumn) << UiText(text::added::Findings);
    std::vector<StatusTableRow> rows = allMachines || machine != nullptr
                                           ? StatusRowsOf(plant, machineGuid, options)
                                           : std::vector<StatusTableRow>{};
    pointGuids_.clear();
    std::vector<StatusTableModel::RowJudgement> judgements;
    for (const PlantMachine& each : plant.machines) {
        if (allMachines || &each == machine) {
            for (const PlantPoint& point : each.points) {
                if (point.kind == PlantPoint::Kind::Vib) {
                    pointGuids_.push_back(point.vib.sItemGUID);
                    judgements.push_back({point.reasons, point.findings,
                                          point.zone ? SeverityZoneLine(*point.zone) : QString(), point.due,
                                          point.newEvents});
                }
            }
        }
    }
    nameColumns_ = allMachines ? 2 : 1;
    model_->Set(std::move(rows), headers, allMachines, BoldFontOn(settings), std::move(judgements),
                QDate::currentDate());
    ApplyOverdueFilter();
    title_->setText(Title());
    overdueOnly_->setText(UiText(text::added::OverdueOnly));
    // Columns sized to their contents once; for a large plant only the first rows are measured.
    view_->horizontalHeader()->setResizeContentsPrecision(50);
    FitColumns();
    if (again) {
        if (!selectedPoint.isEmpty()) {
            SelectPoint(selectedPoint);
        }
        view_->verticalScrollBar()->setValue(scrolled);
    }
}

void MachineStatusTable::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (model_->columnCount() > 0) {
        FitColumns();
    }
}

void MachineStatusTable::FitColumns() {
    constexpr int kLeastNameWidth = 64;
    constexpr int kLeastFindingsWidth = 80;
    // Every column but the findings fits its contents; the findings column, worked out only for the
    // rows shown, takes what is left. When that is too little the columns give up width in this
    // order, their text elided and whole in the tooltip: the measure headers go on two lines (the
    // unit under the name), the name columns (machine, point) narrow to a least width, the measure
    // columns to their values' width, the readings' dates drop their times (kept in the tooltip),
    // and last the findings narrow further. Statuses and due dates keep their whole width.
    const int findings = model_->FindingsColumn();
    if (findings < 0) {
        return;
    }
    QHeaderView* header = view_->horizontalHeader();
    const int available = view_->viewport()->width();
    int excess = 0;
    const auto fitContents = [&] {
        int used = 0;
        for (int column = 0; column < findings; ++column) {
            view_->resizeColumnToContents(column);
            used += header->sectionSize(column);
        }
        const int findingsWidth = std::max(kLeastFindingsWidth, available - used);
        header->resizeSection(findings, findingsWidth);
        excess = used + findingsWidth - available;
    };
    const auto narrow = [&](int column, int least) {
        const int width = header->sectionSize(column);
        const int narrower = std::max(std::min(least, width), width - excess);
        header->resizeSection(column, narrower);
        excess -= width - narrower;
    };
    model_->SetWrapHeaders(false);
    model_->SetDatesOnly(false);
    fitContents();
    if (excess > 0) {
        model_->SetWrapHeaders(true);
        fitContents();
    }
    for (int column = nameColumns_ - 1; column >= 0 && excess > 0; --column) {
        narrow(column, kLeastNameWidth);
    }
    for (int column = 0; column < findings && excess > 0; ++column) {
        if (model_->IsMeasureColumn(column)) {
            narrow(column, CellsWidth(column));
        }
    }
    if (excess > 0) {
        model_->SetDatesOnly(true);
        const int date = model_->DateColumn();
        narrow(date, std::max(CellsWidth(date), header->sectionSizeHint(date)));
    }
    if (excess > 0) {
        narrow(findings, kLeastFindingsWidth / 2);
    }
}

int MachineStatusTable::CellsWidth(int column) const {
    constexpr int kMeasuredRows = 50; // as the header's contents precision
    constexpr int kMargin = 12;
    QFont font = view_->font();
    font.setBold(BoldFontOn(app_.settings));
    const QFontMetrics metrics(font);
    int widest = 0;
    for (int row = 0; row < std::min(kMeasuredRows, model_->rowCount()); ++row) {
        widest = std::max(widest, metrics.horizontalAdvance(
                                      model_->data(model_->index(row, column), Qt::DisplayRole).toString()));
    }
    return widest + kMargin;
}

void MachineStatusTable::ApplyOverdueFilter() {
    const bool only = overdueOnly_->isChecked();
    for (int row = 0; row < model_->rowCount(); ++row) {
        view_->setRowHidden(row, only && !model_->Overdue(row));
    }
}

int MachineStatusTable::VisibleRowCount() const {
    int shown = 0;
    for (int row = 0; row < model_->rowCount(); ++row) {
        shown += view_->isRowHidden(row) ? 0 : 1;
    }
    return shown;
}

void MachineStatusTable::SetPointFindings(const QString& pointGuid,
                                          const std::optional<std::vector<Finding>>& findings) {
    for (std::size_t row = 0; row < pointGuids_.size(); ++row) {
        if (pointGuids_[row] == pointGuid) {
            model_->SetFindings(static_cast<int>(row), findings);
        }
    }
}

void MachineStatusTable::SelectPoint(const QString& pointGuid) {
    view_->clearSelection();
    for (std::size_t row = 0; row < pointGuids_.size(); ++row) {
        if (pointGuids_[row] == pointGuid) {
            view_->selectRow(static_cast<int>(row));
            view_->scrollTo(model_->index(static_cast<int>(row), 0));
            return;
        }
    }
}

QString MachineStatusTable::Title() const {
    const QString title = UiText(text::window::LatestMachineStatus);
    return machineName_.isEmpty() ? title : QStringLiteral("%1 - %2").arg(title, machineName_);
}

QStringList MachineStatusTable::HeaderTexts() const {
    QStringList texts;
    for (int column = 0; column < model_->columnCount(); ++column) {
        texts << model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    return texts;
}

QStringList MachineStatusTable::RowTexts(int row) const {
    QStringList texts;
    for (int column = 0; column < model_->columnCount(); ++column) {
        texts << model_->data(model_->index(row, column), Qt::DisplayRole).toString();
    }
    return texts;
}

int MachineStatusTable::RowCount() const {
    return model_->rowCount();
}

} // namespace vantor
