// Every verdict a test can write, reached through its button, and the
// tests' edge cases: console, logs and the board tools they called.
#include "board_fixture.h"

#include <set>

namespace {

struct Verdict {
	const char *name;
	std::vector<std::string> scenarios;
	lv_obj_t *lv_ui::*button;
	int line;
	const char *text;
};

void PrintTo(const Verdict &v, std::ostream *os) { *os << v.name; }

const Verdict kVerdicts[] = {
	{"i2c_ok", {"healthy"}, &lv_ui::Test_progrem_btn_i2c, 1, "I2C Test ok"},
	{"i2c_failed", {"healthy", "i2c_bus1_no_0x25"}, &lv_ui::Test_progrem_btn_i2c, 1, "I2C Test failed"},
	{"gpio_ok", {"healthy"}, &lv_ui::Test_progrem_btn_gpio, 2, "GPIO Key Test ok"},
	{"gpio_failed", {"healthy", "gpio_key_error"}, &lv_ui::Test_progrem_btn_gpio, 2, "GPIO Key Test Failed"},
	{"uart_ok", {"healthy"}, &lv_ui::Test_progrem_btn_uart, 3, "UART7 Test ok"},
	{"uart_failed", {"healthy", "uart_dead_line"}, &lv_ui::Test_progrem_btn_uart, 3, "UART7 Test failed"},
	{"spi_master_ok", {"healthy"}, &lv_ui::Test_progrem_btn_spi, 4, "SPI3 Master Test ok"},
	{"spi_master_failed", {"healthy", "spi_slave_dtb"}, &lv_ui::Test_progrem_btn_spi, 4, "SPI3 Master Test Failed"},
	{"spi_slave_ok", {"healthy"}, &lv_ui::Test_progrem_btn_spi, 5, "SPI3 Slave Test ok"},
	{"spi_slave_failed", {"healthy", "spi_master_dtb"}, &lv_ui::Test_progrem_btn_spi, 5, "SPI3 Slave Test Failed"},
	{"adc_ok", {"healthy"}, &lv_ui::Test_progrem_btn_adc, 6, "ADC Test ok"},
	{"adc_failed", {"healthy", "adc_ch0_low"}, &lv_ui::Test_progrem_btn_adc, 6, "ADC Test failed"},
	{"usb1_ok", {"healthy", "usb_port1_last"}, &lv_ui::Test_progrem_btn_usb, 7, "USB1 Test ok"},
	{"usb1_failed", {"healthy", "usb_port1_last", "usb_disk_full"}, &lv_ui::Test_progrem_btn_usb, 7,
	 "USB1 Test failed"},
	{"usb2_ok", {"healthy"}, &lv_ui::Test_progrem_btn_usb, 8, "USB2 Test ok"},
	{"usb2_failed", {"healthy", "usb_no_role"}, &lv_ui::Test_progrem_btn_usb, 8, "USB2 Test failed"},
	{"pl2303_ok", {"healthy"}, &lv_ui::Test_progrem_btn_pl2303, 9, "PL2303 Test ok"},
	{"pl2303_failed", {"healthy", "pl2303_missing"}, &lv_ui::Test_progrem_btn_pl2303, 9, "PL2303 Test failed"},
	{"dsi_ok", {"healthy"}, &lv_ui::Test_progrem_btn_dsi, 10, "MIPI-DSI Test ok"},
	{"dsi_warning", {"healthy", "backlight_clamp"}, &lv_ui::Test_progrem_btn_dsi, 10,
	 "MIPI-DSI Test ok (Warning : Failed to set brightness)"},
	{"dsi_failed", {"healthy", "pwm_no_dsi"}, &lv_ui::Test_progrem_btn_dsi, 10, "MIPI-DSI Test Failed"},
	{"lvds_ok", {"healthy"}, &lv_ui::Test_progrem_btn_lvds, 11, "LVDS Test ok"},
	{"lvds_warning", {"healthy", "backlight_clamp"}, &lv_ui::Test_progrem_btn_lvds, 11,
	 "LVDS Test ok (Warning : Failed to set brightness)"},
	{"lvds_failed", {"healthy", "pwm_missing"}, &lv_ui::Test_progrem_btn_lvds, 11, "LVDS Test Failed"},
	{"audio_ok", {"healthy"}, &lv_ui::Test_progrem_btn_audio, 12, "Audio Default Sgtl5000 ok"},
	{"audio_not_found", {"healthy", "audio_no_playback_devices"}, &lv_ui::Test_progrem_btn_audio, 12,
	 "Audio Sgtl5000 Device Not Found"},
	{"audio_failed", {"healthy", "audio_no_sgtl5000"}, &lv_ui::Test_progrem_btn_audio, 12,
	 "Audio Default Sgtl5000 Failed"},
	{"mqs_ok", {"healthy"}, &lv_ui::Test_progrem_btn_mqs, 13, "Audio MQS ok"},
	{"mqs_not_found", {"healthy", "audio_no_playback_devices"}, &lv_ui::Test_progrem_btn_mqs, 13,
	 "MQS Device Not Found"},
	{"mqs_failed", {"healthy", "audio_no_mqs"}, &lv_ui::Test_progrem_btn_mqs, 13, "Audio MQS Failed"},
	{"csi_ok", {"healthy"}, &lv_ui::Test_progrem_btn_csi, 14, "CSI Test ok"},
	{"csi_failed", {"healthy", "camera_empty"}, &lv_ui::Test_progrem_btn_csi, 14, "CSI Test failed"},
	{"rtc_ok", {"healthy"}, &lv_ui::Test_progrem_btn_rtc, 15, "RTC Test ok"},
	{"rtc_failed", {"healthy", "rtc_not_busy"}, &lv_ui::Test_progrem_btn_rtc, 15, "RTC Test failed"},
};

class EveryVerdict : public BoardTest, public ::testing::WithParamInterface<Verdict> {};

// The button writes its verdict into its own line (the SPI button into
// lines 4 and 5) and the label shows it; every other line stays.
TEST_P(EveryVerdict, ButtonWritesItsLineAndLabel)
{
	const Verdict &v = GetParam();
	board(v.scenarios);
	fresh_screen();
	console([&] { ui::click(tessel_ui.*v.button); });
	auto lines = status_lines();
	ASSERT_EQ(lines.size(), 15u);
	EXPECT_EQ(lines[v.line - 1], v.text);
	EXPECT_EQ(ui::text(ui::result_label(v.line)), std::string(v.text) + "\n");
	std::set<int> written = {v.line};
	if (v.button == &lv_ui::Test_progrem_btn_spi)
		written = {4, 5};
	for (int line = 1; line <= 15; line++) {
		if (!written.count(line)) {
			EXPECT_EQ(lines[line - 1], "not yet") << "line " << line;
		}
	}
	EXPECT_EQ(ui::results(), as_labels(lines));
}

INSTANTIATE_TEST_SUITE_P(Board, EveryVerdict, ::testing::ValuesIn(kVerdicts),
			 [](const ::testing::TestParamInfo<Verdict> &info) { return std::string(info.param.name); });

// --- Bus and peripheral tests -------------------------------------------

using BusTests = BoardTest;

TEST_F(BusTests, I2cDumpsEveryExpectedAddressOnTheHealthyBoard)
{
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_i2c); });
	EXPECT_EQ(sim::calls_of("i2cdetect"), (std::vector<std::string>{"-r -y 0", "-r -y 1", "-r -y 2"}));
	EXPECT_EQ(sim::calls_of("i2cdump"),
		  (std::vector<std::string>{"-y 0 0x0a", "-y 1 0x22", "-y 1 0x25", "-y 2 0x32"}));
	EXPECT_CONTAINS(out(), "I2C Test ===================================\n\n");
	EXPECT_CONTAINS(out(), "\nI2C Test ok\n");
	EXPECT_FALSE(sim::exists("Log/Log_I2C"));
}

