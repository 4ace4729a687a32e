#include "texts/UiText.h"
#include "ui/common/DateFixDialog.h"
#include "ui/common/QtPrompter.h"
#include "ui/sync/MeterPortDialog.h"
#include "ui/tests/DialogTesting.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QTimer>

#include <gtest/gtest.h>

using vantor::testing::Grab;
using vantor::testing::WhenModal;

#include <functional>

using namespace vantor;

namespace {

void Click(QWidget* dialog, const QString& buttonText) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == buttonText) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << buttonText.toStdString();
    dialog->close();
}

} // namespace

TEST(QtPrompterTest, QuestionsAnswerWithTheButtonTheUserClicks) {
    QtPrompter prompter(QStringLiteral("Corvane"));
    QString caption;
    QString shown;
    WhenModal([&](QWidget* box) {
        caption = box->windowTitle();
        shown = static_cast<QMessageBox*>(box)->text();
        Click(box, QStringLiteral("Yes"));
    });
    EXPECT_TRUE(prompter.AskYesNo(QStringLiteral("Do you want to Exit?")));
    EXPECT_EQ(caption, QStringLiteral("Corvane"));
    EXPECT_EQ(shown, QStringLiteral("Do you want to Exit?"));

    WhenModal([](QWidget* box) { Click(box, QStringLiteral("No")); });
    EXPECT_FALSE(prompter.AskYesNo(QStringLiteral("Delete?")));
    WhenModal([](QWidget* box) { Click(box, QStringLiteral("Retry")); });
    EXPECT_TRUE(prompter.AskRetryCancel(QStringLiteral("No Cradle detected")));
    WhenModal([](QWidget* box) { Click(box, QStringLiteral("Cancel")); });
    EXPECT_FALSE(prompter.AskRetryCancel(QStringLiteral("No Cradle detected")));
}

TEST(QtPrompterTest, TheNamePromptReturnsTheTypedNameOrNothing) {
    QtPrompter prompter(QStringLiteral("Corvane"));
    WhenModal([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>()->setText(QStringLiteral("Meter 7"));
        Click(dialog, UiText(text::Ok));
    });
    EXPECT_EQ(prompter.PromptName({QStringLiteral("New Device found"), QStringLiteral("Device Name"), {}, 0}),
              QStringLiteral("Meter 7"));
    WhenModal([](QWidget* dialog) { Click(dialog, UiText(text::Cancel)); });
    EXPECT_EQ(prompter.PromptName({}), std::nullopt);
}

TEST(QtPrompterTest, TheDateFixDialogKeepsToTheValidDateRange) {
    QtPrompter prompter(QStringLiteral("Corvane"));
    const QDateTime chosen(QDate(2024, 2, 29), QTime(13, 14, 15));
    WhenModal([&](QWidget* dialog) {
        dialog->findChild<QDateTimeEdit*>()->setDateTime(chosen);
        Click(dialog, UiText(text::Ok));
    });
    EXPECT_EQ(prompter.PromptDateFix({QStringLiteral("Date"), QStringLiteral("fix it"), {}, 0}), chosen);
    WhenModal([](QWidget* dialog) { Click(dialog, UiText(text::Cancel)); });
    EXPECT_EQ(prompter.PromptDateFix({}), std::nullopt);

    DateFixDialog early({QString(), QString(), QDateTime(QDate(1850, 1, 1), QTime(0, 0)), 0});
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    EXPECT_GE(early.DateTime(), before); // an impossible stored date offers today instead
    early.findChild<QDateTimeEdit*>()->setDateTime(QDateTime(QDate(2100, 1, 1), QTime(0, 0)));
    EXPECT_EQ(early.DateTime(), QDateTime(QDate(2079, 6, 6), QTime(0, 0)));
}

TEST(MeterPortDialog, OffersAutomaticThePresentPortsAndATypedPathUnderAShortTitle) {
    CMeterPortDialog stored(QStringLiteral("/dev/pts/7"), UiText(text::NoCradleDetected));
    // The reason goes into the dialog, where it wraps; the title stays short.
    EXPECT_EQ(stored.windowTitle(), UiText(text::added::MeterPort));
    EXPECT_EQ(stored.Message()->text(), UiText(text::NoCradleDetected));
    EXPECT_EQ(stored.Choice()->itemText(0), UiText(text::added::MeterPortAutomatic));
    EXPECT_EQ(stored.Port(), QStringLiteral("/dev/pts/7"));
    struct Row {
        QString typed;
        QString port;
    };
    const Row rows[] = {
        {UiText(text::added::MeterPortAutomatic), {}},
        {QStringLiteral("USB"), {}}, // what earlier versions offered for the cradle
        {QStringLiteral("  /dev/ttyUSB1 "), QStringLiteral("/dev/ttyUSB1")},
    };
    auto* accept = stored.findChild<QPushButton*>(QStringLiteral("AcceptButton"));
    EXPECT_EQ(accept->text(), UiText(text::Retry));
    for (const Row& row : rows) {
        stored.Choice()->setCurrentText(row.typed);
        EXPECT_EQ(stored.Port(), row.port) << row.typed.toStdString();
        // Another port than the stored one is tried in a new run.
        EXPECT_EQ(accept->text(), UiText(text::added::TryThisPort));
    }
    stored.Choice()->setCurrentText(QStringLiteral("/dev/pts/7"));
    EXPECT_EQ(accept->text(), UiText(text::Retry));
    // Every serial port present is listed by its path (USB-serial adapters with their description).
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        EXPECT_GE(stored.Choice()->findData(port.systemLocation()), 1) << port.systemLocation().toStdString();
    }

    const CMeterPortDialog setting{QString(), QString()};
    EXPECT_EQ(setting.Choice()->currentIndex(), 0);
    EXPECT_TRUE(setting.Port().isEmpty());
    EXPECT_TRUE(setting.Message()->isHidden());
}
