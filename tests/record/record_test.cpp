// The run record written after every test: outcomes, board and station,
// log files, console tails, history and failures to write.
#include "record_support.h"
#include "tessel_version.h"

#include <ctime>
#include <fcntl.h>

#include <sys/stat.h>
#include <unistd.h>

using rec::json;
using rec::Result;

namespace {

// A call from another working directory: the record module leaves this
// directory's run and must read it back from the files when it returns.
void visit_elsewhere()
{
	char cwd[4096];
	ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
	char other[] = "/tmp/tessel-record-other.XXXXXX";
	ASSERT_NE(mkdtemp(other), nullptr);
	ASSERT_EQ(chdir(other), 0);
	record_close_run();
	ASSERT_EQ(chdir(cwd), 0);
	rec::run(std::string("rm -rf ") + other);
}

// Every verdict text the tests write, and what it means for the record.
TEST(RecordOutcome, EveryVerdictTextOfTheStatusFile)
{
	const std::vector<std::pair<const char *, const char *>> table = {
		{"I2C Test ok", "passed"},
		{"I2C Test failed", "failed"},
		{"GPIO Key Test ok", "passed"},
		{"GPIO Key Test Failed", "failed"},
		{"UART7 Test ok", "passed"},
		{"UART7 Test failed", "failed"},
		{"SPI3 Master Test ok", "passed"},
		{"SPI3 Master Test Failed", "failed"},
		{"SPI3 Slave Test ok", "passed"},
		{"SPI3 Slave Test Failed", "failed"},
		{"ADC Test ok", "passed"},
		{"ADC Test failed", "failed"},
		{"USB1 Test ok", "passed"},
		{"USB1 Test failed", "failed"},
		{"USB2 Test ok", "passed"},
		{"USB2 Test failed", "failed"},
		{"PL2303 Test ok", "passed"},
		{"PL2303 Test failed", "failed"},
		{"MIPI-DSI Test ok", "passed"},
		{"MIPI-DSI Test ok (Warning : Failed to set brightness)", "warning"},
		{"MIPI-DSI Test Failed", "failed"},
		{"LVDS Test ok", "passed"},
		{"LVDS Test ok (Warning : Failed to set brightness)", "warning"},
		{"LVDS Test Failed", "failed"},
		{"Audio Default Sgtl5000 ok", "passed"},
		{"Audio Sgtl5000 Device Not Found", "failed"},
		{"Audio Default Sgtl5000 Failed", "failed"},
		{"Audio MQS ok", "passed"},
		{"MQS Device Not Found", "failed"},
		{"Audio MQS Failed", "failed"},
		{"CSI Test ok", "passed"},
		{"CSI Test failed", "failed"},
		{"RTC Test ok", "passed"},
		{"RTC Test failed", "failed"},
		{"not yet", "not run"},
		// what no script writes: an empty or unknown line proves nothing
		{"", "failed"},
		{"I2C Test", "failed"},
		{"I2C Test okay", "failed"},
	};
	for (const auto &row : table)
		EXPECT_STREQ(record_outcome(row.first, 0, 0), row.second) << '"' << row.first << '"';

	// the runner's flags come first, whatever the line says
	EXPECT_STREQ(record_outcome("I2C Test ok", 1, 0), "timed out");
	EXPECT_STREQ(record_outcome("not yet", 1, 0), "timed out");
	EXPECT_STREQ(record_outcome("I2C Test ok", 0, 1), "not recorded");
	EXPECT_STREQ(record_outcome("not yet", 1, 1), "not recorded");
	EXPECT_STREQ(record_outcome(nullptr, 0, 0), "not recorded");
}

// A board with a bit of everything: each test gets its outcome, the files
// validate and agree with each other.
TEST_F(RecordTest, MixedBoardGivesEachTestItsOutcome)
{
	kernel("/sys/devices/soc0/serial_number", "3A1C29F40B7D5E66\n");
	record_set_device_tree("qb-vexo-lpuart7.dtb");
	int64_t t = rec::now_ms() - 60000;
	struct Row {
		int line;
		const char *name;
		const char *status;
		int exit_status;
		int timed_out;
		int not_recorded;
		const char *outcome;
	};
	const std::vector<Row> rows = {
		{1, "I2C", "I2C Test failed", 0, 0, 0, "failed"},
		{2, "GPIO", "GPIO Key Test Failed", 0, 0, 0, "failed"},
		{3, "UART", "UART7 Test ok", 0, 0, 0, "passed"},
		{4, "SPI Master", "SPI3 Master Test ok", 0, 0, 0, "passed"},
		{5, "SPI Slave", "SPI3 Slave Test ok", 0, 0, 0, "passed"},
		{6, "ADC", "ADC Test ok", 0, 0, 0, "passed"},
		{7, "USB1", "USB1 Test ok", 0, 0, 0, "passed"},
		{8, "USB2", "not yet", 0, 0, 0, "not run"},
		{9, "PL2303", "PL2303 Test failed", 1, 0, 0, "failed"},
		{10, "DSI", "MIPI-DSI Test ok (Warning : Failed to set brightness)", 0, 0, 0, "warning"},
		{11, "LVDS", "LVDS Test ok", 0, 0, 0, "passed"},
		{12, "Audio", "Audio Sgtl5000 Device Not Found", 0, 0, 0, "failed"},
		{13, "MQS", "Audio MQS ok", 0, 0, 0, "passed"},
		{14, "CSI", "not yet", 137, 1, 0, "timed out"},
		{15, "RTC", "RTC Test ok", -1, 0, 1, "not recorded"},
	};
	for (const Row &row : rows) {
		Result r;
		r.line = row.line;
		r.name = row.name;
		r.status = row.status;
		r.start_ms = t;
		r.end_ms = t + 100 * row.line;
		r.exit_status = row.exit_status;
		r.timed_out = row.timed_out;
		r.not_recorded = row.not_recorded;
		r.tail = std::string(row.name) + " says hello\n";
		rec::ended(r);
		t = r.end_ms + 5;
	}

	json doc = rec::parse("Log/record.json");
	for (const Row &row : rows) {
		const json &test = rec::test_of(doc, row.line);
		EXPECT_EQ(test.value("outcome", std::string()), row.outcome) << row.name;
		EXPECT_EQ(test.value("status_line", std::string()), row.status) << row.name;
		EXPECT_EQ(test.value("name", std::string()), row.name);
		EXPECT_EQ(test.value("exit_status", -9), row.exit_status) << row.name;
		EXPECT_EQ(test.value("duration_ms", -1), 100 * row.line) << row.name;
	}
	ASSERT_TRUE(doc.contains("totals"));
	const json &totals = doc.at("totals");
	EXPECT_EQ(totals.value("tests", 0), 15);
	EXPECT_EQ(totals.value("passed", 0), 7);
	EXPECT_EQ(totals.value("failed", 0), 4);
	EXPECT_EQ(totals.value("warning", 0), 1);
	EXPECT_EQ(totals.value("not_run", 0), 1);
	EXPECT_EQ(totals.value("timed_out", 0), 1);
	EXPECT_EQ(totals.value("not_recorded", 0), 1);
	EXPECT_EQ(totals.value("duration_ms", 0), 100 * 120);
	EXPECT_EQ(rec::check("Log/record.json", "Log/record.xml"), "");

	std::string xml = rec::read("Log/record.xml");
	EXPECT_NE(xml.find("classname=\"tessel.3A1C29F40B7D5E66\" name=\"I2C\" time=\"0.100\""), std::string::npos);
	EXPECT_NE(xml.find("<failure message=\"I2C Test failed\" type=\"failed\"/>"), std::string::npos);
	EXPECT_NE(xml.find("<failure message=\"not yet\" type=\"timed out\"/>"), std::string::npos);
	EXPECT_NE(xml.find("<skipped message=\"not yet\"/>"), std::string::npos);
	EXPECT_NE(xml.find("<error message=\"RTC Test ok\" type=\"not recorded\"/>"), std::string::npos);
	EXPECT_NE(xml.find("<system-out>CSI says hello\n</system-out>"), std::string::npos);
	EXPECT_NE(xml.find("failures=\"5\" errors=\"1\" skipped=\"1\""), std::string::npos);
	EXPECT_NE(xml.find("<property name=\"line.10.outcome\" value=\"warning\"/>"), std::string::npos);

	// valid for Jenkins' xUnit reader; the schema does reject what it forbids
	const std::string xmllint = "xmllint --noout --schema " + rec::quote(JUNIT_XSD) + " ";
	rec::Run valid = rec::run(xmllint + "Log/record.xml");
	EXPECT_EQ(valid.status, 0) << valid.err;
	const std::vector<std::pair<std::string, std::string>> forbidden = {
		{"<testsuites ", "<testsuites skipped=\"1\" "},
		{"<system-out>CSI", "<properties/><system-out>CSI"},
	};
	for (const auto &f : forbidden) {
		std::string bad = xml;
		bad.replace(bad.find(f.first), f.first.size(), f.second);
		rec::write("bad.xml", bad);
		EXPECT_EQ(rec::run(xmllint + "bad.xml").status, 3) << f.second;
	}
	unlink("bad.xml");
	// no temporary file left beside the record
	EXPECT_EQ(rec::list("Log"), (std::vector<std::string>{"record.json", "record.xml"}));
}

TEST_F(RecordTest, TimesAreUtcWithMilliseconds)
{
	Result r;
	r.start_ms = 1765264502123;  // 2025-12-09 07:15:02.123 UTC
	r.end_ms = 1765264503004;
	rec::ended(r);
	json doc = rec::parse("Log/record.json");
	const json &test = rec::test_of(doc, 1);
	EXPECT_EQ(test.value("start", std::string()), "2025-12-09T07:15:02.123Z");
	EXPECT_EQ(test.value("end", std::string()), "2025-12-09T07:15:03.004Z");
	EXPECT_EQ(test.value("duration_ms", 0), 881);
	// a run that the first report began, began with that test
	EXPECT_EQ(doc.at("run").value("started", std::string()), "2025-12-09T07:15:02.123Z");
	EXPECT_NE(rec::read("Log/record.xml").find("time=\"0.881\""), std::string::npos);
}

TEST_F(RecordTest, BoardAndStationComeFromTheKernelAndTheBuild)
{
	// soc0's serial wins over the device tree's; the model's NUL is dropped
	kernel("/sys/devices/soc0/serial_number", "3A1C29F40B7D5E66\n");
	kernel("/sys/firmware/devicetree/base/serial-number", std::string("QBV-000417\0", 11));
	kernel("/proc/device-tree/model", std::string("QB-VEXO i.MX93 board\0", 21));
	record_set_device_tree("qb-vexo.dtb");
	rec::ended(Result());
	json doc = rec::parse("Log/record.json");
	ASSERT_TRUE(doc.contains("board"));
	const json &board = doc.at("board");
	EXPECT_EQ(board.value("serial_number", std::string()), "3A1C29F40B7D5E66");
	EXPECT_EQ(board.value("model", std::string()), "QB-VEXO i.MX93 board");
	EXPECT_EQ(board.value("device_tree", std::string()), "qb-vexo.dtb");
	char host[256] = {0};
	gethostname(host, sizeof host - 1);
	EXPECT_EQ(board.value("hostname", std::string()), host);
	ASSERT_TRUE(doc.contains("station"));
	const json &station = doc.at("station");
	EXPECT_EQ(station.value("working_directory", std::string()), dir_);
	EXPECT_EQ(station.value("version", std::string()), TESSEL_VERSION);
	EXPECT_NE(station.value("version", std::string()), "");
	EXPECT_EQ(doc.at("run").value("id", std::string()).rfind("3A1C29F40B7D5E66-", 0), 0u);

	// without soc0 the device tree's serial (through sysfs when procfs has no link)
	rec::run("rm -rf " + rec::quote(dir_ + "/board/sys/devices"));
	rec::ended(Result());
	doc = rec::parse("Log/record.json");
	EXPECT_EQ(doc.at("board").value("serial_number", std::string()), "QBV-000417");
	EXPECT_NE(rec::read("Log/record.xml").find("classname=\"tessel.QBV-000417\""), std::string::npos);

	// nothing at all: "unknown"
	rec::run("rm -rf " + rec::quote(dir_ + "/board") + " && mkdir " + rec::quote(dir_ + "/board"));
	record_set_device_tree(nullptr);
	rec::ended(Result());
	json unknown = rec::parse("Log/record.json").at("board");
	EXPECT_EQ(unknown.value("serial_number", std::string()), "unknown");
	EXPECT_EQ(unknown.value("model", std::string()), "unknown");
	// the run keeps the device tree it saw until the screen says otherwise
	EXPECT_EQ(unknown.value("device_tree", std::string()), "qb-vexo.dtb");
	EXPECT_EQ(rec::check("Log/record.json", "Log/record.xml"), "");
}

TEST_F(RecordTest, ConsoleTailKeepsTheLastTwentyLinesAndOnlyValidText)
{
	std::string tail;
	for (int i = 1; i <= 30; i++)
		tail += "line " + std::to_string(i) + "\n";
	Result r;
	r.tail = tail;
	rec::ended(r);
	std::string kept = rec::test_of(rec::parse("Log/record.json"), 1).value("console_tail", std::string());
	EXPECT_EQ(kept.rfind("line 11\n", 0), 0u) << kept;
	EXPECT_EQ(kept.substr(kept.size() - 8), "line 30\n");

	// bytes a script may print that neither JSON nor XML can carry
	r.line = 2;
	r.name = "GPIO \xff";
	r.tail = "bad \xc3\x28 utf-8\n\x1b[31mred\x1b[0m\r\nquote \" <tag> & ]]>\n";
	rec::ended(r);
	json doc = rec::parse("Log/record.json");
	const json &test = rec::test_of(doc, 2);
	EXPECT_EQ(test.value("name", std::string()), "GPIO \xEF\xBF\xBD");
	EXPECT_EQ(test.value("console_tail", std::string()),
		  "bad \xEF\xBF\xBD( utf-8\n\x1b[31mred\x1b[0m\r\nquote \" <tag> & ]]>\n");
	// (the XML drops the escape codes, which it cannot carry)
	std::string problems = rec::check("Log/record.json", "");
	EXPECT_EQ(problems, "");
	rec::Run parsed = rec::run("/usr/bin/python3 -c 'import sys, xml.etree.ElementTree as E; "
				   "c = E.parse(sys.argv[1]).getroot().findall(\"testsuite/testcase\")[1]; "
				   "sys.stdout.write(c.find(\"system-out\").text)' Log/record.xml");
	EXPECT_EQ(parsed.status, 0) << parsed.err;
	EXPECT_EQ(parsed.out, "bad \xEF\xBF\xBD( utf-8\n[31mred[0m\r\nquote \" <tag> & ]]>\n");
}

TEST_F(RecordTest, LogFilesAreThoseWrittenDuringTheTest)
{
	rec::write("Log/Log_DTS", "model\n");
	struct timespec old[2] = {{rec::now_ms() / 1000 - 3600, 0}, {rec::now_ms() / 1000 - 3600, 0}};
	ASSERT_EQ(utimensat(AT_FDCWD, "Log/Log_DTS", old, 0), 0);

	// the screen loads: the device-tree detection rewrites its log, and a
	// tap on the SPI button follows at once
	rec::write("Log/Log_DTS", "model Default\n");
	record_set_device_tree("qb-vexo.dtb");

	// the SPI button: the master writes the log, the slave appends to it
	Result master;
	master.line = 4;
	master.name = "SPI Master";
	master.status = "SPI3 Master Test ok";
	master.start_ms = rec::now_ms();
	rec::write("Log/Log_SPI", "/dev/spidev0.0\n");
	rec::write("Log/Log_extra", "also written\n");
	ASSERT_EQ(mkdir("Log/Log_dir", 0755), 0);
	master.end_ms = rec::now_ms();
	rec::ended(master);

	Result slave = master;
	slave.line = 5;
	slave.name = "SPI Slave";
	slave.status = "SPI3 Slave Test ok";
	slave.start_ms = rec::now_ms();
	rec::write("Log/Log_SPI", "/dev/spidev0.0\nOF_NAME=spi\n");
	slave.end_ms = rec::now_ms();
	rec::ended(slave);

	// right after, a test that writes nothing: the slave's log is not its
	Result adc;
	adc.line = 6;
	adc.name = "ADC";
	adc.status = "ADC Test ok";
	adc.start_ms = rec::now_ms();
	adc.end_ms = adc.start_ms + 1;
	rec::ended(adc);

	json doc = rec::parse("Log/record.json");
	auto logs = [&](int line) {
		std::vector<std::string> names;
		for (const auto &v : rec::test_of(doc, line).value("log_files", json::array()))
			names.push_back(v.get<std::string>());
		return names;
	};
	EXPECT_EQ(logs(4), (std::vector<std::string>{"Log/Log_SPI", "Log/Log_extra"}));
	EXPECT_EQ(logs(5), (std::vector<std::string>{"Log/Log_SPI"}));
	EXPECT_EQ(logs(6), (std::vector<std::string>{}));
	EXPECT_EQ(rec::check("Log/record.json", "Log/record.xml"), "");
}

TEST_F(RecordTest, ARerunReplacesItsLineAndCountsTheAttempt)
{
	Result r;
	r.status = "I2C Test failed";
	rec::ended(r);
	r.status = "I2C Test ok";
	r.tail = "second\n";
	rec::ended(r);
	json doc = rec::parse("Log/record.json");
	ASSERT_EQ(doc.at("tests").size(), 1u);
	const json &test = rec::test_of(doc, 1);
	EXPECT_EQ(test.value("outcome", std::string()), "passed");
	EXPECT_EQ(test.value("attempts", 0), 2);
	EXPECT_EQ(test.value("console_tail", std::string()), "second\n");
}

// The program restarts (or another directory was in use meanwhile): the
// run goes on where the record left it, like the status file's verdicts.
TEST_F(RecordTest, ARestartedProgramContinuesTheRun)
{
	record_set_device_tree("qb-vexo-lpspi.dtb");
	Result a;
	a.tail = "é and \"quotes\"\n";
	rec::ended(a);
	std::string started = rec::parse("Log/record.json").at("run").value("started", std::string());

	// another working directory, then back: the record is read again
	record_set_device_tree(nullptr);
	visit_elsewhere();

	Result b;
	b.line = 2;
	b.name = "GPIO";
	b.status = "GPIO Key Test ok";
	rec::ended(b);
	json doc = rec::parse("Log/record.json");
	EXPECT_EQ(doc.at("tests").size(), 2u);
	EXPECT_EQ(doc.at("run").value("started", std::string()), started);
	EXPECT_EQ(rec::test_of(doc, 1).value("console_tail", std::string()), "é and \"quotes\"\n");
	EXPECT_EQ(doc.at("board").value("device_tree", std::string()), "qb-vexo-lpspi.dtb");

	// a record that cannot be read is put aside, with a word on the console
	rec::write("Log/record.json", "{\"schema_version\": 1, \"tests\": [");
	visit_elsewhere();
	testing::internal::CaptureStderr();
	rec::ended(b);
	std::string err = testing::internal::GetCapturedStderr();
	EXPECT_NE(err.find("record: Log/record.json cannot be continued"), std::string::npos) << err;
	EXPECT_EQ(rec::read("Log/record.json.unreadable"), "{\"schema_version\": 1, \"tests\": [");
	doc = rec::parse("Log/record.json");
	EXPECT_EQ(doc.at("tests").size(), 1u);
	EXPECT_EQ(rec::check("Log/record.json", "Log/record.xml"), "");
}

TEST_F(RecordTest, ClosingARunKeepsItInTheHistoryAndStartsANewRecord)
{
	kernel("/sys/devices/soc0/serial_number", "3A1C29F40B7D5E66\n");
	Result r;
	r.status = "I2C Test failed";
	rec::ended(r);
	r.line = 2;
	r.name = "GPIO";
	r.status = "GPIO Key Test ok";
	rec::ended(r);
	json before = rec::parse("Log/record.json");
	std::string id = before.at("run").value("id", std::string());
	int64_t closing = rec::now_ms();
	record_close_run();

	std::vector<std::string> runs = rec::list("Log/runs");
	ASSERT_EQ(runs, (std::vector<std::string>{id + ".json", id + ".xml"}));
	EXPECT_EQ(id.rfind("3A1C29F40B7D5E66-", 0), 0u);
	json kept = rec::parse("Log/runs/" + id + ".json");
	EXPECT_EQ(kept.at("tests").size(), 2u);
	EXPECT_EQ(rec::test_of(kept, 1).value("outcome", std::string()), "failed");
	EXPECT_EQ(kept.at("run").at("closed").is_string(), true);
	EXPECT_EQ(rec::check("Log/runs/" + id + ".json", "Log/runs/" + id + ".xml"), "");

	// the new run: no tests, begun at the close
	json fresh = rec::parse("Log/record.json");
	EXPECT_TRUE(fresh.at("tests").empty());
	EXPECT_EQ(fresh.at("run").at("closed").is_null(), true);
	EXPECT_NE(fresh.at("run").value("id", std::string()), id);
	EXPECT_EQ(fresh.at("totals").value("tests", -1), 0);
	EXPECT_EQ(rec::check("Log/record.json", "Log/record.xml"), "");
	rec::ended(r);
	json next = rec::parse("Log/record.json");
	EXPECT_EQ(next.at("tests").size(), 1u);
	int64_t started_ms = 0;
	std::string started = next.at("run").value("started", std::string());
	ASSERT_EQ(started.size(), 24u);
	struct tm tm = {};
	ASSERT_NE(strptime(started.c_str(), "%Y-%m-%dT%H:%M:%S", &tm), nullptr);
	started_ms = (int64_t)timegm(&tm) * 1000 + std::stoi(started.substr(20, 3));
	EXPECT_GE(started_ms, closing);

	// Initialization twice: an empty run leaves no history behind
	record_close_run();
	record_close_run();
	EXPECT_EQ(rec::list("Log/runs").size(), 4u);
}

TEST_F(RecordTest, TheThousandAndFirstRunRemovesTheOldest)
{
	ASSERT_EQ(mkdir("Log/runs", 0755), 0);
	// 1,000 earlier runs; the oldest has a name that sorts last
	for (int i = 0; i < 1000; i++) {
		char name[64];
		snprintf(name, sizeof name, "Log/runs/%s-2020%02d%02dT1200%02d.000Z", i == 0 ? "ZZZ" : "AAA", 1 + i / 28 % 12,
			 1 + i % 28, i / 336);
		rec::write(std::string(name) + ".json", "{}");
		rec::write(std::string(name) + ".xml", "<testsuites/>");
	}
	rec::write("Log/runs/notes.txt", "kept by hand\n");
	rec::write("Log/runs/not-a-run-of-this-program.json", "{}");
	rec::ended(Result());
	record_close_run();

	std::vector<std::string> runs = rec::list("Log/runs");
	EXPECT_EQ(runs.size(), 2002u);
	EXPECT_FALSE(rec::exists("Log/runs/ZZZ-20200101T120000.000Z.json"));
	EXPECT_FALSE(rec::exists("Log/runs/ZZZ-20200101T120000.000Z.xml"));
	EXPECT_TRUE(rec::exists("Log/runs/AAA-20200102T120000.000Z.json"));
	EXPECT_TRUE(rec::exists("Log/runs/notes.txt"));
	EXPECT_TRUE(rec::exists("Log/runs/not-a-run-of-this-program.json"));
	size_t mine = 0;
	for (const auto &n : runs)
		mine += n.rfind("unknown-", 0) == 0;
	EXPECT_EQ(mine, 2u);

	// and the next removes the next oldest, by time, not by name
	rec::ended(Result());
	record_close_run();
	EXPECT_FALSE(rec::exists("Log/runs/AAA-20200101T120001.000Z.json"));
	EXPECT_TRUE(rec::exists("Log/runs/AAA-20200101T120002.000Z.json"));
	EXPECT_TRUE(rec::exists("Log/runs/AAA-20200102T120000.000Z.json"));
	EXPECT_EQ(rec::list("Log/runs").size(), 2002u);
}

// A record that cannot be written is said on the console; the call returns
// and the next one tries again.
TEST_F(RecordTest, AFailedWriteIsReportedAndLeavesNoDebris)
{
	ASSERT_EQ(mkdir("Log/record.json", 0755), 0);
	rec::write("Log/record.json/keep", "x");
	testing::internal::CaptureStderr();
	rec::ended(Result());
	std::string err = testing::internal::GetCapturedStderr();
	EXPECT_NE(err.find("record: cannot write Log/record.json: "), std::string::npos) << err;
	EXPECT_TRUE(rec::exists("Log/record.xml")) << "the other file is still written";
	EXPECT_EQ(rec::list("Log"), (std::vector<std::string>{"record.json", "record.xml"}));

	rec::run("rm -rf Log/record.json");
	rec::ended(Result());
	EXPECT_EQ(rec::check("Log/record.json", "Log/record.xml"), "");

	// no Log directory can be made: a file stands in its way
	rec::run("rm -rf Log && echo x > Log");
	testing::internal::CaptureStderr();
	record_close_run();
	err = testing::internal::GetCapturedStderr();
	EXPECT_NE(err.find("record: cannot create Log: "), std::string::npos) << err;
	EXPECT_EQ(rec::read("Log"), "x\n");
}

}  // namespace
