/**
 * @file wayland.c
 * Wayland backend for LVGL 8.3 (lv_drivers interface, see wayland.h).
 *
 * Drawing: LVGL renders in partial mode into a private draw buffer; the
 * flush callback copies each area into the window's own RGB565 image (the
 * canvas) and records it as damage, so LVGL never waits for the compositor.
 * When the last area of a refresh arrives, the frame is presented: a shm
 * buffer the compositor does not hold is taken from a pool of three, brought
 * up to date from the canvas (only the parts it lacks), attached with the
 * refresh's damage and committed with a frame callback. While that callback
 * is outstanding, or every buffer is held, further refreshes only accumulate
 * in the canvas and go out together when the compositor is ready.
 *
 * Size: the window is exactly the size the program asks for, on any output.
 * The compositor learns it as the toplevel's minimum and maximum size (so
 * tiling compositors float the window); configured sizes are not followed.
 * On a scaled output the buffer scale matches the output's, so each pixel of
 * the picture is one pixel of the screen. On an output whose mode is exactly
 * the window's size the window asks to be fullscreen: it then covers the
 * whole screen, above any panel of the shell.
 *
 * Input: events are decoded into small per-device queues (wl_shared.c) and
 * the device's LVGL read timer is resumed, since the core pauses read timers
 * while idle. The backend creates no timer of its own: while nothing
 * changes, the process sleeps until the compositor sends something.
 */
#define _GNU_SOURCE

#include "wayland.h"
#include "wl_shared.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <linux/input-event-codes.h>
#include <wayland-client.h>
#include <wayland-cursor.h>
#include <xkbcommon/xkbcommon.h>

#include "xdg-shell-client-protocol.h"

#if LV_COLOR_DEPTH != 16 || LV_COLOR_16_SWAP != 0
#error "the Wayland backend expects LVGL colours as native RGB565 (LV_COLOR_DEPTH 16, LV_COLOR_16_SWAP 0)"
#endif

/* Show the theme's arrow on the window. Off by default: a touch panel has no
 * pointer to show, and screenshots of the window stay free of it. */
#ifndef LV_WAYLAND_SHOW_CURSOR
#define LV_WAYLAND_SHOW_CURSOR 0
#endif

/* Exit status when no compositor can be reached or a window cannot be made. */
#define WL_EXIT_NO_COMPOSITOR 2
/* Longest wait for the compositor's answers while connecting and opening a window. */
#define WL_CONNECT_TIMEOUT_MS 5000
/* Outputs followed for their mode and scale. */
#define WL_MAX_OUTPUTS 8

typedef struct {
    struct wl_output * output;
    uint32_t name;     /* registry name */
    int32_t mode_w, mode_h; /* current mode, pixels */
    int32_t scale;
} wl_out_t;

typedef struct wl_window wl_window_t;

typedef struct {
    struct wl_buffer * buffer;
    uint8_t * data;
    size_t size;
    int32_t stride;
    wl_window_t * win;
} wl_shm_buf_t;

struct wl_window {
    wl_window_t * next;
    struct wl_surface * surface;
    struct xdg_surface * xdg_surface;
    struct xdg_toplevel * toplevel;
    struct wl_callback * frame_cb;
    lv_wayland_display_close_f_t close_cb;

    int32_t w, h;         /* size of the image and of the LVGL display, fixed */
    int32_t cfg_w, cfg_h; /* size asked by the first toplevel configure (used when the program asks for none) */
    int32_t scale;        /* buffer scale: output pixels per surface unit */
    int32_t scale_sent;   /* the buffer scale the compositor has been told */
    struct wl_output * on[WL_MAX_OUTPUTS]; /* outputs the surface is shown on */
    bool configured;      /* the first configure was acknowledged */
    bool committed;       /* a buffer has been committed */
    bool commit_pending;  /* a finished frame waits for the frame callback or a free buffer */
    bool close_requested; /* the compositor asked to close */
    bool close_now;       /* the application asked to close */
    bool touch_cancelled; /* the compositor took the touch back: its release is no click */

    uint8_t * canvas; /* RGB565, w x h, stride w * 2 */
    lv_wl_damage_t frame_damage;
    lv_wl_pool_t pool;

    lv_color_t * draw_mem;
    lv_disp_draw_buf_t draw_buf;
    lv_disp_drv_t disp_drv;
    lv_disp_t * disp;

    lv_indev_drv_t ptr_drv, axis_drv, touch_drv, kbd_drv;
    lv_indev_t * ptr_indev, * axis_indev, * touch_indev, * kbd_indev;
    lv_wl_ptr_t ptr, touch;
    lv_wl_axis_t axis;
    lv_wl_kbd_t kbd;
};

static struct {
    struct wl_display * display;
    struct wl_registry * registry;
    struct wl_compositor * compositor;
    uint32_t compositor_version;
    struct wl_shm * shm;
    struct xdg_wm_base * wm_base;
    struct wl_seat * seat;
    uint32_t seat_version;
    struct wl_pointer * pointer;
    struct wl_keyboard * keyboard;
    struct wl_touch * touch;

    struct xkb_context * xkb;
    struct xkb_keymap * keymap;
    struct xkb_state * xkb_state;

    struct wl_cursor_theme * cursor_theme;
    struct wl_surface * cursor_surface;

    wl_out_t outputs[WL_MAX_OUTPUTS];
    int n_outputs;

    bool has_rgb565, has_xrgb8888;
    uint32_t format;
    int bpp;

    wl_window_t * windows;
    wl_window_t * pointer_focus;
    wl_window_t * keyboard_focus;
    wl_window_t * touch_focus;
} wl;

/*---------------------------------------------------------------------
 * Diagnostics (TESSEL_WAYLAND_STATS=1)
 *-------------------------------------------------------------------*/
static struct {
    bool on;
    double exec_ms;      /* CLOCK_MONOTONIC of the exec, from /proc (10 ms resolution) */
    double init_ms;      /* lv_wayland_init */
    bool first_commit;   /* reported */
    bool first_shown;    /* reported */
    uint64_t passes, frames;
    uint64_t window_passes, window_frames;
    double window_start_ms;
} stats;

static double mono_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec / 1e6;
}

/* Monotonic time of the exec: the process's start in clock ticks since boot
 * (/proc/self/stat, field 22) placed on CLOCK_MONOTONIC through CLOCK_BOOTTIME. */
static double exec_time_ms(void)
{
    FILE * f = fopen("/proc/self/stat", "r");
    if(!f) return mono_ms();
    char buf[1024];
    size_t n = fread(buf, 1, sizeof(buf) - 1, f);
    fclose(f);
    buf[n] = '\0';
    char * p = strrchr(buf, ')'); /* the command name may hold spaces */
    if(!p) return mono_ms();
    unsigned long long start = 0;
    /* After ')': state is field 3, starttime field 22. */
    int field = 2;
    for(char * tok = strtok(p + 1, " "); tok; tok = strtok(NULL, " ")) {
        if(++field == 22) {
            start = strtoull(tok, NULL, 10);
            break;
        }
    }
    struct timespec boot;
    clock_gettime(CLOCK_BOOTTIME, &boot);
    double boot_ms = (double)boot.tv_sec * 1e3 + (double)boot.tv_nsec / 1e6;
    double start_ms = (double)start * 1e3 / (double)sysconf(_SC_CLK_TCK);
    return mono_ms() - (boot_ms - start_ms);
}

