// The renderer against vectors measured on the real LVGL 8.3.11 at 16-bit colour
// (reference/vectors/*.csv): every row is drawn with the same inputs and the pixel compared.
// Each test prints how many rows of its drawing path pass.
#include "draw/lv_draw.h"
#include "draw/lv_draw_sw.h"
#include "core/lv_obj_private.h"
#include "core_fixture.h"
#include "support/canvas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using tessel_test::area;
using tessel_test::Canvas;

extern "C" {
extern const lv_font_t lv_font_montserratMedium_24;
extern const lv_font_t lv_font_Antonio_Regular_30;
}

namespace {

using Row = std::map<std::string, std::string>;

std::vector<Row> read_csv(const std::string & name)
{
    std::ifstream in("reference/vectors/" + name);
    std::vector<Row> rows;
    std::string line;
    if(!std::getline(in, line)) {
        ADD_FAILURE() << "cannot read reference/vectors/" << name;
        return rows;
    }
    std::vector<std::string> head;
    std::stringstream hs(line);
    for(std::string f; std::getline(hs, f, ',');) head.push_back(f);
    while(std::getline(in, line)) {
        if(line.empty()) continue;
        Row r;
        std::stringstream ls(line);
        std::string f;
        for(size_t i = 0; i < head.size() && std::getline(ls, f, ','); i++) r[head[i]] = f;
        rows.push_back(r);
    }
    return rows;
}

int num(const Row & r, const char * k) { return static_cast<int>(std::stol(r.at(k), nullptr, 0)); }
uint16_t c565(const Row & r, const char * k) { return static_cast<uint16_t>(std::stoul(r.at(k), nullptr, 16)); }
lv_color_t col(uint16_t v)
{
    lv_color_t c;
    c.full = v;
    return c;
}

/* Counts rows, reports the first few mismatches and the share passing. */
struct Tally {
    const char * path;
    int rows = 0;
    int bad = 0;
    explicit Tally(const char * p) : path(p) {}
    /** A row of the file and what was drawn for it (a pixel as 0xRRRR, or an opacity). */
    void check(bool ok, const Row & r, int got)
    {
        rows++;
        if(ok || ++bad > 8) return;
        std::string s;
        for(const auto & kv : r) s += kv.first + "=" + kv.second + " ";
        char g[16];
        std::snprintf(g, sizeof g, "0x%04X", got);
        ADD_FAILURE() << path << ": " << s << "got " << g;
    }
    ~Tally()
    {
        std::printf("[vectors] %-28s %d / %d rows pass\n", path, rows - bad, rows);
        EXPECT_GT(rows, 0) << path;
        EXPECT_EQ(bad, 0) << path;
    }
};

lv_draw_rect_dsc_t plain_rect(uint16_t color, int opa, int radius = 0)
{
    lv_draw_rect_dsc_t d;
    lv_draw_rect_dsc_init(&d);
    d.bg_color = col(color);
    d.bg_opa = static_cast<lv_opa_t>(opa);
    d.radius = static_cast<lv_coord_t>(radius);
    return d;
}

}  // namespace

TEST(Vectors, FillOpacity)
{
    Tally t("fill (rule 1)");
    for(const Row & r : read_csv("fill_opa.csv")) {
        Canvas c(4, 1, c565(r, "bg565"));
        const lv_draw_rect_dsc_t d = plain_rect(c565(r, "fg565"), num(r, "opa"));
        const lv_area_t a = area(0, 0, 3, 0);
        lv_draw_rect(c.ctx(), &d, &a);
        t.check(c.at(1, 0) == c565(r, "result565"), r, c.at(1, 0));
    }
}

TEST(Vectors, FillOverBlackUsesTheCachedMixUntilAnotherColour)
{
    Tally t("fill over black");
    for(const Row & r : read_csv("fill_opa_black.csv")) {
        // One fill over black, white, black: the first black is met before any other colour.
        Canvas c(3, 1, 0x0000);
        const uint16_t row[3] = {0x0000, 0xFFFF, 0x0000};
        for(int x = 0; x < 3; x++) {
            lv_draw_rect_dsc_t px = plain_rect(row[x], 255);
            const lv_area_t a = area(x, 0, x, 0);
            lv_draw_rect(c.ctx(), &px, &a);
        }
        const lv_draw_rect_dsc_t d = plain_rect(c565(r, "fg565"), num(r, "opa"));
        const lv_area_t a = area(0, 0, 2, 0);
        lv_draw_rect(c.ctx(), &d, &a);
        const bool ok = c.at(0, 0) == c565(r, "first_px_black_result565") &&
                        c.at(1, 0) == c565(r, "white_result565") &&
                        c.at(2, 0) == c565(r, "black_after_white_result565");
        t.check(ok, r, c.at(0, 0));
    }
}

