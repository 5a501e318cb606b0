/* tessel-report: the current run's record on the serial console.
 *
 *   tessel-report [--dir DIR] [--json | --junit]
 *
 * Reads DIR/Log/record.json (DIR: the working directory, default the
 * current one) and prints it as a table, or prints record.json or
 * record.xml as they are. Exit status: 0 when the record holds tests and
 * every one passed, 1 otherwise, 2 when there is no readable record. */
#include "outbox.h"
#include "record_json.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

static const char kUsage[] = "usage: tessel-report [--dir DIR] [--json | --junit]\n";

static int no_record(const std::string &path, const std::string &why)
{
	fprintf(stderr, "tessel-report: no readable record %s: %s\n", path.c_str(), why.c_str());
	return 2;
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

static void print_table(const json_value &doc)
{
	const json_value empty;
	const json_value *board = json_get(doc, "board");
	const json_value *run = json_get(doc, "run");
	const json_value *station = json_get(doc, "station");
	if (board == NULL)
		board = &empty;
	if (run == NULL)
		run = &empty;
	if (station == NULL)
		station = &empty;
	printf("Board    %s, %s, device tree %s, host %s\n", json_get_string(*board, "serial_number", "?").c_str(),
	       json_get_string(*board, "model", "?").c_str(), json_get_string(*board, "device_tree", "?").c_str(),
	       json_get_string(*board, "hostname", "?").c_str());
	printf("Run      %s, started %s, updated %s\n", json_get_string(*run, "id", "?").c_str(),
	       json_get_string(*run, "started", "?").c_str(), json_get_string(*run, "updated", "?").c_str());
	printf("Station  GUI Tessel %s in %s\n\n", json_get_string(*station, "version", "?").c_str(),
	       json_get_string(*station, "working_directory", "?").c_str());

	const json_value *tests = json_get(doc, "tests");
	if (tests == NULL || tests->items.empty()) {
		printf("No test has ended in this run yet.\n");
		return;
	}
	printf("%s%s%s%s\n", pad("Test", 14).c_str(), pad("Outcome", 14).c_str(), pad("Duration", 11).c_str(), "Verdict");
	for (const json_value &t : tests->items) {
		const json_value *status = json_get(t, "status_line");
		std::string verdict = status != NULL && status->type == JSON_STRING ? status->text : "(unreadable)";
		char duration[32];
		snprintf(duration, sizeof duration, "%.1f s", (double)json_get_int(t, "duration_ms", 0) / 1000.0);
		printf("%s%s%s%s\n", pad(json_get_string(t, "name", "?"), 14).c_str(),
		       pad(json_get_string(t, "outcome", "?"), 14).c_str(), pad(duration, 11).c_str(), verdict.c_str());
	}
	const json_value *totals = json_get(doc, "totals");
	if (totals != NULL)
		printf("\n%lld tests: %lld passed, %lld failed, %lld warning, %lld not run, %lld timed out, %lld not recorded\n",
		       (long long)json_get_int(*totals, "tests", 0), (long long)json_get_int(*totals, "passed", 0),
		       (long long)json_get_int(*totals, "failed", 0), (long long)json_get_int(*totals, "warning", 0),
		       (long long)json_get_int(*totals, "not_run", 0), (long long)json_get_int(*totals, "timed_out", 0),
		       (long long)json_get_int(*totals, "not_recorded", 0));
}

/* 0 when there are tests and each passed, 1 otherwise. */
static int verdict_of(const json_value &doc)
{
	const json_value *tests = json_get(doc, "tests");
	if (tests == NULL || tests->items.empty())
		return 1;
	for (const json_value &t : tests->items)
		if (json_get_string(t, "outcome", "") != "passed")
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
	if (!read_whole_file(json_path, text))
		return no_record(json_path, strerror(errno));
	json_value doc;
	std::string error;
	if (!json_parse(text, doc, error))
		return no_record(json_path, error);
	if (doc.type != JSON_OBJECT || json_get(doc, "tests") == NULL || json_get(doc, "tests")->type != JSON_ARRAY)
		return no_record(json_path, "not a run record");

	if (mode == JSON) {
		fwrite(text.data(), 1, text.size(), stdout);
	} else if (mode == JUNIT) {
		std::string xml_path = dir + "/Log/record.xml";
		std::string xml;
		if (!read_whole_file(xml_path, xml))
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
