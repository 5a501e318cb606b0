#include "custom.h"

#include "confirm.h"

void custom_init(lv_ui *ui)
{
	(void)ui;
	/* A blink the last run was killed in the middle of. */
	confirm_restore_backlight();
}
