// The point set-up's Alarms tab under the offscreen platform, driven through its widgets as a user
// would: what it stores equals what `vantor alarms` and `vantor bands add` store for the same entry,
// the envelope band reads back through the catalogue export, a tab left alone stores nothing, and a
// refused entry keeps the dialog open with nothing stored.
#include "ui/setup/PointAlarmsTab.h"
#include "app/CatalogueEditor.h"
#include "app/tests/DatabaseFixture.h"
#include "cli/tests/RunVantor.h"
#include "store/AlarmRecords.h"
#include "store/DerivedRecords.h"
#include "ui/setup/PointSetupDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <functional>

namespace vantor {
namespace {

// What a point's alarm rows hold, without the point's GUID, for comparing two points' rows.
QString RowsText(SqlConnection& connection, const QString& point) {
    QStringList lines;
    for (const PointAlarmSettingRow& r : alarmrows::SettingsOf(connection, point)) {
        lines << QStringLiteral("setting %1 n=%2 from=%3 to=%4 sigma=%5,%6 change=%7,%8")
                     .arg(r.measure)
                     .arg(r.baselineReadings)
                     .arg(r.baselineFrom, r.baselineTo)
                     .arg(r.sigmaWarning, 0, 'g', 17)
                     .arg(r.sigmaCritical, 0, 'g', 17)
                     .arg(r.changeWarning, 0, 'g', 17)
                     .arg(r.changeCritical, 0, 'g', 17);
    }
    for (const SpectralBandRow& r : alarmrows::BandsOf(connection, point)) {
        lines << QStringLiteral("band %1 %2-%3 orders=%4 %5 w=%6 c=%7 rms=%8")
                     .arg(r.number)
                     .arg(r.from, 0, 'g', 17)
                     .arg(r.to, 0, 'g', 17)
                     .arg(r.orders)
                     .arg(r.spectrum)
                     .arg(r.warning, 0, 'g', 17)
                     .arg(r.critical, 0, 'g', 17)
                     .arg(r.rms);
    }
    return lines.join(u'\n');
}

class PointAlarmsTabTest : public testing::DatabaseFixture {
protected:
    CVib PointWithReadings(const QString& name, std::initializer_list<float> isoValues) {
        CVib point = AddPoint(machine, name);
        point.fRunSpeedHz = 25.0f;
        EXPECT_TRUE(Db().UpsertVib(point));
        int day = 1;
        for (const float value : isoValues) {
            CVibReading reading;
            reading.sItemGUID = MakeItemGuid();
            reading.sParentGUID = point.sItemGUID;
            reading.ctDateTaken = QDateTime(QDate(2026, 3, day++), QTime(9, 0));
            reading.fISOMMS = value;
            reading.fBearingBDU = value * 2;
            EXPECT_TRUE(Db().UpsertVibReading(reading));
        }
        return point;
    }

