/**
 * @file tiny_font.h
 * A handmade font in the formatted-text format for renderer and text tests, small enough to
 * reason about pixel by pixel. Line height 8, base line 2, 4 bpp.
 *
 * Glyphs (advance in px; box w x h; offset x, y):
 *   ' '  3;   0 x 0
 *   'A'  6;   5 x 6; 0, 0      'T'  6;  5 x 6; 0, 0     'V'  6;  5 x 6; 0, 0
 *   'o'  5;   4 x 4; 0, 0      'j'  3;  3 x 7; -1, -2 (reaches left of its cell and below the base line)
 *   U+F001, U+F00C, U+F8A2: icons 6; 6 x 6 (sparse tiny map)
 *   'x', 'y', 'z': full format-0 map, 'y' and 'z' share one glyph; U+2022, U+2030: sparse full map
 * Kerning (sixteenths of a pixel): "AV" -32, "To" -24, "TA" +8.
 */
#ifndef TESSEL_TEST_TINY_FONT_H
#define TESSEL_TEST_TINY_FONT_H

#include "lvgl.h"

namespace tessel_test {

/** Class-based kerning. */
const lv_font_t & tiny_font();
/** The same glyphs with pair kerning: glyph ids stored as 8-bit (size 0) or 16-bit (size 1) values. */
const lv_font_t & tiny_font_pairs(int glyph_ids_size);
/** Glyph id layout, for tests of the character maps. */
enum TinyGlyph : uint32_t {
    kGidSpace = 1,
    kGidA,
    kGidT,
    kGidV,
    kGidj,
    kGido,
    kGidIcon1,
    kGidIcon2,
    kGidIcon3,
    kGidx,
    kGidyz,
    kGidBullet,
    kGidPermille,
    kGidCount
};

}  // namespace tessel_test

#endif
