#include "board_shell.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

static const char kShell[] = "/bin/bash";

int tessel_system(const char *command)
{
	if (command == NULL)
		return access(kShell, X_OK) == 0;

	fflush(stdout);
	fflush(stderr);

	/* Same signal discipline as system(3): while the script runs, an
	 * interrupt from the terminal goes to the script, not to the GUI, and
	 * the caller's SIGCHLD handling does not steal the child's status. */
	struct sigaction ignore = {};
	struct sigaction old_int = {};
	struct sigaction old_quit = {};
	ignore.sa_handler = SIG_IGN;
	sigemptyset(&ignore.sa_mask);
	sigaction(SIGINT, &ignore, &old_int);
	sigaction(SIGQUIT, &ignore, &old_quit);

	sigset_t block_chld;
	sigset_t old_mask;
	sigemptyset(&block_chld);
	sigaddset(&block_chld, SIGCHLD);
	sigprocmask(SIG_BLOCK, &block_chld, &old_mask);

	posix_spawnattr_t attr;
	posix_spawnattr_init(&attr);
	sigset_t defaults;
	sigemptyset(&defaults);
	if (old_int.sa_handler != SIG_IGN)
		sigaddset(&defaults, SIGINT);
	if (old_quit.sa_handler != SIG_IGN)
		sigaddset(&defaults, SIGQUIT);
	posix_spawnattr_setsigdefault(&attr, &defaults);
	posix_spawnattr_setsigmask(&attr, &old_mask);
	posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

	char arg0[] = "bash";
	char arg1[] = "-c";
	char *argv[] = {arg0, arg1, const_cast<char *>(command), NULL};

	pid_t pid = -1;
	int status = -1;
	if (posix_spawn(&pid, kShell, NULL, &attr, argv, environ) == 0) {
		while (waitpid(pid, &status, 0) < 0) {
			if (errno != EINTR) {
				status = -1;
				break;
			}
		}
	}
	posix_spawnattr_destroy(&attr);

	sigaction(SIGINT, &old_int, NULL);
	sigaction(SIGQUIT, &old_quit, NULL);
	sigprocmask(SIG_SETMASK, &old_mask, NULL);
	return status;
}
