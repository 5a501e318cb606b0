// Time to update the run record after a test ends (Log/record.json and
// Log/record.xml written, flushed to disk and renamed), with 1,000 earlier
// runs kept under Log/runs/; target under 5 ms. Also the close of a run,
// which keeps it and removes the oldest.
//   bench_record [DIR]    (a working directory on the disk to measure; default: a new one here)
#include "record/run_record.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

static const char *const kNames[15] = {"I2C", "GPIO", "UART", "SPI Master", "SPI Slave", "ADC", "USB1", "USB2",
				       "PL2303", "DSI", "LVDS", "Audio", "MQS", "CSI", "RTC"};
static const char *const kLogs[15] = {nullptr, "Log_GPIO", nullptr, "Log_SPI", "Log_SPI", nullptr, "Log_USB",
				      "Log_USB", "Log_PL2303", "Log_DSI", "Log_LVDS", "Log_Audio", "Log_MQS",
				      "Log_CSI", nullptr};

static int64_t wall_ms()
{
	struct timespec ts;
	clock_gettime(CLOCK_REALTIME, &ts);
	return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

static void write_file(const std::string &path, const std::string &text, const char *mode = "w")
{
	FILE *f = fopen(path.c_str(), mode);
	if (f == nullptr) {
		perror(path.c_str());
		exit(1);
	}
	fwrite(text.data(), 1, text.size(), f);
	fclose(f);
}

static std::string read_file(const std::string &path)
{
	std::string text;
	FILE *f = fopen(path.c_str(), "r");
	if (f == nullptr)
		return text;
	char buf[8192];
	size_t n;
	while ((n = fread(buf, 1, sizeof buf, f)) > 0)
		text.append(buf, n);
	fclose(f);
	return text;
}

static void stats(const char *what, std::vector<double> v)
{
	std::sort(v.begin(), v.end());
	printf("%-44s median %6.2f ms   p95 %6.2f ms   max %6.2f ms   (%zu)\n", what, v[v.size() / 2],
	       v[v.size() * 95 / 100], v.back(), v.size());
}

static double since(std::chrono::steady_clock::time_point t0)
{
	return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

int main(int argc, char **argv)
{
	std::string dir = argc > 1 ? argv[1] : "bench-record-work";
	int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 20;
	if (system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "/Log/runs'").c_str()) != 0 || chdir(dir.c_str()) != 0) {
		fprintf(stderr, "cannot prepare %s\n", dir.c_str());
		return 1;
	}
	std::string tail;
	for (int i = 0; i < 20; i++)
		tail += "spidev_test: transfer " + std::to_string(i) + " bytes 0xAA 0x55 0xAA 0x55 ok\n";

	// One full run for its record, then 1,000 copies of it as history.
	for (int line = 1; line <= 15; line++) {
		tessel_test_result r = {};
		r.line = line;
		r.name = kNames[line - 1];
		std::string status = std::string(kNames[line - 1]) + " Test ok";
		r.status_line = status.c_str();
		r.end_ms = wall_ms();
		r.start_ms = r.end_ms - 700;
		r.console_tail = tail.c_str();
		record_test_ended(&r);
	}
	std::string json = read_file("Log/record.json");
	std::string xml = read_file("Log/record.xml");
	for (int i = 0; i < 1000; i++) {
		char name[96];
		snprintf(name, sizeof name, "Log/runs/3A1C29F40B7D5E66-2025%02d%02dT%02d0000.000Z", 1 + i / 28 % 12,
			 1 + i % 28, i / 336);
		write_file(std::string(name) + ".json", json);
		write_file(std::string(name) + ".xml", xml);
	}
	if (system("sync") != 0)
		return 1;
	printf("record of 15 tests: %zu bytes JSON, %zu bytes XML; 1,000 runs in Log/runs/\n", json.size(), xml.size());

	std::vector<double> update, close;
	for (int run = 0; run < runs; run++) {
		for (int line = 1; line <= 15; line++) {
			tessel_test_result r = {};
			r.line = line;
			r.name = kNames[line - 1];
			std::string status = std::string(kNames[line - 1]) + (line == 10 && run % 2 ? " Test ok (Warning : Failed to set brightness)" : " Test ok");
			r.status_line = status.c_str();
			r.start_ms = wall_ms();
			if (kLogs[line - 1] != nullptr)
				write_file(std::string("Log/") + kLogs[line - 1], "log line\n", "a");
			r.end_ms = wall_ms() + 1;
			r.console_tail = tail.c_str();
			auto t0 = std::chrono::steady_clock::now();
			record_test_ended(&r);
			update.push_back(since(t0));
		}
		auto t0 = std::chrono::steady_clock::now();
		record_close_run();
		close.push_back(since(t0));
	}
	stats("update after a test ends (1,000 runs kept)", update);
	stats("close of a run (keep it, remove the oldest)", close);
	std::vector<double> sorted = update;
	std::sort(sorted.begin(), sorted.end());
	printf("target: update under 5 ms (p95): %s\n", sorted[sorted.size() * 95 / 100] < 5.0 ? "met" : "MISSED");
	if (chdir("..") == 0)
		(void)!system(("rm -rf '" + dir + "'").c_str());
	return 0;
}
