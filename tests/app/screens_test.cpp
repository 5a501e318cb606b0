// The four screen builders: widget trees in creation order, geometry after
// layout, texts, fonts, images and exactly the local styles each widget gets.
#include "app_support.h"

#include <string.h>

#include <vector>

#include "events_init.h"
#include "tessel_images.h"
#include "widgets_init.h"

extern lv_point_t Test_progrem_line_1[2]; // the divider's points, shared by every build

using namespace app_test;

namespace {

const lv_style_selector_t SEL = LV_PART_MAIN | LV_STATE_DEFAULT;
const lv_style_selector_t SELECTED = LV_PART_SELECTED | LV_STATE_DEFAULT;
const lv_style_selector_t INDICATOR = LV_PART_INDICATOR | LV_STATE_DEFAULT;
const lv_style_selector_t KNOB = LV_PART_KNOB | LV_STATE_DEFAULT;

std::vector<Local> operator+(std::vector<Local> a, const std::vector<Local> &b)
{
	a.insert(a.end(), b.begin(), b.end());
	return a;
}

std::vector<Local> zero_pads()
{
	return {num(LV_STYLE_PAD_TOP, 0), num(LV_STYLE_PAD_BOTTOM, 0), num(LV_STYLE_PAD_LEFT, 0),
		num(LV_STYLE_PAD_RIGHT, 0)};
}

std::vector<Local> panel_styles(lv_opa_t border_opa, uint16_t border_color, lv_opa_t bg_opa, uint16_t grad)
{
	return std::vector<Local>{num(LV_STYLE_BORDER_WIDTH, 4),       num(LV_STYLE_BORDER_OPA, border_opa),
				  color(LV_STYLE_BORDER_COLOR, border_color), num(LV_STYLE_RADIUS, 35),
				  num(LV_STYLE_BG_OPA, bg_opa),          color(LV_STYLE_BG_COLOR, 0xFFFF),
				  num(LV_STYLE_BG_GRAD_DIR, LV_GRAD_DIR_VER), color(LV_STYLE_BG_GRAD_COLOR, grad),
				  num(LV_STYLE_SHADOW_WIDTH, 0)} +
	       zero_pads();
}

std::vector<Local> result_label_styles(const lv_font_t *font)
{
	return std::vector<Local>{num(LV_STYLE_BORDER_WIDTH, 0),       num(LV_STYLE_RADIUS, 0),
				  color(LV_STYLE_TEXT_COLOR, 0x0000),    ptr(LV_STYLE_TEXT_FONT, font),
				  num(LV_STYLE_TEXT_LETTER_SPACE, 2),    num(LV_STYLE_TEXT_LINE_SPACE, 0),
				  num(LV_STYLE_TEXT_ALIGN, LV_TEXT_ALIGN_LEFT), num(LV_STYLE_BG_OPA, 0),
				  num(LV_STYLE_SHADOW_WIDTH, 0)} +
	       zero_pads();
}

std::vector<Local> test_button_styles(const void *face, const lv_font_t *font, uint16_t bg = 0x0000,
				      uint16_t shadow = 0x7BCF, uint16_t recolor = 0xEF5D, uint16_t text = 0x0000)
{
	return std::vector<Local>{num(LV_STYLE_BG_OPA, 255),         color(LV_STYLE_BG_COLOR, bg),
				  num(LV_STYLE_BORDER_WIDTH, 5),       num(LV_STYLE_BORDER_OPA, 52),
				  color(LV_STYLE_BORDER_COLOR, 0x0000), num(LV_STYLE_RADIUS, 5),
				  num(LV_STYLE_SHADOW_WIDTH, 10),      color(LV_STYLE_SHADOW_COLOR, shadow),
				  num(LV_STYLE_SHADOW_OPA, 255),       num(LV_STYLE_SHADOW_SPREAD, 2),
				  num(LV_STYLE_SHADOW_OFS_X, 5),       num(LV_STYLE_SHADOW_OFS_Y, 5),
				  ptr(LV_STYLE_BG_IMG_SRC, face),      num(LV_STYLE_BG_IMG_OPA, 255),
				  color(LV_STYLE_BG_IMG_RECOLOR, recolor), num(LV_STYLE_BG_IMG_RECOLOR_OPA, 254),
				  color(LV_STYLE_TEXT_COLOR, text),    ptr(LV_STYLE_TEXT_FONT, font),
				  num(LV_STYLE_TEXT_ALIGN, LV_TEXT_ALIGN_CENTER)} +
	       zero_pads();
}

std::vector<Local> logo_styles()
{
	return {num(LV_STYLE_IMG_OPA, 255)};
}

// A caption inherits its text style from the button and has none of its own.
const std::vector<Local> kNoStyles;

struct ResultLabel {
	lv_obj_t *obj;
	const char *text;
	lv_coord_t x, y, w, h;
	const lv_font_t *font;
};

struct TestButton {
	lv_obj_t *btn, *label;
	const char *text;
	lv_coord_t x, y, w, h;
	const void *face;
	const lv_font_t *font;
};

class Screens : public ::testing::Test {
protected:
	static void SetUpTestSuite() { init(); }
	void SetUp() override { reset_screens(); }
	void TearDown() override { reset_screens(); }

	void expect_result_labels(lv_obj_t *parent, const std::vector<ResultLabel> &labels, uint32_t first_index)
	{
		for (size_t i = 0; i < labels.size(); i++) {
			const ResultLabel &l = labels[i];
			SCOPED_TRACE(l.text);
			EXPECT_TRUE(is_child(l.obj, &lv_label_class, parent, first_index + (uint32_t)i));
			EXPECT_STREQ(lv_label_get_text(l.obj), l.text);
			EXPECT_EQ(lv_label_get_long_mode(l.obj), LV_LABEL_LONG_WRAP);
			EXPECT_TRUE(has_geometry(l.obj, l.x, l.y, l.w, l.h));
			EXPECT_EQ(lv_obj_get_scrollbar_mode(l.obj), LV_SCROLLBAR_MODE_OFF);
			EXPECT_TRUE(has_exactly_local_styles(l.obj, result_label_styles(l.font)));
			EXPECT_EQ(lv_obj_get_style_text_font(l.obj, LV_PART_MAIN), l.font);
		}
	}

