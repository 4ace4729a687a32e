// The fitting rule: while the caption does not fit, its font size is lowered by 1, down to a
// least size.
#pragma once

#include <functional>

inline constexpr short MinFitSize = 2;
// Above this size a far too large caption jumps close to its fitting size instead of descending
// one step at a time; below it every size is tried in turn.
inline constexpr short FitStepLimit = 64;

enum class FitGrowth {
    Linear,   // the measured extent grows with the size (a single line's width)
    Quadratic // it grows with the square of the size (the height of a wrapped text)
};

// The extent of the caption at a size, to be compared with the available extent.
using MeasureAtSize = std::function<int(short size)>;

// The largest size, from size downwards, at which measure(size) <= available; MinFitSize when
// none fits above it; size itself when it is MinFitSize or less.
short fittedSize(short size, int available, FitGrowth growth, const MeasureAtSize& measure);
