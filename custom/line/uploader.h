/* Results to the line's server (see README.md, "The line's server and the
 * wall"). Off unless the configuration file names a server: then nothing
 * changes and no thread starts.
 *
 * When configured, one worker thread does all network I/O: it sends what
 * the outbox (outbox.h) holds with HTTP PUT to
 * <server>/runs/<UTC day of the run's start>/<run id>.json and .xml and,
 * for the board's history, <server>/boards/<serial>/<run id>.json,
 * retrying with backoff until the server answers 2xx, and every
 * 5 s PUTs the station's heartbeat to <server>/stations/<station>.json.
 * The main thread only notes records in the outbox and publishes its state
 * under a mutex; it never waits for the network and is never woken by the
 * worker. */
#ifndef UPLOADER_H
#define UPLOADER_H

#ifdef __cplusplus
extern "C" {
#endif

/* What the heartbeat says of the board, from the caller: the line knows
 * nothing of how the board or its verdicts are read. The worker calls
 * them, never the main thread: they may read kernel files. */
struct upload_board {
	/* the board's serial number and model into `out` (size `n`) */
	void (*serial)(char *out, unsigned n);
	void (*model)(char *out, unsigned n);
	/* a status line's outcome ("passed", "failed", ...) */
	const char *(*outcome)(const char *status_line, int timed_out, int not_recorded);
};

/* Reads the configuration; when it names a server, starts the worker.
 * Main thread, once, before the first test runs; `board` stays valid. */
void upload_start(const struct upload_board *board);

/* Leaving: tells the worker to stop and waits for it at most a fraction
 * of a second (an unfinished transfer is dropped; its run stays in the
 * outbox for the next start). The last heartbeat, best effort, says
 * "stopped" (or "rebooting" when a reboot is why). */
void upload_stop(void);

/* The station id runs go to the server under (the configured one, the
 * host name by default); NULL while uploads are off. Main thread. */
const char *upload_station_id(void);

/* What the station does, for the heartbeat: "idle", "running NAME",
 * "rebooting". Cheap; does nothing while uploads are off. */
void upload_set_state(const char *state);

#ifdef __cplusplus
}
#endif
#endif
