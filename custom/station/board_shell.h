/* Hands a command text to the board's shell. */
#ifndef BOARD_SHELL_H
#define BOARD_SHELL_H

#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Time limit of the short commands run with tessel_system (mkdir, the
 * kernel-log probes, the mixer): a stuck tool must not stop the screen. */
#define TESSEL_SHELL_DEFAULT_LIMIT_MS 10000

/* Runs `command` as `bash -c command` and waits for it, like system(3),
 * but always through bash: the board scripts use bash syntax, and /bin/sh
 * is not bash everywhere (dash on Debian). The child inherits the working
 * directory, the environment and the standard streams; it runs in a
 * process group of its own, which is ended (TERM, then KILL) when the
 * command outlives TESSEL_SHELL_DEFAULT_LIMIT_MS. Pending output of this
 * process is flushed first so the console keeps its order.
 * Returns the wait status, or -1 if the shell could not be started or the
 * command was abandoned at its limit. A NULL command returns nonzero if
 * bash is available. */
int tessel_system(const char *command);

/* The same with a time limit of its own, in ms. */
int tessel_system_limited(const char *command, int limit_ms);

/* A shell child in its own process group. */
struct shell_child {
	pid_t pid;  /* also its process group */
	int pidfd;  /* readable once it has ended; -1 where the kernel has no pidfds */
	int out_fd; /* its stdout and stderr when captured, else -1 */
	int err_fd;
};

/* Starts `command` under bash. With `capture`, its stdout and stderr are
 * pipes (non-blocking, close-on-exec on our side); otherwise it inherits
 * ours. Returns false if bash could not be started. */
bool shell_spawn(const char *command, bool capture, struct shell_child *child);

/* Waits up to `wait_ms` (0: just looks) for the child to end and reaps it,
 * first killing what is left of its group. Returns the wait status, or -2
 * while it still runs. */
int shell_reap(struct shell_child *child, int wait_ms);

/* True once the child has ended (not yet reaped). */
bool shell_ended(struct shell_child *child);

/* Ends the child's whole group: TERM, up to `grace_ms` for all of it to
 * go, then KILL (and, if the child itself had not gone, a further
 * `grace_ms`). Returns the wait status, or -2 when the
 * child survived even KILL (stuck in the kernel): it is then left alone. */
int shell_end_group(struct shell_child *child, int grace_ms);

/* Closes what the parent holds of a child (pidfd and pipes). */
void shell_release(struct shell_child *child);

#ifdef __cplusplus
}
#endif
#endif
