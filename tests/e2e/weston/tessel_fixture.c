/*
 * tessel_fixture.c: a weston 10 module for the end-to-end tests.
 *
 * weston's headless backend has no input devices and no way to inject
 * any. Loaded with `weston --modules=/path/tessel-fixture.so`, this module
 *   - gives the compositor a seat "tessel" with a touch screen and a pointer;
 *   - listens on a Unix stream socket (path in TESSEL_WESTON_CTL, else
 *     $XDG_RUNTIME_DIR/tessel-fixture.sock) for commands, one per line,
 *     each answered by one line ("ok ..." or "error MESSAGE");
 *   - writes the first output's pixels to a PNG (or PPM) file, whatever
 *     the shell, after a full repaint.
 *
 * Commands (coordinates are output pixels, decimals allowed; ID is the
 * touch point's number, several may be down at once):
 *   touch down ID X Y      touch motion ID X Y      touch up ID
 *   touch frame            touch cancel
 *   pointer move X Y       pointer down             pointer up     (left button, with a frame)
 *   shot PATH              write the output to PATH (.ppm: binary PPM, else PNG); "ok W H"
 *   output                 "ok X Y W H SCALE" of the first output
 *   windows                a line "window X Y W H TITLE" per shown top-level window
 *                          (position on the screen, size in surface units), then "ok N"
 *   close TITLE            ask the windows titled TITLE to close (xdg_toplevel.close); "ok N"
 *   watch X Y W H          remember that region of the output as it is now; from the next
 *                          repaint on, note the first one after which it differs
 *   watched                "ok CHANGED PRESSED": CLOCK_MONOTONIC seconds of that repaint
 *                          and of the last touch down or pointer press before it, or
 *                          "ok none" while the region is unchanged (for latency benchmarks)
 * Touch events go out as sent; the client sees them when "touch frame"
 * follows. weston 10 itself never sends wl_touch.cancel (its default touch
 * grab ignores a cancel), so "touch cancel" sends it to the clients with
 * touch focus, takes the focus away and lifts the points that are down
 * inside weston without telling anyone. An answer means weston has handled the command: the events are
 * queued for the clients (they reach them when weston next flushes).
 *
 * Test fixture only: it trusts whoever can open the socket (the socket
 * lives in the compositor's private runtime directory).
 */
#define _GNU_SOURCE
#include <errno.h>
#include <stdarg.h>
#include <fcntl.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <linux/input-event-codes.h>
#include <libweston/libweston.h>
#include <libweston-desktop/libweston-desktop.h>
#include <weston/weston.h>

/* Exported by libweston-10 for its backends; the installed headers leave
 * them out. */
void weston_seat_init(struct weston_seat * seat, struct weston_compositor * ec, const char * seat_name);
void weston_seat_release(struct weston_seat * seat);
int weston_seat_init_pointer(struct weston_seat * seat);
int weston_seat_init_touch(struct weston_seat * seat);
struct weston_touch_device * weston_touch_create_touch_device(struct weston_touch * touch, const char * syspath,
                                                              void * backend_data,
                                                              const struct weston_touch_device_ops * ops);
void weston_touch_device_destroy(struct weston_touch_device * device);
void notify_touch_normalized(struct weston_touch_device * device, const struct timespec * time, int touch_id,
                             double x, double y, const struct weston_point2d_device_normalized * norm,
                             int touch_type);
void notify_touch_frame(struct weston_touch_device * device);
void notify_motion_absolute(struct weston_seat * seat, const struct timespec * time, double x, double y);
void notify_button(struct weston_seat * seat, const struct timespec * time, int32_t button,
                   enum wl_pointer_button_state state);
void notify_pointer_frame(struct weston_seat * seat);
void weston_output_damage(struct weston_output * output);

#define MAX_CONNS 8
#define MAX_POINTS 16
#define LINE_MAX_LEN 4096

