/* Runs board scripts as child processes beside the main loop.
 *
 * One script at a time runs in the background: bash in a process group of
 * its own, its standard output and error passed on to the application's
 * console line by line as they come (the last lines are kept for the run
 * record), its end noticed through a pidfd in the main loop's poll set. A
 * script that outlives its time limit has its whole group ended: TERM, a
 * short grace, then KILL; a process that survives even that is abandoned
 * rather than waited for. */
#ifndef BOARD_RUNNER_H
#define BOARD_RUNNER_H

#include <poll.h>
#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* How a background script ended. */
struct runner_outcome {
	int exit_status;          /* exit code; 128+N after signal N; -1 if it could not start */
	bool timed_out;           /* ended by its time limit */
	int64_t start_ms;         /* wall clock, ms since the Unix epoch */
	int64_t end_ms;
	const char *console_tail; /* its last (up to) 20 lines, each ending in LF */
};

typedef void (*runner_done_cb)(const struct runner_outcome *outcome, void *user);

/* Starts `script` under bash in the background with a time limit in ms;
 * `done` is called from runner_dispatch once it has ended (never from
 * inside runner_start). Returns false, calling nothing, when a script is
 * already running or the shell cannot be started. */
bool runner_start(const char *script, int limit_ms, runner_done_cb done, void *user);

/* True while a background script runs (until its `done` has returned). */
bool runner_busy(void);

/* The main loop's wait: poll on `wayland_fd` (negative: none), the running
 * script, and the quit signals, for at most `timeout_ms` (-1: no limit,
 * shortened to the script's next deadline). Handles whatever the script
 * did. Returns false once TERM, INT or HUP has arrived: the caller leaves. */
bool runner_wait(int wayland_fd, int timeout_ms);

/* Installs the TERM, INT and HUP handlers that make runner_wait return
 * false, and an exit hook that ends any running script's group. */
void runner_install_exit_handling(void);

/* Ends the running script's whole group now (TERM, grace, KILL) without
 * calling its `done`. Used when the application leaves. */
void runner_stop_all(void);

/* Milliseconds since the Unix epoch. */
int64_t runner_wall_ms(void);

#ifdef __cplusplus
}
#endif
#endif
