/* Generic widget callbacks and the start animation's frame list. */
#ifndef WIDGETS_INIT_H
#define WIDGETS_INIT_H

#include "gui_tessel.h"

#ifdef __cplusplus
extern "C" {
#endif

/* On a keyboard: hide it when input is confirmed or cancelled. */
void kb_event_cb(lv_event_t *e);
/* On a text area, with its keyboard as user data: show the keyboard on top while
 * the text area is focused or clicked, hide it at the back otherwise. */
void ta_event_cb(lv_event_t *e);

/* Frames of Start_animimg_1, first to last. */
extern const lv_img_dsc_t *Start_animimg_1_imgs[11];

#ifdef __cplusplus
}
#endif
#endif
