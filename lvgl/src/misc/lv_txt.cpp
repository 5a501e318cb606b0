/**
 * @file lv_txt.cpp
 * UTF-8 decoding and text layout: word wrapping, line widths, text size.
 * Letter space follows every glyph that has a width; a line's trailing one is not part of its width.
 */
#include "../draw/lv_draw.h"

#include <cstring>

namespace {

constexpr uint32_t kNoBreak = 0xFFFFFFFFU;

bool is_newline(uint32_t letter) { return letter == '\n' || letter == '\r'; }

bool is_break_char(uint32_t letter)
{
    if(letter == 0 || letter > 0x7F) return false;
    return std::strchr(LV_TXT_BREAK_CHARS, static_cast<int>(letter)) != nullptr;
}

bool is_continuation(char c) { return (static_cast<uint8_t>(c) & 0xC0U) == 0x80U; }

int32_t glyph_w(const lv_font_t * font, uint32_t letter, uint32_t next)
{
    return lv_font_get_glyph_width(font, letter, next);
}

/* Measures the word at the start of `txt`: the characters before the next break character or
 * newline. A break character or newline at the very start is a word of its own.
 * Returns the bytes the word takes and its width (with a letter space after each glyph) in *word_w.
 * A word wider than max_width gives 0 bytes, unless `force` (first word of a line), in which case it
 * is cut before the first character that does not fit. */
uint32_t next_word(const char * txt, const lv_font_t * font, int32_t letter_space, int32_t max_width,
                   int32_t * word_w, bool force)
{
    *word_w = 0;
    if(txt == nullptr || txt[0] == '\0') return 0;

    uint32_t i = 0;          // byte index of `letter`
    uint32_t i_next = 0;     // byte index after `letter`
    uint32_t letter = _lv_txt_encoded_next(txt, &i_next);
    uint32_t i_after = i_next;
    uint32_t letter_next = 0;
    int32_t cur_w = 0;
    uint32_t cut = kNoBreak;
    uint32_t chars = 0;

    while(txt[i] != '\0') {
        letter_next = _lv_txt_encoded_next(txt, &i_after);
        chars++;

        const int32_t lw = glyph_w(font, letter, letter_next);
        cur_w += lw;
        if(lw > 0) cur_w += letter_space;

        // The trailing letter space does not have to fit.
        if(cut == kNoBreak && cur_w - letter_space > max_width) cut = i;

        if(is_newline(letter) || is_break_char(letter)) {
            if(i == 0 && cut == kNoBreak) *word_w = cur_w;
            chars--;
            break;
        }
        if(cut == kNoBreak) *word_w = cur_w;

        i = i_next;
        i_next = i_after;
        letter = letter_next;
    }

    if(cut == kNoBreak) {
        if(chars == 0) i = i_next;  // the word is the single break character
        return i;
    }
    if(force) return cut;
    *word_w = 0;
    return 0;
}

}  // namespace

