// Draws the test screen as the application shows it for the status file in
// the current directory, for comparison with a real screenshot:
//   board_render OUT.png
// writes the PNG and prints, one per line, "label N X1 Y1 X2 Y2" for the 15
// result labels, "button NAME X Y" for the centre of each button ("all" is
// "All_TEST") and "roller X Y" for the device-tree roller.
//   board_render --confirm LINE OUT.png
// draws the confirmation dialog of status line LINE (10 to 14) over it,
// ready for an answer, and also prints "answer CAPTION X Y" for each of its
// buttons (the camera's needs test.jpg in the current directory).
// Runs on the simulated board (the screen's load handler runs its scripts).
#include "board_ui.h"
#include "confirm/confirm.h"
#include "sim.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static void ignore(const struct confirm_result *, void *) {}

/* The dialog as the operator sees it when answers are taken. */
static bool open_dialog(int line)
{
	if (!confirm_start(line, ignore, NULL))
		return false;
	for (int i = 0; i < 200 && lv_obj_has_state(confirm_button(line == 14 ? "Yes" : "1"), LV_STATE_DISABLED); i++) {
		ui::wait_idle(10000);
		ui::advance_ms(100);
	}
	ui::advance_ms(400); /* the buttons' change of look */
	lv_obj_update_layout(lv_layer_top());
	const char *captions[] = {"1", "2", "3", "4", "None", "Yes", "No"};
	for (const char *c : captions) {
		lv_obj_t *b = confirm_button(c);
		if (b == NULL)
			continue;
		lv_area_t a;
		lv_obj_get_coords(b, &a);
		printf("answer %s %d %d\n", c, (a.x1 + a.x2) / 2, (a.y1 + a.y2) / 2);
	}
	return true;
}

int main(int argc, char **argv)
{
	int line = argc == 4 && strcmp(argv[1], "--confirm") == 0 ? atoi(argv[2]) : 0;
	if ((argc != 2 && line == 0) || !sim::inside()) {
		fprintf(stderr, "usage (on the simulated board): %s [--confirm LINE] OUT.png\n", argv[0]);
		return 2;
	}
	const char *out = argv[argc - 1];
	ui::init();
	ui::show_test_screen();
	if (line != 0 && !open_dialog(line))
		return 1;
	if (!ui::write_png(out))
		return 1;
	fflush(stdout);
	for (int line = 1; line <= 15; line++) {
		lv_area_t a;
		lv_obj_get_coords(ui::result_label(line), &a);
		printf("label %d %d %d %d %d\n", line, a.x1, a.y1, a.x2, a.y2);
	}
	const struct {
		const char *name;
		lv_obj_t *obj;
	} buttons[] = {
		{"all", tessel_ui.Test_progrem_btn_all},       {"init", tessel_ui.Test_progrem_btn_init},
		{"i2c", tessel_ui.Test_progrem_btn_i2c},       {"gpio", tessel_ui.Test_progrem_btn_gpio},
		{"uart", tessel_ui.Test_progrem_btn_uart},     {"spi", tessel_ui.Test_progrem_btn_spi},
		{"adc", tessel_ui.Test_progrem_btn_adc},       {"usb", tessel_ui.Test_progrem_btn_usb},
		{"pl2303", tessel_ui.Test_progrem_btn_pl2303}, {"dsi", tessel_ui.Test_progrem_btn_dsi},
		{"lvds", tessel_ui.Test_progrem_btn_lvds},     {"audio", tessel_ui.Test_progrem_btn_audio},
		{"mqs", tessel_ui.Test_progrem_btn_mqs},       {"csi", tessel_ui.Test_progrem_btn_csi},
		{"rtc", tessel_ui.Test_progrem_btn_rtc},       {"setup", tessel_ui.Test_progrem_btn_setup},
		{"reboot", tessel_ui.Test_progrem_btn_Reboot},
	};
	for (const auto &b : buttons) {
		lv_area_t a;
		lv_obj_get_coords(b.obj, &a);
		printf("button %s %d %d\n", b.name, (a.x1 + a.x2) / 2, (a.y1 + a.y2) / 2);
	}
	lv_area_t r;
	lv_obj_get_coords(tessel_ui.Test_progrem_Roller_DEVICE_TREE, &r);
	printf("roller %d %d\n", (r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2);
	return 0;
}