TEST_F(BusTests, I2cStopsABusAtItsFirstMissingAddress)
{
	board({"healthy", "i2c_bus1_no_0x22"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_i2c); });
	EXPECT_EQ(sim::calls_of("i2cdump"), (std::vector<std::string>{"-y 0 0x0a", "-y 1 0x22", "-y 2 0x32"}));
	EXPECT_EQ(status_lines()[0], "I2C Test failed");
	EXPECT_CONTAINS(out(), "\nI2C Test failed\n");
}

TEST_F(BusTests, GpioLogsKeysAndInputDevices)
{
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_gpio); });
	std::string logged = log("Log_GPIO");
	EXPECT_EQ(sim::count(logged, "Key-K"), 2u);
	EXPECT_LACKS(logged, "arch_timer");
	EXPECT_CONTAINS(logged, "N: Name=\"gpio-keys\"");
	EXPECT_CONTAINS(out(), "GPIO Key Test ok \n\n");
	EXPECT_CONTAINS(out(), "Result is valid: 210:");
}

// No interrupt names a key and the test still passes: the listing only
// fails on an error text.
TEST_F(BusTests, GpioPassesWithoutAnyKeyInterrupt)
{
	board({"healthy", "gpio_no_keys"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_gpio); });
	EXPECT_EQ(status_lines()[1], "GPIO Key Test ok");
	EXPECT_EQ(log("Log_GPIO").rfind("I: Bus=0019", 0), 0u);  // nothing before the device list
}

