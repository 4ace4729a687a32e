// The follow-up of alarms through the use cases: events from each alarm source, none for a steady
// level and a new one after a return to OK; acknowledgements checked before anything is stored;
// due dates and compliance on a plant with known dates (a route never measured among them);
// recommendations refused on bad input, closed once, counted in the diagnosis's record; and a work
// request's JSON and CSV row, with a folder that cannot be written.
#include "DatabaseFixture.h"
#include "FindingsTestData.h"

#include "app/AlarmEvents.h"
#include "app/CsvText.h"
#include "app/FollowUpNotes.h"
#include "app/FollowUpReport.h"
#include "app/Recommendations.h"
#include "app/RouteSchedule.h"
#include "app/WorkRequest.h"
#include "store/AlarmRecords.h"
#include "texts/UiText.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <functional>

using namespace vantor;
using namespace vantor::testing;

namespace {

QDateTime Day(int month, int day) {
    return QDateTime(QDate(2024, month, day), QTime(9, 0));
}

class FollowUp : public DatabaseFixture {
protected:
    // A point of its own machine with ISO alarms at 4.5 / 7.1 mm/s, or off.
    CVib Point(const QString& name, bool isoAlarms = true) {
        const CMachine machine = AddMachine(name + QStringLiteral(" machine"));
        CVib point = AddPoint(machine, name);
        point.bISOAlarmsOn = isoAlarms;
        point.fISOWarningMMS = 4.5f;
        point.fISOCriticalMMS = 7.1f;
        point.fRunSpeedHz = 25.0f;
        EXPECT_TRUE(Db().UpsertVib(point));
        return point;
    }
    // A reading whose captures are a quiet 640 Hz sine (no finding), with the stored ISO overall.
    CVibReading Quiet(const CVib& point, int day, float isoMms) {
        CVibReading r = CapturedReading(point.sItemGUID, Day(3, day), isoMms, QuarterRateSine(256, 20));
        EXPECT_TRUE(Db().UpsertVibReading(r));
        return r;
    }
    CVibReading Tone(const CVib& point, int day, double mms) {
        CVibReading r = ToneReading(point.sItemGUID, Day(3, day), mms);
        EXPECT_TRUE(Db().UpsertVibReading(r));
        return r;
    }
    std::vector<EventView> Events() { return ListEventViews(Db(), {}); }
};

} // namespace

TEST(AlarmEventRule, ARiseIntoAnAlarmMakesAnEventAndNothingElseDoes) {
    using S = StatusCode;
    const struct {
        std::optional<S> previous;
        S now;
        bool event;
    } cases[] = {
        {std::nullopt, S::Ok, false},       {std::nullopt, S::Warning, true},
        {S::NoReadings, S::Critical, true}, {S::Ok, S::Warning, true},
        {S::Warning, S::Warning, false},    {S::Warning, S::Critical, true},
        {S::Critical, S::Warning, false},   {S::Critical, S::Critical, false},
        {S::Warning, S::Ok, false},         {S::InvalidData, S::NotConfigured, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakesAlarmEvent(c.previous, c.now), c.event)
            << (c.previous ? static_cast<int>(*c.previous) : -1) << " -> " << static_cast<int>(c.now);
    }
}

