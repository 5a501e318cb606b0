// Label: a text in the pool, sized to its content by default, wrapped on
// words in the content width when the width is set. Long modes other than
// WRAP behave as WRAP, except CLIP, which clips to the content area.
#include "../core/lv_obj_private.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

lv_label_t * as_label(const lv_obj_t * obj) { return reinterpret_cast<lv_label_t *>(const_cast<lv_obj_t *>(obj)); }

bool width_is_content(const lv_obj_t * obj)
{
    return lv_obj_get_style_width(obj, LV_PART_MAIN) == LV_SIZE_CONTENT;
}

lv_text_flag_t text_flags(const lv_obj_t * obj)
{
    const lv_label_t * l = as_label(obj);
    lv_text_flag_t f = LV_TEXT_FLAG_NONE;
    if(l->recolor) f |= LV_TEXT_FLAG_RECOLOR;
    // A content-sized label is exactly as wide as its longest line: never wrap it.
    if(l->expand || width_is_content(obj)) f |= LV_TEXT_FLAG_EXPAND;
    return f;
}

lv_point_t measure(const lv_obj_t * obj)
{
    const lv_label_t * l = as_label(obj);
    lv_point_t size = {0, 0};
    const lv_font_t * font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
    if(font == nullptr) font = LV_FONT_DEFAULT;
    const lv_coord_t max_w = width_is_content(obj) ? LV_COORD_MAX : lv_obj_get_content_width(obj);
    lv_txt_get_size(&size, l->text ? l->text : "", font, lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN),
                    lv_obj_get_style_text_line_space(obj, LV_PART_MAIN), max_w, text_flags(obj));
    return size;
}

void refresh_text(lv_obj_t * obj)
{
    lv_label_t * l = as_label(obj);
    if(l->text == nullptr) return;
    lv_obj_refresh_self_size(obj);
    lv_obj_invalidate(obj);
}

void free_text(lv_label_t * l)
{
    if(l->text && !l->static_txt) lv_mem_free(l->text);
    l->text = nullptr;
    l->static_txt = 0;
}

void draw_text(lv_obj_t * obj, lv_draw_ctx_t * ctx)
{
    lv_label_t * l = as_label(obj);
    if(l->text == nullptr) return;
    lv_area_t txt_coords;
    lv_obj_get_content_coords(obj, &txt_coords);
    lv_area_t common;
    if(!_lv_area_intersect(&common, &txt_coords, ctx->clip_area)) return;

    lv_draw_label_dsc_t d;
    lv_draw_label_dsc_init(&d);
    lv_obj_init_draw_label_dsc(obj, LV_PART_MAIN, &d);
    if(d.opa <= LV_OPA_MIN) return;
    d.flag = text_flags(obj);

    if(l->long_mode == LV_LABEL_LONG_CLIP) {
        const lv_area_t * saved = ctx->clip_area;
        ctx->clip_area = &common;
        lv_draw_label(ctx, &d, &txt_coords, l->text, nullptr);
        ctx->clip_area = saved;
    }
    else {
        lv_draw_label(ctx, &d, &txt_coords, l->text, nullptr);
    }
}

void label_constructor(const lv_obj_class_t *, lv_obj_t * obj)
{
    lv_label_t * l = as_label(obj);
    l->text = nullptr;
    l->long_mode = LV_LABEL_LONG_WRAP;
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_CLICKABLE);
    lv_label_set_text(obj, "Text");
}

void label_destructor(const lv_obj_class_t *, lv_obj_t * obj) { free_text(as_label(obj)); }

void label_event(const lv_obj_class_t *, lv_event_t * e)
{
    if(lv_obj_event_base(&lv_label_class, e) != LV_RES_OK) return;
    lv_obj_t * obj = lv_event_get_current_target(e);
    switch(lv_event_get_code(e)) {
        case LV_EVENT_STYLE_CHANGED:
        case LV_EVENT_SIZE_CHANGED:
            refresh_text(obj);
            break;
        case LV_EVENT_REFR_EXT_DRAW_SIZE: {
            // Glyphs may reach outside their box (italics, 'j'): allow a quarter line.
            const lv_font_t * font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
            if(font) lv_event_set_ext_draw_size(e, static_cast<lv_coord_t>(lv_font_get_line_height(font) / 4));
            break;
        }
        case LV_EVENT_GET_SELF_SIZE: {
            lv_point_t * p = lv_event_get_self_size_info(e);
            const lv_point_t size = measure(obj);
            if(p->x < size.x) p->x = size.x;
            if(p->y < size.y) p->y = size.y;
            break;
        }
        case LV_EVENT_DRAW_MAIN:
            draw_text(obj, lv_event_get_draw_ctx(e));
            break;
        default:
            break;
    }
}

} // namespace