TEST_F(BusTests, UartLoopbackSendsOneLineAndCleansUp)
{
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_uart); });
	EXPECT_EQ(sim::calls_of("memtool"), (std::vector<std::string>{"0x443C0030 1"}));
	EXPECT_EQ(sim::calls_of("stty"), (std::vector<std::string>{"-F /dev/ttyLP6 115200 raw -echo"}));
	EXPECT_CONTAINS(out(), "memtool Result is valid: Reading");
	EXPECT_CONTAINS(out(), "uart test\nUART content is correct.\nUART7 Test ok \n\n");
	EXPECT_FALSE(sim::exists("uart"));
}

TEST_F(BusTests, UartWithoutLoopbackReceivesNothing)
{
	board({"healthy", "uart_dead_line"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_uart); });
	EXPECT_CONTAINS(out(), "UART content is incorrect.");
	EXPECT_LACKS(out(), "uart test\n");
	EXPECT_EQ(status_lines()[2], "UART7 Test failed");
	EXPECT_FALSE(sim::exists("uart"));
}

TEST_F(BusTests, UartWithoutTtyLP5SkipsMemtool)
{
	board({"healthy", "uart_no_lp5"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_uart); });
	EXPECT_TRUE(sim::calls_of("memtool").empty());
	EXPECT_CONTAINS(out(),
			"UART7 Test failed : Please confirm that the Device Tree is set to qb-vexo-lpuart7.dtb \n\n");
	EXPECT_CONTAINS(out(), "Result is invalid: /dev/ttyLP0\n/dev/ttyLP6 \n");
	EXPECT_EQ(status_lines()[2], "UART7 Test failed");
}

TEST_F(BusTests, UartWithAWrongRegisterWordFails)
{
	board({"healthy", "uart_memtool_bad"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_uart); });
	EXPECT_CONTAINS(out(), "UART7 Test failed \n\n");
	EXPECT_CONTAINS(out(), "memtool Result is invalid: Reading");
	EXPECT_TRUE(sim::calls_of("stty").empty());
	EXPECT_EQ(status_lines()[2], "UART7 Test failed");
}

