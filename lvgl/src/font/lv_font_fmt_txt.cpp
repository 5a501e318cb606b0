/**
 * @file lv_font_fmt_txt.cpp
 * Reader of the formatted-text font format written by lv_font_conv
 * (plain bitmaps, tiny/full and sparse/format0 character maps, class or pair kerning).
 */
#include "../../lvgl.h"

#include <algorithm>
#include <cstdint>

namespace {

const lv_font_fmt_txt_dsc_t * fmt_dsc(const lv_font_t * font)
{
    return static_cast<const lv_font_fmt_txt_dsc_t *>(font->dsc);
}

uint32_t lookup_in_cmap(const lv_font_fmt_txt_cmap_t & cmap, uint32_t letter)
{
    if(letter < cmap.range_start) return 0;
    const uint32_t rcp = letter - cmap.range_start;
    if(rcp >= cmap.range_length) return 0;

    switch(cmap.type) {
        case LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY:
            return cmap.glyph_id_start + rcp;
        case LV_FONT_FMT_TXT_CMAP_FORMAT0_FULL: {
            const auto * ofs = static_cast<const uint8_t *>(cmap.glyph_id_ofs_list);
            return ofs ? cmap.glyph_id_start + ofs[rcp] : 0;
        }
        case LV_FONT_FMT_TXT_CMAP_SPARSE_TINY:
        case LV_FONT_FMT_TXT_CMAP_SPARSE_FULL: {
            if(cmap.unicode_list == nullptr || cmap.list_length == 0) return 0;
            const uint16_t * first = cmap.unicode_list;
            const uint16_t * last = first + cmap.list_length;
            const uint16_t * it = std::lower_bound(first, last, static_cast<uint16_t>(rcp));
            if(it == last || *it != rcp) return 0;
            const auto idx = static_cast<uint32_t>(it - first);
            if(cmap.type == LV_FONT_FMT_TXT_CMAP_SPARSE_TINY) return cmap.glyph_id_start + idx;
            const auto * ofs = static_cast<const uint16_t *>(cmap.glyph_id_ofs_list);
            return ofs ? cmap.glyph_id_start + ofs[idx] : 0;
        }
        default:
            return 0;
    }
}

// Glyph id of a code point, 0 when the font lacks it. Remembers the last answer per font.
uint32_t glyph_id(const lv_font_t * font, uint32_t letter)
{
    if(letter == 0) return 0;
    const lv_font_fmt_txt_dsc_t * fdsc = fmt_dsc(font);
    lv_font_fmt_txt_glyph_cache_t * cache = fdsc->cache;
    if(cache != nullptr && cache->last_letter == letter) return cache->last_glyph_id;

    uint32_t gid = 0;
    for(uint32_t i = 0; i < fdsc->cmap_num && gid == 0; i++) gid = lookup_in_cmap(fdsc->cmaps[i], letter);

    if(cache != nullptr) {
        cache->last_letter = letter;
        cache->last_glyph_id = gid;
    }
    return gid;
}

template <typename Id>
int8_t pair_kern(const lv_font_fmt_txt_kern_pair_t & kp, uint32_t left, uint32_t right)
{
    // glyph_ids holds (left, right) pairs sorted by left then right.
    const auto * ids = static_cast<const Id *>(kp.glyph_ids);
    uint32_t lo = 0;
    uint32_t hi = kp.pair_cnt;
    while(lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        const uint32_t l = ids[mid * 2];
        const uint32_t r = ids[mid * 2 + 1];
        if(l == left && r == right) return kp.values[mid];
        if(l < left || (l == left && r < right)) lo = mid + 1;
        else hi = mid;
    }
    return 0;
}

int8_t kern_value(const lv_font_fmt_txt_dsc_t * fdsc, uint32_t gid_left, uint32_t gid_right)
{
    if(fdsc->kern_dsc == nullptr) return 0;
    if(fdsc->kern_classes == 0) {
        const auto * kp = static_cast<const lv_font_fmt_txt_kern_pair_t *>(fdsc->kern_dsc);
        if(kp->glyph_ids == nullptr || kp->values == nullptr) return 0;
        if(kp->glyph_ids_size == 0) {
            if(gid_left > 0xFF || gid_right > 0xFF) return 0;
            return pair_kern<uint8_t>(*kp, gid_left, gid_right);
        }
        return pair_kern<uint16_t>(*kp, gid_left, gid_right);
    }

    const auto * kc = static_cast<const lv_font_fmt_txt_kern_classes_t *>(fdsc->kern_dsc);
    if(kc->left_class_mapping == nullptr || kc->right_class_mapping == nullptr || kc->class_pair_values == nullptr)
        return 0;
    const uint32_t l = kc->left_class_mapping[gid_left];
    const uint32_t r = kc->right_class_mapping[gid_right];
    // Class 0 means "no kerning"; classes count from 1.
    if(l == 0 || r == 0 || l > kc->left_class_cnt || r > kc->right_class_cnt) return 0;
    return kc->class_pair_values[(l - 1) * kc->right_class_cnt + (r - 1)];
}

}  // namespace

