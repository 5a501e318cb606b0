#include "station_config.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const kKeys[] = {"server", "station", "ca_file", "auth", "credentials_file", "confirm"};
const size_t kMaxFileBytes = 64 * 1024;

std::string trim(const std::string &s)
{
	size_t a = s.find_first_not_of(" \t\r");
	if (a == std::string::npos)
		return "";
	size_t b = s.find_last_not_of(" \t\r");
	return s.substr(a, b - a + 1);
}

/* The confirmation mode's word: 1 on, 0 off, -1 neither. */
int on_off(const std::string &v)
{
	for (const char *on : {"on", "yes", "true", "1"})
		if (v == on)
			return 1;
	for (const char *off : {"off", "no", "false", "0"})
		if (v == off)
			return 0;
	return -1;
}

std::string config_path()
{
	const char *env = getenv(STATION_CONFIG_ENV);
	return env != NULL && env[0] != '\0' ? env : STATION_CONFIG_DEFAULT_PATH;
}

bool printable(const std::string &s)
{
	for (unsigned char c : s)
		if (c < 0x21 || c == 0x7f)
			return false;
	return true;
}

/* A file of at most kMaxFileBytes, opened without following a link in its
 * place (credentials) or as it is (the configuration). */
bool read_small(const std::string &path, int extra_flags, std::string &text, struct stat &st, int &err)
{
	int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | extra_flags);
	if (fd < 0) {
		err = errno;
		return false;
	}
	bool ok = fstat(fd, &st) == 0;
	err = ok ? 0 : errno;
	if (ok && !S_ISREG(st.st_mode)) {
		ok = false;
		err = EINVAL;
	}
	char buf[4096];
	while (ok) {
		ssize_t n = read(fd, buf, sizeof buf);
		if (n < 0 && errno == EINTR)
			continue;
		if (n < 0) {
			ok = false;
			err = errno;
		} else if (n == 0) {
			break;
		} else {
			text.append(buf, (size_t)n);
			if (text.size() > kMaxFileBytes) {
				ok = false;
				err = EFBIG;
			}
		}
	}
	close(fd);
	return ok;
}

/* http(s)://host[:port][/path], nothing after the path, no user in it. */
bool server_ok(const std::string &url, std::string &why)
{
	size_t scheme_end = url.find("://");
	std::string scheme = scheme_end == std::string::npos ? "" : url.substr(0, scheme_end);
	if (scheme != "http" && scheme != "https") {
		why = "server must start with http:// or https://";
		return false;
	}
	if (!printable(url) || url.find_first_of("?#\"\\<>{}|^`") != std::string::npos) {
		why = "server must be a plain base URL (no blanks, query or fragment)";
		return false;
	}
	size_t host_start = scheme_end + 3;
	size_t path_start = url.find('/', host_start);
	std::string authority = url.substr(host_start, path_start == std::string::npos ? std::string::npos
										      : path_start - host_start);
	if (authority.empty()) {
		why = "server has no host";
		return false;
	}
	if (authority.find('@') != std::string::npos) {
		why = "server must not hold a user or password; use auth and credentials_file";
		return false;
	}
	return true;
}

bool load_credentials(const std::string &path, upload_config &cfg, std::string &why)
{
	std::string text;
	struct stat st;
	int err = 0;
	if (!read_small(path, O_NOFOLLOW, text, st, err)) {
		why = "credentials_file " + path + ": " + (err == ELOOP ? "is a symbolic link" : strerror(err));
		return false;
	}
	if (st.st_uid != geteuid() || (st.st_mode & 077) != 0) {
		why = "credentials_file " + path + " must belong to " + (geteuid() == 0 ? "root" : "this user") +
		      " and be readable by it alone (chmod 600)";
		return false;
	}
	std::string line = trim(text.substr(0, text.find('\n')));
	if (line.empty() || !printable(line)) {
		why = "credentials_file " + path + ": its first line must hold the credentials, without blanks";
		return false;
	}
	if (cfg.auth == "basic") {
		size_t colon = line.find(':');
		if (colon == std::string::npos || colon == 0) {
			why = "credentials_file " + path + ": basic auth wants user:password";
			return false;
		}
		cfg.user = line.substr(0, colon);
		cfg.secret = line.substr(colon + 1);
	} else {
		cfg.secret = line;
	}
	return true;
}

} // namespace

bool station_id_ok(const std::string &id)
{
	if (id.empty() || id.size() > 128 || id[0] == '.' || id[0] == '-')
		return false;
	for (char c : id)
		if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
		      c == '-'))
			return false;
	return true;
}