	void expect_test_buttons(lv_obj_t *parent, const std::vector<TestButton> &btns, uint32_t first_index)
	{
		for (size_t i = 0; i < btns.size(); i++) {
			const TestButton &b = btns[i];
			SCOPED_TRACE(b.text);
			EXPECT_TRUE(is_child(b.btn, &lv_btn_class, parent, first_index + (uint32_t)i));
			EXPECT_TRUE(has_geometry(b.btn, b.x, b.y, b.w, b.h));
			EXPECT_EQ(lv_obj_get_scrollbar_mode(b.btn), LV_SCROLLBAR_MODE_OFF);
			EXPECT_TRUE(has_centred_caption(b.btn, b.label, b.text));
			EXPECT_EQ(lv_label_get_long_mode(b.label), LV_LABEL_LONG_WRAP);
			EXPECT_TRUE(has_exactly_local_styles(b.btn, test_button_styles(b.face, b.font)));
			EXPECT_TRUE(has_exactly_local_styles(b.label, kNoStyles));
			// the caption gets the button's font and colour by inheritance
			EXPECT_EQ(lv_obj_get_style_text_font(b.label, LV_PART_MAIN), b.font);
			EXPECT_EQ(lv_obj_get_style_text_color(b.label, LV_PART_MAIN).full, 0x0000);
		}
	}
};

// ---- Start screen -----------------------------------------------------------------

TEST_F(Screens, ResetKeepsTheTopAndSystemLayers)
{
	// The layers are drawn on every refresh: a helper that deleted them would
	// leave the display pointing at freed objects.
	lv_disp_t *disp = lv_disp_get_default();
	lv_obj_t *top = lv_layer_top();
	lv_obj_t *sys = lv_layer_sys();
	ASSERT_NE(top, nullptr);
	ASSERT_NE(sys, nullptr);
	setup_scr_Start(&tessel_ui);
	lv_scr_load(tessel_ui.Start);
	advance_ms(100);
	reset_screens();
	EXPECT_EQ(lv_layer_top(), top);
	EXPECT_EQ(lv_layer_sys(), sys);
	EXPECT_EQ(disp->screen_cnt, 1u + kLayerScreens) << "the fresh screen and the two layers";
	int layers_listed = 0;
	for (uint32_t i = 0; i < disp->screen_cnt; i++)
		layers_listed += disp->screens[i] == top || disp->screens[i] == sys;
	EXPECT_EQ(layers_listed, 2);
	lv_obj_invalidate(lv_scr_act());
	lv_refr_now(disp);
}

TEST_F(Screens, StartScreenIsAnAnimationUnderAnInvisibleButton)
{
	setup_scr_Start(&tessel_ui);
	lv_obj_t *scr = tessel_ui.Start;

	EXPECT_TRUE(is_child(scr, &lv_obj_class, NULL, lv_obj_get_index(scr)));
	EXPECT_EQ(lv_obj_get_parent(scr), nullptr);
	EXPECT_EQ(lv_obj_get_width(scr), 1280);
	EXPECT_EQ(lv_obj_get_height(scr), 800);
	EXPECT_EQ(lv_obj_get_scrollbar_mode(scr), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_exactly_local_styles(scr, {num(LV_STYLE_BG_OPA, 0)})) << "transparent, no colour of its own";
	ASSERT_EQ(lv_obj_get_child_cnt(scr), 2u);

	EXPECT_TRUE(is_child(tessel_ui.Start_animimg_1, &lv_animimg_class, scr, 0));
	EXPECT_TRUE(has_geometry(tessel_ui.Start_animimg_1, 140, 50, 1000, 700));
	EXPECT_EQ(lv_obj_get_scrollbar_mode(tessel_ui.Start_animimg_1), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_exactly_local_styles(tessel_ui.Start_animimg_1, kNoStyles));

	EXPECT_TRUE(is_child(tessel_ui.Start_btn_1, &lv_btn_class, scr, 1));
	EXPECT_TRUE(has_geometry(tessel_ui.Start_btn_1, 140, 59, 1000, 681));
	lv_area_t a = coords(tessel_ui.Start_btn_1);
	EXPECT_EQ(a.x1, 140);
	EXPECT_EQ(a.y1, 59);
	EXPECT_EQ(a.x2, 1139);
	EXPECT_EQ(a.y2, 739);
	EXPECT_EQ(lv_obj_get_scrollbar_mode(tessel_ui.Start_btn_1), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_centred_caption(tessel_ui.Start_btn_1, tessel_ui.Start_btn_1_label, ""));
	EXPECT_TRUE(has_exactly_local_styles(
		tessel_ui.Start_btn_1,
		zero_pads() + std::vector<Local>{num(LV_STYLE_BG_OPA, 0), num(LV_STYLE_BORDER_WIDTH, 0),
						 num(LV_STYLE_RADIUS, 5), num(LV_STYLE_SHADOW_WIDTH, 0),
						 color(LV_STYLE_TEXT_COLOR, 0xFFFF),
						 ptr(LV_STYLE_TEXT_FONT, &lv_font_montserratMedium_16),
						 num(LV_STYLE_TEXT_ALIGN, LV_TEXT_ALIGN_CENTER)}));
	EXPECT_TRUE(has_exactly_local_styles(tessel_ui.Start_btn_1_label, kNoStyles));
}

TEST_F(Screens, StartFramesAreTheElevenPicturesInNumericOrder)
{
	const lv_img_dsc_t *frames[11] = {
		&Start_animimg_1Start3_0, &Start_animimg_1Start3_1, &Start_animimg_1Start3_2, &Start_animimg_1Start3_3,
		&Start_animimg_1Start3_4, &Start_animimg_1Start3_5, &Start_animimg_1Start3_6, &Start_animimg_1Start3_7,
		&Start_animimg_1Start3_8, &Start_animimg_1Start3_9, &Start_animimg_1Start3_10};
	for (int i = 0; i < 11; i++)
		EXPECT_EQ(Start_animimg_1_imgs[i], frames[i]) << "frame " << i;

	setup_scr_Start(&tessel_ui);
	EXPECT_EQ(lv_img_get_src(tessel_ui.Start_animimg_1), (const void *)&Start_animimg_1Start3_0)
		<< "the run starts on the first frame";
}

// ---- Test screen: panels -------------------------------------------------------------

TEST_F(Screens, TestScreenHasElevenChildrenPanelsFirst)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_ui &u = tessel_ui;
	lv_obj_t *scr = u.Test_progrem;

	EXPECT_EQ(lv_obj_get_parent(scr), nullptr);
	EXPECT_TRUE(lv_obj_check_type(scr, &lv_obj_class));
	EXPECT_EQ(lv_obj_get_width(scr), 1280);
	EXPECT_EQ(lv_obj_get_height(scr), 800);
	EXPECT_EQ(lv_obj_get_scrollbar_mode(scr), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_exactly_local_styles(
		scr, {num(LV_STYLE_BG_OPA, 255), color(LV_STYLE_BG_COLOR, 0x979F),
		      num(LV_STYLE_BG_GRAD_DIR, LV_GRAD_DIR_HOR), color(LV_STYLE_BG_GRAD_COLOR, 0x8E7D),
		      ptr(LV_STYLE_BG_IMG_SRC, &_gui_bk_1280x800), num(LV_STYLE_BG_IMG_OPA, 30)}));

	ASSERT_EQ(lv_obj_get_child_cnt(scr), 11u);
	lv_obj_t *order[11] = {u.Test_progrem_backgroud, u.Test_progrem_backgroud2, u.Test_progrem_backgroud3,
			       u.Test_progrem_Device_Tree_back, u.Test_progrem_btn_init, u.Test_progrem_btn_all,
			       u.Test_progrem_line_1, u.Test_progrem_logo, u.Test_progrem_BKO,
			       u.Test_progrem_ZEV, u.Test_progrem_QBVEXO};
	for (int i = 0; i < 11; i++)
		EXPECT_EQ(lv_obj_get_child(scr, i), order[i]) << "child " << i;
}

TEST_F(Screens, TestPanelsSitWhereTheLayoutSays)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_ui &u = tessel_ui;
	struct {
		lv_obj_t *panel;
		lv_coord_t x, y, w, h;
		lv_opa_t border_opa;
		uint16_t border_color;
		lv_opa_t bg_opa;
		uint16_t grad;
		uint32_t children;
	} panels[] = {
		{u.Test_progrem_backgroud, 46, 228, 580, 553, 255, 0xAE7D, 86, 0x4CB9, 16},
		{u.Test_progrem_backgroud2, 670, 228, 580, 384, 255, 0xCE5F, 44, 0x881F, 11},
		{u.Test_progrem_backgroud3, 670, 620, 580, 157, 154, 0x6593, 22, 0x07E8, 3},
	};
	for (auto &p : panels) {
		SCOPED_TRACE(p.x * 1000 + p.y);
		EXPECT_TRUE(lv_obj_check_type(p.panel, &lv_obj_class));
		EXPECT_TRUE(has_geometry(p.panel, p.x, p.y, p.w, p.h));
		lv_area_t a = coords(p.panel);
		EXPECT_EQ(a.x1, p.x);
		EXPECT_EQ(a.y1, p.y);
		EXPECT_EQ(a.x2, p.x + p.w - 1);
		EXPECT_EQ(a.y2, p.y + p.h - 1);
		EXPECT_EQ(lv_obj_get_scrollbar_mode(p.panel), LV_SCROLLBAR_MODE_OFF);
		EXPECT_EQ(lv_obj_get_child_cnt(p.panel), p.children);
		EXPECT_TRUE(has_exactly_local_styles(p.panel, panel_styles(p.border_opa, p.border_color, p.bg_opa,
									     p.grad)));
	}
}

