// The peer of the desktop's start: a plain Qt main window whose tree shows a plant's machines and
// vibration points from one query, painted once, then the program ends.
//   minimal_window DATABASE-FILE
#include "PlantTreeQuery.h"

#include <QApplication>
#include <QMainWindow>
#include <QSqlDatabase>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: minimal_window DATABASE-FILE\n");
        return 2;
    }
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    database.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    if (!database.open()) {
        std::fprintf(stderr, "minimal_window: cannot open %s\n", argv[1]);
        return 1;
    }
    QMainWindow window;
    auto* tree = new QTreeView(&window);
    auto* model = new QStandardItemModel(tree);
    vantor::bench::FillPlantTree(database, *model);
    tree->setModel(model);
    window.setCentralWidget(tree);
    window.resize(1024, 768);
    window.show();
    QTimer::singleShot(0, &window, [tree] {
        tree->repaint();
        QApplication::quit();
    });
    return QApplication::exec();
}