struct conn {
    struct fixture * fx;
    int fd;
    struct wl_event_source * source;
    char buf[LINE_MAX_LEN];
    size_t len;
    bool waiting; /* a shot is pending: further lines wait for it */
};

struct fixture {
    struct weston_compositor * ec;
    struct weston_seat seat;
    struct weston_touch_device * touch;
    int down[MAX_POINTS]; /* ids of the touch points down; -1: free */
    int listen_fd;
    struct wl_event_source * listen_source;
    char path[sizeof(((struct sockaddr_un *)0)->sun_path)];
    struct conn * conns[MAX_CONNS];
    struct wl_listener destroy;

    /* the shot waiting for the next repaint of the output */
    struct conn * shot_conn;
    struct weston_output * shot_output;
    char shot_path[LINE_MAX_LEN];
    struct wl_listener frame;

    /* the watched region (watch / watched) */
    struct weston_output * watch_output;
    int wx, wy, ww, wh;
    uint32_t * watch_px;
    struct wl_listener watch_frame;
    struct timespec last_press, changed, changed_press;
    bool watch_done;
};

static void reply(struct conn * c, const char * fmt, ...) __attribute__((format(printf, 2, 3)));
static void reply(struct conn * c, const char * fmt, ...)
{
    char line[512];
    va_list ap;
    va_start(ap, fmt);
    int n = vsnprintf(line, sizeof(line) - 1, fmt, ap);
    va_end(ap);
    if(n < 0) return;
    if(n > (int)sizeof(line) - 2) n = (int)sizeof(line) - 2;
    line[n++] = '\n';
    /* Short answers to a blocking reader: one write suffices; a reader that
     * went away loses its answer. */
    if(write(c->fd, line, (size_t)n) < 0) weston_log("tessel-fixture: reply lost: %s\n", strerror(errno));
}

static struct weston_output * first_output(struct fixture * fx)
{
    struct weston_output * o;
    wl_list_for_each(o, &fx->ec->output_list, link) return o;
    return NULL;
}

/*------------------------------------------------------------ pictures */

