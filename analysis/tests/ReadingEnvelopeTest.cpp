// The derived-data file's image of an envelope spectrum.
#include "analysis/ReadingEnvelope.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(EnvelopeCacheImage, RoundTripsAndRefusesDamage) {
    EnvelopeSpectrum spectrum;
    spectrum.requested = {1500, 7000};
    spectrum.band = {1500, 5000};
    spectrum.highClipped = true;
    spectrum.samplingFrequencyHz = 12800;
    spectrum.sampleCount = 4096;
    spectrum.lineSpacingHz = 3.125;
    spectrum.overallGe = 0.25;
    spectrum.lines = {0.0, 0.5, 0.125};
    const QByteArray image = EncodeEnvelopeCache(spectrum);
    EnvelopeSpectrum read;
    ASSERT_TRUE(DecodeEnvelopeCache(image, read));
    EXPECT_EQ(read.requested, spectrum.requested);
    EXPECT_EQ(read.band, spectrum.band);
    EXPECT_TRUE(read.highClipped);
    EXPECT_EQ(read.sampleCount, 4096U);
    EXPECT_EQ(read.lines, spectrum.lines);
    EXPECT_EQ(read.overallGe, 0.25);
    EXPECT_FALSE(DecodeEnvelopeCache(image.left(image.size() - 1), read));
    EXPECT_FALSE(DecodeEnvelopeCache(image + QByteArray(8, '\0'), read));
    QByteArray otherFormat = image;
    otherFormat[4] = 9;
    EXPECT_FALSE(DecodeEnvelopeCache(otherFormat, read));
    EXPECT_EQ(read.lines, spectrum.lines); // a refused image leaves the result as it was
}

} // namespace
} // namespace vantor
