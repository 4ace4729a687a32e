// The main window's plant views on a real database: the machine tree's order, statuses and colours,
// the selection through refreshes, the status table and the display commands.
#include "ui/window/MainWindow.h"

#include "analysis/PointAlarms.h"
#include "analysis/PointSeverity.h"
#include "app/AlarmEvents.h"
#include "app/Startup.h"
#include "app/tests/FindingsTestData.h"
#include "loaders/PointSeverityStore.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/AlarmRecords.h"
#include "store/DataFile.h"
#include "store/RecordSyncConnection.h"
#include "store/Schema.h"
#include "texts/UiText.h"
#include "ui/common/StatusIcons.h"
#include "ui/views/PointViews.h"
#include "ui/window/DisplayCommands.h"
#include "ui/window/FollowUpPane.h"
#include "ui/window/HelpDialogs.h"
#include "ui/window/ImportWaveformDialog.h"
#include "ui/window/MachineStatusTable.h"
#include "ui/window/MachineTreeModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include <gtest/gtest.h>

#include <cmath>

using namespace vantor;
using namespace std::chrono_literals;
using NodeKind = MachineTreeModel::NodeKind;

namespace {

CVib Point(const QString& guid, const QString& machine, float order, const QString& name) {
    CVib vib;
    vib.sItemGUID = guid;
    vib.sParentGUID = machine;
    vib.fOrder = order;
    vib.sName = name;
    vib.sVMName = name.left(14);
    vib.fRunSpeedHz = 25;
    vib.bISOAlarmsOn = true;
    vib.fISOWarningMMS = 4.5f;
    vib.fISOCriticalMMS = 7.1f;
    vib.bBDUAlarmsOn = true;
    vib.fBDUWarning = 20;
    vib.fBDUCritical = 40;
    return vib;
}

CVibReading Reading(const QString& point, const QDateTime& taken, float iso, float bdu = 1) {
    CVibReading reading;
    reading.sItemGUID = MakeItemGuid();
    reading.sParentGUID = point;
    reading.ctDateTaken = taken;
    reading.fISOMMS = iso;
    reading.fBearingBDU = bdu;
    reading.fTotalG = 0.5f;
    reading.fVABand1MMS = reading.fVABand2MMS = reading.fVABand3MMS = 0.1f;
    return reading;
}

const QDateTime kDay(QDate(2026, 3, 2), QTime(9, 0));

} // namespace

class PlantViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        CAppData setup(prompter, Edition::For(2, 0));
        ASSERT_TRUE(InitDataRoot(setup));
        ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
        window.show();
        db = app.MainConnection();
        // "Pump" comes first by its order although it was stored second.
        ASSERT_TRUE(db->UpsertMachine(CMachine{
            QStringLiteral("{0000fa00-0000-4000-8000-000000000000}"), 1, QStringLiteral("Fan"), {}, {}}));
        ASSERT_TRUE(db->UpsertMachine(CMachine{QStringLiteral("{pump}"), 0, QStringLiteral("Pump"), {}, {}}));
        ASSERT_TRUE(db->UpsertVib(
            Point(QStringLiteral("{nde}"), QStringLiteral("{pump}"), 1, QStringLiteral("NDE"))));
        ASSERT_TRUE(
            db->UpsertVib(Point(QStringLiteral("{de}"), QStringLiteral("{pump}"), 0, QStringLiteral("DE"))));
        ASSERT_TRUE(db->UpsertVib(Point(QStringLiteral("{0000fa01-0000-4000-8000-000000000000}"),
                                        QStringLiteral("{0000fa00-0000-4000-8000-000000000000}"), 0,
                                        QStringLiteral("Fan bearing"))));
        // DE: an older critical reading is overruled by the newer OK one. NDE: warning by BDU.
        ASSERT_TRUE(db->UpsertVibReading(Reading(QStringLiteral("{de}"), kDay.addDays(1), 2.0f)));
        ASSERT_TRUE(db->UpsertVibReading(Reading(QStringLiteral("{de}"), kDay, 9.0f)));
        ASSERT_TRUE(db->UpsertVibReading(Reading(QStringLiteral("{nde}"), kDay, 1.0f, 25.0f)));
        window.RefreshPlant();
    }
    void TearDown() override { UiTextTable::ResetToDefaults(); }

    QStringList TreeTexts() {
        QStringList texts;
        MachineTreeModel* model = window.TreeModel();
        const std::function<void(const QModelIndex&, int)> walk = [&](const QModelIndex& parent, int depth) {
            for (int row = 0; row < model->rowCount(parent); ++row) {
                const QModelIndex index = model->index(row, 0, parent);
                texts << QStringLiteral("%1%2 %3").arg(
                    QString(depth * 2, QLatin1Char(' ')), model->data(index).toString(),
                    StatusText(
                        static_cast<StatusCode>(model->data(index, MachineTreeModel::StatusRole).toInt())));
                walk(index, depth + 1);
            }
        };
        walk({}, 0);
        return texts;
    }
    QModelIndex IndexOf(NodeKind kind, const QString& guid) {
        return window.TreeModel()->IndexOf({kind, guid});
    }
    void Select(NodeKind kind, const QString& guid) {
        const QModelIndex index = IndexOf(kind, guid);
        ASSERT_TRUE(index.isValid());
        window.MachineTree()->setCurrentIndex(index);
    }
    QString SettingsValue(const QString& name) {
        QSettings raw(SettingsStore(app.edition).FilePath(), QSettings::IniFormat);
        return raw.value(QStringLiteral("Settings/") + name).toString();
    }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    CAppData app{prompter, Edition::For(2, 0)};
    MainWindow window{app, [](const QString&) {}, 1ms};
    CMainConnection* db = nullptr;
};

