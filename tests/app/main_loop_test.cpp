// The entry module against a scripted stand-in for the Wayland backend: start-up
// order, the poll timeout table, the EINTR retry, closing, and the tick thread.
// Each scenario runs main() in a child process, which reports through shared memory.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <poll.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "lvgl.h"
#include "lv_drivers/wayland/wayland.h"
#include "gui_tessel.h"

int gui_tessel_main(int argc, char **argv); // linux/main.cpp, renamed for this test

namespace {

enum Step { kWaylandInit = 1, kCreateWindow, kThreadCreate, kGetFd, kTimerHandler };

struct Record {
	// script, set by the test before the child starts
	uint32_t handler_results[16];
	int handler_result_cnt;
	int eintr_per_pass[16];   // poll fails with EINTR this many times on pass i
	int ebadf_pass;           // on this pass poll fails once with EBADF
	int close_at_pass;        // the compositor asks to close on this pass
	bool close_cb_result;     // what we expect the app's callback to answer
	int fail_thread_errno;    // pthread_create returns this (0: create for real)
	int sleep_ms_at_pass1;    // real time spent in pass 1 (tick thread check)

	// what the child saw
	int steps[16];
	int step_cnt;
	bool lv_ready_at_wayland_init;
	int win_w, win_h;
	char title[64];
	bool got_close_cb;
	bool close_cb_answer;
	bool no_screen_at_thread_create;
	bool start_active_at_get_fd;
	bool flags_set_at_get_fd;
	int polls;
	int poll_fd[64];
	short poll_events[64];
	nfds_t poll_nfds[64];
	int poll_timeout[64];
	int poll_pass[64];
	int passes;
	bool is_open_always_null;
	int main_ret;
	uint32_t tick_delta;
	long real_delta_ms;
	bool start_built_at_exit;
	int polls_at_exit;
};

Record *rec;           // shared with the child
bool in_scenario;      // interpositions are active only in the child
int wayland_fd = -1;   // what lv_wayland_get_fd hands out
bool window_open;
lv_wayland_display_close_f_t close_cb_saved;
lv_disp_t *disp_saved;
lv_disp_draw_buf_t draw_buf;
lv_disp_drv_t disp_drv;
lv_color_t buf1[1280 * 40];
uint32_t tick_at_thread;
struct timespec real_at_thread;

void step(int s)
{
	for (int i = 0; i < rec->step_cnt; i++)
		if (rec->steps[i] == s)
			return;
	rec->steps[rec->step_cnt++] = s;
}

void flush_cb(lv_disp_drv_t *drv, const lv_area_t *, lv_color_t *)
{
	lv_disp_flush_ready(drv);
}

long ms_since(const struct timespec &t0)
{
	struct timespec t1;
	clock_gettime(CLOCK_MONOTONIC, &t1);
	return (t1.tv_sec - t0.tv_sec) * 1000 + (t1.tv_nsec - t0.tv_nsec) / 1000000;
}

} // namespace

// ---- stand-in backend --------------------------------------------------------
// the real one needs a compositor: here there is none, and no panel-sized output
bool tessel_probe_compositor(void)
{
	return false;
}

