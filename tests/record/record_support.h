// Shared by the record tests: a private working directory with a stand-in
// for the board's kernel files, the record read back, and commands run
// with their output and exit status.
#pragma once

#include "record/run_record.h"
#include "sim.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace rec {

using json = nlohmann::json;

int64_t now_ms();
// Files and shell words, as the board tests handle them.
using sim::exists;
using sim::quote;
using sim::read;
using sim::write;
// Names in a directory, sorted, without "." and "..".
std::vector<std::string> list(const std::string &dir);

struct Run {
	int status;  // exit status, or -1 when it did not exit normally
	std::string out;
	std::string err;
};
// Runs a shell command, capturing both streams.
Run run(const std::string &command);
// How to start tessel-report, and a run of it with these arguments.
std::string report_command();
Run report(const std::string &args);
// check_record.py on a record: "" when it is sound, else its complaints.
std::string check(const std::string &json_path, const std::string &xml_path);

// A record as JSON (null, with a test failure, when it does not parse).
json parse(const std::string &path);
// The test of a status line in a parsed record (fails the test if absent).
const json &test_of(const json &record, int line);

// A test result as the runner reports it.
struct Result {
	int line = 1;
	std::string name = "I2C";
	std::string status = "I2C Test ok";
	bool status_unreadable = false;
	int64_t start_ms = 0;
	int64_t end_ms = 0;
	int exit_status = 0;
	int timed_out = 0;
	int not_recorded = 0;
	std::string tail;
};
void ended(const Result &r);

}  // namespace rec

// Each test in a fresh working directory of its own, with Log/ made and
// the kernel files read from board/ in it.
class RecordTest : public ::testing::Test {
protected:
	void SetUp() override;
	void TearDown() override;
	// Writes a kernel file of the stand-in board (path as on the board).
	void kernel(const std::string &path, const std::string &content);
	std::string dir_;
	std::string home_;
};
