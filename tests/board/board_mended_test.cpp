// Failures that used to pass: a failing player, a camera that delivers
// nothing, a picture left from an earlier run. (The unmounted USB disk and
// the device-tree copy are covered with the USB and device-tree tests.)
#include "board_fixture.h"

#include <unistd.h>

namespace {

using Mended = BoardTest;

TEST_F(Mended, FailingPlayerFailsTheAudioTests)
{
	board({"healthy", "audio_player_fails"});
	fresh_screen();
	console([] {
		ui::click(tessel_ui.Test_progrem_btn_audio);
		ui::click(tessel_ui.Test_progrem_btn_mqs);
	});
	EXPECT_EQ(status_lines()[11], "Audio Default Sgtl5000 Failed");
	EXPECT_EQ(status_lines()[12], "Audio MQS Failed");
	EXPECT_CONTAINS(out(), "Audio Default Sgtl5000 Failed: Playback of Audio_sgtl5000.WAV failed \n\n");
	EXPECT_CONTAINS(out(), "Audio MQS Failed: Playback of Audio_MQS.WAV failed \n\n");
}

TEST_F(Mended, MissingSoundFileFailsTheAudioTest)
{
	fresh_screen();
	unlink("Audio_MQS.WAV");
	console([] {
		ui::click(tessel_ui.Test_progrem_btn_audio);
		ui::click(tessel_ui.Test_progrem_btn_mqs);
	});
	EXPECT_EQ(status_lines()[11], "Audio Default Sgtl5000 ok");
	EXPECT_EQ(status_lines()[12], "Audio MQS Failed");
	EXPECT_CONTAINS(err(), "Audio_MQS.WAV: No such file or directory");
	// A capital "Failed": Run all tries it again.
	std::vector<std::string> lines(15, "x ok");
	lines[12] = "Audio MQS Failed";
	status(lines);
	sim::clear_calls();
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	EXPECT_EQ(sim::calls_of("aplay"), (std::vector<std::string>{"-l", "-l", "-D plughw:0,0 Audio_MQS.WAV"}));
}

TEST_F(Mended, CameraWithoutPictureFails)
{
	board({"healthy", "camera_none"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_csi); });
	EXPECT_CONTAINS(out(), "test.jpg was not written\nCSI Test Failed \n\n");
	EXPECT_EQ(status_lines()[13], "CSI Test failed");
	EXPECT_EQ(ui::text(tessel_ui.Test_progrem_CSI_Log), "CSI Test failed\n");
}

// The picture of an earlier run is removed before the capture, so it
// cannot stand in for a camera that fails now.
TEST_F(Mended, PictureFromAnEarlierRunDoesNotPass)
{
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_csi); });
	ASSERT_EQ(status_lines()[13], "CSI Test ok");
	ASSERT_TRUE(sim::exists("test.jpg"));

	board({"healthy", "camera_missing"});
	console([] { ui::click(tessel_ui.Test_progrem_btn_csi); });
	EXPECT_FALSE(sim::exists("test.jpg"));
	EXPECT_EQ(status_lines()[13], "CSI Test failed");
	EXPECT_CONTAINS(log("Log_CSI"), "Cannot identify device '/dev/video0'");
}

} // namespace
