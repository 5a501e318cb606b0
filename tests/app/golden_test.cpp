// Golden pictures of the four screens, rendered headless. A missing golden
// picture (or TESSEL_UPDATE_GOLDEN=1) writes the current rendering into
// tests/app/golden/ instead of comparing. The comparison tolerates the small
// differences anti-aliasing brings, not a moved or recoloured widget.
#include "app_support.h"

#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

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

bool file_exists(const std::string &path)
{
	struct stat st;
	return stat(path.c_str(), &st) == 0;
}

bool copy_file(const std::string &from, const std::string &to)
{
	FILE *in = fopen(from.c_str(), "rb");
	if (in == NULL)
		return false;
	FILE *out = fopen(to.c_str(), "wb");
	if (out == NULL) {
		fclose(in);
		return false;
	}
	char buf[65536];
	size_t n;
	while ((n = fread(buf, 1, sizeof buf, in)) > 0)
		fwrite(buf, 1, n, out);
	fclose(in);
	return fclose(out) == 0;
}

// Anti-aliasing and rounding change single edge pixels a little. A widget that
// moved, changed colour or lost its text changes a dense patch of pixels, so
// the picture is judged in 16 x 16 tiles: no tile may have many clearly
// different pixels or a shifted average.
::testing::AssertionResult looks_like(const Picture &got, const Picture &want)
{
	if (got.w != want.w || got.h != want.h)
		return ::testing::AssertionFailure() << "size " << got.w << "x" << got.h << ", golden " << want.w << "x"
						     << want.h;
	const unsigned T = 16;
	unsigned bad_tiles = 0, first_x = 0, first_y = 0;
	for (unsigned ty = 0; ty < got.h; ty += T) {
		for (unsigned tx = 0; tx < got.w; tx += T) {
			unsigned strong = 0, n = 0;
			long sum[3] = {0, 0, 0};
			for (unsigned y = ty; y < ty + T && y < got.h; y++) {
				for (unsigned x = tx; x < tx + T && x < got.w; x++) {
					size_t i = ((size_t)y * got.w + x) * 3;
					int worst = 0;
					for (int c = 0; c < 3; c++) {
						int d = (int)got.rgb[i + c] - (int)want.rgb[i + c];
						sum[c] += d;
						if (abs(d) > worst)
							worst = abs(d);
					}
					if (worst > 48)
						strong++;
					n++;
				}
			}
			bool shifted = false;
			for (int c = 0; c < 3; c++)
				if (labs(sum[c]) > 10L * (long)n)
					shifted = true;
			if (strong > 24 || shifted) {
				if (bad_tiles == 0) {
					first_x = tx;
					first_y = ty;
				}
				bad_tiles++;
			}
		}
	}
	if (bad_tiles == 0)
		return ::testing::AssertionSuccess();
	return ::testing::AssertionFailure() << bad_tiles << " tiles of 16 x 16 differ, the first at " << first_x
					     << "," << first_y;
}

class Golden : public ::testing::Test {
protected:
	static void SetUpTestSuite()
	{
		init();
		// The scratch directory is fresh: no status file, no logs.
		remove("zorazu_zove");
	}

	// Renders the active screen and compares it with golden/<name>.png.
	void check(const char *name)
	{
		advance_ms(100); // let the display refresh
		display().refresh();
		std::string got_path = workdir() + "/" + name + ".png";
		ASSERT_TRUE(display().write_png(got_path)) << got_path;
		std::string golden = std::string(TESSEL_GOLDEN_DIR) + "/" + name + ".png";
		const char *update = getenv("TESSEL_UPDATE_GOLDEN");
		bool missing = !file_exists(golden);
		if (missing || (update != NULL && strcmp(update, "1") == 0)) {
			ASSERT_TRUE(copy_file(got_path, golden)) << golden;
			if (missing)
				GTEST_SKIP() << "golden picture written: " << golden << " (look at it, then commit it)";
			return;
		}
		Picture got, want;
		ASSERT_TRUE(read_png(got_path, &got)) << got_path;
		ASSERT_TRUE(read_png(golden, &want)) << golden;
		EXPECT_TRUE(looks_like(got, want)) << name << ": rendering kept at " << got_path;
	}

	void go(lv_obj_t *btn)
	{
		lv_event_send(btn, LV_EVENT_CLICKED, NULL);
		lv_disp_t *d = lv_disp_get_default();
		for (int i = 0; i < 200 && (d->prev_scr != NULL || d->scr_to_load != NULL); i++)
			advance_ms(10);
	}
};

// One walk through the screens, as an operator would see them.
TEST_F(Golden, ScreensLookAsRecorded)
{
	reset_screens();
	lv_obj_t *blank = lv_scr_act();
	setup_ui(&tessel_ui);
	lv_obj_del(blank);
	advance_ms(1000); // the intro has played
	{
		SCOPED_TRACE("start");
		check("start");
	}

	go(tessel_ui.Start_btn_1);
	{
		SCOPED_TRACE("test screen, fresh status file");
		check("test_progrem");
	}

	go(tessel_ui.Test_progrem_btn_setup);
	{
		SCOPED_TRACE("setup");
		check("setup_screen");
	}

	go(tessel_ui.Setup_Screen_btn_back);
	go(tessel_ui.Test_progrem_btn_Reboot);
	{
		SCOPED_TRACE("reboot");
		check("reboot_screen");
	}
}

} // namespace
