/* tessel-report: the current run's record on the serial console.
 *
 *   tessel-report [--dir DIR] [--json | --junit]
 *
 * Reads DIR/Log/record.json (DIR: the working directory, default the
 * current one) and prints it as a table, or prints record.json or
 * record.xml as they are. Exit status: 0 when each of the fifteen status
 * lines has a test in the record and every one passed, 1 otherwise, 2 when
 * there is no readable record. */
#include "files/file_io.h"
#include "line/outbox.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

using json = nlohmann::json;

static const int kLines = 15; /* status lines, one a test */
static const char kUsage[] = "usage: tessel-report [--dir DIR] [--json | --junit]\n";

static int no_record(const std::string &path, const std::string &why)
{
	fprintf(stderr, "tessel-report: no readable record %s: %s\n", path.c_str(), why.c_str());
	return 2;
}

/* A member as text or number, "?" (or the fallback) when absent or of
 * another type: a record edited by hand still prints. */
static std::string text_of(const json &o, const char *key, const char *fallback = "?")
{
	auto it = o.is_object() ? o.find(key) : o.end();
	return o.is_object() && it != o.end() && it->is_string() ? it->get<std::string>() : fallback;
}

static long long number_of(const json &o, const char *key)
{
	auto it = o.is_object() ? o.find(key) : o.end();
	return o.is_object() && it != o.end() && it->is_number_integer() ? it->get<long long>() : 0;
}

/* The status lines that have no result in this run ("7, 8"), "" when none
 * is missing: a board passes only when every line has passed. */
static std::string lines_without_result(const json &doc)
{
	bool seen[kLines + 1] = {};
	for (const json &t : doc.at("tests")) {
		long long line = number_of(t, "line");
		if (line >= 1 && line <= kLines)
			seen[line] = true;
	}
	std::string missing;
	for (int line = 1; line <= kLines; line++)
		if (!seen[line])
			missing += (missing.empty() ? "" : ", ") + std::to_string(line);
	return missing;
}

static const json &member(const json &o, const char *key)
{
	static const json none = json::object();
	auto it = o.is_object() ? o.find(key) : o.end();
	return o.is_object() && it != o.end() ? *it : none;
}

/* Pads with blanks to `width` characters (UTF-8 aware). */
static std::string pad(const std::string &s, size_t width)
{
	size_t chars = 0;
	for (unsigned char c : s)
		if ((c & 0xC0) != 0x80)
			chars++;
	return chars >= width ? s + " " : s + std::string(width - chars, ' ');
}

static void print_table(const json &doc)
{
	const json &board = member(doc, "board");
	const json &run = member(doc, "run");
	const json &station = member(doc, "station");
	printf("Board    %s, %s, device tree %s, host %s\n", text_of(board, "serial_number").c_str(),
	       text_of(board, "model").c_str(), text_of(board, "device_tree").c_str(),
	       text_of(board, "hostname").c_str());
	printf("Run      %s, started %s, updated %s\n", text_of(run, "id").c_str(), text_of(run, "started").c_str(),
	       text_of(run, "updated").c_str());
	printf("Station  GUI Tessel %s in %s\n\n", text_of(station, "version").c_str(),
	       text_of(station, "working_directory").c_str());

	const json &tests = doc.at("tests");
	if (tests.empty()) {
		printf("No test has ended in this run yet.\n");
		return;
	}
	printf("%s%s%s%s\n", pad("Test", 14).c_str(), pad("Outcome", 14).c_str(), pad("Duration", 11).c_str(), "Verdict");
	for (const json &t : tests) {
		char duration[32];
		snprintf(duration, sizeof duration, "%.1f s", (double)number_of(t, "duration_ms") / 1000.0);
		printf("%s%s%s%s\n", pad(text_of(t, "name"), 14).c_str(), pad(text_of(t, "outcome"), 14).c_str(),
		       pad(duration, 11).c_str(), text_of(t, "status_line", "(unreadable)").c_str());
	}
	std::string missing = lines_without_result(doc);
	if (!missing.empty())
		printf("\nNo result yet in this run for status line%s %s.\n", missing.find(',') == std::string::npos ? "" : "s",
		       missing.c_str());
	const json &totals = member(doc, "totals");
	if (!totals.empty())
		printf("\n%lld tests: %lld passed, %lld failed, %lld warning, %lld not run, %lld timed out, %lld not recorded\n",
		       number_of(totals, "tests"), number_of(totals, "passed"), number_of(totals, "failed"),
		       number_of(totals, "warning"), number_of(totals, "not_run"), number_of(totals, "timed_out"),
		       number_of(totals, "not_recorded"));
}

/* 0 when all fifteen lines have a test that passed, 1 otherwise. */
static int verdict_of(const json &doc)
{
	const json &tests = doc.at("tests");
	if (tests.empty() || !lines_without_result(doc).empty())
		return 1;
	for (const json &t : tests)
		if (text_of(t, "outcome", "") != "passed")
			return 1;
	return 0;
}

int main(int argc, char **argv)
{
	std::string dir = ".";
	enum { TABLE, JSON, JUNIT } mode = TABLE;
	for (int i = 1; i < argc; i++) {
		std::string a = argv[i];
		if (a == "--json" && mode == TABLE) {
			mode = JSON;
		} else if (a == "--junit" && mode == TABLE) {
			mode = JUNIT;
		} else if (a == "--dir" && i + 1 < argc) {
			dir = argv[++i];
		} else if (a.compare(0, 6, "--dir=") == 0) {
			dir = a.substr(6);
		} else if (a == "-h" || a == "--help") {
			fputs(kUsage, stdout);
			return 0;
		} else {
			fprintf(stderr, "tessel-report: unexpected argument '%s'\n%s", a.c_str(), kUsage);
			return 2;
		}
	}

	std::string json_path = dir + "/Log/record.json";
	std::string text;
	if (!file_io::read_whole(json_path, text))
		return no_record(json_path, strerror(errno));
	json doc;
	try {
		doc = json::parse(text);
	} catch (const json::exception &e) {
		/* "[json.exception.parse_error.101] parse error at ...": the part a person reads */
		std::string why = e.what();
		size_t tag = why.find("] ");
		return no_record(json_path, tag != std::string::npos ? why.substr(tag + 2) : why);
	}
	if (!doc.is_object() || !member(doc, "tests").is_array())
		return no_record(json_path, "not a run record");

	if (mode == JSON) {
		fwrite(text.data(), 1, text.size(), stdout);
	} else if (mode == JUNIT) {
		std::string xml_path = dir + "/Log/record.xml";
		std::string xml;
		if (!file_io::read_whole(xml_path, xml))
			return no_record(xml_path, strerror(errno));
		fwrite(xml.data(), 1, xml.size(), stdout);
	} else {
		print_table(doc);
		int waiting = upload_waiting(dir.c_str());
		if (waiting >= 0)
			printf("\nLine server: %d run%s waiting to be sent\n", waiting, waiting == 1 ? "" : "s");
	}
	if (fflush(stdout) != 0)
		return 2;
	return verdict_of(doc);
}
