// The four screens, rendered headless, against the pictures the real LVGL 8.3
// drew of them (tests/app/reference). A failing screen leaves its rendering and
// a difference picture in the test's scratch directory.
#include "app_support.h"

#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "bench_scenes.h"
#include "events_init.h"

using namespace app_test;

namespace {

struct Picture {
	unsigned w = 0, h = 0;
	std::vector<uint8_t> rgb; // 3 bytes a pixel
};

bool read_png(const std::string &path, Picture *pic)
{
	png_image img;
	memset(&img, 0, sizeof img);
	img.version = PNG_IMAGE_VERSION;
	if (!png_image_begin_read_from_file(&img, path.c_str()))
		return false;
	img.format = PNG_FORMAT_RGB;
	pic->w = img.width;
	pic->h = img.height;
	pic->rgb.resize(PNG_IMAGE_SIZE(img));
	if (!png_image_finish_read(&img, NULL, pic->rgb.data(), 0, NULL)) {
		png_image_free(&img);
		return false;
	}
	return true;
}


// The real LVGL 8.3 drew these screens from the same builders (reference/*.png,
// saved the way the test display saves). A rendering matches when at least
// 99.5 % of its pixels are within 8 levels per channel of the reference and at
// least 95 % are identical.
struct Likeness {
	double identical = 0, within8 = 0;
	int worst = 0;
};

Likeness compare(const Picture &got, const Picture &want)
{
	Likeness l;
	size_t same = 0, near = 0, n = (size_t)got.w * got.h;
	for (size_t i = 0; i < n; i++) {
		int worst = 0;
		for (int c = 0; c < 3; c++) {
			int d = abs((int)got.rgb[i * 3 + c] - (int)want.rgb[i * 3 + c]);
			if (d > worst)
				worst = d;
		}
		same += worst == 0;
		near += worst <= 8;
		if (worst > l.worst)
			l.worst = worst;
	}
	l.identical = 100.0 * (double)same / (double)n;
	l.within8 = 100.0 * (double)near / (double)n;
	return l;
}

// Difference picture: the reference dimmed where identical, yellow where
// within 8 levels, red beyond.
bool write_diff(const std::string &path, const Picture &got, const Picture &want)
{
	std::vector<uint8_t> out(want.rgb.size());
	for (size_t i = 0; i < out.size() / 3; i++) {
		int worst = 0;
		for (int c = 0; c < 3; c++) {
			int d = abs((int)got.rgb[i * 3 + c] - (int)want.rgb[i * 3 + c]);
			if (d > worst)
				worst = d;
		}
		const uint8_t grey = (uint8_t)((want.rgb[i * 3] + want.rgb[i * 3 + 1] + want.rgb[i * 3 + 2]) / 12 + 160);
		const uint8_t px[3][3] = {{grey, grey, grey}, {255, 200, 0}, {255, 0, 0}};
		const int k = worst == 0 ? 0 : worst <= 8 ? 1 : 2;
		memcpy(&out[i * 3], px[k], 3);
	}
	png_image img;
	memset(&img, 0, sizeof img);
	img.version = PNG_IMAGE_VERSION;
	img.width = want.w;
	img.height = want.h;
	img.format = PNG_FORMAT_RGB;
	return png_image_write_to_file(&img, path.c_str(), 0, out.data(), 0, NULL) != 0;
}

bool copy_png(const std::string &from, const std::string &to)
{
	Picture p;
	if (!read_png(from, &p))
		return false;
	png_image img;
	memset(&img, 0, sizeof img);
	img.version = PNG_IMAGE_VERSION;
	img.width = p.w;
	img.height = p.h;
	img.format = PNG_FORMAT_RGB;
	return png_image_write_to_file(&img, to.c_str(), 0, p.rgb.data(), 0, NULL) != 0;
}

class Golden : public ::testing::Test {
protected:
	static void SetUpTestSuite()
	{
		init();
		// The scratch directory is fresh: no status file, no logs.
		remove("zorazu_zove");
	}

