// The point set-up's severity standard under the offscreen platform: the standard chosen and stored
// with the point, the standard's ALARM and TRIP offered from the point's readings and put into the
// ISO fields only on Yes (stored only by OK), and a point without ISO readings told so with nothing
// changed.
#include "analysis/PointSeverity.h"
#include "app/CatalogueEditor.h"
#include "app/tests/DatabaseFixture.h"
#include "loaders/PointSeverityStore.h"
#include "ui/setup/EditorFields.h"
#include "ui/setup/PointSetupDialogs.h"
#include "ui/setup/SeverityStandardSection.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace vantor {
namespace {

class SeverityStandardDialogTest : public testing::DatabaseFixture {
protected:
    CVib PointWithReadings(std::initializer_list<float> isoValues) {
        CVib point = AddPoint(AddMachine(QStringLiteral("Fan")), QStringLiteral("DE"));
        point.fRunSpeedHz = 25.0f;
        point.bISOAlarmsOn = false;
        point.fISOWarningMMS = 4.5f;
        point.fISOCriticalMMS = 7.1f;
        EXPECT_TRUE(Db().UpsertVib(point));
        int day = 1;
        for (const float value : isoValues) {
            CVibReading reading;
            reading.sItemGUID = MakeItemGuid();
            reading.sParentGUID = point.sItemGUID;
            reading.ctDateTaken = QDateTime(QDate(2026, 3, day++), QTime(9, 0));
            reading.fISOMMS = value;
            EXPECT_TRUE(Db().UpsertVibReading(reading));
        }
        return point;
    }
    static void Choose(QDialog& dialog, int standard, int group, int support) {
        dialog.findChild<QComboBox*>(QStringLiteral("SeverityStandardChoice"))->setCurrentIndex(standard);
        dialog.findChild<QComboBox*>(QStringLiteral("SeverityGroup"))->setCurrentIndex(group);
        dialog.findChild<QComboBox*>(QStringLiteral("SeveritySupport"))->setCurrentIndex(support);
    }
    static QString Field(QDialog& dialog, const char* name) {
        return dialog.findChild<QLineEdit*>(QLatin1String(name))->text();
    }
};

TEST_F(SeverityStandardDialogTest, TheSuggestionGoesIntoTheFieldsOnYesAndIsStoredByOk) {
    const CVib point = PointWithReadings({1.0f, 1.2f, 1.1f});
    CatalogueEditor editor(Db(), prompter);
    CVibPointSetupDialog dialog(editor, prompter, point, DisplayUnits());
    auto* suggest = dialog.findChild<QPushButton*>(QStringLiteral("SuggestLevels"));
    EXPECT_FALSE(suggest->isEnabled()); // the documented alarm proposes nothing
    Choose(dialog, 1, 1, 0);            // ISO 20816-3, group 2, rigid
    ASSERT_TRUE(suggest->isEnabled());

    prompter.yesNoAnswers = {false};
    suggest->click();
    ASSERT_FALSE(prompter.Texts().isEmpty());
    EXPECT_TRUE(prompter.Texts().last().contains(QStringLiteral("ALARM 1.80 mm/s and TRIP 5.63 mm/s")))
        << prompter.Texts().last().toStdString();
    EXPECT_EQ(Field(dialog, "IsoWarning"), QStringLiteral("4.5"));

    prompter.yesNoAnswers = {true};
    suggest->click();
    EXPECT_EQ(Field(dialog, "IsoWarning"), QStringLiteral("1.8"));
    EXPECT_EQ(Field(dialog, "IsoCritical"), QStringLiteral("5.625"));
    CVib stored;
    ASSERT_TRUE(Db().GetVib(point.sItemGUID, stored));
    EXPECT_EQ(stored.fISOWarningMMS, 4.5f) << "nothing is stored before OK";
    EXPECT_EQ(LoadPointStandard(Db(), point.sItemGUID).standard, SeverityStandard::Iso10816_3);

    dialog.accept();
    ASSERT_FALSE(dialog.SavedGuid().isEmpty()) << prompter.Texts().join(u'\n').toStdString();
    ASSERT_TRUE(Db().GetVib(point.sItemGUID, stored));
    EXPECT_TRUE(stored.bISOAlarmsOn);
    EXPECT_NEAR(stored.fISOWarningMMS, 1.8, 1e-5);
    EXPECT_NEAR(stored.fISOCriticalMMS, 5.625, 1e-5);
    EXPECT_EQ(LoadPointStandard(Db(), point.sItemGUID),
              (PointStandard{SeverityStandard::Iso20816_3, 2, Support::Rigid}));

    // Reopened, the set-up shows the stored standard; set back to the documented alarm, the row goes.
    CVibPointSetupDialog again(editor, prompter, stored, DisplayUnits());
    EXPECT_EQ(again.Severity().Chosen(), (PointStandard{SeverityStandard::Iso20816_3, 2, Support::Rigid}));
    Choose(again, 0, 1, 0);
    again.accept();
    EXPECT_EQ(LoadPointStandard(Db(), point.sItemGUID).standard, SeverityStandard::Iso10816_3);
}

TEST_F(SeverityStandardDialogTest, APointWithoutIsoReadingsIsToldSo) {
    const CVib point = PointWithReadings({});
    CatalogueEditor editor(Db(), prompter);
    CVibPointSetupDialog dialog(editor, prompter, point, DisplayUnits());
    Choose(dialog, 1, 0, 1);
    dialog.findChild<QPushButton*>(QStringLiteral("SuggestLevels"))->click();
    ASSERT_FALSE(prompter.Messages().isEmpty());
    EXPECT_TRUE(prompter.Messages().last().contains(QStringLiteral("no ISO velocity readings")));
    EXPECT_EQ(Field(dialog, "IsoWarning"), QStringLiteral("4.5"));
}

} // namespace
} // namespace vantor
