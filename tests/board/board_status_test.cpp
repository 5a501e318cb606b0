// The status file zorazu_zove: creation, the display step, Initialization,
// and status files that are missing, short, long, or damaged.
#include "board_fixture.h"
#include "qbvexo.h"

#include <unistd.h>

namespace {

const std::vector<std::string> kBuilderTexts = {"I2C",  "GPIO",   "UART", "SPI Master", "SPI Slave",
						"ADC",  "USB1",   "USB2", "PL2303",     "DSI",
						"LVDS", "Audio", "MQS",  "CSI",        "RTC"};


std::string fresh_text()
{
	std::string t;
	for (int i = 0; i < 15; i++)
		t += "not yet\n";
	return t;
}

std::vector<std::string> numbered(int n)
{
	std::vector<std::string> r;
	for (int i = 1; i <= n; i++)
		r.push_back("line " + std::to_string(i));
	return r;
}

using StatusFile = BoardTest;

TEST_F(StatusFile, FirstLoadCreatesFileAndLogButKeepsBuilderTexts)
{
	ASSERT_FALSE(sim::exists("zorazu_zove"));
	console([] { ui::show_test_screen(); });
	EXPECT_EQ(sim::read("zorazu_zove"), fresh_text());
	EXPECT_EQ(sim::read("zorazu_zove").size(), 120u);
	EXPECT_TRUE(sim::exists("Log"));
	EXPECT_EQ(ui::results(), kBuilderTexts);

	// The next test shows the lines.
	ui::click(tessel_ui.Test_progrem_btn_pl2303);
	auto expected = as_labels(fresh());
	expected[8] = "PL2303 Test ok\n";
	EXPECT_EQ(ui::results(), expected);
}

TEST_F(StatusFile, LoadShowsAnExistingFileAndLeavesItUnchanged)
{
	auto lines = numbered(15);
	lines[0] = "I2C Test failed";
	lines[9] = "MIPI-DSI Test ok (Warning : Failed to set brightness)";
	status(lines);
	std::string before = sim::read("zorazu_zove");
	ui::show_test_screen();
	EXPECT_EQ(ui::results(), as_labels(lines));
	EXPECT_EQ(sim::read("zorazu_zove"), before);

	// A rebuilt screen starts from the builder and reads the file again.
	ui::show_test_screen();
	EXPECT_EQ(ui::results(), as_labels(lines));
}

TEST_F(StatusFile, InitializationResetsEveryLineButNotTheLogs)
{
	status(numbered(15));
	ui::show_test_screen();
	sim::write("Log/Log_GPIO", "earlier run\n");
	console([] { ui::click(tessel_ui.Test_progrem_btn_init); });
	EXPECT_EQ(sim::read("zorazu_zove"), fresh_text());
	EXPECT_EQ(ui::results(), as_labels(fresh()));
	EXPECT_EQ(sim::read("Log/Log_GPIO"), "earlier run\n");
	// "mkdir Log" finds the directory and says so (quotes depend on the
	// locale); nothing else happens.
	EXPECT_CONTAINS(err(), "mkdir: cannot create directory");
	EXPECT_CONTAINS(err(), "Log");
	EXPECT_CONTAINS(err(), ": File exists\n");
}

TEST_F(StatusFile, InitializationRecreatesAMissingLogDirectory)
{
	ui::show_test_screen();
	sim::sh("rm -rf Log");
	ui::click(tessel_ui.Test_progrem_btn_init);
	EXPECT_TRUE(sim::exists("Log"));
}

TEST_F(StatusFile, LabelsKeepTheLineFeed)
{
	fresh_screen();
	ui::click(tessel_ui.Test_progrem_btn_i2c);
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_I2C_Log), "I2C Test ok\n");
}

// A file removed behind the screen's back is made again before a test, so
// the verdict has somewhere to go.
TEST_F(StatusFile, MissingFileIsMadeAgainBeforeATest)
{
	fresh_screen();
	unlink("zorazu_zove");
	console([] { ui::click(tessel_ui.Test_progrem_btn_adc); });
	auto expected = fresh();
	expected[5] = "ADC Test ok";
	EXPECT_EQ(status_lines(), expected);
	EXPECT_EQ(ui::results(), as_labels(expected));
}

// Empty or short files (a full disk once left a 0-byte file): completed
// with "not yet" lines on load, keeping the lines present.
TEST_F(StatusFile, ShortAndEmptyFilesAreCompletedOnLoad)
{
	sim::write("zorazu_zove", "");
	ui::show_test_screen();
	EXPECT_EQ(sim::read("zorazu_zove"), fresh_text());
	EXPECT_EQ(ui::results(), as_labels(fresh()));

	sim::write("zorazu_zove", "a\nb\nc");  // no LF after the last line
	ui::show_test_screen();
	auto expected = fresh();
	expected[0] = "a";
	expected[1] = "b";
	expected[2] = "c";
	EXPECT_EQ(status_lines(), expected);
	EXPECT_EQ(ui::results(), as_labels(expected));

	// A short file is completed when a test starts, too.
	status({"I2C Test failed", "GPIO Key Test ok"});
	ui::click(tessel_ui.Test_progrem_btn_rtc);
	expected = fresh();
	expected[0] = "I2C Test failed";
	expected[1] = "GPIO Key Test ok";
	expected[14] = "RTC Test ok";
	EXPECT_EQ(status_lines(), expected);
	EXPECT_EQ(ui::results(), as_labels(expected));
}

