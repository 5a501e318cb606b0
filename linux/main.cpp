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
#include <sys/socket.h>

#include "lvgl.h"
#include "lv_drivers/wayland/wayland.h"

#include "gui_tessel.h"
#include "events_init.h"
#include "custom.h"
#include "station/board_runner.h"
#include "confirm/confirm.h"
#include "line/uploader.h"
#include "compositor_probe.h"

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

/* The compositor has gone: its end of the socket is closed. lv_drivers 8.3
 * carries on without it (the bundled backend exits itself), so the loop
 * looks for itself. */
static bool compositor_gone(int fd)
{
	char c;
	ssize_t n = recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT);
	return n == 0 || (n < 0 && (errno == ECONNRESET || errno == EPIPE));
}

static void hal_init(bool fullscreen)
{
	lv_disp_t *disp = lv_wayland_create_window(TESSEL_HOR_RES, TESSEL_VER_RES, (char *)"GUI Tessel", close_cb);
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

	bool fullscreen = tessel_probe_compositor();
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
		if (compositor_gone(pfd.fd)) {
			fprintf(stderr, "gui_tessel: lost the connection to the Wayland compositor; exiting\n");
			break;
		}

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
