// vantor-control-host: a scripted container for the controls. One JSON command per line on
// standard input, one JSON reply per line on standard output (see README, "The control host").
#include "tools/control-host/HostSession.h"

#include <QApplication>
#include <QJsonDocument>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    HostSession session;
    std::string line;
    while (!session.quitRequested() && std::getline(std::cin, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        const QJsonObject reply = session.handleLine(QByteArray::fromStdString(line));
        std::cout << QJsonDocument(reply).toJson(QJsonDocument::Compact).toStdString() << '\n' << std::flush;
    }
    return 0;
}
