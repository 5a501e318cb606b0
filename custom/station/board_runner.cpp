#include "board_runner.h"

#include "board_shell.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <initializer_list>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

/* After the limit: TERM, this long for the group to go, then KILL and as
 * long again before a process stuck in the kernel is given up on. */
const int kGraceMs = 1000;
/* When the program leaves: short enough that a close request is done
 * within a second. */
const int kLeavingGraceMs = 400;
const size_t kTailLines = 20;

enum class Phase { idle, running, terminated, killed };

struct Running {
	Phase phase = Phase::idle;
	shell_child child = {-1, -1, -1, -1};
	long long deadline = 0; /* monotonic ms of the next step */
	int64_t start_ms = 0;
	runner_done_cb done = nullptr;
	void *user = nullptr;
	bool timed_out = false;
	bool in_done = false;
	bool leader_reaped = false; /* ended at its limit; the rest of its group goes */
	int status = -1;
	std::string tail;       /* complete lines, at most kTailLines */
	std::string partial[2]; /* the line being written on stdout, stderr */
};

Running g_run;
std::vector<pid_t> g_abandoned; /* groups that survived KILL */
int g_quit_pipe[2] = {-1, -1};

long long monotonic_ms()
{
	struct timespec ts;
	clock_gettime(CLOCK_MONOTONIC, &ts);
	return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

void keep_tail(std::string &partial, const char *data, size_t n)
{
	for (size_t i = 0; i < n; i++) {
		partial.push_back(data[i]);
		if (data[i] != '\n')
			continue;
		g_run.tail += partial;
		partial.clear();
	}
	/* Keep the last kTailLines complete lines. */
	size_t lines = 0;
	for (size_t i = g_run.tail.size(); i-- > 0;) {
		if (g_run.tail[i] == '\n' && ++lines > kTailLines) {
			g_run.tail.erase(0, i + 1);
			break;
		}
	}
}

void write_all(int fd, const char *data, size_t n)
{
	while (n > 0) {
		ssize_t w = write(fd, data, n);
		if (w < 0 && errno == EINTR)
			continue;
		if (w <= 0)
			return; /* a console that is gone loses the text, not the test */
		data += w;
		n -= (size_t)w;
	}
}

/* Passes what the script wrote on to our own stream, unchanged. Bounded, so
 * that a process still writing after the script ended cannot hold us. */
void forward(int *fd, int to, int max_reads)
{
	char buf[16384];
	for (int i = 0; *fd >= 0 && i < max_reads; i++) {
		ssize_t n = read(*fd, buf, sizeof buf);
		if (n > 0) {
			write_all(to, buf, (size_t)n);
			keep_tail(g_run.partial[to == STDERR_FILENO], buf, (size_t)n);
			continue;
		}
		if (n < 0 && errno == EINTR)
			continue;
		if (n == 0) {
			close(*fd);
			*fd = -1;
		}
		return;
	}
}

void finish(int status)
{
	forward(&g_run.child.out_fd, STDOUT_FILENO, 64);
	forward(&g_run.child.err_fd, STDERR_FILENO, 64);
	shell_release(&g_run.child);
	for (std::string &partial : g_run.partial)
		if (!partial.empty())
			keep_tail(partial, "\n", 1);

	runner_outcome outcome = {};
	if (status >= 0 && WIFEXITED(status))
		outcome.exit_status = WEXITSTATUS(status);
	else if (status >= 0 && WIFSIGNALED(status))
		outcome.exit_status = 128 + WTERMSIG(status);
	else
		outcome.exit_status = -1;
	outcome.timed_out = g_run.timed_out;
	outcome.start_ms = g_run.start_ms;
	outcome.end_ms = runner_wall_ms();
	std::string tail = g_run.tail;
	outcome.console_tail = tail.c_str();

	runner_done_cb done = g_run.done;
	void *user = g_run.user;
	g_run = Running();
	/* Busy until the handler has decided what comes next. */
	g_run.in_done = true;
	done(&outcome, user);
	if (g_run.phase == Phase::idle)
		g_run = Running();
	else
		g_run.in_done = false;
}

void reap_abandoned()
{
	for (size_t i = 0; i < g_abandoned.size();) {
		int status;
		if (waitpid(g_abandoned[i], &status, WNOHANG) != 0) {
			g_abandoned.erase(g_abandoned.begin() + (long)i);
			continue;
		}
		i++;
	}
}

/* The time limit and what follows it. */
void step_deadline()
{
	long long now = monotonic_ms();
	if (g_run.phase == Phase::idle || now < g_run.deadline)
		return;
	switch (g_run.phase) {
	case Phase::running:
		fprintf(stderr, "gui_tessel: the test outlived its time limit; stopping it\n");
		g_run.timed_out = true;
		kill(-g_run.child.pid, SIGTERM);
		g_run.phase = Phase::terminated;
		g_run.deadline = now + kGraceMs;
		break;
	case Phase::terminated:
		kill(-g_run.child.pid, SIGKILL);
		g_run.phase = Phase::killed;
		g_run.deadline = now + kGraceMs;
		break;
	case Phase::killed:
		fprintf(stderr, "gui_tessel: process %d does not end even when killed; no longer waiting for it\n",
			(int)g_run.child.pid);
		g_abandoned.push_back(g_run.child.pid);
		finish(-1);
		break;
	case Phase::idle:
		break;
	}
}

void on_quit_signal(int sig)
{
	(void)sig;
	int saved = errno;
	if (g_quit_pipe[1] >= 0) {
		char c = 1;
		ssize_t w = write(g_quit_pipe[1], &c, 1);
		(void)w;
	}
	errno = saved;
}

void stop_at_exit() { runner_stop_all(); }

} // namespace