TEST_F(PlantViewTest, TheTreeListsMachinesAndPointsInOrderWithTheirStatusColours) {
    const QStringList expected{
        "Machines WARNING", "  Pump WARNING",    "    DE OK",
        "    NDE WARNING",  "  Fan No Readings", "    Fan bearing No Readings",
    };
    EXPECT_EQ(TreeTexts(), expected) << qPrintable(TreeTexts().join(QLatin1Char('\n')));
    MachineTreeModel* model = window.TreeModel();
    const QModelIndex pump = IndexOf(NodeKind::Machine, QStringLiteral("{pump}"));
    EXPECT_EQ(model->data(pump, Qt::ForegroundRole).value<QColor>(), QColor(255, 160, 0));
    EXPECT_EQ(
        model->data(IndexOf(NodeKind::VibPoint, QStringLiteral("{de}")), Qt::ForegroundRole).value<QColor>(),
        QColor(0, 192, 0));
    EXPECT_TRUE(model->data(pump, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(model->data(pump, Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(IndexOf(NodeKind::OffRoute, {}).isValid());

    // Readings uploaded by a data file: the fan goes critical, an off-route reading appears, and
    // the import refreshes the tree.
    const QString dataFile = env.Root() + QStringLiteral("/upload.rmd");
    {
        StoreContext context;
        context.databaseFile = env.Root() + QStringLiteral("/meter.mdb");
        context.prompter = &prompter;
        ASSERT_TRUE(CreateEmptyDatabase(context.databaseFile));
        CMainConnection source(context);
        ASSERT_TRUE(source.Open());
        ASSERT_TRUE(source.UpsertMachine(CMachine{QStringLiteral("{0000fa00-0000-4000-8000-000000000000}"),
                                                  1,
                                                  QStringLiteral("Fan"),
                                                  QStringLiteral("FAN"),
                                                  {}}));
        ASSERT_TRUE(source.UpsertVib(Point(QStringLiteral("{0000fa01-0000-4000-8000-000000000000}"),
                                           QStringLiteral("{0000fa00-0000-4000-8000-000000000000}"), 0,
                                           QStringLiteral("Fan bearing"))));
        ASSERT_TRUE(source.UpsertVibReading(
            Reading(QStringLiteral("{0000fa01-0000-4000-8000-000000000000}"), kDay.addDays(3), 7.1f)));
        DataFileProgress quiet;
        ASSERT_EQ(ExportEverything(source, dataFile, quiet), DataFileOutcome::Done);
    }
    prompter.yesNoAnswers = {true};
    ASSERT_EQ(window.ImportFile(dataFile), DataFileOutcome::Done);
    auto sync = app.MakeSyncConnection();
    ASSERT_TRUE(sync->Open());
    COffRouteReading offRoute;
    offRoute.sItemGUID = MakeItemGuid();
    offRoute.ctDateTaken = kDay;
    ASSERT_TRUE(sync->UpsertOffRouteReading(offRoute));
    window.RefreshPlant();
    const QStringList after{
        "Machines CRITICAL",
        "  Pump WARNING",
        "    DE OK",
        "    NDE WARNING",
        "  Fan CRITICAL",
        "    Fan bearing CRITICAL",
        "  Off Route (1) No Readings",
    };
    EXPECT_EQ(TreeTexts(), after) << qPrintable(TreeTexts().join(QLatin1Char('\n')));
    EXPECT_EQ(model
                  ->data(IndexOf(NodeKind::Machine, QStringLiteral("{0000fa00-0000-4000-8000-000000000000}")),
                         Qt::ForegroundRole)
                  .value<QColor>(),
              QColor(255, 0, 0));
}

TEST_F(PlantViewTest, TheSelectionAndOpenMachinesSurviveARefresh) {
    QTreeView* tree = window.MachineTree();
    tree->collapseAll();
    tree->expand(window.TreeModel()->PlantIndex());
    Select(NodeKind::VibPoint, QStringLiteral("{nde}"));
    ASSERT_TRUE(tree->isExpanded(IndexOf(NodeKind::Machine, QStringLiteral("{pump}"))));

    // A new machine ahead of the pump moves every row; the point stays selected.
    ASSERT_TRUE(
        db->UpsertMachine(CMachine{QStringLiteral("{new}"), -1, QStringLiteral("Compressor"), {}, {}}));
    window.RefreshPlant();
    EXPECT_EQ(window.TreeModel()->KeyOf(tree->currentIndex()),
              (MachineTreeModel::NodeKey{NodeKind::VibPoint, QStringLiteral("{nde}")}));
    EXPECT_TRUE(tree->isExpanded(IndexOf(NodeKind::Machine, QStringLiteral("{pump}"))));
    EXPECT_FALSE(tree->isExpanded(
        IndexOf(NodeKind::Machine, QStringLiteral("{0000fa00-0000-4000-8000-000000000000}"))));
    // The right pane shows the point's reading views.
    EXPECT_EQ(window.ViewPane()->currentWidget(), window.ReadingViews());
    EXPECT_EQ(window.ReadingViews()->PointGuid(), QStringLiteral("{nde}"));

    // The selected point deleted: its machine is selected instead; the machine deleted: the plant.
    ASSERT_TRUE(db->DeleteVib(QStringLiteral("{nde}")));
    window.RefreshPlant();
    EXPECT_EQ(window.TreeModel()->KeyOf(tree->currentIndex()),
              (MachineTreeModel::NodeKey{NodeKind::Machine, QStringLiteral("{pump}")}));
    EXPECT_EQ(window.StatusTable()->Title(), QStringLiteral("Latest Machine Status - Pump"));
    EXPECT_EQ(window.ViewPane()->currentWidget(), window.StatusTable());
    ASSERT_TRUE(db->RemoveMachine(QStringLiteral("{pump}")));
    window.RefreshPlant();
    EXPECT_EQ(window.TreeModel()->KeyOf(tree->currentIndex()).kind, NodeKind::Plant);
    EXPECT_EQ(window.StatusTable()->Title(), QStringLiteral("Latest Machine Status"));
}

TEST_F(PlantViewTest, TheStatusTableShowsWordsOrValuesAndTheChosenUnits) {
    Select(NodeKind::Machine, QStringLiteral("{pump}"));
    MachineStatusTable* table = window.StatusTable();
    EXPECT_EQ(window.ViewPane()->currentWidget(), table);
    // The documented columns, then the due date (on no route here) and the findings (none: these
    // readings carry no captures).
    EXPECT_EQ(table->HeaderTexts(), (QStringList{"Vib Point", "Date/Time", "Status", "ISO (mm/s)",
                                                 "Brg. Noise (BDU)", "Total (g)", "Due", "Findings"}));
    ASSERT_EQ(table->RowCount(), 2);
    EXPECT_EQ(table->RowTexts(1).mid(2), (QStringList{"WARNING", "1.000", "25", "0.5", "", ""}));

    struct Case {
        std::function<void()> command;
        QString setting;
        QString stored;
        QStringList header;
        QStringList row;
    };
    DisplayCommands* display = window.Display();
    const Case cases[] = {
        {[&] { display->StatusValuesAction()->trigger(); },
         "VibStatusValuesOn",
         "0",
         {"Vib Point", "Date/Time", "Status", "ISO", "Brg. Noise", "Total"},
         {"WARNING", "OK", "WARNING", "NOT CONFIGURED"}},
        {[&] { display->SetStatusValues(true); },
         "VibStatusValuesOn",
         "1",
         {"Vib Point", "Date/Time", "Status", "ISO (mm/s)", "Brg. Noise (BDU)", "Total (g)"},
         {"WARNING", "1.000", "25", "0.5"}},
        // F4 switches the amplitude unit: stored at once, the table redrawn in inch/s.
        {[&] {
             window.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
             QTest::keyClick(window.MachineTree(), Qt::Key_F4);
         },
         "YAxisUnits",
         "1",
         {"Vib Point", "Date/Time", "Status", "ISO (inch/s)", "Brg. Noise (BDU)", "Total (g)"},
         {"WARNING", "0.039", "25", "0.5"}},
        {[&] { display->SetDecimals(DisplayCommands::DecimalsOf::InchS, 1); },
         "DP InchS",
         "1",
         {"Vib Point", "Date/Time", "Status", "ISO (inch/s)", "Brg. Noise (BDU)", "Total (g)"},
         {"WARNING", "0.0", "25", "0.5"}},
    };
    for (const Case& c : cases) {
        c.command();
        EXPECT_EQ(SettingsValue(c.setting), c.stored) << qPrintable(c.setting);
        const QStringList after{QStringLiteral("Due"), QStringLiteral("Findings")};
        const QStringList empty{QString(), QString()};
        EXPECT_EQ(table->HeaderTexts(), c.header + after);
        EXPECT_EQ(table->RowTexts(1).mid(2), c.row + empty);
    }
    // The plant selected: every machine's points, with the machine's name first.
    Select(NodeKind::Plant, {});
    EXPECT_EQ(table->RowCount(), 3);
    EXPECT_EQ(table->RowTexts(2).mid(0, 3), (QStringList{"Fan", "Fan bearing", ""}));
}

// The findings column names what the diagnosis finds in each point's newest reading, in the
// colour of its severity; the tree's tooltip gives the baseline and change reasons of a watched
// point under its combined status, while every other point keeps its documented status and tip.
TEST_F(PlantViewTest, TheFindingsColumnAndTheTreesReasons) {
    ASSERT_TRUE(
        db->UpsertVibReading(vantor::testing::ToneReading(QStringLiteral("{nde}"), kDay.addDays(2), 5.0)));
    ASSERT_TRUE(
        db->UpsertVibReading(vantor::testing::ToneReading(QStringLiteral("{de}"), kDay.addDays(2), 4.0)));
    const QModelIndex de = IndexOf(NodeKind::VibPoint, QStringLiteral("{de}"));
    window.RefreshPlant();
    const QString deTipBefore = window.TreeModel()->data(de, Qt::ToolTipRole).toString();
    BaselineSettings settings;
    settings.measure = {MeasureKind::IsoVelocity, std::nullopt};
    settings.baselineReadings = 0; // the change alarm alone: 5.0 is 5× the previous 1.0
    alarmrows::PutSetting(db->Connection(), ToAlarmSettingRow(QStringLiteral("{nde}"), settings));
    window.RefreshPlant();
    window.FinishFindings();

    Select(NodeKind::Machine, QStringLiteral("{pump}"));
    MachineStatusTable* table = window.StatusTable();
    ASSERT_EQ(table->RowCount(), 2);
    const QAbstractItemModel* model = table->View()->model();
    const int findings = model->columnCount() - 1;
    struct Row {
        int row;
        QStringList documented; // name, status and measure columns
        QString findings;
        StatusCode colour; // NoReadings: uncoloured
        QString tip;
    };
    // Both tones are unbalance: at 4.0 below the points' ISO warning of 4.5 it is only noted (OK,
    // uncoloured), at 5.0 past it a WARNING.
    const Row rows[] = {
        {0, {"DE", "OK", "4.000"}, "Unbalance", StatusCode::NoReadings, "Unbalance - OK"},
        {1, {"NDE", "CRITICAL", "5.000"}, "Unbalance", StatusCode::Warning, "Unbalance - WARNING"},
    };
    for (const Row& r : rows) {
        const QStringList texts = table->RowTexts(r.row);
        EXPECT_EQ((QStringList{texts[0], texts[2], texts[3]}), r.documented);
        EXPECT_EQ(texts[findings], r.findings);
        const QModelIndex cell = model->index(r.row, findings);
        EXPECT_TRUE(model->data(cell, Qt::ToolTipRole).toString().startsWith(r.tip)) << r.row;
        if (r.colour != StatusCode::NoReadings) {
            EXPECT_EQ(model->data(cell, Qt::ForegroundRole).value<QColor>(), StatusTextColour(r.colour));
        } else {
            EXPECT_FALSE(model->data(cell, Qt::ForegroundRole).isValid());
        }
    }

    // The tree: the watched point's change reason under its status; the other's tip as before.
    const QString tip = window.TreeModel()
                            ->data(IndexOf(NodeKind::VibPoint, QStringLiteral("{nde}")), Qt::ToolTipRole)
                            .toString();
    const QStringList lines = tip.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4) << tip.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("NDE"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("CRITICAL"))) << tip.toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("CRITICAL Change alarm: ISO velocity 5.0× previous"));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Unbalance - WARNING"))) << tip.toStdString();
    // A finding only noted adds nothing to the tip.
    EXPECT_EQ(window.TreeModel()->data(de, Qt::ToolTipRole).toString(), deTipBefore);
}

// An alarming finding marks its point, its machine and the plant in the tree and the point's status
// cell in the table, beside the status: the status words stay the documented ones (NOT CONFIGURED
// where the alarms are off), the tooltips give the finding, and a finding only noted marks nothing.
TEST_F(PlantViewTest, AnAlarmingFindingMarksItsPointBesideItsStatus) {
    CVib unset = Point(QStringLiteral("{free}"), QStringLiteral("{pump}"), 2, QStringLiteral("Free"));
    unset.bISOAlarmsOn = false;
    unset.bBDUAlarmsOn = false;
    ASSERT_TRUE(db->UpsertVib(unset));
    // 6 mm/s on a point without ISO levels is past C/D: CRITICAL unbalance. 4 mm/s on DE, below its
    // ISO warning of 4.5: unbalance only noted.
    ASSERT_TRUE(
        db->UpsertVibReading(vantor::testing::ToneReading(QStringLiteral("{free}"), kDay.addDays(2), 6.0)));
    ASSERT_TRUE(
        db->UpsertVibReading(vantor::testing::ToneReading(QStringLiteral("{de}"), kDay.addDays(2), 4.0)));
    window.RefreshPlant();
    Select(NodeKind::Machine, QStringLiteral("{pump}"));
    // The marks follow once the findings are worked out, on a table already shown.
    EXPECT_TRUE(window.FindingsPending());
    window.FinishFindings();
    MachineStatusTable* table = window.StatusTable();
    const QAbstractItemModel* tableModel = table->View()->model();
    MachineTreeModel* tree = window.TreeModel();

    struct Case {
        NodeKind kind;
        QString guid;
        int tableRow; // -1: not a row of the pump's table
        QString status;
        StatusCode mark;
    };
    const Case cases[] = {
        {NodeKind::VibPoint, QStringLiteral("{free}"), 2, QStringLiteral("NOT CONFIGURED"),
         StatusCode::Critical},
        {NodeKind::VibPoint, QStringLiteral("{de}"), 0, QStringLiteral("OK"), StatusCode::Ok},
        {NodeKind::VibPoint, QStringLiteral("{nde}"), 1, QStringLiteral("WARNING"), StatusCode::Ok},
        {NodeKind::Machine, QStringLiteral("{pump}"), -1, QStringLiteral("WARNING"), StatusCode::Critical},
        {NodeKind::Machine, QStringLiteral("{0000fa00-0000-4000-8000-000000000000}"), -1,
         QStringLiteral("No Readings"), StatusCode::Ok},
        {NodeKind::Plant, QString(), -1, QStringLiteral("WARNING"), StatusCode::Critical},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.guid.toStdString());
        const QModelIndex item = IndexOf(c.kind, c.guid);
        ASSERT_TRUE(item.isValid());
        EXPECT_EQ(StatusText(static_cast<StatusCode>(tree->data(item, MachineTreeModel::StatusRole).toInt())),
                  c.status);
        EXPECT_EQ(static_cast<StatusCode>(tree->data(item, MachineTreeModel::FindingsMarkRole).toInt()),
                  c.mark);
        const bool marked = c.mark != StatusCode::Ok;
        const QImage icon = tree->data(item, Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
        // The mark's "!" is white at the icon's lower right; the unmarked icons have no white there.
        EXPECT_EQ(icon.pixelColor(11, 11) == QColor(Qt::white), marked);
        const QString tip = tree->data(item, Qt::ToolTipRole).toString();
        if (c.tableRow < 0) {
            continue;
        }
        EXPECT_EQ(tip.contains(QStringLiteral("Unbalance - CRITICAL")), marked) << tip.toStdString();
        const QModelIndex status = tableModel->index(c.tableRow, 2);
        EXPECT_EQ(tableModel->data(status).toString(), c.status);
        EXPECT_EQ(!tableModel->data(status, Qt::DecorationRole).value<QIcon>().isNull(), marked);
        EXPECT_EQ(tableModel->data(status, Qt::ToolTipRole).toString().contains(QStringLiteral("Unbalance")),
                  marked);
    }
}

// Another program changes the database while the window runs: the status table shows the change
// within 5 s, with the machine still selected in the tree and the point's row in the table.
TEST_F(PlantViewTest, AChangeAnotherProgramMakesReachesTheTableWithinSeconds) {
    ASSERT_TRUE(
        db->UpsertVibReading(vantor::testing::ToneReading(QStringLiteral("{nde}"), kDay.addDays(2), 5.0)));
    window.RefreshPlant();
    Select(NodeKind::Machine, QStringLiteral("{pump}"));
    MachineStatusTable* table = window.StatusTable();
    table->SelectPoint(QStringLiteral("{nde}"));
    const int statusColumn = 2;
    ASSERT_EQ(table->RowTexts(1)[0], QStringLiteral("NDE"));
    ASSERT_NE(table->RowTexts(1)[statusColumn], QStringLiteral("CRITICAL"));
    window.SetLiveRefreshInterval(100ms);

    // A change alarm set from the command line: ISO 5.0 after 1.0 is 5× the previous, CRITICAL.
    QProcess vantor;
    vantor.start(QStringLiteral(VANTOR_CLI_PATH),
                 {QStringLiteral("alarms"), QStringLiteral("{nde}"), QStringLiteral("--measure"),
                  QStringLiteral("iso"), QStringLiteral("--change"), QStringLiteral("2,4")});
    ASSERT_TRUE(vantor.waitForFinished(60000));
    ASSERT_EQ(vantor.exitCode(), 0) << vantor.readAllStandardError().toStdString();

    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return table->RowTexts(1)[statusColumn] == QStringLiteral("CRITICAL"); }, 5000));
    EXPECT_EQ(window.TreeModel()->KeyOf(window.MachineTree()->currentIndex()).guid, QStringLiteral("{pump}"));
    const QModelIndexList selected = table->View()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().row(), 1);
}

