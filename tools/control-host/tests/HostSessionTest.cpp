#include "tools/control-host/HostSession.h"

#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QJsonObject run(HostSession& session, const char* json) {
    return session.handleLine(QByteArray(json));
}

class HostSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QJsonObject created =
            run(session, R"({"cmd":"create","control":"graph","width":400,"height":300})");
        ASSERT_TRUE(created.value("ok").toBool()) << QJsonDocument(created).toJson().constData();
    }
    HostSession session;
};

TEST_F(HostSessionTest, RefusedCommandsSayWhyAndChangeNothing) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {R"({"cmd":"set","name":"NoSuchProperty","value":1})", "unknown property: NoSuchProperty"},
        {R"({"cmd":"set","name":"geometry","value":1})", "unknown property: geometry"},
        {R"({"cmd":"set","name":"GraphTitleColor","value":"red"})",
         "property GraphTitleColor: expects a number"},
        {R"({"cmd":"set","name":"GraphTitleColor","value":70000})",
         "property GraphTitleColor: number out of range for short"},
        {R"({"cmd":"call","name":"deleteLater","args":[]})", "unknown method: deleteLater"},
        {R"({"cmd":"call","name":"GetSeriesCount","args":[1]})",
         "method GetSeriesCount expects 0 arguments, got 1"},
        {R"({"cmd":"call","name":"SetSeriesPointMarker","args":[0,"yesterday",1,1,1,1]})",
         "SetSeriesPointMarker argument 2 (dateDateTime): expects a date \"YYYY-MM-DD HH:MM:SS\""},
        {R"({"cmd":"create","control":"gauge"})", "unknown control: \"gauge\" (known: graph, label)"},
        {R"({"cmd":"fly"})", "unknown command: fly"},
    };
    for (const auto& [command, error] : cases) {
        const QJsonObject reply = run(session, command);
        EXPECT_FALSE(reply.value("ok").toBool()) << command;
        EXPECT_EQ(reply.value("error").toString(), QString::fromUtf8(error)) << command;
        EXPECT_TRUE(reply.contains("messages") && reply.contains("events")) << command;
    }
    EXPECT_EQ(run(session, R"({"cmd":"get","name":"GraphTitleColor"})").value("value").toInt(), 8);
    EXPECT_FALSE(run(session, R"({"cmd":"state"})").value("modified").toBool());
}

TEST_F(HostSessionTest, AutomationTrueReachesTheSetterUnchanged) {
    const QJsonObject refused = run(session, R"({"cmd":"set","name":"GraphTitleOn","value":-1})");
    EXPECT_TRUE(refused.value("ok").toBool());
    EXPECT_EQ(refused.value("messages").toArray(),
              QJsonArray{"ERROR!! bGraphTitleOn must be 0(false) or 1(true)!!"});
    run(session, R"({"cmd":"set","name":"PointMarkersOn","value":false})");
    run(session, R"({"cmd":"set","name":"PointMarkersOn","value":-1})");
    EXPECT_EQ(run(session, R"({"cmd":"get","name":"PointMarkersOn"})").value("value"), QJsonValue(true));
}

TEST_F(HostSessionTest, MethodsTakeTheirDeclaredTypesAndReportRepaints) {
    EXPECT_EQ(
        run(session, R"({"cmd":"call","name":"AddSeriesConfig","args":[255,1,0,1]})").value("result").toInt(),
        0);
    run(session, R"({"cmd":"state"})");
    for (const char* mode : {"0", "0", "2"}) {
        const QByteArray line =
            QByteArray(
                R"({"cmd":"call","name":"SetSeriesData","args":[0,1.5,2,"2026-01-01 10:00:00","{g}","",0,0,0,"",2,1,0,9,)") +
            mode + "]}";
        EXPECT_EQ(session.handleLine(line).value("result").toInt(), 0);
    }
    QJsonObject state = run(session, R"({"cmd":"state"})");
    EXPECT_EQ(state.value("repaints").toInt(), 1);
    EXPECT_EQ(state.value("series").toArray().at(0).toObject().value("points").toInt(), 3);

    const QJsonObject refused = run(
        session,
        R"({"cmd":"call","name":"SetSeriesData","args":[0,1,2,"2026-01-01 10:00:00","","",0,0,0,"",2,1,0,9,3]})");
    EXPECT_EQ(refused.value("result").toInt(), -1);
    EXPECT_EQ(refused.value("messages").toArray(), QJsonArray{"ERROR!! iAddClearUpdate must be a 0 & 2!!"});

    EXPECT_EQ(run(session, R"({"cmd":"call","name":"SetSeriesDataArray","args":[0,[1,2],[3,4],0]})")
                  .value("result")
                  .toInt(),
              0);
    EXPECT_EQ(
        run(session, R"({"cmd":"call","name":"SetSeriesConfig","args":[5,0,1,0,1]})").value("result").toInt(),
        -1);
    state = run(session, R"({"cmd":"state"})");
    EXPECT_EQ(state.value("series").toArray().at(0).toObject().value("points").toInt(), 2);
}

TEST_F(HostSessionTest, EventsAreRelayedWithTheirArguments) {
    run(session, R"({"cmd":"call","name":"AddSeriesConfig","args":[0,1,0,1]})");
    run(session, R"({"cmd":"call","name":"SetSeriesDataArray","args":[0,[1,2,3],[4,5,6],0]})");
    QTemporaryDir dir;
    const QByteArray paint = R"({"cmd":"paint","file":")" + dir.filePath("g.png").toUtf8() + R"("})";
    ASSERT_TRUE(session.handleLine(paint).value("ok").toBool());
    run(session, R"({"cmd":"set","name":"CursorEnabled","value":true})");
    const QJsonObject placed = run(session, R"({"cmd":"set","name":"CursorType","value":0})");
    EXPECT_EQ(placed.value("events").toArray(),
              (QJsonArray{QJsonObject{{"name", "SimpleCursorInfo"}, {"args", QJsonArray{1, 4}}}}));
    const QJsonObject click = run(session, R"({"cmd":"call","name":"DoClick","args":[]})");
    EXPECT_EQ(click.value("events").toArray(),
              (QJsonArray{QJsonObject{{"name", "Click"}, {"args", QJsonArray{}}}}));
    EXPECT_TRUE(click.value("result").isNull());
}

TEST_F(HostSessionTest, SavedBagRecreatesTheControlAndLoadsWithoutSetters) {
    run(session, R"({"cmd":"set","name":"GraphTitle","value":"Spectrum"})");
    const QJsonObject saved = run(session, R"({"cmd":"save"})");
    EXPECT_FALSE(run(session, R"({"cmd":"state"})").value("modified").toBool());
    QJsonObject bag = saved.value("bag").toObject();
    EXPECT_EQ(bag.value("GraphTitle").toString(), QStringLiteral("Spectrum"));
    bag.insert("GraphBackGroundColor", 30);

    QJsonObject create{
        {"cmd", "create"}, {"control", "graph"}, {"width", 200}, {"height", 100}, {"bag", bag}};
    const QJsonObject created = session.handle(create);
    EXPECT_TRUE(created.value("messages").toArray().isEmpty());
    EXPECT_EQ(run(session, R"({"cmd":"get","name":"GraphBackGroundColor"})").value("value").toInt(), 30);
    bag.insert("GraphBackGroundColor", 30);
    EXPECT_EQ(run(session, R"({"cmd":"save"})").value("bag").toObject(), bag);
}

} // namespace
