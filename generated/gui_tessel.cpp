/* The UI registry's start-up and helpers. */
#include "gui_tessel.h"

void ui_init_style(lv_style_t *style)
{
	/* Properties beyond the first live in an allocated array that must be freed. */
	if (style->prop_cnt > 1)
		lv_style_reset(style);
	else
		lv_style_init(style);
}

void init_scr_del_flag(lv_ui *ui)
{
	ui->Start_del = true;
	ui->Test_progrem_del = true;
	ui->ReBoot_Screen_del = true;
	ui->Setup_Screen_del = true;
}

void setup_ui(lv_ui *ui)
{
	ui->Start_del = true;
	ui->Test_progrem_del = true;
	ui->ReBoot_Screen_del = true;
	ui->Setup_Screen_del = true;

	setup_scr_Start(ui);
	lv_scr_load(ui->Start);
}
