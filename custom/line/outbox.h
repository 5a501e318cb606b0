/* The upload outbox: what is still to be sent to the line's server, on
 * disk under Log/outbox/ so that it survives restarts, reboots and power
 * loss.
 *
 * One file per run, Log/outbox/<run id>.json, holding the run's record.json
 * and record.xml exactly as the record wrote them (two strings in one JSON
 * object, so the pair is replaced together): a newer version of the run
 * replaces an older one, written atomically (temporary file, fsync,
 * rename, directory fsync). The uploader removes it only after the server
 * answered 2xx to both PUTs, and only if no newer version took its place
 * meanwhile. Nothing is noted unless uploads are configured. */
#ifndef OUTBOX_H
#define OUTBOX_H

#ifdef __cplusplus
extern "C" {
#endif

/* The run record's hook, called after it wrote a run's files, with their
 * texts: `closed` is nonzero for a closed run's final version. Runs without
 * a test are not sent. Does nothing while uploads are off. */
void upload_note_run(const char *run_id, const char *json_doc, const char *xml_doc, int closed);

/* Runs waiting to be sent in `workdir`'s outbox (tessel-report); -1 when
 * there is no outbox (uploads were never on there). */
int upload_waiting(const char *workdir);

#ifdef __cplusplus
}

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace outbox {

struct entry {
	std::string run_id;
	bool closed = false;
	std::string json, xml; /* the record files' bytes */
	ino_t inode = 0;       /* which version was read */
};

/* Uploads on: entries go into `dir` (absolute, <workdir>/Log/outbox).
 * `changed` is called on the noting thread after every call of the hook:
 * the run, whether it was closed, whether an entry was written for it.
 * Main thread, before any record is written. */
void enable(const std::string &dir,
	    std::function<void(const std::string &run_id, bool closed, bool noted)> changed);

/* The ids waiting, oldest noted first. */
std::vector<std::string> waiting();

bool read(const std::string &run_id, entry &e);

/* Removes the entry if it is still the version `e` was read from. */
void remove_sent(const entry &e);

/* At start, under the lock: puts back what a crash between the record's
 * write and its note could have left out (the current run, the newest
 * closed run). `workdir` holds Log/. Returns the current run's id ("" if
 * none). */
std::string recover(const std::string &workdir);

/* Now, UTC, ISO 8601 with milliseconds, as the record writes times. */
std::string iso_now();

/* The id of the run a record.json text holds and whether it has tests. */
bool parse_run(const std::string &json_text, std::string &run_id, bool &has_tests);

} // namespace outbox
#endif
#endif
