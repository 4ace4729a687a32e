// The report wizard on a small plant: the page order with and without the between-dates page,
// Back keeping earlier choices, the machine and date checks, the options Finish hands the worker,
// and Cancel in the progress dialog still writing what was built.
#include "ui/report/ReportWizard.h"

#include "app/ReportSetup.h"
#include "app/tests/ReportTestData.h"
#include "reports/document/ReportTexts.h"
#include "texts/UiText.h"
#include "ui/report/ReportProgressDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantor;
using namespace std::chrono_literals;
using Page = CReportWizard::PageId;

namespace {

class ReportWizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        plant.AddStandardPlant();
        wizard = std::make_unique<CReportWizard>(*plant.app);
        wizard->show();
    }

    void Tick(const QString& machine) {
        const QList<QListWidgetItem*> items = wizard->MachineList()->findItems(machine, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << qPrintable(machine);
        items.front()->setCheckState(Qt::Checked);
    }
    // Next until the wizard stays where it is; the pages seen on the way.
    std::vector<int> WalkForward() {
        std::vector<int> seen{wizard->currentId()};
        for (int guard = 0; guard < 10; ++guard) {
            wizard->next();
            if (wizard->currentId() == seen.back()) {
                break;
            }
            seen.push_back(wizard->currentId());
        }
        return seen;
    }
    bool Offers(QWizard::WizardButton button) { return wizard->button(button)->isVisible(); }

    vantor::testing::ReportPlant plant;
    std::unique_ptr<CReportWizard> wizard;
};

TEST_F(ReportWizardTest, PagesComeInOrderAndTheDatesPageOnlyForBetweenDates) {
    struct Row {
        ReportPeriod period;
        std::vector<int> pages;
    };
    const Row rows[] = {
        {ReportPeriod::LastMeasurement,
         {Page::TypePage, Page::MachinesPage, Page::StatusTablesPage, Page::GraphsPage, Page::PeriodPage,
          Page::SavePage}},
        {ReportPeriod::AllMeasurements,
         {Page::TypePage, Page::MachinesPage, Page::StatusTablesPage, Page::GraphsPage, Page::PeriodPage,
          Page::SavePage}},
        {ReportPeriod::BetweenDates,
         {Page::TypePage, Page::MachinesPage, Page::StatusTablesPage, Page::GraphsPage, Page::PeriodPage,
          Page::DatesPage, Page::SavePage}},
    };
    Tick(QStringLiteral("Pump"));
    for (const Row& row : rows) {
        wizard->restart();
        wizard->PeriodButton(row.period)->setChecked(true);
        EXPECT_EQ(WalkForward(), row.pages) << static_cast<int>(row.period);
        EXPECT_TRUE(Offers(QWizard::FinishButton));
        EXPECT_FALSE(Offers(QWizard::NextButton));
    }
    // The file comes last whatever the period: the period page always goes on with Next.
    while (wizard->currentId() != Page::PeriodPage) {
        wizard->back();
    }
    for (const ReportPeriod period : {ReportPeriod::LastMeasurement, ReportPeriod::BetweenDates}) {
        wizard->PeriodButton(period)->setChecked(true);
        EXPECT_TRUE(Offers(QWizard::NextButton));
        EXPECT_FALSE(Offers(QWizard::FinishButton));
    }
    EXPECT_TRUE(plant.prompter.Messages().isEmpty()) << qPrintable(plant.prompter.Messages().join('\n'));
}

TEST_F(ReportWizardTest, LeavingTheMachinesWithNoneTickedSaysSoAndStays) {
    wizard->next();
    ASSERT_EQ(wizard->currentId(), Page::MachinesPage);
    wizard->next();
    EXPECT_EQ(wizard->currentId(), Page::MachinesPage);
    EXPECT_EQ(plant.prompter.Messages(), QStringList{UiText(text::SelectAtLeastOneMachine)});
    // "Select: All" ticks every machine and lets the wizard on; "Clear: All" stops it again.
    const QList<QPushButton*> buttons = wizard->currentPage()->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 2);
    buttons[1]->click();
    buttons[0]->click();
    EXPECT_EQ(wizard->Options().machines, (QStringList{"Fan", "Pump"}));
    buttons[1]->click();
    EXPECT_TRUE(wizard->Options().machines.isEmpty());
    buttons[0]->click();
    wizard->next();
    EXPECT_EQ(wizard->currentId(), Page::StatusTablesPage);
    EXPECT_EQ(plant.prompter.Messages().size(), 1);
}

