#include "app_support.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "testkit.h"

// The registry; in the application it lives in the entry module.
lv_ui tessel_ui;

namespace app_test {

namespace {
std::string g_workdir;
bool g_ready;
testkit::Display *g_display; // lives as long as the process
int remove_entry(const char *path, const struct stat *, int, struct FTW *)
{
	return remove(path);
}

// The scratch directory goes when every test passed; after a failure it stays
// for a look at the renderings and files.
void remove_workdir()
{
	if (!g_workdir.empty() && ::testing::UnitTest::GetInstance()->Passed()) {
		if (chdir("/") == 0)
			nftw(g_workdir.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
	}
}

} // namespace

void init()
{
	if (g_ready)
		return;
	g_ready = true;

	char tmpl[] = "/tmp/tessel_app_XXXXXX";
	const char *dir = mkdtemp(tmpl);
	if (dir == NULL) {
		perror("mkdtemp");
		abort();
	}
	g_workdir = dir;
	atexit(remove_workdir);
	if (chdir(dir) != 0) {
		perror("chdir");
		abort();
	}
	// A kernel log without a model line: the device-tree label keeps its text.
	mkdir("bin", 0755);
	FILE *f = fopen("bin/dmesg", "w");
	if (f != NULL) {
		fputs("#!/bin/sh\nexit 0\n", f);
		fclose(f);
		chmod("bin/dmesg", 0755);
	}
	std::string path = g_workdir + "/bin:" + (getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin");
	setenv("PATH", path.c_str(), 1);

	g_display = new testkit::Display(1280, 800);
}

const std::string &workdir()
{
	return g_workdir;
}

testkit::Display &display()
{
	return *g_display;
}

void advance_ms(uint32_t ms)
{
	g_display->advance_ms(ms);
}

void press(lv_coord_t x, lv_coord_t y)
{
	g_display->press(x, y);
}

void move_to(lv_coord_t x, lv_coord_t y)
{
	g_display->move(x, y);
}

void release()
{
	g_display->release();
}

void tap(lv_coord_t x, lv_coord_t y)
{
	g_display->tap(x, y);
}

lv_area_t coords(lv_obj_t *obj)
{
	lv_area_t a;
	lv_obj_get_coords(obj, &a);
	return a;
}

void tap_obj(lv_obj_t *obj)
{
	lv_area_t a = coords(obj);
	tap((lv_coord_t)((a.x1 + a.x2) / 2), (lv_coord_t)((a.y1 + a.y2) / 2));
}

void reset_screens()
{
	lv_disp_t *disp = lv_disp_get_default();
	// Let a screen load in progress finish first.
	for (int i = 0; i < 100 && (disp->prev_scr != NULL || disp->scr_to_load != NULL); i++)
		advance_ms(50);
	lv_obj_t *fresh = lv_obj_create(NULL);
	lv_scr_load(fresh);
	// The top and system layers are screens too (in disp->screens and counted
	// by screen_cnt); LVGL draws them on every refresh, so they must stay.
	lv_obj_t *top = lv_disp_get_layer_top(disp);
	lv_obj_t *sys = lv_disp_get_layer_sys(disp);
	for (;;) {
		lv_obj_t *victim = NULL;
		for (uint32_t i = 0; i < disp->screen_cnt; i++)
			if (disp->screens[i] != fresh && disp->screens[i] != top && disp->screens[i] != sys)
				victim = disp->screens[i];
		if (victim == NULL)
			break;
		lv_obj_del(victim);
	}
	memset(&tessel_ui, 0, sizeof tessel_ui);
	advance_ms(50);
}

int timer_count()
{
	int n = 0;
	for (lv_timer_t *t = lv_timer_get_next(NULL); t != NULL; t = lv_timer_get_next(t))
		n++;
	return n;
}

uint32_t pool_used()
{
	lv_mem_monitor_t mon;
	lv_mem_monitor(&mon);
	return mon.total_size - mon.free_size;
}

Local num(lv_style_prop_t p, int32_t v, lv_style_selector_t sel)
{
	return Local{p, sel, Local::NUM, v, 0, NULL};
}

Local color(lv_style_prop_t p, uint16_t rgb565, lv_style_selector_t sel)
{
	return Local{p, sel, Local::COLOR, 0, rgb565, NULL};
}

Local ptr(lv_style_prop_t p, const void *v, lv_style_selector_t sel)
{
	return Local{p, sel, Local::PTR, 0, 0, v};
}

namespace {

bool is_geometry(int prop)
{
	switch (prop) {
	case LV_STYLE_WIDTH:
	case LV_STYLE_MIN_WIDTH:
	case LV_STYLE_MAX_WIDTH:
	case LV_STYLE_HEIGHT:
	case LV_STYLE_MIN_HEIGHT:
	case LV_STYLE_MAX_HEIGHT:
	case LV_STYLE_X:
	case LV_STYLE_Y:
	case LV_STYLE_ALIGN:
		return true;
	default:
		return false;
	}
}

const lv_style_selector_t kParts[] = {LV_PART_MAIN,     LV_PART_SCROLLBAR, LV_PART_INDICATOR,
				      LV_PART_KNOB,     LV_PART_SELECTED,  LV_PART_ITEMS,
				      LV_PART_TICKS,    LV_PART_CURSOR,    LV_PART_CUSTOM_FIRST};
const lv_style_selector_t kStates[] = {LV_STATE_DEFAULT, LV_STATE_CHECKED, LV_STATE_FOCUSED,
				       LV_STATE_FOCUS_KEY, LV_STATE_EDITED, LV_STATE_HOVERED,
				       LV_STATE_PRESSED, LV_STATE_SCROLLED, LV_STATE_DISABLED};

std::string sel_name(lv_style_selector_t sel)
{
	std::ostringstream s;
	s << "0x" << std::hex << sel;
	return s.str();
}

} // namespace

::testing::AssertionResult has_exactly_local_styles(lv_obj_t *obj, const std::vector<Local> &expected)
{
	std::ostringstream err;
	for (lv_style_selector_t part : kParts) {
		for (lv_style_selector_t state : kStates) {
			lv_style_selector_t sel = part | state;
			for (int prop = 1; prop < _LV_STYLE_LAST_BUILT_IN_PROP; prop++) {
				if (is_geometry(prop))
					continue;
				lv_style_value_t v;
				bool found = lv_obj_get_local_style_prop(obj, (lv_style_prop_t)prop, &v, sel) == LV_RES_OK;
				const Local *want = NULL;
				for (const Local &l : expected)
					if (l.prop == prop && l.selector == sel)
						want = &l;
				if (!found && want == NULL)
					continue;
				if (found && want == NULL) {
					err << " unexpected prop " << prop << " sel " << sel_name(sel) << ";";
					continue;
				}
				if (!found) {
					err << " missing prop " << prop << " sel " << sel_name(sel) << ";";
					continue;
				}
				switch (want->kind) {
				case Local::NUM:
					if (v.num != want->num)
						err << " prop " << prop << " sel " << sel_name(sel) << " is " << v.num
						    << " not " << want->num << ";";
					break;
				case Local::COLOR:
					if (v.color.full != want->color)
						err << " prop " << prop << " sel " << sel_name(sel) << " colour 0x"
						    << std::hex << v.color.full << " not 0x" << want->color << std::dec
						    << ";";
					break;
				case Local::PTR:
					if (v.ptr != want->ptr)
						err << " prop " << prop << " sel " << sel_name(sel) << " pointer differs;";
					break;
				}
			}
		}
	}
	if (err.str().empty())
		return ::testing::AssertionSuccess();
	return ::testing::AssertionFailure() << err.str();
}

::testing::AssertionResult has_geometry(lv_obj_t *obj, lv_coord_t x, lv_coord_t y, lv_coord_t w, lv_coord_t h)
{
	lv_coord_t ax = lv_obj_get_x(obj), ay = lv_obj_get_y(obj);
	lv_coord_t aw = lv_obj_get_width(obj), ah = lv_obj_get_height(obj);
	if (ax == x && ay == y && aw == w && ah == h)
		return ::testing::AssertionSuccess();
	return ::testing::AssertionFailure() << "at " << ax << "," << ay << " size " << aw << "x" << ah << ", want "
					     << x << "," << y << " size " << w << "x" << h;
}

::testing::AssertionResult is_child(lv_obj_t *obj, const lv_obj_class_t *cls, lv_obj_t *parent, uint32_t index)
{
	if (obj == NULL)
		return ::testing::AssertionFailure() << "object is NULL";
	if (!lv_obj_check_type(obj, cls))
		return ::testing::AssertionFailure() << "wrong kind";
	if (lv_obj_get_parent(obj) != parent)
		return ::testing::AssertionFailure() << "wrong parent";
	if (lv_obj_get_index(obj) != index)
		return ::testing::AssertionFailure() << "child " << lv_obj_get_index(obj) << ", want " << index;
	if (parent != NULL && lv_obj_get_child(parent, (int32_t)index) != obj)
		return ::testing::AssertionFailure() << "parent's child " << index << " is another object";
	return ::testing::AssertionSuccess();
}

::testing::AssertionResult has_centred_caption(lv_obj_t *btn, lv_obj_t *label, const char *text)
{
	if (!lv_obj_check_type(btn, &lv_btn_class))
		return ::testing::AssertionFailure() << "not a button";
	if (lv_obj_get_child_cnt(btn) != 1 || lv_obj_get_child(btn, 0) != label)
		return ::testing::AssertionFailure() << "the caption is not the button's only child";
	if (!lv_obj_check_type(label, &lv_label_class))
		return ::testing::AssertionFailure() << "caption is not a label";
	if (strcmp(lv_label_get_text(label), text) != 0)
		return ::testing::AssertionFailure() << "caption \"" << lv_label_get_text(label) << "\", want \"" << text
						     << "\"";
	lv_area_t b = coords(btn), l = coords(label);
	int dx = (b.x1 + b.x2) - (l.x1 + l.x2), dy = (b.y1 + b.y2) - (l.y1 + l.y2);
	if (dx < -2 || dx > 2 || dy < -2 || dy > 2)
		return ::testing::AssertionFailure() << "caption off centre by " << dx / 2.0 << "," << dy / 2.0;
	return ::testing::AssertionSuccess();
}

} // namespace app_test
