// The refusal of absurd bearings.
#include "store/BearingChecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace vantor {
namespace {

TEST(BearingChecksTest, AbsurdGeometryAndFactorsAreRefused) {
    const std::pair<BearingGeometry, const char*> geometries[] = {
        {{2, 7.94, 39.04, 0}, "from 3 to 200"},
        {{201, 0.5, 400, 0}, "from 3 to 200"},
        {{9, 0, 39.04, 0}, "above 0"},
        {{9, -1, 39.04, 0}, "above 0"},
        {{9, 39.04, 39.04, 0}, "greater than"},
        {{9, 40, 39.04, 0}, "greater than"},
        {{9, 7.94, 39.04, 90}, "below 90"},
        {{9, 7.94, 39.04, -1}, "at least 0"},
        {{9, 7.94, 39.04, std::nan("")}, "at least 0"},
        {{20, 10, 40, 0}, "do not fit"},
    };
    for (const auto& [geometry, words] : geometries) {
        const std::optional<QString> refused = CheckGeometry(geometry);
        ASSERT_TRUE(refused) << words;
        EXPECT_TRUE(refused->contains(QLatin1String(words))) << refused->toStdString();
    }
    const BearingFactors factors[] = {
        {0, 2, 3, 5}, {0.4, -2, 3, 5}, {0.4, 2, std::nan(""), 5}, {0.4, 2, 3, 1e6}, {1.0, 2, 3, 5}};
    for (const BearingFactors& f : factors) {
        EXPECT_TRUE(CheckFactors(f)) << f.ftf << ' ' << f.bsf << ' ' << f.bpfo << ' ' << f.bpfi;
    }
    CBearing unnamed;
    unnamed.iRollingElements = 9;
    unnamed.fRollingElementDiameterMM = 7.94f;
    unnamed.fPitchDiameterMM = 39.04f;
    EXPECT_TRUE(CheckBearing(unnamed));
}

} // namespace
} // namespace vantor
