/*
 * vpointer: keeps one wlroots virtual pointer alive and drives it from stdin.
 *
 * The headless sway seat has no pointer until some device exists, so the
 * harness starts this before the application. Commands, one per line:
 *   move X Y            absolute motion (extent = output size, default 1280x800)
 *   down | up           left button press / release
 *   click X Y [HOLD_MS] move, press, wait HOLD_MS (default 100), release
 *   quit
 * Every command is answered with "ok" (or "error <why>") only after a
 * wl_display_roundtrip, i.e. once the compositor has processed it, so the
 * harness can sequence input against screenshots.
 *
 * Usage: vpointer [WIDTHxHEIGHT]
 */
#define _POSIX_C_SOURCE 200809L

#include <errno.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <wayland-client.h>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

static struct wl_seat *seat;
static struct zwlr_virtual_pointer_manager_v1 *manager;
static struct zwlr_virtual_pointer_v1 *pointer;
static uint32_t extent_w = 1280, extent_h = 800;

static uint32_t now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)(ts.tv_sec * 1000u + ts.tv_nsec / 1000000u);
}

static void on_global(void *data, struct wl_registry *reg, uint32_t name,
                      const char *iface, uint32_t version)
{
    (void)data;
    (void)version;
    if (strcmp(iface, wl_seat_interface.name) == 0 && !seat)
        seat = wl_registry_bind(reg, name, &wl_seat_interface, 1);
    else if (strcmp(iface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(reg, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
}

static void on_global_remove(void *data, struct wl_registry *reg, uint32_t name)
{
    (void)data;
    (void)reg;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {
    .global = on_global,
    .global_remove = on_global_remove,
};

static void send_move(uint32_t x, uint32_t y)
{
    zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), x, y, extent_w, extent_h);
    zwlr_virtual_pointer_v1_frame(pointer);
}

static void send_button(int pressed)
{
    zwlr_virtual_pointer_v1_button(pointer, now_ms(), BTN_LEFT,
                                   pressed ? WL_POINTER_BUTTON_STATE_PRESSED
                                           : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(pointer);
}

static int parse_xy(const char *args, uint32_t *x, uint32_t *y, long *extra)
{
    long lx, ly, le = -1;
    int n = sscanf(args, "%ld %ld %ld", &lx, &ly, &le);
    if (n < 2 || lx < 0 || ly < 0 || lx > (long)extent_w || ly > (long)extent_h)
        return -1;
    *x = (uint32_t)lx;
    *y = (uint32_t)ly;
    if (extra)
        *extra = (n == 3) ? le : -1;
    return 0;
}

/* Returns 1 to quit, 0 to go on, -1 on a lost connection. */
static int run_command(struct wl_display *dpy, char *line)
{
    char *args = line;
    while (*args && *args != ' ')
        args++;
    if (*args)
        *args++ = '\0';

    uint32_t x, y;
    long hold;
    const char *err = NULL;

    if (strcmp(line, "quit") == 0) {
        return 1;
    } else if (strcmp(line, "move") == 0) {
        if (parse_xy(args, &x, &y, NULL) == 0)
            send_move(x, y);
        else
            err = "bad coordinates";
    } else if (strcmp(line, "down") == 0) {
        send_button(1);
    } else if (strcmp(line, "up") == 0) {
        send_button(0);
    } else if (strcmp(line, "click") == 0) {
        if (parse_xy(args, &x, &y, &hold) == 0) {
            send_move(x, y);
            send_button(1);
            /* The press must be seen by the client before the release,
             * otherwise a polling reader (LVGL) can miss it entirely. */
            if (wl_display_roundtrip(dpy) < 0)
                return -1;
            struct timespec ts = { 0, (hold < 0 ? 100 : hold) * 1000000L };
            while (ts.tv_nsec >= 1000000000L) {
                ts.tv_sec++;
                ts.tv_nsec -= 1000000000L;
            }
            while (nanosleep(&ts, &ts) < 0 && errno == EINTR) {
            }
            send_button(0);
        } else {
            err = "bad coordinates";
        }
    } else if (line[0] == '\0') {
        return 0;
    } else {
        err = "unknown command";
    }

    if (wl_display_roundtrip(dpy) < 0)
        return -1;
    if (err)
        printf("error %s\n", err);
    else
        printf("ok\n");
    fflush(stdout);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc > 1) {
        unsigned w, h;
        if (sscanf(argv[1], "%ux%u", &w, &h) != 2 || w == 0 || h == 0) {
            fprintf(stderr, "usage: %s [WIDTHxHEIGHT]\n", argv[0]);
            return 2;
        }
        extent_w = w;
        extent_h = h;
    }

    struct wl_display *dpy = wl_display_connect(NULL);
    if (!dpy) {
        fprintf(stderr, "vpointer: cannot connect to the Wayland display\n");
        return 1;
    }
    struct wl_registry *reg = wl_display_get_registry(dpy);
    wl_registry_add_listener(reg, &registry_listener, NULL);
    wl_display_roundtrip(dpy);
    if (!manager) {
        fprintf(stderr, "vpointer: compositor lacks zwlr_virtual_pointer_manager_v1\n");
        wl_display_disconnect(dpy);
        return 1;
    }
    pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    if (wl_display_roundtrip(dpy) < 0) {
        fprintf(stderr, "vpointer: connection lost\n");
        return 1;
    }
    printf("ready\n");
    fflush(stdout);

    /* stdin is read with read(2) so that compositor traffic is dispatched
     * while waiting for the next command. */
    char buf[512];
    size_t used = 0;
    int status = 0;
    for (;;) {
        struct pollfd fds[2] = {
            { .fd = STDIN_FILENO, .events = POLLIN },
            { .fd = wl_display_get_fd(dpy), .events = POLLIN },
        };
        wl_display_flush(dpy);
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            status = 1;
            break;
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            if (wl_display_dispatch(dpy) < 0) {
                fprintf(stderr, "vpointer: connection lost\n");
                status = 1;
                break;
            }
        }
        if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        ssize_t n = read(STDIN_FILENO, buf + used, sizeof buf - 1 - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; /* EOF: the harness is gone */
        used += (size_t)n;
        buf[used] = '\0';
        char *start = buf, *nl;
        int done = 0;
        while (!done && (nl = strchr(start, '\n')) != NULL) {
            *nl = '\0';
            int r = run_command(dpy, start);
            if (r != 0) {
                status = r < 0 ? 1 : 0;
                done = 1;
            }
            start = nl + 1;
        }
        if (done)
            break;
        used = strlen(start);
        memmove(buf, start, used);
        if (used == sizeof buf - 1) {
            fprintf(stderr, "vpointer: line too long\n");
            status = 1;
            break;
        }
    }

    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    if (seat)
        wl_seat_destroy(seat);
    wl_registry_destroy(reg);
    wl_display_roundtrip(dpy);
    wl_display_disconnect(dpy);
    return status;
}
