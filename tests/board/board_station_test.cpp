// The station while a test runs, and a status file it cannot trust: taps
// are dropped, a stuck tool times out, and no earlier verdict outlives the
// test that replaced it.
#include "board_fixture.h"
#include "station/status_file.h"

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

using Station = BoardTest;

const std::vector<std::string> kHealthy = {
	"I2C Test ok", "GPIO Key Test ok", "UART7 Test ok", "SPI3 Master Test ok", "SPI3 Slave Test ok",
	"ADC Test ok", "USB1 Test ok", "USB2 Test ok", "PL2303 Test ok", "MIPI-DSI Test ok", "LVDS Test ok",
	"Audio Default Sgtl5000 ok", "Audio MQS ok", "CSI Test ok", "RTC Test ok"};


// Everything the operator might touch while the camera test waits for a
// frame: none of it runs now, none of it runs afterwards.
TEST_F(Station, TapsDuringATestAreNotActedOn)
{
	board({"healthy", "camera_hang"});
	sim::set("camera_hang_s", "3");
	status(kHealthy);
	ui::show_test_screen();
	std::string dtb = sim::read("/run/media/boot-mmcblk1p1/qb-vexo.dtb");
	lv_obj_t *roller = tessel_ui.Test_progrem_Roller_DEVICE_TREE;
	uint16_t roller_before = lv_roller_get_selected(roller);
	sim::clear_calls();

	console([&] {
		ui::tap(tessel_ui.Test_progrem_btn_csi);
		// The earlier "ok" is gone before the capture starts.
		EXPECT_EQ(status_lines()[13], "not yet");
		EXPECT_EQ(ui::text(tessel_ui.Test_progrem_CSI_Log), "CSI running...");
		for (lv_obj_t *b : {tessel_ui.Test_progrem_btn_i2c, tessel_ui.Test_progrem_btn_spi,
				    tessel_ui.Test_progrem_btn_audio, tessel_ui.Test_progrem_btn_csi,
				    tessel_ui.Test_progrem_btn_usb, tessel_ui.Test_progrem_btn_init,
				    tessel_ui.Test_progrem_btn_all, tessel_ui.Test_progrem_btn_setup,
				    tessel_ui.Test_progrem_btn_Reboot}) {
			ui::tap(b);
			ui::pump_ms(50);
		}
		lv_roller_set_selected(roller, 3, LV_ANIM_OFF);
		lv_event_send(roller, LV_EVENT_VALUE_CHANGED, NULL);
		ui::advance_ms(500);  // a screen load would be under way by now
		EXPECT_TRUE(ui::wait_idle(20000));
		ui::advance_ms(500);
	});
	EXPECT_EQ(sim::calls_of("gst-launch-1.0").size(), 1u);
	for (const char *tool : {"i2cdetect", "spidev_test", "aplay", "dmesg", "df", "reboot"})
		EXPECT_TRUE(sim::calls_of(tool).empty()) << tool;
	auto expected = kHealthy;
	expected[13] = "CSI Test failed";  // the hung capture ended without a picture
	EXPECT_EQ(status_lines(), expected);
	EXPECT_EQ(ui::results(), as_labels(expected));
	EXPECT_EQ(lv_scr_act(), tessel_ui.Test_progrem);
	EXPECT_EQ(lv_roller_get_selected(roller), roller_before);
	EXPECT_EQ(sim::read("/run/media/boot-mmcblk1p1/qb-vexo.dtb"), dtb);
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_Device_Tree), "qb-vexo.dtb");
}

// A capture that never returns, deaf to TERM: the limit ends it, the line
// gets the failure verdict marked as timed out, and Run all goes on.
TEST_F(Station, StuckToolTimesOutAndRunAllGoesOn)
{
	board({"healthy", "camera_hang_hard"});
	auto lines = kHealthy;
	lines[13] = "not yet";
	lines[14] = "not yet";
	status(lines);
	ui::show_test_screen();
	sim::clear_calls();
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	auto expected = kHealthy;
	expected[13] = "CSI Test failed (timed out)";
	EXPECT_EQ(status_lines(), expected);
	EXPECT_EQ(ui::results(), as_labels(expected));
	EXPECT_CONTAINS(out(), "CSI Test failed (timed out)\nnot yet\nFound RTC Deivce");
	EXPECT_TRUE(sim::ends_soon("camera.pid"));
	EXPECT_EQ(sim::calls_of("i2cdump").size(), 1u);  // the RTC test ran

	// A small "failed" is final: the next pass leaves the camera alone.
	sim::clear_calls();
	ui::click(tessel_ui.Test_progrem_btn_all);
	EXPECT_TRUE(sim::calls().empty());
}

