#include "uploader.h"

#include "files/file_io.h"
#include "outbox.h"
#include "station_config.h"
#include "tessel_version.h"

#include <curl/curl.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <string>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using json = nlohmann::json;
using Clock = std::chrono::steady_clock;
using ms = std::chrono::milliseconds;

namespace {

const ms kHeartbeat{5000};
const ms kBackoffFirst{5000};
const ms kBackoffMax{60000};
const long kConnectTimeoutMs = 3000;
const long kRequestTimeoutMs = 10000;
/* How long leaving waits for the worker to notice. */
const ms kStopWait{300};
/* The last heartbeat's own limit when leaving ("stopped"), inside kStopWait. */
const long kLastWordMs = 200;

/* Shared between the main thread and the worker; never freed, so that a
 * worker that outlives its bounded join touches nothing destroyed. */
struct shared {
	std::mutex m;
	std::condition_variable cv;
	bool stop = false;
	bool work = false; /* something was noted since the worker last looked */
	bool beat = false; /* the state changed: the heartbeat goes now, not in up to 5 s */
	bool done = false;
	std::string state = "idle";
	std::string run_id;
	std::string station; /* set once at start */
	int wake_fd = -1; /* interrupts a transfer when leaving */
	std::thread thread;
};
shared *g = nullptr;

/* The socket is not inherited by the test scripts the main thread starts. */
curl_socket_t open_socket(void *, curlsocktype, struct curl_sockaddr *a)
{
	return socket(a->family, a->socktype | SOCK_CLOEXEC, a->protocol);
}

size_t discard(char *, size_t size, size_t n, void *) { return size * n; }

class worker {
public:
	worker(const upload_config &cfg, const std::string &workdir, const upload_board &board)
		: cfg_(cfg), workdir_(workdir), board_(board), rng_(std::random_device{}())
	{
	}

	void run()
	{
		multi_ = curl_multi_init();
		easy_ = curl_easy_init();
		std::string current = outbox::recover(workdir_);
		{
			std::lock_guard<std::mutex> hold(g->m);
			if (g->run_id.empty())
				g->run_id = current;
		}
		char text[256];
		board_.serial(text, sizeof text);
		serial_ = text;
		board_.model(text, sizeof text);
		model_ = text;

		Clock::time_point next_heartbeat = Clock::now();
		Clock::time_point retry_at = Clock::now();
		bool pending = true;
		for (;;) {
			if (stopping())
				break;
			if (Clock::now() >= next_heartbeat) {
				next_heartbeat = Clock::now() + kHeartbeat;
				bool was_unanswered = no_answer_;
				if (heartbeat() && was_unanswered) {
					/* the server is back: what waits need not wait out its backoff */
					retry_at = Clock::now();
				}
				continue;
			}
			if (pending && Clock::now() >= retry_at) {
				pending = false;
				int result = drain(next_heartbeat);
				if (result < 0) {
					retry_at = Clock::now() + next_backoff();
					pending = true;
				} else if (result > 0) {
					pending = true; /* the heartbeat came first; go on after it */
				} else {
					backoff_ = ms(0);
				}
			}
			std::unique_lock<std::mutex> lock(g->m);
			if (g->beat) {
				g->beat = false;
				next_heartbeat = Clock::now();
				continue;
			}
			if (g->work) {
				g->work = false;
				pending = true;
				if (Clock::now() >= retry_at)
					continue;
			}
			Clock::time_point until = pending ? std::min(next_heartbeat, retry_at) : next_heartbeat;
			g->cv.wait_until(lock, until, [] { return g->stop || g->work || g->beat; });
		}
		last_word();
		curl_easy_cleanup(easy_);
		curl_multi_cleanup(multi_);
	}

