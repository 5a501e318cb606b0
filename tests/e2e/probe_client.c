/*
 * probe_client: the smallest xdg-shell window the e2e harness can check
 * itself against. It fills its surface with one colour, switches to the next
 * colour of a fixed cycle on every left-button press and exits with status 0
 * when the compositor asks it to close.
 *
 * It reports on stdout, one line per event, so tests can compare what the
 * compositor delivered with what they injected:
 *   configure W H | enter X Y | press X Y | motion X Y (only while pressed)
 *   release X Y | color N RRGGBB (after the frame is committed) | closed
 *
 * Usage: probe_client [TITLE]   (default "GUI Tessel Probe")
 */
#define _GNU_SOURCE

#include <errno.h>
#include <linux/input-event-codes.h>
#include <stdarg.h>
#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>

#include "xdg-shell-client-protocol.h"

#define NBUF 3

static const uint32_t colours[] = { 0x2060C0, 0xC03020, 0x20A040, 0xE0C020 };
#define NCOLOURS (sizeof colours / sizeof colours[0])

struct buffer {
    struct wl_buffer *wl;
    uint32_t *pixels;
    size_t bytes;
    int w, h;
    bool busy;
};

static struct wl_compositor *compositor;
static struct wl_shm *shm;
static struct xdg_wm_base *wm_base;
static struct wl_seat *seat;
static struct wl_pointer *pointer;
static struct wl_surface *surface;
static struct xdg_surface *xsurface;
static struct xdg_toplevel *toplevel;

static struct buffer buffers[NBUF];
static int width = 1280, height = 800;     /* current size */
static int pend_w, pend_h;                 /* from the last toplevel configure */
static bool configured, redraw_pending, running = true, failed;
static unsigned colour_index;
static bool button_down;
static double px, py;

