#include "custom.h"

void custom_init(lv_ui *ui)
{
	(void)ui;
}