extern "C" {

void lv_wayland_init(void)
{
	step(kWaylandInit);
	rec->lv_ready_at_wayland_init = lv_is_initialized();
}

lv_disp_t *lv_wayland_create_window(lv_coord_t hor_res, lv_coord_t ver_res, char *title,
				    lv_wayland_display_close_f_t close_cb)
{
	step(kCreateWindow);
	rec->win_w = hor_res;
	rec->win_h = ver_res;
	snprintf(rec->title, sizeof rec->title, "%s", title ? title : "(null)");
	rec->got_close_cb = close_cb != NULL;
	close_cb_saved = close_cb;

	lv_disp_draw_buf_init(&draw_buf, buf1, NULL, sizeof buf1 / sizeof buf1[0]);
	lv_disp_drv_init(&disp_drv);
	disp_drv.hor_res = hor_res;
	disp_drv.ver_res = ver_res;
	disp_drv.draw_buf = &draw_buf;
	disp_drv.flush_cb = flush_cb;
	disp_saved = lv_disp_drv_register(&disp_drv);
	window_open = true;
	return disp_saved;
}

int lv_wayland_get_fd(void)
{
	step(kGetFd);
	rec->start_active_at_get_fd = tessel_ui.Start != NULL && lv_scr_act() == tessel_ui.Start;
	rec->flags_set_at_get_fd = tessel_ui.Start_del && tessel_ui.Test_progrem_del && tessel_ui.ReBoot_Screen_del &&
				   tessel_ui.Setup_Screen_del;
	return wayland_fd;
}

uint32_t lv_wayland_timer_handler(void)
{
	step(kTimerHandler);
	int pass = rec->passes++;
	lv_timer_handler();
	if (pass == 1 && rec->sleep_ms_at_pass1 > 0) {
		usleep(rec->sleep_ms_at_pass1 * 1000);
		rec->tick_delta = lv_tick_elaps(tick_at_thread);
		rec->real_delta_ms = ms_since(real_at_thread);
	}
	if (pass == rec->close_at_pass) {
		rec->close_cb_answer = close_cb_saved(disp_saved);
		if (rec->close_cb_answer)
			window_open = false;
	}
	return pass < rec->handler_result_cnt ? rec->handler_results[pass] : 30;
}

bool lv_wayland_window_is_open(lv_disp_t *disp)
{
	if (disp != NULL)
		rec->is_open_always_null = false;
	return window_open;
}

// Not used by the application; present so the header's declarations have bodies.
void lv_wayland_deinit(void) {}
void lv_wayland_close_window(lv_disp_t *) {}
void lv_wayland_window_close(lv_disp_t *) {}
void lv_wayland_window_set_fullscreen(lv_disp_t *, bool) {}
void lv_wayland_window_set_maximized(lv_disp_t *, bool) {}
lv_indev_t *lv_wayland_get_pointer(lv_disp_t *) { return NULL; }
lv_indev_t *lv_wayland_get_pointeraxis(lv_disp_t *) { return NULL; }
lv_indev_t *lv_wayland_get_touchscreen(lv_disp_t *) { return NULL; }
lv_indev_t *lv_wayland_get_keyboard(lv_disp_t *) { return NULL; }

// ---- interposed libc calls -----------------------------------------------------
// glibc marks poll's array write-only; the stand-in reads what the caller set.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
int poll(struct pollfd *fds, nfds_t nfds, int timeout)
{
	typedef int (*poll_fn)(struct pollfd *, nfds_t, int);
	if (!in_scenario) {
		static poll_fn real = (poll_fn)dlsym(RTLD_NEXT, "poll");
		return real(fds, nfds, timeout);
	}
	int i = rec->polls++;
	int pass = rec->passes - 1;
	if (i < 64) {
		rec->poll_fd[i] = nfds > 0 ? fds[0].fd : -1;
		rec->poll_events[i] = nfds > 0 ? fds[0].events : 0;
		rec->poll_nfds[i] = nfds;
		rec->poll_timeout[i] = timeout;
		rec->poll_pass[i] = pass;
	}
	int tries_this_pass = 0;
	for (int k = 0; k <= i && k < 64; k++)
		if (rec->poll_pass[k] == pass)
			tries_this_pass++;
	if (pass >= 0 && pass < 16 && tries_this_pass <= rec->eintr_per_pass[pass]) {
		errno = EINTR;
		return -1;
	}
	if (pass == rec->ebadf_pass && tries_this_pass == 1) {
		errno = EBADF;
		return -1;
	}
	return 0; // timed out: never really wait
}
#pragma GCC diagnostic pop

int pthread_create(pthread_t *thread, const pthread_attr_t *attr, void *(*start)(void *), void *arg) noexcept
{
	typedef int (*create_fn)(pthread_t *, const pthread_attr_t *, void *(*)(void *), void *);
	static create_fn real = (create_fn)dlsym(RTLD_NEXT, "pthread_create");
	if (!in_scenario)
		return real(thread, attr, start, arg);
	step(kThreadCreate);
	rec->no_screen_at_thread_create = tessel_ui.Start == NULL;
	if (rec->fail_thread_errno != 0)
		return rec->fail_thread_errno;
	tick_at_thread = lv_tick_get();
	clock_gettime(CLOCK_MONOTONIC, &real_at_thread);
	return real(thread, attr, start, arg);
}

} // extern "C"

