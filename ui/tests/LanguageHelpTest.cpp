// The shipped language packs in the running window (every menu translated, one mnemonic per item),
// the user guide opened from the Help menu and by F1 at the page of the view in front, and About.
#include "ui/window/MainWindow.h"

#include "app/CatalogueEditor.h"
#include "app/Startup.h"
#include "platform/Version.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/RecordSyncConnection.h"
#include "texts/UiText.h"
#include "ui/setup/PointSetupDialogs.h"
#include "ui/setup/SettingsDialogs.h"
#include "ui/views/PointViews.h"
#include "ui/window/HelpDialogs.h"
#include "ui/window/MachineTreeModel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>

using namespace vantor;
using namespace std::chrono_literals;

namespace {

const QString kProgramData = QStringLiteral(VANTOR_PROGRAM_DATA_DIR);

// Every item of a menu and its submenus, by menu: the menu's place ("bar/2/0": the first submenu of
// the third menu) with its title and its items' texts.
struct MenuItems {
    QString title;
    QStringList items;
};

void CollectMenus(const QString& path, const QString& title, const QList<QAction*>& actions,
                  std::map<QString, MenuItems>& menus) {
    MenuItems& menu = menus[path];
    menu.title = title;
    int position = 0;
    for (const QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible()) {
            continue;
        }
        menu.items << action->text();
        if (action->menu() != nullptr) {
            CollectMenus(path + u'/' + QString::number(position), action->text(), action->menu()->actions(),
                         menus);
        }
        ++position;
    }
}

std::map<QString, MenuItems> Menus(const MainWindow& window) {
    std::map<QString, MenuItems> menus;
    CollectMenus(QStringLiteral("bar"), QStringLiteral("bar"), window.menuBar()->actions(), menus);
    return menus;
}

// The character after the one "&" that marks a mnemonic ("&&" is a shown ampersand); none when
// the text has no mnemonic.
std::optional<QChar> Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&') {
            if (text[i + 1] != u'&') {
                return text[i + 1].toLower();
            }
            ++i;
        }
    }
    return std::nullopt;
}

QString Plain(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text.section(u'\t', 0, 0);
}

class LanguageHelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.UseProgramData(kProgramData);
        CAppData setup(prompter, Edition::For(2, 0));
        ASSERT_TRUE(InitDataRoot(setup));
    }
    void TearDown() override { UiTextTable::ResetToDefaults(); }

    void StartWithAPoint() {
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
    }

    vantor::testing::TempEnvironment env;
    vantor::testing::RecordingPrompter prompter;
    CAppData app{prompter, Edition::For(2, 0)};
    MainWindow window{app, [](const QString&) {}, 1ms};
    QList<QUrl> opened;
};

} // namespace