TEST_F(Screens, LeftPanelHoldsNineLabelsThenSevenButtons)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_ui &u = tessel_ui;
	lv_obj_t *panel = u.Test_progrem_backgroud;
	ASSERT_EQ(lv_obj_get_child_cnt(panel), 16u);

	expect_result_labels(panel,
			     {{u.Test_progrem_PL2303_Log, "PL2303", 208, 445, 300, 40, &lv_font_montserratMedium_24},
			      {u.Test_progrem_USB2_Log, "USB2", 208, 400, 300, 30, &lv_font_montserratMedium_20},
			      {u.Test_progrem_USB1_Log, "USB1", 208, 365, 300, 30, &lv_font_montserratMedium_20},
			      {u.Test_progrem_ADC_Log, "ADC", 205, 305, 300, 40, &lv_font_montserratMedium_24},
			      {u.Test_progrem_SPI_S_Log, "SPI Slave", 208, 260, 300, 30, &lv_font_montserratMedium_20},
			      {u.Test_progrem_SPI_M_Log, "SPI Master", 208, 220, 300, 30, &lv_font_montserratMedium_20},
			      {u.Test_progrem_UART_Log, "UART", 208, 165, 300, 40, &lv_font_montserratMedium_24},
			      {u.Test_progrem_GPIO_Log, "GPIO", 208, 95, 300, 40, &lv_font_montserratMedium_24},
			      {u.Test_progrem_I2C_Log, "I2C", 208, 25, 300, 40, &lv_font_montserratMedium_24}},
			     0);
	expect_test_buttons(panel,
			    {{u.Test_progrem_btn_pl2303, u.Test_progrem_btn_pl2303_label, "PL2303 - TEST", 43, 440, 140,
			      50, &_btn_140x50, &lv_font_Antonio_Regular_25},
			     {u.Test_progrem_btn_usb, u.Test_progrem_btn_usb_label, "USB - TEST", 43, 370, 140, 50,
			      &_btn_140x50, &lv_font_Antonio_Regular_30},
			     {u.Test_progrem_btn_adc, u.Test_progrem_btn_adc_label, "ADC - TEST", 43, 300, 140, 50,
			      &_btn_140x50, &lv_font_Antonio_Regular_30},
			     {u.Test_progrem_btn_spi, u.Test_progrem_btn_spi_label, "SPI - TEST", 43, 230, 140, 50,
			      &_btn_140x50, &lv_font_Antonio_Regular_30},
			     {u.Test_progrem_btn_uart, u.Test_progrem_btn_uart_label, "UART - TEST", 43, 160, 140, 50,
			      &_btn_140x50, &lv_font_Antonio_Regular_30},
			     {u.Test_progrem_btn_gpio, u.Test_progrem_btn_gpio_label, "GPIO - TEST", 43, 90, 140, 50,
			      &_btn_140x50, &lv_font_Antonio_Regular_30},
			     {u.Test_progrem_btn_i2c, u.Test_progrem_btn_i2c_label, "I2C - TEST", 43, 20, 140, 50,
			      &_btn_140x50, &lv_font_Antonio_Regular_30}},
			    9);

	// Inside the 4-px border: the I2C button's corner on screen, the odd ADC label at x 205.
	lv_area_t i2c = coords(u.Test_progrem_btn_i2c);
	EXPECT_EQ(i2c.x1, 46 + 4 + 43);
	EXPECT_EQ(i2c.y1, 228 + 4 + 20);
	EXPECT_EQ(coords(u.Test_progrem_ADC_Log).x1, 46 + 4 + 205);
	EXPECT_EQ(coords(u.Test_progrem_UART_Log).x1, 46 + 4 + 208);
}

TEST_F(Screens, UpperRightPanelHoldsFiveLabelsFiveButtonsAndTheGear)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_ui &u = tessel_ui;
	lv_obj_t *panel = u.Test_progrem_backgroud2;
	ASSERT_EQ(lv_obj_get_child_cnt(panel), 11u);

	const lv_font_t *f24 = &lv_font_montserratMedium_24;
	expect_result_labels(panel,
			     {{u.Test_progrem_CSI_Log, "CSI", 211, 305, 300, 40, f24},
			      {u.Test_progrem_MQS_Log, "MQS", 211, 235, 300, 40, f24},
			      {u.Test_progrem_Audio_Log, "Audio", 211, 165, 300, 40, f24},
			      {u.Test_progrem_LVDS_Log, "LVDS", 211, 95, 300, 40, f24},
			      {u.Test_progrem_DSI_Log, "DSI", 211, 25, 300, 40, f24}},
			     0);
	const lv_font_t *a30 = &lv_font_Antonio_Regular_30;
	expect_test_buttons(panel,
			    {{u.Test_progrem_btn_csi, u.Test_progrem_btn_csi_label, "CSI - TEST", 46, 300, 140, 50,
			      &_btn_140x50, a30},
			     {u.Test_progrem_btn_mqs, u.Test_progrem_btn_mqs_label, "MQS - TEST", 46, 230, 140, 50,
			      &_btn_140x50, a30},
			     {u.Test_progrem_btn_audio, u.Test_progrem_btn_audio_label, "Audio - TEST", 46, 160, 140, 50,
			      &_btn_140x50, a30},
			     {u.Test_progrem_btn_lvds, u.Test_progrem_btn_lvds_label, "LVDS - TEST", 46, 90, 140, 50,
			      &_btn_140x50, a30},
			     {u.Test_progrem_btn_dsi, u.Test_progrem_btn_dsi_label, "DSI - TEST", 46, 20, 140, 50,
			      &_btn_140x50, a30}},
			    5);

	// The gear: the empty-captioned, transparent, borderless picture button.
	lv_obj_t *gear = u.Test_progrem_btn_setup;
	EXPECT_TRUE(is_child(gear, &lv_btn_class, panel, 10));
	EXPECT_TRUE(has_geometry(gear, 457, 10, 94, 89));
	EXPECT_EQ(lv_obj_get_scrollbar_mode(gear), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_centred_caption(gear, u.Test_progrem_btn_setup_label, ""));
	EXPECT_TRUE(has_exactly_local_styles(
		gear, zero_pads() + std::vector<Local>{num(LV_STYLE_BG_OPA, 0), num(LV_STYLE_BORDER_WIDTH, 0),
						       num(LV_STYLE_RADIUS, 42), num(LV_STYLE_SHADOW_WIDTH, 0),
						       ptr(LV_STYLE_BG_IMG_SRC, &_setup_94x89),
						       num(LV_STYLE_BG_IMG_OPA, 106), color(LV_STYLE_TEXT_COLOR, 0xFFFF),
						       ptr(LV_STYLE_TEXT_FONT, &lv_font_montserratMedium_25),
						       num(LV_STYLE_TEXT_ALIGN, LV_TEXT_ALIGN_CENTER)}));
	EXPECT_TRUE(has_exactly_local_styles(u.Test_progrem_btn_setup_label, kNoStyles));
}

TEST_F(Screens, LowerRightPanelHoldsNoteRtcLabelAndTheOddRtcButton)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_ui &u = tessel_ui;
	lv_obj_t *panel = u.Test_progrem_backgroud3;
	ASSERT_EQ(lv_obj_get_child_cnt(panel), 3u);

	expect_result_labels(panel,
			     {{u.Test_progrem_label_simple, "* Only simple test", 52, 74, 319, 26,
			       &lv_font_montserratMedium_18},
			      {u.Test_progrem_RTC_Log, "RTC", 210, 19, 300, 40, &lv_font_montserratMedium_24}},
			     0);
	expect_test_buttons(panel,
			    {{u.Test_progrem_btn_rtc, u.Test_progrem_btn_rtc_label, "RTC - TEST", 45, 14, 139, 54,
			      &_btn_139x54, &lv_font_Antonio_Regular_30}},
			    2);
}