// With the master device tree the slave half fails; its error goes to the
// console and into its message, not into the log.
TEST_F(BusTests, SpiWithTheMasterDeviceTree)
{
	board({"healthy", "spi_master_dtb"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_spi); });
	auto lines = status_lines();
	EXPECT_EQ(lines[3], "SPI3 Master Test ok");
	EXPECT_EQ(lines[4], "SPI3 Slave Test Failed");
	EXPECT_EQ(sim::calls_of("spidev_test").size(), 2u);  // once for the verdict, once for the log
	std::string logged = log("Log_SPI");
	EXPECT_EQ(logged.rfind("/dev/spidev0.0\nspi mode: 0x0\n", 0), 0u);
	EXPECT_LACKS(logged, "No such file or directory");
	EXPECT_CONTAINS(out(), "SPI3 Slave Test Failed : Please confirm that the Device Tree is set to "
			       "qb-vexo-lpspi-slave.dtb \n\n");
	EXPECT_CONTAINS(out(), "Result is invalid: cat: /sys/class/spi_slave/spi0/uevent: No such file or directory");
	EXPECT_CONTAINS(out(), "cat: /sys/class/spi_slave/spi0/uevent: No such file or directory\nSPI3 Slave");
}

TEST_F(BusTests, SpiWithTheSlaveDeviceTree)
{
	board({"healthy", "spi_slave_dtb"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_spi); });
	auto lines = status_lines();
	EXPECT_EQ(lines[3], "SPI3 Master Test Failed");
	EXPECT_EQ(lines[4], "SPI3 Slave Test ok");
	EXPECT_TRUE(sim::calls_of("spidev_test").empty());
	EXPECT_CONTAINS(out(), "Please confirm that the Device Tree is set to qb-vexo-lpspi.dtb \n\n");
	// The log: the slave's uevent appended to an empty listing.
	EXPECT_EQ(log("Log_SPI").rfind("OF_NAME=spi\n", 0), 0u);
}

TEST_F(BusTests, SpiMasterThatCannotOpenTheDevice)
{
	board({"healthy", "spi_cannot_open"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_spi); });
	EXPECT_EQ(status_lines()[3], "SPI3 Master Test Failed");
	EXPECT_CONTAINS(out(), "SPI3 Master Test Failed \n\nResult is valid: /dev/spidev0.0\nResult is invalid: can't open device");
}

TEST_F(BusTests, AdcBoundsAreInclusive)
{
	board({"healthy", "adc_ch1_at_limit"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_adc); });
	EXPECT_CONTAINS(out(), "The value of in_voltage1_raw is 3900 and is within range\n");
	EXPECT_EQ(status_lines()[5], "ADC Test ok");
}

TEST_F(BusTests, AdcReadsEveryChannelAfterAFailure)
{
	board({"healthy", "adc_ch0_low"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_adc); });
	EXPECT_CONTAINS(out(), "ADC Slave Test ==================================\n\n"
			       "The value of in_voltage0_raw is 3899 and is not within range\n"
			       "The value of in_voltage1_raw is 3700 and is within range\n"
			       "The value of in_voltage2_raw is 2000 and is within range\n"
			       "The value of in_voltage3_raw is 2 and is within range\n"
			       "ADC Test failed\n");
	EXPECT_EQ(status_lines()[5], "ADC Test failed");
}

// An unreadable channel has no value, which is no number in its range.
TEST_F(BusTests, AdcUnreadableChannelFails)
{
	board({"healthy", "adc_ch2_missing"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_adc); });
	EXPECT_CONTAINS(out(), "The value of in_voltage2_raw is  and is not within range\n");
	EXPECT_EQ(status_lines()[5], "ADC Test failed");
}

