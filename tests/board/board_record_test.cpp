// The run record on the simulated board: who the board is (from the
// kernel's files and the host name the scenario gives it), what a Run all
// leaves in it, and a line's day with one board through tessel-report.
#include "board_fixture.h"
#include "record/run_record.h"

#include <nlohmann/json.hpp>

#include <ctime>
#include <utility>

namespace {

using Record = BoardTest;
using json = nlohmann::json;

int64_t wall_ms()
{
	struct timespec ts;
	clock_gettime(CLOCK_REALTIME, &ts);
	return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

json record(const std::string &path = "Log/record.json")
{
	try {
		return json::parse(sim::read(path));
	} catch (const json::exception &e) {
		ADD_FAILURE() << path << ": " << e.what();
		return json::object();
	}
}

std::string board_field(const json &doc, const char *key)
{
	return doc.contains("board") ? doc["board"].value(key, std::string()) : "";
}

// check_record.py: the schema and the JUnit file's counts.
std::string checked(const std::string &json, const std::string &xml)
{
	std::string cmd = "/usr/bin/python3 " + sim::quote(RECORD_CHECKER) + " " + sim::quote(RECORD_SCHEMA) + " " +
			  sim::quote(json) + " " + sim::quote(xml) + " 2>&1; echo \"exit $?\"";
	std::string out = sim::sh(cmd);
	return out == "exit 0\n" ? "" : out;
}

// What the runner reports for one line, as a test that just ended.
void report_line(int line, const char *name, const char *status)
{
	int64_t now = wall_ms();
	tessel_test_result r = {};
	r.line = line;
	r.name = name;
	r.status_line = status;
	r.start_ms = now - 50;
	r.end_ms = now;
	r.console_tail = "";
	record_test_ended(&r);
}

TEST_F(Record, HealthyBoardNamesItsSerialModelAndHost)
{
	report_line(1, "I2C", "I2C Test ok");
	json doc = record();
	EXPECT_EQ(board_field(doc, "serial_number"), "3A1C29F40B7D5E66");
	EXPECT_EQ(board_field(doc, "model"), "QB-VEXO i.MX93 board");
	EXPECT_EQ(board_field(doc, "hostname"), "qbvexo-0417");
	EXPECT_CONTAINS(sim::read("Log/record.xml"), "classname=\"tessel.3A1C29F40B7D5E66\"");
	EXPECT_CONTAINS(sim::read("Log/record.xml"), "hostname=\"qbvexo-0417\"");
	EXPECT_EQ(checked("Log/record.json", "Log/record.xml"), "");
}

TEST_F(Record, SerialFromTheDeviceTreeWithoutTheSocs)
{
	board({"healthy", "serial_dt_only"});
	report_line(1, "I2C", "I2C Test ok");
	EXPECT_EQ(board_field(record(), "serial_number"), "QBV-000417");
}

TEST_F(Record, ABoardThatSaysNothingIsUnknown)
{
	board({"healthy", "identity_none"});
	report_line(1, "I2C", "I2C Test ok");
	json doc = record();
	EXPECT_EQ(board_field(doc, "serial_number"), "unknown");
	EXPECT_EQ(board_field(doc, "model"), "unknown");
	EXPECT_EQ(board_field(doc, "hostname"), "unknown");
	record_close_run();
	EXPECT_EQ(sim::sh("ls Log/runs | sed 's/-2[0-9]*T.*Z\\./-TIME./'"), "unknown-TIME.json\nunknown-TIME.xml\n");
	EXPECT_EQ(checked("Log/record.json", "Log/record.xml"), "");
}

TEST_F(Record, HealthyRunAllRecordsFifteenPassedTestsInOrder)
{
	fresh_screen();
	int64_t clicked = wall_ms();
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	int64_t done = wall_ms();
	// the pass ends with its results in the record; only Initialization closes a run
	EXPECT_FALSE(sim::exists("Log/runs"));
	json doc = record();
	EXPECT_EQ(doc["run"].value("id", std::string()).rfind("3A1C29F40B7D5E66-", 0), 0u);
	ASSERT_TRUE(doc.contains("tests"));
	const json &tests = doc.at("tests");
	ASSERT_EQ(tests.size(), 15u);
	EXPECT_EQ(board_field(doc, "serial_number"), "3A1C29F40B7D5E66");
	EXPECT_EQ(board_field(doc, "device_tree"), "qb-vexo.dtb");
	ASSERT_TRUE(doc.contains("totals"));
	const json &totals = doc.at("totals");
	EXPECT_EQ(totals.value("passed", 0), 15);

	// The logs each test writes (Log_DTS comes from the screen, before the pass).
	const std::vector<std::vector<std::string>> logs = {
		{}, {"Log/Log_GPIO"}, {}, {"Log/Log_SPI"}, {"Log/Log_SPI"}, {}, {"Log/Log_USB"}, {"Log/Log_USB"},
		{"Log/Log_PL2303"}, {"Log/Log_DSI"}, {"Log/Log_LVDS"}, {"Log/Log_Audio"}, {"Log/Log_MQS"},
		{"Log/Log_CSI"}, {}};
	int64_t previous_end = clicked;
	int64_t sum = 0;
	int64_t first_start = 0;
	for (int i = 0; i < 15; i++) {
		const json &t = tests[i];
		SCOPED_TRACE("line " + std::to_string(i + 1));
		EXPECT_EQ(t.value("line", 0), i + 1);
		EXPECT_EQ(t.value("outcome", std::string()), "passed");
		EXPECT_EQ(t.value("exit_status", -1), 0);
		EXPECT_NE(t.value("console_tail", std::string()), "");
		std::vector<std::string> written;
		for (const auto &l : t.at("log_files"))
			written.push_back(l.get<std::string>());
		EXPECT_EQ(written, logs[i]);

		int64_t start = 0;
		int64_t end = 0;
		struct tm tm = {};
		std::string s = t.value("start", std::string());
		std::string e = t.value("end", std::string());
		ASSERT_NE(strptime(s.c_str(), "%Y-%m-%dT%H:%M:%S", &tm), nullptr) << s;
		start = (int64_t)timegm(&tm) * 1000 + std::stoi(s.substr(20, 3));
		ASSERT_NE(strptime(e.c_str(), "%Y-%m-%dT%H:%M:%S", &tm), nullptr) << e;
		end = (int64_t)timegm(&tm) * 1000 + std::stoi(e.substr(20, 3));
		EXPECT_GE(start, previous_end) << "starts before the previous test ended";
		EXPECT_GE(end, start);
		EXPECT_EQ(t.value("duration_ms", -1), end - start);
		if (i == 0)
			first_start = start;
		previous_end = end;
		sum += end - start;
	}
	EXPECT_LE(previous_end, done);
	// The durations add up to the pass, less what the runner spends between tests.
	int64_t span = previous_end - first_start;
	EXPECT_LE(sum, span);
	EXPECT_LT(span - sum, 1500) << "time between the tests";
	EXPECT_EQ(totals.value("duration_ms", 0), sum);
	EXPECT_CONTAINS(tests[0].value("console_tail", std::string()), "I2C Test ok");
	EXPECT_EQ(checked("Log/record.json", "Log/record.xml"), "");
}

// tessel-report in the working directory: its exit status and its table.
std::pair<int, std::string> tessel_report()
{
	std::string emulator = TESSEL_EMULATOR;
	std::string out = sim::sh((emulator.empty() ? "" : emulator + " ") + sim::quote(TESSEL_REPORT) +
				  " 2>&1; echo \"exit $?\"");
	size_t tail = out.rfind("exit ");
	return {tail == std::string::npos ? -1 : std::stoi(out.substr(tail + 5)), out.substr(0, tail)};
}

const json &line_of(const json &doc, int line)
{
	for (const json &t : doc.at("tests"))
		if (t.value("line", 0) == line)
			return t;
	static const json none = json::object();
	ADD_FAILURE() << "no test of line " << line;
	return none;
}

// A board through the line: Run all finds a failing key, the report says
// so; the key mended, Run all again adds to the same run and the report
// passes; Initialization keeps that run and begins an empty one.
TEST_F(Record, RunAllReportMendRunAgainAndInitialize)
{
	board({"healthy", "gpio_key_error"});
	fresh_screen();
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	ASSERT_EQ(status_lines()[1], "GPIO Key Test Failed");
	json first = record();
	std::string id = first["run"].value("id", std::string());
	EXPECT_EQ(first.at("tests").size(), 15u);
	EXPECT_EQ(line_of(first, 2).value("outcome", std::string()), "failed");
	auto report = tessel_report();
	EXPECT_EQ(report.first, 1) << report.second;
	EXPECT_CONTAINS(report.second, "GPIO          failed        ");
	EXPECT_CONTAINS(report.second, "GPIO Key Test Failed\n");
	EXPECT_CONTAINS(report.second, "15 tests: 14 passed, 1 failed,");

	board({"healthy"});
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	ASSERT_EQ(status_lines()[1], "GPIO Key Test ok");
	json second = record();
	EXPECT_EQ(second["run"].value("id", std::string()), id);
	EXPECT_EQ(second.at("tests").size(), 15u);
	EXPECT_EQ(line_of(second, 2).value("outcome", std::string()), "passed");
	EXPECT_EQ(line_of(second, 2).value("attempts", 0), 2);
	EXPECT_EQ(line_of(second, 1).value("attempts", 0), 1);
	EXPECT_FALSE(sim::exists("Log/runs"));
	report = tessel_report();
	EXPECT_EQ(report.first, 0) << report.second;
	EXPECT_CONTAINS(report.second, "15 tests: 15 passed, 0 failed,");
	EXPECT_EQ(checked("Log/record.json", "Log/record.xml"), "");

	console([] { ui::click(tessel_ui.Test_progrem_btn_init); });
	json fresh = record();
	EXPECT_TRUE(fresh.at("tests").empty());
	EXPECT_NE(fresh["run"].value("id", std::string()), id);
	json kept = record("Log/runs/" + id + ".json");
	EXPECT_EQ(kept.value("tests", json::array()).size(), 15u);
	EXPECT_TRUE(kept["run"]["closed"].is_string());
	EXPECT_EQ(line_of(kept, 2).value("attempts", 0), 2);
	EXPECT_EQ(checked("Log/runs/" + id + ".json", "Log/runs/" + id + ".xml"), "");
	report = tessel_report();
	EXPECT_EQ(report.first, 1);
	EXPECT_CONTAINS(report.second, "No test has ended in this run yet.");
}

} // namespace
