#include "file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace file_io {

bool read_whole(const std::string &path, std::string &out)
{
	out.clear();
	int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
	if (fd < 0)
		return false;
	char buf[65536];
	for (;;) {
		ssize_t n = read(fd, buf, sizeof buf);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0) {
			int saved = errno;
			close(fd);
			errno = saved;
			return n == 0;
		}
		out.append(buf, (size_t)n);
	}
}

bool sync_dir(const std::string &dir)
{
	int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (fd < 0)
		return false;
	bool ok = fsync(fd) == 0;
	close(fd);
	return ok;
}

int write_atomically(const std::string &path, const std::string &text, bool sync)
{
	size_t slash = path.rfind('/');
	std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
	std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
	std::string tmp = dir + "/." + base + "." + std::to_string(getpid()) + ".tmp";
	int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
	if (fd < 0)
		return errno;
	int err = 0;
	const char *p = text.data();
	size_t left = text.size();
	while (left > 0 && err == 0) {
		ssize_t n = write(fd, p, left);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0) {
			err = n < 0 ? errno : EIO;
		} else {
			p += n;
			left -= (size_t)n;
		}
	}
	if (err == 0 && fsync(fd) != 0)
		err = errno;
	if (close(fd) != 0 && err == 0)
		err = errno;
	if (err == 0 && rename(tmp.c_str(), path.c_str()) != 0)
		err = errno;
	if (err != 0) {
		unlink(tmp.c_str());
		return err;
	}
	if (sync)
		sync_dir(dir);
	return 0;
}

int make_dir(const std::string &dir)
{
	if (mkdir(dir.c_str(), 0755) == 0) {
		/* its name on disk too, as for a renamed file */
		size_t slash = dir.rfind('/');
		sync_dir(slash == std::string::npos ? "." : slash == 0 ? "/" : dir.substr(0, slash));
		return 0;
	}
	int err = errno;
	struct stat st;
	if (err == EEXIST && stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
		return 0;
	return err;
}

} // namespace file_io
