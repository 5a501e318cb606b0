// Shared helpers of the application tests: one headless LVGL display per
// process, a scratch working directory, scripted time and pointer, and
// checks of widget geometry and local styles through the public LVGL API.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lvgl.h"
#include "gui_tessel.h"
#include "testkit.h"

namespace app_test {

// LVGL with the headless 1280 x 800 display and pointer; the process works in a
// fresh scratch directory whose PATH finds a silent `dmesg` first, so the test
// screen's device-tree detection sees no kernel log. Safe to call repeatedly.
void init();
const std::string &workdir();
testkit::Display &display();

// Scripted time and pointer (screen coordinates).
void advance_ms(uint32_t ms);
void press(lv_coord_t x, lv_coord_t y);
void move_to(lv_coord_t x, lv_coord_t y);
void release();
void tap(lv_coord_t x, lv_coord_t y);
// A tap in the middle of an object.
void tap_obj(lv_obj_t *obj);

// Screen coordinates of an object.
lv_area_t coords(lv_obj_t *obj);

// Deletes every screen of the default display except an empty fresh screen
// that is loaded at once and LVGL's top and system layers; resets the registry.
void reset_screens();

// LVGL's top and system layers are screens of the display: screen_cnt counts
// them beside the application's own screens.
constexpr uint32_t kLayerScreens = 2;

// Count of LVGL timers now alive.
int timer_count();

// Bytes in use in LVGL's pool.
uint32_t pool_used();

// One local style property as a builder sets it.
struct Local {
	lv_style_prop_t prop;
	lv_style_selector_t selector;
	enum Kind { NUM, COLOR, PTR } kind;
	int32_t num;         // NUM
	uint16_t color;      // COLOR, RGB565
	const void *ptr;     // PTR
};
Local num(lv_style_prop_t p, int32_t v, lv_style_selector_t sel = 0);
Local color(lv_style_prop_t p, uint16_t rgb565, lv_style_selector_t sel = 0);
Local ptr(lv_style_prop_t p, const void *v, lv_style_selector_t sel = 0);

// The object's local style properties, apart from geometry (x, y, width,
// height, align and their limits, which LVGL keeps as local styles too), are
// exactly `expected`, for every part and state.
::testing::AssertionResult has_exactly_local_styles(lv_obj_t *obj, const std::vector<Local> &expected);

// Relative position (lv_obj_get_x/y) and size after layout.
::testing::AssertionResult has_geometry(lv_obj_t *obj, lv_coord_t x, lv_coord_t y, lv_coord_t w, lv_coord_t h);

// The object is of `cls`, the `index`th child of `parent`.
::testing::AssertionResult is_child(lv_obj_t *obj, const lv_obj_class_t *cls, lv_obj_t *parent, uint32_t index);

// A button's only child is `label` (a label with `text`), centred in the button.
::testing::AssertionResult has_centred_caption(lv_obj_t *btn, lv_obj_t *label, const char *text);

} // namespace app_test