// ---- Test screen: header -------------------------------------------------------------

TEST_F(Screens, DeviceTreePanelHoldsRebootFileNameRollerTitleInThatOrder)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_ui &u = tessel_ui;
	lv_obj_t *panel = u.Test_progrem_Device_Tree_back;

	EXPECT_TRUE(is_child(panel, &lv_obj_class, u.Test_progrem, 3));
	EXPECT_TRUE(has_geometry(panel, 694, 93, 543, 124));
	EXPECT_EQ(lv_obj_get_scrollbar_mode(panel), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_exactly_local_styles(
		panel, zero_pads() + std::vector<Local>{num(LV_STYLE_BORDER_WIDTH, 0), num(LV_STYLE_RADIUS, 10),
							num(LV_STYLE_BG_OPA, 102), color(LV_STYLE_BG_COLOR, 0x9CD3),
							num(LV_STYLE_SHADOW_WIDTH, 0)}));
	ASSERT_EQ(lv_obj_get_child_cnt(panel), 4u);

	// Reboot: the test-button look with four colours of its own.
	lv_obj_t *reboot = u.Test_progrem_btn_Reboot;
	EXPECT_TRUE(is_child(reboot, &lv_btn_class, panel, 0));
	EXPECT_TRUE(has_geometry(reboot, 401, 61, 115, 39));
	EXPECT_EQ(lv_obj_get_scrollbar_mode(reboot), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_centred_caption(reboot, u.Test_progrem_btn_Reboot_label, "Reboot"));
	EXPECT_TRUE(has_exactly_local_styles(reboot, test_button_styles(&_btn_115x39, &lv_font_Antonio_Regular_30,
									  0xF804, 0x73AE, 0xFFDF, 0xF186)));
	EXPECT_TRUE(has_exactly_local_styles(u.Test_progrem_btn_Reboot_label, kNoStyles));

	expect_result_labels(panel,
			     {{u.Test_progrem_Device_Tree, "qb-vexo.dtb", 124, 61, 266, 35, &lv_font_montserratMedium_20}},
			     1);
	EXPECT_TRUE(is_child(u.Test_progrem_Roller_DEVICE_TREE, &lv_roller_class, panel, 2));
	expect_result_labels(
		panel,
		{{u.Test_progrem_Device_Tree_Title, "QB-VEXO Device Tree", 124, 18, 342, 32, &lv_font_montserratMedium_20}},
		3);
}

TEST_F(Screens, RollerIsOneHundredSquareWithFiveOptionsAndDefaultSelected)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_obj_t *roller = tessel_ui.Test_progrem_Roller_DEVICE_TREE;

	// Height from the theme's 14-px font, 16-px line space and 2-px border at the
	// moment the row count was set: 2 x 2 + 3 x (16 + 16).
	EXPECT_TRUE(has_geometry(roller, 10, 8, 100, 100));
	lv_area_t a = coords(roller);
	EXPECT_EQ(a.x1, 694 + 10);
	EXPECT_EQ(a.y1, 93 + 8);
	EXPECT_EQ(lv_obj_get_scrollbar_mode(roller), LV_SCROLLBAR_MODE_OFF);
	EXPECT_EQ(lv_roller_get_selected(roller), 0);
	EXPECT_EQ(lv_roller_get_option_cnt(roller), 5);

	EXPECT_TRUE(has_exactly_local_styles(
		roller, {num(LV_STYLE_RADIUS, 5), num(LV_STYLE_BG_OPA, 255), color(LV_STYLE_BG_COLOR, 0x52AA),
			 num(LV_STYLE_BG_GRAD_DIR, LV_GRAD_DIR_VER), color(LV_STYLE_BG_GRAD_COLOR, 0x10A2),
			 color(LV_STYLE_TEXT_COLOR, 0xFFFF), ptr(LV_STYLE_TEXT_FONT, &lv_font_montserratMedium_15),
			 num(LV_STYLE_TEXT_ALIGN, LV_TEXT_ALIGN_CENTER), num(LV_STYLE_BORDER_WIDTH, 5),
			 num(LV_STYLE_BORDER_OPA, 255), color(LV_STYLE_BORDER_COLOR, 0xDEDB),
			 num(LV_STYLE_SHADOW_WIDTH, 0), num(LV_STYLE_BG_OPA, 255, SELECTED),
			 color(LV_STYLE_BG_COLOR, 0x963E, SELECTED), num(LV_STYLE_BG_GRAD_DIR, LV_GRAD_DIR_VER, SELECTED),
			 color(LV_STYLE_BG_GRAD_COLOR, 0x3CFE, SELECTED), color(LV_STYLE_TEXT_COLOR, 0xFFFF, SELECTED),
			 ptr(LV_STYLE_TEXT_FONT, &lv_font_montserratMedium_18, SELECTED),
			 num(LV_STYLE_TEXT_ALIGN, LV_TEXT_ALIGN_CENTER, SELECTED)}));

	const char *names[5] = {"Default", "Uart", "SPI_M", "SPI_S", "DSI"};
	char buf[32];
	lv_roller_get_selected_str(roller, buf, sizeof buf);
	EXPECT_STREQ(buf, "Default");
	for (uint16_t i = 0; i < 5; i++) {
		lv_roller_set_selected(roller, i, LV_ANIM_OFF);
		lv_roller_get_selected_str(roller, buf, sizeof buf);
		EXPECT_STREQ(buf, names[i]);
		EXPECT_EQ(lv_roller_get_selected(roller), i);
	}
}

TEST_F(Screens, RollerWrapsPastTheLastOption)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_obj_t *blank = lv_scr_act();
	lv_scr_load(tessel_ui.Test_progrem);
	lv_obj_del(blank);
	lv_obj_t *roller = tessel_ui.Test_progrem_Roller_DEVICE_TREE;
	// Only the turning is under test here, not the device-tree copy behind it.
	lv_obj_remove_event_cb(roller, Test_progrem_Roller_DEVICE_TREE_event_handler);
	advance_ms(100);

	// Rows are the 15-px font's line plus the theme's 16-px line space apart.
	lv_area_t a = coords(roller);
	lv_coord_t cx = (lv_coord_t)((a.x1 + a.x2) / 2), cy = (lv_coord_t)((a.y1 + a.y2) / 2);
	const char *expect[] = {"Uart", "SPI_M", "SPI_S", "DSI", "Default", "Uart"};
	for (int i = 0; i < 6; i++) {
		press(cx, cy);
		advance_ms(60);
		for (int dy = 8; dy <= 31; dy += 8) {
			move_to(cx, (lv_coord_t)(cy - (dy > 31 ? 31 : dy)));
			advance_ms(30);
		}
		move_to(cx, (lv_coord_t)(cy - 31));
		advance_ms(30);
		advance_ms(150); // the finger rests: no throw left at the release
		release();
		advance_ms(600);
		char buf[32];
		lv_roller_get_selected_str(roller, buf, sizeof buf);
		EXPECT_STREQ(buf, expect[i]) << "drag " << i;
		EXPECT_LT(lv_roller_get_selected(roller), 5) << "drag " << i;
	}
}

