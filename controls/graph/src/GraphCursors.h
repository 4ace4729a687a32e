// The measuring cursors' state: the simple cursor, the harmonic cursors, the running-speed
// cursor and the four bearing fault records. X and Y are data units; a cursor with no data point
// to stand on holds NoPlace for both.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

inline constexpr double CursorNoPlace = -100.0;

enum class CursorKind { None = -1, Simple = 0, Harmonic = 1, Bearing = 2 };

struct GraphCursor {
    double x = CursorNoPlace;
    double y = CursorNoPlace;
    QRect lineRect;   // the line widened for grabbing, full plot height
    QRect handleRect; // the label box above the plot
};

struct FaultHarmonic {
    FaultHarmonic() = default;
    explicit FaultHarmonic(QString text) : label(std::move(text)) {}
    QString label;
    double x = CursorNoPlace;
    double y = CursorNoPlace;
    QRect lineRect; // as for a cursor, recorded by the paint
    QRect handleRect;
};

struct BearingFault {
    double multiplier = 0.0;
    QColor color;
    std::vector<FaultHarmonic> harmonics; // the first label, then "%sx%d" for the higher ones
};

struct GraphCursors {
    GraphCursor simple;
    std::vector<GraphCursor> harmonic;
    int selectedHarmonic = 0;
    GraphCursor runSpeed;
    std::vector<BearingFault> faults = defaultFaults();
    bool dragging = false;

    static std::vector<BearingFault> defaultFaults() {
        auto fault = [](const char* label, QColor color) {
            return BearingFault{0.0, color, {FaultHarmonic{QString::fromLatin1(label)}}};
        };
        return {fault("IR", QColor(192, 192, 0)), fault("OR", QColor(0, 192, 0)),
                fault("CG", QColor(0, 192, 192)), fault("RE", QColor(255, 160, 0))};
    }
};

struct GraphSeries;

// The point of a series a cursor snaps to from pixel column `pixel`, moving `direction` pixels (0
// nearest, negative left, positive right); with the end rule a column beyond either end gives the
// end point. -1 when no point is found. Reads the screen positions of the last paint.
int snapToPoint(const GraphSeries& series, int pixel, int direction, bool endRule);
