/* The machine-readable record of the board's current run: Log/record.json
 * and Log/record.xml (JUnit), rewritten after every test, and the runs
 * Initialization closed under Log/runs/. The test runner reports here;
 * nothing here changes a verdict or the status file.
 *
 * A run holds every test that ended since the last Initialization (or
 * since the first record in this working directory): a second Run all, a
 * single test, a restart or a reboot all go on in the same run. */
#ifndef RUN_RECORD_H
#define RUN_RECORD_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One test that ended (or could not start). */
struct tessel_test_result {
	int line;                 /* its status line, 1..15 */
	const char *name;         /* the test's name, e.g. "I2C", "SPI Master" */
	const char *status_line;  /* its status line after the test, without LF; NULL if unreadable */
	int64_t start_ms;         /* wall clock, ms since the Unix epoch */
	int64_t end_ms;
	int exit_status;          /* the script's exit code; 128+N after signal N; -1 when it did not run */
	int timed_out;            /* ended by its time limit */
	int not_recorded;         /* did not run: its status line could not be written */
	const char *console_tail; /* the last (up to) 20 lines it printed, each ending in LF; "" if none */
};

/* The running device tree as the test screen shows it ("qb-vexo.dtb", ...). */
void record_set_device_tree(const char *name);

/* A test ended: update the current run's record (atomically; failures are
 * reported on the console and change nothing else). */
void record_test_ended(const struct tessel_test_result *result);

/* The operator's confirmation of the line's test (the confirmation mode):
 * what was played or shown, the answer (NULL: none came), the seconds to
 * answer and whether the answer proved the output works. Called before the
 * test is reported; goes into that report only. */
void record_set_confirmation(int line, const char *challenge, const char *answer, double seconds, int ok);

/* Initialization: keep the current run under Log/runs/ (unless no test
 * ended in it) and begin a new, empty one. Nothing else closes a run. */
void record_close_run(void);

/* The current run's id ("<serial>-<UTC start>", the name its file gets
 * under Log/runs/), fixed for the run's life. The text stays valid until
 * the next call of this module. */
const char *record_current_run_id(void);

/* The outcome a test's report gives: "passed", "failed", "warning",
 * "not run", "timed out" or "not recorded" (the table is in README.md). */
const char *record_outcome(const char *status_line, int timed_out, int not_recorded);

/* For tests: read the board's kernel files (/sys/..., /proc/...) under
 * `root` instead of "/"; NULL or "" goes back to the real ones. */
void record_set_board_root(const char *root);

/* The station id runs go to the line's server under, named in each
 * record from now on (the line groups runs by it); NULL: none. */
void record_set_station_id(const char *id);

struct upload_board;

/* The board as the record names it (serial number and model, "unknown"
 * where the board does not say; they read only kernel files) and its
 * outcome table, for the line's heartbeat. */
const struct upload_board *record_upload_board(void);

#ifdef __cplusplus
}
#endif
#endif
