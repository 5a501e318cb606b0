// The application's screens in a headless display, and the user actions
// the board tests need.
#pragma once

#include "gui_tessel.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// LVGL and a headless 1280 x 800 display, once per process.
void init();

// Builds a screen anew and makes it the active one, as the navigation does
// (the test screen's SCREEN_LOADED handler runs in the current directory).
void show_test_screen();
void show_setup_screen();
void show_reboot_screen();

// A tap on the middle of a widget, through the display's pointer, and
// then the wait until the test it started has ended.
void click(lv_obj_t *obj);
// The tap alone: a test it starts goes on in the background.
void tap(lv_obj_t *obj);
// Lets a running test go on (as the main loop does) until none runs;
// false if one still runs after timeout_ms.
bool wait_idle(int timeout_ms = 600000);
// Lets a running test go on for this long (wall clock).
void pump_ms(uint32_t ms);
// Lets LVGL's clock and timers run.
void advance_ms(uint32_t ms);
// The operator picks a roller option / moves a slider (VALUE_CHANGED).
void choose(lv_obj_t *roller, uint16_t index);
void slide(lv_obj_t *slider, int value);
// The touch on a slider ends (CLICKED).
void release(lv_obj_t *slider);
// A real drag with the pointer from one end of a slider past the other.
void drag_across(lv_obj_t *slider, bool rightwards, int steps);

// Frames flushed to the display so far (0 without the test kit).
uint32_t flush_count();

// Redraws and writes the screen as PNG (needs the test kit).
bool write_png(const std::string &path);
// A pixel of the screen as now drawn, 0xRRGGBB (needs the test kit).
uint32_t pixel_rgb(lv_coord_t x, lv_coord_t y);

std::string text(lv_obj_t *label);
// Result label of status line 1..15.
lv_obj_t *result_label(int line);
// The 15 result label texts in status-line order.
std::vector<std::string> results();
// Text colour of a label's main part as RGB565.
uint16_t text_color(lv_obj_t *label);

// The wall clock in ns (what the scripts' `date +%s%N` reads).
int64_t wall_ns();

// One pass of the application's main loop at a time, LVGL's clock fed from
// the real one (the tick thread's job in the application); the slowest
// pass is kept. wait() sleeps in the runner's poll as the loop does: until
// the next LVGL timer, at most cap_ms, or idle_ms (-1: until the runner
// has news) when no timer is due.
struct Loop {
	Loop(int cap_ms, int idle_ms) : cap_ms(cap_ms), idle_ms(idle_ms) {}
	uint32_t pass();
	void wait(uint32_t next);
	int cap_ms, idle_ms;
	double pass_max = 0;
	std::chrono::steady_clock::time_point last = std::chrono::steady_clock::now();
};

} // namespace ui
