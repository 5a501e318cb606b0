// Roller: a vertical list of options with the selected one in a band across
// the middle.
//
// The options text lives in the roller's only child, a label (as in LVGL);
// in infinite mode the label holds LV_ROLLER_INF_PAGES copies of the options.
// The roller draws the rows itself: rows outside the band in the main part's
// text style, the band with the LV_PART_SELECTED background and the row
// inside it in the selected part's font and colour. The label only carries
// the text and gives the content width.
//
// Scroll state: `vis` is the label line nearest the middle and `ofs` the
// pixel offset of the text from that line being centred. Drags change ofs;
// a release adds the pointer's throw (as LVGL 8.3's momentum) and snaps to
// that row with an animation of ofs back to 0. The label is kept where LVGL
// places it: centred across the content, its line `vis` on the middle row
// (in infinite mode a line of the middle copy of the options).
#include "../core/lv_obj_private.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" const lv_obj_class_t lv_roller_label_class;

namespace {

constexpr int32_t kInfPages = LV_ROLLER_INF_PAGES;

struct lv_roller_t {
    lv_obj_t obj;
    lv_obj_t * label;
    uint16_t option_cnt; // distinct options (one page)
    uint16_t sel;        // selected option, 0..option_cnt-1
    int32_t vis;         // label line nearest the middle
    int32_t ofs;         // text offset in px from `vis` being centred
    lv_coord_t last_y;   // pointer y at the previous read of a press
    int32_t throw_y;     // the pointer's throw: halved sum of the last movements, per read
    uint8_t mode;        // lv_roller_mode_t
    uint8_t moved : 1;   // the current press has dragged
    uint8_t pressed : 1;
};

lv_roller_t * as_roller(lv_obj_t * obj) { return reinterpret_cast<lv_roller_t *>(obj); }
const lv_roller_t * as_roller(const lv_obj_t * obj) { return reinterpret_cast<const lv_roller_t *>(obj); }

bool is_infinite(const lv_roller_t * r) { return r->mode == LV_ROLLER_MODE_INFINITE; }

int32_t floor_div(int32_t a, int32_t b)
{
    int32_t q = a / b;
    if((a % b != 0) && ((a < 0) != (b < 0))) q--;
    return q;
}

int32_t floor_mod(int32_t a, int32_t b) { return a - floor_div(a, b) * b; }

lv_coord_t clamp_coord(int64_t v) { return static_cast<lv_coord_t>(std::clamp<int64_t>(v, LV_COORD_MIN, LV_COORD_MAX)); }

const lv_font_t * part_font(const lv_obj_t * obj, lv_part_t part)
{
    const lv_font_t * f = lv_obj_get_style_text_font(obj, part);
    return f ? f : LV_FONT_DEFAULT;
}

// Distance between the tops of two rows.
int32_t row_pitch(const lv_obj_t * obj)
{
    const int32_t p = lv_font_get_line_height(part_font(obj, LV_PART_MAIN)) +
                      lv_obj_get_style_text_line_space(obj, LV_PART_MAIN);
    return std::max<int32_t>(p, 1);
}

const char * options_text(const lv_roller_t * r)
{
    const char * t = r->label ? lv_label_get_text(r->label) : nullptr;
    return t ? t : "";
}

// Option `idx` (0..option_cnt-1) as pointer and length into the label text.
void option_span(const lv_roller_t * r, uint32_t idx, const char ** start, uint32_t * len)
{
    const char * p = options_text(r);
    for(uint32_t i = 0; i < idx && *p; i++) {
        const char * nl = std::strchr(p, '\n');
        if(nl == nullptr) {
            p += std::strlen(p);
            break;
        }
        p = nl + 1;
    }
    const char * nl = std::strchr(p, '\n');
    *start = p;
    *len = static_cast<uint32_t>(nl ? nl - p : static_cast<std::ptrdiff_t>(std::strlen(p)));
}

std::string option_str(const lv_roller_t * r, uint32_t idx)
{
    const char * s;
    uint32_t len;
    option_span(r, idx, &s, &len);
    return std::string(s, len);
}

void place_label(lv_obj_t * obj);

// Infinite mode keeps the middle line in the middle page so a drag never runs out of text.
void normalize(lv_roller_t * r)
{
    if(r->option_cnt == 0) return;
    if(is_infinite(r)) {
        const int32_t cnt = r->option_cnt;
        r->vis = floor_mod(r->vis, cnt) + (kInfPages / 2) * cnt;
    }
    else {
        r->vis = std::clamp<int32_t>(r->vis, 0, r->option_cnt - 1);
    }
}

/*--------------------------------------------------------------------
 * Scroll animation
 *------------------------------------------------------------------*/
void ofs_exec_cb(void * var, int32_t v)
{
    auto * obj = static_cast<lv_obj_t *>(var);
    as_roller(obj)->ofs = v;
    place_label(obj);
    lv_obj_invalidate(obj);
}

void stop_anim(lv_obj_t * obj) { lv_anim_del(obj, ofs_exec_cb); }

// Bring the text from its current offset to `vis` centred.
void settle(lv_obj_t * obj, lv_anim_enable_t anim)
{
    lv_roller_t * r = as_roller(obj);
    stop_anim(obj);
    const uint32_t time = lv_obj_get_style_anim_time(obj, LV_PART_MAIN);
    if(anim == LV_ANIM_OFF || time == 0 || r->ofs == 0) {
        r->ofs = 0;
        place_label(obj);
        lv_obj_invalidate(obj);
        return;
    }
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, obj);
    lv_anim_set_exec_cb(&a, ofs_exec_cb);
    lv_anim_set_values(&a, r->ofs, 0);
    lv_anim_set_time(&a, time);
    lv_anim_set_path_cb(&a, lv_anim_path_ease_out);
    lv_anim_start(&a);
}

