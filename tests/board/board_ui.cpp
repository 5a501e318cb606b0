#include "board_ui.h"

#include "station/board_runner.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <stdexcept>

#ifdef BOARD_TEST_HAVE_TESTKIT
#include "testkit.h"
#endif

lv_ui tessel_ui;

namespace ui {

#ifdef BOARD_TEST_HAVE_TESTKIT
static testkit::Display *g_display;
#endif

static lv_disp_draw_buf_t g_draw_buf;
static lv_color_t g_pixels[1280 * 80];
static lv_disp_drv_t g_disp_drv;

static void flush(lv_disp_drv_t *drv, const lv_area_t *area, lv_color_t *colors)
{
	(void)area;
	(void)colors;
	lv_disp_flush_ready(drv);
}

void init()
{
	static bool done = false;
	if (done)
		return;
	done = true;
#ifdef BOARD_TEST_HAVE_TESTKIT
	g_display = new testkit::Display(1280, 800);
	init_scr_del_flag(&tessel_ui);
	return;
#endif
	lv_init();
	lv_disp_draw_buf_init(&g_draw_buf, g_pixels, NULL, sizeof g_pixels / sizeof g_pixels[0]);
	lv_disp_drv_init(&g_disp_drv);
	g_disp_drv.hor_res = 1280;
	g_disp_drv.ver_res = 800;
	g_disp_drv.draw_buf = &g_draw_buf;
	g_disp_drv.flush_cb = flush;
	lv_disp_drv_register(&g_disp_drv);
	init_scr_del_flag(&tessel_ui);
}

static void replace_active_screen(lv_obj_t *screen)
{
	lv_obj_t *old = lv_scr_act();
	lv_scr_load(screen);
	if (old != NULL && old != screen)
		lv_obj_del(old);
}

void show_test_screen()
{
	setup_scr_Test_progrem(&tessel_ui);
	replace_active_screen(tessel_ui.Test_progrem);
}

void show_setup_screen()
{
	setup_scr_Setup_Screen(&tessel_ui);
	replace_active_screen(tessel_ui.Setup_Screen);
}

void show_reboot_screen()
{
	setup_scr_ReBoot_Screen(&tessel_ui);
	replace_active_screen(tessel_ui.ReBoot_Screen);
}

static lv_point_t centre(lv_obj_t *obj)
{
	lv_obj_update_layout(lv_obj_get_screen(obj));
	lv_area_t a;
	lv_obj_get_coords(obj, &a);
	return {(lv_coord_t)((a.x1 + a.x2) / 2), (lv_coord_t)((a.y1 + a.y2) / 2)};
}

void click(lv_obj_t *obj)
{
	tap(obj);
	wait_idle();
}

bool wait_idle(int timeout_ms)
{
	auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
	while (runner_busy()) {
		if (std::chrono::steady_clock::now() > deadline)
			return false;
		runner_wait(-1, 100);
	}
	return true;
}

void pump_ms(uint32_t ms)
{
	auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
	while (std::chrono::steady_clock::now() < deadline)
		runner_wait(-1, 10);
}

void tap(lv_obj_t *obj)
{
	if (obj == NULL)
		throw std::runtime_error("click on a missing widget");
#ifdef BOARD_TEST_HAVE_TESTKIT
	lv_point_t p = centre(obj);
	g_display->tap(p.x, p.y);
#else
	(void)centre;
	lv_event_send(obj, LV_EVENT_CLICKED, NULL);
#endif
}

void advance_ms(uint32_t ms)
{
#ifdef BOARD_TEST_HAVE_TESTKIT
	g_display->advance_ms(ms);
#else
	lv_tick_inc(ms);
	lv_timer_handler();
#endif
}

void choose(lv_obj_t *roller, uint16_t index)
{
#ifdef BOARD_TEST_HAVE_TESTKIT
	// A tap on the row above or below the selected one moves the selection
	// one option that way, as the operator does it.
	lv_point_t c = centre(roller);
	lv_coord_t row = lv_obj_get_height(roller) / 3;
	for (int taps = 0; taps < 10 && lv_roller_get_selected(roller) != index; taps++) {
		bool down = lv_roller_get_selected(roller) < index;
		g_display->tap(c.x, (lv_coord_t)(down ? c.y + row : c.y - row));
		g_display->advance_ms(300);
	}
	if (lv_roller_get_selected(roller) != index)
		throw std::runtime_error("the roller did not reach the option");
#else
	lv_roller_set_selected(roller, index, LV_ANIM_OFF);
	lv_event_send(roller, LV_EVENT_VALUE_CHANGED, NULL);
#endif
}

void slide(lv_obj_t *slider, int value)
{
	lv_slider_set_value(slider, value, LV_ANIM_OFF);
	lv_event_send(slider, LV_EVENT_VALUE_CHANGED, NULL);
}

void drag_across(lv_obj_t *slider, bool rightwards, int steps)
{
#ifdef BOARD_TEST_HAVE_TESTKIT
	lv_obj_update_layout(lv_obj_get_screen(slider));
	lv_area_t a;
	lv_obj_get_coords(slider, &a);
	lv_coord_t y = (lv_coord_t)((a.y1 + a.y2) / 2);
	lv_coord_t from = rightwards ? a.x1 : a.x2;
	lv_coord_t to = rightwards ? a.x2 + 20 : a.x1 - 20;  // beyond the end: the extreme value
	g_display->press(from, y);
	g_display->advance_ms(60);
	for (int i = 1; i <= steps; i++) {
		g_display->move((lv_coord_t)(from + (to - from) * i / steps), y);
		g_display->advance_ms(60);
	}
	g_display->release();
	g_display->advance_ms(60);
#else
	(void)slider;
	(void)rightwards;
	(void)steps;
	throw std::runtime_error("dragging needs the test kit");
#endif
}

void release(lv_obj_t *slider)
{
	lv_event_send(slider, LV_EVENT_RELEASED, NULL);
	lv_event_send(slider, LV_EVENT_CLICKED, NULL);
}

uint32_t flush_count()
{
#ifdef BOARD_TEST_HAVE_TESTKIT
	return g_display->flush_count();
#else
	return 0;
#endif
}

bool write_png(const std::string &path)
{
#ifdef BOARD_TEST_HAVE_TESTKIT
	g_display->advance_ms(100);
	g_display->refresh();
	return g_display->write_png(path);
#else
	(void)path;
	return false;
#endif
}

uint32_t pixel_rgb(lv_coord_t x, lv_coord_t y)
{
#ifdef BOARD_TEST_HAVE_TESTKIT
	g_display->refresh();
	return g_display->pixel_rgb(x, y);
#else
	(void)x;
	(void)y;
	throw std::runtime_error("pixels need the test kit");
#endif
}

std::string text(lv_obj_t *label)
{
	return lv_label_get_text(label);
}

lv_obj_t *result_label(int line)
{
	lv_obj_t *const labels[] = {
		tessel_ui.Test_progrem_I2C_Log,   tessel_ui.Test_progrem_GPIO_Log,  tessel_ui.Test_progrem_UART_Log,
		tessel_ui.Test_progrem_SPI_M_Log, tessel_ui.Test_progrem_SPI_S_Log, tessel_ui.Test_progrem_ADC_Log,
		tessel_ui.Test_progrem_USB1_Log,  tessel_ui.Test_progrem_USB2_Log,  tessel_ui.Test_progrem_PL2303_Log,
		tessel_ui.Test_progrem_DSI_Log,   tessel_ui.Test_progrem_LVDS_Log,  tessel_ui.Test_progrem_Audio_Log,
		tessel_ui.Test_progrem_MQS_Log,   tessel_ui.Test_progrem_CSI_Log,   tessel_ui.Test_progrem_RTC_Log,
	};
	if (line < 1 || line > 15)
		throw std::out_of_range("status line");
	return labels[line - 1];
}

std::vector<std::string> results()
{
	std::vector<std::string> r;
	for (int line = 1; line <= 15; line++)
		r.push_back(text(result_label(line)));
	return r;
}

uint16_t text_color(lv_obj_t *label)
{
	return lv_color_to16(lv_obj_get_style_prop(label, LV_PART_MAIN, LV_STYLE_TEXT_COLOR).color);
}

int64_t wall_ns()
{
	struct timespec ts;
	clock_gettime(CLOCK_REALTIME, &ts);
	return (int64_t)ts.tv_sec * 1000000000 + ts.tv_nsec;
}

uint32_t Loop::pass()
{
	using namespace std::chrono;
	auto t0 = steady_clock::now();
	auto ms = duration_cast<milliseconds>(t0 - last).count();
	if (ms > 0) {
		lv_tick_inc((uint32_t)ms);
		last += milliseconds(ms);
	}
	uint32_t next = lv_timer_handler();
	pass_max = std::max(pass_max, duration<double, std::milli>(steady_clock::now() - t0).count());
	return next;
}

void Loop::wait(uint32_t next)
{
	runner_wait(-1, next == LV_NO_TIMER_READY ? idle_ms : (int)std::min<uint32_t>(next, (uint32_t)cap_ms));
}

} // namespace ui