// File > Import Waveform stores what `vantor import-signal` stores with the same choices: the same
// reading values, date, run speed and capture; a refused file leaves the dialog open with the
// reason and stores nothing.
TEST_F(PlantViewTest, ImportWaveformStoresWhatTheCommandLineStores) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString csv = folder.filePath(QStringLiteral("pump.csv"));
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
        for (int i = 0; i < 4096; ++i) {
            file.write(QByteArray::number(0.2 * std::sin(2 * M_PI * 24.6 * i / 2560.0), 'g', 9) + '\n');
        }
    }
    const QDateTime taken(QDate(2026, 3, 9), QTime(11, 30, 0));

    Select(NodeKind::VibPoint, QStringLiteral("{nde}"));
    QString refusal;
    window.SetImportWaveformHook([&](ImportWaveformDialog& dialog) {
        dialog.File().setText(csv);
        dialog.DateFromFile().setChecked(false);
        dialog.Date().setDateTime(taken);
        dialog.Unit().setCurrentIndex(1); // g
        dialog.RunSpeedFromFile().setChecked(false);
        dialog.RunSpeed().setValue(24.6);
        QTimer::singleShot(0, &dialog, [&dialog, &refusal] {
            // Without its sampling frequency a one-column file is refused; with it, stored.
            dialog.accept();
            refusal = dialog.Error();
            dialog.SamplingFrequency().setValue(2560);
            dialog.accept();
        });
    });
    const std::size_t before = db->ListVibReadings(QStringLiteral("{nde}")).size();
    window.ImportWaveform();
    EXPECT_FALSE(refusal.isEmpty());
    const std::vector<CVibReading> readings = db->ListVibReadings(QStringLiteral("{nde}"));
    ASSERT_EQ(readings.size(), before + 1);
    const CVibReading& desktop = readings.back();
    EXPECT_EQ(window.ReadingViews()->ReadingGuid(), desktop.sItemGUID);

    QProcess vantor;
    vantor.start(QStringLiteral(VANTOR_CLI_PATH),
                 {QStringLiteral("import-signal"), QStringLiteral("{de}"), csv, QStringLiteral("--fs"),
                  QStringLiteral("2560"), QStringLiteral("--date"),
                  taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), QStringLiteral("--unit"),
                  QStringLiteral("g"), QStringLiteral("--run-speed"), QStringLiteral("24.6")});
    ASSERT_TRUE(vantor.waitForFinished(60000));
    ASSERT_EQ(vantor.exitCode(), 0) << vantor.readAllStandardError().toStdString();
    CVibReading command;
    ASSERT_TRUE(db->GetLatestVibReading(QStringLiteral("{de}"), command));
    EXPECT_EQ(command.ctDateTaken, desktop.ctDateTaken);
    EXPECT_EQ(command.fCurrentRunSpeedHz, desktop.fCurrentRunSpeedHz);
    EXPECT_EQ(command.fTotalG, desktop.fTotalG);
    EXPECT_EQ(command.fISOMMS, desktop.fISOMMS);
    EXPECT_EQ(command.iTotalNumberOfSamples, desktop.iTotalNumberOfSamples);
    EXPECT_EQ(command.fTotalSamplingFrequency, desktop.fTotalSamplingFrequency);
    EXPECT_EQ(command.rawADCTotalDataByteArray, desktop.rawADCTotalDataByteArray);
}