TEST(Vectors, TranslucentRoundedBoxMixesOnCornerRowsAndFillsBetween)
{
    Tally t("rounded fill rows");
    for(const Row & r : read_csv("fill_opa_rounded.csv")) {
        Canvas c(24, 8, c565(r, "bg565"));
        const lv_draw_rect_dsc_t d = plain_rect(c565(r, "fg565"), num(r, "opa"), 3);
        const lv_area_t a = area(0, 0, 23, 7);
        lv_draw_rect(c.ctx(), &d, &a);
        t.check(c.at(12, 1) == c565(r, "corner_row_result565") && c.at(12, 4) == c565(r, "centre_row_result565"), r, c.at(12, 1));
    }
}

TEST(Vectors, ColourHelpers)
{
    {
        Tally t("lv_color_mix (rule 2)");
        for(const Row & r : read_csv("color_mix.csv")) {
            const uint16_t got =
                lv_color_mix(col(c565(r, "c1_565")), col(c565(r, "c2_565")), static_cast<uint8_t>(num(r, "mix"))).full;
            t.check(got == c565(r, "result565"), r, got);
        }
    }
    {
        Tally t("darken / lighten");
        for(const Row & r : read_csv("color_darken_lighten.csv")) {
            const lv_opa_t l = static_cast<lv_opa_t>(num(r, "lvl"));
            const uint16_t dk = lv_color_darken(col(c565(r, "c565")), l).full;
            const uint16_t lt = lv_color_lighten(col(c565(r, "c565")), l).full;
            t.check(dk == c565(r, "darken565") && lt == c565(r, "lighten565"), r, dk);
        }
    }
    {
        Tally t("pressed filter (darken 35)");
        for(const Row & r : read_csv("pressed_filter.csv")) {
            const uint16_t got = lv_color_darken(col(c565(r, "bg565")), 35).full;
            t.check(got == c565(r, "pressed_result565"), r, got);
        }
    }
}

TEST(Vectors, Gradients)
{
    std::map<int, Row> cases;
    for(const Row & r : read_csv("gradient_cases.csv")) cases[num(r, "case")] = r;
    Tally t("gradients (rule 3)");
    for(const Row & r : read_csv("gradient.csv")) {
        const Row & k = cases[num(r, "case")];
        const bool ver = k.at("dir") == "ver";
        const int size = num(k, "size");
        const int bw = num(k, "border_w");
        const int pos = num(r, "pos");
        if(pos < bw || pos >= size - bw) continue;  // the border's own rows
        const int w = ver ? 100 : size;
        const int h = ver ? size : 100;
        Canvas c(w, h, c565(k, "under565"));
        lv_draw_rect_dsc_t d = plain_rect(lv_color_hex(static_cast<uint32_t>(num(k, "c0_rgb"))).full, num(k, "bg_opa"),
                                          num(k, "radius"));
        d.bg_grad_color = lv_color_hex(static_cast<uint32_t>(num(k, "c1_rgb")));
        d.bg_grad_dir = ver ? LV_GRAD_DIR_VER : LV_GRAD_DIR_HOR;
        d.bg_main_color_stop = static_cast<uint8_t>(num(k, "main_stop"));
        d.bg_grad_color_stop = static_cast<uint8_t>(num(k, "grad_stop"));
        d.border_width = static_cast<lv_coord_t>(bw);
        d.border_opa = static_cast<lv_opa_t>(num(k, "border_opa"));
        d.border_color = lv_color_hex(0xA8CCE8);
        const lv_area_t a = area(0, 0, w - 1, h - 1);
        lv_draw_rect(c.ctx(), &d, &a);
        const uint16_t got = ver ? c.at(w / 2, pos) : c.at(pos, h / 2);
        t.check(got == c565(r, "result565"), r, got);
    }
}

