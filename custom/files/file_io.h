/* Whole-file reads and crash-safe writes, shared by the run record, the
 * upload outbox, the confirmation's backlight note and tessel-report. */
#ifndef FILE_IO_H
#define FILE_IO_H

#include <string>

namespace file_io {

/* The whole file into `out`; false (errno set) when it cannot be opened or read. */
bool read_whole(const std::string &path, std::string &out);

/* Readers see the old file or the new one, never a part: a temporary file
 * beside the target (".<name>.<pid>.tmp"), on disk before it takes the
 * target's name; with `sync_dir` the rename is flushed too. 0 or errno;
 * the temporary file is gone either way. */
int write_atomically(const std::string &path, const std::string &text, bool sync_dir);

/* Flushes a directory's entries (a rename or an unlink in it) to disk. */
bool sync_dir(const std::string &dir);

/* Creates a directory (mode 0755, its parent flushed), or finds one there.
 * 0 or errno. */
int make_dir(const std::string &dir);

} // namespace file_io
#endif