extern "C" {

uint32_t _lv_txt_encoded_next(const char * txt, uint32_t * i)
{
    uint32_t tmp = 0;
    if(i == nullptr) i = &tmp;
    const auto b0 = static_cast<uint8_t>(txt[*i]);

    if(b0 < 0x80U) {
        (*i)++;
        return b0;
    }

    int extra;
    uint32_t result;
    if((b0 & 0xE0U) == 0xC0U) {
        extra = 1;
        result = b0 & 0x1FU;
    }
    else if((b0 & 0xF0U) == 0xE0U) {
        extra = 2;
        result = b0 & 0x0FU;
    }
    else if((b0 & 0xF8U) == 0xF0U) {
        extra = 3;
        result = b0 & 0x07U;
    }
    else {
        (*i)++;  // stray continuation or invalid byte: skip it
        return 0;
    }

    (*i)++;
    for(int k = 0; k < extra; k++) {
        // Stops at the terminator, which is never a continuation byte.
        if(!is_continuation(txt[*i])) return 0;
        result = (result << 6) | (static_cast<uint8_t>(txt[*i]) & 0x3FU);
        (*i)++;
    }
    return result;
}

uint32_t _lv_txt_get_encoded_length(const char * txt)
{
    if(txt == nullptr) return 0;
    uint32_t len = 0;
    uint32_t i = 0;
    while(txt[i] != '\0') {
        _lv_txt_encoded_next(txt, &i);
        len++;
    }
    return len;
}

uint32_t _lv_txt_encoded_get_byte_id(const char * txt, uint32_t utf8_id)
{
    uint32_t i = 0;
    for(uint32_t k = 0; k < utf8_id && txt[i] != '\0'; k++) _lv_txt_encoded_next(txt, &i);
    return i;
}

uint32_t _lv_txt_encoded_get_char_id(const char * txt, uint32_t byte_id)
{
    uint32_t i = 0;
    uint32_t id = 0;
    while(i < byte_id && txt[i] != '\0') {
        _lv_txt_encoded_next(txt, &i);
        id++;
    }
    return id;
}

lv_coord_t lv_txt_get_width(const char * txt, uint32_t length, const lv_font_t * font, lv_coord_t letter_space,
                            lv_text_flag_t flag)
{
    LV_UNUSED(flag);
    if(txt == nullptr || font == nullptr || txt[0] == '\0') return 0;

    int32_t width = 0;
    uint32_t i = 0;
    while(i < length && txt[i] != '\0') {
        const uint32_t letter = _lv_txt_encoded_next(txt, &i);
        uint32_t peek = i;
        // Kerning looks at the character after the measured part too, as the drawing does.
        const uint32_t letter_next = txt[i] != '\0' ? _lv_txt_encoded_next(txt, &peek) : 0;
        const int32_t w = glyph_w(font, letter, letter_next);
        if(w > 0) width += w + letter_space;
    }
    if(width > 0) width -= letter_space;
    return static_cast<lv_coord_t>(width);
}

uint32_t _lv_txt_get_next_line(const char * txt, const lv_font_t * font, lv_coord_t letter_space,
                               lv_coord_t max_width, lv_coord_t * used_width, lv_text_flag_t flag)
{
    if(used_width != nullptr) *used_width = 0;
    if(txt == nullptr || txt[0] == '\0' || font == nullptr) return 0;

    if(flag & (LV_TEXT_FLAG_EXPAND | LV_TEXT_FLAG_FIT)) {
        // No wrapping: the line runs to the next newline.
        uint32_t i = 0;
        while(txt[i] != '\0' && !is_newline(static_cast<uint8_t>(txt[i]))) i++;
        if(used_width != nullptr) *used_width = lv_txt_get_width(txt, i, font, letter_space, flag);
        if(txt[i] == '\r' && txt[i + 1] == '\n') i += 2;
        else if(txt[i] != '\0') i++;
        return i;
    }

    int32_t remaining = max_width;
    int32_t line_w = 0;
    uint32_t i = 0;
    while(txt[i] != '\0' && remaining > 0) {
        int32_t word_w = 0;
        const uint32_t adv = next_word(&txt[i], font, letter_space, remaining, &word_w, i == 0);
        remaining -= word_w;
        line_w += word_w;
        if(adv == 0) break;
        i += adv;

        // A line that starts with a newline holds just that newline (an empty line).
        if(is_newline(static_cast<uint8_t>(txt[0]))) {
            if(txt[0] == '\r' && txt[i] == '\n') i++;
            break;
        }
        if(is_newline(static_cast<uint8_t>(txt[i]))) {
            if(txt[i] == '\r' && txt[i + 1] == '\n') i++;
            i++;  // the newline belongs to this line
            break;
        }
    }

    // Always take at least one character so that callers make progress.
    if(i == 0) {
        _lv_txt_encoded_next(txt, &i);
        line_w = lv_txt_get_width(txt, i, font, letter_space, flag);
    }

    if(used_width != nullptr) *used_width = static_cast<lv_coord_t>(line_w);
    return i;
}

void lv_txt_get_size(lv_point_t * size_res, const char * text, const lv_font_t * font, lv_coord_t letter_space,
                     lv_coord_t line_space, lv_coord_t max_width, lv_text_flag_t flag)
{
    if(size_res == nullptr) return;
    size_res->x = 0;
    size_res->y = 0;
    if(text == nullptr || font == nullptr) return;
    if(flag & LV_TEXT_FLAG_EXPAND) max_width = LV_COORD_MAX;

    const int32_t line_h = lv_font_get_line_height(font);
    int32_t w = 0;
    int32_t h = 0;
    uint32_t start = 0;
    while(text[start] != '\0') {
        const uint32_t len = _lv_txt_get_next_line(&text[start], font, letter_space, max_width, nullptr, flag);
        if(h + line_h + line_space > INT16_MAX) break;  // keep the height within lv_coord_t
        h += line_h + line_space;
        const int32_t lw = lv_txt_get_width(&text[start], len, font, letter_space, flag);
        if(lw > w) w = lw;
        start += len;
    }

    // A trailing newline opens one more (empty) line.
    if(start != 0 && is_newline(static_cast<uint8_t>(text[start - 1]))) h += line_h + line_space;

    if(h == 0) h = line_h;  // empty text is still one line tall
    else h -= line_space;

    size_res->x = static_cast<lv_coord_t>(w);
    size_res->y = static_cast<lv_coord_t>(h);
}

}  // extern "C"
