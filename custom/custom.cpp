#include "custom.h"

#include "confirm.h"
#include "uploader.h"

void custom_init(lv_ui *ui)
{
	(void)ui;
	/* A blink the last run was killed in the middle of. */
	confirm_restore_backlight();
	/* results to the line's server, when configured */
	upload_start();
}