	/* Where a run's files go on the server: runs/<UTC day of its start>/
	 * for the day's yield, and the JSON again under boards/<serial>/ for
	 * the board's history. Both come from the id ("<serial>-<YYYYMMDDT...Z>");
	 * an id of another shape keeps the flat runs/ of old. */
	static std::vector<std::string> run_paths(const std::string &id)
	{
		size_t dash = id.rfind('-');
		bool dated = dash != std::string::npos && dash > 0 && id.size() >= dash + 9 &&
			     std::all_of(id.begin() + dash + 1, id.begin() + dash + 9, [](char c) { return c >= '0' && c <= '9'; });
		if (!dated)
			return {"runs/" + id + ".json", "runs/" + id + ".xml"};
		std::string t = id.substr(dash + 1);
		std::string day = t.substr(0, 4) + "-" + t.substr(4, 2) + "-" + t.substr(6, 2);
		return {"runs/" + day + "/" + id + ".json", "runs/" + day + "/" + id + ".xml",
			"boards/" + id.substr(0, dash) + "/" + id + ".json"};
	}

private:
	/* Leaving in order: the wall shows "stopped" at once instead of "no
	 * contact" after missed beats. Best effort, within the leaving budget. */
	void last_word()
	{
		uint64_t n;
		while (g->wake_fd >= 0 && read(g->wake_fd, &n, sizeof n) > 0) {
			/* emptied, so that the transfer's poll waits again */
		}
		leaving_ = true;
		heartbeat();
	}

	bool stopping()
	{
		std::lock_guard<std::mutex> hold(g->m);
		return g->stop;
	}

	ms next_backoff()
	{
		backoff_ = backoff_.count() == 0 ? kBackoffFirst : std::min(backoff_ * 2, kBackoffMax);
		std::uniform_real_distribution<double> jitter(0.8, 1.2);
		return std::min(ms((long long)(backoff_.count() * jitter(rng_))), kBackoffMax);
	}

	/* Sends what waits, oldest first: 0 when all went, -1 after a failure,
	 * 1 when the heartbeat is due first. */
	int drain(Clock::time_point heartbeat_due)
	{
		for (const std::string &id : outbox::waiting()) {
			if (stopping())
				return 1;
			if (Clock::now() >= heartbeat_due)
				return 1;
			outbox::entry e;
			if (!outbox::read(id, e))
				continue; /* replaced or sent meanwhile; the next listing has it */
			std::vector<std::string> paths = run_paths(id);
			for (const std::string &path : paths) {
				bool xml = path.compare(path.size() - 4, 4, ".xml") == 0;
				if (!put(path, xml ? e.xml : e.json, xml ? "application/xml" : "application/json"))
					return -1;
			}
			outbox::remove_sent(e);
		}
		return 0;
	}

	bool heartbeat()
	{
		std::string state, run_id;
		{
			std::lock_guard<std::mutex> hold(g->m);
			state = g->state;
			run_id = g->run_id;
		}
		std::string status;
		file_io::read_whole(workdir_ + "/zorazu_zove", status);
		json verdicts = json::array();
		size_t pos = 0;
		for (int line = 1; line <= 15; line++) {
			json v = {{"line", line}};
			size_t nl = status.find('\n', pos);
			if (pos < status.size()) {
				std::string text = status.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
				pos = nl == std::string::npos ? status.size() : nl + 1;
				v["verdict"] = text;
				v["outcome"] = board_.outcome(text.c_str(), text.find("(timed out)") != std::string::npos, 0);
			} else {
				v["verdict"] = nullptr;
				v["outcome"] = "not run";
			}
			verdicts.push_back(v);
		}
		json doc = {
			{"station", cfg_.station},
			{"program", "GUI Tessel"},
			{"version", TESSEL_VERSION},
			{"board", {{"serial_number", serial_}, {"model", model_}}},
			{"state", state},
			{"run_id", run_id.empty() ? json(nullptr) : json(run_id)},
			{"verdicts", verdicts},
			{"outbox", outbox::waiting().size()},
			{"upload_error", last_error_.empty() ? json(nullptr) : json(last_error_)},
			{"time", outbox::iso_now()},
			{"heartbeat_s", (int)(kHeartbeat.count() / 1000)},
		};
		bool was_failing = !last_error_.empty();
		bool ok = put("stations/" + cfg_.station + ".json",
			      doc.dump(1, '\t', false, json::error_handler_t::replace) + "\n", "application/json");
		return ok && was_failing;
	}