// A full working directory: a test whose "not yet" cannot be written does
// not run, and its label says so instead of showing the earlier "ok".
TEST_F(Station, FullWorkingDirectoryNeverShowsAnEarlierVerdict)
{
	board({"healthy", "pl2303_missing"});
	small_workdir("256k");
	sim::sh("dd if=/dev/zero of=fill bs=4k 2>/dev/null; true");
	console([] { ui::show_test_screen(); });
	EXPECT_FALSE(sim::exists("zorazu_zove"));  // never a 0-byte file
	EXPECT_CONTAINS(err(), "No space left on device");

	sim::sh("rm fill");
	status(kHealthy);
	ui::show_test_screen();
	sim::sh("dd if=/dev/zero of=fill bs=4k 2>/dev/null; true");
	sim::clear_calls();
	console([] { ui::click(tessel_ui.Test_progrem_btn_pl2303); });
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_PL2303_Log), "Not recorded: disk full");
	EXPECT_LACKS(out(), "PL2303 Test");
	EXPECT_EQ(status_lines(), kHealthy);  // whole, untouched

	// Once there is room again the test runs and its failure shows.
	sim::sh("rm fill");
	ui::click(tessel_ui.Test_progrem_btn_pl2303);
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_PL2303_Log), "PL2303 Test failed\n");
}

// Not a regular file: the labels say so once, nothing pretends to run.
TEST_F(Station, StatusFileThatIsNotAFile)
{
	for (const char *make : {"mkdir zorazu_zove", "mkfifo zorazu_zove"}) {
		sim::sh(std::string("rm -rf zorazu_zove; ") + make);
		console([] {
			ui::show_test_screen();
			sim::clear_calls();
			ui::click(tessel_ui.Test_progrem_btn_i2c);
			ui::click(tessel_ui.Test_progrem_btn_spi);
			ui::click(tessel_ui.Test_progrem_btn_all);
			ui::click(tessel_ui.Test_progrem_btn_usb);
		});
		EXPECT_EQ(ui::results(), std::vector<std::string>(15, "Status file unreadable")) << make;
		EXPECT_CONTAINS(err(), "cannot read the status file zorazu_zove");
		for (const char *tool : {"i2cdetect", "spidev_test", "dmesg", "df"})
			EXPECT_TRUE(sim::calls_of(tool).empty()) << make << " " << tool;
	}
	EXPECT_CONTAINS(err(), "Invalid argument");
}

// A symbolic link in its place is replaced; the file it named is untouched.
TEST_F(Station, StatusFileLinkIsReplacedNotWrittenThrough)
{
	sim::write("elsewhere", "precious\n");
	ASSERT_EQ(symlink("elsewhere", "zorazu_zove"), 0);
	ui::show_test_screen();
	ui::click(tessel_ui.Test_progrem_btn_init);
	struct stat st;
	ASSERT_EQ(lstat("zorazu_zove", &st), 0);
	EXPECT_TRUE(S_ISREG(st.st_mode));
	EXPECT_EQ(status_lines(), fresh());
	EXPECT_EQ(sim::read("elsewhere"), "precious\n");
}

// Killed at any moment while writing, the file is the old one or the new
// one, whole.
TEST_F(Station, StatusFileStaysWholeWhenTheWriterIsKilled)
{
	status(fresh());
	for (int round = 0; round < 40; round++) {
		pid_t pid = fork();
		ASSERT_GE(pid, 0);
		if (pid == 0) {
			for (int i = 0;; i++)
				status_file_set_line(i % 15 + 1, i % 2 ? "verdict of a long test name" : "ok");
		}
		usleep(200 + (useconds_t)(round * 397) % 5000);
		kill(pid, SIGKILL);
		waitpid(pid, NULL, 0);
		auto lines = status_lines();
		ASSERT_EQ(lines.size(), 15u) << "round " << round;
		for (const auto &l : lines)
			ASSERT_TRUE(l == "not yet" || l == "ok" || l == "verdict of a long test name") << l;
	}
	// What the killed writers left half-done is swept away on the next load.
	ui::show_test_screen();
	EXPECT_EQ(sim::sh("ls -A | grep -c '^.zorazu_zove' || true"), "0\n");
	EXPECT_EQ(status_lines().size(), 15u);
}

// A reboot that fails says so; the next "Yes" tries again.
TEST_F(Station, FailedRebootSaysSoAndYesTriesAgain)
{
	board({"healthy", "reboot_fails"});
	ui::show_reboot_screen();
	console([] { ui::click(tessel_ui.ReBoot_Screen_btn_Reboot_yes); });
	EXPECT_EQ(ui::text(tessel_ui.ReBoot_Screen_Msg_Reboot), "Reboot failed. Tap Yes to try again.");
	EXPECT_CONTAINS(err(), "reboot failed");
	console([] { ui::click(tessel_ui.ReBoot_Screen_btn_Reboot_yes); });
	EXPECT_EQ(sim::calls_of("reboot").size(), 2u);
}

} // namespace