static void stats_report_window(double now)
{
    double span = now - stats.window_start_ms;
    fprintf(stderr, "lv_wayland stats: %llu passes, %llu frames in the last %.2f s (%.1f passes/s)\n",
            (unsigned long long)stats.window_passes, (unsigned long long)stats.window_frames, span / 1e3,
            span > 0 ? (double)stats.window_passes * 1e3 / span : 0.0);
    stats.window_passes = 0;
    stats.window_frames = 0;
    stats.window_start_ms = now;
}

static void stats_at_exit(void)
{
    double now = mono_ms();
    if(stats.window_passes > 0) stats_report_window(now);
    double span = now - stats.init_ms;
    fprintf(stderr, "lv_wayland stats: total %llu passes, %llu frames in %.2f s (%.1f passes/s)\n",
            (unsigned long long)stats.passes, (unsigned long long)stats.frames, span / 1e3,
            span > 0 ? (double)stats.passes * 1e3 / span : 0.0);
}

static void stats_init(void)
{
    const char * v = getenv("TESSEL_WAYLAND_STATS");
    stats.on = v && *v && strcmp(v, "0") != 0;
    if(!stats.on) return;
    stats.init_ms = mono_ms();
    stats.exec_ms = exec_time_ms();
    stats.window_start_ms = stats.init_ms;
    fprintf(stderr, "lv_wayland stats: lv_wayland_init at %.1f ms after exec\n", stats.init_ms - stats.exec_ms);
    atexit(stats_at_exit);
}

