// The host as a process: a scripted session through standard input and output.
#include <QColor>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QList<QJsonObject> runHost(const QByteArray& script) {
    QProcess host;
    host.start(QStringLiteral(CONTROL_HOST_PROGRAM), {});
    EXPECT_TRUE(host.waitForStarted());
    host.write(script);
    host.closeWriteChannel();
    EXPECT_TRUE(host.waitForFinished(60000));
    EXPECT_EQ(host.exitCode(), 0);
    QList<QJsonObject> replies;
    for (const QByteArray& line : host.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            replies.append(QJsonDocument::fromJson(line).object());
    }
    return replies;
}

TEST(HostProcess, AnswersEveryCommandInOrderUntilQuit) {
    QTemporaryDir dir;
    const QByteArray png = dir.filePath("graph.png").toUtf8();
    const QList<QJsonObject> replies = runHost(
        R"({"cmd":"create","control":"graph","width":300,"height":200}
{"cmd":"set","name":"XAxisMin","value":-50}
{"cmd":"set","name":"XAxisMax","value":20}
{"cmd":"set","name":"XAxisMarkerMethod","value":0}
{"cmd":"set","name":"XAxisMarkerSpacing","value":50.5}
{"cmd":"set","name":"XAxisMarkerSpacing","value":50}
{"cmd":"get","name":"XAxisMarkerSpacing"}
{"cmd":"set","name":"YAxisMarkerMethod","value":2}
{"cmd":"set","name":"XAxisOffset","value":40}
{"cmd":"set","name":"ControlBackGroundColor","value":24}
{"cmd":"paint","file":")" +
        png + R"("}
not a command

{"cmd":"quit"}
{"cmd":"state"}
)");
    ASSERT_EQ(replies.size(), 13); // the blank line gets no reply, nothing after quit
    EXPECT_EQ(replies[4].value("messages").toArray(),
              QJsonArray{"ERROR!! fXAxisMarkerSpacing must be between 0 & fMax!!"});
    EXPECT_TRUE(replies[5].value("messages").toArray().isEmpty());
    EXPECT_EQ(replies[6].value("value").toDouble(), 50.0);
    EXPECT_EQ(replies[7].value("messages").toArray(),
              QJsonArray{"ERROR!! nYAxisMarkerMethod must be between 0 & 1!!"});
    EXPECT_TRUE(replies[8].value("messages").toArray().isEmpty());
    EXPECT_TRUE(replies[10].value("ok").toBool());
    EXPECT_FALSE(replies[11].value("ok").toBool());
    EXPECT_TRUE(replies[12].value("ok").toBool());

    QImage image(QString::fromUtf8(png));
    ASSERT_EQ(image.size(), QSize(300, 200));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0, 0, 255));
}

QStringList eventNames(const QJsonObject& reply) {
    QStringList names;
    for (const QJsonValue& event : reply.value("events").toArray())
        names.append(event.toObject().value("name").toString());
    return names;
}