TEST_F(FollowUp, EachAlarmSourceMakesAnEventNamingIt) {
    struct Case {
        const char* source;
        std::function<void(const CVib&)> prepare; // settings and readings before the last
        bool isoAlarms;
        std::function<void(const CVib&)> last;
        int level;
        const char* rule;
    };
    const std::vector<Case> cases = {
        {"documented", [](const CVib&) {}, true, [this](const CVib& p) { Quiet(p, 2, 5.0f); }, 4, ""},
        {"diagnosis", [](const CVib&) {}, false, [this](const CVib& p) { Tone(p, 2, 4.0); }, 4, "unbalance"},
        {"change",
         [this](const CVib& p) {
             alarmrows::PutSetting(Db().Connection(),
                                   {p.sItemGUID, QStringLiteral("iso"), 0, {}, {}, 2, 3, 2, 4});
             Tone(p, 1, 0.5);
             RecordAlarmEvent(Db(), p.sItemGUID);
         },
         false, [this](const CVib& p) { Tone(p, 2, 1.2); }, 4, ""},
        {"band",
         [this](const CVib& p) {
             alarmrows::PutBands(Db().Connection(), p.sItemGUID,
                                 {{p.sItemGUID, 1, 20, 30, false, QStringLiteral("iso"), 0.3, 5, false}});
         },
         false, [this](const CVib& p) { Tone(p, 2, 0.5); }, 4, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        const CVib point = Point(QString::fromLatin1(c.source), c.isoAlarms);
        c.prepare(point);
        c.last(point);
        const std::optional<AlarmEventRow> event = RecordAlarmEvent(Db(), point.sItemGUID);
        ASSERT_TRUE(event.has_value());
        EXPECT_EQ(event->source, QLatin1String(c.source)) << event->reason.toStdString();
        EXPECT_EQ(event->level, c.level);
        EXPECT_EQ(event->rule, QLatin1String(c.rule));
        EXPECT_FALSE(event->reason.isEmpty());
        const auto listed = ListEventViews(Db(), {false, point.sItemGUID});
        ASSERT_EQ(listed.size(), 1U);
        EXPECT_EQ(listed[0].pointName, QLatin1String(c.source));
        EXPECT_TRUE(listed[0].IsNew());
    }
}

TEST_F(FollowUp, ASteadyLevelAddsNothingAndAReturnToOkThenAnAlarmMakesANewEvent) {
    const CVib point = Point(QStringLiteral("Pump NDE"));
    const float levels[] = {5.0f, 5.2f, 8.0f, 7.5f, 3.0f, 5.0f};
    const int eventsAfter[] = {1, 1, 2, 2, 2, 3};
    for (int i = 0; i < 6; ++i) {
        Quiet(point, i + 1, levels[i]);
        RecordAlarmEvent(Db(), point.sItemGUID);
        EXPECT_EQ(Events().size(), static_cast<size_t>(eventsAfter[i])) << "reading " << i;
    }
    EXPECT_EQ(Events()[1].event.level, static_cast<int>(StatusCode::Critical));
    // Judging again without a new reading adds nothing either.
    EXPECT_EQ(RecordAlarmEventsOfChangedPoints(Db()), 0);
}

TEST_F(FollowUp, ReadingsStoredWithoutJudgingAreJudgedOnce) {
    const CVib point = Point(QStringLiteral("Fan DE"));
    Quiet(point, 1, 6.0f);
    EXPECT_EQ(RecordAlarmEventsOfChangedPoints(Db()), 1);
    EXPECT_EQ(RecordAlarmEventsOfChangedPoints(Db()), 0);
    EXPECT_EQ(Events().size(), 1U);
}

TEST_F(FollowUp, AcknowledgementsAreCheckedFirstAndEveryEntryIsKept) {
    const CVib point = Point(QStringLiteral("Pump DE"));
    Quiet(point, 1, 5.0f);
    const QString event = RecordAlarmEvent(Db(), point.sItemGUID)->guid;
    EXPECT_FALSE(AcknowledgeEvents(Db(), {event}, QStringLiteral("  "), QStringLiteral("ann")).isEmpty());
    EXPECT_FALSE(AcknowledgeEvents(Db(), {event, QStringLiteral("{nope}")}, QStringLiteral("seen"),
                                   QStringLiteral("ann"))
                     .isEmpty());
    EXPECT_TRUE(Events()[0].IsNew());
    EXPECT_TRUE(
        AcknowledgeEvents(Db(), {event}, QStringLiteral("seen"), QStringLiteral("ann"), Day(3, 2)).isEmpty());
    EXPECT_TRUE(AcknowledgeEvents(Db(), {event}, QStringLiteral("correction: loose foot"),
                                  QStringLiteral("bob"), Day(3, 3))
                    .isEmpty());
    const auto events = Events();
    ASSERT_EQ(events[0].trail.size(), 2U);
    EXPECT_EQ(events[0].trail[0].user, QStringLiteral("ann"));
    EXPECT_EQ(events[0].trail[1].comment, QStringLiteral("correction: loose foot"));
    EXPECT_TRUE(ListEventViews(Db(), {true, {}}).empty());
    EXPECT_FALSE(CurrentUserName(Db()).isEmpty());
}

namespace {

// The cells of the table after the report heading `heading`; none without such a section.
std::vector<QStringList> SectionRows(const std::vector<ReportBlock>& blocks, const QString& heading) {
    const auto at = std::find_if(blocks.begin(), blocks.end(), [&heading](const ReportBlock& block) {
        const auto* h = std::get_if<ReportHeading>(&block);
        return h != nullptr && h->text == heading;
    });
    std::vector<QStringList> rows;
    const ReportTable* table =
        at != blocks.end() && at + 1 != blocks.end() ? std::get_if<ReportTable>(&*(at + 1)) : nullptr;
    for (const auto& row : table != nullptr ? table->rows : std::vector<std::vector<ReportTableCell>>{}) {
        QStringList cells;
        for (const ReportTableCell& cell : row) {
            cells << cell.text;
        }
        rows.push_back(cells);
    }
    return rows;
}

} // namespace

TEST_F(FollowUp, NotesNameTheirMachineAndPoint) {
    const CVib point = Point(QStringLiteral("Gearbox"));
    EXPECT_FALSE(AddNote(Db(), point.sItemGUID, QStringLiteral(" "), QStringLiteral("ann")).isEmpty());
    EXPECT_FALSE(
        AddNote(Db(), QStringLiteral("{nope}"), QStringLiteral("x"), QStringLiteral("ann")).isEmpty());
    EXPECT_TRUE(
        AddNote(Db(), point.sItemGUID, QStringLiteral("Bearing replaced"), QStringLiteral("ann"), Day(3, 2))
            .isEmpty());
    EXPECT_TRUE(
        AddNote(Db(), point.sParentGUID, QStringLiteral("Coupling aligned"), QStringLiteral("bob"), Day(3, 3))
            .isEmpty());
    const auto notes = ListNotes(Db());
    ASSERT_EQ(notes.size(), 2U);
    EXPECT_EQ(notes[0].pointName, QStringLiteral("Gearbox"));
    EXPECT_EQ(notes[0].machineName, QStringLiteral("Gearbox machine"));
    EXPECT_EQ(notes[1].pointName, QString());
    EXPECT_EQ(notes[1].machineName, QStringLiteral("Gearbox machine"));
    EXPECT_EQ(ListNotes(Db(), {point.sItemGUID}).size(), 1U);

    // The report's Notes section: the machine's and its points' notes, oldest first; none for a
    // machine without notes.
    const auto notesSection = [this](const QString& machine) {
        std::vector<ReportBlock> blocks;
        AddFollowUpSections(Db(), {machine}, QDate(2024, 3, 31), blocks);
        return SectionRows(blocks, UiText(text::added::ReportNotes));
    };
    const std::vector<QStringList> rows = notesSection(point.sParentGUID);
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0].mid(1), (QStringList{QStringLiteral("Gearbox machine"), QStringLiteral("Gearbox"),
                                           QStringLiteral("ann"), QStringLiteral("Bearing replaced")}));
    EXPECT_EQ(rows[1].mid(1), (QStringList{QStringLiteral("Gearbox machine"), QString(),
                                           QStringLiteral("bob"), QStringLiteral("Coupling aligned")}));
    EXPECT_TRUE(notesSection(Point(QStringLiteral("Fan")).sParentGUID).empty());
}