TEST_F(ReportWizardTest, TheDatesPageRefusesAStartAfterTheEndAndDatesOutsideTheRange) {
    const QDateTime day(QDate(2024, 5, 2), QTime(10, 0));
    const QDateTime earliest = plant.app->earliestDate;
    const QDateTime latest = plant.app->latestDate;
    const QString range = RepresentableRangeText(*plant.app);
    struct Row {
        QDateTime start, end;
        QString message; // empty: accepted
    };
    const Row rows[] = {
        {day, day, {}},
        {day, day.addSecs(1), {}},
        {day.addSecs(1), day, UiText(text::StartDateAfterEnd)},
        {earliest, latest, {}},
        {earliest.addSecs(-1), day, UiText(text::StartDateOutOfRange) + "\r\n" + range},
        {day, latest.addSecs(1), UiText(text::EndDateOutOfRange) + "\r\n" + range},
    };
    Tick(QStringLiteral("Fan"));
    wizard->PeriodButton(ReportPeriod::BetweenDates)->setChecked(true);
    while (wizard->currentId() != Page::DatesPage && wizard->currentId() != Page::SavePage) {
        wizard->next();
    }
    ASSERT_EQ(wizard->currentId(), Page::DatesPage);
    for (const Row& row : rows) {
        plant.prompter.records.clear();
        wizard->StartEdit()->setMinimumDateTime(earliest.addDays(-1));
        wizard->EndEdit()->setMaximumDateTime(latest.addDays(1));
        wizard->StartEdit()->setDateTime(row.start);
        wizard->EndEdit()->setDateTime(row.end);
        ASSERT_EQ(wizard->StartEdit()->dateTime(), row.start);
        ASSERT_EQ(wizard->EndEdit()->dateTime(), row.end);
        EXPECT_EQ(wizard->validateCurrentPage(), row.message.isEmpty()) << qPrintable(row.start.toString());
        EXPECT_EQ(plant.prompter.Messages(),
                  row.message.isEmpty() ? QStringList{} : QStringList{row.message});
    }
}

