// Library start-up and shutdown.
#include "lv_core_private.h"

namespace {
bool g_initialized = false;
}

void lv_init(void)
{
    if(g_initialized) return;
    _lv_mem_init();
    _lv_timer_core_init();
    _lv_anim_core_init(); // the first timer: runs last in each handler pass
    _lv_obj_style_core_init();
    _lv_refr_core_init();
    g_initialized = true;
}

// Deletes every display (with its screens), input device, animation and
// timer and empties the pool, so lv_init can start afresh.
void lv_deinit(void)
{
    if(!g_initialized) return;
    _lv_indev_core_deinit();
    _lv_disp_core_deinit();
    _lv_anim_core_deinit();
    _lv_timer_core_deinit();
    _lv_theme_default_deinit();
    _lv_obj_style_core_deinit();
    _lv_mem_deinit();
    g_initialized = false;
}

bool lv_is_initialized(void) { return g_initialized; }
