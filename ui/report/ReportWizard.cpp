#include "ui/report/ReportWizard.h"

#include "analysis/ViewTexts.h"
#include "app/RecordLists.h"
#include "app/ReportSetup.h"
#include "app/TypedSettings.h"
#include "reports/document/DocumentOpener.h"
#include "reports/document/ReportBuilder.h"
#include "reports/document/ReportTexts.h"
#include "texts/DisplayFormat.h"
#include "texts/UiText.h"
#include "ui/common/GuiThreadPrompter.h"
#include "ui/report/ReportProgressDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vantor {
namespace {

constexpr MeasureKind kGridRows[] = {
    MeasureKind::IsoVelocity, MeasureKind::BearingNoise, MeasureKind::Acceleration, MeasureKind::Displacement,
    MeasureKind::VaBand1,     MeasureKind::VaBand2,      MeasureKind::VaBand3};
constexpr GraphForm kGridColumns[] = {GraphForm::Trend, GraphForm::Fft, GraphForm::Time};

QWizardPage* NewPage(const QString& title) {
    auto* page = new QWizardPage;
    page->setTitle(title);
    return page;
}

// "Select: All" and "Clear: All".
QString AllButtonText(int verb) {
    return QStringLiteral("%1: %2").arg(UiText(verb), UiText(text::AllWord));
}

} // namespace

CReportWizard::CReportWizard(CAppData& app, QWidget* parent, FileQuestion ask)
    : QWizard(parent), app_(app), ask_(std::move(ask)) {
    setWindowTitle(UiText(text::ReportWizardTitle));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage);
    setButtonText(QWizard::BackButton, QStringLiteral("< ") + UiText(text::Back));
    setButtonText(QWizard::NextButton, UiText(text::Next) + QStringLiteral(" >"));
    setButtonText(QWizard::FinishButton, UiText(text::CreateReport));
    setButtonText(QWizard::CancelButton, UiText(text::Cancel));
    setPage(TypePage, MakeTypePage());
    setPage(MachinesPage, MakeMachinesPage());
    setPage(StatusTablesPage, MakeStatusTablesPage());
    setPage(GraphsPage, MakeGraphsPage());
    setPage(PeriodPage, MakePeriodPage());
    setPage(DatesPage, MakeDatesPage());
    setPage(SavePage, MakeSavePage());
    setStartId(TypePage);
    resize(560, 460);
}

QWizardPage* CReportWizard::MakeTypePage() {
    QWizardPage* page = NewPage(UiText(text::ReportTypePage));
    auto* layout = new QVBoxLayout(page);
    auto* group = new QButtonGroup(page);
    const int texts[2] = {text::ExceptionReport, text::ManualReport};
    for (int i = 0; i < 2; ++i) {
        typeButtons_[i] = new QRadioButton(UiText(texts[i]), page);
        group->addButton(typeButtons_[i], i);
        layout->addWidget(typeButtons_[i]);
    }
    typeButtons_[static_cast<int>(ReportType::Manual)]->setChecked(true);
    layout->addStretch();
    return page;
}