// Make `target` the middle line without moving the picture (the offset takes the difference).
void retarget(lv_obj_t * obj, int32_t target)
{
    lv_roller_t * r = as_roller(obj);
    r->ofs += (target - r->vis) * row_pitch(obj);
    r->vis = target;
    normalize(r);
    place_label(obj);
}

// Widest option in the main font: the label's width.
lv_coord_t label_width(const lv_obj_t * obj)
{
    const lv_roller_t * r = as_roller(obj);
    const lv_font_t * font = part_font(obj, LV_PART_MAIN);
    const lv_coord_t ls = lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN);
    lv_coord_t lw = 0;
    const char * s = options_text(r);
    for(uint32_t i = 0; i < r->option_cnt; i++) {
        const char * nl = std::strchr(s, '\n');
        const uint32_t len = static_cast<uint32_t>(nl ? nl - s : static_cast<std::ptrdiff_t>(std::strlen(s)));
        lw = std::max(lw, lv_txt_get_width(s, len, font, ls, LV_TEXT_FLAG_NONE));
        if(nl == nullptr) break;
        s = nl + 1;
    }
    return lw;
}

// The label's top, relative to the content area: line `vis` centred on the content's middle.
int32_t label_top(const lv_obj_t * obj)
{
    const lv_roller_t * r = as_roller(obj);
    const int32_t font_h = lv_font_get_line_height(part_font(obj, LV_PART_MAIN));
    return lv_obj_get_content_height(obj) / 2 - font_h / 2 - r->vis * row_pitch(obj) + r->ofs;
}

void place_label(lv_obj_t * obj)
{
    lv_roller_t * r = as_roller(obj);
    if(r->label == nullptr) return;
    const lv_coord_t x = static_cast<lv_coord_t>((lv_obj_get_content_width(obj) - label_width(obj)) / 2);
    lv_obj_set_pos(r->label, x, clamp_coord(label_top(obj)));
}

/*--------------------------------------------------------------------
 * Drawing
 *------------------------------------------------------------------*/
lv_coord_t middle_y(const lv_obj_t * obj) { return clamp_coord(obj->coords.y1 + lv_obj_get_height(obj) / 2); }

// The band of the selected row: one row high (averaging the two fonts) plus one pixel, inside the border.
lv_area_t band_area(lv_obj_t * obj)
{
    const int32_t main_h = lv_font_get_line_height(part_font(obj, LV_PART_MAIN));
    const int32_t sel_h = lv_font_get_line_height(part_font(obj, LV_PART_SELECTED));
    const int32_t h = (main_h + sel_h) / 2 + lv_obj_get_style_text_line_space(obj, LV_PART_MAIN);
    const lv_coord_t bw = lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    lv_area_t a;
    a.x1 = clamp_coord(obj->coords.x1 + bw);
    a.x2 = clamp_coord(obj->coords.x2 - bw);
    a.y1 = clamp_coord(middle_y(obj) - h / 2);
    a.y2 = clamp_coord(a.y1 + h);  // one row more than h, as LVGL 8.3 makes it
    return a;
}

