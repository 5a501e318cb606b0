// Layout and the basic widgets: positions relative to the parent's content
// area, alignment, percentages, content sizing (button around a label,
// image, line), label measuring and wrapping with letter space, label texts.
#include "core_fixture.h"
#include "draw/lv_draw.h" // text measuring

#include <cstring>

using core_test::Core;

namespace {

class Layout : public Core {};

lv_area_t coords_of(const lv_obj_t * o)
{
    lv_area_t a;
    lv_obj_get_coords(o, &a);
    return a;
}

TEST_F(Layout, LabelSizesFromTheFont)
{
    lv_obj_t * ag = lv_label_create(scr);
    lv_label_set_text(ag, "Ag");
    lv_obj_t * hello = lv_label_create(scr);
    lv_label_set_text(hello, "Hello");
    lv_obj_t * spaced = lv_label_create(scr);
    lv_label_set_text(spaced, "Hello");
    lv_obj_set_style_text_letter_space(spaced, 2, 0);
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_width(ag), 20);
    EXPECT_EQ(lv_obj_get_height(ag), 16);
    EXPECT_EQ(lv_obj_get_width(hello), 37);
    EXPECT_EQ(lv_obj_get_height(hello), 16);
    EXPECT_EQ(lv_obj_get_width(spaced), 45); // letter space after each glyph but the last

    const lv_coord_t xs[] = {0, 13, 24, 30, 36};
    for(uint32_t i = 0; i < 5; i++) {
        lv_point_t p;
        lv_label_get_letter_pos(spaced, i, &p);
        EXPECT_EQ(p.x, xs[i]) << i;
        EXPECT_EQ(p.y, 0);
    }
    // A new label says "Text" until told otherwise.
    lv_obj_t * fresh = lv_label_create(scr);
    EXPECT_STREQ(lv_label_get_text(fresh), "Text");
}

TEST_F(Layout, WrappingCountsLetterSpaceAndRemeasuresOnStyleChange)
{
    const char * txt = "Hello Hello";
    const lv_coord_t w0 = lv_txt_get_width(txt, static_cast<uint32_t>(std::strlen(txt)), &lv_font_montserrat_14, 0,
                                           LV_TEXT_FLAG_NONE);
    lv_obj_t * label = lv_label_create(scr);
    lv_label_set_text(label, txt);
    lv_label_set_long_mode(label, LV_LABEL_LONG_WRAP);
    lv_obj_set_width(label, w0);
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_height(label), 16);

    lv_obj_set_style_text_letter_space(label, 2, 0);
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_height(label), 32); // now wraps into two lines, 16 px apart
    lv_point_t second;
    lv_label_get_letter_pos(label, 6, &second);
    EXPECT_EQ(second.x, 0);
    EXPECT_EQ(second.y, 16);

    lv_obj_set_style_text_line_space(label, 4, 0);
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_height(label), 36);

    // A font inherited from the parent counts too.
    lv_obj_t * box = lv_obj_create(scr);
    lv_obj_t * inner = lv_label_create(box);
    lv_label_set_text(inner, "Hello");
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_width(inner), 37);
    lv_obj_set_style_text_letter_space(box, 2, 0);
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_width(inner), 45);
}

TEST_F(Layout, PositionsAreRelativeToTheParentContentArea)
{
    lv_obj_t * panel = lv_obj_create(scr);
    lv_obj_set_pos(panel, 46, 228);
    lv_obj_set_size(panel, 580, 553);
    lv_obj_set_style_pad_all(panel, 0, 0);
    lv_obj_set_style_border_width(panel, 4, 0);
    lv_obj_t * child = lv_obj_create(panel);
    lv_obj_set_pos(child, 10, 20);
    lv_obj_set_size(child, 100, 50);
    lv_obj_update_layout(scr);

    lv_area_t p = coords_of(panel);
    EXPECT_EQ(p.x1, 46);
    EXPECT_EQ(p.y1, 228);
    EXPECT_EQ(p.x2, 46 + 580 - 1);
    EXPECT_EQ(p.y2, 228 + 553 - 1);
    lv_area_t c = coords_of(child);
    EXPECT_EQ(c.x1, 46 + 4 + 10); // inside the border
    EXPECT_EQ(c.y1, 228 + 4 + 20);
    EXPECT_EQ(lv_obj_get_x(child), 10);
    EXPECT_EQ(lv_obj_get_y(child), 20);
    EXPECT_EQ(lv_obj_get_content_width(panel), 572);

    // With the theme's padding (20) the origin moves too.
    lv_obj_t * card = lv_obj_create(scr);
    lv_obj_t * in_card = lv_obj_create(card);
    lv_obj_set_size(in_card, 10, 10);
    lv_obj_update_layout(scr);
    EXPECT_EQ(coords_of(in_card).x1 - coords_of(card).x1, 22); // border 2 + pad 20

    // Moving the parent moves the children.
    lv_obj_set_x(panel, 100);
    lv_obj_update_layout(scr);
    EXPECT_EQ(coords_of(child).x1, 100 + 4 + 10);
}

