/* The compiled-in images; each is defined in its own unit made from
 * assets/images/NAME.png at build time. */
#ifndef TESSEL_IMAGES_H
#define TESSEL_IMAGES_H

#ifdef LV_LVGL_H_INCLUDE_SIMPLE
#include "lvgl.h"
#else
#include "lvgl/lvgl.h"
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Start animation frames, in playing order */
LV_IMG_DECLARE(Start_animimg_1Start3_0)
LV_IMG_DECLARE(Start_animimg_1Start3_1)
LV_IMG_DECLARE(Start_animimg_1Start3_2)
LV_IMG_DECLARE(Start_animimg_1Start3_3)
LV_IMG_DECLARE(Start_animimg_1Start3_4)
LV_IMG_DECLARE(Start_animimg_1Start3_5)
LV_IMG_DECLARE(Start_animimg_1Start3_6)
LV_IMG_DECLARE(Start_animimg_1Start3_7)
LV_IMG_DECLARE(Start_animimg_1Start3_8)
LV_IMG_DECLARE(Start_animimg_1Start3_9)
LV_IMG_DECLARE(Start_animimg_1Start3_10)

LV_IMG_DECLARE(_gui_bk_1280x800)
LV_IMG_DECLARE(_btn_140x50)
LV_IMG_DECLARE(_btn_139x54)
LV_IMG_DECLARE(_setup_94x89)
LV_IMG_DECLARE(_btn_115x39)
LV_IMG_DECLARE(_btn_177x54)
LV_IMG_DECLARE(_btn_140x54)
LV_IMG_DECLARE(_QOR_Logo_alpha_150x55)
LV_IMG_DECLARE(_BKO_alpha_95x38)
LV_IMG_DECLARE(_zev_logo_zhtw_alpha_251x65)
LV_IMG_DECLARE(_QBVEXO_alpha_242x75)
LV_IMG_DECLARE(_HD_volume_alpha_520x15)
LV_IMG_DECLARE(_LO_volume_alpha_520x15)

#ifdef __cplusplus
}
#endif

#endif /* TESSEL_IMAGES_H */