// Draw the rows whose boxes touch `clip`, each centred on its row position, in the style of `part`.
void draw_rows(lv_obj_t * obj, lv_draw_ctx_t * ctx, const lv_area_t & clip, lv_part_t part)
{
    lv_roller_t * r = as_roller(obj);
    if(r->option_cnt == 0) return;

    lv_draw_label_dsc_t d;
    lv_draw_label_dsc_init(&d);
    lv_obj_init_draw_label_dsc(obj, part, &d);
    if(d.opa <= LV_OPA_MIN) return;
    // Rows take the main part's alignment and letter space in both parts so they stay in line.
    d.align = LV_TEXT_ALIGN_LEFT;
    d.letter_space = lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN);
    d.flag = LV_TEXT_FLAG_EXPAND;
    const lv_text_align_t align = lv_obj_get_style_text_align(obj, LV_PART_MAIN);

    const int32_t pitch = row_pitch(obj);
    const int32_t font_h = lv_font_get_line_height(d.font);
    const int32_t mid = middle_y(obj);

    lv_area_t content;
    lv_obj_get_content_coords(obj, &content);
    const int32_t lw = label_width(obj);
    const int32_t label_x1 = content.x1 + (lv_area_get_width(&content) - lw) / 2;

    const int32_t first = r->vis + floor_div(clip.y1 - mid - r->ofs - font_h, pitch);
    const int32_t last = r->vis + floor_div(clip.y2 - mid - r->ofs + font_h, pitch) + 1;

    const lv_area_t * saved = ctx->clip_area;
    ctx->clip_area = &clip;
    for(int32_t line = first; line <= last; line++) {
        int32_t opt;
        if(is_infinite(r)) opt = floor_mod(line, r->option_cnt);
        else if(line < 0 || line >= r->option_cnt) continue;
        else opt = line;

        const int32_t centre = mid + (line - r->vis) * pitch + r->ofs;
        lv_area_t box;
        box.y1 = clamp_coord(centre - font_h / 2);
        box.y2 = clamp_coord(box.y1 + font_h - 1);
        if(box.y2 < clip.y1 || box.y1 > clip.y2) continue;

        const std::string txt = option_str(r, static_cast<uint32_t>(opt));
        const lv_coord_t w = lv_txt_get_width(txt.c_str(), static_cast<uint32_t>(txt.size()), d.font, d.letter_space,
                                              LV_TEXT_FLAG_NONE);
        // Inside the label, which is centred across the content (both divisions toward zero).
        int32_t x;
        if(align == LV_TEXT_ALIGN_CENTER) x = label_x1 + (lw - w) / 2;
        else if(align == LV_TEXT_ALIGN_RIGHT) x = label_x1 + lw - w;
        else x = label_x1;
        box.x1 = clamp_coord(x);
        box.x2 = clamp_coord(static_cast<int64_t>(x) + w + 1); // room for a trailing glyph's overhang
        lv_draw_label(ctx, &d, &box, txt.c_str(), nullptr);
    }
    ctx->clip_area = saved;
}

void draw_main(lv_obj_t * obj, lv_event_t * e)
{
    lv_draw_ctx_t * ctx = lv_event_get_draw_ctx(e);
    lv_area_t visible;
    if(!_lv_area_intersect(&visible, ctx->clip_area, &obj->coords)) return;

    const lv_area_t band = band_area(obj);

    lv_draw_rect_dsc_t bd;
    lv_draw_rect_dsc_init(&bd);
    lv_obj_init_draw_rect_dsc(obj, LV_PART_SELECTED, &bd);
    lv_draw_rect(ctx, &bd, &band);

    // Plain rows above and below the band, the selected row's text inside it.
    lv_area_t part;
    part = visible;
    part.y2 = std::min<lv_coord_t>(visible.y2, clamp_coord(band.y1 - 1));
    if(part.y1 <= part.y2) draw_rows(obj, ctx, part, LV_PART_MAIN);
    part = visible;
    part.y1 = std::max<lv_coord_t>(visible.y1, clamp_coord(band.y2 + 1));
    if(part.y1 <= part.y2) draw_rows(obj, ctx, part, LV_PART_MAIN);
    if(_lv_area_intersect(&part, &visible, &band)) draw_rows(obj, ctx, part, LV_PART_SELECTED);
}

