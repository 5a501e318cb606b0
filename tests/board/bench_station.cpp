// The station's main loop while tests run, on the simulated board with the
// real handlers and a headless display driven in real time:
//   - from the end of a test script (its last command, the verdict's sed)
//     to the flushed frame that shows the verdict;
//   - wake-ups of the main loop per second while a test waits on a tool
//     (a camera capture that takes 3 s).
// Run with: simboard-run -- bench_board_station [rounds]
#include "board_ui.h"
#include "station/board_runner.h"
#include "sim.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v)
{
	std::sort(v.begin(), v.end());
	return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
	if (!sim::inside()) {
		fprintf(stderr, "run inside: simboard-run -- %s [rounds]\n", argv[0]);
		return 2;
	}
	int rounds = argc > 1 ? atoi(argv[1]) : 20;
	ui::init();
	sim::enter_fresh_workdir("bench-station");
	std::string fresh;
	for (int i = 0; i < 15; i++)
		fresh += "not yet\n";
	sim::write("zorazu_zove", fresh);
	ui::show_test_screen();
	// The verdict's sed notes when it is done; the script exits right after.
	sim::put("/usr/local/bin/sed",
		 "#!/bin/bash\n/bin/sed \"$@\"; rc=$?; date +%s%N > /.simboard/data/sed_end; exit $rc\n");
	sim::sh("chmod +x /usr/local/bin/sed");

	ui::Loop loop(1000, -1);
	for (int i = 0; i < 10; i++)
		loop.pass();
	std::vector<double> latencies;
	lv_obj_t *label = tessel_ui.Test_progrem_PL2303_Log;
	for (int r = 0; r < rounds; r++) {
		sim::Console quiet;
		quiet.start();
		lv_event_send(tessel_ui.Test_progrem_btn_pl2303, LV_EVENT_CLICKED, NULL);
		int64_t shown = 0;
		uint32_t next = loop.pass();
		for (;;) {
			// The verdict may be drawn where the script's end is handled,
			// or by the next pass of the loop.
			uint32_t flushes = ui::flush_count();
			loop.wait(next);
			next = loop.pass();
			if (!runner_busy() && ui::flush_count() != flushes && ui::text(label) == "PL2303 Test ok\n") {
				shown = ui::wall_ns();
				break;
			}
		}
		quiet.stop();
		int64_t ended = std::stoll(sim::read("/.simboard/data/sed_end"));
		latencies.push_back((double)(shown - ended) / 1e6);
	}
	printf("script end to verdict on screen (flushed frame), %d rounds: median %.2f ms, max %.2f ms\n", rounds,
	       median(latencies), *std::max_element(latencies.begin(), latencies.end()));

	// Wake-ups while the camera test waits 3 s for its frame.
	sim::set("camera", "hang");
	sim::set("camera_hang_s", "3");
	sim::Console quiet;
	quiet.start();
	lv_event_send(tessel_ui.Test_progrem_btn_csi, LV_EVENT_CLICKED, NULL);
	auto start = Clock::now();
	// Draw the running mark and pass on the tool's first words, then count.
	while (Clock::now() - start < std::chrono::milliseconds(500)) {
		loop.pass();
		runner_wait(-1, 20);
	}
	auto from = Clock::now();
	long wakeups = 0;
	// Each return of the wait before the tool ends (3 s after the start;
	// 2.9 s leaves its own last words out) is a wake-up.
	auto until = start + std::chrono::milliseconds(2900);
	while (runner_busy()) {
		loop.wait(loop.pass());
		if (Clock::now() < until)
			wakeups++;
	}
	double span = std::chrono::duration<double>(until - from).count();
	quiet.stop();
	printf("main-loop wake-ups while a test waits on a tool: %ld in %.2f s (%.2f per second)\n", wakeups, span,
	       wakeups / span);
	return 0;
}