TEST(RouteCompliance, CountsEachDueDateInThePeriod) {
    const QDate jan1(2024, 1, 1);
    const QDate mar31(2024, 3, 31); // 90 days after 1 January
    const struct {
        const char* name;
        std::vector<QDate> readings;
        QDate start;
        ComplianceCount expected;
    } cases[] = {
        {"never measured, no start: due from the first day", {}, {}, {4, 0}},
        {"never measured, start mid-period", {}, QDate(2024, 3, 1), {2, 0}},
        {"every 30 days on time",
         {QDate(2023, 12, 20), QDate(2024, 1, 18), QDate(2024, 2, 15), QDate(2024, 3, 14)},
         {},
         {3, 3}},
        {"one late reading restarts the schedule",
         {QDate(2023, 12, 20), QDate(2024, 1, 25), QDate(2024, 2, 20), QDate(2024, 3, 20)},
         {},
         {3, 2}},
        {"a reading on the due date is on time", {QDate(2023, 12, 2), QDate(2024, 1, 1)}, {}, {4, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountCompliance(c.readings, c.start, 30, jan1, mar31), c.expected) << c.name;
    }
    EXPECT_EQ(CountCompliance({}, {}, 30, mar31, jan1), ComplianceCount{});
    EXPECT_FALSE(ComplianceCount{}.Percent().has_value());
    EXPECT_DOUBLE_EQ(*(ComplianceCount{4, 3}.Percent()), 75.0);
}

TEST_F(FollowUp, DueDatesAndComplianceOnAPlantWithKnownDates) {
    const CMachine pump = AddMachine(QStringLiteral("Pump"));
    const CVib nde = AddPoint(pump, QStringLiteral("NDE"));
    const CVib de = AddPoint(pump, QStringLiteral("DE"));
    const CMachine fan = AddMachine(QStringLiteral("Fan"));
    const CVib fanDe = AddPoint(fan, QStringLiteral("DE"));
    ASSERT_TRUE(Db().UpsertRoute({QStringLiteral("{route-a}"), 0, QStringLiteral("Route A")}));
    ASSERT_TRUE(Db().UpsertRoute({QStringLiteral("{route-b}"), 1, QStringLiteral("Route B")}));
    ASSERT_TRUE(
        Db().UpsertRouteItem({MakeItemGuid(), QStringLiteral("{route-a}"), 0, pump.sItemGUID, pump.sName}));
    ASSERT_TRUE(
        Db().UpsertRouteItem({MakeItemGuid(), QStringLiteral("{route-b}"), 0, fan.sItemGUID, fan.sName}));
    EXPECT_TRUE(SetRouteSchedule(Db(), QStringLiteral("Route B"), 14, QDate(2024, 3, 10)).isEmpty());
    EXPECT_FALSE(SetRouteSchedule(Db(), QStringLiteral("Route C"), 14, {}).isEmpty());
    EXPECT_FALSE(SetRouteSchedule(Db(), QStringLiteral("Route B"), 0, {}).isEmpty());
    CVibReading r = CapturedReading(nde.sItemGUID, Day(2, 20), 1.0f, QuarterRateSine(256, 20));
    ASSERT_TRUE(Db().UpsertVibReading(r));
    r = CapturedReading(de.sItemGUID, Day(3, 25), 1.0f, QuarterRateSine(256, 20));
    ASSERT_TRUE(Db().UpsertVibReading(r));

    // On 5 April: Pump NDE was due 21 March (15 days late), Fan DE (never measured) on Route B's
    // start, 10 March (26 days late); Pump DE is due 24 April, within 20 days but not 7.
    const QDate today(2024, 4, 5);
    const std::vector<DuePoint> due = DuePoints(Db(), today, 7);
    ASSERT_EQ(due.size(), 2U);
    EXPECT_EQ(due[0].machineName + QLatin1Char(' ') + due[0].pointName, QStringLiteral("Fan DE"));
    EXPECT_EQ(due[0].daysLate, 26);
    EXPECT_FALSE(due[0].lastReading.isValid());
    EXPECT_EQ(due[1].pointName, QStringLiteral("NDE"));
    EXPECT_EQ(due[1].due, QDate(2024, 3, 21));
    EXPECT_EQ(due[1].daysLate, 15);
    EXPECT_TRUE(due[1].Overdue());
    EXPECT_EQ(DuePoints(Db(), today, 20).size(), 3U);
    EXPECT_EQ(DuePoints(Db(), today, 20, QStringLiteral("Route B")).size(), 1U);
    EXPECT_EQ(DueDatesByPoint(Db(), today).value(de.sItemGUID), QDate(2024, 4, 24));

    const PlantCompliance compliance = ComplianceOver(Db(), QDate(2024, 3, 1), QDate(2024, 3, 31));
    ASSERT_EQ(compliance.routes.size(), 2U);
    // Route A: NDE due 21 March, missed; DE never measured before March, due 1 March, measured late
    // on 25 March: both missed. Route B (never measured): due 10 and 24 March, both missed.
    EXPECT_EQ(compliance.routes[0].count, (ComplianceCount{2, 0}));
    EXPECT_EQ(compliance.routes[1].count, (ComplianceCount{2, 0}));
    EXPECT_EQ(compliance.routes[1].intervalDays, 14);
    EXPECT_EQ(compliance.total, (ComplianceCount{4, 0}));
    const PlantCompliance april = ComplianceOver(Db(), QDate(2024, 4, 1), QDate(2024, 4, 30));
    // NDE, overdue since March, is due again on 20 April; DE on 24 April; neither measured.
    EXPECT_EQ(april.routes[0].count, (ComplianceCount{2, 0}));

    const MissedPoints missed = MissedRoutePoints(Db(), {nde.sItemGUID});
    EXPECT_EQ(missed.Text(), QStringLiteral("1 of 2 measured; missed: Pump DE"));
    EXPECT_EQ(MissedRoutePoints(Db(), {}).Text(), QString());
}

TEST_F(FollowUp, RecommendationsAreRefusedOnBadInputAndFeedTheDiagnosisRecord) {
    const CVib point = Point(QStringLiteral("Motor"), false);
    Tone(point, 1, 4.0);
    const std::optional<AlarmEventRow> event = RecordAlarmEvent(Db(), point.sItemGUID);
    ASSERT_TRUE(event.has_value());
    const QDate today(2024, 3, 5);
    const QDate due(2024, 3, 20);
    const struct {
        RecommendationRequest request;
        const char* why;
    } refused[] = {
        {{QStringLiteral("{nope}"), QStringLiteral("Balance"), 2, due, {}}, "unknown source"},
        {{event->guid, QStringLiteral(" "), 2, due, {}}, "empty action"},
        {{event->guid, QStringLiteral("Balance"), 0, due, {}}, "priority 0"},
        {{event->guid, QStringLiteral("Balance"), 5, due, {}}, "priority 5"},
        {{event->guid, QStringLiteral("Balance"), 2, QDate(2024, 3, 4), {}}, "due yesterday"},
        {{event->guid, QStringLiteral("Balance"), 2, QDate(), {}}, "no due date"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(RaiseRecommendation(Db(), c.request, QStringLiteral("ann"), today).error.isEmpty())
            << c.why;
    }
    EXPECT_TRUE(recommendationrows::List(Db().Connection(), false).empty());

    const RaisedRecommendation fromEvent = RaiseRecommendation(
        Db(), {event->guid, QStringLiteral("Balance the rotor"), 2, today, QStringLiteral("mech")},
        QStringLiteral("ann"), today);
    ASSERT_TRUE(fromEvent.error.isEmpty()) << fromEvent.error.toStdString();
    EXPECT_EQ(fromEvent.row.rule, QStringLiteral("unbalance"));
    const RaisedRecommendation fromReading =
        RaiseRecommendation(Db(), {event->readingGuid, QStringLiteral("Check the base"), 4, due, {}},
                            QStringLiteral("ann"), today);
    ASSERT_TRUE(fromReading.error.isEmpty());
    EXPECT_EQ(fromReading.row.rule, QStringLiteral("unbalance"));
    EXPECT_TRUE(fromReading.row.eventGuid.isEmpty());

    EXPECT_FALSE(
        CloseRecommendation(Db(), fromEvent.row.guid, QStringLiteral("maybe"), {}, QStringLiteral("bob"))
            .isEmpty());
    EXPECT_FALSE(CloseRecommendation(Db(), QStringLiteral("{nope}"), QStringLiteral("confirmed"), {},
                                     QStringLiteral("bob"))
                     .isEmpty());
    EXPECT_TRUE(CloseRecommendation(Db(), fromEvent.row.guid, QStringLiteral("confirmed"),
                                    QStringLiteral("2 g·mm out"), QStringLiteral("bob"))
                    .isEmpty());
    const QString again = CloseRecommendation(Db(), fromEvent.row.guid, QStringLiteral("not-confirmed"), {},
                                              QStringLiteral("cy"));
    EXPECT_TRUE(again.contains(QStringLiteral("bob"))) << again.toStdString();
    EXPECT_EQ(recommendationrows::List(Db().Connection(), true).size(), 1U);
    EXPECT_TRUE(CloseRecommendation(Db(), fromReading.row.guid, QStringLiteral("not-confirmed"),
                                    QStringLiteral("base sound"), QStringLiteral("bob"))
                    .isEmpty());

    const std::vector<RuleRecord> record = DiagnosisRecord(Db());
    ASSERT_EQ(record.size(), 1U);
    EXPECT_EQ(record[0].rule, QStringLiteral("unbalance"));
    EXPECT_EQ(record[0].findings, 2); // the event, and the recommendation raised on a reading
    EXPECT_EQ(record[0].confirmed, 1);
    EXPECT_EQ(record[0].notConfirmed, 1);
    EXPECT_EQ(record[0].open, 0);
    EXPECT_DOUBLE_EQ(*record[0].Precision(), 0.5);
    EXPECT_DOUBLE_EQ(*(RuleRecord{QString(), 3, 1, 2, 1, 0}.Precision()), 0.5);
}

TEST_F(FollowUp, AWorkRequestIsWrittenAsItsSchemaSaysAndAFailureCanBeRetried) {
    CVib point = Point(QStringLiteral("Pump NDE"));
    Quiet(point, 1, 8.0f);
    const QString event = RecordAlarmEvent(Db(), point.sItemGUID)->guid;
    const QDate today = QDate::currentDate();
    const RaisedRecommendation raised = RaiseRecommendation(
        Db(), {event, QStringLiteral("Replace the bearing, \"6205\""), 1, today, QStringLiteral("shift B")},
        QStringLiteral("ann"), today);
    ASSERT_TRUE(raised.error.isEmpty());

    const QString blocked = QDir(env.Root()).filePath(QStringLiteral("a-file"));
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const WorkRequestSending failed =
        SendWorkRequest(*app, raised.row.guid, blocked + QStringLiteral("/sub"), false);
    EXPECT_FALSE(failed.written);
    EXPECT_FALSE(failed.error.isEmpty());
    RecommendationRow stored;
    ASSERT_TRUE(recommendationrows::Get(Db().Connection(), raised.row.guid, stored));
    EXPECT_FALSE(stored.sendError.isEmpty());
    EXPECT_FALSE(stored.sent.isValid());

    const QString folder = QDir(env.Root()).filePath(QStringLiteral("requests"));
    const WorkRequestSending sent = SendWorkRequest(*app, raised.row.guid, folder, false);
    ASSERT_TRUE(sent.written) << sent.error.toStdString();
    QFile json(sent.jsonPath);
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    const QJsonObject object = QJsonDocument::fromJson(json.readAll()).object();
    // The schema: every field present, priority a number, the others strings or null.
    const QStringList fields = QStringList{QStringLiteral("schema")} + WorkRequestCsvHeader();
    EXPECT_EQ(object.keys().size(), fields.size());
    for (const QString& field : fields) {
        ASSERT_TRUE(object.contains(field)) << field.toStdString();
        const QJsonValue value = object.value(field);
        EXPECT_TRUE(field == QLatin1String("priority") ? value.isDouble()
                                                       : (value.isString() || value.isNull()))
            << field.toStdString();
    }
    EXPECT_EQ(object.value(QStringLiteral("schema")).toString(), QStringLiteral("vantor-work-request/1"));
    EXPECT_EQ(object.value(QStringLiteral("priority")).toInt(), 1);
    EXPECT_EQ(object.value(QStringLiteral("machine")).toString(), QStringLiteral("Pump NDE machine"));
    EXPECT_EQ(object.value(QStringLiteral("level")).toString(), QStringLiteral("CRITICAL"));
    EXPECT_EQ(object.value(QStringLiteral("due")).toString(), today.toString(Qt::ISODate));

    SendWorkRequest(*app, raised.row.guid, folder, false);
    QFile csv(QDir(folder).filePath(QStringLiteral("work-requests.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const CsvTable table = ReadCsv(csv.readAll());
    ASSERT_EQ(table.records.size(), 3U); // the header once, a row per sending
    EXPECT_EQ(table.records[0].fields, WorkRequestCsvHeader());
    EXPECT_EQ(table.records[1].fields.value(7), QStringLiteral("Replace the bearing, \"6205\""));
    ASSERT_TRUE(recommendationrows::Get(Db().Connection(), raised.row.guid, stored));
    EXPECT_TRUE(stored.sendError.isEmpty());
    EXPECT_TRUE(stored.sent.isValid());
}
