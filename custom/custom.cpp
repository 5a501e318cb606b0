#include "custom.h"

#include "confirm/confirm.h"
#include "line/uploader.h"
#include "record/run_record.h"

void custom_init(lv_ui *ui)
{
	(void)ui;
	/* A blink the last run was killed in the middle of. */
	confirm_restore_backlight();
	/* results to the line's server, when configured */
	upload_start(record_upload_board());
	record_set_station_id(upload_station_id());
}
