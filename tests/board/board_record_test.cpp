// The run record on the simulated board: who the board is (from the
// kernel's files and the host name the scenario gives it), and what a
// healthy Run all keeps under Log/runs/.
#include "board_fixture.h"
#include "record_json.h"
#include "test_record.h"

#include <chrono>
#include <ctime>

namespace {

using Record = BoardTest;

int64_t wall_ms()
{
	struct timespec ts;
	clock_gettime(CLOCK_REALTIME, &ts);
	return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

json_value record()
{
	json_value doc;
	std::string error;
	if (!json_parse(sim::read("Log/record.json"), doc, error))
		ADD_FAILURE() << "Log/record.json: " << error;
	return doc;
}

std::string board_field(const json_value &doc, const char *key)
{
	const json_value *board = json_get(doc, "board");
	return board != nullptr ? json_get_string(*board, key, "") : "";
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
	json_value doc = record();
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
	json_value doc = record();
	EXPECT_EQ(board_field(doc, "serial_number"), "unknown");
	EXPECT_EQ(board_field(doc, "model"), "unknown");
	EXPECT_EQ(board_field(doc, "hostname"), "unknown");
	record_close_run();
	EXPECT_EQ(sim::sh("ls Log/runs | sed 's/-2[0-9]*T.*Z\\./-TIME./'"), "unknown-TIME.json\nunknown-TIME.xml\n");
	EXPECT_EQ(checked("Log/record.json", "Log/record.xml"), "");
}

// Lets the program run (the runner's children, its timers) until the pass
// has closed its run into Log/runs/; gives up a few seconds after the
// status file shows the pass is over. Returns the kept run without ".json".
std::string wait_for_closed_run()
{
	auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(180);
	auto grace = limit;
	while (std::chrono::steady_clock::now() < limit) {
		std::string kept = sim::sh("ls Log/runs/*.json 2>/dev/null || true");
		if (!kept.empty())
			return kept.substr(0, kept.find(".json"));
		std::string status = sim::read("zorazu_zove");
		if (grace == limit && !status.empty() && status.find("not yet") == std::string::npos)
			grace = std::chrono::steady_clock::now() + std::chrono::seconds(5);
		if (std::chrono::steady_clock::now() > grace)
			return "";
		ui::advance_ms(20);
	}
	return "";
}

// NEEDS THE TEST RUNNER (child processes with time limits) that reports
// each test to the record; it fails until that is in.
TEST_F(Record, HealthyRunAllRecordsFifteenPassedTestsInOrder)
{
	fresh_screen();
	int64_t clicked = wall_ms();
	console([] { ui::click(tessel_ui.Test_progrem_btn_all); });
	std::string run;
	console([&] { run = wait_for_closed_run(); });
	int64_t done = wall_ms();
	// every test has a verdict: the pass closed its run, a new one begins
	ASSERT_NE(run, "") << "no run kept under Log/runs after Run all";
	EXPECT_TRUE(json_get(record(), "tests")->items.empty());
	EXPECT_EQ(run.rfind("Log/runs/3A1C29F40B7D5E66-", 0), 0u) << run;

	json_value doc;
	std::string error;
	ASSERT_TRUE(json_parse(sim::read(run + ".json"), doc, error)) << error;
	const json_value *tests = json_get(doc, "tests");
	ASSERT_NE(tests, nullptr);
	ASSERT_EQ(tests->items.size(), 15u);
	EXPECT_EQ(board_field(doc, "serial_number"), "3A1C29F40B7D5E66");
	EXPECT_EQ(board_field(doc, "device_tree"), "qb-vexo.dtb");
	const json_value *totals = json_get(doc, "totals");
	ASSERT_NE(totals, nullptr);
	EXPECT_EQ(json_get_int(*totals, "passed", 0), 15);

	// The logs each test writes (Log_DTS comes from the screen, before the pass).
	const std::vector<std::vector<std::string>> logs = {
		{}, {"Log/Log_GPIO"}, {}, {"Log/Log_SPI"}, {"Log/Log_SPI"}, {}, {"Log/Log_USB"}, {"Log/Log_USB"},
		{"Log/Log_PL2303"}, {"Log/Log_DSI"}, {"Log/Log_LVDS"}, {"Log/Log_Audio"}, {"Log/Log_MQS"},
		{"Log/Log_CSI"}, {}};
	int64_t previous_end = clicked;
	int64_t sum = 0;
	int64_t first_start = 0;
	for (int i = 0; i < 15; i++) {
		const json_value &t = tests->items[i];
		SCOPED_TRACE("line " + std::to_string(i + 1));
		EXPECT_EQ(json_get_int(t, "line", 0), i + 1);
		EXPECT_EQ(json_get_string(t, "outcome", ""), "passed");
		EXPECT_EQ(json_get_int(t, "exit_status", -1), 0);
		EXPECT_NE(json_get_string(t, "console_tail", ""), "");
		std::vector<std::string> written;
		for (const auto &l : json_get(t, "log_files")->items)
			written.push_back(l.text);
		EXPECT_EQ(written, logs[i]);

		int64_t start = 0;
		int64_t end = 0;
		struct tm tm = {};
		std::string s = json_get_string(t, "start", "");
		std::string e = json_get_string(t, "end", "");
		ASSERT_NE(strptime(s.c_str(), "%Y-%m-%dT%H:%M:%S", &tm), nullptr) << s;
		start = (int64_t)timegm(&tm) * 1000 + std::stoi(s.substr(20, 3));
		ASSERT_NE(strptime(e.c_str(), "%Y-%m-%dT%H:%M:%S", &tm), nullptr) << e;
		end = (int64_t)timegm(&tm) * 1000 + std::stoi(e.substr(20, 3));
		EXPECT_GE(start, previous_end) << "starts before the previous test ended";
		EXPECT_GE(end, start);
		EXPECT_EQ(json_get_int(t, "duration_ms", -1), end - start);
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
	EXPECT_EQ(json_get_int(*totals, "duration_ms", 0), sum);
	EXPECT_CONTAINS(json_get_string(tests->items[0], "console_tail", ""), "I2C Test ok");
	EXPECT_EQ(checked(run + ".json", run + ".xml"), "");
	EXPECT_EQ(checked("Log/record.json", "Log/record.xml"), "");
}

} // namespace
