// Run all on the healthy simulated board, timed outside the scripts' fixed
// sleeps and the USB copy work (dd, cp, cmp, sync), which the timing
// scenario measures with wrappers. Run with:
//   simboard-run -s healthy,timing -- bench_board_runall [passes]
#include "board_ui.h"
#include "sim.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

int main(int argc, char **argv)
{
	if (!sim::inside() || !sim::exists("/usr/local/bin/sleep")) {
		fprintf(stderr, "run inside: simboard-run -s healthy,timing -- %s\n", argv[0]);
		return 2;
	}
	int passes = argc > 1 ? atoi(argv[1]) : 3;
	ui::init();
	std::vector<double> totals, rest;
	std::map<std::string, std::vector<double>> per_tool;
	for (int pass = 0; pass < passes; pass++) {
		sim::enter_fresh_workdir("bench");
		std::string fresh;
		for (int i = 0; i < 15; i++)
			fresh += "not yet\n";
		sim::write("zorazu_zove", fresh);
		ui::show_test_screen();
		sim::write("/.simboard/data/timing.log", "");

		sim::Console console;
		console.start();
		auto t0 = std::chrono::steady_clock::now();
		lv_event_send(tessel_ui.Test_progrem_btn_all, LV_EVENT_CLICKED, NULL);
		ui::wait_idle();
		auto t1 = std::chrono::steady_clock::now();
		console.stop();

		double total = std::chrono::duration<double>(t1 - t0).count();
		std::map<std::string, double> spent;
		std::istringstream log(sim::read("/.simboard/data/timing.log"));
		std::string tool;
		double start, end;
		while (log >> tool >> start >> end)
			spent[tool] += end - start;
		double excluded = 0;
		for (auto &[name, seconds] : spent) {
			per_tool[name].push_back(seconds);
			excluded += seconds;
		}
		totals.push_back(total);
		rest.push_back(total - excluded);
		int ok = sim::count(sim::read("zorazu_zove"), " ok\n");
		printf("pass %d: total %.3f s, sleep %.3f s, dd %.3f s, cp %.3f s, cmp %.3f s, sync %.3f s -> outside %.3f s (%d/15 ok)\n",
		       pass + 1, total, spent["sleep"], spent["dd"], spent["cp"], spent["cmp"], spent["sync"], total - excluded, ok);
		sim::leave_workdir();
		sim::sh("rm -rf /.simboard/data/work/bench");
	}
	std::sort(rest.begin(), rest.end());
	std::sort(totals.begin(), totals.end());
	printf("Run all, healthy board, %d passes: median total %.3f s, median outside sleeps and copies %.3f s "
	       "(min %.3f, max %.3f)\n",
	       passes, totals[totals.size() / 2], rest[rest.size() / 2], rest.front(), rest.back());
	return 0;
}
