#include "LabelFit.h"

#include <algorithm>
#include <cmath>

short fittedSize(short size, int available, FitGrowth growth, const MeasureAtSize& measure) {
    while (size > MinFitSize) {
        const int measured = measure(size);
        if (measured <= available)
            break;
        int next = size - 1;
        if (size > FitStepLimit) {
            // Skip the sizes that by proportion cannot fit: the landing size is still well above
            // the estimated fitting size, so no size that fits is passed over.
            const double ratio = std::max(0.0, static_cast<double>(available) / measured);
            const double estimate = size * (growth == FitGrowth::Linear ? ratio : std::sqrt(ratio));
            const int landing = static_cast<int>(std::ceil(estimate * 1.25)) + 2;
            next = std::min(next, landing);
        }
        size = static_cast<short>(std::max<int>(MinFitSize, next));
    }
    return size;
}