TEST_F(LanguageHelpTest, EveryShippedLanguageTranslatesTheMenusWithOneMnemonicPerItem) {
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    const QStringList languages = window.Language().languages;
    ASSERT_EQ(languages, (QStringList{QStringLiteral("English"), QStringLiteral("Deutsch"),
                                      QStringLiteral("Espa\u00f1ol"), QStringLiteral("Fran\u00e7ais")}));
    const std::map<QString, MenuItems> english = Menus(window);

    // Menu items that read the same in every language: units, counts, names.
    const QStringList same = {QStringLiteral("Language"),
                              QStringLiteral("Hz"),
                              QStringLiteral("RPM"),
                              QStringLiteral("CPM"),
                              QStringLiteral("g"),
                              QStringLiteral("mm/s"),
                              QStringLiteral("inch/s"),
                              QStringLiteral("mm/s, \u00b5m"),
                              QStringLiteral("inch/s, thou"),
                              QStringLiteral("FFT"),
                              QStringLiteral("Trend"),
                              QStringLiteral("Varovud OVO")};
    for (const QString& language : {QStringLiteral("Deutsch"), QStringLiteral("Fran\u00e7ais"),
                                    QStringLiteral("Espa\u00f1ol"), QStringLiteral("English")}) {
        SCOPED_TRACE(language.toStdString());
        window.ChooseLanguage(LanguageState::MenuId(static_cast<int>(languages.indexOf(language))));
        ASSERT_EQ(window.Language().current, language);
        const std::map<QString, MenuItems> menus = Menus(window);
        ASSERT_EQ(menus.size(), english.size());
        for (const auto& [path, menu] : menus) {
            SCOPED_TRACE((path + u' ' + menu.title).toStdString());
            const QStringList& items = menu.items;
            const MenuItems& englishMenu = english.at(path);
            // The language and look menus list names, which no language translates and which carry no
            // mnemonics.
            const bool names = englishMenu.title.contains(QStringLiteral("Language")) ||
                               Plain(englishMenu.title) == QStringLiteral("App Look");
            std::map<QChar, QString> taken;
            for (const QString& item : names ? QStringList() : items) {
                const std::optional<QChar> mnemonic = Mnemonic(item);
                ASSERT_TRUE(mnemonic) << item.toStdString() << " has no mnemonic";
                const auto [at, added] = taken.emplace(*mnemonic, item);
                EXPECT_TRUE(added) << item.toStdString() << " and " << at->second.toStdString() << " share &"
                                   << QString(*mnemonic).toStdString();
            }
            if (language != QStringLiteral("English") && !names) {
                ASSERT_EQ(items.size(), englishMenu.items.size());
                for (qsizetype i = 0; i < items.size(); ++i) {
                    const QString text = Plain(items[i]);
                    bool isCount = false;
                    text.toInt(&isCount);
                    if (!same.contains(text) && !isCount) {
                        EXPECT_NE(text, Plain(englishMenu.items[i]))
                            << text.toStdString() << " left in English";
                    }
                }
            }
        }
    }
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(LanguageHelpTest, HelpOpensTheGuideAndF1ThePageOfTheViewInFront) {
    StartWithAPoint();
    window.SetGuideOpener([this](const QUrl& url) {
        opened << url;
        return true;
    });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto pageOf = [](const QUrl& url) {
        return url.fileName() + (url.hasFragment() ? u'#' + url.fragment() : QString());
    };

    window.UserGuideAction()->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.last().isLocalFile());
    EXPECT_EQ(opened.last().toLocalFile(), kProgramData + QStringLiteral("/guide/index.html"));
    EXPECT_TRUE(window.UserGuideAction()->text().endsWith(QStringLiteral("\tF1")));

    struct Front {
        std::function<void()> show;
        const char* page;
    };
    const QModelIndex point =
        window.TreeModel()->IndexOf({MachineTreeModel::NodeKind::VibPoint, QStringLiteral("{de}")});
    const QModelIndex machine =
        window.TreeModel()->IndexOf({MachineTreeModel::NodeKind::Machine, QStringLiteral("{pump}")});
    const Front fronts[] = {
        {[&] { window.MachineTree()->setCurrentIndex(window.TreeModel()->PlantIndex()); }, "tree.html"},
        {[&] { window.MachineTree()->setCurrentIndex(machine); }, "tree.html"},
        {[&] {
             window.MachineTree()->setCurrentIndex(point);
             window.ReadingViews()->setCurrentIndex(PointViews::TrendTab);
         },
         "views.html#trend"},
        {[&] { window.ReadingViews()->setCurrentIndex(PointViews::SpectrumTab); }, "views.html#spectrum"},
        {[&] { window.ReadingViews()->setCurrentIndex(PointViews::WaveformTab); }, "views.html#waveform"},
        {[&] { window.ReadingViews()->setCurrentIndex(PointViews::EnvelopeTab); }, "views.html#envelope"},
        {[&] { window.ReadingViews()->setCurrentIndex(PointViews::AnalysisTab); }, "views.html#analysis"},
        {[&] { window.ReadingViews()->setCurrentIndex(PointViews::FindingsTab); }, "views.html#findings"},
    };
    for (const Front& front : fronts) {
        front.show();
        QTest::keyClick(&window, Qt::Key_F1);
        ASSERT_FALSE(opened.isEmpty());
        EXPECT_EQ(pageOf(opened.last()), QLatin1String(front.page));
        EXPECT_TRUE(QFile::exists(opened.last().toLocalFile())) << front.page;
    }
    EXPECT_TRUE(prompter.records.empty());

    // No program to open it: the user is told which file to open.
    window.SetGuideOpener([](const QUrl&) { return false; });
    EXPECT_FALSE(window.OpenUserGuide(QStringLiteral("tree.html")));
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_TRUE(
        prompter.Messages().last().startsWith(QStringLiteral("No program could open the User Guide")));
    EXPECT_TRUE(prompter.Messages().last().endsWith(kProgramData + QStringLiteral("/guide/tree.html")));
}

