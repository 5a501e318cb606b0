#include "custom.h"

#include "uploader.h"

void custom_init(lv_ui *ui)
{
	(void)ui;
	/* results to the line's server, when configured */
	upload_start();
}
