// Navigation between the screens: click timelines, dropped clicks while a
// screen loads, the rebuilt screens, the release of kept screens, and the
// start animation's end frame.
#include "app_support.h"

#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <deque>
#include <string>

#include "events_init.h"
#include "tessel_images.h"
#include "widgets_init.h"

using namespace app_test;

namespace {

// When an object received an event (LVGL ticks), -1 while it has not.
struct Stamp {
	int64_t at = -1;
	int count = 0;
};

void stamp_cb(lv_event_t *e)
{
	Stamp *s = (Stamp *)lv_event_get_user_data(e);
	if (s->at < 0)
		s->at = lv_tick_get();
	s->count++;
}

bool loading()
{
	lv_disp_t *d = lv_disp_get_default();
	return d->prev_scr != NULL || (d->scr_to_load != NULL && d->scr_to_load != lv_scr_act());
}

// Advance in small steps until `done` or `limit_ms`; returns the ticks spent.
template <typename F>
uint32_t advance_until(F done, uint32_t limit_ms, uint32_t step_ms = 5)
{
	uint32_t spent = 0;
	while (!done() && spent < limit_ms) {
		advance_ms(step_ms);
		spent += step_ms;
	}
	return spent;
}

void settle()
{
	advance_until([] { return !loading(); }, 2000, 10);
	advance_ms(50);
}

void click(lv_obj_t *btn)
{
	lv_event_send(btn, LV_EVENT_CLICKED, NULL);
}

// A status file whose line N reads "line N".
void write_status_file()
{
	FILE *f = fopen("zorazu_zove", "w");
	ASSERT_NE(f, nullptr);
	for (int i = 1; i <= 15; i++)
		fprintf(f, "line %d\n", i);
	fclose(f);
}

class Navigation : public ::testing::Test {
protected:
	static void SetUpTestSuite() { init(); }
	void SetUp() override
	{
		reset_screens();
		write_status_file();
		lv_obj_t *blank = lv_scr_act();
		setup_ui(&tessel_ui);
		lv_obj_del(blank);
	}
	void TearDown() override { reset_screens(); }

	// Stamps live as long as the fixture, so a screen deleted after a failed
	// check (in TearDown) still finds its stamp.
	Stamp &watch(lv_obj_t *obj, lv_event_code_t code)
	{
		stamps_.emplace_back();
		lv_obj_add_event_cb(obj, stamp_cb, code, &stamps_.back());
		return stamps_.back();
	}
	std::deque<Stamp> stamps_;