// A waveform file dropped on a vibration point of the tree opens Import Waveform with that point
// and the file filled in; a file of another type, several files, or a drop on a machine opens
// nothing, and the drag is refused over them.
TEST_F(PlantViewTest, AWaveformFileDroppedOnAPointOpensTheImportWithBoth) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto file = [&folder](const char* name) {
        return QUrl::fromLocalFile(folder.filePath(QLatin1String(name)));
    };
    struct Case {
        const char* name;
        QList<QUrl> urls;
        NodeKind target;
        QString point; // the point the dialog opens on; empty: no dialog
    };
    const Case cases[] = {
        {"UFF 58 on the DE point", {file("run.uff")}, NodeKind::VibPoint, QStringLiteral("{de}")},
        {"WAV on the NDE point", {file("run.WAV")}, NodeKind::VibPoint, QStringLiteral("{nde}")},
        {"CSV on the DE point", {file("run.csv")}, NodeKind::VibPoint, QStringLiteral("{de}")},
        {"a picture", {file("run.png")}, NodeKind::VibPoint, QString()},
        {"two files", {file("a.wav"), file("b.wav")}, NodeKind::VibPoint, QString()},
        {"a web address",
         {QUrl(QStringLiteral("https://example.org/run.wav"))},
         NodeKind::VibPoint,
         QString()},
        {"a machine", {file("run.wav")}, NodeKind::Machine, QString()},
    };
    window.resize(1024, 768);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTreeView* tree = window.MachineTree();
    tree->expandAll();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString guid = c.target == NodeKind::Machine
                                 ? QStringLiteral("{pump}")
                                 : (c.point.isEmpty() ? QStringLiteral("{de}") : c.point);
        const QModelIndex target = IndexOf(c.target, guid);
        ASSERT_TRUE(target.isValid());
        const QPoint at = tree->visualRect(target).center();
        QMimeData data;
        data.setUrls(c.urls);
        std::optional<SignalImportRequest> opened;
        window.SetImportWaveformHook([&opened](ImportWaveformDialog& dialog) {
            opened = dialog.Request();
            QTimer::singleShot(0, &dialog, &QDialog::reject);
        });
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &enter);
        EXPECT_EQ(enter.isAccepted(), !c.point.isEmpty());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree->viewport(), &drop);
        if (c.point.isEmpty()) {
            EXPECT_FALSE(opened.has_value());
            continue;
        }
        ASSERT_TRUE(opened.has_value());
        EXPECT_EQ(opened->pointGuid, c.point);
        EXPECT_EQ(opened->path, c.urls.front().toLocalFile());
        EXPECT_EQ(window.TreeModel()->KeyOf(tree->currentIndex()).guid, c.point);
    }
}