// Quick drags keep going after the release as on LVGL 8.3 (reference/roller_drag.csv,
// measured there with this roller): the pointer's throw decays by 10 % a step and
// picks the row. Each drag starts from "Default".
TEST_F(Screens, RollerReleaseMomentumAsMeasuredOnLvgl)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_obj_t *blank = lv_scr_act();
	lv_scr_load(tessel_ui.Test_progrem);
	lv_obj_del(blank);
	lv_obj_t *roller = tessel_ui.Test_progrem_Roller_DEVICE_TREE;
	lv_obj_remove_event_cb(roller, Test_progrem_Roller_DEVICE_TREE_event_handler);
	lv_obj_t *label = lv_obj_get_child(roller, 0);
	advance_ms(100);
	EXPECT_EQ(coords(label).y1, -321) << "infinite mode: option 0 on the middle copy";
	EXPECT_EQ(coords(label).x1, 727) << "centred across the content, rounded toward zero";

	FILE *f = fopen(TESSEL_REFERENCE_DIR "/roller_drag.csv", "r");
	ASSERT_NE(f, nullptr);
	char line[256];
	ASSERT_NE(fgets(line, sizeof line, f), nullptr); // header
	int rows = 0;
	int drag, ms, moves, top_release, throw_px, target, moved, option, top_after;
	while (fgets(line, sizeof line, f)) {
		if (sscanf(line, "%d,%d,%d,%d,%d,%d,%d,%d,%d", &drag, &ms, &moves, &top_release, &throw_px, &target,
			   &moved, &option, &top_after) != 9)
			continue;
		rows++;
		lv_roller_set_selected(roller, 0, LV_ANIM_OFF);
		advance_ms(30);
		press(754, 150);
		advance_ms(30);
		for (int m = 1; m <= moves; m++) {
			move_to(754, (lv_coord_t)(150 + drag * m / moves));
			advance_ms(30);
		}
		const lv_coord_t at_release = coords(label).y1;
		release();
		advance_ms(1500);
		SCOPED_TRACE("drag " + std::to_string(drag) + " px in " + std::to_string(ms) + " ms");
		EXPECT_EQ(at_release, top_release);
		EXPECT_EQ(lv_roller_get_selected(roller), option);
		EXPECT_EQ(coords(label).y1, top_after) << "settled on the middle copy";
	}
	fclose(f);
	EXPECT_EQ(rows, 20);
}

TEST_F(Screens, CommandButtonsInitializationFirstAllTestLeftOfIt)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_ui &u = tessel_ui;
	expect_test_buttons(u.Test_progrem,
			    {{u.Test_progrem_btn_init, u.Test_progrem_btn_init_label, "Initialization", 400, 128, 177,
			      54, &_btn_177x54, &lv_font_Antonio_Regular_30},
			     {u.Test_progrem_btn_all, u.Test_progrem_btn_all_label, "All_TEST", 238, 128, 140, 54,
			      &_btn_140x54, &lv_font_Antonio_Regular_30}},
			    4);
	EXPECT_LT(coords(u.Test_progrem_btn_all).x2, coords(u.Test_progrem_btn_init).x1);
}

TEST_F(Screens, DividerLineSharesOnePointArrayAcrossBuilds)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_obj_t *first = tessel_ui.Test_progrem_line_1;
	EXPECT_TRUE(is_child(first, &lv_line_class, tessel_ui.Test_progrem, 6));
	EXPECT_TRUE(has_geometry(first, 40, 93, 1200, 10));
	EXPECT_EQ(lv_obj_get_scrollbar_mode(first), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_exactly_local_styles(first, {num(LV_STYLE_LINE_WIDTH, 10), color(LV_STYLE_LINE_COLOR, 0x73AE),
						     num(LV_STYLE_LINE_OPA, 255), num(LV_STYLE_LINE_ROUNDED, 1)}));
	EXPECT_EQ(Test_progrem_line_1[0].x, 0);
	EXPECT_EQ(Test_progrem_line_1[0].y, 0);
	EXPECT_EQ(Test_progrem_line_1[1].x, 1200);
	EXPECT_EQ(Test_progrem_line_1[1].y, 0);

	setup_scr_Test_progrem(&tessel_ui); // the first tree stays alive
	lv_obj_t *second = tessel_ui.Test_progrem_line_1;
	ASSERT_NE(first, second);

	// Both lines read their extent from the one array: move its end and both follow.
	lv_coord_t w_first = lv_obj_get_self_width(first), w_second = lv_obj_get_self_width(second);
	EXPECT_EQ(w_first, w_second);
	Test_progrem_line_1[1].x = 600;
	EXPECT_EQ(lv_obj_get_self_width(first), w_first - 600);
	EXPECT_EQ(lv_obj_get_self_width(second), w_second - 600);
	Test_progrem_line_1[1].x = 1200;
}

TEST_F(Screens, LogosAreClickablePicturesAtTheirOwnSize)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_ui &u = tessel_ui;
	struct {
		lv_obj_t *img;
		const lv_img_dsc_t *src;
		lv_coord_t x, y, w, h;
		uint32_t index;
	} logos[] = {
		{u.Test_progrem_logo, &_QOR_Logo_alpha_150x55, 1087, 23, 150, 55, 7},
		{u.Test_progrem_BKO, &_BKO_alpha_95x38, 320, 35, 95, 38, 8},
		{u.Test_progrem_ZEV, &_zev_logo_zhtw_alpha_251x65, 46, 14, 251, 65, 9},
		{u.Test_progrem_QBVEXO, &_QBVEXO_alpha_242x75, 542, 7, 242, 75, 10},
	};
	for (auto &l : logos) {
		SCOPED_TRACE(l.index);
		EXPECT_TRUE(is_child(l.img, &lv_img_class, u.Test_progrem, l.index));
		EXPECT_EQ(lv_img_get_src(l.img), (const void *)l.src);
		EXPECT_TRUE(has_geometry(l.img, l.x, l.y, l.w, l.h));
		EXPECT_EQ(l.src->header.w, (uint32_t)l.w);
		EXPECT_EQ(l.src->header.h, (uint32_t)l.h);
		EXPECT_TRUE(lv_obj_has_flag(l.img, LV_OBJ_FLAG_CLICKABLE));
		EXPECT_EQ(lv_obj_get_scrollbar_mode(l.img), LV_SCROLLBAR_MODE_OFF);
		EXPECT_EQ(lv_img_get_angle(l.img), 0);
		lv_point_t pivot;
		lv_img_get_pivot(l.img, &pivot);
		EXPECT_EQ(pivot.x, 50);
		EXPECT_EQ(pivot.y, 50);
		EXPECT_TRUE(has_exactly_local_styles(l.img, logo_styles()));
	}
	// Left to right across the top: ZEV, BKO, QBVEXO, QOR.
	EXPECT_LT(coords(u.Test_progrem_ZEV).x2, coords(u.Test_progrem_BKO).x1);
	EXPECT_LT(coords(u.Test_progrem_BKO).x2, coords(u.Test_progrem_QBVEXO).x1);
	EXPECT_LT(coords(u.Test_progrem_QBVEXO).x2, coords(u.Test_progrem_logo).x1);
}

TEST_F(Screens, SecondTestScreenBuildIsAFreshTreeWithTheShortNames)
{
	setup_scr_Test_progrem(&tessel_ui);
	lv_ui first = tessel_ui;
	lv_label_set_text(first.Test_progrem_I2C_Log, "I2C OK");
	lv_roller_set_selected(first.Test_progrem_Roller_DEVICE_TREE, 3, LV_ANIM_OFF);

	setup_scr_Test_progrem(&tessel_ui);
	EXPECT_TRUE(lv_obj_is_valid(first.Test_progrem)) << "a build never deletes an earlier tree";
	EXPECT_NE(tessel_ui.Test_progrem, first.Test_progrem);
	EXPECT_NE(tessel_ui.Test_progrem_I2C_Log, first.Test_progrem_I2C_Log);
	EXPECT_NE(tessel_ui.Test_progrem_QBVEXO, first.Test_progrem_QBVEXO);
	EXPECT_STREQ(lv_label_get_text(tessel_ui.Test_progrem_I2C_Log), "I2C");
	EXPECT_EQ(lv_roller_get_selected(tessel_ui.Test_progrem_Roller_DEVICE_TREE), 0);
	EXPECT_EQ(lv_obj_get_child_cnt(tessel_ui.Test_progrem), 11u);
	EXPECT_FALSE(tessel_ui.Test_progrem_del) << "builders leave the flag alone";
}

