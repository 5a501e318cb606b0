#include "status_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <glob.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char kNotYet[] = "not yet";

/* The file's lines without their LFs; false with errno when unreadable. */
bool read_lines(std::vector<std::string> *lines, int *err)
{
	lines->clear();
	*err = 0;
	/* Non-blocking: a FIFO in its place must not stop the screen. */
	int fd = open(STATUS_FILE_NAME, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
	if (fd < 0) {
		*err = errno;
		return false;
	}
	struct stat st;
	if (fstat(fd, &st) != 0) {
		*err = errno;
		close(fd);
		return false;
	}
	if (!S_ISREG(st.st_mode)) {
		*err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
		close(fd);
		return false;
	}
	std::string text;
	char buf[4096];
	for (;;) {
		ssize_t n = read(fd, buf, sizeof buf);
		if (n < 0 && errno == EINTR)
			continue;
		if (n < 0) {
			*err = errno;
			close(fd);
			return false;
		}
		if (n == 0)
			break;
		text.append(buf, (size_t)n);
	}
	close(fd);
	size_t start = 0;
	while (start < text.size()) {
		size_t lf = text.find('\n', start);
		if (lf == std::string::npos)
			lf = text.size();
		lines->push_back(text.substr(start, lf - start));
		start = lf + 1;
	}
	return true;
}

bool write_all(int fd, const std::string &text)
{
	size_t done = 0;
	while (done < text.size()) {
		ssize_t n = write(fd, text.data() + done, text.size() - done);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0)
			return false;
		done += (size_t)n;
	}
	return true;
}

/* Temporary file in the same directory, flushed, renamed over the file. */
int replace_whole(const std::vector<std::string> &lines)
{
	std::string text;
	for (const auto &l : lines)
		text += l + "\n";
	char tmp[] = "." STATUS_FILE_NAME ".XXXXXX";
	int fd = mkostemp(tmp, O_CLOEXEC);
	if (fd < 0)
		return errno;
	int err = 0;
	if (fchmod(fd, 0644) != 0 || !write_all(fd, text) || fsync(fd) != 0)
		err = errno ? errno : EIO;
	if (close(fd) != 0 && err == 0)
		err = errno;
	if (err == 0 && rename(tmp, STATUS_FILE_NAME) != 0)
		err = errno;
	if (err != 0) {
		unlink(tmp);
		return err;
	}
	/* The rename itself reaches the disk with the directory. */
	int dir = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (dir >= 0) {
		fsync(dir);
		close(dir);
	}
	return 0;
}

/* The current lines, completed to 15; false with *err when unreadable. */
bool load_complete(std::vector<std::string> *lines, int *err)
{
	if (!read_lines(lines, err)) {
		if (*err != ENOENT)
			return false;
		*err = 0;
	}
	while (lines->size() < STATUS_LINES)
		lines->push_back(kNotYet);
	return true;
}

} // namespace

int status_file_probe(int *exists)
{
	std::vector<std::string> lines;
	int err = 0;
	*exists = 1;
	if (read_lines(&lines, &err))
		return 0;
	if (err == ENOENT) {
		*exists = 0;
		return 0;
	}
	return err;
}

int status_file_write_fresh(void)
{
	return replace_whole(std::vector<std::string>(STATUS_LINES, kNotYet));
}

int status_file_complete(void)
{
	std::vector<std::string> lines;
	int err = 0;
	if (read_lines(&lines, &err) && lines.size() >= STATUS_LINES)
		return 0;
	if (err != 0 && err != ENOENT)
		return err;
	load_complete(&lines, &err);
	return replace_whole(lines);
}

int status_file_set_line(int line, const char *text)
{
	if (line < 1 || line > STATUS_LINES)
		return EINVAL;
	std::vector<std::string> lines;
	int err = 0;
	if (!load_complete(&lines, &err))
		return err;
	lines[(size_t)line - 1] = text;
	return replace_whole(lines);
}

bool status_file_read_line(int line, char *buf, size_t size)
{
	std::vector<std::string> lines;
	int err = 0;
	if (size == 0 || line < 1 || !read_lines(&lines, &err) || (size_t)line > lines.size())
		return false;
	snprintf(buf, size, "%s", lines[(size_t)line - 1].c_str());
	return true;
}

void status_file_sweep(void)
{
	glob_t found;
	if (glob("." STATUS_FILE_NAME ".??????", GLOB_NOSORT, NULL, &found) != 0)
		return;
	for (size_t i = 0; i < found.gl_pathc; i++)
		unlink(found.gl_pathv[i]);
	globfree(&found);
}

const char *status_file_problem(int err)
{
	switch (err) {
	case ENOSPC:
	case EDQUOT:
		return "disk full";
	case EROFS:
		return "read-only";
	case EACCES:
	case EPERM:
		return "no access";
	case EISDIR:
	case EINVAL:
	case ENOTDIR:
		return "not a file";
	case EIO:
		return "I/O error";
	default:
		return "write error";
	}
}
