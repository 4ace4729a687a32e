// The desktop in German: every dialog and dock opened offscreen shows no caption that is an English
// text of the UI text table whose German row differs (a text the code put up in English).
#include "ui/window/MainWindow.h"

#include "app/CatalogueEditor.h"
#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "texts/DisplayFormat.h"
#include "texts/UiText.h"
#include "ui/common/AxisSetupDialog.h"
#include "ui/common/NameDialog.h"
#include "ui/common/SelectVibPointDialog.h"
#include "ui/report/ReportWizard.h"
#include "ui/setup/BearingLibraryDialog.h"
#include "ui/setup/DeviceNamesDialog.h"
#include "ui/setup/IsoStandardsDialog.h"
#include "ui/setup/MachineManagerDialog.h"
#include "ui/setup/MachineSetupDialog.h"
#include "ui/setup/PointSetupDialogs.h"
#include "ui/setup/RouteManagerDialog.h"
#include "ui/setup/SettingsDialogs.h"
#include "ui/sync/MeterPortDialog.h"
#include "ui/sync/OffRouteDialog.h"
#include "ui/sync/SelectRouteDialog.h"
#include "ui/views/TrendLineDialog.h"
#include "ui/views/ZoomDateDialog.h"
#include "ui/window/HelpDialogs.h"
#include "ui/window/ImportWaveformDialog.h"
#include "ui/window/ServerDatabaseDialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTabBar>
#include <QWizard>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vantor;
using namespace std::chrono_literals;

namespace {

QString Plain(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text.section(u'\t', 0, 0).trimmed();
}

// Every caption a user reads in a widget and its children: titles, labels, buttons, group boxes,
// tab names, column headers and the items of choice lists.
QStringList Shown(const QWidget& root) {
    QStringList shown = {root.windowTitle()};
    for (const QLabel* label : root.findChildren<QLabel*>()) {
        shown << label->text();
    }
    for (const QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
        shown << button->text();
    }
    for (const QGroupBox* box : root.findChildren<QGroupBox*>()) {
        shown << box->title();
    }
    for (const QTabBar* bar : root.findChildren<QTabBar*>()) {
        for (int i = 0; i < bar->count(); ++i) {
            shown << bar->tabText(i);
        }
    }
    for (const QDockWidget* dock : root.findChildren<QDockWidget*>()) {
        shown << dock->windowTitle();
    }
    for (const QAbstractItemView* view : root.findChildren<QAbstractItemView*>()) {
        if (const QAbstractItemModel* model = view->model()) {
            for (int c = 0; c < model->columnCount(); ++c) {
                shown << model->headerData(c, Qt::Horizontal).toString();
            }
        }
    }
    for (const QComboBox* box : root.findChildren<QComboBox*>()) {
        for (int i = 0; i < box->count(); ++i) {
            shown << box->itemText(i);
        }
    }
    if (const auto* wizard = qobject_cast<const QWizard*>(&root)) {
        for (const int id : wizard->pageIds()) {
            shown << wizard->page(id)->title() << wizard->page(id)->subTitle();
        }
    }
    QStringList plain;
    for (const QString& text : shown) {
        plain << Plain(text);
    }
    return plain;
}

// The English texts of the table that read otherwise in the language loaded now (a text that some
// row keeps unchanged, "Name" or "OK", is not one of them).
QSet<QString> EnglishWithOtherTranslation() {
    QSet<QString> changed;
    QSet<QString> kept;
    for (int i = 0; i < UiTextAllCount; ++i) {
        const QString english = Plain(EnglishDefaultText(i));
        if (english.isEmpty()) {
            continue;
        }
        (Plain(UiText(i)) == english ? kept : changed).insert(english);
    }
    return changed - kept;
}

class GermanDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.UseProgramData(QStringLiteral(VANTOR_PROGRAM_DATA_DIR));
        CAppData setup(prompter, Edition::For(2, 0));
        ASSERT_TRUE(InitDataRoot(setup));
    }
    void TearDown() override {
        UiTextTable::ResetToDefaults();
        SetDisplayLanguage(QString());
    }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    CAppData app{prompter, Edition::For(2, 0)};
    MainWindow window{app, [](const QString&) {}, 1ms};
};

} // namespace