/*--------------------------------------------------------------------
 * Input
 *------------------------------------------------------------------*/
lv_indev_t * pointer_of(lv_event_t * e)
{
    lv_indev_t * indev = lv_event_get_indev(e);
    if(indev == nullptr) indev = lv_indev_get_act();
    if(indev == nullptr || lv_indev_get_type(indev) != LV_INDEV_TYPE_POINTER) return nullptr;
    return indev;
}

// The pointer's position is followed from the press on (not the read-to-read
// vector, which on the first read of a press may hold the jump from the last release).
void on_pressed(lv_obj_t * obj, lv_event_t * e)
{
    lv_roller_t * r = as_roller(obj);
    stop_anim(obj); // keep the text where it is; the drag continues from there
    r->pressed = 1;
    r->moved = 0;
    r->throw_y = 0;
    lv_indev_t * indev = pointer_of(e);
    lv_point_t p = {0, 0};
    if(indev) lv_indev_get_point(indev, &p);
    r->last_y = p.y;
}

void on_pressing(lv_obj_t * obj, lv_event_t * e)
{
    lv_roller_t * r = as_roller(obj);
    lv_indev_t * indev = pointer_of(e);
    if(indev == nullptr || !r->pressed || r->option_cnt == 0) return;
    lv_point_t p;
    lv_indev_get_point(indev, &p);
    const int32_t dy = p.y - r->last_y;
    r->last_y = p.y;
    // Each read halves the throw and adds half the new movement (truncated toward zero).
    r->throw_y = (r->throw_y + dy) / 2;
    if(dy == 0) return;
    r->moved = 1;

    const int32_t pitch = row_pitch(obj);
    // Scroll position of the middle in px from line 0; the nearest line becomes `vis`.
    int32_t pos = r->vis * pitch - (r->ofs + dy);
    if(!is_infinite(r)) pos = std::clamp<int32_t>(pos, 0, (r->option_cnt - 1) * pitch);
    r->vis = floor_div(pos + pitch / 2, pitch);
    r->ofs = r->vis * pitch - pos;
    // In infinite mode the text moves freely while pressed; it is folded back on release.
    if(!is_infinite(r)) normalize(r);
    place_label(obj);
    lv_obj_invalidate(obj);
}

// Snap to a row; true if the object still exists.
bool on_release(lv_obj_t * obj, lv_event_t * e, bool lost)
{
    lv_roller_t * r = as_roller(obj);
    if(!r->pressed) return true;
    r->pressed = 0;
    if(r->option_cnt == 0) return true;

    int32_t target = r->vis;
    lv_indev_t * indev = pointer_of(e);
    if(r->moved) {
        // Momentum: the throw keeps going, shrinking by 10 % a step, and the row that would then
        // be on the middle line is the target.
        int32_t travel = 0;
        for(int32_t t = r->throw_y; t != 0; t = t * 90 / 100) travel += t;
        const int32_t pitch = row_pitch(obj);
        lv_area_t content;
        lv_obj_get_content_coords(obj, &content);
        const int32_t top = content.y1 + label_top(obj) + travel;
        const int32_t mid = obj->coords.y1 + (obj->coords.y2 - obj->coords.y1) / 2;
        const int32_t cnt = r->option_cnt;
        const int32_t lines = is_infinite(r) ? cnt * kInfPages : cnt;
        int32_t row = std::clamp<int32_t>((mid - top) / pitch, 0, lines - 1);
        if(is_infinite(r) && row < cnt) {
            // An option number on the first page: its copy nearest to the selected one.
            const int32_t sel_row = (kInfPages / 2) * cnt + r->sel;
            int32_t best = row;
            for(int32_t k = 1; k < kInfPages; k++)
                if(std::abs(row + k * cnt - sel_row) < std::abs(best - sel_row)) best = row + k * cnt;
            row = best;
        }
        target = row;
    }
    else if(!lost && indev) {
        // A tap picks the row under the pointer.
        lv_point_t p;
        lv_indev_get_point(indev, &p);
        const int32_t pitch = row_pitch(obj);
        const int32_t line = r->vis + floor_div(p.y - middle_y(obj) - r->ofs + pitch / 2, pitch);
        if(is_infinite(r) || (line >= 0 && line < r->option_cnt)) target = line;
    }
    retarget(obj, target);
    settle(obj, LV_ANIM_ON);

    const uint16_t new_sel = static_cast<uint16_t>(floor_mod(r->vis, r->option_cnt));
    if(new_sel == r->sel) return true;
    r->sel = new_sel;
    uint32_t id = new_sel;
    return lv_event_send(obj, LV_EVENT_VALUE_CHANGED, &id) == LV_RES_OK;
}