QWizardPage* CReportWizard::MakeMachinesPage() {
    QWizardPage* page = NewPage(UiText(text::MachineSelectionPage));
    auto* layout = new QVBoxLayout(page);
    machines_ = new QListWidget(page);
    for (const CMachine& machine : ListMachinesShown(app_).value_or(std::vector<CMachine>{})) {
        auto* item = new QListWidgetItem(machine.sName, machines_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    layout->addWidget(machines_);
    auto* buttons = new QHBoxLayout;
    auto* selectAll = new QPushButton(AllButtonText(text::SelectWord), page);
    auto* clearAll = new QPushButton(AllButtonText(text::ClearWord), page);
    connect(selectAll, &QPushButton::clicked, this, [this] { TickAllMachines(true); });
    connect(clearAll, &QPushButton::clicked, this, [this] { TickAllMachines(false); });
    buttons->addWidget(selectAll);
    buttons->addWidget(clearAll);
    buttons->addStretch();
    layout->addLayout(buttons);
    return page;
}

QWizardPage* CReportWizard::MakeStatusTablesPage() {
    QWizardPage* page = NewPage(UiText(text::StatusTablesPage));
    auto* layout = new QVBoxLayout(page);
    statusTable_ = new QCheckBox(UiText(text::LatestMachineStatus), page);
    layout->addWidget(statusTable_);
    // The section after the documented ones; unticked, the report is the documented one.
    findings_ = new QCheckBox(UiText(text::added::FindingsSectionChoice), page);
    findings_->setChecked(true);
    layout->addWidget(findings_);
    layout->addStretch();
    return page;
}

QWizardPage* CReportWizard::MakeGraphsPage() {
    QWizardPage* page = NewPage(UiText(text::GraphsPage));
    auto* grid = new QGridLayout(page);
    ReportLook look;
    look.units = DisplayUnitsOf(app_.settings);
    look.bandNames = {DisplayBandName(app_.settings.band1Name), DisplayBandName(app_.settings.band2Name),
                      DisplayBandName(app_.settings.band3Name)};
    const int columnTexts[3] = {text::TrendLabel, text::FftLabel, text::TimeLabel};
    for (int column = 0; column < 3; ++column) {
        auto* label =
            new QLabel(QStringLiteral("<b>%1</b>").arg(UiText(columnTexts[column]).toHtmlEscaped()), page);
        grid->addWidget(label, 0, column + 1, Qt::AlignHCenter);
    }
    int row = 1;
    for (const MeasureKind measure : kGridRows) {
        grid->addWidget(new QLabel(MeasureRowLabel(measure, look), page), row, 0);
        for (int column = 0; column < 3; ++column) {
            const std::optional<ReportGraph> graph = ReportGraphOf(measure, kGridColumns[column]);
            if (!graph) {
                continue;
            }
            auto* box = new QCheckBox(page);
            box->setAccessibleName(GraphHeading(*graph, look));
            graphBoxes_[static_cast<int>(*graph)] = box;
            grid->addWidget(box, row, column + 1, Qt::AlignHCenter);
        }
        ++row;
    }
    // The boxes stand close to their row labels, so that a row reads across at a glance; the
    // room left over goes to an empty last column.
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(10);
    for (int column = 1; column <= 3; ++column) {
        grid->setColumnMinimumWidth(column, 48);
    }
    // Below the documented grid, unticked by default: the envelope after each point's graphs.
    envelope_ = new QCheckBox(UiText(text::added::EnvelopeGraphChoice), page);
    grid->addWidget(envelope_, row + 1, 0, 1, 5);
    grid->setRowMinimumHeight(row, 6);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(row + 2, 1);
    return page;
}

QWizardPage* CReportWizard::MakePeriodPage() {
    QWizardPage* page = NewPage(UiText(text::ReportingPeriodPage));
    auto* layout = new QVBoxLayout(page);
    auto* group = new QButtonGroup(page);
    const int texts[3] = {text::LastMeasurement, text::BetweenDates, text::AllMeasurements};
    for (int i = 0; i < 3; ++i) {
        periodButtons_[i] = new QRadioButton(UiText(texts[i]), page);
        group->addButton(periodButtons_[i], i);
        layout->addWidget(periodButtons_[i]);
    }
    periodButtons_[0]->setChecked(true);
    // Unticked, trends follow the period as documented.
    layout->addSpacing(12);
    trendHistory_ = new QCheckBox(UiText(text::added::TrendHistoryChoice), page);
    layout->addWidget(trendHistory_);
    layout->addStretch();
    return page;
}

QWizardPage* CReportWizard::MakeDatesPage() {
    QWizardPage* page = NewPage(UiText(text::BetweenDatesPage));
    auto* form = new QFormLayout(page);
    const QDateTime now = QDateTime(QDate::currentDate(), QTime(23, 59, 59));
    start_ = new QDateTimeEdit(now.addMonths(-1).date().startOfDay(), page);
    end_ = new QDateTimeEdit(now, page);
    for (QDateTimeEdit* edit : {start_, end_}) {
        edit->setDisplayFormat(kReportDateTimeFormat);
        edit->setCalendarPopup(true);
    }
    form->addRow(UiText(text::StartLabel), start_);
    form->addRow(UiText(text::EndLabel), end_);
    return page;
}

QWizardPage* CReportWizard::MakeSavePage() {
    QWizardPage* page = NewPage(UiText(text::added::SaveReportAs));
    auto* layout = new QVBoxLayout(page);
    auto* hint = new QLabel(UiText(text::added::SaveReportPageHint), page);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    auto* group = new QButtonGroup(page);
    const int texts[2] = {text::added::PdfDocument, text::added::OdtDocument};
    for (int i = 0; i < 2; ++i) {
        formatButtons_[i] = new QRadioButton(UiText(texts[i]), page);
        group->addButton(formatButtons_[i], i);
        layout->addWidget(formatButtons_[i]);
    }
    const QString proposed = DesktopReportPath(app_, QDateTime::currentDateTime());
    formatButtons_[QFileInfo(proposed).suffix() == QStringLiteral("odt") ? 1 : 0]->setChecked(true);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(UiText(text::added::FileLabel) + QLatin1Char(':'), page));
    path_ = new QLineEdit(QDir::toNativeSeparators(proposed), page);
    path_->setObjectName(QStringLiteral("ReportPath"));
    row->addWidget(path_, 1);
    browse_ = new QPushButton(UiText(text::added::Browse), page);
    browse_->setObjectName(QStringLiteral("Browse"));
    row->addWidget(browse_);
    layout->addLayout(row);
    // The sign-off printed at the end of the report, only when an analyst or qualification is given.
    auto* signOff = new QGroupBox(UiText(text::added::SignOffTitle), page);
    auto* form = new QFormLayout(signOff);
    analyst_ = new QLineEdit(signOff);
    analyst_->setObjectName(QStringLiteral("SignOffAnalyst"));
    qualification_ = new QLineEdit(signOff);
    qualification_->setObjectName(QStringLiteral("SignOffQualification"));
    signOffDate_ = new QDateEdit(QDate::currentDate(), signOff);
    signOffDate_->setObjectName(QStringLiteral("SignOffDate"));
    signOffDate_->setCalendarPopup(true);
    form->addRow(UiText(text::added::SignOffAnalyst), analyst_);
    form->addRow(UiText(text::added::SignOffQualification), qualification_);
    form->addRow(UiText(text::added::SignOffDate), signOffDate_);
    layout->addWidget(signOff);
    layout->addStretch();
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            MatchExtension();
        }
    });
    connect(browse_, &QPushButton::clicked, this, &CReportWizard::Browse);
    return page;
}

