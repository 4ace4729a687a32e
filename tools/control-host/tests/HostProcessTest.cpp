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
