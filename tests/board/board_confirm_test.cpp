// The confirmation mode on the simulated board: the operator's answer to
// the tones, the blinks and the picture decides the verdict. The fake
// player and backlights note what they were asked to play and show.
#include "board_fixture.h"
#include "board_runner.h"
#include "confirm.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace {

class Confirm : public BoardTest {
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

	// The count of the last challenge the player was asked to play.
	static int tones_played()
	{
		int n = 0;
		for (const auto &args : sim::calls_of("aplay"))
			if (args.find("Confirm_") != std::string::npos)
				n = args[args.find("Confirm_") + 8] - '0';
		return n;
	}
	static bool taking_answers()
	{
		lv_obj_t *b = confirm_button("1") != NULL ? confirm_button("1") : confirm_button("Yes");
		return b != NULL && !lv_obj_has_state(b, LV_STATE_DISABLED);
	}
	// The operator taps a button of the dialog; a test it lets go on runs.
	static void answer(const std::string &caption)
	{
		ui::tap(confirm_button(caption.c_str()));
		ui::wait_idle();
	}
	static std::vector<std::string> brightness_writes(const std::string &backlight)
	{
		std::vector<std::string> values;
		for (const auto &args : sim::calls_of("brightness"))
			if (args.rfind(backlight + " ", 0) == 0)
				values.push_back(args.substr(backlight.size() + 1));
		return values;
	}
	// Runs the blinks in LVGL's time; each change of the backlight waits
	// until the fake has noted it, so no write goes by unseen. Returns the
	// writes it noted from the blinks.
	std::vector<std::string> watch_blinks(const std::string &backlight)
	{
		std::string file = "/sys/class/backlight/" + backlight + "/brightness";
		for (int w = 0; w < 300 && brightness_writes(backlight).size() < 5; w++)
			ui::pump_ms(10); // the test's own five steps
		size_t before = brightness_writes(backlight).size();
		std::string shown = sim::read(file);
		for (int i = 0; i < 200 && !taking_answers(); i++) {
			ui::advance_ms(50);
			if (sim::read(file) == shown)
				continue;
			shown = sim::read(file);
			size_t seen = brightness_writes(backlight).size() + 1;
			for (int w = 0; w < 300 && brightness_writes(backlight).size() < seen; w++)
				ui::pump_ms(10);
		}
		auto all = brightness_writes(backlight);
		return std::vector<std::string>(all.begin() + (long)std::min(before, all.size()), all.end());
	}
	std::string record() { return sim::read("Log/record.json"); }
};

// --- audio -----------------------------------------------------------------

struct ToneCase {
	const char *name;
	lv_obj_t *lv_ui::*button;
	int line;
	int answer; // +0 the count played, +1 a wrong count, -1 "None"
	const char *verdict;
};
void PrintTo(const ToneCase &c, std::ostream *os) { *os << c.name; }

const ToneCase kToneCases[] = {
	{"sgtl5000_right", &lv_ui::Test_progrem_btn_audio, 12, 0, "Audio Default Sgtl5000 ok"},
	{"sgtl5000_wrong", &lv_ui::Test_progrem_btn_audio, 12, 1, "Audio Default Sgtl5000 Failed (not heard)"},
	{"mqs_none", &lv_ui::Test_progrem_btn_mqs, 13, -1, "Audio MQS Failed (not heard)"},
};

class Tones : public Confirm, public ::testing::WithParamInterface<ToneCase> {};

