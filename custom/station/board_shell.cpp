#include "board_shell.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <initializer_list>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

static const char kShell[] = "/bin/bash";

static long long monotonic_ms(void)
{
	struct timespec ts;
	clock_gettime(CLOCK_MONOTONIC, &ts);
	return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

bool shell_spawn(const char *command, bool capture, struct shell_child *child)
{
	child->pid = -1;
	child->pidfd = -1;
	child->out_fd = -1;
	child->err_fd = -1;

	fflush(stdout);
	fflush(stderr);

	int out_pipe[2] = {-1, -1};
	int err_pipe[2] = {-1, -1};
	if (capture && (pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0)) {
		for (int fd : {out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]})
			if (fd >= 0)
				close(fd);
		return false;
	}

	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	if (capture) {
		posix_spawn_file_actions_adddup2(&actions, out_pipe[1], STDOUT_FILENO);
		posix_spawn_file_actions_adddup2(&actions, err_pipe[1], STDERR_FILENO);
	}

	/* The script starts with ordinary signal handling whatever this
	 * program ignores or catches, and leads a group of its own so that a
	 * time limit or the end of the program can stop all it started. */
	posix_spawnattr_t attr;
	posix_spawnattr_init(&attr);
	sigset_t defaults;
	sigemptyset(&defaults);
	for (int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGPIPE, SIGCHLD})
		sigaddset(&defaults, sig);
	sigset_t none;
	sigemptyset(&none);
	posix_spawnattr_setsigdefault(&attr, &defaults);
	posix_spawnattr_setsigmask(&attr, &none);
	posix_spawnattr_setpgroup(&attr, 0);
	posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);

	char arg0[] = "bash";
	char arg1[] = "-c";
	char *argv[] = {arg0, arg1, const_cast<char *>(command), NULL};
	pid_t pid = -1;
	int rc = posix_spawn(&pid, kShell, &actions, &attr, argv, environ);
	posix_spawnattr_destroy(&attr);
	posix_spawn_file_actions_destroy(&actions);

	if (capture) {
		close(out_pipe[1]);
		close(err_pipe[1]);
	}
	if (rc != 0) {
		if (capture) {
			close(out_pipe[0]);
			close(err_pipe[0]);
		}
		return false;
	}
	child->pid = pid;
	child->pidfd = (int)syscall(SYS_pidfd_open, pid, 0);
	if (capture) {
		child->out_fd = out_pipe[0];
		child->err_fd = err_pipe[0];
		fcntl(child->out_fd, F_SETFL, O_NONBLOCK);
		fcntl(child->err_fd, F_SETFL, O_NONBLOCK);
	}
	return true;
}

/* Waits for the child's end without reaping it, so that its process group
 * cannot be reused while we still signal it. */
static bool wait_ended(struct shell_child *child, int wait_ms)
{
	long long deadline = monotonic_ms() + wait_ms;
	for (;;) {
		siginfo_t info = {};
		if (waitid(P_PID, (id_t)child->pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child->pid)
			return true;
		long long left = deadline - monotonic_ms();
		if (left <= 0)
			return false;
		if (child->pidfd >= 0) {
			struct pollfd p = {child->pidfd, POLLIN, 0};
			poll(&p, 1, (int)left);
		} else {
			usleep(left < 5 ? (useconds_t)left * 1000 : 5000);
		}
	}
}

bool shell_ended(struct shell_child *child)
{
	return wait_ended(child, 0);
}

int shell_reap(struct shell_child *child, int wait_ms)
{
	if (!wait_ended(child, wait_ms))
		return -2;
	/* What the script left behind in its group goes with it. */
	kill(-child->pid, SIGKILL);
	int status = -1;
	while (waitpid(child->pid, &status, 0) < 0 && errno == EINTR) {
	}
	return status;
}

int shell_end_group(struct shell_child *child, int grace_ms)
{
	long long deadline = monotonic_ms() + grace_ms;
	kill(-child->pid, SIGTERM);
	if (!wait_ended(child, grace_ms)) {
		kill(-child->pid, SIGKILL);
		return shell_reap(child, grace_ms);
	}
	int status = -1;
	while (waitpid(child->pid, &status, 0) < 0 && errno == EINTR) {
	}
	/* The rest of the group gets the same grace to finish what TERM asked
	 * of it: the group outlives its reaped leader only while a member
	 * remains, so its id stays ours until then. */
	while (kill(-child->pid, 0) == 0 && monotonic_ms() < deadline)
		usleep(5000);
	kill(-child->pid, SIGKILL);
	return status;
}

void shell_release(struct shell_child *child)
{
	for (int *fd : {&child->pidfd, &child->out_fd, &child->err_fd}) {
		if (*fd >= 0)
			close(*fd);
		*fd = -1;
	}
}

int tessel_system_limited(const char *command, int limit_ms)
{
	if (command == NULL)
		return access(kShell, X_OK) == 0;
	struct shell_child child;
	if (!shell_spawn(command, false, &child))
		return -1;
	int status = shell_reap(&child, limit_ms);
	if (status == -2) {
		fprintf(stderr, "gui_tessel: command stopped after %d s: %.60s\n", limit_ms / 1000, command);
		status = shell_end_group(&child, 500);
		if (status == -2)
			status = -1;
	}
	shell_release(&child);
	return status;
}

int tessel_system(const char *command)
{
	return tessel_system_limited(command, TESSEL_SHELL_DEFAULT_LIMIT_MS);
}