/*--------------------------------------------------------------------
 * The inner label: carries the text, draws nothing (the roller draws the rows)
 *------------------------------------------------------------------*/
void roller_label_event(const lv_obj_class_t *, lv_event_t * e)
{
    switch(lv_event_get_code(e)) {
        case LV_EVENT_DRAW_MAIN_BEGIN:
        case LV_EVENT_DRAW_MAIN:
        case LV_EVENT_DRAW_MAIN_END:
        case LV_EVENT_DRAW_POST_BEGIN:
        case LV_EVENT_DRAW_POST:
        case LV_EVENT_DRAW_POST_END:
            return;
        default:
            lv_obj_event_base(&lv_roller_label_class, e);
    }
}

void roller_constructor(const lv_obj_class_t *, lv_obj_t * obj)
{
    lv_roller_t * r = as_roller(obj);
    r->label = nullptr;
    r->option_cnt = 0;
    r->sel = 0;
    r->vis = 0;
    r->ofs = 0;
    r->last_y = 0;
    r->throw_y = 0;
    r->mode = LV_ROLLER_MODE_NORMAL;
    r->moved = 0;
    r->pressed = 0;
    // Drags move the options, never a scroll of this object or its parents.
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_SCROLLABLE | LV_OBJ_FLAG_SCROLL_CHAIN | LV_OBJ_FLAG_SCROLL_ON_FOCUS);
    lv_obj_add_flag(obj, LV_OBJ_FLAG_CLICKABLE | LV_OBJ_FLAG_PRESS_LOCK);

    lv_obj_t * label = lv_obj_class_create_obj(&lv_roller_label_class, obj);
    lv_obj_class_init_obj(label);
    lv_obj_clear_flag(label, LV_OBJ_FLAG_CLICKABLE); // presses belong to the roller
    r->label = label;
    lv_roller_set_options(obj, "Option 1\nOption 2\nOption 3\nOption 4\nOption 5", LV_ROLLER_MODE_NORMAL);
}

void roller_event(const lv_obj_class_t *, lv_event_t * e)
{
    if(lv_obj_event_base(&lv_roller_class, e) != LV_RES_OK) return;
    lv_obj_t * obj = lv_event_get_target(e);
    lv_roller_t * r = as_roller(obj);

    switch(lv_event_get_code(e)) {
        case LV_EVENT_GET_SELF_SIZE: {
            lv_point_t * p = lv_event_get_self_size_info(e);
            if(p == nullptr || r->label == nullptr) break;
            const lv_font_t * font = part_font(obj, LV_PART_MAIN);
            const lv_coord_t ls = lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN);
            // One walk over the options (looking each one up from the start would be quadratic).
            const char * s = options_text(r);
            for(uint32_t i = 0; i < r->option_cnt; i++) {
                const char * nl = std::strchr(s, '\n');
                const std::string t(s, nl ? static_cast<size_t>(nl - s) : std::strlen(s));
                const lv_coord_t w =
                    lv_txt_get_width(t.c_str(), static_cast<uint32_t>(t.size()), font, ls, LV_TEXT_FLAG_NONE);
                p->x = std::max(p->x, w);
                if(nl == nullptr) break; // the rest are empty
            }
            break;
        }
        case LV_EVENT_PRESSED:
            on_pressed(obj, e);
            break;
        case LV_EVENT_PRESSING:
            on_pressing(obj, e);
            break;
        case LV_EVENT_RELEASED:
            on_release(obj, e, false);
            break;
        case LV_EVENT_PRESS_LOST:
            on_release(obj, e, true);
            break;
        case LV_EVENT_STYLE_CHANGED:
        case LV_EVENT_SIZE_CHANGED:
            place_label(obj);
            lv_obj_invalidate(obj);
            break;
        case LV_EVENT_DRAW_MAIN:
            draw_main(obj, e);
            break;
        default:
            break;
    }
}

} // namespace

