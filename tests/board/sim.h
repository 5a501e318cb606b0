// Helpers for tests that run inside the simulated board (tests/simboard):
// scenario control, the tool-call log, files, and console capture.
#pragma once

#include <string>
#include <vector>

namespace sim {

// True when running under simboard-run; tests skip themselves otherwise,
// since the board scripts would touch the host.
bool inside();

// Runs a command with bash and returns its standard output.
std::string sh(const std::string &command);
// One shell word for s, single-quoted.
std::string quote(const std::string &s);

// Empty board, then the named scenarios in order ("healthy", ...).
void apply(const std::vector<std::string> &scenarios);
// Writes a file in the simulated board (kernel files, tool settings).
void put(const std::string &path, const std::string &content);
void set(const std::string &key, const std::string &value);

// One recorded tool call: the tool's name and its arguments joined by blanks.
struct Call {
	std::string tool;
	std::string args;
	std::string text() const { return tool + " " + args; }
};
std::vector<Call> calls();
std::vector<std::string> calls_of(const std::string &tool);
void clear_calls();

// Files.
std::string read(const std::string &path);
bool exists(const std::string &path);
void write(const std::string &path, const std::string &content);
std::vector<std::string> lines(const std::string &text);
size_t count(const std::string &text, const std::string &piece);

// Whether the process whose PID a file holds runs (a zombie nobody has
// reaped yet does not count), and whether it ends within a second (a
// signal takes effect a moment after it is sent).
bool running(const std::string &pid_file);
bool ends_soon(const std::string &pid_file);

// A fresh working directory for one test under the board's data directory,
// holding the sound files; the process moves into it.
std::string enter_fresh_workdir(const std::string &name);
void leave_workdir();

// Captures what this process and its children write on stdout and stderr.
class Console {
public:
	void start();
	void stop();
	const std::string &out() const { return out_; }
	const std::string &err() const { return err_; }

private:
	int saved_out_ = -1;
	int saved_err_ = -1;
	std::string out_path_;
	std::string err_path_;
	std::string out_;
	std::string err_;
};

} // namespace sim