// ---- Setup screen ---------------------------------------------------------------------

std::vector<Local> slider_styles()
{
	return {num(LV_STYLE_BG_OPA, 60),           color(LV_STYLE_BG_COLOR, 0x24BE),
		num(LV_STYLE_RADIUS, 50),           num(LV_STYLE_OUTLINE_WIDTH, 0),
		num(LV_STYLE_SHADOW_WIDTH, 0),      num(LV_STYLE_BG_OPA, 255, INDICATOR),
		color(LV_STYLE_BG_COLOR, 0x24BE, INDICATOR), num(LV_STYLE_RADIUS, 50, INDICATOR),
		num(LV_STYLE_BG_OPA, 255, KNOB),    color(LV_STYLE_BG_COLOR, 0x24BE, KNOB),
		num(LV_STYLE_RADIUS, 50, KNOB)};
}

std::vector<Local> text_label_styles(const lv_font_t *font, lv_text_align_t align)
{
	return std::vector<Local>{num(LV_STYLE_BORDER_WIDTH, 0),    num(LV_STYLE_RADIUS, 0),
				  color(LV_STYLE_TEXT_COLOR, 0x0000), ptr(LV_STYLE_TEXT_FONT, font),
				  num(LV_STYLE_TEXT_LETTER_SPACE, 2), num(LV_STYLE_TEXT_LINE_SPACE, 0),
				  num(LV_STYLE_TEXT_ALIGN, align),    num(LV_STYLE_BG_OPA, 0),
				  num(LV_STYLE_SHADOW_WIDTH, 0)} +
	       zero_pads();
}

std::vector<Local> command_button_styles(uint16_t bg, const lv_font_t *font, lv_opa_t bg_opa = 255)
{
	return zero_pads() + std::vector<Local>{num(LV_STYLE_BG_OPA, bg_opa),
						color(LV_STYLE_BG_COLOR, bg),
						num(LV_STYLE_BORDER_WIDTH, 0),
						num(LV_STYLE_RADIUS, 5),
						num(LV_STYLE_SHADOW_WIDTH, 0),
						color(LV_STYLE_TEXT_COLOR, 0xFFFF),
						ptr(LV_STYLE_TEXT_FONT, font),
						num(LV_STYLE_TEXT_ALIGN, LV_TEXT_ALIGN_CENTER)};
}

TEST_F(Screens, SetupScreenTreeInCreationOrder)
{
	setup_scr_Setup_Screen(&tessel_ui);
	lv_ui &u = tessel_ui;
	lv_obj_t *scr = u.Setup_Screen;

	EXPECT_EQ(lv_obj_get_parent(scr), nullptr);
	EXPECT_EQ(lv_obj_get_width(scr), 1280);
	EXPECT_EQ(lv_obj_get_height(scr), 800);
	EXPECT_EQ(lv_obj_get_scrollbar_mode(scr), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_exactly_local_styles(scr, {num(LV_STYLE_BG_OPA, 203), color(LV_STYLE_BG_COLOR, 0x6B4D),
						   ptr(LV_STYLE_BG_IMG_SRC, &_gui_bk_1280x800),
						   num(LV_STYLE_BG_IMG_OPA, 101)}));
	ASSERT_EQ(lv_obj_get_child_cnt(scr), 1u);

	lv_obj_t *panel = u.Setup_Screen_audio_setup;
	EXPECT_TRUE(is_child(panel, &lv_obj_class, scr, 0));
	EXPECT_TRUE(has_geometry(panel, 110, 89, 836, 535));
	EXPECT_EQ(lv_obj_get_scrollbar_mode(panel), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_exactly_local_styles(
		panel, zero_pads() + std::vector<Local>{num(LV_STYLE_BORDER_WIDTH, 2), num(LV_STYLE_BORDER_OPA, 255),
							color(LV_STYLE_BORDER_COLOR, 0xE71C), num(LV_STYLE_RADIUS, 20),
							num(LV_STYLE_BG_OPA, 160), color(LV_STYLE_BG_COLOR, 0xFFFF),
							num(LV_STYLE_SHADOW_WIDTH, 0)}));
	ASSERT_EQ(lv_obj_get_child_cnt(panel), 13u) << "the captions are the buttons' children";

	// Sliders: the line-out one first although it stands lower.
	struct {
		lv_obj_t *s;
		uint32_t index;
		lv_coord_t y;
		int32_t max, value;
	} sliders[] = {{u.Setup_Screen_lineout_slider, 0, 320, 31, 0}, {u.Setup_Screen_hdph_slider, 2, 125, 127, 23}};
	for (auto &s : sliders) {
		SCOPED_TRACE(s.max);
		EXPECT_TRUE(is_child(s.s, &lv_slider_class, panel, s.index));
		EXPECT_TRUE(has_geometry(s.s, 165, s.y, 520, 15));
		EXPECT_EQ(lv_obj_get_scrollbar_mode(s.s), LV_SCROLLBAR_MODE_OFF);
		EXPECT_EQ(lv_slider_get_min_value(s.s), 0);
		EXPECT_EQ(lv_slider_get_max_value(s.s), s.max);
		EXPECT_EQ(lv_slider_get_value(s.s), s.value);
		EXPECT_TRUE(has_exactly_local_styles(s.s, slider_styles()));
	}
	EXPECT_GT(lv_obj_get_y(u.Setup_Screen_lineout_slider), lv_obj_get_y(u.Setup_Screen_hdph_slider));

	struct {
		lv_obj_t *l;
		uint32_t index;
		const char *text;
		lv_coord_t x, y, w, h;
		const lv_font_t *font;
		lv_text_align_t align;
	} labels[] = {
		{u.Setup_Screen_lineout, 1, "LINE_Out", 20, 280, 200, 30, &lv_font_montserratMedium_22, LV_TEXT_ALIGN_LEFT},
		{u.Setup_Screen_headphone, 3, "Headphone", 20, 75, 200, 30, &lv_font_montserratMedium_22,
		 LV_TEXT_ALIGN_LEFT},
		{u.Setup_Screen_audio_setup_title, 4, "Audio Sgtl5000 Setup", 10, 20, 390, 40,
		 &lv_font_montserratMedium_25, LV_TEXT_ALIGN_LEFT},
		{u.Setup_Screen_label0, 7, "0 ( OFF )", 50, 125, 100, 30, &lv_font_montserratMedium_16,
		 LV_TEXT_ALIGN_CENTER},
		{u.Setup_Screen_label1, 8, "127 ( MAX )", 700, 125, 110, 30, &lv_font_montserratMedium_16,
		 LV_TEXT_ALIGN_CENTER},
		{u.Setup_Screen_label_1, 9, "0 ( OFF )", 50, 320, 100, 30, &lv_font_montserratMedium_16,
		 LV_TEXT_ALIGN_CENTER},
		{u.Setup_Screen_label_2, 10, "31 ( MAX )", 700, 320, 101, 30, &lv_font_montserratMedium_16,
		 LV_TEXT_ALIGN_CENTER},
	};
	for (auto &l : labels) {
		SCOPED_TRACE(l.text);
		EXPECT_TRUE(is_child(l.l, &lv_label_class, panel, l.index));
		EXPECT_STREQ(lv_label_get_text(l.l), l.text);
		EXPECT_EQ(lv_label_get_long_mode(l.l), LV_LABEL_LONG_WRAP);
		EXPECT_TRUE(has_geometry(l.l, l.x, l.y, l.w, l.h));
		EXPECT_EQ(lv_obj_get_scrollbar_mode(l.l), LV_SCROLLBAR_MODE_OFF);
		EXPECT_TRUE(has_exactly_local_styles(l.l, text_label_styles(l.font, l.align)));
	}

	struct {
		lv_obj_t *b, *l;
		uint32_t index;
		const char *text;
		lv_coord_t x;
		uint16_t bg;
	} buttons[] = {{u.Setup_Screen_btn_init, u.Setup_Screen_btn_init_label, 5, "Init", 650, 0x24BE},
		       {u.Setup_Screen_btn_back, u.Setup_Screen_btn_back_label, 6, "Back", 40, 0x4208}};
	for (auto &b : buttons) {
		SCOPED_TRACE(b.text);
		EXPECT_TRUE(is_child(b.b, &lv_btn_class, panel, b.index));
		EXPECT_TRUE(has_geometry(b.b, b.x, 450, 130, 55));
		EXPECT_EQ(lv_obj_get_scrollbar_mode(b.b), LV_SCROLLBAR_MODE_OFF);
		EXPECT_TRUE(has_centred_caption(b.b, b.l, b.text));
		EXPECT_EQ(lv_label_get_long_mode(b.l), LV_LABEL_LONG_WRAP);
		EXPECT_EQ(lv_obj_get_scrollbar_mode(b.l), LV_SCROLLBAR_MODE_AUTO) << "captions keep the default";
		EXPECT_TRUE(has_exactly_local_styles(b.b, command_button_styles(b.bg, &lv_font_montserratMedium_25)));
		EXPECT_TRUE(has_exactly_local_styles(b.l, kNoStyles));
		EXPECT_EQ(lv_obj_get_style_text_font(b.l, LV_PART_MAIN), &lv_font_montserratMedium_25);
	}

	struct {
		lv_obj_t *img;
		uint32_t index;
		const lv_img_dsc_t *src;
		lv_coord_t y;
	} scales[] = {{u.Setup_Screen_img_HD, 11, &_HD_volume_alpha_520x15, 155},
		      {u.Setup_Screen_img_LO, 12, &_LO_volume_alpha_520x15, 350}};
	for (auto &s : scales) {
		SCOPED_TRACE(s.index);
		EXPECT_TRUE(is_child(s.img, &lv_img_class, panel, s.index));
		EXPECT_EQ(lv_img_get_src(s.img), (const void *)s.src);
		EXPECT_TRUE(has_geometry(s.img, 165, s.y, 520, 15));
		EXPECT_TRUE(lv_obj_has_flag(s.img, LV_OBJ_FLAG_CLICKABLE));
		EXPECT_EQ(lv_obj_get_scrollbar_mode(s.img), LV_SCROLLBAR_MODE_OFF);
		EXPECT_TRUE(has_exactly_local_styles(s.img, logo_styles()));
	}
	// 15 px under each slider's lower edge, inside the 2-px border.
	EXPECT_EQ(coords(u.Setup_Screen_img_HD).y1, coords(u.Setup_Screen_hdph_slider).y2 + 1 + 15);
	EXPECT_EQ(coords(u.Setup_Screen_hdph_slider).x1, 110 + 2 + 165);
}