TEST_F(Layout, AlignmentAndPercentages)
{
    lv_obj_t * parent = lv_obj_create(scr);
    lv_obj_set_size(parent, 301, 201);
    lv_obj_set_style_pad_all(parent, 0, 0);
    lv_obj_set_style_border_width(parent, 0, 0);
    lv_obj_t * c = lv_obj_create(parent);
    lv_obj_set_size(c, 50, 31);
    lv_obj_align(c, LV_ALIGN_CENTER, 0, 0);
    lv_obj_update_layout(scr);
    lv_area_t pa = coords_of(parent);
    EXPECT_EQ(coords_of(c).x1 - pa.x1, 301 / 2 - 50 / 2);
    EXPECT_EQ(coords_of(c).y1 - pa.y1, 201 / 2 - 31 / 2);

    lv_obj_align(c, LV_ALIGN_BOTTOM_RIGHT, -5, -6);
    lv_obj_update_layout(scr);
    EXPECT_EQ(coords_of(c).x2, pa.x2 - 5);
    EXPECT_EQ(coords_of(c).y2, pa.y2 - 6);

    lv_obj_align(c, LV_ALIGN_TOP_MID, 0, 3);
    lv_obj_set_width(c, LV_PCT(50));
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_width(c), 150);
    EXPECT_EQ(coords_of(c).y1 - pa.y1, 3);
    EXPECT_EQ(coords_of(c).x1 - pa.x1, 301 / 2 - 150 / 2);
}

TEST_F(Layout, ContentSizedButtonWrapsItsCentredLabel)
{
    lv_obj_t * btn = lv_btn_create(scr);
    lv_obj_t * label = lv_label_create(btn);
    lv_label_set_text(label, "Hello");
    lv_obj_center(label);
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_width(btn), 37 + 2 * 20);
    EXPECT_EQ(lv_obj_get_height(btn), 16 + 2 * 11);
    lv_area_t b = coords_of(btn);
    lv_area_t l = coords_of(label);
    EXPECT_EQ(l.x1 - b.x1, 20);
    EXPECT_EQ(l.y1 - b.y1, 11);

    // The application's button: fixed size, zero padding, label centred.
    lv_obj_set_style_pad_all(btn, 0, 0);
    lv_obj_set_size(btn, 140, 50);
    lv_obj_update_layout(scr);
    l = coords_of(label);
    b = coords_of(btn);
    EXPECT_EQ(l.x1 - b.x1, 140 / 2 - 37 / 2);
    EXPECT_EQ(l.y1 - b.y1, 50 / 2 - 16 / 2);

    // Longer text: the content-sized label grows and stays centred.
    lv_label_set_text(label, "Hello Hello");
    lv_obj_update_layout(scr);
    EXPECT_GT(lv_obj_get_width(label), 37);
    EXPECT_EQ(coords_of(label).x1 - b.x1, 140 / 2 - lv_obj_get_width(label) / 2);
}

