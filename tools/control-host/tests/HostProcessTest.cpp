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

} // namespace