extern "C" {

const lv_obj_class_t lv_roller_label_class = {
    &lv_label_class, nullptr, nullptr, nullptr, roller_label_event, 0, 0,
    LV_OBJ_CLASS_EDITABLE_INHERIT, LV_OBJ_CLASS_GROUP_DEF_INHERIT, sizeof(lv_label_t),
};

const lv_obj_class_t lv_roller_class = {
    &lv_obj_class,
    roller_constructor,
    nullptr,
    nullptr,
    roller_event,
    LV_SIZE_CONTENT,
    LV_DPI_DEF,
    LV_OBJ_CLASS_EDITABLE_TRUE,
    LV_OBJ_CLASS_GROUP_DEF_TRUE,
    sizeof(lv_roller_t),
};

lv_obj_t * lv_roller_create(lv_obj_t * parent)
{
    lv_obj_t * obj = lv_obj_class_create_obj(&lv_roller_class, parent);
    lv_obj_class_init_obj(obj);
    return obj;
}

void lv_roller_set_options(lv_obj_t * obj, const char * options, lv_roller_mode_t mode)
{
    lv_roller_t * r = as_roller(obj);
    if(options == nullptr) options = "";
    uint32_t cnt = 1;
    for(const char * p = options; *p; p++) cnt += *p == '\n';
    cnt = std::min<uint32_t>(cnt, UINT16_MAX / kInfPages);

    stop_anim(obj);
    r->mode = static_cast<uint8_t>(mode);
    r->option_cnt = static_cast<uint16_t>(cnt);
    r->sel = 0;
    r->ofs = 0;
    if(mode == LV_ROLLER_MODE_INFINITE) {
        std::string text;
        for(int32_t i = 0; i < kInfPages; i++) {
            if(i) text += '\n';
            text += options;
        }
        lv_label_set_text(r->label, text.c_str());
        r->vis = (kInfPages / 2) * static_cast<int32_t>(cnt);
    }
    else {
        lv_label_set_text(r->label, options);
        r->vis = 0;
    }
    lv_obj_refresh_self_size(obj);
    place_label(obj);
    lv_obj_invalidate(obj);
}

void lv_roller_set_selected(lv_obj_t * obj, uint16_t sel_opt, lv_anim_enable_t anim)
{
    lv_roller_t * r = as_roller(obj);
    if(r->option_cnt == 0) return;
    if(sel_opt >= r->option_cnt) sel_opt = static_cast<uint16_t>(r->option_cnt - 1);
    r->sel = sel_opt;

    int32_t target = sel_opt;
    if(is_infinite(r)) {
        // The copy of the option nearest to what is shown now, so an animation takes the short way.
        const int32_t cnt = r->option_cnt;
        const int32_t base = r->vis - floor_mod(r->vis, cnt) + sel_opt;
        target = base;
        for(int32_t cand : {base - cnt, base + cnt})
            if(std::abs(cand - r->vis) < std::abs(target - r->vis)) target = cand;
    }
    if(anim == LV_ANIM_ON) {
        retarget(obj, target);
        settle(obj, LV_ANIM_ON);
    }
    else {
        r->vis = target;
        normalize(r);
        settle(obj, LV_ANIM_OFF);
    }
}

void lv_roller_set_visible_row_count(lv_obj_t * obj, uint8_t row_cnt)
{
    // Measured once, from the styles in effect now: later style changes keep this height.
    const int32_t h = row_cnt * row_pitch(obj) + 2 * lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    lv_obj_set_height(obj, clamp_coord(h));
}

uint16_t lv_roller_get_selected(const lv_obj_t * obj) { return as_roller(obj)->sel; }

void lv_roller_get_selected_str(const lv_obj_t * obj, char * buf, uint32_t buf_size)
{
    if(buf == nullptr || buf_size == 0) return;
    const lv_roller_t * r = as_roller(obj);
    const char * s;
    uint32_t len;
    option_span(r, r->sel, &s, &len);
    len = std::min(len, buf_size - 1);
    std::memcpy(buf, s, len);
    buf[len] = '\0';
}

const char * lv_roller_get_options(const lv_obj_t * obj) { return options_text(as_roller(obj)); }

uint16_t lv_roller_get_option_cnt(const lv_obj_t * obj) { return as_roller(obj)->option_cnt; }

} // extern "C"