TEST_F(PlantViewTest, DisplayCommandsStoreTheirSettingsAndRedrawTheTree) {
    DisplayCommands* display = window.Display();
    int redraws = 0;
    QObject::connect(display, &DisplayCommands::Changed, [&] { ++redraws; });
    const QModelIndex pump = IndexOf(NodeKind::Machine, QStringLiteral("{pump}"));
    display->ToggleBold();
    EXPECT_FALSE(window.TreeModel()->data(pump, Qt::FontRole).value<QFont>().bold());
    struct Case {
        std::function<void()> command;
        QString setting;
        QString stored;
    };
    const Case cases[] = {
        {[&] {}, "BoldFontOn", "0"},
        {[&] { display->ToggleFrequencyUnit(); }, "XAxisUnits", "1"},
        {[&] { display->ToggleFrequencyUnit(); }, "XAxisUnits", "2"},
        {[&] { display->ToggleFrequencyUnit(); }, "XAxisUnits", "0"},
        {[&] { display->ToggleFftLineOrBar(); }, "FFTLineOrBar", QString::number(kFftAsLines)},
        {[&] { display->CycleVibDisplay(); }, "VibDisplayOption", QString::number(kVibDisplayTrend)},
        {[&] { display->SetVarovud(true); }, "VarovudOVOOn", "1"},
    };
    for (const Case& c : cases) {
        c.command();
        EXPECT_EQ(SettingsValue(c.setting), c.stored) << qPrintable(c.setting);
    }
    EXPECT_EQ(redraws, 7);
    EXPECT_EQ(app.settings.frequencyUnitLabel, QStringLiteral("Hz"));
    // Scale lock is a state of this session, not a setting.
    display->ToggleScaleLock();
    EXPECT_TRUE(display->ScaleLocked());
    EXPECT_TRUE(display->ScaleLockAction()->isChecked());
    EXPECT_EQ(redraws, 8);
}

