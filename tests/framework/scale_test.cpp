// Layout lengths scaled the same by both builds: the 32-bit one once made 322 into 321
// at 96 DPI with a floating-point product.
#include <gtest/gtest.h>

#include "controls.h"

namespace {

TEST(Scaling, LengthsAreExactAtWholeStepsAndTruncatedBetween) {
    struct Row {
        int length, dpi, expected;
    };
    static constexpr Row kRows[] = {
        {322, 96, 322}, {192, 96, 192}, {1, 96, 1},       // unchanged at 96
        {322, 120, 402}, {7, 120, 8},   {191, 144, 286},  // truncated, never rounded up
        {96, 100, 100},  {95, 100, 98}, {0, 144, 0},
        {-5, 120, -6},                                    // toward zero
    };
    for (const Row& r : kRows)
        EXPECT_EQ(fw::ScaleLength(r.length, r.dpi), r.expected) << r.length << " at " << r.dpi << " DPI";
}

}  // namespace
