// The platform layer: how a command text reaches the shell.
#include "station/board_shell.h"
#include "sim.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class Shell : public ::testing::Test {
protected:
	void SetUp() override
	{
		if (!sim::inside())
			GTEST_SKIP() << "needs the simulated board (simboard-run)";
		sim::apply({"healthy"});
		sim::enter_fresh_workdir("shell");
	}
	void TearDown() override
	{
		if (sim::inside()) {
			sim::sh("/.simboard/lib/sb-scenario shell bash");
			sim::leave_workdir();
		}
	}
};

// The scripts use [[ ]], arrays, BASH_REMATCH and (( )) loops; they must
// behave the same where /bin/sh is dash (Debian) as on the board.
TEST_F(Shell, RunsBashSyntaxEvenWhenBinShIsDash)
{
	sim::sh("/.simboard/lib/sb-scenario shell dash");
	ASSERT_NE(sim::sh("readlink /bin/sh").find("dash"), std::string::npos);
	tessel_system("a=(x y); [[ abc == a* && ${a[1]} == y ]] && echo -e 'bash\\tok' > out;"
		      "for ((i=0; i<3; i++)); do echo -n $i >> out; done;"
		      "[[ 'card 1:' =~ card[[:space:]]([0-9]+) ]] && echo ${BASH_REMATCH[1]} >> out");
	EXPECT_EQ(sim::read("out"), "bash\tok\n0121\n");
}

TEST_F(Shell, WaitsForTheCommandAndInheritsTheWorkingDirectory)
{
	tessel_system("sleep 0.2; pwd > where");
	ASSERT_TRUE(sim::exists("where"));
	char cwd[4096];
	ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
	EXPECT_EQ(sim::read("where"), std::string(cwd) + "\n");
}

TEST_F(Shell, ReportsTheStatusLikeSystemWithoutStopping)
{
	int ok = tessel_system("true");
	int failed = tessel_system("exit 3");
	int missing = tessel_system("no_such_tool_on_this_board");
	ASSERT_TRUE(WIFEXITED(ok) && WIFEXITED(failed) && WIFEXITED(missing));
	EXPECT_EQ(WEXITSTATUS(ok), 0);
	EXPECT_EQ(WEXITSTATUS(failed), 3);
	EXPECT_EQ(WEXITSTATUS(missing), 127);
	EXPECT_NE(tessel_system(NULL), 0);
}

// The console is a pipe or a file under test and in service logs: output
// buffered by the program must come out before the script's own.
TEST_F(Shell, KeepsTheConsoleInOrder)
{
	sim::Console console;
	console.start();
	printf("first ");
	tessel_system("echo second; echo third >&2");
	printf("fourth\n");
	console.stop();
	EXPECT_EQ(console.out(), "first second\nfourth\n");
	EXPECT_EQ(console.err(), "third\n");
}

TEST_F(Shell, PassesTheTextUnchanged)
{
	// Quotes, line feeds and dollar signs reach bash as written.
	tessel_system("echo -e not yet'\n'not \"$((1+1))\" '$HOME' > out");
	EXPECT_EQ(sim::read("out"), "not yet\nnot 2 $HOME\n");
}

} // namespace
