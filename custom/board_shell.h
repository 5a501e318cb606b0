/* Hands a command text to the board's shell. */
#ifndef BOARD_SHELL_H
#define BOARD_SHELL_H

#ifdef __cplusplus
extern "C" {
#endif

/* Runs `command` as `bash -c command` and waits for it, like system(3),
 * but always through bash: the board scripts use bash syntax, and /bin/sh
 * is not bash everywhere (dash on Debian). The child inherits the working
 * directory, the environment and the standard streams. Pending output of
 * this process is flushed first so the console keeps its order when it is
 * a pipe or a file.
 * Returns the wait status, or -1 if the shell could not be started; the
 * callers ignore it. A NULL command returns nonzero if bash is available. */
int tessel_system(const char *command);

#ifdef __cplusplus
}
#endif
#endif