int64_t runner_wall_ms(void)
{
	struct timespec ts;
	clock_gettime(CLOCK_REALTIME, &ts);
	return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

bool runner_start(const char *script, int limit_ms, runner_done_cb done, void *user)
{
	if (g_run.phase != Phase::idle)
		return false;
	shell_child child;
	if (!shell_spawn(script, true, &child))
		return false;
	bool in_done = g_run.in_done;
	g_run = Running();
	g_run.in_done = in_done;
	g_run.phase = Phase::running;
	g_run.child = child;
	g_run.deadline = monotonic_ms() + limit_ms;
	g_run.start_ms = runner_wall_ms();
	g_run.done = done;
	g_run.user = user;
	return true;
}

bool runner_busy(void) { return g_run.phase != Phase::idle || g_run.in_done; }

bool runner_wait(int wayland_fd, int timeout_ms)
{
	reap_abandoned();
	enum { kWayland, kQuit, kChild, kOut, kErr, kCount };
	struct pollfd fds[kCount];
	fds[kWayland] = {wayland_fd, POLLIN, 0};
	fds[kQuit] = {g_quit_pipe[0], POLLIN, 0};
	bool child = g_run.phase != Phase::idle;
	fds[kChild] = {child && !g_run.leader_reaped ? g_run.child.pidfd : -1, POLLIN, 0};
	fds[kOut] = {child ? g_run.child.out_fd : -1, POLLIN, 0};
	fds[kErr] = {child ? g_run.child.err_fd : -1, POLLIN, 0};

	int timeout = timeout_ms;
	if (child) {
		long long left = g_run.deadline - monotonic_ms();
		if (left < 0)
			left = 0;
		/* Without pidfds the end of the script is looked for every 20 ms,
		 * and so is the end of a group whose leader went at its limit. */
		if ((g_run.child.pidfd < 0 || g_run.leader_reaped) && left > 20)
			left = 20;
		if (timeout < 0 || left < timeout)
			timeout = (int)left;
	}
	/* A signal restarts the wait; the quit pipe then ends it. */
	while (poll(fds, kCount, timeout) == -1 && errno == EINTR) {
	}

	if (child) {
		if (fds[kOut].revents)
			forward(&g_run.child.out_fd, STDOUT_FILENO, 4);
		if (fds[kErr].revents)
			forward(&g_run.child.err_fd, STDERR_FILENO, 4);
		if (g_run.leader_reaped) {
			/* After TERM: the group's last members get the grace to go. */
			if (kill(-g_run.child.pid, 0) != 0 || monotonic_ms() >= g_run.deadline) {
				kill(-g_run.child.pid, SIGKILL);
				finish(g_run.status);
			}
		} else if (g_run.phase == Phase::terminated && shell_ended(&g_run.child)) {
			while (waitpid(g_run.child.pid, &g_run.status, 0) < 0 && errno == EINTR) {
			}
			g_run.leader_reaped = true;
		} else {
			int status = shell_reap(&g_run.child, 0);
			if (status != -2)
				finish(status);
			else
				step_deadline();
		}
	}

	if (fds[kQuit].revents) {
		char buf[16];
		while (read(g_quit_pipe[0], buf, sizeof buf) > 0) {
		}
		return false;
	}
	return true;
}

void runner_install_exit_handling(void)
{
	if (g_quit_pipe[0] < 0 && pipe2(g_quit_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
		g_quit_pipe[0] = g_quit_pipe[1] = -1;
		perror("gui_tessel: quit pipe");
	}
	struct sigaction sa = {};
	sa.sa_handler = on_quit_signal;
	sigemptyset(&sa.sa_mask);
	for (int sig : {SIGTERM, SIGINT, SIGHUP})
		sigaction(sig, &sa, NULL);
	/* A console that went away must not end the program mid-test. */
	signal(SIGPIPE, SIG_IGN);
	atexit(stop_at_exit);
}

void runner_stop_all(void)
{
	if (g_run.phase != Phase::idle) {
		fprintf(stderr, "gui_tessel: leaving; stopping the running test\n");
		if (g_run.leader_reaped)
			kill(-g_run.child.pid, SIGKILL);
		else if (shell_end_group(&g_run.child, kLeavingGraceMs) == -2)
			g_abandoned.push_back(g_run.child.pid);
		forward(&g_run.child.out_fd, STDOUT_FILENO, 4);
		forward(&g_run.child.err_fd, STDERR_FILENO, 4);
		shell_release(&g_run.child);
		g_run = Running();
	}
	for (pid_t pid : g_abandoned)
		kill(-pid, SIGKILL);
	g_abandoned.clear();
}
