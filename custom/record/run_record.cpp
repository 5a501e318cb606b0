#include "run_record.h"

#include "files/file_io.h"
#include "line/outbox.h"
#include "line/uploader.h"
#include "tessel_version.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

/* Members keep the order they are written in: the record reads as the
 * README shows it. */
using json = nlohmann::ordered_json;

/* Everything lives in the working directory, beside the status file. */
static const char kLogDir[] = "Log";
static const char kRecordJson[] = "Log/record.json";
static const char kRecordXml[] = "Log/record.xml";
static const char kRunsDir[] = "Log/runs";
static const int kSchemaVersion = 1;
static const size_t kRunsKept = 1000;
static const int kTailLines = 20;
static const size_t kTailBytes = 8192;
/* File times come from the kernel's coarse clock, up to a tick behind the
 * wall clock the runner reads: a log written right after the start may
 * carry a time just before it. */
static const int64_t kClockSlackMs = 20;

/* Types of this file only (no clash with another file's names). */
namespace {

struct recorded_test {
	int line = 0;
	std::string name;
	bool has_status = false;
	std::string status_line;
	std::string outcome;
	int64_t start_ms = 0;
	int64_t end_ms = 0;
	int exit_status = -1;
	int attempts = 0;
	std::vector<std::string> log_files;
	std::string console_tail;
	json confirmation; /* the operator's answer (confirmation mode), or null */
};

struct file_stamp {
	int64_t mtime_ns;
	int64_t size;
};

struct board_info {
	std::string serial;
	std::string model;
	std::string device_tree;
	std::string hostname;
	std::string workdir;
	std::string station; /* the id runs go to the line's server under; "" while uploads are off */
};

struct totals {
	int passed = 0, failed = 0, warning = 0, not_run = 0, timed_out = 0, not_recorded = 0;
	int64_t time_ms = 0;
};

} // namespace

/* The current run of the working directory it belongs to. A program that
 * restarts, or a process that changes directory, picks up the record it
 * finds there, the way the status file keeps its verdicts. */
static struct {
	std::string workdir;
	int64_t started_ms = 0;
	std::string id; /* fixed once the run has a file or was asked for; "" before */
	std::string device_tree; /* the last one detected, or as the record had it */
	std::vector<recorded_test> tests; /* by status line */
	bool logs_known = false;
	std::map<std::string, file_stamp> logs; /* Log/ as of the last report */
} g_run;

static std::string g_device_tree;
static std::string g_station_id;
static std::string g_board_root;

static void report(const char *format, ...) __attribute__((format(printf, 1, 2)));
static void report(const char *format, ...)
{
	va_list ap;
	va_start(ap, format);
	fputs("record: ", stderr);
	vfprintf(stderr, format, ap);
	fputc('\n', stderr);
	fflush(stderr);
	va_end(ap);
}

/* ---- text ---------------------------------------------------------- */

/* Length of the valid UTF-8 sequence at s[i], 0 if there is none. */
static size_t utf8_sequence(const std::string &s, size_t i)
{
	unsigned char c = (unsigned char)s[i];
	if (c < 0x80)
		return 1;
	size_t n;
	uint32_t min;
	uint32_t cp;
	if ((c & 0xE0) == 0xC0) {
		n = 2, min = 0x80, cp = c & 0x1F;
	} else if ((c & 0xF0) == 0xE0) {
		n = 3, min = 0x800, cp = c & 0x0F;
	} else if ((c & 0xF8) == 0xF0) {
		n = 4, min = 0x10000, cp = c & 0x07;
	} else {
		return 0;
	}
	if (i + n > s.size())
		return 0;
	for (size_t k = 1; k < n; k++) {
		unsigned char t = (unsigned char)s[i + k];
		if ((t & 0xC0) != 0x80)
			return 0;
		cp = (cp << 6) | (t & 0x3F);
	}
	if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
		return 0;
	return n;
}

/* `s` with every byte sequence that is not valid UTF-8 replaced by U+FFFD,
 * so a script's odd output cannot make the record unreadable. */