station_config_result station_config_load_from(const std::string &path, bool missing_ok, const std::string &hostname,
					       upload_config &cfg, std::string &why)
{
	cfg = upload_config();
	cfg.source = path;
	std::string text;
	struct stat st;
	int err = 0;
	if (!read_small(path, 0, text, st, err)) {
		if (err == ENOENT && missing_ok)
			return STATION_CONFIG_NONE;
		why = std::string("cannot read: ") + strerror(err);
		return STATION_CONFIG_BAD;
	}

	std::map<std::string, std::string> values;
	size_t pos = 0;
	for (int line_no = 1; pos < text.size(); line_no++) {
		size_t nl = text.find('\n', pos);
		std::string line = trim(text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos));
		pos = nl == std::string::npos ? text.size() : nl + 1;
		if (line.empty() || line[0] == '#')
			continue;
		size_t eq = line.find('=');
		std::string where = "line " + std::to_string(line_no);
		if (eq == std::string::npos) {
			why = where + ": not key = value";
			return STATION_CONFIG_BAD;
		}
		std::string key = trim(line.substr(0, eq));
		std::string value = trim(line.substr(eq + 1));
		bool known = false;
		for (const char *k : kKeys)
			known = known || key == k;
		if (!known) {
			why = where + ": unknown key \"" + key + "\"";
			return STATION_CONFIG_BAD;
		}
		if (values.count(key) != 0) {
			why = where + ": " + key + " given twice";
			return STATION_CONFIG_BAD;
		}
		if (value.empty()) {
			why = where + ": " + key + " has no value";
			return STATION_CONFIG_BAD;
		}
		if (key == "confirm" && on_off(value) < 0) {
			why = where + ": confirm must be on or off";
			return STATION_CONFIG_BAD;
		}
		values[key] = value;
	}
	if (values.count("server") == 0)
		return STATION_CONFIG_NONE;

	cfg.server = values["server"];
	while (!cfg.server.empty() && cfg.server.back() == '/')
		cfg.server.pop_back();
	if (!server_ok(cfg.server, why))
		return STATION_CONFIG_BAD;

	cfg.station = values.count("station") ? values["station"] : hostname;
	if (!station_id_ok(cfg.station)) {
		why = values.count("station") ? "station \"" + cfg.station + "\" is not a usable id (A-Z a-z 0-9 . _ -)"
					      : "the host name \"" + cfg.station +
							"\" is not a usable station id; set station = ...";
		return STATION_CONFIG_BAD;
	}

	if (values.count("ca_file")) {
		cfg.ca_file = values["ca_file"];
		if (access(cfg.ca_file.c_str(), R_OK) != 0) {
			why = "ca_file " + cfg.ca_file + ": " + strerror(errno);
			return STATION_CONFIG_BAD;
		}
	}

	std::string auth = values.count("auth") ? values["auth"] : "none";
	if (auth != "none" && auth != "basic" && auth != "bearer") {
		why = "auth must be none, basic or bearer";
		return STATION_CONFIG_BAD;
	}
	cfg.auth = auth == "none" ? "" : auth;
	if (cfg.auth.empty() != (values.count("credentials_file") == 0)) {
		why = cfg.auth.empty() ? "credentials_file given without auth = basic or bearer"
				       : "auth = " + cfg.auth + " needs credentials_file";
		return STATION_CONFIG_BAD;
	}
	if (!cfg.auth.empty() && !load_credentials(values["credentials_file"], cfg, why))
		return STATION_CONFIG_BAD;
	return STATION_CONFIG_OK;
}

/* Only its own key: a file the uploads find bad may still switch it. */
int station_config_confirm(void)
{
	std::string text;
	struct stat st;
	int err = 0;
	if (!read_small(config_path(), 0, text, st, err))
		return -1;
	size_t pos = 0;
	while (pos < text.size()) {
		size_t nl = text.find('\n', pos);
		std::string line = trim(text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos));
		pos = nl == std::string::npos ? text.size() : nl + 1;
		size_t eq = line.find('=');
		if (!line.empty() && line[0] != '#' && eq != std::string::npos && trim(line.substr(0, eq)) == "confirm")
			return on_off(trim(line.substr(eq + 1)));
	}
	return -1;
}

station_config_result station_config_load(upload_config &cfg)
{
	const char *env = getenv(STATION_CONFIG_ENV);
	bool named = env != NULL && env[0] != '\0';
	std::string path = config_path();
	char host[256] = {0};
	if (gethostname(host, sizeof host - 1) != 0)
		host[0] = '\0';
	std::string why;
	/* A file the environment names must be there; the default one need not. */
	station_config_result r = station_config_load_from(path, !named, host, cfg, why);
	if (r == STATION_CONFIG_BAD) {
		fprintf(stderr, "upload: %s: %s; uploads are off\n", path.c_str(), why.c_str());
		fflush(stderr);
	}
	return r;
}