TEST_F(StatusFile, TwentyLinesShowOnlyTheFirstFifteen)
{
	status(numbered(20));
	ui::show_test_screen();
	auto lines = numbered(15);
	EXPECT_EQ(ui::results(), as_labels(lines));
}

// Each label shows exactly its own line: a long one is cut, never spilled
// into the next label (the RTC row once showed "CSI Test ok").
TEST_F(StatusFile, LongLineIsCutAndLaterLinesStayInPlace)
{
	auto lines = numbered(15);
	lines[1] = std::string(99, 'x') + std::string(51, 'y');  // 150 bytes
	lines[2] = std::string(98, 'z');                          // 99 with its LF: fits
	status(lines);
	ui::show_test_screen();
	auto r = ui::results();
	EXPECT_EQ(r[0], "line 1\n");
	EXPECT_EQ(r[1], std::string(99, 'x'));
	EXPECT_EQ(r[2], std::string(98, 'z') + "\n");
	for (int i = 3; i < 15; i++)
		EXPECT_EQ(r[i], "line " + std::to_string(i + 1) + "\n");
}

TEST_F(StatusFile, ControlBytesAreShownReplaced)
{
	std::string text = std::string("I2C\0junk\tx\n", 11) + "\xff\xfe\x01\n" + "\xc3\n";
	for (int i = 4; i <= 15; i++)
		text += "line " + std::to_string(i) + "\n";
	sim::write("zorazu_zove", text);
	ui::show_test_screen();
	auto r = ui::results();
	EXPECT_EQ(r[0], "I2C?junk?x\n");
	EXPECT_EQ(r[1], "\xff\xfe?\n");
	EXPECT_EQ(r[2], "\xc3\n");
	EXPECT_EQ(r[14], "line 15\n");
	EXPECT_EQ(sim::read("zorazu_zove"), text);  // shown replaced, kept as it is
	lv_timer_handler();  // draw them once
}

TEST_F(StatusFile, SetLabelTextIgnoresNumbersOutsideTheTable)
{
	fresh_screen();
	auto before = ui::results();
	char text[] = "stray\n";
	setLabelText(text, 0);
	setLabelText(text, 16);
	setLabelText(text, -1);
	EXPECT_EQ(ui::results(), before);
	setLabelText(text, 15);
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_RTC_Log), "stray\n");
}

TEST_F(StatusFile, ProcessFileReadsAtMostMaxLineLines)
{
	fresh_screen();
	status(numbered(15));
	FILE *f = fopen("zorazu_zove", "r");
	ASSERT_NE(f, nullptr);
	processFile(f, 2);
	char rest[100];
	ASSERT_NE(fgets(rest, sizeof rest, f), nullptr);  // the stream stays open where it stopped
	EXPECT_STREQ(rest, "line 3\n");
	fclose(f);
	auto r = ui::results();
	EXPECT_EQ(r[0], "line 1\n");
	EXPECT_EQ(r[1], "line 2\n");
	EXPECT_EQ(r[2], "not yet\n");
	EXPECT_EQ(MaxLine, 15);
}

// A read-only working directory: every failed write is reported, no test
// runs whose verdict could not be kept, and nothing crashes.
TEST_F(StatusFile, ReadOnlyWorkingDirectory)
{
	sim::sh("/.simboard/lib/sb-scenario readonly " + sim::quote(workdir_));
	ASSERT_EQ(chdir(workdir_.c_str()), 0);  // onto the read-only mount
	console([] { ui::show_test_screen(); });
	EXPECT_FALSE(sim::exists("zorazu_zove"));
	EXPECT_FALSE(sim::exists("Log"));
	EXPECT_CONTAINS(err(), "Read-only file system");
	EXPECT_EQ(ui::results(), kBuilderTexts);
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_Device_Tree), "qb-vexo.dtb");

	console([] {
		ui::click(tessel_ui.Test_progrem_btn_init);
		ui::click(tessel_ui.Test_progrem_btn_i2c);
		ui::click(tessel_ui.Test_progrem_btn_usb);
		ui::click(tessel_ui.Test_progrem_btn_all);
	});
	auto expected = kBuilderTexts;
	expected[0] = "Not recorded: read-only";
	EXPECT_EQ(ui::results(), expected);
	EXPECT_FALSE(sim::exists("temp.txt"));
	EXPECT_LACKS(out(), "I2C Test");  // the script did not run
	EXPECT_TRUE(sim::calls_of("i2cdetect").empty());
}

} // namespace
