// The registry's helpers: start-up, the deleted flags, style preparation and
// the generic keyboard callbacks.
#include "app_support.h"

#include <string.h>

#include "tessel_images.h"
#include "widgets_init.h"

using namespace app_test;

namespace {

class Registry : public ::testing::Test {
protected:
	static void SetUpTestSuite() { init(); }
	void SetUp() override { reset_screens(); }
	void TearDown() override { reset_screens(); }
};

TEST_F(Registry, InitScrDelFlagSetsAllFourFlags)
{
	lv_ui ui;
	memset(&ui, 0, sizeof ui);
	init_scr_del_flag(&ui);
	EXPECT_TRUE(ui.Start_del);
	EXPECT_TRUE(ui.Test_progrem_del);
	EXPECT_TRUE(ui.ReBoot_Screen_del);
	EXPECT_TRUE(ui.Setup_Screen_del);
	EXPECT_EQ(ui.Start, nullptr) << "only the flags are touched";
	EXPECT_EQ(ui.Test_progrem, nullptr);
}

TEST_F(Registry, SetupUiShowsTheStartScreenAtOnce)
{
	lv_ui ui;
	memset(&ui, 0, sizeof ui);
	setup_ui(&ui);
	EXPECT_TRUE(ui.Start_del);
	EXPECT_TRUE(ui.Test_progrem_del);
	EXPECT_TRUE(ui.ReBoot_Screen_del);
	EXPECT_TRUE(ui.Setup_Screen_del);
	ASSERT_NE(ui.Start, nullptr);
	EXPECT_EQ(lv_scr_act(), ui.Start) << "loaded without animation";
	lv_disp_t *disp = lv_disp_get_default();
	EXPECT_EQ(disp->scr_to_load == NULL || disp->scr_to_load == ui.Start, true);
	EXPECT_EQ(disp->prev_scr, nullptr);
	EXPECT_EQ(ui.Test_progrem, nullptr) << "only the start screen is built";
	EXPECT_EQ(ui.Setup_Screen, nullptr);
	EXPECT_EQ(ui.ReBoot_Screen, nullptr);
}

TEST_F(Registry, UiInitStyleEmptiesAStyleAndFreesItsArray)
{
	lv_style_t style;
	lv_style_init(&style);
	lv_style_value_t v;
	v.num = 7;
	lv_style_set_prop(&style, LV_STYLE_RADIUS, v);
	lv_style_set_prop(&style, LV_STYLE_BORDER_WIDTH, v);
	lv_style_set_prop(&style, LV_STYLE_PAD_TOP, v);
	ASSERT_EQ(style.prop_cnt, 3);
	uint32_t with_array = pool_used();

	ui_init_style(&style);
	EXPECT_EQ(style.prop_cnt, 0);
	EXPECT_LT(pool_used(), with_array) << "the property array went back to the pool";
	EXPECT_NE(lv_style_get_prop(&style, LV_STYLE_RADIUS, &v), LV_RES_OK);

	// One property lives inline: nothing to free, the style is simply emptied.
	lv_style_set_prop(&style, LV_STYLE_RADIUS, v);
	ASSERT_EQ(style.prop_cnt, 1);
	uint32_t inline_only = pool_used();
	ui_init_style(&style);
	EXPECT_EQ(style.prop_cnt, 0);
	EXPECT_EQ(pool_used(), inline_only);

	// A never-initialised style (garbage, prop_cnt 0) is initialised, not freed.
	lv_style_t fresh;
	memset(&fresh, 0, sizeof fresh);
	ui_init_style(&fresh);
	EXPECT_EQ(fresh.prop_cnt, 0);
	EXPECT_TRUE(lv_style_is_empty(&fresh));
}

class KeyboardCallbacks : public Registry {
protected:
	void SetUp() override
	{
		Registry::SetUp();
		parent = lv_obj_create(lv_scr_act());
		kb = lv_obj_create(parent); // stands in for a keyboard
		ta = lv_obj_create(parent); // stands in for a text area
		other = lv_obj_create(parent);
		lv_obj_add_flag(kb, LV_OBJ_FLAG_HIDDEN);
		lv_obj_add_event_cb(ta, ta_event_cb, LV_EVENT_ALL, kb);
		lv_obj_add_event_cb(kb, kb_event_cb, LV_EVENT_ALL, NULL);
	}
	lv_obj_t *parent, *kb, *ta, *other;
};

TEST_F(KeyboardCallbacks, TextAreaFocusOrClickRaisesAndShowsTheKeyboard)
{
	lv_event_send(ta, LV_EVENT_FOCUSED, NULL);
	EXPECT_EQ(lv_obj_get_index(kb), 2u) << "on top of its siblings";
	EXPECT_FALSE(lv_obj_has_flag(kb, LV_OBJ_FLAG_HIDDEN));

	lv_event_send(ta, LV_EVENT_DEFOCUSED, NULL);
	EXPECT_EQ(lv_obj_get_index(kb), 0u);
	EXPECT_TRUE(lv_obj_has_flag(kb, LV_OBJ_FLAG_HIDDEN));

	lv_event_send(ta, LV_EVENT_CLICKED, NULL);
	EXPECT_EQ(lv_obj_get_index(kb), 2u);
	EXPECT_FALSE(lv_obj_has_flag(kb, LV_OBJ_FLAG_HIDDEN));

	lv_event_send(ta, LV_EVENT_CANCEL, NULL);
	EXPECT_EQ(lv_obj_get_index(kb), 0u);
	EXPECT_TRUE(lv_obj_has_flag(kb, LV_OBJ_FLAG_HIDDEN));
}

TEST_F(KeyboardCallbacks, OtherTextAreaEventsLeaveTheKeyboardAlone)
{
	lv_event_send(ta, LV_EVENT_FOCUSED, NULL);
	const lv_event_code_t others[] = {LV_EVENT_PRESSED, LV_EVENT_RELEASED, LV_EVENT_VALUE_CHANGED, LV_EVENT_READY};
	for (lv_event_code_t code : others) {
		lv_event_send(ta, code, NULL);
		EXPECT_EQ(lv_obj_get_index(kb), 2u) << code;
		EXPECT_FALSE(lv_obj_has_flag(kb, LV_OBJ_FLAG_HIDDEN)) << code;
	}
}

TEST_F(KeyboardCallbacks, KeyboardHidesOnReadyOrCancelOnly)
{
	lv_obj_clear_flag(kb, LV_OBJ_FLAG_HIDDEN);
	lv_event_send(kb, LV_EVENT_VALUE_CHANGED, NULL);
	lv_event_send(kb, LV_EVENT_CLICKED, NULL);
	EXPECT_FALSE(lv_obj_has_flag(kb, LV_OBJ_FLAG_HIDDEN));
	lv_event_send(kb, LV_EVENT_READY, NULL);
	EXPECT_TRUE(lv_obj_has_flag(kb, LV_OBJ_FLAG_HIDDEN));

	lv_obj_clear_flag(kb, LV_OBJ_FLAG_HIDDEN);
	lv_event_send(kb, LV_EVENT_CANCEL, NULL);
	EXPECT_TRUE(lv_obj_has_flag(kb, LV_OBJ_FLAG_HIDDEN));
	EXPECT_EQ(lv_obj_get_index(kb), 0u) << "the keyboard's own callback does not move it";
}

} // namespace
