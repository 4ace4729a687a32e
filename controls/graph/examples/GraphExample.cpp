// Creates the graph control by its ProgID, as a container does, feeds it a short trend and saves
// a picture of it: graph_example [FILE.png]
#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    auto graph = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
    if (!graph)
        return 1;
    graph->setMessagePort([](const QString& text) { QTextStream(stderr) << text << '\n'; });
    graph->resetToDefaults();
    graph->resize(400, 300);
    graph->setProperty("GraphBackGroundColor", 16);
    graph->setProperty("ControlBackGroundColor", 15);

    graph->AddSeriesConfig(0x0000C0, 1, 0, 1);
    const QDateTime start(QDate(2026, 1, 1), QTime(8, 0));
    for (int i = 0; i < 10; ++i) {
        graph->SetSeriesData(0, float(i), float(i % 4 + 2), start.addDays(i),
                             QStringLiteral("{reading-%1}").arg(i), QString(), 0, 0, 0, QString(), 2, 1, 0, 9,
                             i == 9 ? 2 : 0);
    }

    QImage image(graph->size(), QImage::Format_ARGB32);
    QPainter painter(&image);
    graph->paint(painter, image.rect());
    painter.end();
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("graph_example.png");
    QTextStream(stdout) << "series " << graph->GetSeriesCount() << ", points " << graph->seriesPointCount(0)
                        << '\n';
    return image.save(file) ? 0 : 1;
}