	/* One PUT; false (and the console told, once per new reason) unless
	 * the server answered 2xx. */
	bool put(const std::string &path, const std::string &body, const char *type)
	{
		std::string url = cfg_.server + "/" + path;
		char errbuf[CURL_ERROR_SIZE] = {0};
		curl_easy_reset(easy_);
		curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
		curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, "PUT");
		curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, body.data());
		curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, (curl_off_t)body.size());
		std::string content_type = std::string("Content-Type: ") + type + "; charset=utf-8";
		struct curl_slist *headers = curl_slist_append(nullptr, content_type.c_str());
		headers = curl_slist_append(headers, "Expect:");
		curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers);
		curl_easy_setopt(easy_, CURLOPT_USERAGENT, "GUI-Tessel/" TESSEL_VERSION);
		curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
		curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, leaving_ ? kLastWordMs : kConnectTimeoutMs);
		curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, leaving_ ? kLastWordMs : kRequestTimeoutMs);
		curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L);
#if LIBCURL_VERSION_NUM >= 0x075500
		curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
#else
		curl_easy_setopt(easy_, CURLOPT_PROTOCOLS, (long)(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
		curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L);
		curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L);
		if (!cfg_.ca_file.empty())
			curl_easy_setopt(easy_, CURLOPT_CAINFO, cfg_.ca_file.c_str());
		if (cfg_.auth == "basic") {
			curl_easy_setopt(easy_, CURLOPT_HTTPAUTH, (long)CURLAUTH_BASIC);
			curl_easy_setopt(easy_, CURLOPT_USERNAME, cfg_.user.c_str());
			curl_easy_setopt(easy_, CURLOPT_PASSWORD, cfg_.secret.c_str());
		} else if (cfg_.auth == "bearer") {
			curl_easy_setopt(easy_, CURLOPT_HTTPAUTH, (long)CURLAUTH_BEARER);
			curl_easy_setopt(easy_, CURLOPT_XOAUTH2_BEARER, cfg_.secret.c_str());
		}
		curl_easy_setopt(easy_, CURLOPT_OPENSOCKETFUNCTION, open_socket);
		curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, discard);
		curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errbuf);

		CURLcode code = perform();
		long status = 0;
		curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
		curl_slist_free_all(headers);
		if (code == CURLE_OK && status >= 200 && status < 300) {
			if (!last_error_.empty()) {
				say("the server answers again");
				last_error_.clear();
				no_answer_ = false;
			}
			return true;
		}
		std::string reason;
		if (code == CURLE_ABORTED_BY_CALLBACK || leaving_)
			return false; /* leaving; the outbox keeps it */
		if (code != CURLE_OK) {
			reason = errbuf[0] != '\0' ? errbuf : curl_easy_strerror(code);
			no_answer_ = true;
		} else {
			reason = "HTTP " + std::to_string(status);
			no_answer_ = false;
		}
		if (reason != last_error_) {
			last_error_ = reason;
			size_t waiting = outbox::waiting().size();
			say("PUT " + url + " failed: " + reason + "; " + std::to_string(waiting) +
			    (waiting == 1 ? " run waits" : " runs wait") + " to be sent, retrying");
		}
		return false;
	}

	/* The transfer, interruptible by upload_stop through the wake fd. */
	CURLcode perform()
	{
		curl_multi_add_handle(multi_, easy_);
		CURLcode result = CURLE_ABORTED_BY_CALLBACK;
		for (;;) {
			int running = 0;
			if (curl_multi_perform(multi_, &running) != CURLM_OK)
				break;
			int left = 0;
			if (CURLMsg *msg = curl_multi_info_read(multi_, &left)) {
				if (msg->msg == CURLMSG_DONE) {
					result = msg->data.result;
					break;
				}
			}
			if (running == 0)
				break;
			struct curl_waitfd wake = {g->wake_fd, CURL_WAIT_POLLIN, 0};
			curl_multi_poll(multi_, &wake, 1, 1000, nullptr);
			if (!leaving_ && stopping())
				break;
		}
		curl_multi_remove_handle(multi_, easy_);
		return result;
	}

	void say(const std::string &text)
	{
		fprintf(stderr, "upload: %s\n", text.c_str());
		fflush(stderr);
	}

	upload_config cfg_;
	std::string workdir_;
	upload_board board_;
	std::mt19937 rng_;
	CURLM *multi_ = nullptr;
	CURL *easy_ = nullptr;
	std::string serial_, model_;
	std::string last_error_; /* the reason of the last failure, "" after a success */
	bool no_answer_ = false; /* it was no HTTP answer at all (down, refused, hanging) */
	bool leaving_ = false;   /* the last heartbeat: short limits, nothing said */
	ms backoff_{0};
};

