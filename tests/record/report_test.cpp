// tessel-report on the serial console: the table, the raw files, and the
// exit status a line's script can act on.
#include "record_support.h"

using rec::Result;

namespace {

const char *const kNames[15] = {"I2C",    "GPIO", "UART", "SPI Master", "SPI Slave", "ADC", "USB1", "USB2",
				"PL2303", "DSI",  "LVDS", "Audio",      "MQS",       "CSI", "RTC"};

class Report : public RecordTest {
protected:
	// Fifteen tests, each 1.5 s, passing unless the verdict is given.
	void board(const std::vector<std::pair<int, std::string>> &verdicts = {})
	{
		kernel("/sys/devices/soc0/serial_number", "3A1C29F40B7D5E66\n");
		int64_t t = rec::now_ms() - 30000;
		for (int line = 1; line <= 15; line++) {
			Result r;
			r.line = line;
			r.name = kNames[line - 1];
			r.status = std::string(kNames[line - 1]) + " Test ok";
			bool skip = false;
			for (const auto &v : verdicts)
				if (v.first == line) {
					r.status = v.second;
					skip = v.second.empty(); // no result for this line
				}
			if (skip)
				continue;
			r.start_ms = t;
			r.end_ms = t + 1500;
			rec::ended(r);
			t += 1600;
		}
	}
	std::string dir_arg() const { return "--dir " + rec::quote(dir_); }
};

TEST_F(Report, HealthyBoardPrintsEveryTestAndExitsZero)
{
	board();
	rec::Run r = rec::report(dir_arg());
	EXPECT_EQ(r.status, 0) << r.err;
	EXPECT_EQ(r.err, "");
	EXPECT_NE(r.out.find("3A1C29F40B7D5E66"), std::string::npos) << r.out;
	EXPECT_NE(r.out.find("Test          Outcome       Duration   Verdict\n"), std::string::npos) << r.out;
	EXPECT_NE(r.out.find("SPI Master    passed        1.5 s      SPI Master Test ok\n"), std::string::npos) << r.out;
	EXPECT_NE(r.out.find("15 tests: 15 passed, 0 failed, 0 warning, 0 not run, 0 timed out, 0 not recorded\n"),
		  std::string::npos)
		<< r.out;
	size_t rows = 0;
	for (const char *name : kNames)
		rows += r.out.find(std::string("\n") + name + " ") != std::string::npos;
	EXPECT_EQ(rows, 15u);

	// the files as they are; the current directory is the default
	rec::Run json = rec::run("cd " + rec::quote(dir_) + " && " + rec::report_command() + " --json");
	EXPECT_EQ(json.status, 0);
	EXPECT_EQ(json.out, rec::read("Log/record.json"));
	rec::Run junit = rec::report("--junit " + dir_arg());
	EXPECT_EQ(junit.status, 0);
	EXPECT_EQ(junit.out, rec::read("Log/record.xml"));
}

TEST_F(Report, AnyOutcomeButPassedExitsOne)
{
	board({{1, "I2C Test failed"}, {10, "MIPI-DSI Test ok (Warning : Failed to set brightness)"}});
	rec::Run r = rec::report(dir_arg());
	EXPECT_EQ(r.status, 1);
	EXPECT_NE(r.out.find("I2C           failed        1.5 s      I2C Test failed\n"), std::string::npos) << r.out;
	EXPECT_NE(r.out.find("DSI           warning       1.5 s      MIPI-DSI Test ok (Warning : Failed to set brightness)\n"),
		  std::string::npos)
		<< r.out;
	EXPECT_NE(r.out.find("15 tests: 13 passed, 1 failed, 1 warning,"), std::string::npos) << r.out;
	EXPECT_EQ(rec::report("--json " + dir_arg()).status, 1);
	EXPECT_EQ(rec::report("--junit " + dir_arg()).status, 1);

	// a warning alone is not a pass either
	record_close_run();
	board({{11, "LVDS Test ok (Warning : Failed to set brightness)"}});
	EXPECT_EQ(rec::report(dir_arg()).status, 1);
	// nor a run in which a line never got a result (a USB port without a disk)
	record_close_run();
	board({{7, ""}, {8, ""}});
	r = rec::report(dir_arg());
	EXPECT_EQ(r.status, 1);
	EXPECT_NE(r.out.find("No result yet in this run for status lines 7, 8.\n"), std::string::npos) << r.out;
	// and a run without tests proves nothing
	record_close_run();
	r = rec::report(dir_arg());
	EXPECT_EQ(r.status, 1);
	EXPECT_NE(r.out.find("No test has ended in this run yet."), std::string::npos) << r.out;
}

TEST_F(Report, NoReadableRecordExitsTwoWithAMessage)
{
	rec::Run r = rec::report(dir_arg());
	EXPECT_EQ(r.status, 2);
	EXPECT_EQ(r.out, "");
	EXPECT_NE(r.err.find("tessel-report: no readable record " + dir_ + "/Log/record.json: No such file or directory"),
		  std::string::npos)
		<< r.err;
	EXPECT_EQ(rec::report("--json " + dir_arg()).status, 2);

	rec::write("Log/record.json", "{\"tests\": [1, 2");
	r = rec::report(dir_arg());
	EXPECT_EQ(r.status, 2);
	EXPECT_NE(r.err.find("record.json: parse error at line 1, column 16: "), std::string::npos) << r.err;
	rec::write("Log/record.json", "[]");
	EXPECT_EQ(rec::report(dir_arg()).status, 2);

	// the JSON alone does not make a JUnit report
	board();
	rec::run("rm Log/record.xml");
	r = rec::report("--junit " + dir_arg());
	EXPECT_EQ(r.status, 2);
	EXPECT_NE(r.err.find("record.xml"), std::string::npos) << r.err;

	r = rec::report("--json --junit " + dir_arg());
	EXPECT_EQ(r.status, 2);
	EXPECT_NE(r.err.find("usage: tessel-report"), std::string::npos);
	EXPECT_EQ(rec::report("--dir").status, 2);
}

}  // namespace