    template <class W> static W* Child(QDialog& dialog, const char* name) {
        W* widget = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void Measure(QDialog& dialog, const char* measure) {
        auto* box = Child<QComboBox>(dialog, "AlarmMeasure");
        box->setCurrentIndex(box->findData(QLatin1String(measure)));
        Child<QCheckBox>(dialog, "AlarmOnMeasure")->setChecked(true);
    }
    static void Multiples(QDialog& dialog, double sw, double sc, double cw, double cc) {
        Child<QDoubleSpinBox>(dialog, "SigmaWarning")->setValue(sw);
        Child<QDoubleSpinBox>(dialog, "SigmaCritical")->setValue(sc);
        Child<QDoubleSpinBox>(dialog, "ChangeWarning")->setValue(cw);
        Child<QDoubleSpinBox>(dialog, "ChangeCritical")->setValue(cc);
    }
    // Adds a band row and types its cells: spectrum and judged by index, numbers as text.
    static void Band(QDialog& dialog, int spectrum, const QString& from, const QString& to, bool orders,
                     bool rms, const QString& warning, const QString& critical) {
        Child<QPushButton>(dialog, "AddBand")->click();
        auto* table = Child<QTableWidget>(dialog, "SpectralBands");
        const int row = table->rowCount() - 1;
        static_cast<QComboBox*>(table->cellWidget(row, 0))->setCurrentIndex(spectrum);
        table->item(row, 1)->setText(from);
        table->item(row, 2)->setText(to);
        table->item(row, 3)->setCheckState(orders ? Qt::Checked : Qt::Unchecked);
        static_cast<QComboBox*>(table->cellWidget(row, 4))->setCurrentIndex(rms ? 1 : 0);
        table->item(row, 5)->setText(warning);
        table->item(row, 6)->setText(critical);
    }
    void Open(const CVib& point, const std::function<void(QDialog&)>& edit) {
        CatalogueEditor editor(Db(), prompter);
        CVibPointSetupDialog dialog(editor, prompter, point, DisplayUnits());
        edit(dialog);
        dialog.accept();
        accepted = dialog.result() == QDialog::Accepted;
    }

    CMachine machine;
    bool accepted = false;
    void SetUp() override {
        DatabaseFixture::SetUp();
        machine = AddMachine(QStringLiteral("Fan"));
    }
};

TEST_F(PointAlarmsTabTest, TheTabStoresWhatTheCommandsStore) {
    struct Case {
        const char* name;
        std::function<void(QDialog&)> edit;
        std::vector<QStringList> commands; // each run with the point's GUID after the command's name
    };
    const std::vector<Case> cases = {
        {"baseline of the first readings with own multiples",
         [](QDialog& d) {
             Measure(d, "iso");
             Child<QComboBox>(d, "BaselineKind")->setCurrentIndex(1);
             Child<QSpinBox>(d, "BaselineCount")->setValue(3);
             Multiples(d, 2.5, 3.5, 1.5, 3);
         },
         {{"alarms", "--measure", "iso", "--baseline", "3", "--sigma", "2.5,3.5", "--change", "1.5,3"}}},
        {"change alarm alone with the defaults",
         [](QDialog& d) { Measure(d, "bdu"); },
         {{"alarms", "--measure", "bdu"}}},
        {"baseline by date range",
         [](QDialog& d) {
             Measure(d, "iso");
             Child<QComboBox>(d, "BaselineKind")->setCurrentIndex(2);
             Child<QDateTimeEdit>(d, "BaselineFrom")->setDateTime(QDateTime(QDate(2026, 3, 1), QTime(9, 0)));
             Child<QDateTimeEdit>(d, "BaselineTo")->setDateTime(QDateTime(QDate(2026, 3, 4), QTime(9, 0)));
         },
         {{"alarms", "--measure", "iso", "--baseline-from", "2026-03-01 09:00:00", "--baseline-to",
           "2026-03-04 09:00:00"}}},
        {"two measures and two bands",
         [](QDialog& d) {
             Measure(d, "iso");
             Measure(d, "bdu");
             Multiples(d, 2, 3, 3, 6);
             Band(d, 0, "5", "20", false, true, "1", "2");
             Band(d, 1, "0.5", "1.5", true, false, "0.25", "0.5");
         },
         {{"alarms", "--measure", "iso"},
          {"alarms", "--measure", "bdu", "--change", "3,6"},
          {"bands", "add", "--from", "5", "--to", "20", "--spectrum", "iso", "--warning", "1", "--critical",
           "2", "--rms"},
          {"bands", "add", "--from", "0.5", "--to", "1.5", "--orders", "--spectrum", "total", "--warning",
           "0.25", "--critical", "0.5"}}},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CVib point =
            PointWithReadings(QStringLiteral("P%1").arg(++number), {1.0f, 1.2f, 1.1f, 1.3f, 2.5f});
        Open(point, c.edit);
        ASSERT_TRUE(accepted) << prompter.Texts().join(u'\n').toStdString();
        const QString byDialog = RowsText(Db().Connection(), point.sItemGUID);
        EXPECT_FALSE(byDialog.isEmpty());

        alarmrows::DeletePointRows(Db().Connection(), point.sItemGUID);
        for (QStringList command : c.commands) {
            command.insert(1, point.sItemGUID);
            const testing::VantorRun run = testing::RunVantor(command);
            ASSERT_EQ(run.status, 0) << command.join(u' ').toStdString() << "\n" << run.err.toStdString();
        }
        EXPECT_EQ(byDialog.toStdString(), RowsText(Db().Connection(), point.sItemGUID).toStdString());
    }
}

TEST_F(PointAlarmsTabTest, TheEnvelopeBandReadsBackThroughTheCatalogue) {
    const CVib point = PointWithReadings(QStringLiteral("DE"), {1.0f});
    Open(point, [](QDialog& d) {
        Child<QCheckBox>(d, "OwnEnvelopeBand")->setChecked(true);
        Child<QLineEdit>(d, "EnvelopeLowHz")->setText(QStringLiteral("500.5"));
        Child<QLineEdit>(d, "EnvelopeHighHz")->setText(QStringLiteral("4000"));
    });
    ASSERT_TRUE(accepted) << prompter.Texts().join(u'\n').toStdString();
    const QString file = env.Root() + QStringLiteral("/catalogue.csv");
    ASSERT_EQ(testing::RunVantor({"catalogue", "export", file}).status, 0);
    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"));
    const QStringList header = lines.at(0).split(u',');
    const QStringList row = lines.at(1).split(u',');
    EXPECT_EQ(row.value(header.indexOf(QStringLiteral("Envelope low Hz"))), QStringLiteral("500.5"));
    EXPECT_EQ(row.value(header.indexOf(QStringLiteral("Envelope high Hz"))), QStringLiteral("4000"));

    // Unticked, the point returns to the default band.
    Open(point, [](QDialog& d) { Child<QCheckBox>(d, "OwnEnvelopeBand")->setChecked(false); });
    ASSERT_TRUE(accepted);
    EXPECT_FALSE(derived::GetEnvelopeBand(Db().Connection(), point.sItemGUID));
}

TEST_F(PointAlarmsTabTest, AnUntouchedTabStoresNothingNew) {
    const CVib plain = PointWithReadings(QStringLiteral("Plain"), {1.0f, 1.1f, 1.2f});
    const CVib set = PointWithReadings(QStringLiteral("Set"), {1.0f, 1.1f, 1.2f});
    // Multiples the tab's boxes cannot show exactly, and a band, stored by the command line.
    ASSERT_EQ(testing::RunVantor({"alarms", set.sItemGUID, "--measure", "iso", "--baseline", "3", "--sigma",
                                  "2.345,3.456", "--change", "1.234,4.567"})
                  .status,
              0);
    ASSERT_EQ(testing::RunVantor({"bands", set.sItemGUID, "add", "--from", "10", "--to", "20.125",
                                  "--warning", "0.333", "--critical", "0.777"})
                  .status,
              0);
    const QString before = RowsText(Db().Connection(), set.sItemGUID);
    for (const CVib& point : {plain, set}) {
        Open(point, [](QDialog&) {});
        ASSERT_TRUE(accepted) << prompter.Texts().join(u'\n').toStdString();
    }
    EXPECT_EQ(alarmrows::PointsWithAlarmRows(Db().Connection()), std::vector<QString>{set.sItemGUID});
    EXPECT_EQ(RowsText(Db().Connection(), set.sItemGUID).toStdString(), before.toStdString());
    EXPECT_FALSE(derived::GetEnvelopeBand(Db().Connection(), plain.sItemGUID));
}

TEST_F(PointAlarmsTabTest, ARefusedEntryKeepsTheDialogOpenAndStoresNothing) {
    struct Case {
        const char* name;
        std::function<void(QDialog&)> edit;
        const char* message; // the start of the message shown
    };
    const std::vector<Case> cases = {
        {"baseline longer than the readings",
         [](QDialog& d) {
             Measure(d, "iso");
             Child<QComboBox>(d, "BaselineKind")->setCurrentIndex(1);
         },
         "The baseline has 2 usable readings of ISO velocity"},
        {"critical multiple below warning",
         [](QDialog& d) {
             Measure(d, "iso");
             Multiples(d, 2, 3, 4, 2);
         },
         "The critical change ratio must not be below the warning one"},
        {"band with critical below warning",
         [](QDialog& d) { Band(d, 0, "5", "20", false, false, "2", "1"); }, "Band 1: "},
        {"band cell that is not a number",
         [](QDialog& d) { Band(d, 0, "5", "twenty", false, false, "1", "2"); }, "Please input a Number."},
        {"blank band row", [](QDialog& d) { Child<QPushButton>(d, "AddBand")->click(); },
         "Please input a Number."},
        {"envelope band upside down",
         [](QDialog& d) {
             Child<QCheckBox>(d, "OwnEnvelopeBand")->setChecked(true);
             Child<QLineEdit>(d, "EnvelopeLowHz")->setText(QStringLiteral("4000"));
             Child<QLineEdit>(d, "EnvelopeHighHz")->setText(QStringLiteral("500"));
         },
         "the envelope band must run from above 0 Hz"},
    };
    const CVib point = PointWithReadings(QStringLiteral("DE"), {1.0f, 1.1f});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const qsizetype shown = prompter.Texts().size();
        Open(point, [&c](QDialog& d) {
            d.findChild<QLineEdit*>(QStringLiteral("Name"))->setText(QStringLiteral("Renamed"));
            c.edit(d);
        });
        EXPECT_FALSE(accepted);
        ASSERT_EQ(prompter.Texts().size(), shown + 1);
        EXPECT_TRUE(prompter.Texts().last().startsWith(QLatin1String(c.message)))
            << prompter.Texts().last().toStdString();
        CVib stored;
        ASSERT_TRUE(Db().GetVib(point.sItemGUID, stored));
        EXPECT_EQ(stored.sName, QStringLiteral("DE"));
        EXPECT_TRUE(alarmrows::PointsWithAlarmRows(Db().Connection()).empty());
        EXPECT_FALSE(derived::GetEnvelopeBand(Db().Connection(), point.sItemGUID));
    }
}

TEST_F(PointAlarmsTabTest, TheBaselineReadingsAndLimitsAreListed) {
    const CVib point = PointWithReadings(QStringLiteral("DE"), {1.0f, 2.0f, 3.0f, 9.0f});
    CatalogueEditor editor(Db(), prompter);
    CVibPointSetupDialog dialog(editor, prompter, point, DisplayUnits());
    Measure(dialog, "iso");
    Child<QComboBox>(dialog, "BaselineKind")->setCurrentIndex(1);
    Child<QSpinBox>(dialog, "BaselineCount")->setValue(3);
    auto* table = Child<QTableWidget>(dialog, "BaselineReadings");
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(2, 1)->text(), QLocale().toString(3.0, 'g', 4));
    // Mean 2, σ 1: warning at 2 + 2·1, critical at 2 + 3·1.
    EXPECT_EQ(Child<QLabel>(dialog, "BaselineLine")->text(),
              QStringLiteral("Mean 2, σ 1: warning 4, critical 5"));
    Child<QSpinBox>(dialog, "BaselineCount")->setValue(4);
    EXPECT_EQ(table->rowCount(), 4);
}

} // namespace
} // namespace vantor