static std::string utf8_clean(const std::string &s)
{
	std::string out;
	out.reserve(s.size());
	for (size_t i = 0; i < s.size();) {
		size_t n = utf8_sequence(s, i);
		if (n == 0) {
			out += "\xEF\xBF\xBD";
			i++;
		} else {
			out.append(s, i, n);
			i += n;
		}
	}
	return out;
}

/* `s` (valid UTF-8) escaped for XML 1.0: markup characters as entities,
 * characters XML cannot carry (control codes, U+FFFE, U+FFFF) dropped; in
 * an attribute, line breaks and tabs become character references so that
 * they survive parsing. */
static std::string xml_escape(const std::string &s, bool attribute)
{
	std::string out;
	out.reserve(s.size());
	for (size_t i = 0; i < s.size(); i++) {
		unsigned char c = (unsigned char)s[i];
		switch (c) {
		case '<': out += "&lt;"; break;
		case '>': out += "&gt;"; break;
		case '&': out += "&amp;"; break;
		case '"': out += "&quot;"; break;
		case '\'': out += "&apos;"; break;
		case '\n': out += attribute ? "&#10;" : "\n"; break;
		case '\r': out += "&#13;"; break; /* parsers turn a raw CR into LF */
		case '\t': out += attribute ? "&#9;" : "\t"; break;
		default:
			if (c == 0xEF && s.compare(i + 1, 1, "\xBF") == 0 && i + 2 < s.size() &&
			    ((unsigned char)s[i + 2] == 0xBE || (unsigned char)s[i + 2] == 0xBF))
				i += 2;
			else if (c >= 0x20 && c != 0x7F)
				out += (char)c;
		}
	}
	return out;
}

/* Typed reads of an object's member, with a fallback for an absent or
 * mistyped one: a record edited by hand must not stop the program. */
static std::string member_string(const json &o, const char *key, const std::string &fallback)
{
	if (!o.is_object())
		return fallback;
	auto it = o.find(key);
	return it != o.end() && it->is_string() ? it->get<std::string>() : fallback;
}

static int64_t member_int(const json &o, const char *key, int64_t fallback)
{
	if (!o.is_object())
		return fallback;
	auto it = o.find(key);
	if (it == o.end() || !it->is_number_integer())
		return fallback;
	return it->get<int64_t>();
}

static int64_t now_ms(void)
{
	struct timespec ts;
	clock_gettime(CLOCK_REALTIME, &ts);
	return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

static void split_ms(int64_t ms, struct tm *tm, int *millis)
{
	int64_t secs = ms / 1000;
	int64_t rest = ms % 1000;
	if (rest < 0) {
		rest += 1000;
		secs--;
	}
	time_t t = (time_t)secs;
	gmtime_r(&t, tm);
	*millis = (int)rest;
}

/* "2026-12-09T07:15:02.123Z" */
static std::string iso_time(int64_t ms)
{
	struct tm tm;
	int millis;
	split_ms(ms, &tm, &millis);
	char buf[64];
	snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900, tm.tm_mon + 1,
		 tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, millis);
	return buf;
}

/* "20261209T071502.123Z": file names sort by it */
static std::string file_time(int64_t ms)
{
	struct tm tm;
	int millis;
	split_ms(ms, &tm, &millis);
	char buf[64];
	snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02d.%03dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
		 tm.tm_hour, tm.tm_min, tm.tm_sec, millis);
	return buf;
}

static bool parse_iso_time(const std::string &s, int64_t *ms)
{
	struct tm tm = {};
	int millis = 0;
	if (sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.%3dZ", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour,
		   &tm.tm_min, &tm.tm_sec, &millis) != 7)
		return false;
	tm.tm_year -= 1900;
	tm.tm_mon -= 1;
	*ms = (int64_t)timegm(&tm) * 1000 + millis;
	return true;
}

/* ---- outcomes ------------------------------------------------------- */

static bool has_word(const char *text, const char *word)
{
	size_t n = strlen(word);
	for (const char *p = strstr(text, word); p != NULL; p = strstr(p + 1, word)) {
		bool left = p == text || !isalnum((unsigned char)p[-1]);
		bool right = !isalnum((unsigned char)p[n]);
		if (left && right)
			return true;
	}
	return false;
}