TEST_F(BusTests, Pl2303WithoutTheAdapter)
{
	board({"healthy", "pl2303_missing"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_pl2303); });
	EXPECT_TRUE(sim::exists("Log/Log_PL2303"));
	EXPECT_EQ(log("Log_PL2303"), "");
	EXPECT_CONTAINS(out(), "ls: cannot access '/dev/ttyUSB0': No such file or directory");
	EXPECT_EQ(status_lines()[8], "PL2303 Test failed");
}

TEST_F(BusTests, Pl2303LogsTheDevice)
{
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_pl2303); });
	EXPECT_EQ(log("Log_PL2303"), "/dev/ttyUSB0\n");
	EXPECT_CONTAINS(out(), "PL2303 Test =================================\n\n");
}

TEST_F(BusTests, RtcChipNotHeldByItsDriverPrintsTheDump)
{
	board({"healthy", "rtc_not_busy"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_rtc); });
	EXPECT_CONTAINS(out(), "Found RTC Deivce \n\nResult is valid /dev/rtc0\n/dev/rtc1 \n\n");
	EXPECT_CONTAINS(out(), "Result is invalid: \n\nNo size specified");
	EXPECT_CONTAINS(out(), "f0: ff ff ff");
	EXPECT_CONTAINS(out(), "RTC Test Failed \n\n");
	EXPECT_EQ(sim::calls_of("i2cdump"), (std::vector<std::string>{"-y 2 0x32", "-y 2 0x32"}));
	EXPECT_EQ(status_lines()[14], "RTC Test failed");
}

TEST_F(BusTests, RtcWithoutTheDeviceNode)
{
	board({"healthy", "rtc_missing"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_rtc); });
	EXPECT_CONTAINS(out(), "Result is invalid: /dev/rtc0 \n\n");
	EXPECT_CONTAINS(out(), "Result is invalid:  \n\nRTC Test Failed \n\n");
	EXPECT_TRUE(sim::calls_of("i2cdump").empty());
	EXPECT_EQ(sim::calls_of("i2cdetect"), (std::vector<std::string>{"-r -y 2"}));
	EXPECT_EQ(status_lines()[14], "RTC Test failed");
}

// --- Display, audio and camera tests ----------------------------------------

using MediaTests = BoardTest;

TEST_F(MediaTests, BacklightStepsToFullBrightness)
{
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_dsi); });
	EXPECT_CONTAINS(out(), "MIPI-DSI Test ==================================\n\nMIPI-DSI Test ok \n\n"
			       "Brightness set to 20\nBrightness set to 40\nBrightness set to 60\n"
			       "Brightness set to 80\nBrightness set to 100\n");
	EXPECT_EQ(sim::read("/sys/class/backlight/dsi_backlight/brightness"), "100\n");
	std::string logged = log("Log_DSI");
	EXPECT_EQ(logged.rfind("platform/44310000.pwm", 0), 0u);
	EXPECT_CONTAINS(logged, "polarity: normal\n50\n20\n40\n60\n80\n100\n");
	EXPECT_EQ(sim::read("/sys/class/backlight/lvds_backlight/brightness"), "50\n");
}

// A driver that caps the brightness: 60 reads back as 50 and the loop stops.
TEST_F(MediaTests, BacklightThatCannotReachAValueWarns)
{
	board({"healthy", "backlight_clamp"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_lvds); });
	EXPECT_CONTAINS(out(), "LVDS Test ok \n\nBrightness set to 20\nBrightness set to 40\n"
			       "Failed to set brightness to 60\n");
	EXPECT_LACKS(out(), "to 80");
	EXPECT_CONTAINS(log("Log_LVDS"), "polarity: normal\n50\n20\n40\n50\n");
	EXPECT_EQ(sim::count(log("Log_LVDS"), "\n50\n"), 2u);
	EXPECT_EQ(status_lines()[10], "LVDS Test ok (Warning : Failed to set brightness)");
}