const lv_obj_class_t lv_label_class = {
    .base_class = &lv_obj_class,
    .constructor_cb = label_constructor,
    .destructor_cb = label_destructor,
    .user_data = nullptr,
    .event_cb = label_event,
    .width_def = LV_SIZE_CONTENT,
    .height_def = LV_SIZE_CONTENT,
    .editable = LV_OBJ_CLASS_EDITABLE_INHERIT,
    .group_def = LV_OBJ_CLASS_GROUP_DEF_INHERIT,
    .instance_size = sizeof(lv_label_t),
};

lv_obj_t * lv_label_create(lv_obj_t * parent)
{
    lv_obj_t * obj = lv_obj_class_create_obj(&lv_label_class, parent);
    lv_obj_class_init_obj(obj);
    return obj;
}

void lv_label_set_text(lv_obj_t * obj, const char * text)
{
    lv_label_t * l = as_label(obj);
    lv_obj_invalidate(obj);
    if(text == nullptr) text = l->text;
    if(text == nullptr) return;
    // Copy before freeing: `text` may be (part of) the current text.
    const size_t len = std::strlen(text) + 1;
    auto * copy = static_cast<char *>(lv_mem_alloc_checked(len));
    std::memcpy(copy, text, len);
    free_text(l);
    l->text = copy;
    refresh_text(obj);
}

void lv_label_set_text_fmt(lv_obj_t * obj, const char * fmt, ...)
{
    if(fmt == nullptr) return;
    lv_label_t * l = as_label(obj);
    va_list args;
    va_start(args, fmt);
    va_list copy_args;
    va_copy(copy_args, args);
    const int len = std::vsnprintf(nullptr, 0, fmt, copy_args);
    va_end(copy_args);
    if(len < 0) {
        va_end(args);
        return;
    }
    auto * buf = static_cast<char *>(lv_mem_alloc_checked(static_cast<size_t>(len) + 1));
    std::vsnprintf(buf, static_cast<size_t>(len) + 1, fmt, args);
    va_end(args);
    lv_obj_invalidate(obj);
    free_text(l);
    l->text = buf;
    refresh_text(obj);
}

void lv_label_set_text_static(lv_obj_t * obj, const char * text)
{
    lv_label_t * l = as_label(obj);
    lv_obj_invalidate(obj);
    if(text != nullptr && text != l->text) {
        free_text(l);
        l->text = const_cast<char *>(text);
        l->static_txt = 1;
    }
    refresh_text(obj);
}

void lv_label_set_long_mode(lv_obj_t * obj, lv_label_long_mode_t long_mode)
{
    lv_label_t * l = as_label(obj);
    l->long_mode = long_mode;
    refresh_text(obj);
}

char * lv_label_get_text(const lv_obj_t * obj) { return as_label(obj)->text; }

lv_label_long_mode_t lv_label_get_long_mode(const lv_obj_t * obj) { return as_label(obj)->long_mode; }

void lv_label_get_letter_pos(const lv_obj_t * obj, uint32_t char_id, lv_point_t * pos)
{
    const lv_label_t * l = as_label(obj);
    pos->x = 0;
    pos->y = 0;
    const char * txt = l->text;
    if(txt == nullptr || txt[0] == '\0') return;

    const lv_font_t * font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
    const lv_coord_t letter_space = lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN);
    const lv_coord_t line_h = static_cast<lv_coord_t>(lv_font_get_line_height(font) +
                                                      lv_obj_get_style_text_line_space(obj, LV_PART_MAIN));
    const lv_text_flag_t flag = text_flags(obj);
    const lv_coord_t max_w = lv_obj_get_content_width(obj);
    const uint32_t byte_id = _lv_txt_encoded_get_byte_id(txt, char_id);

    uint32_t line_start = 0;
    int32_t y = 0;
    while(txt[line_start] != '\0') {
        const uint32_t len = _lv_txt_get_next_line(&txt[line_start], font, letter_space, max_w, nullptr, flag);
        if(byte_id < line_start + len || txt[line_start + len] == '\0') break;
        line_start += len;
        y += line_h;
    }
    lv_coord_t x = lv_txt_get_width(&txt[line_start], byte_id - line_start, font, letter_space, flag);
    if(byte_id > line_start) x = static_cast<lv_coord_t>(x + letter_space);

    const lv_text_align_t align = lv_obj_get_style_text_align(obj, LV_PART_MAIN);
    if(align == LV_TEXT_ALIGN_CENTER || align == LV_TEXT_ALIGN_RIGHT) {
        const uint32_t len = _lv_txt_get_next_line(&txt[line_start], font, letter_space, max_w, nullptr, flag);
        const lv_coord_t line_w = lv_txt_get_width(&txt[line_start], len, font, letter_space, flag);
        const lv_coord_t free_w = static_cast<lv_coord_t>(max_w - line_w);
        x = static_cast<lv_coord_t>(x + (align == LV_TEXT_ALIGN_CENTER ? free_w / 2 : free_w));
    }
    pos->x = x;
    pos->y = static_cast<lv_coord_t>(y);
}