TEST_P(Tones, TheCountHeardDecides)
{
	const ToneCase &c = GetParam();
	fresh_screen();
	console([&] { ui::click(tessel_ui.*c.button); });
	int played = tones_played();
	ASSERT_GE(played, 1);
	ASSERT_LE(played, 4);
	EXPECT_CONTAINS(sim::calls_of("aplay").back(), c.line == 12 ? "-D plughw:1,0 " : "-D plughw:0,0 ");
	ASSERT_TRUE(taking_answers());
	EXPECT_EQ(status_lines()[c.line - 1], "not yet");
	std::string given = c.answer < 0 ? "None" : std::to_string(c.answer == 0 ? played : played % 4 + 1);
	console([&] { answer(given); });
	EXPECT_FALSE(confirm_active());
	EXPECT_EQ(status_lines()[c.line - 1], c.verdict);
	EXPECT_EQ(ui::text(ui::result_label(c.line)), std::string(c.verdict) + "\n");
	EXPECT_CONTAINS(record(), "\"challenge\": \"" + std::to_string(played) + (played == 1 ? " tone" : " tones") +
					  "\", \"answer\": \"" + given + "\"");
}

INSTANTIATE_TEST_SUITE_P(Board, Tones, ::testing::ValuesIn(kToneCases),
			 [](const ::testing::TestParamInfo<ToneCase> &info) { return std::string(info.param.name); });

TEST_F(Confirm, AnAnswerWhileTheTonesPlayIsNotTaken)
{
	sim::set("aplay_seconds", "1");
	fresh_screen();
	console([] {
		ui::tap(tessel_ui.Test_progrem_btn_audio);
		for (int i = 0; i < 1000 && tones_played() == 0; i++)
			ui::pump_ms(10);
	});
	int played = tones_played();
	ASSERT_GE(played, 1);
	ASSERT_TRUE(runner_busy()); // still playing
	ui::tap(confirm_button(std::to_string(played).c_str()));
	EXPECT_TRUE(confirm_active());
	EXPECT_EQ(status_lines()[11], "not yet");
	console([] { ui::wait_idle(); });
	console([&] { answer(std::to_string(played)); });
	EXPECT_EQ(status_lines()[11], "Audio Default Sgtl5000 ok");
}

// --- backlights ------------------------------------------------------------

struct BlinkCase {
	const char *name;
	lv_obj_t *lv_ui::*button;
	int line;
	const char *backlight;
	int answer; // as for the tones
	const char *verdict;
};
void PrintTo(const BlinkCase &c, std::ostream *os) { *os << c.name; }

const BlinkCase kBlinkCases[] = {
	{"dsi_right", &lv_ui::Test_progrem_btn_dsi, 10, "dsi_backlight", 0, "MIPI-DSI Test ok"},
	{"dsi_wrong", &lv_ui::Test_progrem_btn_dsi, 10, "dsi_backlight", 1, "MIPI-DSI Test Failed (not seen)"},
	{"lvds_none", &lv_ui::Test_progrem_btn_lvds, 11, "lvds_backlight", -1, "LVDS Test Failed (not seen)"},
};

class Blinks : public Confirm, public ::testing::WithParamInterface<BlinkCase> {};

TEST_P(Blinks, TheBlinksTheBacklightSawAreTheAnswer)
{
	const BlinkCase &c = GetParam();
	fresh_screen();
	console([&] { ui::click(tessel_ui.*c.button); });
	ASSERT_TRUE(confirm_active());
	EXPECT_TRUE(sim::exists("backlight.restore"));
	auto writes = watch_blinks(c.backlight);
	ASSERT_TRUE(taking_answers());
	int blinks = (int)writes.size() / 2;
	ASSERT_GE(blinks, 1);
	ASSERT_LE(blinks, 3);
	for (size_t i = 0; i < writes.size(); i++)
		EXPECT_EQ(writes[i], i % 2 == 0 ? "0" : "100") << "write " << i; // off, then back to its value
	std::string given = c.answer < 0 ? "None" : std::to_string(c.answer == 0 ? blinks : blinks % 3 + 1);
	console([&] { answer(given); });
	EXPECT_EQ(status_lines()[c.line - 1], c.verdict);
	EXPECT_EQ(sim::read(std::string("/sys/class/backlight/") + c.backlight + "/brightness"), "100\n");
	EXPECT_FALSE(sim::exists("backlight.restore"));
	EXPECT_CONTAINS(record(), "\"answer\": \"" + given + "\"");
}

