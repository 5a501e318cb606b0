// The background runner on its own: console pass-through, time limits,
// process groups, and leaving while a script runs.
#include "board_fixture.h"
#include "station/board_runner.h"

#include <chrono>
#include <csignal>
#include <sys/wait.h>

namespace {

using Runner = BoardTest;

struct Ended {
	bool done = false;
	runner_outcome outcome = {};
	std::string tail;
};

void on_done(const runner_outcome *o, void *user)
{
	auto *e = static_cast<Ended *>(user);
	e->done = true;
	e->outcome = *o;
	e->tail = o->console_tail;
	e->outcome.console_tail = nullptr;
}

// Runs the main loop's wait until the script has ended; the elapsed seconds.
double run_to_end(const char *script, int limit_ms, Ended *e)
{
	auto t0 = std::chrono::steady_clock::now();
	EXPECT_TRUE(runner_start(script, limit_ms, on_done, e));
	EXPECT_TRUE(ui::wait_idle(20000));
	return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}


TEST_F(Runner, PassesTheConsoleOnInOrderAndKeepsTheLastTwentyLines)
{
	Ended e;
	console([&] {
		printf("before ");
		run_to_end("for i in $(seq 1 25); do echo line $i; done; echo oops >&2; printf 'no LF'; exit 3", 5000, &e);
		printf("after\n");
	});
	ASSERT_TRUE(e.done);
	std::string expected_out = "before ";
	for (int i = 1; i <= 25; i++)
		expected_out += "line " + std::to_string(i) + "\n";
	EXPECT_EQ(out(), expected_out + "no LFafter\n");
	EXPECT_EQ(err(), "oops\n");
	EXPECT_EQ(e.outcome.exit_status, 3);
	EXPECT_FALSE(e.outcome.timed_out);
	EXPECT_LE(e.outcome.start_ms, e.outcome.end_ms);
	// The last 20 lines of both streams, the unfinished one completed.
	std::string tail;
	for (int i = 8; i <= 25; i++)
		tail += "line " + std::to_string(i) + "\n";
	EXPECT_EQ(e.tail, tail + "oops\nno LF\n");
}

// Deaf to TERM: the limit ends the whole group with KILL after the grace.
TEST_F(Runner, TimeLimitEndsTheWholeGroup)
{
	Ended e;
	double s = 0;
	console([&] { s = run_to_end("trap '' TERM; sleep 60 & echo $! > child.pid; wait", 300, &e); });
	ASSERT_TRUE(e.done);
	EXPECT_TRUE(e.outcome.timed_out);
	EXPECT_EQ(e.outcome.exit_status, 128 + SIGKILL);
	EXPECT_LT(s, 4.0);
	EXPECT_TRUE(sim::ends_soon("child.pid"));
	EXPECT_CONTAINS(err(), "time limit");
	EXPECT_FALSE(runner_busy());
}

// What a script leaves running in its group ends with it; a process that
// left the group and holds the console pipe does not hold the runner.
TEST_F(Runner, LeftoversEndAndAnEscapedProcessIsNotWaitedFor)
{
	Ended e;
	double s = 0;
	console([&] {
		s = run_to_end("sleep 60 & echo $! > left.pid;"
			       "setsid bash -c 'echo $$ > escaped.pid; exec sleep 60' &"
			       "for i in $(seq 200); do [ -s escaped.pid ] && break; sleep 0.01; done; echo done",
			       10000, &e);
	});
	ASSERT_TRUE(e.done);
	EXPECT_FALSE(e.outcome.timed_out);
	EXPECT_EQ(e.outcome.exit_status, 0);
	EXPECT_LT(s, 2.0);
	EXPECT_EQ(out(), "done\n");
	EXPECT_TRUE(sim::ends_soon("left.pid"));
	EXPECT_TRUE(sim::running("escaped.pid"));
	kill(std::stoi(sim::read("escaped.pid")), SIGKILL);
}

TEST_F(Runner, OneScriptAtATimeAndLeavingEndsIt)
{
	Ended e;
	ASSERT_TRUE(runner_start("echo $$ > shell.pid; sleep 60 & echo $! > child.pid; wait", 60000, on_done, &e));
	Ended second;
	EXPECT_FALSE(runner_start("touch second", 1000, on_done, &second));
	EXPECT_TRUE(runner_busy());
	for (int i = 0; i < 100 && !sim::exists("child.pid"); i++)
		runner_wait(-1, 20);
	ASSERT_TRUE(sim::running("child.pid"));

	auto t0 = std::chrono::steady_clock::now();
	console([] { runner_stop_all(); });
	EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 1.0);
	EXPECT_TRUE(sim::ends_soon("shell.pid"));
	EXPECT_TRUE(sim::ends_soon("child.pid"));
	EXPECT_FALSE(runner_busy());
	EXPECT_FALSE(e.done);
	EXPECT_FALSE(sim::exists("second"));
}

// TERM, INT and HUP end the main loop's wait; nothing else does.
TEST_F(Runner, QuitSignalsEndTheWait)
{
	runner_install_exit_handling();
	EXPECT_TRUE(runner_wait(-1, 0));
	for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
		raise(sig);
		EXPECT_FALSE(runner_wait(-1, 1000)) << sig;
		EXPECT_TRUE(runner_wait(-1, 0)) << sig;
	}
}

} // namespace