QString CReportWizard::OutputPath() const {
    const QString typed = QDir::fromNativeSeparators(path_->text().trimmed());
    if (typed.isEmpty()) {
        return {};
    }
    const QString extension =
        FormatButton(Format::Odt)->isChecked() ? QStringLiteral("odt") : QStringLiteral("pdf");
    const QFileInfo file(typed);
    const QString suffix = file.suffix().toLower();
    if (suffix == extension) {
        return file.absoluteFilePath();
    }
    // Another document extension is replaced; anything else (a dot in the name) is kept.
    const bool document = suffix == QStringLiteral("pdf") || suffix == QStringLiteral("odt");
    const QString base = document ? typed.left(typed.size() - suffix.size() - 1) : typed;
    return QFileInfo(QStringLiteral("%1.%2").arg(base, extension)).absoluteFilePath();
}

void CReportWizard::MatchExtension() {
    const QString path = OutputPath();
    if (!path.isEmpty()) {
        path_->setText(QDir::toNativeSeparators(path));
    }
}

void CReportWizard::Browse() {
    const bool odt = FormatButton(Format::Odt)->isChecked();
    const QString filter = odt ? QStringLiteral("%1 (*.odt)").arg(UiText(text::added::OdtDocument))
                               : QStringLiteral("%1 (*.pdf)").arg(UiText(text::added::PdfDocument));
    const QString chosen =
        ask_(this, FileRequest{UiText(text::added::SaveReportAs), OutputPath(), filter, true});
    if (chosen.isEmpty()) {
        return;
    }
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    if (suffix == QStringLiteral("odt") || suffix == QStringLiteral("pdf")) {
        FormatButton(suffix == QStringLiteral("odt") ? Format::Odt : Format::Pdf)->setChecked(true);
    }
    path_->setText(QDir::toNativeSeparators(chosen));
    MatchExtension();
}

