// The USB storage test: which port the kernel log points at, and the copy.
#include "board_fixture.h"

namespace {

using UsbTest = BoardTest;

std::vector<std::string> first_lines(int n)
{
	return std::vector<std::string>(n, "not yet");
}

// The healthy log names port 2 last: only the USB2 script runs, and it
// appends its role to the log it did not create.
TEST_F(UsbTest, TestsOnlyThePortOfTheLastKernelLine)
{
	fresh_screen();
	sim::write("Log/Log_USB", "earlier\n");
	console([] { ui::click(tessel_ui.Test_progrem_btn_usb); });
	auto lines = status_lines();
	EXPECT_EQ(lines[6], "not yet");
	EXPECT_EQ(lines[7], "USB2 Test ok");
	EXPECT_EQ(log("Log_USB"), "earlier\nhost\n");
	EXPECT_EQ(sim::count(out(), "USB2 Test =================================="), 1u);
	EXPECT_LACKS(out(), "USB1 Test");
	EXPECT_EQ(sim::calls_of("dmesg").size(), 2u);  // detection, then once more inside the loop
	EXPECT_EQ(sim::calls_of("df"), (std::vector<std::string>{"-h"}));
	EXPECT_FALSE(sim::exists("temp.txt"));
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_USB2_Log), "USB2 Test ok\n");
}

TEST_F(UsbTest, CopiesRandomDataToTheDiskAndCompares)
{
	board({"healthy", "usb_port1_last"});
	fresh_screen();
	sim::write("Log/Log_USB", "earlier\n");
	console([] { ui::click(tessel_ui.Test_progrem_btn_usb); });
	EXPECT_EQ(status_lines()[6], "USB1 Test ok");
	EXPECT_EQ(status_lines()[7], "not yet");
	EXPECT_EQ(log("Log_USB"), "host\n");  // USB1 creates the log
	EXPECT_CONTAINS(err(), "104857600 bytes");  // dd wrote the whole scratch file
	// A plain echo: the pass message shows a backslash and an n.
	EXPECT_CONTAINS(out(), "The files match.\nUSB1 Test ok \\n\n");
	// The 100 MiB scratch file and its copy do not stay behind.
	EXPECT_FALSE(sim::exists("random_file.txt"));
	EXPECT_FALSE(sim::exists("/run/media/sda1/random_file.txt"));
}

// A nearly full working directory: dd writes a short scratch file, the
// copy is equally short and compares equal, yet the test must fail.
TEST_F(UsbTest, ShortScratchFileFailsEvenWhenTheCopyMatches)
{
	board({"healthy", "usb_port1_last"});
	small_workdir("2m");
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_usb); });
	EXPECT_EQ(status_lines()[6], "USB1 Test failed");
	EXPECT_LACKS(out(), "The files match.");
	EXPECT_CONTAINS(out(), "Short files:");
	EXPECT_FALSE(sim::exists("random_file.txt"));
	EXPECT_FALSE(sim::exists("/run/media/sda1/random_file.txt"));
}

// A short status file is completed before the test; the port's label
// shows the copy running, then its verdict. Without a disk the label asks
// for one and keeps asking: no test ran, so no display step follows.
TEST_F(UsbTest, DetectionMessagesOnTheLabels)
{
	status(first_lines(6));
	ui::show_test_screen();
	ui::tap(tessel_ui.Test_progrem_btn_usb);
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_USB2_Log), "USB2 running...");
	ASSERT_TRUE(ui::wait_idle());
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_USB2_Log), "USB2 Test ok\n");
	EXPECT_EQ(status_lines().size(), 15u);

	board({"healthy", "usb_port2_disconnected"});
	ui::show_test_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_usb); });
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_USB1_Log), "Please insert USB DISK on USB Port");
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_USB2_Log), "USB2 Test ok\n");
	EXPECT_TRUE(sim::calls_of("df").empty());
}

TEST_F(UsbTest, DisconnectedDiskRunsNoCopy)
{
	board({"healthy", "usb_port2_disconnected"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_usb); });
	EXPECT_TRUE(sim::calls_of("df").empty());
	EXPECT_FALSE(sim::exists("random_file.txt"));
	EXPECT_EQ(status_lines(), fresh());
	auto expected = as_labels(fresh());
	expected[6] = "Please insert USB DISK on USB Port";
	EXPECT_EQ(ui::results(), expected);
	EXPECT_FALSE(sim::exists("temp.txt"));
}

TEST_F(UsbTest, NoKernelLogLineForEitherPort)
{
	board({"healthy", "usb_no_log"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_usb); });
	EXPECT_EQ(sim::calls_of("dmesg").size(), 1u);
	EXPECT_TRUE(sim::calls_of("df").empty());
	EXPECT_EQ(ui::results(), as_labels(fresh()));
	EXPECT_FALSE(sim::exists("temp.txt"));
}

TEST_F(UsbTest, FullDiskFailsTheComparison)
{
	board({"healthy", "usb_disk_full"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_usb); });
	EXPECT_CONTAINS(out(), "Short files: 104857600 and 1048576 bytes of 104857600.\nUSB2 Test Failed \n\n");
	EXPECT_EQ(status_lines()[7], "USB2 Test failed");
}

TEST_F(UsbTest, MissingRoleFile)
{
	board({"healthy", "usb_no_role"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_usb); });
	EXPECT_CONTAINS(out(), "cat: /sys/kernel/debug/usb/ci_hdrc.1/role: No such file or directory\n"
			       "No USB2 role file found\n");
	EXPECT_TRUE(sim::calls_of("df").empty());
	// The error went to the console (2>&1 comes before the log).
	EXPECT_TRUE(sim::exists("Log/Log_USB"));
	EXPECT_EQ(log("Log_USB"), "");
	EXPECT_EQ(status_lines()[7], "USB2 Test failed");
}

// A disk that is plugged in but not mounted: there is no mount path, so
// nothing may be copied (before, the copy went into / and passed).
TEST_F(UsbTest, UnmountedDiskFailsWithoutCopying)
{
	board({"healthy", "usb_unmounted"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_usb); });
	EXPECT_FALSE(sim::exists("/random_file.txt"));
	EXPECT_CONTAINS(out(), "USB2 Test Failed : no USB disk mounted (/dev/sda1 not in df), nothing copied \n\n");
	EXPECT_LACKS(out(), "The files match.");
	EXPECT_EQ(status_lines()[7], "USB2 Test failed");
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_USB2_Log), "USB2 Test failed\n");

	board({"healthy", "usb_port1_last", "usb_unmounted"});
	console([] { ui::click(tessel_ui.Test_progrem_btn_usb); });
	EXPECT_FALSE(sim::exists("/random_file.txt"));
	EXPECT_EQ(status_lines()[6], "USB1 Test failed");
}

} // namespace