// A trend against dates clicked and hovered, then a spectrum with harmonic and bearing cursors
// dragged and zoomed, every event arriving in order through the process.
TEST(HostProcess, ScriptedTrendAndSpectrumSession) {
    QTemporaryDir dir;
    QByteArray script = R"({"cmd":"create","control":"graph","width":400,"height":300}
{"cmd":"set","name":"XAxisType","value":2}
{"cmd":"set","name":"XAxisMax","value":10080}
{"cmd":"call","name":"AddSeriesConfig","args":[192,1,0,1]}
)";
    for (int i = 0; i < 5; ++i)
        script += QByteArray(R"({"cmd":"call","name":"SetSeriesData","args":[0,)") +
                  QByteArray::number(1440 + 2160 * i) + R"(,5,"2026-03-0)" + QByteArray::number(2 + i) +
                  R"( 08:00:00","{r)" + QByteArray::number(i) + R"(}","",0,0,0,"",3,1,0,9,)" +
                  (i == 4 ? "2" : "0") + "]}\n";
    script += R"({"cmd":"paint","file":")" + dir.filePath("trend.png").toUtf8() + R"("}
{"cmd":"mouse","action":"press","button":"left","x":140,"y":80}
{"cmd":"mouse","action":"release","button":"left","x":140,"y":80}
{"cmd":"wait","ms":700}
{"cmd":"mouse","action":"move","x":154,"y":150}
{"cmd":"wait","ms":600}
{"cmd":"state"}
{"cmd":"create","control":"graph","width":400,"height":300}
{"cmd":"set","name":"FFTGraphOn","value":true}
{"cmd":"set","name":"XAxisMax","value":100}
{"cmd":"call","name":"AddSeriesConfig","args":[32768,1,0,1]}
{"cmd":"call","name":"SetSeriesDataArray","args":[0,[0,25,50,75,100],[0.1,4,2,1,0.1],0]}
{"cmd":"paint","file":")" +
              dir.filePath("spectrum.png").toUtf8() +
              R"("}
{"cmd":"set","name":"CursorEnabled","value":true}
{"cmd":"set","name":"CursorType","value":1}
{"cmd":"call","name":"AddHarmonicCursor","args":[]}
{"cmd":"call","name":"AddHarmonicCursor","args":[]}
{"cmd":"paint","file":")" +
              dir.filePath("spectrum.png").toUtf8() +
              R"("}
{"cmd":"mouse","action":"press","button":"left","x":200,"y":150}
{"cmd":"mouse","action":"release","button":"left","x":120,"y":150}
{"cmd":"set","name":"CursorType","value":2}
{"cmd":"set","name":"BearingFault1Multiplier","value":2}
{"cmd":"set","name":"CursorFundamental","value":25}
{"cmd":"set","name":"CursorEnabled","value":false}
{"cmd":"set","name":"ZoomAllowed","value":true}
{"cmd":"mouse","action":"press","button":"left","x":40,"y":30}
{"cmd":"mouse","action":"move","button":"left","x":200,"y":150}
{"cmd":"mouse","action":"release","button":"left","x":200,"y":150}
{"cmd":"get","name":"XAxisMax"}
{"cmd":"quit"}
)";
    const QList<QJsonObject> replies = runHost(script);
    ASSERT_EQ(replies.size(), 39);
    for (const QJsonObject& reply : replies)
        EXPECT_TRUE(reply.value("ok").toBool()) << QJsonDocument(reply).toJson().constData();
    // The click between points 0 and 1 (pixels 85 and 154) reports point 1 after the timer.
    // Zoom is not allowed on a new control: the press is a plain click at once.
    EXPECT_EQ(eventNames(replies[10]), (QStringList{"MouseDown", "LeftButtonClicked"}));
    EXPECT_EQ(eventNames(replies[11]), (QStringList{"Click"}));
    const QJsonArray clicked = replies[12].value("events").toArray();
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_EQ(clicked[0].toObject().value("args").toArray(), (QJsonArray{0, 1, "{r1}"}));
    const QJsonObject tooltip = replies[15].value("tooltipWindow").toObject();
    EXPECT_TRUE(tooltip.value("visible").toBool());
    EXPECT_TRUE(tooltip.value("text").toString().startsWith("y: 5\n\nDate: "))
        << tooltip.value("text").toString().toStdString();
    EXPECT_EQ(replies[15].value("plot").toArray(), (QJsonArray{40, 30, 360, 270}));

    // The second harmonic (at 100, pixel 360) is 2x; the first stands at 50 (pixel 200) and is grabbed.
    EXPECT_EQ(eventNames(replies[27]),
              (QStringList{"MouseDown", "HarmonicCursorInfo", "HarmonicCursorInfo", "LeftButtonClicked"}));
    const QJsonArray released = replies[28].value("events").toArray();
    ASSERT_EQ(released.size(), 3);
    EXPECT_EQ(released[0].toObject().value("args").toArray(), (QJsonArray{0, 25, 4}));
    EXPECT_EQ(released[1].toObject().value("args").toArray(), (QJsonArray{1, 50, 2}));
    EXPECT_EQ(eventNames(replies[29]).first(), "BearingRSCursorInfo");
    const QJsonArray bearing = replies[31].value("events").toArray();
    ASSERT_EQ(bearing.size(), 5);
    EXPECT_EQ(bearing[1].toObject().value("args").toArray(), (QJsonArray{0, 0, 50, 2}));
    // The rubber band from the plot's top-left corner to its middle zooms to X 0..50.
    EXPECT_EQ(eventNames(replies[36]), (QStringList{"ZoomFinishedUpdate", "LeftButtonClicked", "Click"}));
    EXPECT_EQ(replies[37].value("value").toDouble(), 50.0);
}

TEST(HostProcess, DrivesALabelByName) {
    QTemporaryDir dir;
    const QByteArray png = dir.filePath("label.png").toUtf8();
    // A gradient from RGB(200,100,50) down to 0.7 of it, and a long caption that must shrink.
    const QList<QJsonObject> replies = runHost(
        R"({"cmd":"create","control":"label","width":120,"height":40}
{"cmd":"set","name":"BackGroundColorSelect","value":1}
{"cmd":"set","name":"BackGroundColorAlt","value":3302600}
{"cmd":"set","name":"GradientBkFillOn","value":true}
{"cmd":"set","name":"Caption","value":"Overall velocity 4.71 mm/s on DE horiz."}
{"cmd":"paint","file":")" +
        png + R"("}
{"cmd":"get","name":"Size"}
{"cmd":"state"}
)");
    ASSERT_EQ(replies.size(), 8);
    for (const QJsonObject& reply : replies) {
        EXPECT_TRUE(reply.value("ok").toBool()) << reply.value("error").toString().toStdString();
    }
    const int size = replies[6].value("value").toInt();
    EXPECT_LT(size, 14);
    EXPECT_GE(size, 2);
    EXPECT_TRUE(replies[7].value("modified").toBool());

    const QImage image(QString::fromUtf8(png));
    ASSERT_EQ(image.size(), QSize(120, 40));
    const QColor top = image.pixelColor(2, 0);
    const QColor bottom = image.pixelColor(2, 39);
    EXPECT_NEAR(top.red(), 200, 2);
    EXPECT_NEAR(top.green(), 100, 2);
    EXPECT_NEAR(bottom.red(), 140, 3);
    EXPECT_NEAR(bottom.blue(), 35, 3);
}

} // namespace