void CReportWizard::TickAllMachines(bool ticked) {
    for (int row = 0; row < machines_->count(); ++row) {
        machines_->item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

QRadioButton* CReportWizard::TypeButton(ReportType type) const {
    return typeButtons_[static_cast<int>(type)];
}

QCheckBox* CReportWizard::GraphBox(ReportGraph graph) const {
    return graphBoxes_[static_cast<int>(graph)];
}

QRadioButton* CReportWizard::PeriodButton(ReportPeriod period) const {
    return periodButtons_[static_cast<int>(period)];
}

ReportOptions CReportWizard::Options() const {
    ReportOptions options;
    options.type =
        TypeButton(ReportType::Exception)->isChecked() ? ReportType::Exception : ReportType::Manual;
    for (int row = 0; row < machines_->count(); ++row) {
        if (machines_->item(row)->checkState() == Qt::Checked) {
            options.machines << machines_->item(row)->text();
        }
    }
    options.statusTable = statusTable_->isChecked();
    options.findings = findings_->isChecked();
    options.envelope = envelope_->isChecked();
    options.trendHistory = trendHistory_->isChecked();
    for (const ReportGraphInfo& info : kReportGraphs) {
        options.SetShown(info.graph, GraphBox(info.graph)->isChecked());
    }
    options.period = PeriodButton(ReportPeriod::BetweenDates)->isChecked() ? ReportPeriod::BetweenDates
                     : PeriodButton(ReportPeriod::AllMeasurements)->isChecked()
                         ? ReportPeriod::AllMeasurements
                         : ReportPeriod::LastMeasurement;
    // The range belongs to the options only when it is used, as on the command line.
    if (options.period == ReportPeriod::BetweenDates) {
        options.start = start_->dateTime();
        options.end = end_->dateTime();
    }
    const QString analyst = analyst_->text().trimmed();
    const QString qualification = qualification_->text().trimmed();
    if (!analyst.isEmpty() || !qualification.isEmpty()) {
        options.signOff = ReportSignOff{analyst, qualification, signOffDate_->date()};
    }
    return options;
}

int CReportWizard::nextId() const {
    switch (currentId()) {
    case PeriodPage:
        return PeriodButton(ReportPeriod::BetweenDates)->isChecked() ? DatesPage : SavePage;
    case DatesPage:
        return SavePage;
    case SavePage:
        return -1;
    default:
        return QWizard::nextId();
    }
}

bool CReportWizard::validateCurrentPage() {
    const ReportOptions options = Options();
    if (currentId() == MachinesPage && options.machines.isEmpty()) {
        app_.UserPrompter().ShowMessage(UiText(text::SelectAtLeastOneMachine));
        return false;
    }
    if (currentId() == DatesPage) {
        if (const std::optional<int> problem = PeriodProblem(options, app_.earliestDate, app_.latestDate)) {
            QString message = UiText(*problem);
            if (*problem != text::StartDateAfterEnd) {
                message += QStringLiteral("\r\n") + RepresentableRangeText(app_);
            }
            app_.UserPrompter().ShowMessage(message);
            return false;
        }
    }
    if (currentId() == SavePage) {
        // The folder must exist or be made, and the file be writable there.
        const QString path = OutputPath();
        const QFileInfo file(path);
        if (path.isEmpty() || file.isDir() || !QDir().mkpath(file.absolutePath()) ||
            !QFileInfo(file.absolutePath()).isWritable()) {
            app_.UserPrompter().ShowMessage(UiText(text::ErrorExportingData));
            return false;
        }
    }
    return QWizard::validateCurrentPage();
}

QString DesktopReportPath(const CAppData& app, const QDateTime& now) {
    const QString remembered = app.settings.exportToFolder;
    const QDir folder(!remembered.isEmpty() && QFileInfo(remembered).isDir()
                          ? remembered
                          : QDir(app.folders.userRoot).filePath(QStringLiteral("Reports")));
    return folder.filePath(
        QStringLiteral("%1 %2.pdf")
            .arg(UiText(text::VibrationAnalysisReport), now.toString(QStringLiteral("yyyy-MM-dd HHmmss"))));
}

void RunReportWizard(CAppData& app, QWidget* parent, const DocumentOpenerHook& opener) {
    CReportWizard wizard(app, parent);
    if (wizard.exec() != QDialog::Accepted) {
        return;
    }
    const QString path = wizard.OutputPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    app.settings.exportToFolder = QFileInfo(path).absolutePath();
    app.WriteSettings();
    ReportJob job = MakeReportJob(app, wizard.Options(), path);
    // The worker's connection may have something to say; it is shown on this thread.
    GuiThreadPrompter prompter(app.UserPrompter());
    job.store.prompter = &prompter;
    CReportProgressDialog progress(std::move(job), parent);
    progress.exec();
    const ReportOutcome& outcome = progress.Outcome();
    if (outcome.result == ReportOutcome::Result::Failed) {
        app.UserPrompter().ShowMessage(outcome.message);
        return;
    }
    CReportDoneDialog done(path, opener ? opener : DocumentOpenerHook(&OpenDocument), parent);
    done.exec();
}

} // namespace vantor