TEST_F(MediaTests, BacklightMissingFromThePwmListingFailsAtOnce)
{
	board({"healthy", "pwm_no_dsi"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_dsi); });
	EXPECT_CONTAINS(out(), "MIPI-DSI Test Failed \n\nResult is invalid: platform/42500000.pwm");
	EXPECT_EQ(sim::read("/sys/class/backlight/dsi_backlight/brightness"), "50\n");  // untouched
	EXPECT_EQ(status_lines()[9], "MIPI-DSI Test Failed");
}

TEST_F(MediaTests, BacklightWithoutBrightnessFile)
{
	board({"healthy", "dsi_no_brightness"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_dsi); });
	EXPECT_CONTAINS(out(), "Brightness Result is invalid: cat: /sys/class/backlight/dsi_backlight/brightness: "
			       "No such file or directory \n\n");
	EXPECT_EQ(status_lines()[9], "MIPI-DSI Test Failed");
}

TEST_F(MediaTests, AudioPlaysOnTheListedDevices)
{
	fresh_screen();
	console([] {
		ui::click(tessel_ui.Test_progrem_btn_audio);
		ui::click(tessel_ui.Test_progrem_btn_mqs);
	});
	EXPECT_EQ(sim::calls_of("aplay"), (std::vector<std::string>{"-l", "-l", "-D plughw:1,0 Audio_sgtl5000.WAV",
								     "-l", "-l", "-D plughw:0,0 Audio_MQS.WAV"}));
	EXPECT_CONTAINS(out(), "Test : Audio Default Sgtl5000 Test ==================================\n\n"
			       "card: 1\ndevice: 0\n");
	EXPECT_CONTAINS(out(), "Audio MQS Test ==================================\n\ncard: 0\ndevice: 0\n");
	EXPECT_CONTAINS(log("Log_Audio"), "sgtl5000-audio\ncard 1: sgtl5000audio");
	EXPECT_CONTAINS(log("Log_MQS"), "card 0: mqsaudio [mqs-audio]");
	EXPECT_LACKS(log("Log_MQS"), "card 1:");
}

TEST_F(MediaTests, AudioCardWithoutPlaybackDevicePlaysNothing)
{
	board({"healthy", "audio_no_playback_devices"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_audio); });
	EXPECT_EQ(sim::calls_of("aplay"), (std::vector<std::string>{"-l", "-l"}));
	EXPECT_CONTAINS(out(), "card: \ndevice: \nAudio Default Sgtl5000 Failed: Play Device Not Found \n\n");
	EXPECT_EQ(status_lines()[11], "Audio Sgtl5000 Device Not Found");
}

TEST_F(MediaTests, AudioWithoutSoundCards)
{
	board({"healthy", "audio_no_cards"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_mqs); });
	EXPECT_CONTAINS(out(), "Audio MQS Failed \n\nResult is invalid: cat: /proc/asound/cards: No such file or directory");
	EXPECT_TRUE(sim::calls_of("aplay").empty());
	EXPECT_EQ(status_lines()[12], "Audio MQS Failed");
}

TEST_F(MediaTests, CameraPictureIsWrittenAndLogged)
{
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_csi); });
	EXPECT_GT(sim::read("test.jpg").size(), 0u);
	EXPECT_CONTAINS(log("Log_CSI"), "Setting pipeline to PAUSED");
	EXPECT_EQ(sim::calls_of("gst-launch-1.0"),
		  (std::vector<std::string>{"v4l2src device=/dev/video0 num-buffers=1 ! videoconvert ! jpegenc ! "
					    "filesink location=test.jpg"}));
	EXPECT_CONTAINS(out(), "test.jpg file size is not 0\nCSI Test ok \n\n");
}

TEST_F(MediaTests, CameraDeliveringAnEmptyFileFails)
{
	board({"healthy", "camera_empty"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_csi); });
	EXPECT_CONTAINS(out(), "test.jpg file size is 0\nCSI Test Failed \n\n");
	EXPECT_EQ(status_lines()[13], "CSI Test failed");
}

} // namespace