void note_changed(const std::string &run_id, bool closed, bool noted)
{
	std::lock_guard<std::mutex> hold(g->m);
	if (!closed)
		g->run_id = run_id;
	if (noted) {
		g->work = true;
		g->cv.notify_one();
	}
}

} // namespace

void upload_start(const struct upload_board *board)
{
	if (g != nullptr || board == nullptr)
		return;
	upload_config cfg;
	if (station_config_load(cfg) != STATION_CONFIG_OK)
		return;
	char cwd[4096];
	if (getcwd(cwd, sizeof cwd) == NULL) {
		fprintf(stderr, "upload: cannot tell the working directory: %s; uploads are off\n", strerror(errno));
		return;
	}
	if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
		fprintf(stderr, "upload: libcurl cannot start; uploads are off\n");
		return;
	}
	g = new shared;
	g->station = cfg.station;
	g->wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
	std::string workdir = cwd;
	outbox::enable(workdir + "/Log/outbox", note_changed);
	fprintf(stderr, "upload: sending runs to %s as station %s%s\n", cfg.server.c_str(), cfg.station.c_str(),
		cfg.auth.empty() ? "" : (" with " + cfg.auth + " credentials").c_str());
	if (!cfg.auth.empty() && cfg.server.compare(0, 7, "http://") == 0)
		fprintf(stderr, "upload: warning: credentials go over plain http\n");

	/* Signals stay with the main thread, whose loop handles them. */
	sigset_t all, old;
	sigfillset(&all);
	pthread_sigmask(SIG_SETMASK, &all, &old);
	worker *w = new worker(cfg, workdir, *board);
	g->thread = std::thread([w] {
		w->run();
		delete w;
		std::lock_guard<std::mutex> hold(g->m);
		g->done = true;
		g->cv.notify_all();
	});
	pthread_sigmask(SIG_SETMASK, &old, nullptr);
	/* leaving through exit() (the compositor gone, ...) stops it too */
	atexit(upload_stop);
}

void upload_stop(void)
{
	if (g == nullptr || !g->thread.joinable())
		return;
	std::unique_lock<std::mutex> lock(g->m);
	/* a reboot says more than "stopped" of why the station goes quiet */
	if (g->state != "rebooting")
		g->state = "stopped";
	g->stop = true;
	g->cv.notify_all();
	uint64_t one = 1;
	if (g->wake_fd >= 0 && write(g->wake_fd, &one, sizeof one) < 0) {
		/* the worker still sees `stop` within a second */
	}
	bool done = g->cv.wait_for(lock, kStopWait, [] { return g->done; });
	lock.unlock();
	if (done)
		g->thread.join();
	else
		g->thread.detach(); /* what it was sending stays in the outbox */
}

const char *upload_station_id(void)
{
	return g != nullptr ? g->station.c_str() : nullptr;
}

void upload_set_state(const char *state)
{
	if (g == nullptr || state == nullptr)
		return;
	std::lock_guard<std::mutex> hold(g->m);
	if (g->state == state)
		return;
	g->state = state;
	/* a reboot may come before the next beat: the wall learns of it now */
	g->beat = true;
	g->cv.notify_one();
}