INSTANTIATE_TEST_SUITE_P(Board, Blinks, ::testing::ValuesIn(kBlinkCases),
			 [](const ::testing::TestParamInfo<BlinkCase> &info) { return std::string(info.param.name); });

// --- camera ----------------------------------------------------------------

// The whole JPEG as RGB, decoded here on its own.
std::vector<uint8_t> decode(const std::string &path, int *w, int *h)
{
	FILE *f = fopen(path.c_str(), "rb");
	if (f == NULL)
		return {};
	jpeg_decompress_struct cinfo;
	jpeg_error_mgr err;
	cinfo.err = jpeg_std_error(&err);
	jpeg_create_decompress(&cinfo);
	jpeg_stdio_src(&cinfo, f);
	jpeg_read_header(&cinfo, TRUE);
	cinfo.out_color_space = JCS_RGB;
	jpeg_start_decompress(&cinfo);
	*w = (int)cinfo.output_width;
	*h = (int)cinfo.output_height;
	std::vector<uint8_t> rgb((size_t)*w * *h * 3);
	while (cinfo.output_scanline < cinfo.output_height) {
		JSAMPROW row = &rgb[(size_t)cinfo.output_scanline * *w * 3];
		jpeg_read_scanlines(&cinfo, &row, 1);
	}
	jpeg_finish_decompress(&cinfo);
	jpeg_destroy_decompress(&cinfo);
	fclose(f);
	return rgb;
}

bool near(uint32_t screen, const uint8_t *p)
{
	for (int c = 0; c < 3; c++)
		if (std::abs((int)((screen >> (16 - 8 * c)) & 0xFF) - p[c]) > 24)
			return false;
	return true;
}

class Picture : public Confirm, public ::testing::WithParamInterface<bool> {};

TEST_P(Picture, TheDialogShowsTheCapturedPicture)
{
	bool yes = GetParam();
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_csi); });
	ASSERT_TRUE(taking_answers());
	int W = 0, H = 0;
	std::vector<uint8_t> jpeg = decode("test.jpg", &W, &H);
	ASSERT_EQ(W, 640);
	lv_obj_update_layout(lv_layer_top());
	lv_area_t a;
	lv_obj_get_coords(confirm_picture(), &a);
	int w = a.x2 - a.x1 + 1, h = a.y2 - a.y1 + 1;
	EXPECT_EQ(w * H, h * W) << "aspect kept";
	EXPECT_TRUE(w <= 480 && h <= 300 && w >= 400) << w << "x" << h;
	// Each sampled screen pixel shows the picture's pixel there (or a
	// neighbour's: scaling rounds), within RGB565's steps.
	int samples = 0, matches = 0;
	for (int y = 0; y < h; y += 5) {
		for (int x = 0; x < w; x += 5) {
			uint32_t shown = ui::pixel_rgb((lv_coord_t)(a.x1 + x), (lv_coord_t)(a.y1 + y));
			int sx = (2 * x + 1) * W / (2 * w), sy = (2 * y + 1) * H / (2 * h);
			bool match = false;
			for (int dy = -2; dy <= 2 && !match; dy++)
				for (int dx = -2; dx <= 2 && !match; dx++) {
					int px = std::min(W - 1, std::max(0, sx + dx)), py = std::min(H - 1, std::max(0, sy + dy));
					match = near(shown, &jpeg[((size_t)py * W + px) * 3]);
				}
			samples++;
			matches += match;
		}
	}
	EXPECT_GE(matches * 100, samples * 98) << matches << " of " << samples;
	console([&] { answer(yes ? "Yes" : "No"); });
	EXPECT_EQ(status_lines()[13], yes ? "CSI Test ok" : "CSI Test failed (not seen)");
}

INSTANTIATE_TEST_SUITE_P(Board, Picture, ::testing::Bool(),
			 [](const ::testing::TestParamInfo<bool> &info) { return info.param ? "Yes" : "No"; });

} // namespace