TEST_F(PlantViewTest, TheSplitterOffsetAndTheLookAreKept) {
    QSplitter* splitter = window.ViewArea();
    const int treeWidth = splitter->sizes().at(0);
    splitter->setSizes({treeWidth + 40, splitter->sizes().at(1) - 40});
    emit splitter->splitterMoved(treeWidth + 40, 1);
    EXPECT_EQ(app.settings.moveSplitterBy, treeWidth + 40 - 260);
    // The next window opens with the tree at the width the user left it.
    app.settings.moveSplitterBy = 55;
    {
        MainWindow next(
            app, [](const QString&) {}, 1ms);
        ASSERT_TRUE(next.Initialise(QStringLiteral("Corvane")));
        next.show();
        EXPECT_EQ(next.ViewArea()->sizes().at(0), 260 + 55);
    }
    window.ChooseAppLook(118);
    EXPECT_EQ(SettingsValue(QStringLiteral("AppLook")), QStringLiteral("118"));
    window.ChooseAppLook(4711); // no such look: the default one
    EXPECT_EQ(app.settings.appLook, 116);
}

// At 1024 x 768 the Events pane opens no taller than about a quarter of the window, and capping it
// leaves the window's minimum size as it was without the pane's cap (it still fits 1000 x 600).
TEST_F(PlantViewTest, TheEventsPaneOpensAtAQuarterOfTheWindow) {
    window.resize(1024, 768);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(20);
    const auto* pane = window.findChild<QDockWidget*>(QStringLiteral("FollowUpPane"));
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(pane->isVisible());
    EXPECT_LE(pane->height(), 768 / 4 + 8);
    EXPECT_GT(pane->widget()->height(), 100) << "its table still shows rows";
    EXPECT_LE(window.minimumSizeHint().height(), 600);
    EXPECT_LE(window.minimumSizeHint().width(), 1000);
}

