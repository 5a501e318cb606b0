// The headphone and line-out controls of the setup screen.
#include "board_fixture.h"
#include "board_handlers.h"

namespace {

class Mixer : public BoardTest {
protected:
	void SetUp() override
	{
		BoardTest::SetUp();
		if (IsSkipped())
			return;
		ui::show_setup_screen();
		sim::clear_calls();
	}
	static std::vector<std::string> amixer() { return sim::calls_of("amixer"); }
};

const std::string kHpOn = "-c 1 set Headphone Playback Switch on";
const std::string kHpOff = "-c 1 set Headphone Playback Switch off";
const std::string kLoOn = "-c 1 set Lineout Playback Switch on";
const std::string kLoOff = "-c 1 set Lineout Playback Switch off";

TEST_F(Mixer, HeadphoneOffAndBackOn)
{
	ui::slide(tessel_ui.Setup_Screen_hdph_slider, 0);
	EXPECT_EQ(amixer(), (std::vector<std::string>{kHpOff}));
	EXPECT_EQ(HD_volume, 0);
	sim::clear_calls();
	ui::slide(tessel_ui.Setup_Screen_hdph_slider, 5);
	EXPECT_EQ(amixer(), (std::vector<std::string>{kHpOn, "-c 1 set Headphone Playback Volume 5"}));
	EXPECT_EQ(HD_volume, 5);
}

TEST_F(Mixer, HeadphoneSwitchesOnAtEveryValue)
{
	for (int v : {1, 127, 127, 64}) {
		ui::slide(tessel_ui.Setup_Screen_hdph_slider, v);
		EXPECT_EQ(amixer(), (std::vector<std::string>{kHpOn, "-c 1 set Headphone Playback Volume " +
									     std::to_string(v)}));
		sim::clear_calls();
	}
}

// Line-out commands go out on release only, with the value at that moment.
TEST_F(Mixer, LineoutSendsOnRelease)
{
	for (int v : {5, 17, 31})
		ui::slide(tessel_ui.Setup_Screen_lineout_slider, v);
	EXPECT_TRUE(amixer().empty());
	ui::release(tessel_ui.Setup_Screen_lineout_slider);
	EXPECT_EQ(amixer(), (std::vector<std::string>{kLoOn, "-c 1 set Lineout Playback Volume 31"}));
	EXPECT_EQ(LO_volume, 31);

	sim::clear_calls();
	ui::release(tessel_ui.Setup_Screen_lineout_slider);  // same value, sent again
	EXPECT_EQ(amixer(), (std::vector<std::string>{kLoOn, "-c 1 set Lineout Playback Volume 31"}));

	sim::clear_calls();
	ui::slide(tessel_ui.Setup_Screen_lineout_slider, 0);
	ui::release(tessel_ui.Setup_Screen_lineout_slider);
	EXPECT_EQ(amixer(), (std::vector<std::string>{kLoOff}));
	EXPECT_EQ(LO_volume, 0);
}

// Through the pointer: the headphone commands follow the knob while it
// moves, the line-out commands wait for the release.
TEST_F(Mixer, DraggingTheSliders)
{
	ui::drag_across(tessel_ui.Setup_Screen_lineout_slider, true, 8);
	EXPECT_EQ(amixer(), (std::vector<std::string>{kLoOn, "-c 1 set Lineout Playback Volume 31"}));
	EXPECT_EQ(lv_slider_get_value(tessel_ui.Setup_Screen_lineout_slider), 31);

	sim::clear_calls();
	ui::drag_across(tessel_ui.Setup_Screen_hdph_slider, false, 8);
	auto calls = amixer();
	ASSERT_GE(calls.size(), 3u);  // several values on the way down
	EXPECT_EQ(calls.back(), kHpOff);
	EXPECT_EQ(calls.front(), kHpOn);
	EXPECT_EQ(HD_volume, 0);
	for (size_t i = 0; i + 1 < calls.size(); i += 2) {
		EXPECT_EQ(calls[i], kHpOn);
		EXPECT_EQ(calls[i + 1].rfind("-c 1 set Headphone Playback Volume ", 0), 0u);
	}
}

TEST_F(Mixer, InitSetsBothSlidersAndSendsThreeCommands)
{
	ui::slide(tessel_ui.Setup_Screen_hdph_slider, 90);
	ui::slide(tessel_ui.Setup_Screen_lineout_slider, 20);
	ui::release(tessel_ui.Setup_Screen_lineout_slider);
	sim::clear_calls();
	ui::click(tessel_ui.Setup_Screen_btn_init);
	EXPECT_EQ(lv_slider_get_value(tessel_ui.Setup_Screen_hdph_slider), 23);
	EXPECT_EQ(lv_slider_get_value(tessel_ui.Setup_Screen_lineout_slider), 0);
	EXPECT_EQ(amixer(), (std::vector<std::string>{kHpOn, "-c 1 set Headphone Playback Volume 23", kLoOff}));
	EXPECT_EQ(HD_volume, 90);  // the slider handlers did not run
	EXPECT_EQ(LO_volume, 20);
}

// Without the card every command still runs; the failures only show on
// the console.
TEST_F(Mixer, MissingCardDoesNotStopTheSequence)
{
	board({"healthy", "mixer_no_card"});
	console([] { ui::slide(tessel_ui.Setup_Screen_hdph_slider, 40); });
	EXPECT_EQ(amixer(), (std::vector<std::string>{kHpOn, "-c 1 set Headphone Playback Volume 40"}));
	EXPECT_EQ(sim::count(err(), "Invalid card number."), 2u);
	EXPECT_EQ(lv_slider_get_value(tessel_ui.Setup_Screen_hdph_slider), 40);
}

} // namespace
