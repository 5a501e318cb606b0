// Draws the test screen as the application shows it for the status file in
// the current directory, for comparison with a real screenshot:
//   board_render OUT.png
// writes the PNG and prints, one per line, "label N X1 Y1 X2 Y2" for the 15
// result labels, "button NAME X Y" for the centre of each button ("all" is
// "All_TEST") and "roller X Y" for the device-tree roller.
// Runs on the simulated board (the screen's load handler runs its scripts).
#include "board_ui.h"
#include "sim.h"

#include <cstdio>

int main(int argc, char **argv)
{
	if (argc != 2 || !sim::inside()) {
		fprintf(stderr, "usage (on the simulated board): %s OUT.png\n", argv[0]);
		return 2;
	}
	ui::init();
	ui::show_test_screen();
	if (!ui::write_png(argv[1]))
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
