#include "outbox.h"

#include "files/file_io.h"
#include "station_config.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

using json = nlohmann::json;

namespace {

/* Not the name of any run: run ids start with a letter or digit. */
const char kStateFile[] = ".state.json";

struct state {
	std::mutex lock; /* the noting thread (main) and the uploader */
	bool enabled = false;
	std::string dir;
	std::function<void(const std::string &, bool, bool)> noted;
};

/* Never freed: the uploader may still look at it while the program exits. */
state &S()
{
	static state *s = new state;
	return *s;
}

void say(const std::string &text)
{
	fprintf(stderr, "upload: %s\n", text.c_str());
	fflush(stderr);
}

/* Whole or not at all, its name on disk too; a failure said on the console. */
bool write_atomically(const std::string &dir, const std::string &name, const std::string &text)
{
	int err = file_io::write_atomically(dir + "/" + name, text, true);
	if (err != 0)
		say("cannot write " + dir + "/" + name + ": " + strerror(err));
	return err == 0;
}

bool is_entry_name(const char *name)
{
	size_t n = strlen(name);
	return name[0] != '.' && n > 5 && strcmp(name + n - 5, ".json") == 0;
}

} // namespace

std::string outbox::iso_now()
{
	struct timespec ts;
	clock_gettime(CLOCK_REALTIME, &ts);
	struct tm tm;
	gmtime_r(&ts.tv_sec, &tm);
	char buf[64];
	snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
		 tm.tm_hour, tm.tm_min, tm.tm_sec, (int)(ts.tv_nsec / 1000000));
	return buf;
}

namespace {

/* Writes the entry; the caller holds the lock. */
bool put_entry(const std::string &run_id, const std::string &json_text, const std::string &xml_text, bool closed)
{
	state &s = S();
	if (int err = file_io::make_dir(s.dir)) {
		say("cannot create " + s.dir + ": " + strerror(err));
		return false;
	}
	json e = {{"run_id", run_id},
		  {"closed", closed},
		  {"noted", outbox::iso_now()},
		  {"record.json", json_text},
		  {"record.xml", xml_text}};
	if (!write_atomically(s.dir, run_id + ".json", e.dump(-1, ' ', false, json::error_handler_t::replace)))
		return false;
	if (closed)
		write_atomically(s.dir, kStateFile, json({{"last_closed", run_id}}).dump() + "\n");
	return true;
}

/* "<serial>-20261209T071502.123Z": the part after the last '-' */
std::string stamp_of(const std::string &run_id)
{
	size_t dash = run_id.rfind('-');
	return dash == std::string::npos ? "" : run_id.substr(dash + 1);
}

} // namespace