/* Rows of 0xAARRGGBB words, top row first, into a PPM or PNG. */
static int write_picture(const char * path, const uint32_t * px, int w, int h)
{
    size_t plen = strlen(path);
    bool ppm = plen > 4 && strcmp(path + plen - 4, ".ppm") == 0;
    char tmp[LINE_MAX_LEN + 16];
    snprintf(tmp, sizeof(tmp), "%s.part", path);
    FILE * f = fopen(tmp, "wb");
    if(!f) return -1;
    uint8_t * row = malloc((size_t)w * 3);
    if(!row) {
        fclose(f);
        return -1;
    }
    int ok = 1;
    png_structp png = NULL;
    png_infop info = NULL;
    if(ppm) {
        fprintf(f, "P6\n%d %d\n255\n", w, h);
    }
    else {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
        info = png ? png_create_info_struct(png) : NULL;
        if(!info || setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            free(row);
            fclose(f);
            unlink(tmp);
            return -1;
        }
        png_init_io(png, f);
        png_set_compression_level(png, 1);
        png_set_IHDR(png, info, (png_uint_32)w, (png_uint_32)h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
    }
    for(int y = 0; y < h; y++) {
        const uint32_t * src = px + (size_t)y * (size_t)w;
        for(int x = 0; x < w; x++) {
            row[x * 3 + 0] = (uint8_t)(src[x] >> 16);
            row[x * 3 + 1] = (uint8_t)(src[x] >> 8);
            row[x * 3 + 2] = (uint8_t)src[x];
        }
        if(ppm) ok &= fwrite(row, 3, (size_t)w, f) == (size_t)w;
        else png_write_row(png, row);
    }
    if(!ppm) {
        png_write_end(png, NULL);
        png_destroy_write_struct(&png, &info);
    }
    free(row);
    ok &= fclose(f) == 0;
    if(!ok || rename(tmp, path) != 0) {
        unlink(tmp);
        return -1;
    }
    return 0;
}

static void conn_resume(struct conn * c);

static void shot_take(struct wl_listener * listener, void * data)
{
    (void)data;
    struct fixture * fx = wl_container_of(listener, fx, frame);
    wl_list_remove(&fx->frame.link);
    wl_list_init(&fx->frame.link);
    struct conn * c = fx->shot_conn;
    struct weston_output * o = fx->shot_output;
    fx->shot_conn = NULL;
    fx->shot_output = NULL;
    if(!c) return;

    int w = o->current_mode->width, h = o->current_mode->height;
    uint32_t * px = malloc((size_t)w * (size_t)h * 4);
    if(!px) {
        reply(c, "error no memory");
    }
    else if(fx->ec->renderer->read_pixels(o, PIXMAN_a8r8g8b8, px, 0, 0, (uint32_t)w, (uint32_t)h) < 0) {
        reply(c, "error the renderer could not read the output");
    }
    else {
        if(fx->ec->capabilities & WESTON_CAP_CAPTURE_YFLIP) {
            for(int y = 0; y < h / 2; y++) {
                uint32_t * a = px + (size_t)y * (size_t)w, * b = px + (size_t)(h - 1 - y) * (size_t)w;
                for(int x = 0; x < w; x++) {
                    uint32_t t = a[x];
                    a[x] = b[x];
                    b[x] = t;
                }
            }
        }
        if(write_picture(fx->shot_path, px, w, h) == 0) reply(c, "ok %d %d", w, h);
        else reply(c, "error cannot write %s: %s", fx->shot_path, strerror(errno));
    }
    free(px);
    c->waiting = false;
    conn_resume(c);
}

/* The picture is read after a full repaint, so it is what the output
 * shows now, whatever the shell last drew. */
static void shot_request(struct conn * c, const char * path)
{
    struct fixture * fx = c->fx;
    struct weston_output * o = first_output(fx);
    if(!o) {
        reply(c, "error no output");
        return;
    }
    if(fx->shot_conn) {
        reply(c, "error another shot is pending");
        return;
    }
    snprintf(fx->shot_path, sizeof(fx->shot_path), "%s", path);
    fx->shot_conn = c;
    fx->shot_output = o;
    c->waiting = true;
    fx->frame.notify = shot_take;
    wl_signal_add(&o->frame_signal, &fx->frame);
    weston_output_damage(o);
    weston_output_schedule_repaint(o);
}

/*------------------------------------------------------------ watch */

static void watch_stop(struct fixture * fx)
{
    wl_list_remove(&fx->watch_frame.link);
    wl_list_init(&fx->watch_frame.link);
    free(fx->watch_px);
    fx->watch_px = NULL;
}

static int read_region(struct fixture * fx, uint32_t * px)
{
    return fx->ec->renderer->read_pixels(fx->watch_output, PIXMAN_a8r8g8b8, px, (uint32_t)fx->wx, (uint32_t)fx->wy,
                                         (uint32_t)fx->ww, (uint32_t)fx->wh);
}

static void watch_repainted(struct wl_listener * listener, void * data)
{
    (void)data;
    struct fixture * fx = wl_container_of(listener, fx, watch_frame);
    size_t n = (size_t)fx->ww * (size_t)fx->wh;
    uint32_t * now = malloc(n * 4);
    if(!now) return;
    if(read_region(fx, now) == 0 && memcmp(now, fx->watch_px, n * 4) != 0) {
        weston_compositor_get_time(&fx->changed);
        fx->changed_press = fx->last_press;
        fx->watch_done = true;
        watch_stop(fx);
    }
    free(now);
}

static void watch_start(struct conn * c, int x, int y, int w, int h)
{
    struct fixture * fx = c->fx;
    struct weston_output * o = first_output(fx);
    if(!o || w <= 0 || h <= 0 || x < 0 || y < 0 || x + w > o->current_mode->width ||
       y + h > o->current_mode->height) {
        reply(c, "error region outside the output");
        return;
    }
    watch_stop(fx);
    fx->watch_output = o;
    fx->wx = x, fx->wy = y, fx->ww = w, fx->wh = h;
    fx->watch_done = false;
    fx->watch_px = malloc((size_t)w * (size_t)h * 4);
    if(!fx->watch_px || read_region(fx, fx->watch_px) < 0) {
        watch_stop(fx);
        reply(c, "error cannot read the region");
        return;
    }
    fx->watch_frame.notify = watch_repainted;
    wl_signal_add(&o->frame_signal, &fx->watch_frame);
    reply(c, "ok");
}

/*------------------------------------------------------------ windows */

/* Top-level windows in the order of the last repaint, topmost first. */
static void list_windows(struct conn * c, const char * close_title)
{
    struct weston_view * v;
    int n = 0;
    wl_list_for_each(v, &c->fx->ec->view_list, link) {
        if(!weston_surface_is_desktop_surface(v->surface)) continue;
        struct weston_desktop_surface * ds = weston_surface_get_desktop_surface(v->surface);
        const char * title = weston_desktop_surface_get_title(ds);
        if(!title) title = "";
        if(close_title) {
            if(strcmp(title, close_title) == 0) {
                weston_desktop_surface_close(ds);
                n++;
            }
            continue;
        }
        struct weston_geometry g = weston_desktop_surface_get_geometry(ds);
        reply(c, "window %d %d %d %d %s", (int)v->geometry.x + g.x, (int)v->geometry.y + g.y, g.width, g.height,
              title);
        n++;
    }
    reply(c, "ok %d", n);
}

/*------------------------------------------------------------ touch */

static int point_slot(struct fixture * fx, int id)
{
    for(int i = 0; i < MAX_POINTS; i++)
        if(fx->down[i] == id) return i;
    return -1;
}

static void touch_cancel(struct fixture * fx, const struct timespec * now)
{
    struct weston_touch * touch = fx->seat.touch_state;
    struct wl_resource * r;
    wl_resource_for_each(r, &touch->focus_resource_list) wl_touch_send_cancel(r);
    weston_touch_set_focus(touch, NULL);
    for(int i = 0; i < MAX_POINTS; i++) {
        if(fx->down[i] < 0) continue;
        notify_touch_normalized(fx->touch, now, fx->down[i], 0, 0, NULL, WL_TOUCH_UP);
        fx->down[i] = -1;
    }
    notify_touch_frame(fx->touch); /* to nobody: no focus */
}

/*------------------------------------------------------------ commands */

static void command(struct conn * c, char * line)
{
    struct fixture * fx = c->fx;
    struct timespec now;
    weston_compositor_get_time(&now);
    struct weston_output * o = first_output(fx);
    double ox = o ? o->x : 0, oy = o ? o->y : 0;
    char w1[32] = "", w2[32] = "";
    int id = 0;
    double x = 0, y = 0;
    char rest[LINE_MAX_LEN];
    int wx = 0, wy = 0, wh = 0;

    if(sscanf(line, "touch %31s %d %lf %lf", w1, &id, &x, &y) == 4 &&
       (strcmp(w1, "down") == 0 || strcmp(w1, "motion") == 0)) {
        bool down = strcmp(w1, "down") == 0;
        int slot = point_slot(fx, down ? -1 : id);
        if(down && point_slot(fx, id) >= 0) {
            reply(c, "error touch point %d is already down", id);
            return;
        }
        if(slot < 0) {
            reply(c, down ? "error too many touch points" : "error touch point %d is not down", id);
            return;
        }
        fx->down[slot] = id;
        if(down) fx->last_press = now;
        notify_touch_normalized(fx->touch, &now, id, ox + x, oy + y, NULL, down ? WL_TOUCH_DOWN : WL_TOUCH_MOTION);
        reply(c, "ok");
    }
    else if(sscanf(line, "touch up %d", &id) == 1) {
        int slot = point_slot(fx, id);
        if(slot < 0) {
            reply(c, "error touch point %d is not down", id);
            return;
        }
        fx->down[slot] = -1;
        notify_touch_normalized(fx->touch, &now, id, 0, 0, NULL, WL_TOUCH_UP);
        reply(c, "ok");
    }
    else if(strcmp(line, "touch frame") == 0) {
        notify_touch_frame(fx->touch);
        reply(c, "ok");
    }
    else if(strcmp(line, "touch cancel") == 0) {
        touch_cancel(fx, &now);
        reply(c, "ok");
    }
    else if(sscanf(line, "pointer move %lf %lf", &x, &y) == 2) {
        notify_motion_absolute(&fx->seat, &now, ox + x, oy + y);
        notify_pointer_frame(&fx->seat);
        reply(c, "ok");
    }
    else if(sscanf(line, "pointer %31s %31s", w1, w2) == 1 && (strcmp(w1, "down") == 0 || strcmp(w1, "up") == 0)) {
        if(strcmp(w1, "down") == 0) fx->last_press = now;
        notify_button(&fx->seat, &now, BTN_LEFT,
                      strcmp(w1, "down") == 0 ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
        notify_pointer_frame(&fx->seat);
        reply(c, "ok");
    }
    else if(sscanf(line, "shot %4095[^\n]", rest) == 1) {
        shot_request(c, rest);
    }
    else if(sscanf(line, "watch %d %d %d %d", &id, &wx, &wy, &wh) == 4) {
        watch_start(c, id, wx, wy, wh);
    }
    else if(strcmp(line, "watched") == 0) {
        if(!fx->watch_done) reply(c, "ok none");
        else reply(c, "ok %lld.%09ld %lld.%09ld", (long long)fx->changed.tv_sec, fx->changed.tv_nsec,
                   (long long)fx->changed_press.tv_sec, fx->changed_press.tv_nsec);
    }
    else if(strcmp(line, "windows") == 0) {
        list_windows(c, NULL);
    }
    else if(sscanf(line, "close %4095[^\n]", rest) == 1) {
        list_windows(c, rest);
    }
    else if(strcmp(line, "output") == 0) {
        if(o) reply(c, "ok %d %d %d %d %d", o->x, o->y, o->current_mode->width, o->current_mode->height,
                    o->current_scale);
        else reply(c, "error no output");
    }
    else {
        reply(c, "error unknown command: %s", line);
    }
}

static void conn_close(struct conn * c)
{
    struct fixture * fx = c->fx;
    if(fx->shot_conn == c) fx->shot_conn = NULL; /* the repaint still comes; nobody hears of it */
    for(int i = 0; i < MAX_CONNS; i++)
        if(fx->conns[i] == c) fx->conns[i] = NULL;
    wl_event_source_remove(c->source);
    close(c->fd);
    free(c);
}

/* Handles the complete lines in the buffer (up to a pending shot). */
static void conn_resume(struct conn * c)
{
    while(!c->waiting) {
        char * nl = memchr(c->buf, '\n', c->len);
        if(!nl) break;
        *nl = '\0';
        if(nl > c->buf && nl[-1] == '\r') nl[-1] = '\0';
        command(c, c->buf);
        size_t used = (size_t)(nl - c->buf) + 1;
        memmove(c->buf, nl + 1, c->len - used);
        c->len -= used;
    }
}

static int conn_readable(int fd, uint32_t mask, void * data)
{
    struct conn * c = data;
    if(c->len == sizeof(c->buf)) {
        reply(c, "error line too long");
        conn_close(c);
        return 0;
    }
    ssize_t n = read(fd, c->buf + c->len, sizeof(c->buf) - c->len);
    if(n <= 0 || (mask & (WL_EVENT_HANGUP | WL_EVENT_ERROR))) {
        if(n > 0) c->len += (size_t)n;
        if(n < 0 && errno == EAGAIN) return 0;
        conn_close(c);
        return 0;
    }
    c->len += (size_t)n;
    conn_resume(c);
    return 0;
}

static int listen_readable(int fd, uint32_t mask, void * data)
{
    (void)mask;
    struct fixture * fx = data;
    int cfd = accept4(fd, NULL, NULL, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if(cfd < 0) return 0;
    int slot = -1;
    for(int i = 0; i < MAX_CONNS; i++)
        if(!fx->conns[i]) slot = i;
    struct conn * c = slot >= 0 ? calloc(1, sizeof(*c)) : NULL;
    if(!c) {
        close(cfd);
        return 0;
    }
    c->fx = fx;
    c->fd = cfd;
    c->source = wl_event_loop_add_fd(wl_display_get_event_loop(fx->ec->wl_display), cfd, WL_EVENT_READABLE,
                                     conn_readable, c);
    fx->conns[slot] = c;
    return 0;
}

/*------------------------------------------------------------ set-up */

static void fixture_destroy(struct wl_listener * listener, void * data)
{
    (void)data;
    struct fixture * fx = wl_container_of(listener, fx, destroy);
    for(int i = 0; i < MAX_CONNS; i++)
        if(fx->conns[i]) conn_close(fx->conns[i]);
    wl_list_remove(&fx->frame.link);
    watch_stop(fx);
    if(fx->listen_source) wl_event_source_remove(fx->listen_source);
    close(fx->listen_fd);
    unlink(fx->path);
    weston_touch_device_destroy(fx->touch);
    weston_seat_release(&fx->seat);
    free(fx);
}

WL_EXPORT int wet_module_init(struct weston_compositor * ec, int * argc, char * argv[])
{
    (void)argc;
    (void)argv;
    struct fixture * fx = zalloc(sizeof(*fx));
    if(!fx) return -1;
    fx->ec = ec;
    fx->listen_fd = -1;
    for(int i = 0; i < MAX_POINTS; i++) fx->down[i] = -1;
    wl_list_init(&fx->frame.link);
    wl_list_init(&fx->watch_frame.link);

    const char * path = getenv("TESSEL_WESTON_CTL");
    const char * rt = getenv("XDG_RUNTIME_DIR");
    if(path && *path) snprintf(fx->path, sizeof(fx->path), "%s", path);
    else snprintf(fx->path, sizeof(fx->path), "%s/tessel-fixture.sock", rt ? rt : "/tmp");

    weston_seat_init(&fx->seat, ec, "tessel");
    if(weston_seat_init_pointer(&fx->seat) < 0 || weston_seat_init_touch(&fx->seat) < 0) goto fail;
    fx->touch = weston_touch_create_touch_device(fx->seat.touch_state, "tessel-fixture-touch", NULL, NULL);
    if(!fx->touch) goto fail;

    struct sockaddr_un addr = {.sun_family = AF_UNIX};
    snprintf(addr.sun_path, sizeof(addr.sun_path), "%s", fx->path);
    unlink(fx->path);
    fx->listen_fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if(fx->listen_fd < 0 || bind(fx->listen_fd, (struct sockaddr *)&addr, sizeof(addr)) < 0 ||
       listen(fx->listen_fd, 4) < 0) {
        weston_log("tessel-fixture: cannot listen on %s: %s\n", fx->path, strerror(errno));
        goto fail;
    }
    fx->listen_source = wl_event_loop_add_fd(wl_display_get_event_loop(ec->wl_display), fx->listen_fd,
                                             WL_EVENT_READABLE, listen_readable, fx);
    if(!weston_compositor_add_destroy_listener_once(ec, &fx->destroy, fixture_destroy)) goto fail;
    weston_log("tessel-fixture: seat \"tessel\" with touch and pointer; commands on %s\n", fx->path);
    return 0;

fail:
    weston_log("tessel-fixture: set-up failed\n");
    if(fx->listen_source) wl_event_source_remove(fx->listen_source);
    if(fx->listen_fd >= 0) close(fx->listen_fd);
    if(fx->touch) weston_touch_device_destroy(fx->touch);
    weston_seat_release(&fx->seat);
    free(fx);
    return -1;
}
