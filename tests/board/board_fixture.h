// Base of the handler tests: a simulated board in a scenario, a fresh
// working directory, the real screens, and the console captured on demand.
#pragma once

#include "board_ui.h"
#include "sim.h"

#include <gtest/gtest.h>
#include <iostream>
#include <unistd.h>
#include <string>
#include <vector>

class BoardTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		if (!sim::inside())
			GTEST_SKIP() << "needs the simulated board (tests/simboard/simboard-run)";
		ui::init();
		board({"healthy"});
		const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
		std::string name = std::string(info->test_suite_name()) + "." + info->name();
		for (char &c : name)
			if (c == '/')
				c = '_';
		workdir_ = sim::enter_fresh_workdir(name);
	}

	void TearDown() override
	{
		if (!sim::inside())
			return;
		console_.stop();
		if (HasFailure())
			std::cerr << "--- last console output:\n" << out() << "--- last console errors:\n" << err() << "---\n";
		sim::leave_workdir();
		sim::sh("umount -q " + sim::quote(workdir_) + " 2>/dev/null; rm -rf " + sim::quote(workdir_));
	}

	// The working directory becomes a small file system of its own (a
	// nearly full disk), holding nothing yet.
	void small_workdir(const std::string &size)
	{
		sim::sh("mount -t tmpfs -o size=" + size + " tessel-small " + sim::quote(workdir_));
		ASSERT_EQ(chdir(workdir_.c_str()), 0);
	}

	// Empty board, then these scenarios.
	void board(const std::vector<std::string> &scenarios) { sim::apply(scenarios); }

	// The status file and its lines.
	void status(const std::vector<std::string> &lines)
	{
		std::string text;
		for (const auto &l : lines)
			text += l + "\n";
		sim::write("zorazu_zove", text);
	}
	std::vector<std::string> status_lines() { return sim::lines(sim::read("zorazu_zove")); }
	static std::vector<std::string> fresh() { return std::vector<std::string>(15, "not yet"); }

	// A status file of 15 "not yet" lines and the test screen showing it.
	void fresh_screen()
	{
		status(fresh());
		ui::show_test_screen();
		sim::clear_calls();
	}

	// Runs an action with the console captured into out() and err().
	template <typename F> void console(F action)
	{
		console_.start();
		action();
		console_.stop();
	}
	const std::string &out() const { return console_.out(); }
	const std::string &err() const { return console_.err(); }

	std::string log(const std::string &name) { return sim::read("Log/" + name); }

	std::string workdir_;
	sim::Console console_;
};

// Expected result labels: each line's text with its line feed.
inline std::vector<std::string> as_labels(const std::vector<std::string> &lines)
{
	std::vector<std::string> r;
	for (const auto &l : lines)
		r.push_back(l + "\n");
	return r;
}

#define EXPECT_CONTAINS(text, piece) EXPECT_NE(std::string(text).find(piece), std::string::npos) << "missing: " << (piece)
#define EXPECT_LACKS(text, piece) EXPECT_EQ(std::string(text).find(piece), std::string::npos) << "unexpected: " << (piece)
