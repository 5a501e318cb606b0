/* Writing the status file zorazu_zove safely.
 *
 * The scripts rewrite their own line with `sed -i`; everything the
 * application itself writes (a fresh file, Initialization, the "not yet"
 * mark before a test, completing a short file, a time-out verdict) replaces
 * the whole file at once: a temporary file beside it, flushed to disk and
 * renamed over it. A reader sees the old file or the new one, never a part;
 * a symbolic link in its place is replaced, not written through. */
#ifndef STATUS_FILE_H
#define STATUS_FILE_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define STATUS_FILE_NAME "zorazu_zove"
#define STATUS_LINES 15

/* Whether the status file can be read. Returns 0 when it can or does not
 * exist (*exists tells which), else an errno value (EISDIR and EINVAL for
 * something that is not a regular file). */
int status_file_probe(int *exists);

/* 15 fresh "not yet" lines, replacing whatever was there. 0 or errno. */
int status_file_write_fresh(void);

/* Adds "not yet" lines to a file of fewer than 15 lines, keeping the lines
 * present; a missing file is created fresh. Leaves a complete file
 * untouched. 0 or errno. */
int status_file_complete(void);

/* Replaces line `line` (1..15) with `text`, completing a short file first;
 * the other lines, including any after the 15th, stay as they are.
 * 0 or errno. */
int status_file_set_line(int line, const char *text);

/* Reads line `line` (1..15) without its LF into `buf`. False if there is no
 * such line or the file cannot be read. */
bool status_file_read_line(int line, char *buf, size_t size);

/* Removes temporary files that a writer killed mid-write left beside the
 * status file. Only while nothing of ours writes it. */
void status_file_sweep(void);

/* A few words for a result label on why a write failed ("disk full"). */
const char *status_file_problem(int err);

#ifdef __cplusplus
}
#endif
#endif
