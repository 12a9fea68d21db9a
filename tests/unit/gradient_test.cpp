#include "ui/gradient.h"

#include <gtest/gtest.h>

namespace {

TEST(GradientTest, DefaultRunsFromBlueToBlackAndLastBandEndsAtTheBottom) {
    const RgbTriple blue = {0, 0, 255};
    const RgbTriple toBlack = {0, 0, -255};
    const int height = 1001; // not a multiple of 96
    int previousBottom = -1;
    for (int i = 0; i < kGradientBands; ++i) {
        GradientBand band = ComputeGradientBand(i, height, blue, toBlack);
        EXPECT_EQ(previousBottom, band.top) << "band " << i;
        EXPECT_GE(band.bottom, band.top) << "band " << i;
        previousBottom = band.bottom;
    }
    EXPECT_EQ(height, previousBottom);
    EXPECT_EQ(255, ComputeGradientBand(0, height, blue, toBlack).colour.blue);
    EXPECT_EQ(0, ComputeGradientBand(95, height, blue, toBlack).colour.blue);
    // Truncation toward zero: 255 - 1 * 255 / 95 = 255 - 2.
    EXPECT_EQ(253, ComputeGradientBand(1, height, blue, toBlack).colour.blue);
}

TEST(GradientTest, ColourPartsAreHeldBetween0And255) {
    // "End Red" 400 from a start of 0, and a huge negative delta.
    const RgbTriple start = {0, 100, 0};
    const RgbTriple delta = {400, -2000000000, 0};
    GradientBand last = ComputeGradientBand(95, 480, start, delta);
    EXPECT_EQ(255, last.colour.red);
    EXPECT_EQ(0, last.colour.green);
    EXPECT_EQ(134, ComputeGradientBand(32, 480, start, delta).colour.red); // 32 * 400 / 95
}

} // namespace
