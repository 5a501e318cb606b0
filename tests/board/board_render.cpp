// Draws the test screen as the application shows it for the status file in
// the current directory, for comparison with a real screenshot:
//   board_render OUT.png
// writes the PNG and prints, one per line, "label N X1 Y1 X2 Y2" for the 15
// result labels and "button all X Y" for the centre of "All_TEST".
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
	lv_area_t b;
	lv_obj_get_coords(tessel_ui.Test_progrem_btn_all, &b);
	printf("button all %d %d\n", (b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2);
	return 0;
}