const char *record_outcome(const char *status_line, int timed_out, int not_recorded)
{
	if (not_recorded || status_line == NULL)
		return "not recorded";
	if (timed_out)
		return "timed out";
	if (strstr(status_line, "not yet") != NULL)
		return "not run";
	/* before the failures: the warning verdicts say "Failed to set brightness" */
	if (strstr(status_line, "(Warning") != NULL)
		return "warning";
	if (strstr(status_line, "failed") != NULL || strstr(status_line, "Failed") != NULL ||
	    strstr(status_line, "Device Not Found") != NULL)
		return "failed";
	if (has_word(status_line, "ok"))
		return "passed";
	/* a line that says nothing known has not shown the board works */
	return "failed";
}

/* ---- the board ------------------------------------------------------ */

void record_set_board_root(const char *root)
{
	g_board_root = root != NULL ? root : "";
}

static void note_logs(void);

/* The screen has just rewritten Log/Log_DTS to find the tree: noting the
 * logs now keeps that file from counting for the next test. */
void record_set_device_tree(const char *name)
{
	g_device_tree = name != NULL ? utf8_clean(name) : "";
	note_logs();
}

/* A kernel text: device-tree properties end in NUL, sysfs values in LF. */
static std::string kernel_text(const char *path)
{
	std::string text;
	if (!file_io::read_whole(g_board_root + path, text))
		return "";
	text = text.substr(0, text.find('\0'));
	std::string clean;
	for (char c : text)
		clean += (unsigned char)c < 0x20 ? ' ' : c;
	size_t first = clean.find_first_not_of(' ');
	if (first == std::string::npos)
		return "";
	size_t last = clean.find_last_not_of(' ');
	return utf8_clean(clean.substr(first, last - first + 1));
}

/* /proc/device-tree is a link to /sys/firmware/devicetree/base; the second
 * path reaches the same file where procfs has no such link. */
static std::string first_kernel_text(const char *const *paths)
{
	for (; *paths != NULL; paths++) {
		std::string text = kernel_text(*paths);
		if (!text.empty())
			return text;
	}
	return "unknown";
}

static std::string board_serial(void)
{
	static const char *const paths[] = {"/sys/devices/soc0/serial_number", "/proc/device-tree/serial-number",
					    "/sys/firmware/devicetree/base/serial-number", NULL};
	return first_kernel_text(paths);
}

static std::string board_model(void)
{
	static const char *const paths[] = {"/proc/device-tree/model", "/sys/firmware/devicetree/base/model", NULL};
	return first_kernel_text(paths);
}

static void copy_text(const std::string &text, char *out, unsigned n)
{
	if (n > 0)
		snprintf(out, n, "%s", text.c_str());
}

void record_set_station_id(const char *id) { g_station_id = id != nullptr ? id : ""; }

const struct upload_board *record_upload_board(void)
{
	static const upload_board board = {
		[](char *out, unsigned n) { copy_text(board_serial(), out, n); },
		[](char *out, unsigned n) { copy_text(board_model(), out, n); },
		record_outcome,
	};
	return &board;
}

static std::string host_name(void)
{
	char buf[256] = {0};
	if (gethostname(buf, sizeof buf - 1) != 0 || buf[0] == '\0' || strcmp(buf, "(none)") == 0)
		return "unknown";
	return utf8_clean(buf);
}

/* The serial as a piece of a file name. */
static std::string file_safe(const std::string &s)
{
	std::string out;
	for (char c : s)
		out += isalnum((unsigned char)c) || c == '.' || c == '_' || c == '-' ? c : '_';
	if (out.empty() || out[0] == '.')
		out.insert(0, "_");
	return out;
}

static board_info read_board(void)
{
	board_info b;
	b.serial = board_serial();
	b.model = board_model();
	/* the run keeps the last tree the screen detected, also across a restart */
	if (!g_device_tree.empty())
		g_run.device_tree = g_device_tree;
	b.device_tree = !g_run.device_tree.empty() ? g_run.device_tree : "unknown";
	b.hostname = host_name();
	b.workdir = utf8_clean(g_run.workdir);
	b.station = g_station_id;
	return b;
}

/* ---- the files ------------------------------------------------------ */