TEST_F(Layout, ImageAndLineSizeToTheirContent)
{
    static const uint16_t px[6 * 4] = {};
    static lv_img_dsc_t dsc;
    dsc.header.cf = LV_IMG_CF_TRUE_COLOR;
    dsc.header.w = 6;
    dsc.header.h = 4;
    dsc.data_size = sizeof(px);
    dsc.data = reinterpret_cast<const uint8_t *>(px);
    lv_obj_t * img = lv_img_create(scr);
    lv_img_set_src(img, &dsc);
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_width(img), 6);
    EXPECT_EQ(lv_obj_get_height(img), 4);
    EXPECT_EQ(lv_img_get_src(img), &dsc);
    EXPECT_EQ(lv_img_get_zoom(img), LV_IMG_ZOOM_NONE);
    EXPECT_EQ(lv_img_get_angle(img), 0);
    lv_point_t pivot;
    lv_img_get_pivot(img, &pivot);
    EXPECT_EQ(pivot.x, 3);
    lv_img_set_pivot(img, 50, 50);
    lv_img_get_pivot(img, &pivot);
    EXPECT_EQ(pivot.y, 50);
    EXPECT_EQ(lv_img_src_get_type(&dsc), LV_IMG_SRC_VARIABLE);
    EXPECT_EQ(lv_img_src_get_type(LV_SYMBOL_OK), LV_IMG_SRC_SYMBOL);
    EXPECT_EQ(lv_img_src_get_type("a.png"), LV_IMG_SRC_FILE);
    EXPECT_TRUE(lv_obj_has_flag(img, LV_OBJ_FLAG_ADV_HITTEST));
    EXPECT_FALSE(lv_obj_has_flag(img, LV_OBJ_FLAG_CLICKABLE));

    static const lv_point_t pts[] = {{0, 0}, {120, 30}, {60, 7}};
    lv_obj_t * line = lv_line_create(scr);
    lv_line_set_points(line, pts, 3);
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_width(line), 120);
    EXPECT_EQ(lv_obj_get_height(line), 30);
}

TEST_F(Layout, LabelTextCopiesFormatAndStatic)
{
    lv_obj_t * label = lv_label_create(scr);
    char buf[16] = "volatile";
    lv_label_set_text(label, buf);
    std::strcpy(buf, "changed");
    EXPECT_STREQ(lv_label_get_text(label), "volatile");
    // Setting its own text (or a part of it) is safe.
    lv_label_set_text(label, lv_label_get_text(label) + 3);
    EXPECT_STREQ(lv_label_get_text(label), "atile");
    lv_label_set_text_fmt(label, "%s=%d", "vol", 42);
    EXPECT_STREQ(lv_label_get_text(label), "vol=42");
    static const char fixed[] = "fixed";
    lv_label_set_text_static(label, fixed);
    EXPECT_EQ(lv_label_get_text(label), fixed);
    lv_label_set_text(label, "owned again");
    EXPECT_STREQ(lv_label_get_text(label), "owned again");
    lv_label_set_text(label, "");
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_width(label), 0);
    EXPECT_EQ(lv_obj_get_height(label), 16); // an empty label is one line tall
}

TEST_F(Layout, TreeOrderIndexAndMoves)
{
    lv_obj_t * a = lv_obj_create(scr);
    lv_obj_t * b = lv_obj_create(scr);
    lv_obj_t * c = lv_obj_create(scr);
    EXPECT_EQ(lv_obj_get_child(scr, 0), a);
    EXPECT_EQ(lv_obj_get_child(scr, -1), c);
    EXPECT_EQ(lv_obj_get_child(scr, 3), nullptr);
    EXPECT_EQ(lv_obj_get_index(b), 1u);
    lv_obj_move_to_index(a, -1);
    EXPECT_EQ(lv_obj_get_child(scr, 2), a);
    lv_obj_move_background(a);
    EXPECT_EQ(lv_obj_get_child(scr, 0), a);
    lv_obj_set_parent(c, a);
    EXPECT_EQ(lv_obj_get_child_cnt(scr), 2u);
    EXPECT_EQ(lv_obj_get_parent(c), a);
    EXPECT_EQ(lv_obj_get_screen(c), scr);
    EXPECT_TRUE(lv_obj_check_type(c, &lv_obj_class));
    EXPECT_FALSE(lv_obj_check_type(c, &lv_btn_class));
    lv_obj_clean(scr);
    EXPECT_EQ(lv_obj_get_child_cnt(scr), 0u);
    EXPECT_FALSE(lv_obj_is_valid(c));
}

TEST_F(Layout, DeleteSendsDeleteToParentBeforeChildren)
{
    lv_obj_t * parent = lv_obj_create(scr);
    lv_obj_t * child = lv_obj_create(parent);
    static std::vector<lv_obj_t *> order;
    order.clear();
    auto cb = [](lv_event_t * e) {
        if(lv_event_get_code(e) == LV_EVENT_DELETE) order.push_back(lv_event_get_target(e));
    };
    lv_obj_add_event_cb(parent, cb, LV_EVENT_DELETE, nullptr);
    lv_obj_add_event_cb(child, cb, LV_EVENT_DELETE, nullptr);
    lv_obj_del(parent);
    EXPECT_EQ(order, (std::vector<lv_obj_t *>{parent, child}));
    EXPECT_FALSE(lv_obj_is_valid(child));
}

} // namespace
