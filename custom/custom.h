/* Start-up hook for hand-written code, run after the first screen is built. */
#ifndef CUSTOM_H
#define CUSTOM_H

#include "gui_tessel.h"

#ifdef __cplusplus
extern "C" {
#endif

void custom_init(lv_ui *ui);

#ifdef __cplusplus
}
#endif
#endif