	// From start-up to an idle test screen.
	void to_test_screen()
	{
		click(tessel_ui.Start_btn_1);
		settle();
		ASSERT_EQ(lv_scr_act(), tessel_ui.Test_progrem);
	}
};

TEST_F(Navigation, TapOnStartShowsTestScreenAfter200msAndDeletesStartAfter400ms)
{
	lv_obj_t *start = tessel_ui.Start;
	Stamp &clicked = watch(tessel_ui.Start_btn_1, LV_EVENT_CLICKED);
	Stamp &start_deleted = watch(start, LV_EVENT_DELETE);
	advance_ms(700); // the intro has played

	tap(640, 400);
	ASSERT_GE(clicked.at, 0) << "the tap reached the start button";
	ASSERT_NE(tessel_ui.Test_progrem, nullptr) << "built at once in the click handler";
	lv_obj_t *test = tessel_ui.Test_progrem;
	Stamp &loaded = watch(test, LV_EVENT_SCREEN_LOADED);
	EXPECT_TRUE(tessel_ui.Test_progrem_del) << "flag set again after loading";

	int64_t shown_at = -1;
	while (lv_tick_get() - clicked.at < 600) {
		if (shown_at < 0 && lv_scr_act() == test)
			shown_at = lv_tick_get();
		advance_ms(5);
	}
	// LVGL steps animations on 30 ms ticks and credits a new one with the time
	// since the last tick while others run (here the button's press effect), so
	// the switch may come up to one tick early.
	ASSERT_GE(shown_at, 0);
	EXPECT_GE(shown_at - clicked.at, 200 - 30) << "the start screen stays for the 200 ms delay";
	EXPECT_LE(shown_at - clicked.at, 245);
	ASSERT_GE(start_deleted.at, 0) << "the start screen is deleted at the end of the load";
	EXPECT_GE(start_deleted.at - clicked.at, 400 - 30);
	EXPECT_LE(start_deleted.at - clicked.at, 450);
	EXPECT_EQ(loaded.count, 1);
	EXPECT_LE(loaded.at, start_deleted.at);
	EXPECT_FALSE(loading());
	EXPECT_EQ(lv_disp_get_default()->screen_cnt, 1u + kLayerScreens) << "the start screen never comes back";
}

TEST_F(Navigation, ClickWithNothingElseAnimatingSwitchesAfterTheFullDelay)
{
	lv_obj_t *start = tessel_ui.Start;
	Stamp &start_deleted = watch(start, LV_EVENT_DELETE);
	advance_ms(1000); // the intro is over: no other animation runs
	ASSERT_EQ(lv_anim_count_running(), 0);

	int64_t clicked_at = lv_tick_get();
	click(tessel_ui.Start_btn_1);
	lv_obj_t *test = tessel_ui.Test_progrem;
	Stamp &load_start = watch(test, LV_EVENT_SCREEN_LOAD_START);
	Stamp &loaded = watch(test, LV_EVENT_SCREEN_LOADED);
	Stamp &unloaded = watch(start, LV_EVENT_SCREEN_UNLOADED);
	int64_t shown_at = -1;
	while (lv_tick_get() - clicked_at < 600) {
		advance_ms(5);
		if (shown_at < 0 && lv_scr_act() == test)
			shown_at = lv_tick_get();
	}
	EXPECT_GE(shown_at - clicked_at, 200);
	EXPECT_LE(shown_at - clicked_at, 235);
	EXPECT_EQ(load_start.at, shown_at);
	EXPECT_GE(loaded.at - clicked_at, 400);
	EXPECT_LE(loaded.at - clicked_at, 435);
	// loaded on the new screen, then unloaded and deleted on the old one, in one pass
	EXPECT_EQ(unloaded.at, loaded.at);
	EXPECT_EQ(start_deleted.at, loaded.at);
	EXPECT_EQ(loaded.count, 1);
}

TEST_F(Navigation, TapsBesideTheStartButtonDoNothing)
{
	advance_ms(700);
	const lv_point_t misses[] = {{640, 52}, {640, 58}, {640, 741}, {640, 749}, {60, 400}, {1220, 400}, {640, 790}};
	for (const lv_point_t &p : misses) {
		tap(p.x, p.y);
		advance_ms(500);
		EXPECT_EQ(lv_scr_act(), tessel_ui.Start) << p.x << "," << p.y;
		EXPECT_EQ(tessel_ui.Test_progrem, nullptr) << p.x << "," << p.y;
		EXPECT_FALSE(loading());
	}
}

TEST_F(Navigation, TapDuringTheIntroOpensTheTestScreenAsWell)
{
	advance_ms(200); // mid-animation
	int timers = timer_count();
	tap(640, 400);
	settle();
	EXPECT_EQ(lv_scr_act(), tessel_ui.Test_progrem);
	EXPECT_EQ(lv_disp_get_default()->screen_cnt, 1u + kLayerScreens);
	EXPECT_LE(timer_count(), timers) << "nothing of the intro is left running";
	advance_ms(1000);
}

TEST_F(Navigation, SecondClickDuringALoadIsDropped)
{
	click(tessel_ui.Start_btn_1);
	lv_obj_t *first = tessel_ui.Test_progrem;
	advance_ms(100);
	click(tessel_ui.Start_btn_1); // still on the start screen, in the delay
	EXPECT_EQ(tessel_ui.Test_progrem, first) << "no second build";

	advance_until([&] { return lv_scr_act() == first; }, 500);
	ASSERT_EQ(lv_scr_act(), first);
	ASSERT_TRUE(loading()) << "between switch and end of the load";
	click(tessel_ui.Test_progrem_btn_setup); // on the new screen, before the load has ended
	click(tessel_ui.Test_progrem_btn_Reboot);
	EXPECT_EQ(tessel_ui.Setup_Screen, nullptr);
	EXPECT_EQ(tessel_ui.ReBoot_Screen, nullptr);

	settle();
	advance_ms(500);
	EXPECT_EQ(lv_scr_act(), first) << "nothing was queued";
	EXPECT_EQ(lv_disp_get_default()->screen_cnt, 1u + kLayerScreens);
}

TEST_F(Navigation, EventsOtherThanClickedAreIgnored)
{
	const lv_event_code_t others[] = {LV_EVENT_PRESSED,       LV_EVENT_PRESSING,     LV_EVENT_SHORT_CLICKED,
					  LV_EVENT_LONG_PRESSED,  LV_EVENT_RELEASED,     LV_EVENT_FOCUSED,
					  LV_EVENT_DEFOCUSED,     LV_EVENT_VALUE_CHANGED, LV_EVENT_PRESS_LOST};
	for (lv_event_code_t code : others)
		lv_event_send(tessel_ui.Start_btn_1, code, NULL);
	advance_ms(500);
	EXPECT_EQ(lv_scr_act(), tessel_ui.Start);
	EXPECT_EQ(tessel_ui.Test_progrem, nullptr);

	to_test_screen();
	lv_obj_t *test = tessel_ui.Test_progrem;
	for (lv_event_code_t code : others) {
		lv_event_send(tessel_ui.Test_progrem_btn_setup, code, NULL);
		lv_event_send(tessel_ui.Test_progrem_btn_Reboot, code, NULL);
	}
	advance_ms(500);
	EXPECT_EQ(lv_scr_act(), test);
	EXPECT_EQ(tessel_ui.Setup_Screen, nullptr);
	EXPECT_EQ(tessel_ui.ReBoot_Screen, nullptr);

	click(tessel_ui.Test_progrem_btn_setup);
	settle();
	lv_obj_t *setup = tessel_ui.Setup_Screen;
	ASSERT_EQ(lv_scr_act(), setup);
	for (lv_event_code_t code : others)
		lv_event_send(tessel_ui.Setup_Screen_btn_back, code, NULL);
	advance_ms(500);
	EXPECT_EQ(lv_scr_act(), setup);

	click(tessel_ui.Setup_Screen_btn_back);
	settle();
	click(tessel_ui.Test_progrem_btn_Reboot);
	settle();
	lv_obj_t *reboot = tessel_ui.ReBoot_Screen;
	ASSERT_EQ(lv_scr_act(), reboot);
	lv_obj_t *test_now = tessel_ui.Test_progrem;
	for (lv_event_code_t code : others)
		lv_event_send(tessel_ui.ReBoot_Screen_btn_Reboot_no, code, NULL);
	advance_ms(500);
	EXPECT_EQ(lv_scr_act(), reboot);
	EXPECT_EQ(tessel_ui.Test_progrem, test_now);
}

TEST_F(Navigation, SetupAndBackTwiceBuildsAFreshTestScreenEachTime)
{
	to_test_screen();
	for (int round = 0; round < 2; round++) {
		SCOPED_TRACE(round);
		lv_obj_t *test = tessel_ui.Test_progrem;
		Stamp &test_deleted = watch(test, LV_EVENT_DELETE);

		tap_obj(tessel_ui.Test_progrem_btn_setup);
		ASSERT_NE(tessel_ui.Setup_Screen, nullptr);
		lv_obj_t *setup = tessel_ui.Setup_Screen;
		Stamp &setup_deleted = watch(setup, LV_EVENT_DELETE);
		settle();
		EXPECT_EQ(lv_scr_act(), setup);
		EXPECT_EQ(test_deleted.count, 1) << "the test screen is deleted when the setup screen has loaded";
		EXPECT_EQ(lv_slider_get_value(tessel_ui.Setup_Screen_hdph_slider), 23);
		EXPECT_EQ(lv_slider_get_value(tessel_ui.Setup_Screen_lineout_slider), 0);

		tap_obj(tessel_ui.Setup_Screen_btn_back);
		lv_obj_t *fresh = tessel_ui.Test_progrem;
		ASSERT_TRUE(lv_obj_is_valid(fresh));
		EXPECT_STREQ(lv_label_get_text(tessel_ui.Test_progrem_I2C_Log), "I2C") << "built anew";
		settle();
		EXPECT_EQ(lv_scr_act(), fresh);
		EXPECT_EQ(setup_deleted.count, 1);
		// Filled again from the status file when the screen has loaded.
		EXPECT_EQ(std::string(lv_label_get_text(tessel_ui.Test_progrem_I2C_Log)).rfind("line 1", 0), 0u);
		EXPECT_EQ(std::string(lv_label_get_text(tessel_ui.Test_progrem_RTC_Log)).rfind("line 15", 0), 0u);
		EXPECT_EQ(lv_disp_get_default()->screen_cnt, 1u + kLayerScreens);
	}
}

TEST_F(Navigation, RebootAndNoKeepScreensUntilTheNextOfTheirKindIsBuilt)
{
	to_test_screen();
	lv_obj_t *t1 = tessel_ui.Test_progrem;
	Stamp &t1_deleted = watch(t1, LV_EVENT_DELETE);

	// Test screen -> reboot screen: 100 ms delay, the test screen stays alive.
	Stamp &clicked = watch(tessel_ui.Test_progrem_btn_Reboot, LV_EVENT_CLICKED);
	tap_obj(tessel_ui.Test_progrem_btn_Reboot);
	ASSERT_GE(clicked.at, 0);
	lv_obj_t *r1 = tessel_ui.ReBoot_Screen;
	ASSERT_NE(r1, nullptr);
	uint32_t waited = advance_until([&] { return lv_scr_act() == r1; }, 500);
	EXPECT_GE(lv_tick_get() - clicked.at, 100 - 30) << "at most one animation tick early";
	EXPECT_LE(lv_tick_get() - clicked.at, 145) << waited;
	settle();
	EXPECT_EQ(t1_deleted.count, 0) << "kept while the reboot screen is shown";
	EXPECT_EQ(lv_disp_get_default()->screen_cnt, 2u + kLayerScreens);

	// No: a new test screen after 100 ms; the reboot screen is not deleted by the load.
	Stamp &r1_deleted = watch(r1, LV_EVENT_DELETE);
	Stamp &no_clicked = watch(tessel_ui.ReBoot_Screen_btn_Reboot_no, LV_EVENT_CLICKED);
	tap_obj(tessel_ui.ReBoot_Screen_btn_Reboot_no);
	ASSERT_GE(no_clicked.at, 0);
	lv_obj_t *t2 = tessel_ui.Test_progrem;
	EXPECT_TRUE(lv_obj_is_valid(t2));
	EXPECT_EQ(t1_deleted.count, 1) << "the kept test screen is released before its successor is built";
	Stamp &t2_loaded = watch(t2, LV_EVENT_SCREEN_LOADED);
	advance_until([&] { return lv_scr_act() == t2; }, 500);
	EXPECT_GE(lv_tick_get() - no_clicked.at, 100 - 30);
	EXPECT_LE(lv_tick_get() - no_clicked.at, 145);
	settle();
	EXPECT_EQ(t2_loaded.count, 1) << "the test screen's loaded event still comes";
	EXPECT_GE(t2_loaded.at - no_clicked.at, 300 - 30);
	EXPECT_LE(t2_loaded.at - no_clicked.at, 345);
	EXPECT_EQ(r1_deleted.count, 0) << "the reboot screen is not deleted";
	EXPECT_TRUE(lv_obj_is_valid(r1));
	EXPECT_EQ(std::string(lv_label_get_text(tessel_ui.Test_progrem_I2C_Log)).rfind("line 1", 0), 0u);

	// The next trip to the reboot screen releases the old one first.
	click(tessel_ui.Test_progrem_btn_Reboot);
	EXPECT_EQ(r1_deleted.count, 1);
	EXPECT_NE(tessel_ui.ReBoot_Screen, nullptr);
	settle();
	EXPECT_EQ(lv_scr_act(), tessel_ui.ReBoot_Screen);
	EXPECT_EQ(lv_disp_get_default()->screen_cnt, 2u + kLayerScreens);
}

TEST_F(Navigation, ThousandRebootTripsLeaveThePoolFlat)
{
	to_test_screen();
	lv_disp_t *disp = lv_disp_get_default();

	// One trip: Reboot, wait for the load, No, wait for the load.
	auto trip = [&] {
		click(tessel_ui.Test_progrem_btn_Reboot);
		advance_until([] { return !loading(); }, 1000, 10);
		click(tessel_ui.ReBoot_Screen_btn_Reboot_no);
		advance_until([] { return !loading(); }, 1000, 10);
	};

	// Nothing is drawn meanwhile (the loads are driven by animations alone), and
	// the shell's complaints about an existing Log/ are muted.
	uint32_t refr_period = disp->refr_timer->period;
	lv_timer_set_period(disp->refr_timer, 100000000);
	fflush(stderr);
	int saved_err = dup(2);
	int devnull = open("/dev/null", O_WRONLY);
	dup2(devnull, 2);

	for (int i = 0; i < 3; i++)
		trip();
	uint32_t used_before = pool_used();
	uint32_t max_screens = 0;
	for (int i = 0; i < 1000; i++) {
		trip();
		if (disp->screen_cnt > max_screens)
			max_screens = disp->screen_cnt;
		if (lv_scr_act() != tessel_ui.Test_progrem)
			break;
		if (pool_used() > used_before + 256 * 1024)
			break; // growing: stop before the pool runs out
	}
	uint32_t used_after = pool_used();

	dup2(saved_err, 2);
	close(saved_err);
	close(devnull);
	lv_timer_set_period(disp->refr_timer, refr_period);

	EXPECT_EQ(lv_scr_act(), tessel_ui.Test_progrem);
	EXPECT_EQ(max_screens, 2u + kLayerScreens) << "the shown screen and one kept screen";
	EXPECT_LE(used_after, used_before + 1024) << "before " << used_before << " after " << used_after;
	printf("pool in use: %u bytes after 3 trips, %u after 1003\n", used_before, used_after);
}

// ---- the start animation ----------------------------------------------------------

TEST_F(Navigation, IntroPlaysElevenFramesAndEndsOnTheLast)
{
	lv_obj_t *img = tessel_ui.Start_animimg_1;
	const void *first = &Start_animimg_1Start3_0, *last = &Start_animimg_1Start3_10;
	EXPECT_EQ(lv_img_get_src(img), first);

	bool seen[11] = {};
	bool back_to_first = false;
	for (int t = 0; t < 1200; t += 5) {
		advance_ms(5);
		const void *src = lv_img_get_src(img);
		for (int i = 0; i < 11; i++)
			if (src == (const void *)Start_animimg_1_imgs[i])
				seen[i] = true;
		if (seen[10] && src == first)
			back_to_first = true;
	}
	for (int i = 0; i < 11; i++)
		EXPECT_TRUE(seen[i]) << "frame " << i;
	EXPECT_FALSE(back_to_first) << "never falls back to frame 0 after the last frame";
	EXPECT_EQ(lv_img_get_src(img), last);
	EXPECT_EQ(lv_anim_get(img, NULL), nullptr) << "played once";
	EXPECT_EQ(lv_img_get_src(img), last);
}

TEST_F(Navigation, IntroFrameTimesAreSixtyMillisecondsEach)
{
	lv_obj_t *img = tessel_ui.Start_animimg_1;
	int64_t first_seen[11];
	for (int i = 0; i < 11; i++)
		first_seen[i] = -1;
	uint32_t t0 = lv_tick_get();
	for (int t = 0; t < 900; t += 5) {
		for (int i = 0; i < 11; i++)
			if (first_seen[i] < 0 && lv_img_get_src(img) == (const void *)Start_animimg_1_imgs[i])
				first_seen[i] = lv_tick_get() - t0;
		advance_ms(5);
	}
	for (int i = 1; i < 10; i++) {
		EXPECT_GE(first_seen[i], 60 * i - 5) << "frame " << i;
		EXPECT_LE(first_seen[i], 60 * i + 35) << "frame " << i;
	}
}

TEST_F(Navigation, DeletingTheStartScreenAsTheIntroEndsIsSafe)
{
	// Delete the screen in the very timer pass in which the run ends, then idle on.
	struct Killer {
		static void cb(lv_timer_t *t)
		{
			lv_obj_t *scr = (lv_obj_t *)t->user_data;
			lv_obj_t *fresh = lv_obj_create(NULL);
			lv_scr_load(fresh);
			lv_obj_del(scr);
			lv_timer_del(t);
		}
	};
	int timers = timer_count();
	lv_timer_create(Killer::cb, 660, tessel_ui.Start);
	advance_ms(1000);
	EXPECT_EQ(timer_count(), timers);
	EXPECT_EQ(lv_disp_get_default()->screen_cnt, 1u + kLayerScreens);
}

} // namespace
