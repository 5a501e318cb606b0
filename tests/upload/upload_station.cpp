// The station with uploads on, in a headless display on the simulated
// board, driven in real time like the application's main loop: the real
// handlers, run record, outbox and upload worker (TESSEL_CONFIG names the
// configuration). Used by the upload test and benchmark:
//
//   upload_station runall        one Run all
//   upload_station pl2303 N      the PL2303 test N times
//
// Prints "verdict LINE MS TEXT" for each verdict shown (MS: from the end of
// the script's verdict sed to the end of the flushed frame showing it), "pass_max MS"
// (the longest pass of the loop), then waits up to UPLOAD_DRAIN_S seconds
// (default 60) for the outbox to empty ("outbox N") and leaves ("stop_ms MS").
// With UPLOAD_GATE set, each script's verdict sed first waits for the file
// $UPLOAD_GATE/<line> (the test paces the run against the server's moods).
#include "station/board_runner.h"
#include "board_ui.h"
#include "line/outbox.h"
#include "sim.h"
#include "line/uploader.h"
#include "record/run_record.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double since_ms(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

// The frame that shows a verdict: stamped when its last part is flushed.
void (*g_flush)(lv_disp_drv_t *, const lv_area_t *, lv_color_t *) = nullptr;
std::string g_shown_text[16];
std::string g_before[16];
int64_t g_shown_ns[16];
bool g_armed[16];

void timed_flush(lv_disp_drv_t *drv, const lv_area_t *area, lv_color_t *colors)
{
	bool last = lv_disp_flush_is_last(drv);
	g_flush(drv, area, colors);
	if (!last)
		return;
	for (int i = 0; i < 15; i++) {
		std::string text = ui::text(ui::result_label(i + 1));
		/* a loaded machine may end a script before its "running..." was
		 * ever drawn: a verdict is the first text after "not yet",
		 * "running..." or the label's text before the first tap that is
		 * none of them */
		bool waiting = text.find("running...") != std::string::npos || text.rfind("not yet", 0) == 0 ||
			       text == g_before[i];
		if (waiting) {
			g_armed[i] = true;
		} else if (g_armed[i]) {
			g_armed[i] = false;
			g_shown_ns[i] = ui::wall_ns();
		}
		g_shown_text[i] = text;
	}
}

// The end of each line's verdict sed, by line.
std::map<int, int64_t> sed_ends()
{
	const char log[] = "/.simboard/data/sed_log";
	std::map<int, int64_t> ends;
	for (const std::string &l : sim::lines(sim::exists(log) ? sim::read(log) : ""))
		ends[std::atoi(l.c_str())] = std::stoll(l.substr(l.find(' ') + 1));
	return ends;
}

} // namespace

int main(int argc, char **argv)
{
	if (!sim::inside() || argc < 2) {
		fprintf(stderr, "run inside: simboard-run -- %s runall | pl2303 N\n", argv[0]);
		return 2;
	}
	std::string mode = argv[1];
	int rounds = mode == "pl2303" && argc > 2 ? std::atoi(argv[2]) : 1;
	sim::put("/usr/local/bin/sed",
		 "#!/bin/bash\nline=${2%%s/*}\n"
		 "case $line in ''|*[!0-9]*) ;; *) [ -n \"$UPLOAD_GATE\" ] &&\n"
		 "  while [ ! -e \"$UPLOAD_GATE/$line\" ]; do /bin/sleep 0.02; done ;; esac\n"
		 "/bin/sed \"$@\"; rc=$?\necho \"$line $(date +%s%N)\" >> /.simboard/data/sed_log\nexit $rc\n");
	sim::sh("chmod +x /usr/local/bin/sed; rm -f /.simboard/data/sed_log");

	ui::init();
	lv_disp_drv_t *drv = lv_disp_get_default()->driver;
	g_flush = drv->flush_cb;
	drv->flush_cb = timed_flush;
	upload_start(record_upload_board());
	record_set_station_id(upload_station_id());
	ui::show_test_screen();
	ui::Loop loop(100, 100);
	for (int i = 0; i < 10; i++)
		loop.pass();
	/* what the labels show before the first tap (a fresh directory: their
	 * builder texts) counts as waiting too */
	for (int i = 0; i < 15; i++)
		g_before[i] = ui::text(ui::result_label(i + 1));
	lv_obj_invalidate(lv_scr_act());
	lv_refr_now(NULL);
	loop.pass_max = 0;

	for (int r = 0; r < rounds; r++) {
		lv_event_send(mode == "runall" ? tessel_ui.Test_progrem_btn_all : tessel_ui.Test_progrem_btn_pl2303,
			      LV_EVENT_CLICKED, NULL);
		uint32_t next = loop.pass();
		bool started = false;
		for (;;) {
			loop.wait(next);
			next = loop.pass();
			started = started || runner_busy();
			std::map<int, int64_t> ends;
			for (int i = 0; i < 15; i++) {
				if (g_shown_ns[i] == 0)
					continue;
				std::string text = g_shown_text[i];
				if (ends.empty())
					ends = sed_ends();
				double ms = ends.count(i + 1) ? (double)(g_shown_ns[i] - ends[i + 1]) / 1e6 : -1;
				g_shown_ns[i] = 0;
				while (!text.empty() && text.back() == '\n')
					text.pop_back();
				printf("verdict %d %.2f %s\n", i + 1, ms, text.c_str());
				fflush(stdout);
			}
			if (started && !runner_busy())
				break;
		}
	}
	printf("pass_max %.2f\n", loop.pass_max);

	const char *drain = getenv("UPLOAD_DRAIN_S");
	double drain_s = drain != nullptr ? std::atof(drain) : 60;
	auto t0 = Clock::now();
	while (upload_waiting(".") > 0 && since_ms(t0) < drain_s * 1000)
		loop.wait(loop.pass());
	printf("outbox %d\n", upload_waiting("."));
	auto s0 = Clock::now();
	upload_stop();
	printf("stop_ms %.1f\n", since_ms(s0));
	fflush(stdout);
	return 0;
}