TEST_F(PlantViewTest, TheMainWindowShowsThePlantInItsColours) {
    window.resize(1000, 600);
    window.MachineTree()->expandAll();
    Select(NodeKind::Machine, QStringLiteral("{pump}"));
    QTest::qWait(20);
    const QImage shot = window.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(1000, 600) * shot.devicePixelRatio());
    const auto count = [&](const QRect& area, const QColor& colour) {
        int found = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                found += shot.pixelColor(x, y) == colour ? 1 : 0;
            }
        }
        return found;
    };
    const QRect tree = window.MachineTree()->geometry().translated(window.centralWidget()->pos());
    const QRect table = window.ViewPane()->geometry().translated(window.centralWidget()->pos());
    // Warning (orange) and OK (green) icons and texts in the tree, no red (nothing is critical).
    EXPECT_GT(count(tree, QColor(255, 160, 0)), 20);
    EXPECT_GT(count(tree, QColor(0, 192, 0)), 20);
    EXPECT_EQ(count(tree, QColor(255, 0, 0)), 0);
    // The status table beside it shows the warning word and the OK word in their colours.
    EXPECT_GT(count(table, QColor(255, 160, 0)), 10);
    EXPECT_GT(count(table, QColor(0, 192, 0)), 10);
    // The tree pane sits left of the table pane, neither collapsed.
    EXPECT_LT(tree.right(), table.left());
    EXPECT_GT(tree.width(), 100);
    EXPECT_GT(table.width(), 400);
    if (const QByteArray out = qgetenv("VANTOR_SCREENSHOT"); !out.isEmpty()) {
        shot.save(QString::fromLocal8Bit(out));
    }
}