TEST_F(ReportWizardTest, BackKeepsTheChoicesAndFinishHandsOnTheSameOptionsAsTheCommandLine) {
    wizard->TypeButton(ReportType::Exception)->setChecked(true);
    wizard->next();
    Tick(QStringLiteral("Pump"));
    wizard->next();
    wizard->StatusTableBox()->setChecked(true);
    EXPECT_TRUE(wizard->FindingsBox()->isChecked());
    wizard->FindingsBox()->setChecked(false);
    wizard->next();
    wizard->GraphBox(ReportGraph::IsoFft)->setChecked(true);
    wizard->GraphBox(ReportGraph::Band3Trend)->setChecked(true);
    wizard->next();
    wizard->PeriodButton(ReportPeriod::BetweenDates)->setChecked(true);
    wizard->next();
    ASSERT_EQ(wizard->currentId(), Page::DatesPage);
    const QDateTime start(QDate(2024, 5, 1), QTime(10, 0));
    const QDateTime end(QDate(2024, 5, 3), QTime(10, 0, 30));
    wizard->StartEdit()->setDateTime(start);
    wizard->EndEdit()->setDateTime(end);
    while (wizard->currentId() != Page::TypePage) {
        wizard->back();
    }
    EXPECT_TRUE(wizard->TypeButton(ReportType::Exception)->isChecked());
    EXPECT_EQ(WalkForward().back(), Page::SavePage);
    EXPECT_TRUE(plant.prompter.Messages().isEmpty()) << qPrintable(plant.prompter.Messages().join('\n'));

    // vantor report --type exception --machine Pump --status-table --no-findings --graphs iso-fft,band3-trend
    //   --period between --start "2024-05-01 10:00:00" --end "2024-05-03 10:00:30"
    ReportOptions expected;
    expected.type = ReportType::Exception;
    expected.machines = QStringList{QStringLiteral("Pump")};
    expected.statusTable = true;
    expected.findings = false;
    for (const char* name : {"iso-fft", "band3-trend"}) {
        expected.SetShown(*ReportGraphNamed(QString::fromLatin1(name)), true);
    }
    expected.period = ReportPeriod::BetweenDates;
    expected.start = QDateTime::fromString(QStringLiteral("2024-05-01 10:00:00"), kReportDateTimeFormat);
    expected.end = QDateTime::fromString(QStringLiteral("2024-05-03 10:00:30"), kReportDateTimeFormat);
    const ReportOptions options = wizard->Options();
    EXPECT_EQ(options.type, expected.type);
    EXPECT_EQ(options.machines, expected.machines);
    EXPECT_EQ(options.statusTable, expected.statusTable);
    EXPECT_EQ(options.findings, expected.findings);
    EXPECT_EQ(options.graphs, expected.graphs);
    EXPECT_EQ(options.period, expected.period);
    EXPECT_EQ(options.start, expected.start);
    EXPECT_EQ(options.end, expected.end);
    EXPECT_EQ(ReportWorkCount(options, {1}), 2 + 2 + 1);

    // The save page's sign-off: none while empty (blanks count as empty), else the three fields.
    EXPECT_FALSE(options.signOff.has_value());
    wizard->QualificationEdit()->setText(QStringLiteral("   "));
    EXPECT_FALSE(wizard->Options().signOff.has_value());
    wizard->AnalystEdit()->setText(QStringLiteral(" A. Reyes "));
    wizard->QualificationEdit()->setText(QStringLiteral("ISO 18436-2 Cat. III"));
    wizard->SignOffDateEdit()->setDate(QDate(2026, 12, 10));
    const ReportSignOff signOff{QStringLiteral("A. Reyes"), QStringLiteral("ISO 18436-2 Cat. III"),
                                QDate(2026, 12, 10)};
    EXPECT_EQ(wizard->Options().signOff, signOff);
}

TEST(ReportProgressDialogTest, CancelStopsTheWorkerAndTheDocumentStillHoldsTheTitleBlock) {
    vantor::testing::ReportPlant plant;
    plant.AddStandardPlant();
    QTemporaryDir folder;
    ReportOptions options;
    options.machines = QStringList{QStringLiteral("Fan"), QStringLiteral("Pump")};
    options.graphs.fill(true);
    const QString path = folder.filePath(QStringLiteral("cancelled.odt"));
    CReportProgressDialog dialog(MakeReportJob(*plant.app, options, path), nullptr, 1ms);
    EXPECT_EQ(dialog.windowTitle(), UiText(text::PleaseWait));
    // Cancel before the worker reaches the first point: nothing beyond the title block is built.
    dialog.CancelButton()->click();
    EXPECT_FALSE(dialog.CancelButton()->isEnabled());
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.Outcome().result, ReportOutcome::Result::Cancelled)
        << qPrintable(dialog.Outcome().message);
    EXPECT_EQ(dialog.Outcome().charts, 0);
    EXPECT_TRUE(QFileInfo(path).size() > 0);
    EXPECT_TRUE(dialog.windowTitle().startsWith(UiText(text::PleaseWait)));
}

TEST(ReportProgressDialogTest, TheCaptionGainsUpToSixDots) {
    const QString base = UiText(text::PleaseWait);
    const std::pair<int, QString> rows[] = {
        {0, base}, {1, base + "."}, {3, base + "..."}, {6, base + "......"}, {9, base + "......"},
        {-1, base}};
    for (const auto& [dots, caption] : rows) {
        EXPECT_EQ(CReportProgressDialog::CaptionWithDots(dots), caption) << dots;
    }
}

} // namespace