extern "C" {

bool lv_font_get_glyph_dsc_fmt_txt(const lv_font_t * font, lv_font_glyph_dsc_t * dsc_out, uint32_t unicode_letter,
                                   uint32_t unicode_letter_next)
{
    if(font == nullptr || font->dsc == nullptr || dsc_out == nullptr) return false;

    // A tab is a double-width space.
    const bool is_tab = unicode_letter == '\t';
    if(is_tab) unicode_letter = ' ';

    const lv_font_fmt_txt_dsc_t * fdsc = fmt_dsc(font);
    const uint32_t gid = glyph_id(font, unicode_letter);
    if(gid == 0) return false;

    int32_t kern = 0;
    if(fdsc->kern_dsc != nullptr && unicode_letter_next != 0) {
        const uint32_t gid_next = glyph_id(font, unicode_letter_next);
        if(gid_next != 0) kern = kern_value(fdsc, gid, gid_next);
    }

    const lv_font_fmt_txt_glyph_dsc_t & g = fdsc->glyph_dsc[gid];
    // Advance and kerning are in 1/16 px; kern_scale says how many 1/16 units one kerning step is.
    int32_t adv16 = static_cast<int32_t>(g.adv_w) * (is_tab ? 2 : 1);
    adv16 += (kern * static_cast<int32_t>(fdsc->kern_scale)) >> 4;
    int32_t adv = (adv16 + 8) >> 4;
    if(adv < 0) adv = 0;

    dsc_out->adv_w = static_cast<uint16_t>(adv);
    dsc_out->box_w = static_cast<uint16_t>(g.box_w * (is_tab ? 2 : 1));
    dsc_out->box_h = g.box_h;
    dsc_out->ofs_x = g.ofs_x;
    dsc_out->ofs_y = g.ofs_y;
    dsc_out->bpp = static_cast<uint8_t>(fdsc->bpp);
    dsc_out->is_placeholder = 0;
    return true;
}

const uint8_t * lv_font_get_bitmap_fmt_txt(const lv_font_t * font, uint32_t letter)
{
    if(font == nullptr || font->dsc == nullptr) return nullptr;
    if(letter == '\t') letter = ' ';
    const lv_font_fmt_txt_dsc_t * fdsc = fmt_dsc(font);
    const uint32_t gid = glyph_id(font, letter);
    if(gid == 0) return nullptr;
    // Only uncompressed bitmaps are supported (the fonts are generated with --no-compress).
    if(fdsc->bitmap_format != LV_FONT_FMT_TXT_PLAIN) return nullptr;
    return &fdsc->glyph_bitmap[fdsc->glyph_dsc[gid].bitmap_index];
}

}  // extern "C"