static totals count(void)
{
	totals t;
	for (const auto &r : g_run.tests) {
		const std::string &o = r.outcome;
		if (o == "passed")
			t.passed++;
		else if (o == "warning")
			t.warning++;
		else if (o == "not run")
			t.not_run++;
		else if (o == "timed out")
			t.timed_out++;
		else if (o == "not recorded")
			t.not_recorded++;
		else
			t.failed++;
		t.time_ms += r.end_ms - r.start_ms;
	}
	return t;
}

static std::string run_id(const board_info &b, int64_t started_ms)
{
	return file_safe(b.serial) + "-" + file_time(started_ms);
}

static std::string seconds(int64_t ms)
{
	char buf[32];
	snprintf(buf, sizeof buf, "%.3f", (double)ms / 1000.0);
	return buf;
}

static json render_json(const board_info &b, const std::string &id, int64_t updated_ms, int64_t closed_ms)
{
	json tests = json::array();
	for (const recorded_test &r : g_run.tests) {
		tests.push_back({
			{"line", r.line},
			{"name", r.name},
			{"status_line", r.has_status ? json(r.status_line) : json(nullptr)},
			{"outcome", r.outcome},
			{"start", iso_time(r.start_ms)},
			{"end", iso_time(r.end_ms)},
			{"duration_ms", r.end_ms - r.start_ms},
			{"exit_status", r.exit_status},
			{"attempts", r.attempts},
			{"log_files", r.log_files},
			{"console_tail", r.console_tail},
		});
		if (!r.confirmation.is_null())
			tests.back()["confirmation"] = r.confirmation;
	}
	totals t = count();
	json station = {
		{"program", "GUI Tessel"},
		{"version", TESSEL_VERSION},
		{"working_directory", b.workdir},
	};
	/* the line groups runs by station: the configured id, which need not be the host name */
	if (!b.station.empty())
		station["id"] = b.station;
	return {
		{"schema_version", kSchemaVersion},
		{"run",
		 {
			 {"id", id},
			 {"started", iso_time(g_run.started_ms)},
			 {"updated", iso_time(updated_ms)},
			 {"closed", closed_ms != 0 ? json(iso_time(closed_ms)) : json(nullptr)},
		 }},
		{"board",
		 {
			 {"serial_number", b.serial},
			 {"model", b.model},
			 {"device_tree", b.device_tree},
			 {"hostname", b.hostname},
		 }},
		{"station", station},
		{"tests", tests},
		{"totals",
		 {
			 {"tests", g_run.tests.size()},
			 {"passed", t.passed},
			 {"failed", t.failed},
			 {"warning", t.warning},
			 {"not_run", t.not_run},
			 {"timed_out", t.timed_out},
			 {"not_recorded", t.not_recorded},
			 {"duration_ms", t.time_ms},
		 }},
	};
}

