// Builds a plant for the desktop start benchmark in a folder that stays after the program:
//   make_large_plant FOLDER MACHINES
// FOLDER gets the data root (machines × 10 vibration points × 20 readings) and the four variables
// that point a program at it are printed as shell assignments.
#include "LargePlant.h"
#include "platform/LocalTimeZone.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    vantor::PinLocalTimeZone();
    const QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_large_plant FOLDER MACHINES\n");
        return 2;
    }
    constexpr int kReadingsPerPoint = 20;
    const vantor::bench::LargePlant plant(QString::fromLocal8Bit(argv[2]).toInt(), kReadingsPerPoint,
                                          QString::fromLocal8Bit(argv[1]));
    for (const char* name :
         {"VANTOR_COMMON_APPDATA", "VANTOR_USER_APPDATA", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
        std::printf("%s=%s\n", name, qgetenv(name).constData());
    }
    return 0;
}
