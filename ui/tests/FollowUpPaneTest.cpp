// The follow-up pane on a real database: a new event listed, acknowledged with a comment (then
// shown under Acknowledged with its trail in the tooltip), the level filter, and the due points with
// "Overdue only".
#include "ui/window/FollowUpPane.h"

#include "app/Startup.h"
#include "platform/testing/RecordingPrompter.h"
#include "platform/testing/TempEnvironment.h"
#include "store/MainConnection.h"
#include "store/testing/TestPlant.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(FollowUpPane, ListsAcknowledgesAndFiltersEventsAndDuePoints) {
    testing::TempEnvironment env;
    testing::RecordingPrompter prompter;
    CAppData app(prompter);
    ASSERT_TRUE(InitDataRoot(app));
    ASSERT_TRUE(RunHeadlessStartup(app));
    CMainConnection& db = *app.MainConnection();
    const CVib point = testing::AddFanMotorDE(db);
    const QDateTime taken = QDateTime::currentDateTime().addDays(-40);
    ASSERT_TRUE(db.UpsertVibReading(
        testing::CapturedReading(point.sItemGUID, taken, 8.0f, testing::QuarterRateSine(256, 20))));
    ASSERT_TRUE(RecordAlarmEvent(db, point.sItemGUID).has_value());
    const CRoute route{MakeItemGuid(), 0, QStringLiteral("Route 1")};
    ASSERT_TRUE(db.UpsertRoute(route));
    ASSERT_TRUE(
        db.UpsertRouteItem({MakeItemGuid(), route.sItemGUID, 0, point.sParentGUID, QStringLiteral("Fan")}));

    FollowUpPane pane(app);
    EXPECT_EQ(pane.Refresh(), 1);
    QTableWidget* events = pane.EventsTable();
    ASSERT_EQ(events->rowCount(), 1);
    EXPECT_EQ(events->item(0, 1)->text(), QStringLiteral("CRITICAL"));
    EXPECT_EQ(events->item(0, 3)->text(), QStringLiteral("Motor DE"));

    // Nothing selected, or the comment cancelled: nothing stored.
    EXPECT_FALSE(pane.AcknowledgeSelected());
    events->selectRow(0);
    pane.askComment = [] { return std::optional<QString>(); };
    EXPECT_FALSE(pane.AcknowledgeSelected());
    pane.askComment = [] { return std::optional<QString>(QStringLiteral("looked at it")); };
    EXPECT_TRUE(pane.AcknowledgeSelected());
    EXPECT_EQ(events->rowCount(), 0); // the New filter
    EXPECT_EQ(pane.Refresh(), 0);
    pane.StateFilter()->setCurrentIndex(1); // Acknowledged
    ASSERT_EQ(events->rowCount(), 1);
    EXPECT_TRUE(events->item(0, 0)->toolTip().contains(QStringLiteral("looked at it")));
    auto* level = pane.findChild<QComboBox*>(QStringLiteral("EventLevel"));
    level->setCurrentIndex(1); // WARNING only
    EXPECT_EQ(events->rowCount(), 0);
    level->setCurrentIndex(2); // CRITICAL only
    EXPECT_EQ(events->rowCount(), 1);

    // The point was measured 40 days ago on a 30-day route: 10 days overdue.
    QTableWidget* due = pane.DueTable();
    ASSERT_EQ(due->rowCount(), 1);
    EXPECT_EQ(due->item(0, 4)->text(), QStringLiteral("10"));
    pane.OverdueOnly()->setChecked(true);
    EXPECT_EQ(due->rowCount(), 1);
    EXPECT_TRUE(prompter.Messages().isEmpty());
}

} // namespace
} // namespace vantor
