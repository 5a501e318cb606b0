// Device-tree detection on screen load, the selector, and the reboot.
#include "board_fixture.h"

#include <sys/stat.h>

namespace {

const char kBoot[] = "/run/media/boot-mmcblk1p1/";
const uint16_t kBlack = 0x0000;
const uint16_t kSelected = 0xF804;

ino_t inode_of(const std::string &path)
{
	struct stat st;
	return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::string boot_listing()
{
	return sim::sh(std::string("ls -A ") + kBoot);
}

class DeviceTree : public BoardTest {
protected:
	// A kernel log with these model lines (and one line without "model").
	void kernel_log(const std::vector<std::string> &models)
	{
		std::string text = "[    0.000000] Booting Linux on physical CPU 0x0\n";
		for (const auto &m : models)
			text += m + "\n";
		text += "[    1.000000] usb 2-1: new high-speed USB device number 2 using ci_hdrc\n";
		sim::set("dmesg", text);
	}
	std::string shown() { return ui::text(tessel_ui.Test_progrem_Device_Tree); }
};

TEST_F(DeviceTree, DetectsTheRunningTreeInBlack)
{
	kernel_log({"[    0.000000] Machine model: QB-VEXO i.MX93 board SPI_S"});
	ui::show_test_screen();
	EXPECT_EQ(shown(), "qb-vexo-lpspi-slave.dtb");
	EXPECT_EQ(ui::text_color(tessel_ui.Test_progrem_Device_Tree), kBlack);
	EXPECT_EQ(log("Log_DTS"), "[    0.000000] Machine model: QB-VEXO i.MX93 board SPI_S\n");
}

TEST_F(DeviceTree, ModelWithoutKeyword)
{
	kernel_log({"[    0.000000] Machine model: QB-VEXO i.MX93 board"});
	ui::show_test_screen();
	EXPECT_EQ(shown(), "Unknown Device Tree");
}

// The last line decides; within a line the first keyword in table order.
TEST_F(DeviceTree, SeveralModelLines)
{
	kernel_log({"[    0.000000] Machine model: board Uart7", "[    2.000000] panel model: none"});
	ui::show_test_screen();
	EXPECT_EQ(shown(), "Unknown Device Tree");

	kernel_log({"[    0.000000] Machine model: board Default", "[    2.000000] Machine model: board DSI"});
	ui::show_test_screen();
	EXPECT_EQ(shown(), "qb-vexo-dsi-ili9881c.dtb");

	kernel_log({"[    0.000000] Machine model: board DSI SPI_M"});
	ui::show_test_screen();
	EXPECT_EQ(shown(), "qb-vexo-lpspi.dtb");

	kernel_log({"[    0.000000] Machine model: board Uart7"});
	ui::show_test_screen();
	EXPECT_EQ(shown(), "qb-vexo-uart7.dtb");
}

TEST_F(DeviceTree, NoModelLineKeepsTheBuilderText)
{
	kernel_log({});
	ui::show_test_screen();
	EXPECT_EQ(shown(), "qb-vexo.dtb");
	EXPECT_TRUE(sim::exists("Log/Log_DTS"));
	EXPECT_EQ(log("Log_DTS"), "");
}

// Choosing a tree installs it whole: a new file renamed over the old one,
// never a rewrite in place.
TEST_F(DeviceTree, SelectionInstallsTheTreeAtomically)
{
	ui::show_test_screen();
	std::string target = std::string(kBoot) + "qb-vexo.dtb";
	ino_t before = inode_of(target);
	console([] { ui::choose(tessel_ui.Test_progrem_Roller_DEVICE_TREE, 1); });
	EXPECT_EQ(shown(), "qb-vexo-uart7.dtb");
	EXPECT_EQ(ui::text_color(tessel_ui.Test_progrem_Device_Tree), kSelected);
	EXPECT_EQ(sim::read(target), sim::read(std::string(kBoot) + "qb-vexo-lpuart7.dtb"));
	EXPECT_NE(inode_of(target), before);
	EXPECT_EQ(boot_listing(), "Image\nqb-vexo-dsi-ili9881c.dtb\nqb-vexo-lpspi-slave.dtb\nqb-vexo-lpspi.dtb\n"
				  "qb-vexo-lpuart7.dtb\nqb-vexo.dtb\n");
	EXPECT_EQ(err(), "");
}

TEST_F(DeviceTree, EveryRollerOptionInstallsItsFile)
{
	ui::show_test_screen();
	const char *labels[] = {"qb-vexo.dtb", "qb-vexo-uart7.dtb", "qb-vexo-lpspi.dtb", "qb-vexo-lpspi-slave.dtb",
				"qb-vexo-dsi-ili9881c.dtb"};
	const std::string sources[] = {"/usr/share/roruziduv/qb-vexo.dtb", std::string(kBoot) + "qb-vexo-lpuart7.dtb",
				       std::string(kBoot) + "qb-vexo-lpspi.dtb",
				       std::string(kBoot) + "qb-vexo-lpspi-slave.dtb",
				       std::string(kBoot) + "qb-vexo-dsi-ili9881c.dtb"};
	for (uint16_t i : {4, 3, 2, 1, 0}) {
		ui::choose(tessel_ui.Test_progrem_Roller_DEVICE_TREE, i);
		EXPECT_EQ(shown(), labels[i]);
		EXPECT_EQ(sim::read(std::string(kBoot) + "qb-vexo.dtb"), sim::read(sources[i])) << labels[i];
	}
	// "Default" comes from the data directory, not from the boot partition.
	EXPECT_CONTAINS(sim::read(std::string(kBoot) + "qb-vexo.dtb"), "simulated device tree qb-vexo-default");
}

// No room for the new copy: the running tree stays as it was and the
// temporary copy is gone. The label still shows the choice.
TEST_F(DeviceTree, FailedCopyLeavesTheOldTreeUntouched)
{
	for (const char *scenario : {"boot_full", "boot_readonly"}) {
		board({"healthy", scenario});
		ui::show_test_screen();
		std::string target = std::string(kBoot) + "qb-vexo.dtb";
		std::string old = sim::read(target);
		ino_t inode = inode_of(target);
		std::string listing = boot_listing();
		console([] { ui::choose(tessel_ui.Test_progrem_Roller_DEVICE_TREE, 2); });
		EXPECT_EQ(sim::read(target), old) << scenario;
		EXPECT_EQ(inode_of(target), inode) << scenario;
		EXPECT_EQ(boot_listing(), listing) << scenario;
		EXPECT_CONTAINS(err(), "Device tree not changed: could not install "
				       "/run/media/boot-mmcblk1p1/qb-vexo-lpspi.dtb");
		EXPECT_EQ(shown(), "qb-vexo-lpspi.dtb");
		EXPECT_EQ(ui::text_color(tessel_ui.Test_progrem_Device_Tree), kSelected);
	}
}

TEST_F(DeviceTree, UnmountedBootPartition)
{
	board({"healthy", "boot_unmounted"});
	ui::show_test_screen();
	console([] { ui::choose(tessel_ui.Test_progrem_Roller_DEVICE_TREE, 1); });
	EXPECT_CONTAINS(err(), "Device tree not changed");
	EXPECT_FALSE(sim::exists(kBoot));
	EXPECT_EQ(shown(), "qb-vexo-uart7.dtb");
	EXPECT_EQ(ui::text_color(tessel_ui.Test_progrem_Device_Tree), kSelected);
}

TEST_F(DeviceTree, ReturningToTheScreenShowsTheDetectedTreeInBlack)
{
	kernel_log({"[    0.000000] Machine model: board SPI_M"});
	ui::show_test_screen();
	ui::choose(tessel_ui.Test_progrem_Roller_DEVICE_TREE, 4);
	EXPECT_EQ(shown(), "qb-vexo-dsi-ili9881c.dtb");
	ui::show_setup_screen();
	ui::show_test_screen();
	EXPECT_EQ(shown(), "qb-vexo-lpspi.dtb");
	EXPECT_EQ(ui::text_color(tessel_ui.Test_progrem_Device_Tree), kBlack);
	EXPECT_EQ(lv_roller_get_selected(tessel_ui.Test_progrem_Roller_DEVICE_TREE), 0);
}

TEST_F(DeviceTree, RebootYesAsksTheBoardToRestart)
{
	ui::show_reboot_screen();
	sim::clear_calls();
	ui::click(tessel_ui.ReBoot_Screen_btn_Reboot_yes);
	EXPECT_EQ(sim::calls_of("reboot"), (std::vector<std::string>{""}));

	board({"healthy", "reboot_fails"});
	console([] { ui::click(tessel_ui.ReBoot_Screen_btn_Reboot_yes); });
	EXPECT_EQ(sim::calls_of("reboot").size(), 1u);
	EXPECT_EQ(lv_scr_act(), tessel_ui.ReBoot_Screen);  // the confirmation stays
}

} // namespace
