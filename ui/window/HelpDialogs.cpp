#include "ui/window/HelpDialogs.h"

#include "analysis/AlarmStatus.h"
#include "platform/Version.h"
#include "ui/common/MainWindowTexts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace vantor {
namespace {

namespace tw = text::window;

QTableWidget* MakeTable(int rows, const QStringList& headers, QWidget* parent) {
    auto* table = new QTableWidget(rows, static_cast<int>(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

// The table's height for all its rows, so the dialog opens without a scroll bar.
void FitRows(QTableWidget* table) {
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    int height = table->horizontalHeader()->height() + 2 * table->frameWidth();
    for (int row = 0; row < table->rowCount(); ++row) {
        height += table->rowHeight(row);
    }
    table->setFixedHeight(height);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int width = 2 * table->frameWidth();
    for (int column = 0; column < table->columnCount(); ++column) {
        width += table->columnWidth(column);
    }
    table->setMinimumWidth(width + 20);
}

QDialogButtonBox* CloseButton(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* close = buttons->addButton(UiText(tw::Close), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// The machine groups as the standard words them.
constexpr std::array<int, 4> kGroupCaptions = {text::added::IsoGroupLarge, text::added::IsoGroupMedium,
                                               text::added::IsoGroupPumpsExternal,
                                               text::added::IsoGroupPumpsIntegrated};
constexpr std::array<int, 2> kFoundationCaptions = {text::added::RigidSupport, text::added::FlexibleSupport};

} // namespace

CShortcutsDialog::CShortcutsDialog(const std::vector<DisplayCommands::Shortcut>& shortcuts, QWidget* parent)
    : QDialog(parent),
      table_(MakeTable(static_cast<int>(shortcuts.size()), {UiText(tw::Keys), UiText(tw::Action)}, this)) {
    setObjectName(QStringLiteral("ShortcutsDialog"));
    setWindowTitle(UiText(tw::Shortcuts));
    for (int row = 0; row < static_cast<int>(shortcuts.size()); ++row) {
        const DisplayCommands::Shortcut& shortcut = shortcuts[static_cast<std::size_t>(row)];
        table_->setItem(row, 0, Cell(shortcut.keys.toString(QKeySequence::NativeText)));
        table_->setItem(row, 1, Cell(shortcut.action));
    }
    FitRows(table_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(CloseButton(this));
}

const std::vector<CAboutDialog::Library>& CAboutDialog::Libraries() {
    static const std::vector<Library> libraries = {
        {"Qt 6 (Core, Gui, Widgets, Sql, SerialPort, Network)", "LGPL-3.0-only"},
        {"SQLite", "public domain"},
        {"FFTW 3", "GPL-2.0-or-later"},
        {"libcurl", "curl licence (MIT-style)"},
        {"libzip", "BSD-3-Clause"},
        {"libsndfile", "LGPL-2.1-or-later"},
        {"CLI11", "BSD-3-Clause"},
    };
    return libraries;
}

CAboutDialog::CAboutDialog(const QString& title, const QString& company, const QString& guideFolder,
                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(UiText(text::AboutProduct));
    QString libraries;
    for (const Library& library : Libraries()) {
        libraries += QStringLiteral("<li>%1 &mdash; %2</li>")
                         .arg(QString::fromUtf8(library.name).toHtmlEscaped(),
                              QString::fromUtf8(library.licence).toHtmlEscaped());
    }
    text_ =
        QStringLiteral("<h3>%1</h3><p>%2 %3<br>%4: %5<br>%6</p><p><b>%7</b></p><ul>%8</ul><p>%9</p>")
            .arg(title.toHtmlEscaped(), UiText(text::SoftwareVersion).toHtmlEscaped(), ProgramVersion(),
                 UiText(text::added::AboutBuilt).toHtmlEscaped(), ProgramBuildDate(), company.toHtmlEscaped(),
                 UiText(text::added::AboutLibraries).toHtmlEscaped(), libraries,
                 UiText(text::added::AboutGuide).arg(QDir::toNativeSeparators(guideFolder)).toHtmlEscaped());
    auto* label = new QLabel(text_, this);
    label->setObjectName(QStringLiteral("AboutText"));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(CloseButton(this));
}

CIsoStandardsDialog::CIsoStandardsDialog(bool choosing, QWidget* parent)
    : QDialog(parent), table_(MakeTable(4,
                                        {UiText(text::added::IsoGroupColumn), UiText(text::SectionMachines),
                                         QStringLiteral("%1 (%2 / %3, %4)")
                                             .arg(UiText(kFoundationCaptions[0]), UiText(tw::Warning),
                                                  UiText(tw::Critical), UiText(text::UnitMmPerSecond)),
                                         QStringLiteral("%1 (%2 / %3, %4)")
                                             .arg(UiText(kFoundationCaptions[1]), UiText(tw::Warning),
                                                  UiText(tw::Critical), UiText(text::UnitMmPerSecond))},
                                        this)),
      choosing_(choosing) {
    setObjectName(QStringLiteral("IsoStandardsDialog"));
    setWindowTitle(QLatin1String(kTitle));
    for (int group = 1; group <= 4; ++group) {
        const int row = group - 1;
        table_->setItem(row, 0, Cell(QString::number(group)));
        table_->setItem(row, 1, Cell(UiText(kGroupCaptions[static_cast<std::size_t>(row)])));
        for (int foundation = 0; foundation <= 1; ++foundation) {
            const IsoLimits limits = *IsoLimitsForGroup(group, foundation);
            const QString pair = QStringLiteral("%1 / %2")
                                     .arg(limits.warningMms, 0, 'f', 1)
                                     .arg(limits.criticalMms, 0, 'f', 1);
            if (choosing_) {
                auto* button = new QPushButton(pair, table_);
                button->setObjectName(QStringLiteral("Iso%1%2").arg(group).arg(foundation));
                connect(button, &QPushButton::clicked, this,
                        [this, group, foundation] { Choose(group, foundation); });
                table_->setCellWidget(row, 2 + foundation, button);
            } else {
                QTableWidgetItem* item = Cell(pair);
                item->setTextAlignment(Qt::AlignCenter);
                table_->setItem(row, 2 + foundation, item);
            }
        }
    }
    FitRows(table_);
    auto* layout = new QVBoxLayout(this);
    auto* heading =
        new QLabel(QStringLiteral("%1 - %2").arg(QLatin1String(kTitle), UiText(tw::IsoStandards)), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    layout->addWidget(table_);
    layout->addWidget(CloseButton(this));
}

bool CIsoStandardsDialog::Choose(int group, int foundation) {
    if (!choosing_ || !IsoLimitsForGroup(group, foundation)) {
        return false;
    }
    chosen_ = Choice{group, foundation};
    accept();
    return true;
}

} // namespace vantor