TEST(Vectors, CornerCoverage)
{
    {
        Tally t("corner arcs (rule 4)");
        for(const Row & r : read_csv("radius_cov.csv")) {
            const int w = num(r, "w");
            const int h = num(r, "h");
            const int rad = r.at("radius") == "circle" ? LV_RADIUS_CIRCLE : num(r, "radius");
            Canvas c(w, h, 0x0000);
            const lv_draw_rect_dsc_t d = plain_rect(0xFFFF, 255, rad);
            const lv_area_t a = area(0, 0, w - 1, h - 1);
            lv_draw_rect(c.ctx(), &d, &a);
            const uint16_t got = c.at(num(r, "x"), num(r, "y"));
            t.check(got == c565(r, "result565"), r, got);
        }
    }
    {
        Tally t("corner arcs at bg_opa");
        for(const Row & r : read_csv("radius_cov_opa.csv")) {
            Canvas c(60, 40, 0x0000);
            const lv_draw_rect_dsc_t d = plain_rect(0xFFFF, num(r, "bg_opa"), num(r, "radius"));
            const lv_area_t a = area(0, 0, 59, 39);
            lv_draw_rect(c.ctx(), &d, &a);
            const uint16_t got = c.at(num(r, "x"), num(r, "y"));
            t.check(got == c565(r, "result565"), r, got);
        }
    }
    {
        Tally t("borders");
        for(const Row & r : read_csv("border_cov.csv")) {
            const int w = num(r, "w");
            const int h = num(r, "h");
            Canvas c(w, h, 0x0000);
            lv_draw_rect_dsc_t d = plain_rect(0xFFFF, 0, num(r, "radius"));
            d.border_width = static_cast<lv_coord_t>(num(r, "border_w"));
            d.border_opa = static_cast<lv_opa_t>(num(r, "border_opa"));
            d.border_color = lv_color_white();
            const lv_area_t a = area(0, 0, w - 1, h - 1);
            lv_draw_rect(c.ctx(), &d, &a);
            const uint16_t got = c.at(num(r, "x"), num(r, "y"));
            t.check(got == c565(r, "result565"), r, got);
        }
    }
}

TEST(Vectors, Shadows)
{
    std::map<int, Row> cases;
    for(const Row & r : read_csv("shadow_cases.csv")) cases[num(r, "case")] = r;
    std::map<int, std::vector<Row>> by_case;
    for(const Row & r : read_csv("shadow.csv")) by_case[num(r, "case")].push_back(r);
    Tally t("shadows (rule 5)");
    for(const auto & kv : by_case) {
        const Row & k = cases[kv.first];
        const int ox = 60;
        const int oy = 60;
        const int w = num(k, "w");
        const int h = num(k, "h");
        Canvas c(w + 2 * ox, h + 2 * oy, 0x0000);
        lv_draw_rect_dsc_t d = plain_rect(0x0000, num(k, "bg_opa"), num(k, "radius"));
        d.shadow_width = static_cast<lv_coord_t>(num(k, "sw"));
        d.shadow_spread = static_cast<lv_coord_t>(num(k, "spread"));
        d.shadow_ofs_x = static_cast<lv_coord_t>(num(k, "ofs_x"));
        d.shadow_ofs_y = static_cast<lv_coord_t>(num(k, "ofs_y"));
        d.shadow_opa = static_cast<lv_opa_t>(num(k, "shadow_opa"));
        d.shadow_color = col(c565(k, "color565"));
        // The object itself is black on black: the vectors hold the pixels outside it only.
        const lv_area_t a = area(ox, oy, ox + w - 1, oy + h - 1);
        lv_draw_rect(c.ctx(), &d, &a);
        for(const Row & r : kv.second) {
            const uint16_t got = c.at(ox + num(r, "x"), oy + num(r, "y"));
            t.check(got == c565(r, "result565"), r, got);
        }
    }
}