	// Redraws the whole active screen and compares it with reference/<name>.png.
	void check(const char *name)
	{
		lv_obj_invalidate(lv_scr_act());
		display().refresh();
		std::string got_path = workdir() + "/" + name + ".png";
		ASSERT_TRUE(display().write_png(got_path)) << got_path;
		std::string ref = std::string(TESSEL_REFERENCE_DIR) + "/" + name + ".png";
		Picture got, want;
		ASSERT_TRUE(read_png(got_path, &got)) << got_path;
		ASSERT_TRUE(read_png(ref, &want)) << ref;
		ASSERT_EQ(got.w, want.w);
		ASSERT_EQ(got.h, want.h);
		Likeness l = compare(got, want);
		printf("[reference] %-14s identical %6.2f %%  within 8 levels %6.2f %%  largest difference %d\n", name,
		       l.identical, l.within8, l.worst);
		// TESSEL_TEST_OUT=<dir> keeps every rendering and its difference picture there.
		const char *out = getenv("TESSEL_TEST_OUT");
		if (out != NULL && *out != '\0') {
			std::string base = std::string(out) + "/" + name;
			EXPECT_TRUE(copy_png(got_path, base + ".png"));
			EXPECT_TRUE(write_diff(base + ".diff.png", got, want));
		}
		if (l.within8 >= 99.5 && l.identical >= 95.0)
			return;
		std::string diff = workdir() + "/" + name + ".diff.png";
		EXPECT_TRUE(write_diff(diff, got, want)) << diff;
		ADD_FAILURE() << name << ": " << l.within8 << " % within 8 levels (want 99.5), " << l.identical
			      << " % identical (want 95); rendering " << got_path << ", difference " << diff;
	}

	void go(lv_obj_t *btn)
	{
		lv_event_send(btn, LV_EVENT_CLICKED, NULL);
		lv_disp_t *d = lv_disp_get_default();
		for (int i = 0; i < 200 && (d->prev_scr != NULL || d->scr_to_load != NULL); i++)
			advance_ms(10);
	}

	// As the reference was taken: 2 s in 5 ms steps.
	void settle()
	{
		for (int i = 0; i < 400; i++)
			advance_ms(5);
	}
};

// One walk through the screens, as an operator would see them.
TEST_F(Golden, ScreensLookAsRecorded)
{
	reset_screens();
	lv_obj_t *blank = lv_scr_act();
	setup_ui(&tessel_ui);
	lv_obj_del(blank);
	settle(); // the intro has played
	{
		SCOPED_TRACE("start");
		check("start");
	}

	go(tessel_ui.Start_btn_1);
	settle();
	{
		SCOPED_TRACE("test screen, fresh status file");
		check("test_progrem");
	}

	go(tessel_ui.Test_progrem_btn_setup);
	settle();
	{
		SCOPED_TRACE("setup");
		check("setup_screen");
	}

	go(tessel_ui.Setup_Screen_btn_back);
	go(tessel_ui.Test_progrem_btn_Reboot);
	settle();
	{
		SCOPED_TRACE("reboot");
		check("reboot_screen");
	}
}

// The bench's scenes, as the reference was taken: the white screen run 100 ms,
// then the busy scene run 300 ms.
TEST_F(Golden, BenchScenesLookAsRecorded)
{
	reset_screens();
	lv_obj_t *blank = lv_scr_act();
	lv_obj_t *white = bench::build_white();
	lv_scr_load(white);
	lv_obj_del(blank);
	for (int i = 0; i < 20; i++)
		advance_ms(5);
	{
		SCOPED_TRACE("white");
		check("bench_white");
	}
	lv_obj_t *busy = bench::build_busy();
	lv_scr_load(busy);
	lv_obj_del(white);
	for (int i = 0; i < 60; i++)
		advance_ms(5);
	{
		SCOPED_TRACE("busy");
		check("bench_busy_scene");
	}
	reset_screens();
}

} // namespace
