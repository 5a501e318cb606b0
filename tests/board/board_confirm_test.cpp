// The confirmation mode on the simulated board: the operator's answer to
// the tones and the picture decides the verdict (the blinks and a whole
// Run all: e2e_confirm.py). The fake player notes which challenge it played.
#include "board_fixture.h"
#include "station/board_runner.h"
#include "confirm/confirm.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace {

// The count of the last challenge the player was asked to play (0: none).
int tones_played()
{
	int n = 0;
	for (const auto &args : sim::calls_of("aplay"))
		if (args.find("Confirm_") != std::string::npos)
			n = args[args.find("Confirm_") + 8] - '0';
	return n;
}

// The dialog's picture is test.jpg (decoded here on its own): each sampled
// screen pixel within RGB565's steps of the picture's pixel there or a
// neighbour's (scaling rounds).
::testing::AssertionResult shows_the_capture()
{
	FILE *f = fopen("test.jpg", "rb");
	jpeg_decompress_struct jd;
	jpeg_error_mgr err;
	jd.err = jpeg_std_error(&err);
	jpeg_create_decompress(&jd);
	jpeg_stdio_src(&jd, f);
	jpeg_read_header(&jd, TRUE);
	jd.out_color_space = JCS_RGB;
	jpeg_start_decompress(&jd);
	const int W = (int)jd.output_width, H = (int)jd.output_height;
	std::vector<uint8_t> rgb((size_t)W * H * 3);
	for (JSAMPROW row = rgb.data(); jd.output_scanline < jd.output_height; row += W * 3)
		jpeg_read_scanlines(&jd, &row, 1);
	jpeg_finish_decompress(&jd);
	jpeg_destroy_decompress(&jd);
	fclose(f);

	lv_obj_update_layout(lv_layer_top());
	lv_area_t a;
	lv_obj_get_coords(confirm_picture(), &a);
	const int w = a.x2 - a.x1 + 1, h = a.y2 - a.y1 + 1;
	if (w * H != h * W || w > 480 || h > 300 || w < 400)
		return ::testing::AssertionFailure() << "picture of " << w << "x" << h << " for " << W << "x" << H;
	int samples = 0, matches = 0;
	for (int y = 0; y < h; y += 5) {
		for (int x = 0; x < w; x += 5, samples++) {
			uint32_t shown = ui::pixel_rgb((lv_coord_t)(a.x1 + x), (lv_coord_t)(a.y1 + y));
			int sx = (2 * x + 1) * W / (2 * w), sy = (2 * y + 1) * H / (2 * h);
			bool match = false;
			for (int n = 0; n < 25 && !match; n++) {
				int px = std::min(W - 1, std::max(0, sx + n % 5 - 2)), py = std::min(H - 1, std::max(0, sy + n / 5 - 2));
				const uint8_t *p = &rgb[((size_t)py * W + px) * 3];
				match = true;
				for (int c = 0; c < 3; c++)
					match = match && std::abs((int)((shown >> (16 - 8 * c)) & 0xFF) - p[c]) <= 24;
			}
			matches += match;
		}
	}
	if (matches * 100 < samples * 98)
		return ::testing::AssertionFailure() << matches << " of " << samples << " pixels show the picture";
	return ::testing::AssertionSuccess();
}

struct Case {
	const char *name;
	lv_obj_t *lv_ui::*button;
	int line;
	const char *answer; // "right" and "wrong": the count played, another
	const char *verdict;
	bool early; // the right count is tapped first while the tones still play
};
void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }

const Case kCases[] = {
	{"sgtl5000_right", &lv_ui::Test_progrem_btn_audio, 12, "right", "Audio Default Sgtl5000 ok", false},
	{"sgtl5000_wrong", &lv_ui::Test_progrem_btn_audio, 12, "wrong", "Audio Default Sgtl5000 Failed (not heard)", false},
	{"mqs_none", &lv_ui::Test_progrem_btn_mqs, 13, "None", "Audio MQS Failed (not heard)", false},
	{"mqs_early_then_right", &lv_ui::Test_progrem_btn_mqs, 13, "right", "Audio MQS ok", true},
	{"csi_yes", &lv_ui::Test_progrem_btn_csi, 14, "Yes", "CSI Test ok", false},
	{"csi_no", &lv_ui::Test_progrem_btn_csi, 14, "No", "CSI Test failed (not seen)", false},
};

class Confirm : public BoardTest, public ::testing::WithParamInterface<Case> {
protected:
	void SetUp() override
	{
		setenv("TESSEL_CONFIRM", "1", 1);
		BoardTest::SetUp();
	}
	void TearDown() override
	{
		BoardTest::TearDown();
		unsetenv("TESSEL_CONFIRM");
	}
	// The operator taps a button of the dialog; a test it lets go on runs.
	void answer(const std::string &caption)
	{
		console([&] {
			ui::tap(confirm_button(caption.c_str()));
			ui::wait_idle();
		});
	}
};

TEST_P(Confirm, TheAnswerDecidesTheVerdict)
{
	const Case &c = GetParam();
	if (c.early)
		sim::set("aplay_seconds", "1");
	fresh_screen();
	console([&] {
		ui::tap(tessel_ui.*c.button);
		for (int i = 0; i < 1000 && c.early && tones_played() == 0; i++)
			ui::pump_ms(10);
	});
	if (c.early) {
		ASSERT_TRUE(runner_busy()) << "the tones play";
		ui::tap(confirm_button(std::to_string(tones_played()).c_str()));
		EXPECT_TRUE(confirm_active()) << "an answer was taken while the tones played";
	}
	console([] { ui::wait_idle(); });
	lv_obj_t *first = confirm_button(c.line == 14 ? "Yes" : "1");
	ASSERT_TRUE(first != NULL && !lv_obj_has_state(first, LV_STATE_DISABLED)) << "the dialog takes answers";
	EXPECT_EQ(status_lines()[c.line - 1], "not yet");
	std::string given = c.answer;
	if (c.line == 14) {
		EXPECT_TRUE(shows_the_capture());
	} else {
		int played = tones_played();
		ASSERT_TRUE(played >= 1 && played <= 4) << played;
		EXPECT_CONTAINS(sim::calls_of("aplay").back(), c.line == 12 ? "-D plughw:1,0 " : "-D plughw:0,0 ");
		if (given != "None")
			given = std::to_string(given == "right" ? played : played % 4 + 1);
	}
	answer(given);
	EXPECT_FALSE(confirm_active());
	EXPECT_EQ(status_lines()[c.line - 1], c.verdict);
	EXPECT_EQ(ui::text(ui::result_label(c.line)), std::string(c.verdict) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Board, Confirm, ::testing::ValuesIn(kCases),
			 [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

} // namespace