TEST_F(Screens, SetupSlidersStartAt23And0OnEveryBuild)
{
	setup_scr_Setup_Screen(&tessel_ui);
	lv_slider_set_value(tessel_ui.Setup_Screen_hdph_slider, 100, LV_ANIM_OFF);
	lv_slider_set_value(tessel_ui.Setup_Screen_lineout_slider, 31, LV_ANIM_OFF);
	setup_scr_Setup_Screen(&tessel_ui);
	EXPECT_EQ(lv_slider_get_value(tessel_ui.Setup_Screen_hdph_slider), 23);
	EXPECT_EQ(lv_slider_get_value(tessel_ui.Setup_Screen_lineout_slider), 0);
}

// ---- Reboot screen --------------------------------------------------------------------

TEST_F(Screens, RebootScreenTreeInCreationOrder)
{
	setup_scr_ReBoot_Screen(&tessel_ui);
	lv_ui &u = tessel_ui;
	lv_obj_t *scr = u.ReBoot_Screen;

	EXPECT_EQ(lv_obj_get_parent(scr), nullptr);
	EXPECT_EQ(lv_obj_get_width(scr), 1280);
	EXPECT_EQ(lv_obj_get_height(scr), 800);
	EXPECT_EQ(lv_obj_get_scrollbar_mode(scr), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_exactly_local_styles(
		scr, {num(LV_STYLE_BG_OPA, 255), color(LV_STYLE_BG_COLOR, 0x4228), ptr(LV_STYLE_BG_IMG_SRC, &_gui_bk_1280x800),
		      num(LV_STYLE_BG_IMG_OPA, 160), color(LV_STYLE_BG_IMG_RECOLOR, 0x9F1D),
		      num(LV_STYLE_BG_IMG_RECOLOR_OPA, 45)}));
	ASSERT_EQ(lv_obj_get_child_cnt(scr), 1u);

	lv_obj_t *panel = u.ReBoot_Screen_Reboot;
	EXPECT_TRUE(is_child(panel, &lv_obj_class, scr, 0));
	EXPECT_TRUE(has_geometry(panel, 179, 148, 667, 401));
	lv_area_t a = coords(panel);
	EXPECT_EQ(a.x2, 845);
	EXPECT_EQ(a.y2, 548);
	EXPECT_EQ(lv_obj_get_scrollbar_mode(panel), LV_SCROLLBAR_MODE_OFF);
	EXPECT_TRUE(has_exactly_local_styles(
		panel, zero_pads() + std::vector<Local>{num(LV_STYLE_BORDER_WIDTH, 2), num(LV_STYLE_BORDER_OPA, 255),
							color(LV_STYLE_BORDER_COLOR, 0x0000), num(LV_STYLE_RADIUS, 0),
							num(LV_STYLE_BG_OPA, 190), color(LV_STYLE_BG_COLOR, 0x2124),
							num(LV_STYLE_SHADOW_WIDTH, 0)}));
	ASSERT_EQ(lv_obj_get_child_cnt(panel), 4u);

	lv_obj_t *title = u.ReBoot_Screen_Msg_Reboot_Title;
	EXPECT_TRUE(is_child(title, &lv_label_class, panel, 0));
	EXPECT_STREQ(lv_label_get_text(title), "Note");
	EXPECT_TRUE(has_geometry(title, 96, 30, 452, 76));
	EXPECT_EQ(lv_obj_get_scrollbar_mode(title), LV_SCROLLBAR_MODE_OFF);
	EXPECT_EQ(lv_label_get_long_mode(title), LV_LABEL_LONG_WRAP);
	EXPECT_TRUE(has_exactly_local_styles(
		title, zero_pads() + std::vector<Local>{num(LV_STYLE_BORDER_WIDTH, 0), num(LV_STYLE_RADIUS, 0),
							color(LV_STYLE_TEXT_COLOR, 0xB000),
							ptr(LV_STYLE_TEXT_FONT, &lv_font_montserratMedium_50),
							num(LV_STYLE_TEXT_LETTER_SPACE, 2), num(LV_STYLE_TEXT_LINE_SPACE, 0),
							num(LV_STYLE_TEXT_ALIGN, LV_TEXT_ALIGN_CENTER),
							num(LV_STYLE_BG_OPA, 0), num(LV_STYLE_SHADOW_WIDTH, 0)}));

	lv_obj_t *msg = u.ReBoot_Screen_Msg_Reboot;
	EXPECT_TRUE(is_child(msg, &lv_label_class, panel, 2));
	EXPECT_STREQ(lv_label_get_text(msg), "Are you sure you want to restart the system ?");
	EXPECT_TRUE(has_geometry(msg, 51, 103, 552, 161)) << "the light-blue box covers the whole area";
	EXPECT_EQ(lv_obj_get_scrollbar_mode(msg), LV_SCROLLBAR_MODE_OFF);
	EXPECT_EQ(lv_label_get_long_mode(msg), LV_LABEL_LONG_WRAP);
	EXPECT_TRUE(has_exactly_local_styles(
		msg, zero_pads() + std::vector<Local>{num(LV_STYLE_BORDER_WIDTH, 0), num(LV_STYLE_RADIUS, 0),
						      color(LV_STYLE_TEXT_COLOR, 0x0000),
						      ptr(LV_STYLE_TEXT_FONT, &lv_font_montserratMedium_25),
						      num(LV_STYLE_TEXT_LETTER_SPACE, 4), num(LV_STYLE_TEXT_LINE_SPACE, 10),
						      num(LV_STYLE_TEXT_ALIGN, LV_TEXT_ALIGN_CENTER),
						      num(LV_STYLE_BG_OPA, 138), color(LV_STYLE_BG_COLOR, 0xC71F),
						      num(LV_STYLE_SHADOW_WIDTH, 0)}));
	// The question does not fit one 552-px line, so it wraps (second line 25 + 10 px lower).
	lv_point_t last;
	lv_label_get_letter_pos(msg, (uint32_t)strlen("Are you sure you want to restart the system ?") - 1, &last);
	EXPECT_GE(last.y, 35);

	struct {
		lv_obj_t *b, *l;
		uint32_t index;
		const char *text;
		lv_coord_t x, y;
		lv_opa_t opa;
		uint16_t bg;
	} buttons[] = {{u.ReBoot_Screen_btn_Reboot_yes, u.ReBoot_Screen_btn_Reboot_yes_label, 1, "Yes", 122, 303, 149,
			0x557F},
		       {u.ReBoot_Screen_btn_Reboot_no, u.ReBoot_Screen_btn_Reboot_no_label, 3, "No", 368, 305, 131,
			0xF000}};
	for (auto &b : buttons) {
		SCOPED_TRACE(b.text);
		EXPECT_TRUE(is_child(b.b, &lv_btn_class, panel, b.index));
		EXPECT_TRUE(has_geometry(b.b, b.x, b.y, 160, 61));
		EXPECT_EQ(lv_obj_get_scrollbar_mode(b.b), LV_SCROLLBAR_MODE_OFF);
		EXPECT_TRUE(has_centred_caption(b.b, b.l, b.text));
		EXPECT_EQ(lv_label_get_long_mode(b.l), LV_LABEL_LONG_WRAP);
		EXPECT_EQ(lv_obj_get_scrollbar_mode(b.l), LV_SCROLLBAR_MODE_AUTO);
		EXPECT_TRUE(has_exactly_local_styles(b.b, command_button_styles(b.bg, &lv_font_montserratMedium_30, b.opa)));
		EXPECT_TRUE(has_exactly_local_styles(b.l, kNoStyles));
	}
	// Yes and No are two pixels apart in height; the question ends above them.
	EXPECT_EQ(coords(u.ReBoot_Screen_btn_Reboot_no).y1 - coords(u.ReBoot_Screen_btn_Reboot_yes).y1, 2);
	EXPECT_LT(coords(msg).y2, coords(u.ReBoot_Screen_btn_Reboot_yes).y1);
	EXPECT_EQ(coords(u.ReBoot_Screen_btn_Reboot_yes).x1, 179 + 2 + 122);
}

