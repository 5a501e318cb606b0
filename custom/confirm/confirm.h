/* The confirmation mode: verdicts only a person can give.
 *
 * A test that says "ok" for the audio outputs, the backlights or the
 * camera has only shown that a tool ran. With the mode on, the station
 * then asks the operator to prove what was heard or seen: how many tones
 * played (1 to 4, a random count), how many times the backlight blinked
 * (1 to 3), or whether the picture just taken shows the camera's view.
 * The dialog sits on the top layer over a dimmed screen; the main loop
 * keeps running meanwhile (the tones play as a child process, the blinks
 * are timed steps on an LVGL timer).
 *
 * Switched on by TESSEL_CONFIRM=1 in the environment, or, where that is
 * not set, by `confirm = on` in the configuration file (off by default). */
#ifndef CONFIRM_H
#define CONFIRM_H

#include "lvgl.h"

#include <stdbool.h>

#ifdef __cplusplus
extern "C" {
#endif

/* How long the operator has to answer, from the moment answers are taken. */
#define CONFIRM_LIMIT_MS 60000

struct confirm_result {
	int line;              /* the status line asked about */
	const char *challenge; /* what was played or shown: "3 tones", "2 blinks", "picture" */
	const char *answer;    /* the button tapped ("2", "None", "Yes", "No"); NULL: no answer */
	double seconds;        /* from the question to the answer, or to giving up */
	bool ok;               /* the answer proves the output works */
	const char *mark;      /* put after the failure verdict when !ok: " (not heard)", ... */
	bool leaving;          /* ended because the program leaves: nothing may follow */
};

typedef void (*confirm_done_cb)(const struct confirm_result *result, void *user);

/* The mode as the environment, else the configuration file, sets it. */
bool confirm_mode_on(void);

/* Whether this status line, just written by its test, is to be confirmed:
 * the mode is on, the line belongs to an audio output, a backlight or the
 * camera, and it reads that test's "ok". */
bool confirm_wanted(int line, const char *status_line);

/* Opens the dialog for the line and runs its challenge; `done` is called
 * once it is answered, runs out of time or the program leaves (never from
 * inside this call). False, calling nothing, when a dialog is open. */
bool confirm_start(int line, confirm_done_cb done, void *user);

/* True while a dialog is open. */
bool confirm_active(void);

/* The program leaves: an open dialog ends as "no answer" and a blink under
 * way is undone. */
void confirm_leave(void);

/* At start-up: puts back a backlight whose blink a killed program left
 * half done (its original value was noted on disk before blinking). */
void confirm_restore_backlight(void);

/* The open dialog's button with this caption, or NULL (tests, pictures). */
lv_obj_t *confirm_button(const char *caption);
/* The open dialog's picture, or NULL. */
lv_obj_t *confirm_picture(void);

#ifdef __cplusplus
}
#endif
#endif
