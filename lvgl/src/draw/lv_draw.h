/**
 * @file lv_draw.h
 * The software renderer's interface, used by the widgets and the refresher.
 * Everything draws into one RGB565 buffer, clipped to clip_area.
 * Coordinates are absolute screen coordinates.
 */
#ifndef LV_DRAW_H
#define LV_DRAW_H

#include "../../lvgl.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _lv_draw_ctx_t {
    void * buf;                  /**< lv_color_t pixels covering buf_area, row-major, stride = width of buf_area */
    const lv_area_t * buf_area;  /**< the screen area the buffer holds */
    const lv_area_t * clip_area; /**< draw only inside this (always inside buf_area) */
} lv_draw_ctx_t;

typedef struct {
    lv_coord_t radius;
    lv_blend_mode_t blend_mode;

    lv_color_t bg_color;
    lv_color_t bg_grad_color;
    lv_grad_dir_t bg_grad_dir;
    uint8_t bg_main_color_stop; /**< 0..255 */
    uint8_t bg_grad_color_stop; /**< 0..255 */
    lv_opa_t bg_opa;

    const void * bg_img_src; /**< an lv_img_dsc_t, drawn centred, clipped to the rectangle */
    lv_color_t bg_img_recolor;
    lv_opa_t bg_img_opa;
    lv_opa_t bg_img_recolor_opa;

    lv_color_t border_color;
    lv_coord_t border_width;
    lv_opa_t border_opa;
    uint8_t border_post;
    lv_border_side_t border_side;

    lv_color_t outline_color;
    lv_coord_t outline_width;
    lv_coord_t outline_pad;
    lv_opa_t outline_opa;

    lv_color_t shadow_color;
    lv_coord_t shadow_width;
    lv_coord_t shadow_ofs_x;
    lv_coord_t shadow_ofs_y;
    lv_coord_t shadow_spread;
    lv_opa_t shadow_opa;
} lv_draw_rect_dsc_t;

/** Defaults as LVGL: bg white, every opa COVER, widths 0, border side FULL, gradient stops 0 and 255. */
void lv_draw_rect_dsc_init(lv_draw_rect_dsc_t * dsc);
/** Shadow, background (colour/gradient, then bg image), border, outline, in that order. */
void lv_draw_rect(lv_draw_ctx_t * draw_ctx, const lv_draw_rect_dsc_t * dsc, const lv_area_t * coords);

typedef struct {
    const lv_font_t * font;
    lv_color_t color;
    lv_coord_t line_space;
    lv_coord_t letter_space;
    lv_coord_t ofs_x;
    lv_coord_t ofs_y;
    lv_opa_t opa;
    lv_text_align_t align;
    lv_text_flag_t flag;
    lv_text_decor_t decor;
    lv_blend_mode_t blend_mode;
} lv_draw_label_dsc_t;

void lv_draw_label_dsc_init(lv_draw_label_dsc_t * dsc);
/** Lay out `txt` in the width of `coords` (wrapping on words unless flag has EXPAND) and draw it.
 *  Lines start at coords->y1, each line_height + line_space apart; align per line. */
void lv_draw_label(lv_draw_ctx_t * draw_ctx, const lv_draw_label_dsc_t * dsc, const lv_area_t * coords,
                   const char * txt, void * hint);
/** One glyph with its top-left of the line box at pos (missing glyph: the placeholder box). */
void lv_draw_letter(lv_draw_ctx_t * draw_ctx, const lv_draw_label_dsc_t * dsc, const lv_point_t * pos_p,
                    uint32_t letter);

typedef struct {
    int16_t angle;     /**< only 0 is supported */
    uint16_t zoom;     /**< only LV_IMG_ZOOM_NONE is supported */
    lv_point_t pivot;
    lv_color_t recolor;
    lv_opa_t recolor_opa;
    lv_opa_t opa;
    lv_blend_mode_t blend_mode;
    uint8_t antialias;
} lv_draw_img_dsc_t;

void lv_draw_img_dsc_init(lv_draw_img_dsc_t * dsc);
/** Draw an lv_img_dsc_t (TRUE_COLOR or TRUE_COLOR_ALPHA) with its top-left at coords->x1/y1. */
void lv_draw_img(lv_draw_ctx_t * draw_ctx, const lv_draw_img_dsc_t * dsc, const lv_area_t * coords,
                 const void * src);

typedef struct {
    lv_color_t color;
    lv_coord_t width;
    lv_opa_t opa;
    lv_blend_mode_t blend_mode;
    uint8_t round_start;
    uint8_t round_end;
} lv_draw_line_dsc_t;

void lv_draw_line_dsc_init(lv_draw_line_dsc_t * dsc);
void lv_draw_line(lv_draw_ctx_t * draw_ctx, const lv_draw_line_dsc_t * dsc, const lv_point_t * point1,
                  const lv_point_t * point2);

/** Fill an area with one colour at an opacity (used to clear the buffer before drawing a screen). */
void lv_draw_fill(lv_draw_ctx_t * draw_ctx, const lv_area_t * area, lv_color_t color, lv_opa_t opa);

/*------------------------------------------------------------------
 * Text layout (shared by the label widget and lv_draw_label)
 *-----------------------------------------------------------------*/
/** Decode the UTF-8 character at txt[*i] and advance *i. */
uint32_t _lv_txt_encoded_next(const char * txt, uint32_t * i);
/** Bytes of the next line that fit in max_width (word wrap; letter space after every glyph). */
uint32_t _lv_txt_get_next_line(const char * txt, const lv_font_t * font, lv_coord_t letter_space,
                               lv_coord_t max_width, lv_coord_t * used_width, lv_text_flag_t flag);
/** Width of `length` bytes of text; the trailing letter space is not counted. */
lv_coord_t lv_txt_get_width(const char * txt, uint32_t length, const lv_font_t * font, lv_coord_t letter_space,
                            lv_text_flag_t flag);
/** Number of characters (code points) in a UTF-8 text. */
uint32_t _lv_txt_get_encoded_length(const char * txt);
/** Byte index of character number `utf8_id` (stops at the end of the text). */
uint32_t _lv_txt_encoded_get_byte_id(const char * txt, uint32_t utf8_id);
/** Character number of byte index `byte_id`. */
uint32_t _lv_txt_encoded_get_char_id(const char * txt, uint32_t byte_id);

#ifdef __cplusplus
}
#endif

#endif
