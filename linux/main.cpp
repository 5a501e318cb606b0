/* Process entry: LVGL, the Wayland window, the tick thread and the poll-driven main loop. */
#include <errno.h>
#include <limits.h>
#include <poll.h>
#include <pthread.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <wayland-client.h>

#include "lvgl.h"
#include "lv_drivers/wayland/wayland.h"

#include "gui_tessel.h"
#include "events_init.h"
#include "custom.h"
#include "board_runner.h"
#include "confirm.h"
#include "uploader.h"

struct pollfd pfd;
uint32_t time_till_next;
int sleep_time;

lv_ui tessel_ui;

static bool close_cb(lv_disp_t *disp)
{
	(void)disp;
	return true;
}

/* LVGL's clock: exactly 5 ms per wake-up, so it never runs ahead of real time. */
static void *tick_thread(void *data)
{
	(void)data;
	for (;;) {
		usleep(5000);
		lv_tick_inc(5);
	}
	return NULL;
}

/* The board's panel: the window's size. */
enum { HOR_RES = 1280, VER_RES = 800 };

struct probe {
	struct wl_output *outputs[16];
	int n_outputs;
	bool panel_output;
};

static void output_mode(void *data, struct wl_output *output, uint32_t flags, int32_t w, int32_t h,
			int32_t refresh)
{
	(void)output;
	(void)refresh;
	if ((flags & WL_OUTPUT_MODE_CURRENT) && w == HOR_RES && h == VER_RES)
		((struct probe *)data)->panel_output = true;
}
static void output_geometry(void *, struct wl_output *, int32_t, int32_t, int32_t, int32_t, int32_t,
			    const char *, const char *, int32_t) {}
static void output_done(void *, struct wl_output *) {}
static void output_scale(void *, struct wl_output *, int32_t) {}
static void output_text(void *, struct wl_output *, const char *) {}
static const struct wl_output_listener output_listener = {
	.geometry = output_geometry, .mode = output_mode, .done = output_done, .scale = output_scale,
#ifdef WL_OUTPUT_NAME_SINCE_VERSION
	.name = output_text, .description = output_text,
#endif
};

static void registry_global(void *data, struct wl_registry *registry, uint32_t name, const char *iface,
			    uint32_t version)
{
	(void)version;
	struct probe *p = (struct probe *)data;
	if (strcmp(iface, wl_output_interface.name) != 0 || p->n_outputs == 16)
		return;
	struct wl_output *output = (struct wl_output *)wl_registry_bind(registry, name, &wl_output_interface, 1);
	wl_output_add_listener(output, &output_listener, p);
	p->outputs[p->n_outputs++] = output;
}
static void registry_remove(void *, struct wl_registry *, uint32_t) {}
static const struct wl_registry_listener registry_listener = {.global = registry_global,
							       .global_remove = registry_remove};

/* Before the backend starts, a look at the compositor of our own:
 * - lv_drivers 8.3's backend asserts on a failed connection, and its
 *   assertion spins forever; so we say why and exit 2 (the unit restarts
 *   us until the compositor is up);
 * - is there an output whose mode is exactly the panel's? Then the window
 *   goes fullscreen, above a shell's panel (weston's desktop-shell would
 *   otherwise place it below its 32-px panel, the bottom off the screen). */
static bool probe_compositor(void)
{
	struct wl_display *probe = wl_display_connect(NULL);
	if (!probe) {
		const char *name = getenv("WAYLAND_DISPLAY");
		const char *rt = getenv("XDG_RUNTIME_DIR");
		fprintf(stderr,
			"gui_tessel: no Wayland compositor to connect to (%s). WAYLAND_DISPLAY=%s, XDG_RUNTIME_DIR=%s: "
			"they must name the socket of a running Wayland compositor.\n",
			strerror(errno), name && *name ? name : "(unset, so wayland-0)", rt && *rt ? rt : "(unset)");
		exit(2);
	}
	struct probe p = {};
	struct wl_registry *registry = wl_display_get_registry(probe);
	wl_registry_add_listener(registry, &registry_listener, &p);
	wl_display_roundtrip(probe); /* the outputs */
	wl_display_roundtrip(probe); /* their modes */
	for (int i = 0; i < p.n_outputs; i++)
		wl_output_destroy(p.outputs[i]);
	wl_registry_destroy(registry);
	wl_display_disconnect(probe);
	return p.panel_output;
}

static void hal_init(bool fullscreen)
{
	lv_disp_t *disp = lv_wayland_create_window(HOR_RES, VER_RES, (char *)"GUI Tessel", close_cb);
	if (fullscreen)
		lv_wayland_window_set_fullscreen(disp, true);

	pthread_t tid;
	int err = pthread_create(&tid, NULL, tick_thread, NULL);
	if (err != 0) {
		printf("\ncan't create thread :[%s]", strerror(err));
		exit(1);
	}
}

int main(int argc, char **argv)
{
	(void)argc;
	(void)argv;

	bool fullscreen = probe_compositor();
	lv_init();
	lv_wayland_init();
	hal_init(fullscreen);

	setup_ui(&tessel_ui);
	events_init(&tessel_ui);
	custom_init(&tessel_ui);

	pfd.fd = lv_wayland_get_fd();
	pfd.events = POLLIN;

	/* TERM, INT, HUP and any exit end a running test's processes first. */
	runner_install_exit_handling();

	for (;;) {
		time_till_next = lv_wayland_timer_handler();
		if (!lv_wayland_window_is_open(NULL))
			break;

		if (time_till_next == LV_NO_TIMER_READY)
			sleep_time = -1; /* nothing due: wait for the compositor only */
		else if (time_till_next > INT_MAX)
			sleep_time = INT_MAX;
		else
			sleep_time = (int)time_till_next;

		/* Waits on the compositor and on a running test script together:
		 * the window answers while the test runs, and its end wakes us. */
		if (!runner_wait(pfd.fd, sleep_time))
			break;
	}

	/* An open confirmation ends unanswered; a blink is undone. */
	confirm_leave();
	runner_stop_all();
	upload_stop();
	return 0;
}
