/* GUI Tessel's lv_drivers configuration.
 * lv_drivers' wayland/wayland.h includes "lv_drv_conf.h": through the include
 * path when LV_CONF_INCLUDE_SIMPLE is defined (the project defines it, and this
 * folder is on the path), otherwise two folders above the header, that is
 * here, next to lv_drivers/. Read by the bundled backend and a real
 * lv_drivers 8.3 alike. */
#ifndef LV_DRV_CONF_H
#define LV_DRV_CONF_H

#include "lv_conf.h"

/* Only the Wayland backend, with the XDG shell and the compositor's decorations. */
#define USE_WAYLAND 1
#define LV_WAYLAND_CLIENT_SIDE_DECORATIONS 0
#define LV_WAYLAND_WL_SHELL 0
#define LV_WAYLAND_XDG_SHELL 1
#define LV_WAYLAND_TIMER_HANDLER 1

#endif
