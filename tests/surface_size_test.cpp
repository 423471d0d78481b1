// The one answer to "may a surface of this size be allocated?".
#include "bmp/surface_size.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include <unistd.h>

TEST(SurfaceSize, OrdinarySizesAreAllowed) {
    EXPECT_TRUE(SurfaceSizeAllowed(1, 1));
    EXPECT_TRUE(SurfaceSizeAllowed(1024, 768));
    EXPECT_TRUE(SurfaceSizeAllowed(2048, 2048));
}

TEST(SurfaceSize, ZeroAndNegativeSizesAreRefused) {
    EXPECT_FALSE(SurfaceSizeAllowed(0, 10));
    EXPECT_FALSE(SurfaceSizeAllowed(10, 0));
    EXPECT_FALSE(SurfaceSizeAllowed(0, 0));
    EXPECT_FALSE(SurfaceSizeAllowed(-5, 600));
    EXPECT_FALSE(SurfaceSizeAllowed(600, -5));
    // Two negatives multiply to a positive area.
    EXPECT_FALSE(SurfaceSizeAllowed(-1000, -1000));
    EXPECT_FALSE(SurfaceSizeAllowed(INT64_MIN, INT64_MIN));
}

TEST(SurfaceSize, ByteSizesBeyondAnIntAreRefused) {
    // At 4 bytes a pixel: 16384 x 32767 fits an int, 16384 x 32768 is 2^31.
    EXPECT_TRUE(SurfaceSizeAllowedAt(16384, 32767, 4));
    EXPECT_FALSE(SurfaceSizeAllowedAt(16384, 32768, 4));
    EXPECT_TRUE(SurfaceSizeAllowedAt(32768, 32768, 1));
    EXPECT_FALSE(SurfaceSizeAllowedAt(65536, 32768, 1));
    EXPECT_FALSE(SurfaceSizeAllowed(60000, 60000));
    EXPECT_FALSE(SurfaceSizeAllowed(100000, 100000));
    // A 32-bit product would wrap 65536 x 65536 to 0 and 65537 x 65537 to a
    // small positive number.
    EXPECT_FALSE(SurfaceSizeAllowedAt(65536, 65536, 1));
    EXPECT_FALSE(SurfaceSizeAllowedAt(65537, 65537, 1));
}

TEST(SurfaceSize, OverflowingFactorsAreRefused) {
    EXPECT_FALSE(SurfaceSizeAllowed(INT_MAX, 1));
    EXPECT_FALSE(SurfaceSizeAllowed(1, INT_MAX));
    EXPECT_FALSE(SurfaceSizeAllowed(int64_t(1) << 40, int64_t(1) << 40));
    EXPECT_FALSE(SurfaceSizeAllowed(INT64_MAX, INT64_MAX));
    EXPECT_FALSE(SurfaceSizeAllowed(int64_t(1) << 32, 1));
    // 2^62 pixels times 4 bytes wraps a 64-bit product to 0.
    EXPECT_FALSE(SurfaceSizeAllowed(int64_t(1) << 31, int64_t(1) << 31));
}

TEST(SurfaceSize, FollowsTheColourDepth) {
    // 20000 x 30000 is 600 MB at one byte a pixel and 2.4 GB at four.
    EXPECT_TRUE(SurfaceSizeAllowedAt(20000, 30000, 1));
    EXPECT_FALSE(SurfaceSizeAllowedAt(20000, 30000, 4));
    EXPECT_FALSE(SurfaceSizeAllowed(20000, 30000));  // the tests run at depth 32
    EXPECT_EQ(CurrentBytesPerPixel(), 4);
    EXPECT_EQ(BytesPerPixelOf(8), 1);
    EXPECT_EQ(BytesPerPixelOf(15), 2);
    EXPECT_EQ(BytesPerPixelOf(16), 2);
    EXPECT_EQ(BytesPerPixelOf(24), 3);
    EXPECT_EQ(BytesPerPixelOf(32), 4);
    EXPECT_EQ(BytesPerPixelOf(-8), 4);
}

TEST(SurfaceSize, SeveralSurfacesMustFitInMemoryTogether) {
    EXPECT_TRUE(SurfacesSizeAllowed(1, 1024, 768));
    EXPECT_TRUE(SurfacesSizeAllowed(17, 2048, 2048));
    EXPECT_FALSE(SurfacesSizeAllowed(0, 1024, 768));
    EXPECT_FALSE(SurfacesSizeAllowed(-3, 1024, 768));
    EXPECT_FALSE(SurfacesSizeAllowed(2, -5, 600));
    EXPECT_FALSE(SurfacesSizeAllowed(1, 16384, 32768));
    EXPECT_FALSE(SurfacesSizeAllowed(INT64_MAX, 1, 1));

    // Just under 2 GB each: as many as memory holds pass, one more does not.
    const int64_t w = 16384, h = 32767, bytes = w * h * 4;
    const int64_t memory = int64_t(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
    const int64_t fit = memory / bytes;
    if (fit >= 1) {
        EXPECT_TRUE(SurfacesSizeAllowed(fit, w, h));
    }
    EXPECT_FALSE(SurfacesSizeAllowed(fit + 1, w, h));
}