static void stats_commit(void)
{
    stats.frames++;
    stats.window_frames++;
    if(!stats.on || stats.first_commit) return;
    stats.first_commit = true;
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    double now = (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec / 1e6;
    fprintf(stderr,
            "lv_wayland stats: first frame committed at %.1f ms after exec (%.1f ms after lv_wayland_init), "
            "CLOCK_MONOTONIC %lld.%09ld\n",
            now - stats.exec_ms, now - stats.init_ms, (long long)ts.tv_sec, ts.tv_nsec);
}

static void stats_shown(void)
{
    if(!stats.on || stats.first_shown) return;
    stats.first_shown = true;
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    double now = (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec / 1e6;
    fprintf(stderr,
            "lv_wayland stats: first frame shown (frame callback) at %.1f ms after exec, CLOCK_MONOTONIC %lld.%09ld\n",
            now - stats.exec_ms, (long long)ts.tv_sec, ts.tv_nsec);
}

static void stats_pass(void)
{
    stats.passes++;
    stats.window_passes++;
    if(!stats.on) return;
    /* Reported from inside a pass, so the report itself wakes nobody. */
    double now = mono_ms();
    if(now - stats.window_start_ms >= 1000.0) stats_report_window(now);
}

/*---------------------------------------------------------------------
 * Failures
 *-------------------------------------------------------------------*/
static const char * display_name(void)
{
    const char * n = getenv("WAYLAND_DISPLAY");
    return n && *n ? n : "(unset, so wayland-0)";
}

static void fatal_no_window(const char * what)
{
    const char * rt = getenv("XDG_RUNTIME_DIR");
    fprintf(stderr,
            "lv_wayland: %s. WAYLAND_DISPLAY=%s, XDG_RUNTIME_DIR=%s: they must name the socket of a running "
            "Wayland compositor.\n",
            what, display_name(), rt && *rt ? rt : "(unset)");
    exit(WL_EXIT_NO_COMPOSITOR);
}

static void connection_lost(void)
{
    int err = wl.display ? wl_display_get_error(wl.display) : 0;
    if(err == EPROTO) {
        /* Our own mistake, not the compositor leaving. */
        const struct wl_interface * iface = NULL;
        uint32_t id = 0;
        uint32_t code = wl_display_get_protocol_error(wl.display, &iface, &id);
        fprintf(stderr, "lv_wayland: protocol error %u on %s@%u (WAYLAND_DISPLAY=%s); exiting\n", code,
                iface ? iface->name : "?", id, display_name());
        exit(1);
    }
    fprintf(stderr, "lv_wayland: lost the connection to the Wayland compositor (WAYLAND_DISPLAY=%s): %s; exiting\n",
            display_name(), strerror(err ? err : EPIPE));
    exit(0);
}

/*---------------------------------------------------------------------
 * Event pump
 *-------------------------------------------------------------------*/
/* Read and dispatch what the compositor sent, waiting up to timeout_ms
 * (0: do not wait). -1 when the connection is broken. */
static int pump(int timeout_ms)
{
    while(wl_display_prepare_read(wl.display) != 0) {
        if(wl_display_dispatch_pending(wl.display) < 0) return -1;
    }
    if(wl_display_flush(wl.display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(wl.display);
        return -1;
    }
    struct pollfd pfd = {wl_display_get_fd(wl.display), POLLIN, 0};
    int r = poll(&pfd, 1, timeout_ms);
    if(r <= 0) {
        wl_display_cancel_read(wl.display);
        return (r < 0 && errno != EINTR) ? -1 : 0;
    }
    if(wl_display_read_events(wl.display) < 0) return -1;
    if(wl_display_dispatch_pending(wl.display) < 0) return -1;
    return 1;
}

static void sync_done(void * data, struct wl_callback * cb, uint32_t serial)
{
    (void)serial;
    *(bool *)data = true;
    wl_callback_destroy(cb);
}
static const struct wl_callback_listener sync_listener = {.done = sync_done};

/* Pump until *flag is set; false on timeout or a broken connection. */
static bool wait_for(const bool * flag, int timeout_ms)
{
    double deadline = mono_ms() + timeout_ms;
    while(!*flag) {
        double left = deadline - mono_ms();
        if(left <= 0) return false;
        if(pump((int)left + 1) < 0) return false;
    }
    return true;
}

static bool roundtrip(int timeout_ms)
{
    static bool done; /* static: the callback may fire after a timeout gave up on it */
    done = false;
    struct wl_callback * cb = wl_display_sync(wl.display);
    wl_callback_add_listener(cb, &sync_listener, &done);
    return wait_for(&done, timeout_ms);
}

/*---------------------------------------------------------------------
 * shm buffers
 *-------------------------------------------------------------------*/
static void buffer_release(void * data, struct wl_buffer * buffer);
static const struct wl_buffer_listener buffer_listener = {.release = buffer_release};

static void * shm_buf_create(void * ctx, int32_t w, int32_t h)
{
    wl_window_t * win = ctx;
    int32_t stride = (w * wl.bpp + 3) & ~3;
    size_t size = (size_t)stride * (size_t)h;
    int fd = memfd_create("lv_wayland_shm", MFD_CLOEXEC);
    if(fd < 0) goto fail;
    if(ftruncate(fd, (off_t)size) < 0) {
        close(fd);
        goto fail;
    }
    void * data = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if(data == MAP_FAILED) {
        close(fd);
        goto fail;
    }
    wl_shm_buf_t * b = calloc(1, sizeof(*b));
    if(!b) {
        munmap(data, size);
        close(fd);
        goto fail;
    }
    struct wl_shm_pool * pool = wl_shm_create_pool(wl.shm, fd, (int32_t)size);
    b->buffer = wl_shm_pool_create_buffer(pool, 0, w, h, stride, wl.format);
    wl_shm_pool_destroy(pool);
    close(fd);
    b->data = data;
    b->size = size;
    b->stride = stride;
    b->win = win;
    wl_buffer_add_listener(b->buffer, &buffer_listener, b);
    return b;

fail:
    fprintf(stderr, "lv_wayland: cannot make a %dx%d shared-memory buffer: %s\n", (int)w, (int)h, strerror(errno));
    return NULL;
}

static void shm_buf_destroy(void * ctx, void * handle)
{
    (void)ctx;
    wl_shm_buf_t * b = handle;
    wl_buffer_destroy(b->buffer);
    munmap(b->data, b->size);
    free(b);
}

/*---------------------------------------------------------------------
 * Presenting frames
 *-------------------------------------------------------------------*/
static void frame_done(void * data, struct wl_callback * cb, uint32_t time);
static const struct wl_callback_listener frame_listener = {.done = frame_done};

/* Tell the compositor the buffer scale and the fixed size in surface units
 * (both take effect with the next commit). */
static void window_send_size(wl_window_t * win)
{
    if(win->scale == win->scale_sent) return;
    if(wl.compositor_version >= 3) wl_surface_set_buffer_scale(win->surface, win->scale);
    xdg_toplevel_set_min_size(win->toplevel, win->w / win->scale, win->h / win->scale);
    xdg_toplevel_set_max_size(win->toplevel, win->w / win->scale, win->h / win->scale);
    win->scale_sent = win->scale;
}

static void window_present(wl_window_t * win)
{
    if(!win->configured || win->frame_cb) {
        win->commit_pending = true;
        return;
    }
    if(lv_wl_damage_is_empty(&win->frame_damage)) {
        win->commit_pending = false;
        return;
    }
    lv_wl_slot_t * slot = lv_wl_pool_acquire(&win->pool);
    if(!slot) {
        win->commit_pending = true; /* retried when a buffer comes back */
        return;
    }
    wl_shm_buf_t * b = slot->handle;
    for(int i = 0; i < slot->missing.n; i++)
        lv_wl_copy_rect(b->data, b->stride, wl.bpp, win->canvas, win->w * 2, &slot->missing.r[i]);
    lv_wl_damage_clear(&slot->missing);

    window_send_size(win);
    wl_surface_attach(win->surface, b->buffer, 0, 0);
    for(int i = 0; i < win->frame_damage.n; i++) {
        const lv_wl_rect_t * r = &win->frame_damage.r[i];
        if(wl.compositor_version >= 4)
            wl_surface_damage_buffer(win->surface, r->x1, r->y1, r->x2 - r->x1, r->y2 - r->y1);
        else
            wl_surface_damage(win->surface, r->x1, r->y1, r->x2 - r->x1, r->y2 - r->y1);
    }
    win->frame_cb = wl_surface_frame(win->surface);
    wl_callback_add_listener(win->frame_cb, &frame_listener, win);
    wl_surface_commit(win->surface);
    lv_wl_pool_submit(&win->pool, slot);
    lv_wl_damage_clear(&win->frame_damage);
    win->commit_pending = false;
    win->committed = true;
    stats_commit();
}

static void frame_done(void * data, struct wl_callback * cb, uint32_t time)
{
    (void)time;
    wl_window_t * win = data;
    wl_callback_destroy(cb);
    win->frame_cb = NULL;
    stats_shown();
    if(win->commit_pending) window_present(win);
}

static void buffer_release(void * data, struct wl_buffer * buffer)
{
    (void)buffer;
    wl_shm_buf_t * b = data;
    wl_window_t * win = b->win;
    lv_wl_pool_release(&win->pool, b); /* may free b */
    if(win->commit_pending && !win->frame_cb) window_present(win);
}

static void flush_cb(lv_disp_drv_t * drv, const lv_area_t * area, lv_color_t * color_p)
{
    wl_window_t * win = drv->user_data;
    int32_t aw = area->x2 - area->x1 + 1;
    int32_t ah = area->y2 - area->y1 + 1;
    lv_wl_blit565(win->canvas, win->w * 2, win->w, win->h, area->x1, area->y1, (const uint16_t *)color_p, aw, ah);
    lv_wl_rect_t r = {area->x1, area->y1, area->x2 + 1, area->y2 + 1};
    lv_wl_damage_add(&win->frame_damage, r, win->w, win->h);
    lv_wl_pool_damage(&win->pool, &r);
    /* Ask before flush_ready, which clears the flag. */
    bool last = lv_disp_flush_is_last(drv);
    lv_disp_flush_ready(drv);
    if(last) window_present(win);
}

/*---------------------------------------------------------------------
 * Window size
 *-------------------------------------------------------------------*/
static int32_t clamp_size(int32_t v, int32_t fallback)
{
    if(v <= 0) v = fallback;
    if(v < 1) v = 1;
    if(v > LV_COORD_MAX) v = LV_COORD_MAX;
    return v;
}

static void wake(lv_indev_drv_t * drv)
{
    /* The core pauses idle read timers; new input must get them going again. */
    if(drv->read_timer) {
        lv_timer_resume(drv->read_timer);
        lv_timer_ready(drv->read_timer);
    }
}

static bool window_on(const wl_window_t * win, const struct wl_output * o)
{
    for(int i = 0; i < WL_MAX_OUTPUTS; i++)
        if(win->on[i] == o) return true;
    return false;
}

/* The largest scale among the outputs showing the window (before it is
 * shown: among all outputs) that divides the window's size. */
static int32_t window_best_scale(const wl_window_t * win)
{
    if(wl.compositor_version < 3) return 1;
    bool shown = false;
    for(int i = 0; i < wl.n_outputs; i++)
        if(window_on(win, wl.outputs[i].output)) shown = true;
    int32_t best = 1;
    for(int i = 0; i < wl.n_outputs; i++) {
        const wl_out_t * o = &wl.outputs[i];
        if(shown && !window_on(win, o->output)) continue;
        if(o->scale > best && win->w % o->scale == 0 && win->h % o->scale == 0) best = o->scale;
    }
    return best;
}

static void window_update_scale(wl_window_t * win)
{
    int32_t scale = window_best_scale(win);
    if(scale == win->scale) return;
    win->scale = scale;
    if(!win->disp) return; /* not drawn yet: the first frame carries it */
    lv_wl_damage_set_full(&win->frame_damage, win->w, win->h);
    if(win->configured && !win->frame_cb) window_present(win);
    else win->commit_pending = true;
}

/* True when an output's mode is exactly the window's size: the window then
 * fills it, and asks for the whole of it. */
static bool window_fits_an_output(const wl_window_t * win)
{
    for(int i = 0; i < wl.n_outputs; i++)
        if(wl.outputs[i].mode_w == win->w && wl.outputs[i].mode_h == win->h) return true;
    return false;
}

/*---------------------------------------------------------------------
 * xdg-shell
 *-------------------------------------------------------------------*/
static void wm_base_ping(void * data, struct xdg_wm_base * base, uint32_t serial)
{
    (void)data;
    xdg_wm_base_pong(base, serial);
}
static const struct xdg_wm_base_listener wm_base_listener = {.ping = wm_base_ping};

static void xdg_surface_configure(void * data, struct xdg_surface * xdg_surface, uint32_t serial)
{
    wl_window_t * win = data;
    xdg_surface_ack_configure(xdg_surface, serial);
    win->configured = true;
    /* A configured size other than ours is not followed: the picture keeps
     * its size, and the compositor places it (a fullscreen one centred or
     * at the corner, a floating one where it likes). */
    if(!win->committed) return; /* the first frame carries the acknowledgement */
    if(!lv_wl_damage_is_empty(&win->frame_damage) && !win->frame_cb) {
        window_present(win);
    }
    else if(!win->frame_cb && !win->commit_pending) {
        /* Compositors such as sway hold their layout changes until the
         * acknowledgement is committed. */
        wl_surface_commit(win->surface);
    }
}
static const struct xdg_surface_listener xdg_surface_listener = {.configure = xdg_surface_configure};

static void toplevel_configure(void * data, struct xdg_toplevel * toplevel, int32_t w, int32_t h,
                               struct wl_array * states)
{
    (void)toplevel;
    (void)states;
    wl_window_t * win = data;
    if(!win->configured) {
        win->cfg_w = w;
        win->cfg_h = h;
    }
}

static void toplevel_close(void * data, struct xdg_toplevel * toplevel)
{
    (void)toplevel;
    wl_window_t * win = data;
    win->close_requested = true; /* acted upon at the end of the pass */
}
static const struct xdg_toplevel_listener toplevel_listener = {
    .configure = toplevel_configure,
    .close = toplevel_close,
};

static void surface_enter(void * data, struct wl_surface * surface, struct wl_output * output)
{
    (void)surface;
    wl_window_t * win = data;
    for(int i = 0; i < WL_MAX_OUTPUTS; i++) {
        if(!win->on[i]) {
            win->on[i] = output;
            break;
        }
    }
    window_update_scale(win);
}

static void surface_leave(void * data, struct wl_surface * surface, struct wl_output * output)
{
    (void)surface;
    wl_window_t * win = data;
    for(int i = 0; i < WL_MAX_OUTPUTS; i++)
        if(win->on[i] == output) win->on[i] = NULL;
    window_update_scale(win);
}
static const struct wl_surface_listener surface_listener = {.enter = surface_enter, .leave = surface_leave};

/*---------------------------------------------------------------------
 * Outputs
 *-------------------------------------------------------------------*/
static void output_geometry(void * data, struct wl_output * output, int32_t x, int32_t y, int32_t pw, int32_t ph,
                            int32_t subpixel, const char * make, const char * model, int32_t transform)
{
    (void)data, (void)output, (void)x, (void)y, (void)pw, (void)ph;
    (void)subpixel, (void)make, (void)model, (void)transform;
}

static void output_mode(void * data, struct wl_output * output, uint32_t flags, int32_t w, int32_t h,
                        int32_t refresh)
{
    (void)output;
    (void)refresh;
    wl_out_t * o = data;
    if(flags & WL_OUTPUT_MODE_CURRENT) {
        o->mode_w = w;
        o->mode_h = h;
    }
}

static void output_done(void * data, struct wl_output * output)
{
    (void)data;
    (void)output;
    for(wl_window_t * w = wl.windows; w; w = w->next) window_update_scale(w);
}

static void output_scale(void * data, struct wl_output * output, int32_t factor)
{
    (void)output;
    wl_out_t * o = data;
    o->scale = factor > 0 ? factor : 1;
}

static const struct wl_output_listener output_listener = {
    .geometry = output_geometry,
    .mode = output_mode,
    .done = output_done,
    .scale = output_scale,
};

static void output_add(struct wl_registry * registry, uint32_t name, uint32_t version)
{
    if(wl.n_outputs >= WL_MAX_OUTPUTS) return;
    wl_out_t * o = &wl.outputs[wl.n_outputs++];
    memset(o, 0, sizeof(*o));
    o->name = name;
    o->scale = 1;
    o->output = wl_registry_bind(registry, name, &wl_output_interface, version < 2 ? version : 2);
    wl_output_add_listener(o->output, &output_listener, o);
}

static void output_remove(uint32_t name)
{
    for(int i = 0; i < wl.n_outputs; i++) {
        if(wl.outputs[i].name != name) continue;
        struct wl_output * gone = wl.outputs[i].output;
        for(wl_window_t * w = wl.windows; w; w = w->next)
            for(int k = 0; k < WL_MAX_OUTPUTS; k++)
                if(w->on[k] == gone) w->on[k] = NULL;
        wl_output_destroy(gone);
        /* Listeners point into the array: move the last entry's listener data too. */
        wl.n_outputs--;
        if(i != wl.n_outputs) {
            wl.outputs[i] = wl.outputs[wl.n_outputs];
            wl_proxy_set_user_data((struct wl_proxy *)wl.outputs[i].output, &wl.outputs[i]);
        }
        for(wl_window_t * w = wl.windows; w; w = w->next) window_update_scale(w);
        return;
    }
}

/*---------------------------------------------------------------------
 * Input
 *-------------------------------------------------------------------*/
static wl_window_t * window_of_surface(struct wl_surface * surface)
{
    if(!surface) return NULL;
    for(wl_window_t * w = wl.windows; w; w = w->next)
        if(w->surface == surface) return w;
    return NULL;
}

static void pointer_enter(void * data, struct wl_pointer * pointer, uint32_t serial, struct wl_surface * surface,
                          wl_fixed_t x, wl_fixed_t y)
{
    (void)data;
    wl_window_t * win = window_of_surface(surface);
    wl.pointer_focus = win;
    if(!win) return;
#if LV_WAYLAND_SHOW_CURSOR
    if(!wl.cursor_theme) wl.cursor_theme = wl_cursor_theme_load(NULL, 24, wl.shm);
    struct wl_cursor * cursor = wl.cursor_theme ? wl_cursor_theme_get_cursor(wl.cursor_theme, "left_ptr") : NULL;
    if(cursor && cursor->image_count > 0) {
        struct wl_cursor_image * img = cursor->images[0];
        if(!wl.cursor_surface) wl.cursor_surface = wl_compositor_create_surface(wl.compositor);
        wl_surface_attach(wl.cursor_surface, wl_cursor_image_get_buffer(img), 0, 0);
        wl_surface_damage(wl.cursor_surface, 0, 0, (int32_t)img->width, (int32_t)img->height);
        wl_surface_commit(wl.cursor_surface);
        wl_pointer_set_cursor(pointer, serial, wl.cursor_surface, (int32_t)img->hotspot_x, (int32_t)img->hotspot_y);
    }
    else {
        wl_pointer_set_cursor(pointer, serial, NULL, 0, 0);
    }
#else
    wl_pointer_set_cursor(pointer, serial, NULL, 0, 0);
#endif
    lv_wl_ptr_motion(&win->ptr, x * win->scale, y * win->scale);
    wake(&win->ptr_drv);
}

static void pointer_leave(void * data, struct wl_pointer * pointer, uint32_t serial, struct wl_surface * surface)
{
    (void)data;
    (void)pointer;
    (void)serial;
    (void)surface;
    wl_window_t * win = wl.pointer_focus;
    wl.pointer_focus = NULL;
    if(!win) return;
    lv_wl_ptr_leave(&win->ptr);
    win->axis.pressed = false;
    wake(&win->ptr_drv);
    wake(&win->axis_drv);
}

static void pointer_motion(void * data, struct wl_pointer * pointer, uint32_t time, wl_fixed_t x, wl_fixed_t y)
{
    (void)data;
    (void)pointer;
    (void)time;
    wl_window_t * win = wl.pointer_focus;
    if(!win) return;
    lv_wl_ptr_motion(&win->ptr, x * win->scale, y * win->scale);
    wake(&win->ptr_drv);
}

static void pointer_button(void * data, struct wl_pointer * pointer, uint32_t serial, uint32_t time, uint32_t button,
                           uint32_t state)
{
    (void)data;
    (void)pointer;
    (void)serial;
    (void)time;
    wl_window_t * win = wl.pointer_focus;
    if(!win) return;
    bool pressed = state == WL_POINTER_BUTTON_STATE_PRESSED;
    if(button == BTN_LEFT) {
        lv_wl_ptr_button(&win->ptr, pressed);
        wake(&win->ptr_drv);
    }
    else if(button == BTN_MIDDLE) {
        win->axis.pressed = pressed;
        wake(&win->axis_drv);
    }
}

static void pointer_axis(void * data, struct wl_pointer * pointer, uint32_t time, uint32_t axis, wl_fixed_t value)
{
    (void)data;
    (void)pointer;
    (void)time;
    wl_window_t * win = wl.pointer_focus;
    if(!win || axis != WL_POINTER_AXIS_VERTICAL_SCROLL) return;
    lv_wl_axis_value(&win->axis, value);
    wake(&win->axis_drv);
}

static void pointer_frame(void * data, struct wl_pointer * pointer)
{
    (void)data;
    (void)pointer;
    if(wl.pointer_focus) lv_wl_axis_frame(&wl.pointer_focus->axis);
}

static void pointer_axis_source(void * data, struct wl_pointer * pointer, uint32_t source)
{
    (void)data;
    (void)pointer;
    (void)source;
}

static void pointer_axis_stop(void * data, struct wl_pointer * pointer, uint32_t time, uint32_t axis)
{
    (void)data;
    (void)pointer;
    (void)time;
    (void)axis;
}

static void pointer_axis_discrete(void * data, struct wl_pointer * pointer, uint32_t axis, int32_t discrete)
{
    (void)data;
    (void)pointer;
    wl_window_t * win = wl.pointer_focus;
    if(!win || axis != WL_POINTER_AXIS_VERTICAL_SCROLL) return;
    lv_wl_axis_discrete(&win->axis, discrete);
    wake(&win->axis_drv);
}

static const struct wl_pointer_listener pointer_listener = {
    .enter = pointer_enter,
    .leave = pointer_leave,
    .motion = pointer_motion,
    .button = pointer_button,
    .axis = pointer_axis,
    .frame = pointer_frame,
    .axis_source = pointer_axis_source,
    .axis_stop = pointer_axis_stop,
    .axis_discrete = pointer_axis_discrete,
};

static void touch_down(void * data, struct wl_touch * touch, uint32_t serial, uint32_t time,
                       struct wl_surface * surface, int32_t id, wl_fixed_t x, wl_fixed_t y)
{
    (void)data;
    (void)touch;
    (void)serial;
    (void)time;
    wl_window_t * win = window_of_surface(surface);
    if(!win || (wl.touch_focus && wl.touch_focus != win)) return;
    wl.touch_focus = win;
    lv_wl_touch_down(&win->touch, id, x * win->scale, y * win->scale);
    wake(&win->touch_drv);
}

static void touch_up(void * data, struct wl_touch * touch, uint32_t serial, uint32_t time, int32_t id)
{
    (void)data;
    (void)touch;
    (void)serial;
    (void)time;
    wl_window_t * win = wl.touch_focus;
    if(!win) return;
    lv_wl_touch_up(&win->touch, id);
    if(!win->touch.touch_active) wl.touch_focus = NULL;
    wake(&win->touch_drv);
}

static void touch_motion(void * data, struct wl_touch * touch, uint32_t time, int32_t id, wl_fixed_t x, wl_fixed_t y)
{
    (void)data;
    (void)touch;
    (void)time;
    wl_window_t * win = wl.touch_focus;
    if(!win) return;
    lv_wl_touch_motion(&win->touch, id, x * win->scale, y * win->scale);
    wake(&win->touch_drv);
}

static void touch_frame(void * data, struct wl_touch * touch)
{
    (void)data;
    (void)touch;
}

static void touch_cancel(void * data, struct wl_touch * touch)
{
    (void)data;
    (void)touch;
    wl_window_t * win = wl.touch_focus;
    wl.touch_focus = NULL;
    if(!win) return;
    if(win->touch.touch_active) win->touch_cancelled = true;
    lv_wl_touch_cancel(&win->touch);
    wake(&win->touch_drv);
}

static const struct wl_touch_listener touch_listener = {
    .down = touch_down,
    .up = touch_up,
    .motion = touch_motion,
    .frame = touch_frame,
    .cancel = touch_cancel,
};

static void keyboard_keymap(void * data, struct wl_keyboard * keyboard, uint32_t format, int32_t fd, uint32_t size)
{
    (void)data;
    (void)keyboard;
    if(format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || !wl.xkb) {
        close(fd);
        return;
    }
    char * map = mmap(NULL, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if(map == MAP_FAILED) return;
    struct xkb_keymap * keymap = xkb_keymap_new_from_buffer(wl.xkb, map, strnlen(map, size),
                                                            XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(map, size);
    if(!keymap) return;
    struct xkb_state * state = xkb_state_new(keymap);
    if(!state) {
        xkb_keymap_unref(keymap);
        return;
    }
    xkb_state_unref(wl.xkb_state);
    xkb_keymap_unref(wl.keymap);
    wl.keymap = keymap;
    wl.xkb_state = state;
}

static void keyboard_enter(void * data, struct wl_keyboard * keyboard, uint32_t serial, struct wl_surface * surface,
                           struct wl_array * keys)
{
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)keys;
    wl.keyboard_focus = window_of_surface(surface);
}

static void keyboard_leave(void * data, struct wl_keyboard * keyboard, uint32_t serial, struct wl_surface * surface)
{
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)surface;
    wl_window_t * win = wl.keyboard_focus;
    wl.keyboard_focus = NULL;
    if(!win) return;
    lv_wl_kbd_leave(&win->kbd);
    wake(&win->kbd_drv);
}

static void keyboard_key(void * data, struct wl_keyboard * keyboard, uint32_t serial, uint32_t time, uint32_t key,
                         uint32_t state)
{
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)time;
    wl_window_t * win = wl.keyboard_focus;
    if(!win || !wl.xkb_state) return;
    xkb_keycode_t code = key + 8; /* evdev to xkb numbering */
    uint32_t lv_key = lv_wl_keysym_to_lv_key(xkb_state_key_get_one_sym(wl.xkb_state, code),
                                             xkb_state_key_get_utf32(wl.xkb_state, code));
    if(!lv_key) return;
    lv_wl_kbd_key(&win->kbd, lv_key, state == WL_KEYBOARD_KEY_STATE_PRESSED);
    wake(&win->kbd_drv);
}

static void keyboard_modifiers(void * data, struct wl_keyboard * keyboard, uint32_t serial, uint32_t depressed,
                               uint32_t latched, uint32_t locked, uint32_t group)
{
    (void)data;
    (void)keyboard;
    (void)serial;
    if(wl.xkb_state) xkb_state_update_mask(wl.xkb_state, depressed, latched, locked, 0, 0, group);
}

static void keyboard_repeat_info(void * data, struct wl_keyboard * keyboard, int32_t rate, int32_t delay)
{
    /* LVGL repeats held keys itself. */
    (void)data;
    (void)keyboard;
    (void)rate;
    (void)delay;
}

static const struct wl_keyboard_listener keyboard_listener = {
    .keymap = keyboard_keymap,
    .enter = keyboard_enter,
    .leave = keyboard_leave,
    .key = keyboard_key,
    .modifiers = keyboard_modifiers,
    .repeat_info = keyboard_repeat_info,
};

static void release_pointer(void)
{
    if(!wl.pointer) return;
    if(wl.seat_version >= WL_POINTER_RELEASE_SINCE_VERSION) wl_pointer_release(wl.pointer);
    else wl_pointer_destroy(wl.pointer);
    wl.pointer = NULL;
    wl.pointer_focus = NULL;
}

static void release_keyboard(void)
{
    if(!wl.keyboard) return;
    if(wl.seat_version >= WL_KEYBOARD_RELEASE_SINCE_VERSION) wl_keyboard_release(wl.keyboard);
    else wl_keyboard_destroy(wl.keyboard);
    wl.keyboard = NULL;
    wl.keyboard_focus = NULL;
}

static void release_touch(void)
{
    if(!wl.touch) return;
    if(wl.seat_version >= WL_TOUCH_RELEASE_SINCE_VERSION) wl_touch_release(wl.touch);
    else wl_touch_destroy(wl.touch);
    wl.touch = NULL;
    wl.touch_focus = NULL;
}

static void seat_capabilities(void * data, struct wl_seat * seat, uint32_t caps)
{
    (void)data;
    if((caps & WL_SEAT_CAPABILITY_POINTER) && !wl.pointer) {
        wl.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(wl.pointer, &pointer_listener, NULL);
    }
    else if(!(caps & WL_SEAT_CAPABILITY_POINTER)) {
        release_pointer();
    }
    if((caps & WL_SEAT_CAPABILITY_KEYBOARD) && !wl.keyboard) {
        wl.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(wl.keyboard, &keyboard_listener, NULL);
    }
    else if(!(caps & WL_SEAT_CAPABILITY_KEYBOARD)) {
        release_keyboard();
    }
    if((caps & WL_SEAT_CAPABILITY_TOUCH) && !wl.touch) {
        wl.touch = wl_seat_get_touch(seat);
        wl_touch_add_listener(wl.touch, &touch_listener, NULL);
    }
    else if(!(caps & WL_SEAT_CAPABILITY_TOUCH)) {
        release_touch();
    }
}

static void seat_name(void * data, struct wl_seat * seat, const char * name)
{
    (void)data;
    (void)seat;
    (void)name;
}

static const struct wl_seat_listener seat_listener = {
    .capabilities = seat_capabilities,
    .name = seat_name,
};

/*---------------------------------------------------------------------
 * Globals
 *-------------------------------------------------------------------*/
static void shm_format(void * data, struct wl_shm * shm, uint32_t format)
{
    (void)data;
    (void)shm;
    if(format == WL_SHM_FORMAT_RGB565) wl.has_rgb565 = true;
    if(format == WL_SHM_FORMAT_XRGB8888) wl.has_xrgb8888 = true;
}
static const struct wl_shm_listener shm_listener = {.format = shm_format};

static uint32_t min_u32(uint32_t a, uint32_t b)
{
    return a < b ? a : b;
}

static void registry_global(void * data, struct wl_registry * registry, uint32_t name, const char * iface,
                            uint32_t version)
{
    (void)data;
    if(strcmp(iface, wl_compositor_interface.name) == 0 && !wl.compositor) {
        wl.compositor_version = min_u32(version, 4);
        wl.compositor = wl_registry_bind(registry, name, &wl_compositor_interface, wl.compositor_version);
    }
    else if(strcmp(iface, wl_shm_interface.name) == 0 && !wl.shm) {
        wl.shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
        wl_shm_add_listener(wl.shm, &shm_listener, NULL);
    }
    else if(strcmp(iface, xdg_wm_base_interface.name) == 0 && !wl.wm_base) {
        wl.wm_base = wl_registry_bind(registry, name, &xdg_wm_base_interface, min_u32(version, 2));
        xdg_wm_base_add_listener(wl.wm_base, &wm_base_listener, NULL);
    }
    else if(strcmp(iface, wl_seat_interface.name) == 0 && !wl.seat) {
        wl.seat_version = min_u32(version, 5);
        wl.seat = wl_registry_bind(registry, name, &wl_seat_interface, wl.seat_version);
        wl_seat_add_listener(wl.seat, &seat_listener, NULL);
    }
    else if(strcmp(iface, wl_output_interface.name) == 0) {
        output_add(registry, name, version);
    }
}

static void registry_global_remove(void * data, struct wl_registry * registry, uint32_t name)
{
    (void)data;
    (void)registry;
    output_remove(name);
}

static const struct wl_registry_listener registry_listener = {
    .global = registry_global,
    .global_remove = registry_global_remove,
};

/*---------------------------------------------------------------------
 * Input device read callbacks
 *-------------------------------------------------------------------*/
static void ptr_read(lv_indev_drv_t * drv, lv_indev_data_t * data)
{
    lv_wl_ptr_read(&((wl_window_t *)drv->user_data)->ptr, data);
}

/* Every object of the tree in the pressed state loses its press. */
static void lose_presses(lv_obj_t * obj, lv_indev_t * indev)
{
    if(!obj) return;
    if(lv_obj_has_state(obj, LV_STATE_PRESSED)) {
        lv_obj_clear_state(obj, LV_STATE_PRESSED);
        lv_event_send(obj, LV_EVENT_PRESS_LOST, indev);
    }
    for(uint32_t i = 0; i < lv_obj_get_child_cnt(obj); i++) lose_presses(lv_obj_get_child(obj, (int32_t)i), indev);
}

static void touch_read(lv_indev_drv_t * drv, lv_indev_data_t * data)
{
    wl_window_t * win = drv->user_data;
    lv_wl_ptr_read(&win->touch, data);
    if(win->touch_cancelled && data->state == LV_INDEV_STATE_RELEASED) {
        /* A cancelled touch ends without a click: what it pressed loses the
         * press, and the core forgets it before it sees the release. */
        win->touch_cancelled = false;
        lose_presses(lv_disp_get_scr_act(win->disp), win->touch_indev);
        lose_presses(lv_disp_get_layer_top(win->disp), win->touch_indev);
        lv_indev_reset(win->touch_indev, NULL);
    }
}

static void axis_read(lv_indev_drv_t * drv, lv_indev_data_t * data)
{
    lv_wl_axis_read(&((wl_window_t *)drv->user_data)->axis, data);
}

static void kbd_read(lv_indev_drv_t * drv, lv_indev_data_t * data)
{
    lv_wl_kbd_read(&((wl_window_t *)drv->user_data)->kbd, data);
}

static lv_indev_t * register_indev(wl_window_t * win, lv_indev_drv_t * drv, lv_indev_type_t type,
                                   void (*read_cb)(lv_indev_drv_t *, lv_indev_data_t *))
{
    lv_indev_drv_init(drv);
    drv->type = type;
    drv->read_cb = read_cb;
    drv->user_data = win;
    drv->disp = win->disp;
    return lv_indev_drv_register(drv);
}

/*---------------------------------------------------------------------
 * Windows
 *-------------------------------------------------------------------*/
static wl_window_t * window_of_disp(lv_disp_t * disp)
{
    for(wl_window_t * w = wl.windows; w; w = w->next)
        if(w->disp == disp) return w;
    return NULL;
}

static void window_destroy(wl_window_t * win)
{
    for(wl_window_t ** pp = &wl.windows; *pp; pp = &(*pp)->next) {
        if(*pp == win) {
            *pp = win->next;
            break;
        }
    }
    if(wl.pointer_focus == win) wl.pointer_focus = NULL;
    if(wl.keyboard_focus == win) wl.keyboard_focus = NULL;
    if(wl.touch_focus == win) wl.touch_focus = NULL;

    /* Input devices first: they refer to the display. */
    if(win->ptr_indev) lv_indev_delete(win->ptr_indev);
    if(win->axis_indev) lv_indev_delete(win->axis_indev);
    if(win->touch_indev) lv_indev_delete(win->touch_indev);
    if(win->kbd_indev) lv_indev_delete(win->kbd_indev);
    if(win->disp) lv_disp_remove(win->disp);

    if(win->frame_cb) wl_callback_destroy(win->frame_cb);
    lv_wl_pool_destroy(&win->pool);
    if(win->toplevel) xdg_toplevel_destroy(win->toplevel);
    if(win->xdg_surface) xdg_surface_destroy(win->xdg_surface);
    if(win->surface) wl_surface_destroy(win->surface);
    free(win->canvas);
    free(win->draw_mem);
    free(win);
}

lv_disp_t * lv_wayland_create_window(lv_coord_t hor_res, lv_coord_t ver_res, char * title,
                                     lv_wayland_display_close_f_t close_cb)
{
    if(!wl.display) lv_wayland_init();

    wl_window_t * win = calloc(1, sizeof(*win));
    if(!win) fatal_no_window("no memory for a window");
    win->close_cb = close_cb;
    win->surface = wl_compositor_create_surface(wl.compositor);
    wl_surface_add_listener(win->surface, &surface_listener, win);
    win->xdg_surface = xdg_wm_base_get_xdg_surface(wl.wm_base, win->surface);
    xdg_surface_add_listener(win->xdg_surface, &xdg_surface_listener, win);
    win->toplevel = xdg_surface_get_toplevel(win->xdg_surface);
    xdg_toplevel_add_listener(win->toplevel, &toplevel_listener, win);
    if(title) xdg_toplevel_set_title(win->toplevel, title);
    xdg_toplevel_set_app_id(win->toplevel, program_invocation_short_name);
    win->next = wl.windows;
    wl.windows = win;

    /* The size is the program's; only a program that names none takes the
     * compositor's first configure. The compositor learns it (and the buffer
     * scale) with the first commit. */
    win->scale = 1;
    if(hor_res > 0 && ver_res > 0) {
        win->w = clamp_size(hor_res, 1);
        win->h = clamp_size(ver_res, 1);
        win->scale = window_best_scale(win);
        window_send_size(win);
        if(window_fits_an_output(win)) xdg_toplevel_set_fullscreen(win->toplevel, NULL);
    }
    wl_surface_commit(win->surface);
    if(!wait_for(&win->configured, WL_CONNECT_TIMEOUT_MS)) {
        if(wl_display_get_error(wl.display)) fatal_no_window("the compositor broke the connection while the window was made");
        fatal_no_window("the compositor did not configure the window in time");
    }
    if(win->w == 0) {
        win->w = clamp_size(win->cfg_w, 1280);
        win->h = clamp_size(win->cfg_h, 800);
        win->scale = window_best_scale(win);
    }
    win->canvas = calloc((size_t)win->w * (size_t)win->h, 2);
    win->draw_mem = malloc((size_t)win->w * (size_t)win->h * sizeof(lv_color_t));
    if(!win->canvas || !win->draw_mem) fatal_no_window("no memory for the window's image");
    lv_wl_damage_set_full(&win->frame_damage, win->w, win->h);
    lv_wl_pool_ops_t ops = {shm_buf_create, shm_buf_destroy, win};
    lv_wl_pool_init(&win->pool, &ops, win->w, win->h);
    lv_wl_ptr_init(&win->ptr, win->w, win->h);
    lv_wl_ptr_init(&win->touch, win->w, win->h);
    lv_wl_axis_init(&win->axis);
    lv_wl_kbd_init(&win->kbd);

    lv_disp_draw_buf_init(&win->draw_buf, win->draw_mem, NULL, (uint32_t)win->w * (uint32_t)win->h);
    lv_disp_drv_init(&win->disp_drv);
    win->disp_drv.hor_res = (lv_coord_t)win->w;
    win->disp_drv.ver_res = (lv_coord_t)win->h;
    win->disp_drv.draw_buf = &win->draw_buf;
    win->disp_drv.flush_cb = flush_cb;
    win->disp_drv.user_data = win;
    win->disp = lv_disp_drv_register(&win->disp_drv);
    if(!win->disp) fatal_no_window("LVGL refused the window's display");

    win->ptr_indev = register_indev(win, &win->ptr_drv, LV_INDEV_TYPE_POINTER, ptr_read);
    win->axis_indev = register_indev(win, &win->axis_drv, LV_INDEV_TYPE_ENCODER, axis_read);
    win->touch_indev = register_indev(win, &win->touch_drv, LV_INDEV_TYPE_POINTER, touch_read);
    win->kbd_indev = register_indev(win, &win->kbd_drv, LV_INDEV_TYPE_KEYPAD, kbd_read);

    /* Draw the first frame on the first pass rather than a refresh period later. */
    if(win->disp->refr_timer) lv_timer_ready(win->disp->refr_timer);
    return win->disp;
}

void lv_wayland_close_window(lv_disp_t * disp)
{
    wl_window_t * win = window_of_disp(disp);
    if(win) win->close_now = true;
}

void lv_wayland_window_close(lv_disp_t * disp)
{
    lv_wayland_close_window(disp);
}

bool lv_wayland_window_is_open(lv_disp_t * disp)
{
    if(!disp) return wl.windows != NULL;
    return window_of_disp(disp) != NULL;
}

void lv_wayland_window_set_fullscreen(lv_disp_t * disp, bool fullscreen)
{
    wl_window_t * win = window_of_disp(disp);
    if(!win) return;
    if(fullscreen) xdg_toplevel_set_fullscreen(win->toplevel, NULL);
    else xdg_toplevel_unset_fullscreen(win->toplevel);
}

void lv_wayland_window_set_maximized(lv_disp_t * disp, bool maximized)
{
    wl_window_t * win = window_of_disp(disp);
    if(!win) return;
    if(maximized) xdg_toplevel_set_maximized(win->toplevel);
    else xdg_toplevel_unset_maximized(win->toplevel);
}

lv_indev_t * lv_wayland_get_pointer(lv_disp_t * disp)
{
    wl_window_t * win = window_of_disp(disp);
    return win ? win->ptr_indev : NULL;
}

lv_indev_t * lv_wayland_get_pointeraxis(lv_disp_t * disp)
{
    wl_window_t * win = window_of_disp(disp);
    return win ? win->axis_indev : NULL;
}

lv_indev_t * lv_wayland_get_touchscreen(lv_disp_t * disp)
{
    wl_window_t * win = window_of_disp(disp);
    return win ? win->touch_indev : NULL;
}

lv_indev_t * lv_wayland_get_keyboard(lv_disp_t * disp)
{
    wl_window_t * win = window_of_disp(disp);
    return win ? win->kbd_indev : NULL;
}

/*---------------------------------------------------------------------
 * Connection and the pass
 *-------------------------------------------------------------------*/
void lv_wayland_init(void)
{
    if(wl.display) return;
    stats_init();
    wl.display = wl_display_connect(NULL);
    if(!wl.display) {
        char what[256];
        snprintf(what, sizeof(what), "cannot connect to a Wayland compositor (%s)", strerror(errno));
        fatal_no_window(what);
    }
    wl.xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    wl.registry = wl_display_get_registry(wl.display);
    wl_registry_add_listener(wl.registry, &registry_listener, NULL);
    /* First answer: the globals; second: what binding them told (formats, seat). */
    if(!roundtrip(WL_CONNECT_TIMEOUT_MS) || !roundtrip(WL_CONNECT_TIMEOUT_MS))
        fatal_no_window("the Wayland compositor did not answer");
    if(!wl.compositor || !wl.shm || !wl.wm_base)
        fatal_no_window("the Wayland compositor lacks wl_compositor, wl_shm or xdg_wm_base");

    const char * force = getenv("TESSEL_WAYLAND_FORCE_XRGB8888");
    bool force32 = force && *force && strcmp(force, "0") != 0;
    if(wl.has_rgb565 && !force32) {
        wl.format = WL_SHM_FORMAT_RGB565;
        wl.bpp = 2;
    }
    else {
        /* Every compositor must offer XRGB8888; the RGB565 image is widened into it. */
        wl.format = WL_SHM_FORMAT_XRGB8888;
        wl.bpp = 4;
    }
    if(stats.on)
        fprintf(stderr, "lv_wayland stats: shm format %s\n", wl.bpp == 2 ? "RGB565" : "XRGB8888 (converted)");
}

void lv_wayland_deinit(void)
{
    if(!wl.display) return;
    while(wl.windows) window_destroy(wl.windows);
    release_pointer();
    release_keyboard();
    release_touch();
    if(wl.cursor_surface) wl_surface_destroy(wl.cursor_surface);
    if(wl.cursor_theme) wl_cursor_theme_destroy(wl.cursor_theme);
    if(wl.seat) wl_seat_destroy(wl.seat);
    for(int i = 0; i < wl.n_outputs; i++) wl_output_destroy(wl.outputs[i].output);
    if(wl.wm_base) xdg_wm_base_destroy(wl.wm_base);
    if(wl.shm) wl_shm_destroy(wl.shm);
    if(wl.compositor) wl_compositor_destroy(wl.compositor);
    if(wl.registry) wl_registry_destroy(wl.registry);
    xkb_state_unref(wl.xkb_state);
    xkb_keymap_unref(wl.keymap);
    xkb_context_unref(wl.xkb);
    wl_display_flush(wl.display);
    wl_display_disconnect(wl.display);
    memset(&wl, 0, sizeof(wl));
}

int lv_wayland_get_fd(void)
{
    return wl.display ? wl_display_get_fd(wl.display) : -1;
}

uint32_t lv_wayland_timer_handler(void)
{
    if(!wl.display) return lv_timer_handler();
    stats_pass();
    if(pump(0) < 0) connection_lost();

    uint32_t next = lv_timer_handler();

    for(wl_window_t * win = wl.windows, * nx; win; win = nx) {
        nx = win->next;
        if(win->close_now) {
            window_destroy(win);
        }
        else if(win->close_requested) {
            win->close_requested = false;
            if(!win->close_cb || win->close_cb(win->disp)) window_destroy(win);
        }
    }

    if(wl_display_flush(wl.display) < 0 && errno != EAGAIN && errno != EINTR) connection_lost();
    return next;
}