// ---- Handler registration ----------------------------------------------------------------

// Each handler hangs on its object exactly once: removing it succeeds once.
::testing::AssertionResult registered_once(lv_obj_t *obj, lv_event_cb_t cb)
{
	if (!lv_obj_remove_event_cb(obj, cb))
		return ::testing::AssertionFailure() << "not registered";
	if (lv_obj_remove_event_cb(obj, cb))
		return ::testing::AssertionFailure() << "registered more than once";
	return ::testing::AssertionSuccess();
}

TEST_F(Screens, EveryBuilderRegistersItsHandlers)
{
	setup_scr_Start(&tessel_ui);
	setup_scr_Test_progrem(&tessel_ui);
	setup_scr_Setup_Screen(&tessel_ui);
	setup_scr_ReBoot_Screen(&tessel_ui);
	lv_ui &u = tessel_ui;
	struct {
		lv_obj_t *obj;
		lv_event_cb_t cb;
		const char *what;
	} table[] = {
		{u.Start_btn_1, Start_btn_1_event_handler, "Start_btn_1"},
		{u.Test_progrem, Test_progrem_event_handler, "Test_progrem"},
		{u.Test_progrem_btn_pl2303, Test_progrem_btn_pl2303_event_handler, "pl2303"},
		{u.Test_progrem_btn_usb, Test_progrem_btn_usb_event_handler, "usb"},
		{u.Test_progrem_btn_adc, Test_progrem_btn_adc_event_handler, "adc"},
		{u.Test_progrem_btn_spi, Test_progrem_btn_spi_event_handler, "spi"},
		{u.Test_progrem_btn_uart, Test_progrem_btn_uart_event_handler, "uart"},
		{u.Test_progrem_btn_gpio, Test_progrem_btn_gpio_event_handler, "gpio"},
		{u.Test_progrem_btn_i2c, Test_progrem_btn_i2c_event_handler, "i2c"},
		{u.Test_progrem_btn_csi, Test_progrem_btn_csi_event_handler, "csi"},
		{u.Test_progrem_btn_mqs, Test_progrem_btn_mqs_event_handler, "mqs"},
		{u.Test_progrem_btn_audio, Test_progrem_btn_audio_event_handler, "audio"},
		{u.Test_progrem_btn_lvds, Test_progrem_btn_lvds_event_handler, "lvds"},
		{u.Test_progrem_btn_dsi, Test_progrem_btn_dsi_event_handler, "dsi"},
		{u.Test_progrem_btn_setup, Test_progrem_btn_setup_event_handler, "setup"},
		{u.Test_progrem_btn_rtc, Test_progrem_btn_rtc_event_handler, "rtc"},
		{u.Test_progrem_btn_Reboot, Test_progrem_btn_Reboot_event_handler, "Reboot"},
		{u.Test_progrem_Roller_DEVICE_TREE, Test_progrem_Roller_DEVICE_TREE_event_handler, "roller"},
		{u.Test_progrem_btn_init, Test_progrem_btn_init_event_handler, "init"},
		{u.Test_progrem_btn_all, Test_progrem_btn_all_event_handler, "all"},
		{u.ReBoot_Screen_btn_Reboot_yes, ReBoot_Screen_btn_Reboot_yes_event_handler, "yes"},
		{u.ReBoot_Screen_btn_Reboot_no, ReBoot_Screen_btn_Reboot_no_event_handler, "no"},
		{u.Setup_Screen_lineout_slider, Setup_Screen_lineout_slider_event_handler, "lineout"},
		{u.Setup_Screen_hdph_slider, Setup_Screen_hdph_slider_event_handler, "hdph"},
		{u.Setup_Screen_btn_init, Setup_Screen_btn_init_event_handler, "setup init"},
		{u.Setup_Screen_btn_back, Setup_Screen_btn_back_event_handler, "back"},
	};
	for (auto &r : table)
		EXPECT_TRUE(registered_once(r.obj, r.cb)) << r.what;

	// Nothing hangs on the captions, logos, labels or pictures.
	lv_obj_t *bare[] = {u.Start_animimg_1, u.Test_progrem_btn_i2c_label, u.Test_progrem_logo, u.Test_progrem_I2C_Log,
			    u.Setup_Screen_img_HD, u.ReBoot_Screen_Msg_Reboot};
	lv_event_cb_t all[] = {Start_btn_1_event_handler, Test_progrem_event_handler,
			       Test_progrem_btn_i2c_event_handler, Test_progrem_btn_setup_event_handler};
	for (lv_obj_t *o : bare)
		for (lv_event_cb_t cb : all)
			EXPECT_FALSE(lv_obj_remove_event_cb(o, cb));
}

} // namespace
