#include "record_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rec {

int64_t now_ms()
{
	struct timespec ts;
	clock_gettime(CLOCK_REALTIME, &ts);
	return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

std::vector<std::string> list(const std::string &dir)
{
	std::vector<std::string> names;
	DIR *d = opendir(dir.c_str());
	if (d == nullptr)
		return names;
	while (struct dirent *e = readdir(d))
		if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
			names.push_back(e->d_name);
	closedir(d);
	std::sort(names.begin(), names.end());
	return names;
}

Run run(const std::string &command)
{
	char tmpl[] = "/tmp/record-run.XXXXXX";
	if (mkdtemp(tmpl) == nullptr)
		throw std::runtime_error("mkdtemp");
	std::string out = std::string(tmpl) + "/out";
	std::string err = std::string(tmpl) + "/err";
	fflush(stdout);
	fflush(stderr);
	int status = system(("(" + command + ") >" + out + " 2>" + err).c_str());
	Run r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(out), read(err)};
	unlink(out.c_str());
	unlink(err.c_str());
	rmdir(tmpl);
	return r;
}

std::string report_command()
{
	std::string emulator = TESSEL_EMULATOR;
	return (emulator.empty() ? "" : emulator + " ") + quote(TESSEL_REPORT);
}

Run report(const std::string &args)
{
	return run(report_command() + " " + args);
}

std::string check(const std::string &json_path, const std::string &xml_path)
{
	Run r = run("/usr/bin/python3 " + quote(RECORD_CHECKER) + " " + quote(RECORD_SCHEMA) + " " + quote(json_path) +
		    (xml_path.empty() ? "" : " " + quote(xml_path)));
	if (r.status == 0)
		return "";
	return "check_record.py exit " + std::to_string(r.status) + ":\n" + r.out + r.err;
}

json parse(const std::string &path)
{
	try {
		return json::parse(read(path));
	} catch (const json::exception &e) {
		ADD_FAILURE() << path << ": " << e.what();
		return json();
	}
}

const json &test_of(const json &record, int line)
{
	static const json none = json::object();
	if (record.contains("tests"))
		for (const json &t : record["tests"])
			if (t.value("line", 0) == line)
				return t;
	ADD_FAILURE() << "no test for line " << line;
	return none;
}

void ended(const Result &r)
{
	int64_t now = now_ms();
	tessel_test_result t = {};
	t.line = r.line;
	t.name = r.name.c_str();
	t.status_line = r.status_unreadable ? nullptr : r.status.c_str();
	t.start_ms = r.start_ms != 0 ? r.start_ms : now - 100;
	t.end_ms = r.end_ms != 0 ? r.end_ms : now;
	t.exit_status = r.exit_status;
	t.timed_out = r.timed_out;
	t.not_recorded = r.not_recorded;
	t.console_tail = r.tail.c_str();
	record_test_ended(&t);
}

}  // namespace rec

void RecordTest::SetUp()
{
	char cwd[4096];
	ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
	home_ = cwd;
	char tmpl[] = "/tmp/tessel-record.XXXXXX";
	ASSERT_NE(mkdtemp(tmpl), nullptr);
	dir_ = tmpl;
	ASSERT_EQ(chdir(dir_.c_str()), 0);
	ASSERT_EQ(mkdir("Log", 0755), 0);
	ASSERT_EQ(mkdir("board", 0755), 0);
	record_set_board_root((dir_ + "/board").c_str());
	record_set_device_tree(nullptr);
}

void RecordTest::TearDown()
{
	record_set_board_root(nullptr);
	if (chdir(home_.c_str()) != 0)
		ADD_FAILURE() << "chdir back";
	if (!HasFailure())
		rec::run("rm -rf " + rec::quote(dir_));
	else
		std::cerr << "kept " << dir_ << "\n";
}

void RecordTest::kernel(const std::string &path, const std::string &content)
{
	std::string full = dir_ + "/board" + path;
	rec::run("mkdir -p " + rec::quote(full.substr(0, full.rfind('/'))));
	rec::write(full, content);
}