TEST(Vectors, ImagesWithAlphaOpacityAndRecolour)
{
    std::vector<uint8_t> px_a8;
    std::vector<uint8_t> px_565;
    for(const Row & r : read_csv("image_pixels.csv")) {
        const uint16_t v = c565(r, "px565");
        px_a8.insert(px_a8.end(), {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8),
                                   static_cast<uint8_t>(num(r, "alpha"))});
        px_565.insert(px_565.end(), {static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)});
    }
    ASSERT_EQ(px_a8.size(), 32u * 3u);
    auto dsc = [](const std::vector<uint8_t> & data, bool alpha) {
        lv_img_dsc_t d{};
        d.header.cf = alpha ? LV_IMG_CF_TRUE_COLOR_ALPHA : LV_IMG_CF_TRUE_COLOR;
        d.header.w = 8;
        d.header.h = 4;
        d.data_size = static_cast<uint32_t>(data.size());
        d.data = data.data();
        return d;
    };
    const lv_img_dsc_t img_a8 = dsc(px_a8, true);
    const lv_img_dsc_t img_565 = dsc(px_565, false);

    std::map<int, Row> cases;
    for(const Row & r : read_csv("image_cases.csv")) cases[num(r, "case")] = r;
    Tally t("images (rule 6)");
    std::map<int, std::vector<Row>> by_case;
    for(const Row & r : read_csv("image.csv")) by_case[num(r, "case")].push_back(r);
    for(const auto & kv : by_case) {
        const Row & k = cases[kv.first];
        const bool alpha = k.at("format") == "rgb565a8";
        Canvas c(8, 4, c565(k, "bg565"));
        const lv_area_t a = area(0, 0, 7, 3);
        if(k.at("drawn_as") == "bg_img_style") {
            lv_draw_rect_dsc_t d = plain_rect(0, 0);
            d.bg_img_src = alpha ? &img_a8 : &img_565;
            d.bg_img_opa = static_cast<lv_opa_t>(num(k, "opa"));
            d.bg_img_recolor = col(c565(k, "recolor565"));
            d.bg_img_recolor_opa = static_cast<lv_opa_t>(num(k, "recolor_opa"));
            lv_draw_rect(c.ctx(), &d, &a);
        }
        else {
            lv_draw_img_dsc_t d;
            lv_draw_img_dsc_init(&d);
            d.opa = static_cast<lv_opa_t>(num(k, "opa"));
            d.recolor = col(c565(k, "recolor565"));
            d.recolor_opa = static_cast<lv_opa_t>(num(k, "recolor_opa"));
            lv_draw_img(c.ctx(), &d, &a, alpha ? &img_a8 : &img_565);
        }
        for(const Row & r : kv.second) {
            const int i = num(r, "index");
            const uint16_t got = c.at(i % 8, i / 8);
            t.check(got == c565(r, "result565"), r, got);
        }
    }
}

TEST(Vectors, Glyphs)
{
    std::map<int, Row> cases;
    for(const Row & r : read_csv("glyph_cases.csv")) cases[num(r, "case")] = r;
    std::map<int, std::vector<Row>> by_case;
    for(const Row & r : read_csv("glyph.csv")) by_case[num(r, "case")].push_back(r);
    Tally t("4-bpp glyphs (rule 7)");
    for(const auto & kv : by_case) {
        const Row & k = cases[kv.first];
        const std::string & fname = k.at("font");
        const lv_font_t * font = fname == "montserratMedium_24"  ? &lv_font_montserratMedium_24
                                 : fname == "Antonio_Regular_30" ? &lv_font_Antonio_Regular_30
                                                                 : &lv_font_montserrat_14;
        const uint32_t letter = static_cast<uint8_t>(k.at("letter")[0]);
        Canvas c(80, 80, c565(k, "bg565"));
        lv_draw_label_dsc_t d;
        lv_draw_label_dsc_init(&d);
        d.font = font;
        d.color = col(c565(k, "fg565"));
        d.opa = static_cast<lv_opa_t>(num(k, "text_opa"));
        const lv_point_t pos = {10, 10};
        lv_draw_letter(c.ctx(), &d, &pos, letter);
        lv_font_glyph_dsc_t g;
        ASSERT_TRUE(lv_font_get_glyph_dsc(font, &g, letter, 0));
        const int gx = pos.x + g.ofs_x;
        const int gy = pos.y + (font->line_height - font->base_line) - g.box_h - g.ofs_y;
        for(const Row & r : kv.second) {
            const uint16_t got = c.at(gx + num(r, "col"), gy + num(r, "row"));
            t.check(got == c565(r, "result565"), r, got);
        }
    }
}

TEST(Vectors, HorizontalLines)
{
    {
        Tally t("lines (rule 8)");
        for(const Row & r : read_csv("line.csv")) {
            // Each row redraws its line: cheap next to the file's size, and keeps rows independent.
            const int w = num(r, "width");
            Canvas c(90, 30, 0x0000, -10, -15);
            lv_draw_line_dsc_t d;
            lv_draw_line_dsc_init(&d);
            d.width = static_cast<lv_coord_t>(w);
            d.color = lv_color_white();
            d.round_start = d.round_end = static_cast<uint8_t>(num(r, "rounded"));
            const lv_point_t p1 = {0, 0};
            const lv_point_t p2 = {60, 0};
            lv_draw_line(c.ctx(), &d, &p1, &p2);
            const uint16_t got = c.at(num(r, "x"), num(r, "y"));
            t.check(got == c565(r, "result565"), r, got);
        }
    }
    {
        Tally t("the divider's ends");
        Canvas c(1280, 120, 0xFFFF);
        lv_draw_line_dsc_t d;
        lv_draw_line_dsc_init(&d);
        d.width = 10;
        d.color = lv_color_hex(0x707470);
        d.round_start = d.round_end = 1;
        const lv_point_t p1 = {40, 93};
        const lv_point_t p2 = {1240, 93};
        lv_draw_line(c.ctx(), &d, &p1, &p2);
        for(const Row & r : read_csv("line_divider.csv")) {
            const uint16_t got = c.at(num(r, "x"), num(r, "y"));
            t.check(got == c565(r, "result565"), r, got);
        }
    }
}