static std::string json_text(const json &doc)
{
	/* every text is clean UTF-8 already; "replace" only keeps a slip from throwing */
	return doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

static std::string attr(const std::string &s)
{
	return "\"" + xml_escape(s, true) + "\"";
}

/* JUnit as Jenkins' xUnit plugin validates it (junit-10.xsd) and GitLab
 * and Jenkins read it: the counts on the suite (the aggregate allows no
 * "skipped"), a test's failure, error or skipped and its console output in
 * its case, and what a case may not carry (line, outcome, attempts,
 * verdict) as the suite's properties, "line.<N>.<what>". */
static std::string render_junit(const board_info &b, const std::string &id)
{
	totals t = count();
	std::string classname = "tessel." + b.serial;
	std::string tests = std::to_string(g_run.tests.size());
	std::string failures = std::to_string(t.failed + t.timed_out);
	std::string errors = std::to_string(t.not_recorded);
	std::string time = seconds(t.time_ms);
	/* the timestamp without a zone, as JUnit readers expect; it is UTC */
	std::string stamp = iso_time(g_run.started_ms).substr(0, 19);

	std::string x;
	x.reserve(4096 + g_run.tests.size() * 2048);
	x += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
	x += "<testsuites name=\"GUI Tessel\" tests=\"" + tests + "\" failures=\"" + failures + "\" errors=\"" + errors +
	     "\" time=\"" + time + "\">\n";
	x += "  <testsuite name=" + attr(classname) + " timestamp=\"" + stamp + "\" hostname=" + attr(b.hostname) +
	     " tests=\"" + tests + "\" failures=\"" + failures + "\" errors=\"" + errors + "\" skipped=\"" +
	     std::to_string(t.not_run) + "\" time=\"" + time + "\">\n";
	x += "    <properties>\n";
	std::vector<std::pair<std::string, std::string>> props = {
		{"run_id", id},
		{"serial_number", b.serial},
		{"model", b.model},
		{"device_tree", b.device_tree},
		{"version", TESSEL_VERSION},
		{"working_directory", b.workdir},
	};
	if (!b.station.empty())
		props.emplace_back("station", b.station);
	for (const recorded_test &r : g_run.tests) {
		std::string key = "line." + std::to_string(r.line) + ".";
		props.emplace_back(key + "test", r.name);
		props.emplace_back(key + "outcome", r.outcome);
		props.emplace_back(key + "attempts", std::to_string(r.attempts));
		props.emplace_back(key + "verdict", r.has_status ? r.status_line : "(status line unreadable)");
	}
	for (const auto &p : props)
		x += "      <property name=" + attr(p.first) + " value=" + attr(p.second) + "/>\n";
	x += "    </properties>\n";
	for (const recorded_test &r : g_run.tests) {
		x += "    <testcase classname=" + attr(classname) + " name=" + attr(r.name) + " time=\"" +
		     seconds(r.end_ms - r.start_ms) + "\">\n";
		std::string verdict = r.has_status ? r.status_line : std::string("(status line unreadable)");
		if (r.outcome == "failed" || r.outcome == "timed out")
			x += "      <failure message=" + attr(verdict) + " type=" + attr(r.outcome) + "/>\n";
		else if (r.outcome == "not run")
			x += "      <skipped message=" + attr(verdict) + "/>\n";
		else if (r.outcome == "not recorded")
			x += "      <error message=" + attr(verdict) + " type=\"not recorded\"/>\n";
		if (!r.console_tail.empty())
			x += "      <system-out>" + xml_escape(r.console_tail, false) + "</system-out>\n";
		x += "    </testcase>\n";
	}
	x += "  </testsuite>\n</testsuites>\n";
	return x;
}

/* Replaced whole (file_io), a failure said on the console. */
static bool write_atomically(const std::string &path, const std::string &text)
{
	int err = file_io::write_atomically(path, text, false);
	if (err != 0)
		report("cannot write %s: %s", path.c_str(), strerror(err));
	return err == 0;
}

static bool make_dir(const char *dir)
{
	int err = file_io::make_dir(dir);
	if (err != 0)
		report("cannot create %s: %s", dir, strerror(err));
	return err == 0;
}

/* A run's id is fixed the first time it is needed (the record written, or
 * asked for) and kept for the run's life: whatever reads the record by
 * its id meets one run under one name. It never names a run kept under
 * Log/runs/ already. */
static void fix_run_id(const board_info &b)
{
	if (!g_run.id.empty())
		return;
	g_run.id = run_id(b, g_run.started_ms);
	while (access((std::string(kRunsDir) + "/" + g_run.id + ".json").c_str(), F_OK) == 0)
		g_run.id = run_id(b, ++g_run.started_ms);
}

/* The one place the current run's record is written: after every test
 * that ends, and when Initialization begins a new run. */
static void write_current(void)
{
	if (!make_dir(kLogDir))
		return;
	board_info b = read_board();
	fix_run_id(b);
	std::string json_doc = json_text(render_json(b, g_run.id, now_ms(), 0));
	std::string junit = render_junit(b, g_run.id);
	bool ok = write_atomically(kRecordJson, json_doc);
	ok = write_atomically(kRecordXml, junit) && ok;
	if (ok)
		file_io::sync_dir(kLogDir);
	if (ok)
		upload_note_run(g_run.id.c_str(), json_doc.c_str(), junit.c_str(), 0);
}

/* ---- loading -------------------------------------------------------- */

static void begin_run(int64_t started_ms)
{
	g_run.started_ms = started_ms;
	g_run.id.clear();
	g_run.tests.clear();
}

/* ---- the operator's confirmations ------------------------------------ */

/* Waiting for their line's report: line -> "confirmation" object. */
static std::map<int, json> g_confirmations;

void record_set_confirmation(int line, const char *challenge, const char *answer, double seconds, int ok)
{
	g_confirmations[line] = {
		{"challenge", utf8_clean(challenge != NULL ? challenge : "")},
		{"answer", answer != NULL ? json(utf8_clean(answer)) : json(nullptr)},
		{"seconds", (double)(int64_t)(seconds * 10 + 0.5) / 10},
		{"outcome", ok ? "passed" : "failed"},
	};
}

/* "<serial>-20261209T071502.123Z", the shape of the names under Log/runs/ */
static bool is_file_time(const std::string &s);
static bool is_run_id(const std::string &id)
{
	const size_t stamp_len = 20;
	if (id.size() < stamp_len + 2 || id[id.size() - stamp_len - 1] != '-' ||
	    !is_file_time(id.substr(id.size() - stamp_len)) || id[0] == '.')
		return false;
	for (char c : id)
		if (!isalnum((unsigned char)c) && c != '.' && c != '_' && c != '-')
			return false;
	return true;
}

static bool load_tests(const json &doc)
{
	if (!doc.is_object() || member_int(doc, "schema_version", 0) != kSchemaVersion)
		return false;
	auto run = doc.find("run");
	auto tests = doc.find("tests");
	if (run == doc.end() || tests == doc.end() || !tests->is_array())
		return false;
	if (!parse_iso_time(member_string(*run, "started", ""), &g_run.started_ms))
		return false;
	std::string id = member_string(*run, "id", "");
	g_run.id = is_run_id(id) ? id : "";
	auto board = doc.find("board");
	if (board != doc.end()) {
		std::string dt = member_string(*board, "device_tree", "");
		g_run.device_tree = dt == "unknown" ? "" : dt;
	}
	for (const json &t : *tests) {
		recorded_test r;
		r.line = (int)member_int(t, "line", 0);
		r.name = member_string(t, "name", "");
		auto status = t.is_object() ? t.find("status_line") : t.end();
		r.has_status = t.is_object() && status != t.end() && status->is_string();
		r.status_line = r.has_status ? status->get<std::string>() : "";
		r.outcome = member_string(t, "outcome", "failed");
		if (!parse_iso_time(member_string(t, "start", ""), &r.start_ms) ||
		    !parse_iso_time(member_string(t, "end", ""), &r.end_ms) || r.line <= 0)
			return false;
		r.exit_status = (int)member_int(t, "exit_status", -1);
		r.attempts = (int)member_int(t, "attempts", 1);
		auto logs = t.find("log_files");
		if (logs != t.end() && logs->is_array())
			for (const json &l : *logs)
				if (l.is_string())
					r.log_files.push_back(l.get<std::string>());
		r.console_tail = member_string(t, "console_tail", "");
		auto confirmed = t.find("confirmation");
		if (confirmed != t.end() && confirmed->is_object())
			r.confirmation = *confirmed;
		g_run.tests.push_back(r);
	}
	std::sort(g_run.tests.begin(), g_run.tests.end(),
		  [](const recorded_test &a, const recorded_test &b) { return a.line < b.line; });
	return true;
}

/* Makes g_run the run of the current working directory. */
static void use_current_directory(void)
{
	char cwd[4096];
	if (getcwd(cwd, sizeof cwd) == NULL)
		cwd[0] = '\0';
	if (cwd[0] != '\0' && g_run.workdir == cwd)
		return;
	g_run.workdir = cwd;
	g_run.device_tree.clear();
	g_run.logs_known = false;
	g_run.logs.clear();
	begin_run(now_ms());

	std::string text;
	if (!file_io::read_whole(kRecordJson, text)) {
		if (errno != ENOENT)
			report("cannot read %s: %s; a new run begins", kRecordJson, strerror(errno));
		return;
	}
	std::string error;
	try {
		if (load_tests(json::parse(text)))
			return;
	} catch (const json::exception &e) {
		error = e.what();
		/* "[json.exception.parse_error.101] parse error at ...": the part a person reads */
		size_t tag = error.find("] ");
		if (error.compare(0, 1, "[") == 0 && tag != std::string::npos)
			error.erase(0, tag + 2);
	}
	/* Kept for a person to look at; the run goes on with a clean record. */
	std::string aside = std::string(kRecordJson) + ".unreadable";
	report("%s cannot be continued (%s); moved to %s, a new run begins", kRecordJson,
	       error.empty() ? "not a record of this version" : error.c_str(), aside.c_str());
	rename(kRecordJson, aside.c_str());
	g_run.device_tree.clear();
	begin_run(now_ms());
}

/* ---- log files ------------------------------------------------------ */

static bool is_record_file(const char *name)
{
	return strncmp(name, "record.", 7) == 0;
}

/* The plain files in Log/ with their times and sizes. */
static std::map<std::string, file_stamp> scan_logs(void)
{
	std::map<std::string, file_stamp> logs;
	DIR *d = opendir(kLogDir);
	if (d == NULL)
		return logs;
	struct dirent *e;
	while ((e = readdir(d)) != NULL) {
		if (e->d_name[0] == '.' || is_record_file(e->d_name))
			continue;
		std::string path = std::string(kLogDir) + "/" + e->d_name;
		struct stat st;
		if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
			continue;
		logs[path] = {(int64_t)st.st_mtim.tv_sec * 1000000000 + st.st_mtim.tv_nsec, (int64_t)st.st_size};
	}
	closedir(d);
	return logs;
}

static void note_logs(void)
{
	use_current_directory();
	g_run.logs = scan_logs();
	g_run.logs_known = true;
}

/* Log/ files that changed since they were last noted and carry a time
 * within the test. Noting them after every test keeps a log written just
 * before this one (the SPI master's, say) from counting for it too. */
static std::vector<std::string> logs_written(int64_t start_ms, int64_t end_ms)
{
	std::vector<std::string> found;
	std::map<std::string, file_stamp> now = scan_logs();
	for (const auto &log : now) {
		int64_t mtime_ms = log.second.mtime_ns / 1000000;
		if (mtime_ms < start_ms - kClockSlackMs || mtime_ms > end_ms + kClockSlackMs)
			continue;
		if (g_run.logs_known) {
			auto before = g_run.logs.find(log.first);
			if (before != g_run.logs.end() && before->second.mtime_ns == log.second.mtime_ns &&
			    before->second.size == log.second.size)
				continue;
		}
		found.push_back(log.first); /* in name order: the map's */
	}
	g_run.logs = now;
	g_run.logs_known = true;
	return found;
}

/* The last kTailLines lines, at most kTailBytes. */
static std::string tail_of(const char *text)
{
	std::string s = text != NULL ? text : "";
	size_t pos = s.size();
	if (pos > 0 && s[pos - 1] == '\n')
		pos--;
	int lines = 0;
	while (pos > 0) {
		size_t nl = s.rfind('\n', pos - 1);
		if (nl == std::string::npos) {
			pos = 0;
			break;
		}
		if (++lines == kTailLines) {
			pos = nl + 1;
			break;
		}
		pos = nl;
	}
	s.erase(0, pos);
	if (s.size() > kTailBytes)
		s.erase(0, s.size() - kTailBytes);
	return utf8_clean(s);
}

/* ---- the runner's calls --------------------------------------------- */

void record_test_ended(const struct tessel_test_result *result)
{
	if (result == NULL)
		return;
	use_current_directory();

	recorded_test r;
	r.line = result->line;
	r.name = result->name != NULL && result->name[0] != '\0' ? utf8_clean(result->name)
								 : "line " + std::to_string(result->line);
	r.has_status = result->status_line != NULL;
	r.status_line = r.has_status ? utf8_clean(result->status_line) : "";
	r.outcome = record_outcome(result->status_line, result->timed_out, result->not_recorded);
	r.start_ms = result->start_ms;
	r.end_ms = result->end_ms < result->start_ms ? result->start_ms : result->end_ms;
	r.exit_status = result->exit_status;
	r.console_tail = tail_of(result->console_tail);
	r.log_files = logs_written(r.start_ms, r.end_ms);
	r.attempts = 1;
	auto confirmed = g_confirmations.find(r.line);
	if (confirmed != g_confirmations.end()) {
		r.confirmation = confirmed->second;
		g_confirmations.erase(confirmed);
	}

	/* a run the first report began started with that report's test */
	if (g_run.id.empty() && r.start_ms < g_run.started_ms)
		g_run.started_ms = r.start_ms;

	auto at = std::lower_bound(g_run.tests.begin(), g_run.tests.end(), r.line,
				   [](const recorded_test &t, int line) { return t.line < line; });
	if (at != g_run.tests.end() && at->line == r.line) {
		r.attempts = at->attempts + 1;
		*at = r;
	} else {
		g_run.tests.insert(at, r);
	}
	write_current();
}

/* "20261209T071502.123Z" */
static bool is_file_time(const std::string &s)
{
	static const char shape[] = "dddddddd" "T" "dddddd" "." "ddd" "Z";
	if (s.size() != sizeof shape - 1)
		return false;
	for (size_t i = 0; i < s.size(); i++)
		if (shape[i] == 'd' ? !isdigit((unsigned char)s[i]) : s[i] != shape[i])
			return false;
	return true;
}

/* The history file names end in the run's start time: the oldest sort
 * first. Files of other names are not ours to count or remove. */
static void prune_history(void)
{
	DIR *d = opendir(kRunsDir);
	if (d == NULL)
		return;
	const size_t stamp_len = 20; /* "20261209T071502.123Z" */
	std::vector<std::pair<std::string, std::string>> runs; /* (time, name without .json) */
	struct dirent *e;
	while ((e = readdir(d)) != NULL) {
		std::string name = e->d_name;
		if (name[0] == '.' || name.size() < stamp_len + 6 || name.compare(name.size() - 5, 5, ".json") != 0)
			continue;
		std::string base = name.substr(0, name.size() - 5);
		std::string stamp = base.substr(base.size() - stamp_len);
		if (base[base.size() - stamp_len - 1] != '-' || !is_file_time(stamp))
			continue;
		runs.emplace_back(stamp, base);
	}
	closedir(d);
	if (runs.size() <= kRunsKept)
		return;
	size_t excess = runs.size() - kRunsKept;
	std::partial_sort(runs.begin(), runs.begin() + (long)excess, runs.end());
	for (size_t i = 0; i < excess; i++) {
		for (const char *ext : {".json", ".xml"}) {
			std::string path = std::string(kRunsDir) + "/" + runs[i].second + ext;
			if (unlink(path.c_str()) != 0 && errno != ENOENT)
				report("cannot remove %s: %s", path.c_str(), strerror(errno));
		}
	}
}

/* The one place a run is closed: Initialization keeps it under Log/runs/,
 * then the record holds the new, empty run. */
void record_close_run(void)
{
	use_current_directory();
	int64_t closed = now_ms();
	if (!g_run.tests.empty() && make_dir(kLogDir) && make_dir(kRunsDir)) {
		board_info b = read_board();
		fix_run_id(b);
		/* a file that appeared under the run's name meanwhile is not ours to replace */
		for (int64_t t = g_run.started_ms + 1;
		     access((std::string(kRunsDir) + "/" + g_run.id + ".json").c_str(), F_OK) == 0; t++)
			g_run.id = run_id(b, t);
		std::string base = std::string(kRunsDir) + "/" + g_run.id;
		std::string json_doc = json_text(render_json(b, g_run.id, closed, closed));
		std::string junit = render_junit(b, g_run.id);
		bool ok = write_atomically(base + ".json", json_doc);
		ok = write_atomically(base + ".xml", junit) && ok;
		if (ok)
			file_io::sync_dir(kRunsDir);
		if (ok)
			upload_note_run(g_run.id.c_str(), json_doc.c_str(), junit.c_str(), 1);
		prune_history();
	}
	begin_run(closed);
	write_current();
}

const char *record_current_run_id(void)
{
	use_current_directory();
	fix_run_id(read_board());
	return g_run.id.c_str();
}
