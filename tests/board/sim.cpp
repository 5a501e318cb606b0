#include "sim.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sim {

static const char kScenarioTool[] = "/.simboard/lib/sb-scenario";
static std::string g_home_dir;

bool inside()
{
	const char *flag = getenv("SIMBOARD");
	return flag != nullptr && std::string(flag) == "1" && access(kScenarioTool, X_OK) == 0;
}

std::string quote(const std::string &s)
{
	std::string q = "'";
	for (char c : s) {
		if (c == '\'')
			q += "'\\''";
		else
			q += c;
	}
	return q + "'";
}

std::string sh(const std::string &command)
{
	fflush(stdout);
	fflush(stderr);
	std::string full = "/bin/bash -c " + quote(command);
	FILE *p = popen(full.c_str(), "r");
	if (p == nullptr)
		throw std::runtime_error("popen failed: " + command);
	std::string out;
	char buf[4096];
	size_t n;
	while ((n = fread(buf, 1, sizeof buf, p)) > 0)
		out.append(buf, n);
	int status = pclose(p);
	if (status != 0)
		throw std::runtime_error("command failed (" + std::to_string(status) + "): " + command);
	return out;
}

void apply(const std::vector<std::string> &scenarios)
{
	std::string cmd = std::string(kScenarioTool) + " apply";
	for (const auto &s : scenarios)
		cmd += " " + s;
	sh(cmd);
}

void put(const std::string &path, const std::string &content)
{
	write("/.simboard/data/put.tmp", content);
	sh(std::string(kScenarioTool) + " put " + quote(path) + " < /.simboard/data/put.tmp");
}

void set(const std::string &key, const std::string &value)
{
	write("/.simboard/data/put.tmp", value);
	sh(std::string(kScenarioTool) + " set " + quote(key) + " < /.simboard/data/put.tmp");
}

std::vector<Call> calls()
{
	std::vector<Call> result;
	for (const auto &l : lines(read("/.simboard/data/calls.log"))) {
		auto tab = l.find('\t');
		if (tab == std::string::npos)
			result.push_back({l, ""});
		else
			result.push_back({l.substr(0, tab), l.substr(tab + 1)});
	}
	return result;
}

std::vector<std::string> calls_of(const std::string &tool)
{
	std::vector<std::string> result;
	for (const auto &c : calls())
		if (c.tool == tool)
			result.push_back(c.args);
	return result;
}

void clear_calls()
{
	write("/.simboard/data/calls.log", "");
}

std::string read(const std::string &path)
{
	std::ifstream in(path, std::ios::binary);
	std::ostringstream s;
	s << in.rdbuf();
	return s.str();
}

bool exists(const std::string &path)
{
	struct stat st;
	return lstat(path.c_str(), &st) == 0;
}

void write(const std::string &path, const std::string &content)
{
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out << content;
	if (!out)
		throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> lines(const std::string &text)
{
	std::vector<std::string> result;
	std::istringstream in(text);
	std::string l;
	while (std::getline(in, l))
		result.push_back(l);
	return result;
}

size_t count(const std::string &text, const std::string &piece)
{
	size_t n = 0;
	for (size_t pos = text.find(piece); pos != std::string::npos; pos = text.find(piece, pos + piece.size()))
		n++;
	return n;
}

std::string enter_fresh_workdir(const std::string &name)
{
	if (g_home_dir.empty()) {
		char cwd[4096];
		if (getcwd(cwd, sizeof cwd) == nullptr)
			throw std::runtime_error("getcwd");
		g_home_dir = cwd;
	}
	std::string dir = "/.simboard/data/work/" + name;
	sh("rm -rf " + quote(dir) + " && " + kScenarioTool + " workdir " + quote(dir));
	if (chdir(dir.c_str()) != 0)
		throw std::runtime_error("chdir " + dir);
	return dir;
}

void leave_workdir()
{
	if (!g_home_dir.empty() && chdir(g_home_dir.c_str()) != 0)
		throw std::runtime_error("chdir back");
}

void Console::start()
{
	fflush(stdout);
	fflush(stderr);
	static int serial = 0;
	std::string base = "/.simboard/data/console." + std::to_string(getpid()) + "." + std::to_string(serial++);
	out_path_ = base + ".out";
	err_path_ = base + ".err";
	int out_fd = open(out_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
	int err_fd = open(err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
	if (out_fd < 0 || err_fd < 0) {
		// Uncaptured output would leave out() and err() empty, and checks
		// that something is absent would pass without looking.
		if (out_fd >= 0)
			close(out_fd);
		if (err_fd >= 0)
			close(err_fd);
		throw std::runtime_error("cannot capture the console in " + base);
	}
	saved_out_ = dup(1);
	saved_err_ = dup(2);
	dup2(out_fd, 1);
	dup2(err_fd, 2);
	close(out_fd);
	close(err_fd);
}

void Console::stop()
{
	if (saved_out_ < 0)
		return;
	fflush(stdout);
	fflush(stderr);
	dup2(saved_out_, 1);
	dup2(saved_err_, 2);
	close(saved_out_);
	close(saved_err_);
	saved_out_ = saved_err_ = -1;
	out_ = read(out_path_);
	err_ = read(err_path_);
	unlink(out_path_.c_str());
	unlink(err_path_.c_str());
}

} // namespace sim

bool sim::running(const std::string &pid_file)
{
	std::string pid = read(pid_file);
	while (!pid.empty() && pid.back() == '\n')
		pid.pop_back();
	std::string stat = pid.empty() ? "" : read("/proc/" + pid + "/stat");
	size_t close = stat.rfind(')');
	return close != std::string::npos && stat.compare(close, 4, ") Z ") != 0;
}

bool sim::ends_soon(const std::string &pid_file)
{
	for (int i = 0; i < 100 && running(pid_file); i++)
		usleep(10000);
	return !running(pid_file);
}