TEST_F(LanguageHelpTest, AMissingGuideIsSaidAndAboutNamesVersionBuildAndLicences) {
    env.UseProgramData(env.Root() + QStringLiteral("/program"));
    MainWindow bare{app, [](const QString&) {}, 1ms};
    ASSERT_TRUE(bare.Initialise(QStringLiteral("Corvane")));
    bare.SetGuideOpener([this](const QUrl& url) {
        opened << url;
        return true;
    });
    EXPECT_FALSE(bare.OpenUserGuide(QStringLiteral("index.html")));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(prompter.Messages(), QStringList{QStringLiteral("User Guide not installed")});

    CAboutDialog about(QStringLiteral("Corvane"), QStringLiteral("Norhall Instruments"),
                       QStringLiteral("/guide"));
    const QString text = about.Text();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Corvane"));
    for (const QString& part : {ProgramVersion(), ProgramBuildDate(), QStringLiteral("Norhall Instruments"),
                                QStringLiteral("Built"), QStringLiteral("/guide")}) {
        EXPECT_TRUE(text.contains(part)) << part.toStdString();
    }
    for (const CAboutDialog::Library& library : CAboutDialog::Libraries()) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(library.name).toHtmlEscaped())) << library.name;
        EXPECT_TRUE(text.contains(QString::fromUtf8(library.licence).toHtmlEscaped())) << library.licence;
    }
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("AboutText"))->text(), text);
}

// Every caption, check box, button and choice a dialog shows, in the order of its widgets.
QStringList Shown(const QDialog& dialog) {
    QStringList shown = {dialog.windowTitle()};
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        shown << Plain(label->text());
    }
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        shown << Plain(button->text());
    }
    for (const QComboBox* box : dialog.findChildren<QComboBox*>()) {
        for (int i = 0; i < box->count(); ++i) {
            shown << box->itemText(i);
        }
    }
    return shown;
}

// Dialogs beside the menus: in German no caption, check box, button or choice of the mail server,
// the exception e-mails or the lube point reads as it does in English.
TEST_F(LanguageHelpTest, SettingsAndLubeDialogsLeaveNoEnglishCaptionInGerman) {
    ASSERT_TRUE(window.Initialise(QStringLiteral("Corvane")));
    const QStringList languages = window.Language().languages;
    // Words that read the same in German, and fields that show values rather than captions.
    const QStringList same = {QString(),
                              QStringLiteral("OK"),
                              QStringLiteral("Port"),
                              QStringLiteral("Server"),
                              QStringLiteral("STARTTLS"),
                              QStringLiteral("TLS"),
                              QStringLiteral("Name"),
                              QStringLiteral("Bdu"),
                              QStringLiteral("BDU")};
    CatalogueEditor editor(*app.MainConnection(), prompter);
    CLube lube;
    lube.sParentGUID = QStringLiteral("{pump}");
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<QDialog>()>>> dialogs = {
        {"mail server", [&] { return std::make_unique<CMailServerDialog>(app); }},
        {"exception e-mails", [&] { return std::make_unique<CEmailExceptionsDialog>(app); }},
        {"lube point", [&] { return std::make_unique<CLubePointSetupDialog>(editor, prompter, lube); }},
    };
    std::vector<QStringList> english;
    for (const auto& entry : dialogs) {
        english.push_back(Shown(*entry.second()));
    }
    window.ChooseLanguage(
        LanguageState::MenuId(static_cast<int>(languages.indexOf(QStringLiteral("Deutsch")))));
    ASSERT_EQ(window.Language().current, QStringLiteral("Deutsch"));
    for (std::size_t d = 0; d < dialogs.size(); ++d) {
        SCOPED_TRACE(dialogs[d].first);
        const QStringList german = Shown(*dialogs[d].second());
        ASSERT_EQ(german.size(), english[d].size());
        int compared = 0;
        for (qsizetype i = 0; i < german.size(); ++i) {
            if (same.contains(english[d][i])) {
                continue;
            }
            ++compared;
            EXPECT_NE(german[i], english[d][i]) << german[i].toStdString() << " left in English";
        }
        EXPECT_GE(compared, 3);
    }
}