// The follow-up in the plant views: the Pump is on a 30-day route, so its points are due 30 days
// after their newest readings (long passed: overdue, in the critical colour) while the Fan, on no
// route, has no due date; "Overdue only" keeps the Pump's rows. NDE's alarm event marks it, its
// machine and the plant in the tree, its name in the table and the status bar's count until it is
// acknowledged in the events pane.
TEST_F(PlantViewTest, TheDueColumnAndTheNewEventMarksFollowTheFollowUp) {
    const CRoute route{MakeItemGuid(), 0, QStringLiteral("Route 1")};
    ASSERT_TRUE(db->UpsertRoute(route));
    ASSERT_TRUE(db->UpsertRouteItem(
        {MakeItemGuid(), route.sItemGUID, 0, QStringLiteral("{pump}"), QStringLiteral("Pump")}));
    ASSERT_TRUE(RecordAlarmEvent(*db, QStringLiteral("{nde}")).has_value());
    window.RefreshPlant();
    Select(NodeKind::Plant, {});
    MachineStatusTable* table = window.StatusTable();
    const QStringList headers = table->HeaderTexts();
    const int dueColumn = static_cast<int>(headers.indexOf(QStringLiteral("Due")));
    ASSERT_EQ(dueColumn, headers.size() - 2);
    const QLocale locale;
    struct Row {
        QString point;
        QDate due; // invalid: none
    };
    const Row rows[] = {{QStringLiteral("DE"), kDay.date().addDays(31)},
                        {QStringLiteral("NDE"), kDay.date().addDays(30)},
                        {QStringLiteral("Fan bearing"), {}}};
    ASSERT_EQ(table->RowCount(), 3);
    QAbstractItemModel* model = table->View()->model();
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(rows[row].point.toStdString());
        EXPECT_EQ(table->RowTexts(row)[1], rows[row].point);
        const QModelIndex due = model->index(row, dueColumn);
        EXPECT_EQ(due.data().toString(),
                  rows[row].due.isValid() ? locale.toString(rows[row].due, QLocale::ShortFormat) : QString());
        if (rows[row].due.isValid()) {
            EXPECT_EQ(due.data(Qt::ForegroundRole).value<QColor>(), StatusTextColour(StatusCode::Critical));
        }
    }
    table->OverdueOnly()->setChecked(true);
    EXPECT_EQ(table->VisibleRowCount(), 2);
    window.RefreshPlant(); // the filter stays through a refresh
    EXPECT_EQ(table->VisibleRowCount(), 2);
    table->OverdueOnly()->setChecked(false);
    EXPECT_EQ(table->VisibleRowCount(), 3);

    const auto newEvents = [&](NodeKind kind, const QString& guid) {
        return IndexOf(kind, guid).data(MachineTreeModel::NewEventsRole).toInt();
    };
    EXPECT_EQ(newEvents(NodeKind::VibPoint, QStringLiteral("{nde}")), 1);
    EXPECT_EQ(newEvents(NodeKind::VibPoint, QStringLiteral("{de}")), 0);
    EXPECT_EQ(newEvents(NodeKind::Machine, QStringLiteral("{pump}")), 1);
    EXPECT_EQ(newEvents(NodeKind::Plant, {}), 1);
    EXPECT_TRUE(IndexOf(NodeKind::VibPoint, QStringLiteral("{nde}"))
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("1 new events")));
    EXPECT_FALSE(model->index(1, 1).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_TRUE(model->index(0, 1).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(window.NewEventsCaption()->text(), QStringLiteral("1 new events"));

    FollowUpPane* pane = window.FollowUp();
    pane->EventsTable()->selectRow(0);
    pane->askComment = [] { return std::optional<QString>(QStringLiteral("bearing greased")); };
    ASSERT_TRUE(pane->AcknowledgeSelected());
    EXPECT_EQ(newEvents(NodeKind::VibPoint, QStringLiteral("{nde}")), 0);
    EXPECT_EQ(newEvents(NodeKind::Plant, {}), 0);
    EXPECT_TRUE(model->index(1, 1).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_TRUE(window.NewEventsCaption()->text().isEmpty());
}

// At 1024 x 768 the plant's table fits its pane without scrolling sideways, even with long names
// and the due and findings columns: the narrowed cells keep their whole text in the tooltip.
TEST_F(PlantViewTest, TheStatusTableFitsAMaximisedWindowWithoutScrollingSideways) {
    const QString machine = QStringLiteral("Boiler feed water pump 2, east turbine hall");
    const QString point = QStringLiteral("Motor drive end, horizontal, outboard");
    ASSERT_TRUE(db->UpsertMachine(CMachine{QStringLiteral("{long}"), 2, machine, {}, {}}));
    ASSERT_TRUE(db->UpsertVib(Point(QStringLiteral("{longpoint}"), QStringLiteral("{long}"), 0, point)));
    ASSERT_TRUE(db->UpsertVibReading(Reading(QStringLiteral("{longpoint}"), kDay, 3.0f)));
    window.resize(1024, 768);
    window.RefreshPlant();
    Select(NodeKind::Plant, {});
    QTest::qWait(20);
    MachineStatusTable* table = window.StatusTable();
    ASSERT_EQ(table->RowCount(), 4);
    EXPECT_EQ(table->View()->horizontalScrollBar()->maximum(), 0);
    QAbstractItemModel* model = table->View()->model();
    EXPECT_EQ(model->index(3, 0).data(Qt::ToolTipRole).toString(), machine);
    EXPECT_TRUE(model->index(3, 1).data(Qt::ToolTipRole).toString().startsWith(point));
    EXPECT_TRUE(model->index(3, 2)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .startsWith(kDay.date().toString(QStringLiteral("d"))));
}

TEST(HelpDialogs, ShortcutsAndTheIsoChooser) {
    CShortcutsDialog shortcuts({{QKeySequence(Qt::Key_F2), QStringLiteral("Toggle Bold On/Off")}});
    ASSERT_EQ(shortcuts.Table()->rowCount(), 1);
    EXPECT_EQ(shortcuts.Table()->item(0, 0)->text(), QStringLiteral("F2"));
    EXPECT_EQ(shortcuts.Table()->item(0, 1)->text(), QStringLiteral("Toggle Bold On/Off"));

    CIsoStandardsDialog table(false);
    EXPECT_EQ(table.windowTitle(), QStringLiteral("ISO 10816-3:1998(E)"));
    EXPECT_EQ(table.Table()->item(1, 2)->text(), QStringLiteral("2.8 / 4.5"));
    EXPECT_EQ(table.Table()->item(0, 3)->text(), QStringLiteral("7.1 / 11.0"));
    EXPECT_FALSE(table.Choose(1, 0)); // the Help table chooses nothing

    CIsoStandardsDialog chooser(true);
    auto* button = chooser.findChild<QPushButton*>(QStringLiteral("Iso41"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("4.5 / 7.1"));
    button->click();
    ASSERT_TRUE(chooser.Chosen());
    EXPECT_EQ(chooser.Chosen()->group, 4);
    EXPECT_EQ(chooser.Chosen()->foundation, 1);
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_FALSE(chooser.Choose(5, 0));
}

// A point judged by ISO 20816-3 names its zone in the status cell's tooltip under its status; the
// other point's tooltip names no zone and every documented cell reads as before.
TEST_F(PlantViewTest, APointOnTheSeverityStandardNamesItsZoneInTheStatusTooltip) {
    Select(NodeKind::Machine, QStringLiteral("{pump}"));
    const QStringList before{window.StatusTable()->RowTexts(0).join(u'|'),
                             window.StatusTable()->RowTexts(1).join(u'|')};
    StorePointStandard(*db, QStringLiteral("{de}"), {SeverityStandard::Iso20816_3, 2, Support::Rigid});
    window.RefreshPlant();
    Select(NodeKind::Machine, QStringLiteral("{pump}"));
    MachineStatusTable* table = window.StatusTable();
    const QAbstractItemModel* model = table->View()->model();
    // DE's newest 2.0 mm/s is zone B of group 2 rigid: still OK.
    EXPECT_EQ(table->RowTexts(0).join(u'|'), before[0]);
    EXPECT_EQ(table->RowTexts(1).join(u'|'), before[1]);
    EXPECT_EQ(model->data(model->index(0, 2), Qt::ToolTipRole).toString(),
              QStringLiteral(
                  "OK\nSeverity by ISO 20816-3 group 2, rigid: zone B (velocity 2.00 mm/s, A/B 1.4 mm/s)"));
    EXPECT_FALSE(
        model->data(model->index(1, 2), Qt::ToolTipRole).toString().contains(QStringLiteral("zone")));
}
