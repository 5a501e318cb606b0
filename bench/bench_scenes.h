// The scenes bench_render redraws: public LVGL API only.
#pragma once
#include "lvgl.h"

namespace bench {

// A plain white screen.
lv_obj_t *build_white();
// A busy scene of gradients, borders, shadows, letter-spaced text, a roller,
// a slider and a thick rounded line.
lv_obj_t *build_busy();

} // namespace bench