TEST_F(GermanDesktopTest, NoDialogOrDockShowsAnEnglishTextThatHasAGermanRow) {
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    CMainConnection* db = app.MainConnection();
    ASSERT_TRUE(db->UpsertMachine(CMachine{QStringLiteral("{pump}"), 0, QStringLiteral("Pump"), {}, {}}));
    CVib vib;
    vib.sItemGUID = QStringLiteral("{de}");
    vib.sParentGUID = QStringLiteral("{pump}");
    vib.sName = vib.sVMName = QStringLiteral("DE");
    vib.fRunSpeedHz = 25;
    ASSERT_TRUE(db->UpsertVib(vib));
    window.RefreshPlant();
    const QStringList languages = window.Language().languages;
    window.ChooseLanguage(
        LanguageState::MenuId(static_cast<int>(languages.indexOf(QStringLiteral("Deutsch")))));
    ASSERT_EQ(window.Language().current, QStringLiteral("Deutsch"));
    const QSet<QString> english = EnglishWithOtherTranslation();
    ASSERT_GT(english.size(), 400);

    CatalogueEditor editor(*db, prompter);
    const DisplayUnits units = DisplayUnits::FromSettings(app.settings.xAxisUnits, app.settings.yAxisUnits);
    const QDateTime day(QDate(2026, 11, 30), QTime(8, 0));
    const FileQuestion noFile = [](QWidget*, const FileRequest&) { return QString(); };
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>()>>> dialogs = {
        {"units", [&] { return std::make_unique<CUnitsDialog>(app); }},
        {"decimal places", [&] { return std::make_unique<CDecimalPlacesDialog>(app); }},
        {"FFT display", [&] { return std::make_unique<CFftDisplayDialog>(app); }},
        {"band names", [&] { return std::make_unique<CBandNamesDialog>(app); }},
        {"status columns", [&] { return std::make_unique<CStatusColumnsDialog>(app); }},
        {"exception e-mails", [&] { return std::make_unique<CEmailExceptionsDialog>(app); }},
        {"mail server", [&] { return std::make_unique<CMailServerDialog>(app); }},
        {"exception addresses", [&] { return std::make_unique<CExceptionAddressesDialog>(app); }},
        {"machine manager", [&] { return std::make_unique<CMachineManagerDialog>(app); }},
        {"machine set-up",
         [&] { return std::make_unique<CMachineSetupDialog>(editor, prompter, CMachine{}); }},
        {"vibration point set-up",
         [&] { return std::make_unique<CVibPointSetupDialog>(editor, prompter, vib, units); }},
        {"lube point set-up",
         [&] { return std::make_unique<CLubePointSetupDialog>(editor, prompter, CLube{}); }},
        {"route manager", [&] { return std::make_unique<CRouteManagerDialog>(app); }},
        {"select machines", [&] { return std::make_unique<CSelectMachinesDialog>(app, true); }},
        {"select point", [&] { return std::make_unique<CSelectVibPointDialog>(app); }},
        {"device names", [&] { return std::make_unique<CDeviceNamesDialog>(app); }},
        {"bearing library", [&] { return std::make_unique<CBearingLibraryDialog>(app); }},
        {"ISO limits", [&] { return std::make_unique<CIsoLimitsDialog>(QStringLiteral("mm/s"), 1.0f); }},
        {"ISO standards", [&] { return std::make_unique<CIsoStandardsDialog>(true); }},
        {"about",
         [&] { return std::make_unique<CAboutDialog>(QStringLiteral("Corvane"), QString(), QString()); }},
        {"server database", [&] { return std::make_unique<ServerDatabaseDialog>(app); }},
        {"import waveform",
         [&] { return std::make_unique<ImportWaveformDialog>(app, vib.sItemGUID, vib.sName, noFile); }},
        {"select route", [&] { return std::make_unique<CSelectRouteDialog>(app); }},
        {"off-route readings", [&] { return std::make_unique<COffRouteDialog>(app); }},
        {"meter port", [&] { return std::make_unique<CMeterPortDialog>(QString(), QString()); }},
        {"report wizard", [&] { return std::make_unique<CReportWizard>(app, nullptr, noFile); }},
        {"axis set-up",
         [&] {
             return std::make_unique<AxisSetupDialog>(AxisSetupKind::Frequency, AxisLimits{0, 100});
         }},
        {"trend line",
         [&] {
             return std::make_unique<TrendLineDialog>(TrendLineChoice{}, std::vector{day, day.addDays(7)},
                                                      1.0, prompter);
         }},
        {"date zoom",
         [&] {
             return std::make_unique<ZoomDateDialog>(std::nullopt, ZoomableSpan(day, day.addDays(7)),
                                                     prompter);
         }},
        {"main window", [&]() -> std::unique_ptr<QWidget> { return nullptr; }},
    };
    for (const auto& [name, make] : dialogs) {
        std::unique_ptr<QWidget> dialog = make();
        const QWidget& shownWidget = dialog ? *dialog : static_cast<const QWidget&>(window);
        for (const QString& text : Shown(shownWidget)) {
            EXPECT_FALSE(english.contains(text)) << name << ": \"" << text.toStdString() << "\" is English";
        }
    }
}