namespace outbox {

bool parse_run(const std::string &json_text, std::string &run_id, bool &has_tests)
{
	json doc = json::parse(json_text, nullptr, false);
	if (doc.is_discarded() || !doc.is_object())
		return false;
	auto run = doc.find("run");
	auto tests = doc.find("tests");
	if (run == doc.end() || !run->is_object() || !run->contains("id") || !(*run)["id"].is_string())
		return false;
	run_id = (*run)["id"].get<std::string>();
	has_tests = tests != doc.end() && tests->is_array() && !tests->empty();
	return true;
}

void enable(const std::string &dir, std::function<void(const std::string &, bool, bool)> noted)
{
	state &s = S();
	std::lock_guard<std::mutex> hold(s.lock);
	s.dir = dir;
	s.noted = std::move(noted);
	s.enabled = true;
}

std::vector<std::string> waiting()
{
	state &s = S();
	std::vector<std::pair<std::pair<int64_t, std::string>, std::string>> found;
	DIR *d = opendir(s.dir.c_str());
	if (d == NULL)
		return {};
	while (struct dirent *e = readdir(d)) {
		if (!is_entry_name(e->d_name))
			continue;
		struct stat st;
		std::string name = e->d_name;
		if (stat((s.dir + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
			continue;
		/* oldest noted first; a new version of a run waits its turn again */
		int64_t t = (int64_t)st.st_mtim.tv_sec * 1000000000 + st.st_mtim.tv_nsec;
		found.push_back({{t, name}, name.substr(0, name.size() - 5)});
	}
	closedir(d);
	std::sort(found.begin(), found.end());
	std::vector<std::string> ids;
	for (auto &f : found)
		ids.push_back(f.second);
	return ids;
}

bool read(const std::string &run_id, entry &out)
{
	std::string path = S().dir + "/" + run_id + ".json";
	int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
	if (fd < 0)
		return false;
	struct stat st;
	bool ok = fstat(fd, &st) == 0;
	std::string text;
	char buf[65536];
	for (ssize_t n; ok && (n = ::read(fd, buf, sizeof buf)) != 0;) {
		if (n < 0 && errno == EINTR)
			continue;
		ok = n > 0;
		if (ok)
			text.append(buf, (size_t)n);
	}
	close(fd);
	if (!ok)
		return false;
	json e = json::parse(text, nullptr, false);
	if (e.is_discarded() || !e.is_object() || !e.value("record.json", json()).is_string() ||
	    !e.value("record.xml", json()).is_string() || e.value("run_id", std::string()) != run_id) {
		/* Never sendable: kept aside for a person, out of the count. */
		std::lock_guard<std::mutex> hold(S().lock);
		struct stat now;
		if (stat(path.c_str(), &now) == 0 && now.st_ino == st.st_ino &&
		    rename(path.c_str(), (path + ".unreadable").c_str()) == 0)
			say(path + " cannot be read; moved to " + path + ".unreadable");
		return false;
	}
	out.run_id = run_id;
	out.closed = e.value("closed", false);
	out.json = e["record.json"].get<std::string>();
	out.xml = e["record.xml"].get<std::string>();
	out.inode = st.st_ino;
	return true;
}

void remove_sent(const entry &e)
{
	state &s = S();
	std::string path = s.dir + "/" + e.run_id + ".json";
	{
		std::lock_guard<std::mutex> hold(s.lock);
		struct stat st;
		if (stat(path.c_str(), &st) != 0 || st.st_ino != e.inode)
			return; /* a newer version came meanwhile: it goes next */
		if (unlink(path.c_str()) != 0) {
			say("cannot remove " + path + ": " + strerror(errno));
			return;
		}
	}
	file_io::sync_dir(s.dir);
}

std::string recover(const std::string &workdir)
{
	state &s = S();
	std::lock_guard<std::mutex> hold(s.lock);
	std::string log = workdir + "/Log";

	/* Leftovers of a write cut short. */
	if (DIR *d = opendir(s.dir.c_str())) {
		std::vector<std::string> stale;
		while (struct dirent *e = readdir(d)) {
			size_t n = strlen(e->d_name);
			if (e->d_name[0] == '.' && n > 4 && strcmp(e->d_name + n - 4, ".tmp") == 0)
				stale.push_back(s.dir + "/" + e->d_name);
		}
		closedir(d);
		for (auto &p : stale)
			unlink(p.c_str());
	}

	/* The newest closed run: the one a crash right after its closing
	 * could have left unnoted. */
	std::string newest;
	if (DIR *d = opendir((log + "/runs").c_str())) {
		while (struct dirent *e = readdir(d)) {
			std::string id = e->d_name;
			if (!is_entry_name(e->d_name))
				continue;
			id.resize(id.size() - 5);
			if (station_id_ok(id) && (newest.empty() || stamp_of(id) > stamp_of(newest)))
				newest = id;
		}
		closedir(d);
	}
	std::string text, xml;
	bool have_state = file_io::read_whole(s.dir + "/" + kStateFile, text);
	json st = json::parse(text, nullptr, false);
	std::string last_closed = have_state && st.is_object() ? st.value("last_closed", std::string()) : "";
	if (!have_state) {
		/* Uploads are new here: the history before them is not sent. */
		if (file_io::make_dir(s.dir) == 0)
			write_atomically(s.dir, kStateFile, json({{"last_closed", newest}}).dump() + "\n");
	} else if (!newest.empty() && newest != last_closed &&
		   file_io::read_whole(log + "/runs/" + newest + ".json", text) && file_io::read_whole(log + "/runs/" + newest + ".xml", xml)) {
		put_entry(newest, text, xml, true);
	}

	std::string current;
	bool has_tests = false;
	struct stat ignored;
	if (file_io::read_whole(log + "/record.json", text) && parse_run(text, current, has_tests) && has_tests &&
	    station_id_ok(current) && stat((log + "/runs/" + current + ".json").c_str(), &ignored) != 0 &&
	    stat((s.dir + "/" + current + ".json").c_str(), &ignored) != 0 && file_io::read_whole(log + "/record.xml", xml)) {
		/* Sent again once per start: the server keeps one file per run. */
		put_entry(current, text, xml, false);
	}
	return current;
}

} // namespace outbox

void upload_note_run(const char *run_id, const char *json_doc, const char *xml_doc, int closed)
{
	state &s = S();
	if (!s.enabled || run_id == NULL || json_doc == NULL || xml_doc == NULL)
		return;
	std::string id = run_id;
	std::string json_text = json_doc, xml_text = xml_doc, parsed_id;
	bool has_tests = false;
	bool noted = false;
	if (!outbox::parse_run(json_text, parsed_id, has_tests) || parsed_id != id) {
		say("the record of run " + id + " does not name it; it is not sent");
	} else if (!station_id_ok(id)) {
		say("run id \"" + id + "\" cannot be a file name on the server; it is not sent");
	} else if (has_tests) {
		std::lock_guard<std::mutex> hold(s.lock);
		noted = put_entry(id, json_text, xml_text, closed != 0);
	}
	if (s.noted)
		s.noted(id, closed != 0, noted);
}

int upload_waiting(const char *workdir)
{
	std::string dir = std::string(workdir != NULL ? workdir : ".") + "/Log/outbox";
	DIR *d = opendir(dir.c_str());
	if (d == NULL)
		return -1;
	int n = 0;
	while (struct dirent *e = readdir(d))
		n += is_entry_name(e->d_name);
	closedir(d);
	return n;
}