namespace {

void record_at_exit()
{
	rec->start_built_at_exit = tessel_ui.Start != NULL;
	rec->polls_at_exit = rec->polls;
}

struct Outcome {
	int exit_status = -1;
	std::string out;
};

// Runs main() in a child with the script in `rec`; the child's stdout goes to a file.
Outcome run_main(int argc, char **argv)
{
	char path[] = "/tmp/tessel_main_outXXXXXX";
	int out_fd = mkstemp(path);
	fflush(stdout);
	pid_t pid = fork();
	if (pid == 0) {
		dup2(out_fd, 1);
		in_scenario = true;
		int fds[2];
		if (pipe(fds) == 0)
			wayland_fd = fds[0];
		rec->is_open_always_null = true;
		atexit(record_at_exit);
		rec->main_ret = gui_tessel_main(argc, argv);
		fflush(stdout);
		_exit(rec->main_ret == 0 ? 0 : 100);
	}
	Outcome o;
	int status = 0;
	waitpid(pid, &status, 0);
	o.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 200 + WTERMSIG(status);
	FILE *f = fopen(path, "r");
	char buf[512];
	size_t n = f ? fread(buf, 1, sizeof buf, f) : 0;
	if (f)
		fclose(f);
	o.out.assign(buf, n);
	close(out_fd);
	unlink(path);
	return o;
}

class MainLoop : public ::testing::Test {
protected:
	void SetUp() override
	{
		rec = (Record *)mmap(NULL, sizeof(Record), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
		ASSERT_NE(rec, MAP_FAILED);
		memset(rec, 0, sizeof *rec);
		rec->ebadf_pass = -1;
		rec->close_at_pass = 3;
	}
	void TearDown() override { munmap(rec, sizeof(Record)); }

	Outcome run()
	{
		char a0[] = "gui_tessel", a1[] = "--fullscreen", a2[] = "extra";
		char *argv[] = {a0, a1, a2, NULL};
		return run_main(3, argv);
	}
};

TEST_F(MainLoop, StartsUpInOrderAndReturnsZeroWhenTheWindowCloses)
{
	Outcome o = run();
	EXPECT_EQ(o.exit_status, 0);
	EXPECT_EQ(rec->main_ret, 0);
	EXPECT_EQ(o.out, "") << "nothing of its own on stdout";

	ASSERT_EQ(rec->step_cnt, 5);
	EXPECT_EQ(rec->steps[0], kWaylandInit);
	EXPECT_EQ(rec->steps[1], kCreateWindow);
	EXPECT_EQ(rec->steps[2], kThreadCreate);
	EXPECT_EQ(rec->steps[3], kGetFd);
	EXPECT_EQ(rec->steps[4], kTimerHandler);
	EXPECT_TRUE(rec->lv_ready_at_wayland_init) << "lv_init comes first";

	EXPECT_EQ(rec->win_w, 1280);
	EXPECT_EQ(rec->win_h, 800);
	EXPECT_STREQ(rec->title, "GUI Tessel");
	EXPECT_TRUE(rec->got_close_cb);
	EXPECT_TRUE(rec->close_cb_answer) << "the close callback lets the window close";

	EXPECT_TRUE(rec->no_screen_at_thread_create) << "the thread starts before any screen is built";
	EXPECT_TRUE(rec->start_active_at_get_fd) << "setup_ui has shown the start screen before the loop";
	EXPECT_TRUE(rec->flags_set_at_get_fd);

	// Close requested on pass 3: the loop leaves in that pass, without polling again.
	EXPECT_EQ(rec->passes, 4);
	EXPECT_EQ(rec->polls, 3);
	// The Wayland descriptor comes first; a running test's and the quit
	// signals' descriptors follow it in the same set.
	for (int i = 0; i < rec->polls; i++) {
		EXPECT_GE(rec->poll_nfds[i], 1u);
		EXPECT_EQ(rec->poll_events[i], POLLIN);
	}
	EXPECT_TRUE(rec->is_open_always_null) << "lv_wayland_window_is_open is asked about all windows";
}

TEST_F(MainLoop, PollsTheWaylandDescriptor)
{
	Outcome o = run();
	ASSERT_EQ(o.exit_status, 0);
	ASSERT_GE(rec->polls, 1);
	// The child made a pipe and handed out its read end; fds 0..2 are the standard streams.
	EXPECT_GT(rec->poll_fd[0], 2);
	for (int i = 1; i < rec->polls; i++)
		EXPECT_EQ(rec->poll_fd[i], rec->poll_fd[0]);
}

TEST_F(MainLoop, SleepTimeFollowsTheTimerHandlersAnswer)
{
	const uint32_t results[] = {0xFFFFFFFFu, 0x80000000u, 0xFFFFFFFEu, 0u, 5u, 2147483647u, 30u};
	const int expected[] = {-1, INT_MAX, INT_MAX, 0, 5, INT_MAX, 30};
	const int n = sizeof results / sizeof results[0];
	for (int i = 0; i < n; i++)
		rec->handler_results[i] = results[i];
	rec->handler_result_cnt = n;
	rec->close_at_pass = n;

	Outcome o = run();
	ASSERT_EQ(o.exit_status, 0);
	ASSERT_EQ(rec->polls, n);
	for (int i = 0; i < n; i++)
		EXPECT_EQ(rec->poll_timeout[i], expected[i]) << "timer handler answered " << results[i];
}

TEST_F(MainLoop, InterruptedPollIsRepeatedWithTheSameTimeout)
{
	rec->handler_results[0] = 30;
	rec->handler_results[1] = 0xFFFFFFFFu;
	rec->handler_results[2] = 17;
	rec->handler_result_cnt = 3;
	rec->eintr_per_pass[1] = 2; // pass 1: two signals, then the wait completes
	rec->ebadf_pass = 2;        // pass 2: another error is not retried
	rec->close_at_pass = 3;

	Outcome o = run();
	ASSERT_EQ(o.exit_status, 0);
	ASSERT_EQ(rec->polls, 5);
	EXPECT_EQ(rec->poll_pass[0], 0);
	EXPECT_EQ(rec->poll_timeout[0], 30);
	for (int i = 1; i <= 3; i++) {
		EXPECT_EQ(rec->poll_pass[i], 1);
		EXPECT_EQ(rec->poll_timeout[i], -1) << "the timeout is not shortened after EINTR";
	}
	EXPECT_EQ(rec->poll_pass[4], 2);
	EXPECT_EQ(rec->poll_timeout[4], 17);
	EXPECT_EQ(rec->passes, 4) << "the loop goes on after a failed poll";
}

TEST_F(MainLoop, TickThreadAdvancesInFiveMillisecondStepsNeverAheadOfRealTime)
{
	rec->sleep_ms_at_pass1 = 300;
	Outcome o = run();
	ASSERT_EQ(o.exit_status, 0);
	EXPECT_GT(rec->tick_delta, 0u);
	EXPECT_EQ(rec->tick_delta % 5, 0u);
	EXPECT_LE((long)rec->tick_delta, rec->real_delta_ms + 5);
}

TEST_F(MainLoop, FailedTickThreadPrintsTheErrorAndExitsWithOne)
{
	rec->fail_thread_errno = EAGAIN;
	Outcome o = run();
	EXPECT_EQ(o.exit_status, 1);
	EXPECT_EQ(o.out, std::string("\ncan't create thread :[") + strerror(EAGAIN) + "]");
	EXPECT_EQ(rec->step_cnt, 3) << "the window exists, the loop never starts";
	EXPECT_EQ(rec->steps[1], kCreateWindow);
	EXPECT_FALSE(rec->start_built_at_exit) << "no screen is built";
	EXPECT_EQ(rec->polls_at_exit, 0);
}

} // namespace