// Opacities that come from the object tree, and the image widget's size quirk: real objects on the
// test display.
class VectorObjects : public core_test::Core {
protected:
    lv_obj_t * box(lv_obj_t * parent, int opa)
    {
        lv_obj_t * o = lv_obj_create(parent);
        lv_obj_remove_style_all(o);
        lv_obj_set_size(o, 40, 40);
        lv_obj_set_style_opa(o, static_cast<lv_opa_t>(opa), 0);
        return o;
    }
};

TEST_F(VectorObjects, OpacityMultipliesDownTheTree)
{
    Tally t("opacity chain (rule 9)");
    for(const Row & r : read_csv("opa_chain.csv")) {
        lv_obj_t * top = box(scr, num(r, "screen_opa"));
        lv_obj_t * parent = box(top, num(r, "parent_opa"));
        lv_obj_t * child = box(parent, num(r, "child_opa"));
        lv_obj_set_style_bg_opa(child, static_cast<lv_opa_t>(num(r, "child_bg_opa")), 0);
        lv_obj_set_style_bg_color(child, lv_color_white(), 0);
        lv_draw_rect_dsc_t d;
        lv_draw_rect_dsc_init(&d);
        lv_obj_init_draw_rect_dsc(child, LV_PART_MAIN, &d);
        const int want = num(r, "blend_opa");
        // -1: no blend reached the pixel
        const bool opa_ok = want < 0 ? d.bg_opa <= LV_OPA_MIN : d.bg_opa == want;
        Canvas c(4, 1, 0x0000);
        const lv_area_t a = area(0, 0, 3, 0);
        lv_draw_rect(c.ctx(), &d, &a);
        t.check(opa_ok && c.at(1, 0) == c565(r, "result565_white_over_black"), r, d.bg_opa);
        lv_obj_del(top);
    }
    Tally tt("opacity chain, text and images");
    for(const Row & r : read_csv("opa_chain_text_img.csv")) {
        lv_obj_t * parent = box(scr, num(r, "parent_opa"));
        lv_obj_t * child = box(parent, 255);
        int got;
        if(r.at("kind") == "text") {
            lv_obj_set_style_text_opa(child, static_cast<lv_opa_t>(num(r, "own_opa")), 0);
            lv_draw_label_dsc_t d;
            lv_draw_label_dsc_init(&d);
            lv_obj_init_draw_label_dsc(child, LV_PART_MAIN, &d);
            got = d.opa;
        }
        else {
            lv_obj_set_style_img_opa(child, static_cast<lv_opa_t>(num(r, "own_opa")), 0);
            lv_draw_img_dsc_t d;
            lv_draw_img_dsc_init(&d);
            lv_obj_init_draw_img_dsc(child, LV_PART_MAIN, &d);
            got = d.opa;
        }
        tt.check(got == num(r, "blend_opa"), r, got);
        lv_obj_del(parent);
    }
}

TEST_F(VectorObjects, ImageWidgetOnePixelTallOrWideDrawsNothing)
{
    Tally t("image widget sizes");
    for(const Row & r : read_csv("img_size.csv")) {
        const int w = num(r, "img_w");
        const int h = num(r, "img_h");
        std::vector<uint8_t> data(static_cast<size_t>(w * h) * 2);
        for(size_t i = 0; i < data.size(); i += 2) {
            data[i] = 0x00;
            data[i + 1] = 0xF8;  // red
        }
        lv_img_dsc_t dsc{};
        dsc.header.cf = LV_IMG_CF_TRUE_COLOR;
        dsc.header.w = static_cast<uint32_t>(w);
        dsc.header.h = static_cast<uint32_t>(h);
        dsc.data_size = static_cast<uint32_t>(data.size());
        dsc.data = data.data();
        lv_obj_set_style_bg_color(scr, lv_color_black(), 0);
        lv_obj_t * img = lv_img_create(scr);
        lv_img_set_src(img, &dsc);
        lv_obj_set_pos(img, 0, 0);
        lv_obj_invalidate(scr);
        kit->refresh();
        t.check(kit->pixel(0, 0) == c565(r, "pixel_at_origin565"), r, kit->pixel(0, 0));
        lv_obj_del(img);
    }
}
