// Run all: which lines run again, in which order, and what the console shows.
#include "board_fixture.h"

namespace {

using RunAll = BoardTest;

const std::vector<std::string> kHealthyVerdicts = {
	"I2C Test ok",      "GPIO Key Test ok", "UART7 Test ok",  "SPI3 Master Test ok",       "SPI3 Slave Test ok",
	"ADC Test ok",      "USB1 Test ok",     "USB2 Test ok",   "PL2303 Test ok",            "MIPI-DSI Test ok",
	"LVDS Test ok",     "Audio Default Sgtl5000 ok",          "Audio MQS ok",              "CSI Test ok",
	"RTC Test ok"};

// Banners (or, for the banner-less tests, first lines) in entry order.
const std::vector<std::string> kEntryMarks = {
	"I2C Test ===",        "GPIO Key Test ===", "UART7 Test ===",  "SPI3 Master Test ===",
	"Test : SPI3 Slave Test ===", "ADC Slave Test ===", "USB1 Test ===", "USB2 Test ===",
	"PL2303 Test ===",     "MIPI-DSI Test ===", "LVDS Test ===",
	"Test : Audio Default Sgtl5000 Test ===", "Audio MQS Test ===", "test.jpg file size", "Found RTC Deivce"};

TEST_F(RunAll, FreshFileRunsEveryTestInOrder)
{
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	EXPECT_EQ(status_lines(), kHealthyVerdicts);
	EXPECT_EQ(ui::results(), as_labels(kHealthyVerdicts));
	// Each status line is echoed before its test runs.
	size_t pos = 0;
	for (size_t i = 0; i < kEntryMarks.size(); i++) {
		size_t echoed = out().find("not yet\n", pos);
		ASSERT_NE(echoed, std::string::npos) << "entry " << i;
		size_t mark = out().find(kEntryMarks[i], echoed);
		ASSERT_NE(mark, std::string::npos) << kEntryMarks[i];
		EXPECT_EQ(out().find("not yet\n", echoed + 1) > mark, true) << "entry " << i << " ran late";
		pos = mark;
	}
	EXPECT_EQ(sim::count(out(), "not yet\n"), 15u);
	EXPECT_EQ(sim::calls_of("df").size(), 2u);  // both ports have a disk
}

// "failed" is final, "Failed" is run again; warnings contain "Failed".
TEST_F(RunAll, MixedFileRunsOnlyPendingAndCapitalFailed)
{
	std::vector<std::string> lines = {
		"I2C Test failed",
		"GPIO Key Test Failed",
		"UART7 Test failed",
		"SPI3 Master Test ok",
		"not yet",
		"ADC Test failed",
		"USB1 Test failed",
		"USB2 Test failed",
		"PL2303 Test failed",
		"MIPI-DSI Test ok (Warning : Failed to set brightness)",
		"LVDS Test ok",
		"Audio Sgtl5000 Device Not Found",
		"Audio MQS Failed",
		"CSI Test failed",
		"RTC Test failed",
		"not yet",
		"not yet",
		"SPI3 Master Test Failed",
		"extra",
		"not yet",
	};
	status(lines);
	ui::show_test_screen();
	sim::write("Log/Log_SPI", "earlier listing\n");
	sim::clear_calls();
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });

	// All 20 lines echoed, in order, before anything else of theirs.
	std::string echoed;
	for (const auto &l : lines)
		echoed += l + "\n";
	std::string printed;
	for (const auto &l : sim::lines(out()))
		for (const auto &s : lines)
			if (l == s) {
				printed += l + "\n";
				break;
			}
	EXPECT_EQ(printed, echoed);

	auto after = lines;
	after[1] = "GPIO Key Test ok";
	after[4] = "SPI3 Slave Test ok";
	after[9] = "MIPI-DSI Test ok";
	after[12] = "Audio MQS ok";
	EXPECT_EQ(status_lines(), after);
	EXPECT_EQ(ui::results(), as_labels(std::vector<std::string>(after.begin(), after.begin() + 15)));

	// Nothing else ran: no I2C/RTC dumps, no SPI transfer, no copy, no camera.
	EXPECT_TRUE(sim::calls_of("i2cdump").empty());
	EXPECT_TRUE(sim::calls_of("i2cdetect").empty());
	EXPECT_TRUE(sim::calls_of("spidev_test").empty());
	EXPECT_TRUE(sim::calls_of("dmesg").empty());
	EXPECT_TRUE(sim::calls_of("gst-launch-1.0").empty());
	EXPECT_TRUE(sim::calls_of("memtool").empty());
	EXPECT_EQ(sim::calls_of("aplay"), (std::vector<std::string>{"-l", "-l", "-D plughw:0,0 Audio_MQS.WAV"}));
	for (const char *name : {"Log_USB", "Log_CSI", "Log_PL2303", "Log_Audio", "Log_LVDS"})
		EXPECT_FALSE(sim::exists(std::string("Log/") + name)) << name;
	EXPECT_TRUE(sim::exists("Log/Log_GPIO"));
	EXPECT_TRUE(sim::exists("Log/Log_DSI"));
	// Only the slave half ran for line 5, appending to the earlier listing.
	EXPECT_EQ(log("Log_SPI").rfind("earlier listing\nOF_NAME=spi\n", 0), 0u);
}