static void say(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
static void say(const char *fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    vprintf(fmt, ap);
    va_end(ap);
    putchar('\n');
    fflush(stdout);
}

static void buffer_release(void *data, struct wl_buffer *wl);
static const struct wl_buffer_listener buffer_listener = { .release = buffer_release };

static void buffer_free(struct buffer *b)
{
    if (b->wl)
        wl_buffer_destroy(b->wl);
    if (b->pixels)
        munmap(b->pixels, b->bytes);
    memset(b, 0, sizeof *b);
}

static bool buffer_alloc(struct buffer *b, int w, int h)
{
    size_t stride = (size_t)w * 4;
    size_t bytes = stride * (size_t)h;
    int fd = memfd_create("probe-shm", MFD_CLOEXEC);
    if (fd < 0)
        return false;
    if (ftruncate(fd, (off_t)bytes) < 0) {
        close(fd);
        return false;
    }
    void *p = mmap(NULL, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) {
        close(fd);
        return false;
    }
    struct wl_shm_pool *pool = wl_shm_create_pool(shm, fd, (int32_t)bytes);
    b->wl = wl_shm_pool_create_buffer(pool, 0, w, h, (int32_t)stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(b->wl, &buffer_listener, b);
    b->pixels = p;
    b->bytes = bytes;
    b->w = w;
    b->h = h;
    b->busy = false;
    return true;
}

static void redraw(void)
{
    if (!configured)
        return;
    struct buffer *b = NULL;
    for (int i = 0; i < NBUF && !b; i++)
        if (!buffers[i].busy && buffers[i].wl && buffers[i].w == width && buffers[i].h == height)
            b = &buffers[i];
    for (int i = 0; i < NBUF && !b; i++) {
        if (!buffers[i].busy) {
            buffer_free(&buffers[i]);
            if (!buffer_alloc(&buffers[i], width, height)) {
                fprintf(stderr, "probe_client: cannot allocate a buffer\n");
                failed = true;
                running = false;
                return;
            }
            b = &buffers[i];
        }
    }
    if (!b) {
        /* every buffer still held by the compositor: draw on the next release */
        redraw_pending = true;
        return;
    }
    redraw_pending = false;
    uint32_t c = 0xFF000000u | colours[colour_index];
    for (size_t i = 0, n = (size_t)b->w * (size_t)b->h; i < n; i++)
        b->pixels[i] = c;
    wl_surface_attach(surface, b->wl, 0, 0);
    wl_surface_damage(surface, 0, 0, b->w, b->h);
    wl_surface_commit(surface);
    b->busy = true;
    say("color %u %06X", colour_index, (unsigned)colours[colour_index]);
}

static void buffer_release(void *data, struct wl_buffer *wl)
{
    (void)wl;
    struct buffer *b = data;
    b->busy = false;
    if (redraw_pending)
        redraw();
}

/* pointer */
static void ptr_enter(void *d, struct wl_pointer *p, uint32_t serial, struct wl_surface *s,
                      wl_fixed_t x, wl_fixed_t y)
{
    (void)d; (void)p; (void)serial; (void)s;
    px = wl_fixed_to_double(x);
    py = wl_fixed_to_double(y);
    say("enter %.0f %.0f", px, py);
}

static void ptr_leave(void *d, struct wl_pointer *p, uint32_t serial, struct wl_surface *s)
{
    (void)d; (void)p; (void)serial; (void)s;
    say("leave");
}

static void ptr_motion(void *d, struct wl_pointer *p, uint32_t time, wl_fixed_t x, wl_fixed_t y)
{
    (void)d; (void)p; (void)time;
    px = wl_fixed_to_double(x);
    py = wl_fixed_to_double(y);
    if (button_down)
        say("motion %.0f %.0f", px, py);
}

static void ptr_button(void *d, struct wl_pointer *p, uint32_t serial, uint32_t time,
                       uint32_t button, uint32_t state)
{
    (void)d; (void)p; (void)serial; (void)time;
    if (button != BTN_LEFT)
        return;
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
        button_down = true;
        say("press %.0f %.0f", px, py);
        colour_index = (colour_index + 1) % NCOLOURS;
        redraw();
    } else {
        button_down = false;
        say("release %.0f %.0f", px, py);
    }
}

static void ptr_axis(void *d, struct wl_pointer *p, uint32_t time, uint32_t axis, wl_fixed_t v)
{
    (void)d; (void)p; (void)time; (void)axis; (void)v;
}

static void ptr_frame(void *d, struct wl_pointer *p) { (void)d; (void)p; }
static void ptr_axis_source(void *d, struct wl_pointer *p, uint32_t s) { (void)d; (void)p; (void)s; }
static void ptr_axis_stop(void *d, struct wl_pointer *p, uint32_t t, uint32_t a)
{
    (void)d; (void)p; (void)t; (void)a;
}
static void ptr_axis_discrete(void *d, struct wl_pointer *p, uint32_t a, int32_t v)
{
    (void)d; (void)p; (void)a; (void)v;
}

static const struct wl_pointer_listener pointer_listener = {
    .enter = ptr_enter,
    .leave = ptr_leave,
    .motion = ptr_motion,
    .button = ptr_button,
    .axis = ptr_axis,
    .frame = ptr_frame,
    .axis_source = ptr_axis_source,
    .axis_stop = ptr_axis_stop,
    .axis_discrete = ptr_axis_discrete,
};

static void seat_caps(void *d, struct wl_seat *s, uint32_t caps)
{
    (void)d;
    bool has = caps & WL_SEAT_CAPABILITY_POINTER;
    if (has && !pointer) {
        pointer = wl_seat_get_pointer(s);
        wl_pointer_add_listener(pointer, &pointer_listener, NULL);
    } else if (!has && pointer) {
        wl_pointer_release(pointer);
        pointer = NULL;
    }
}

static void seat_name(void *d, struct wl_seat *s, const char *name) { (void)d; (void)s; (void)name; }

static const struct wl_seat_listener seat_listener = { .capabilities = seat_caps, .name = seat_name };

/* xdg-shell */
static void wm_ping(void *d, struct xdg_wm_base *b, uint32_t serial)
{
    (void)d;
    xdg_wm_base_pong(b, serial);
}
static const struct xdg_wm_base_listener wm_listener = { .ping = wm_ping };

static void xsurface_configure(void *d, struct xdg_surface *xs, uint32_t serial)
{
    (void)d;
    xdg_surface_ack_configure(xs, serial);
    int w = pend_w > 0 ? pend_w : 1280;
    int h = pend_h > 0 ? pend_h : 800;
    if (!configured || w != width || h != height) {
        width = w;
        height = h;
        say("configure %d %d", width, height);
    }
    configured = true;
    redraw();
}
static const struct xdg_surface_listener xsurface_listener = { .configure = xsurface_configure };

static void top_configure(void *d, struct xdg_toplevel *t, int32_t w, int32_t h, struct wl_array *states)
{
    (void)d; (void)t; (void)states;
    pend_w = w;
    pend_h = h;
}

static void top_close(void *d, struct xdg_toplevel *t)
{
    (void)d; (void)t;
    running = false;
}
static const struct xdg_toplevel_listener toplevel_listener = {
    .configure = top_configure,
    .close = top_close,
};

static void on_global(void *d, struct wl_registry *r, uint32_t name, const char *iface, uint32_t ver)
{
    (void)d;
    if (strcmp(iface, wl_compositor_interface.name) == 0)
        compositor = wl_registry_bind(r, name, &wl_compositor_interface, 4);
    else if (strcmp(iface, wl_shm_interface.name) == 0)
        shm = wl_registry_bind(r, name, &wl_shm_interface, 1);
    else if (strcmp(iface, xdg_wm_base_interface.name) == 0)
        wm_base = wl_registry_bind(r, name, &xdg_wm_base_interface, 1);
    else if (strcmp(iface, wl_seat_interface.name) == 0 && !seat && ver >= 5)
        seat = wl_registry_bind(r, name, &wl_seat_interface, 5);
}
static void on_global_remove(void *d, struct wl_registry *r, uint32_t name) { (void)d; (void)r; (void)name; }
static const struct wl_registry_listener registry_listener = {
    .global = on_global,
    .global_remove = on_global_remove,
};

int main(int argc, char **argv)
{
    const char *title = argc > 1 ? argv[1] : "GUI Tessel Probe";

    struct wl_display *dpy = wl_display_connect(NULL);
    if (!dpy) {
        fprintf(stderr, "probe_client: cannot connect to the Wayland display: %s\n", strerror(errno));
        return 1;
    }
    struct wl_registry *reg = wl_display_get_registry(dpy);
    wl_registry_add_listener(reg, &registry_listener, NULL);
    wl_display_roundtrip(dpy);
    if (!compositor || !shm || !wm_base) {
        fprintf(stderr, "probe_client: compositor lacks wl_compositor, wl_shm or xdg_wm_base\n");
        return 1;
    }
    xdg_wm_base_add_listener(wm_base, &wm_listener, NULL);
    if (seat)
        wl_seat_add_listener(seat, &seat_listener, NULL);

    surface = wl_compositor_create_surface(compositor);
    xsurface = xdg_wm_base_get_xdg_surface(wm_base, surface);
    xdg_surface_add_listener(xsurface, &xsurface_listener, NULL);
    toplevel = xdg_surface_get_toplevel(xsurface);
    xdg_toplevel_add_listener(toplevel, &toplevel_listener, NULL);
    xdg_toplevel_set_title(toplevel, title);
    xdg_toplevel_set_app_id(toplevel, "tessel-probe");
    wl_surface_commit(surface);

    while (running && wl_display_dispatch(dpy) >= 0) {
    }
    bool lost = running;
    if (!lost && !failed)
        say("closed");

    if (pointer)
        wl_pointer_release(pointer);
    xdg_toplevel_destroy(toplevel);
    xdg_surface_destroy(xsurface);
    wl_surface_destroy(surface);
    for (int i = 0; i < NBUF; i++)
        buffer_free(&buffers[i]);
    if (seat)
        wl_seat_release(seat);
    xdg_wm_base_destroy(wm_base);
    wl_shm_destroy(shm);
    wl_compositor_destroy(compositor);
    wl_registry_destroy(reg);
    wl_display_flush(dpy);
    wl_display_disconnect(dpy);

    if (lost) {
        fprintf(stderr, "probe_client: connection to the compositor lost\n");
        return 1;
    }
    return failed ? 1 : 0;
}
