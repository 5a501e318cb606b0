/**
 * @file png_util.h
 * PNG helpers for picture tests: RGB565 buffers to and from 8-bit RGB PNG files, and comparison
 * against golden pictures with a tolerance for anti-aliasing.
 *
 * Goldens live in golden/ under the tests' working directory. Set TESSEL_UPDATE_GOLDEN=1 to
 * (re)write them from the current output; on a mismatch the actual picture and a difference map
 * are written to $TESSEL_TEST_OUT (default /tmp/tessel-golden-out).
 */
#ifndef TESSEL_TEST_PNG_UTIL_H
#define TESSEL_TEST_PNG_UTIL_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tessel_test {

struct Image565 {
    int w = 0;
    int h = 0;
    std::vector<uint16_t> px;  // row-major RGB565
    uint16_t at(int x, int y) const { return px[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; }
};

/** Writes RGB565 pixels as an 8-bit RGB PNG (channels widened so that full scale becomes 255). */
bool write_png565(const std::string & path, const uint16_t * px, int w, int h);
/** Reads an 8-bit RGB or RGBA PNG into RGB565 (exact for files written by write_png565). */
bool read_png565(const std::string & path, Image565 & out);

struct Tolerance {
    int channel = 1;    /**< allowed difference per channel, in 5/6-bit units */
    int max_bad = 0;    /**< pixels allowed beyond `channel` */
};

/** Compares pixels with golden/<name>.png. */
::testing::AssertionResult matches_golden(const std::string & name, const uint16_t * px, int w, int h,
                                          Tolerance tol = {});

/** Largest per-channel difference of two RGB565 colours (5/6-bit units). */
int channel_diff(uint16_t a, uint16_t b);

}  // namespace tessel_test

#endif