TEST_F(RunAll, FinalFailuresStayAndCapitalFailuresRunAgain)
{
	board({"healthy", "i2c_bus1_no_0x25", "gpio_key_error"});
	fresh_screen();
	status({"not yet", "not yet", "UART7 Test ok", "SPI3 Master Test ok", "SPI3 Slave Test ok", "ADC Test ok",
		"USB1 Test ok", "USB2 Test ok", "PL2303 Test ok", "MIPI-DSI Test ok", "LVDS Test ok",
		"Audio Default Sgtl5000 ok", "Audio MQS ok", "CSI Test ok", "RTC Test ok"});
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	EXPECT_EQ(status_lines()[0], "I2C Test failed");
	EXPECT_EQ(status_lines()[1], "GPIO Key Test Failed");
	EXPECT_EQ(sim::calls_of("i2cdump").size(), 4u);

	sim::clear_calls();
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	EXPECT_TRUE(sim::calls_of("i2cdump").empty());  // "failed": left alone
	EXPECT_EQ(sim::count(out(), "GPIO Key Test =="), 1u);  // "Failed": once more
	EXPECT_EQ(sim::count(out(), "I2C Test =="), 0u);
}

TEST_F(RunAll, DeviceNotFoundIsNotRunAgain)
{
	board({"healthy", "audio_no_playback_devices"});
	fresh_screen();
	std::vector<std::string> lines(15, "x ok");
	lines[11] = "not yet";
	status(lines);
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	EXPECT_EQ(status_lines()[11], "Audio Sgtl5000 Device Not Found");
	sim::clear_calls();
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	EXPECT_TRUE(sim::calls_of("aplay").empty());
}

TEST_F(RunAll, BacklightWarningRunsOnEveryPress)
{
	board({"healthy", "backlight_clamp"});
	fresh_screen();
	std::vector<std::string> lines(15, "x ok");
	lines[9] = "not yet";
	status(lines);
	for (int press = 0; press < 3; press++) {
		console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
		EXPECT_EQ(sim::count(out(), "MIPI-DSI Test =="), 1u) << "press " << press;
		EXPECT_EQ(status_lines()[9], "MIPI-DSI Test ok (Warning : Failed to set brightness)");
	}
}

// The verdicts a pass writes never trigger a second run in the same pass:
// here the SPI master writes "Failed" into its line and runs once.
TEST_F(RunAll, EachEntryRunsAtMostOncePerPress)
{
	board({"healthy", "spi_cannot_open"});
	fresh_screen();
	std::vector<std::string> lines(15, "x ok");
	lines[3] = "not yet";
	status(lines);
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	EXPECT_EQ(sim::calls_of("spidev_test").size(), 2u);  // one run: verdict + log
	EXPECT_EQ(status_lines()[3], "SPI3 Master Test Failed");
}

// The decisions come from the file as it was opened: a 2100-byte first
// line counts as two lines (2047 bytes, then the rest), and the I2C run
// that rewrites it does not shift what this pass reads next.
TEST_F(RunAll, DecidesOnTheFileAsItWasOpened)
{
	fresh_screen();
	std::string first = "not yet" + std::string(2093, 'x');  // 2100 bytes before the LF
	std::vector<std::string> lines = {first, "x ok", "not yet"};
	for (int i = 4; i <= 15; i++)
		lines.push_back("x ok");
	status(lines);
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	// Piece 1 (entry 0) ran I2C; piece 2 (entry 1, GPIO) has no trigger;
	// "x ok" is entry 2 (UART) and "not yet" entry 3 (SPI master).
	EXPECT_EQ(sim::calls_of("i2cdump").size(), 4u);
	EXPECT_EQ(sim::count(out(), "GPIO Key Test =="), 0u);
	EXPECT_EQ(sim::count(out(), "UART7 Test =="), 0u);
	EXPECT_EQ(sim::count(out(), "SPI3 Master Test =="), 1u);
	EXPECT_CONTAINS(out(), std::string(2047 - 7, 'x').insert(0, "not yet"));
	auto after = status_lines();
	EXPECT_EQ(after[0], "I2C Test ok");
	EXPECT_EQ(after[3], "SPI3 Master Test ok");
}

TEST_F(RunAll, LinesSevenAndEightWithADiskOnlyInPortOne)
{
	board({"healthy", "usb_port1_only"});
	fresh_screen();
	std::vector<std::string> lines(15, "x ok");
	lines[6] = "not yet";
	lines[7] = "not yet";
	status(lines);
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	EXPECT_EQ(sim::calls_of("dmesg").size(), 3u);  // port 1 twice, port 2 once (no line)
	EXPECT_EQ(sim::calls_of("df").size(), 1u);
	EXPECT_EQ(status_lines()[6], "USB1 Test ok");
	EXPECT_EQ(status_lines()[7], "not yet");
	EXPECT_EQ(log("Log_USB"), "host\n");
	EXPECT_FALSE(sim::exists("temp.txt"));
}

TEST_F(RunAll, DisconnectedPortTwoRunsNoCopy)
{
	board({"healthy", "usb_port2_disconnected"});
	fresh_screen();
	std::vector<std::string> lines(15, "x ok");
	lines[7] = "USB2 Test Failed";  // capital: pending again
	status(lines);
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	EXPECT_EQ(sim::calls_of("dmesg").size(), 2u);
	EXPECT_TRUE(sim::calls_of("df").empty());
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_USB2_Log), "USB2 Test Failed\n");
}

// A status file removed behind the screen's back is made again: the pass
// runs every test and records every verdict.
TEST_F(RunAll, MissingStatusFileIsMadeAgainAndEverythingRuns)
{
	fresh_screen();
	remove("zorazu_zove");
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	EXPECT_EQ(status_lines(), kHealthyVerdicts);
	EXPECT_EQ(ui::results(), as_labels(kHealthyVerdicts));
	EXPECT_EQ(sim::count(out(), "not yet\n"), 15u);
}

} // namespace
