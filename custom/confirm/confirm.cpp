#include "confirm.h"

#include "station/board_runner.h"
#include "files/file_io.h"
#include "gui_tessel.h"
#include "line/station_config.h"

#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>

namespace {

enum class Kind { tones, blinks, picture };

/* What each confirmed test asks. `what` is the playback listing's match
 * for the audio outputs, the brightness file for the backlights and the
 * capture for the camera. */
struct Subject {
	int line;
	Kind kind;
	const char *title;
	const char *ok_verdict;
	const char *what;
	const char *wrong_mark;
};

const Subject kSubjects[] = {
	{10, Kind::blinks, "MIPI-DSI backlight", "MIPI-DSI Test ok", "/sys/class/backlight/dsi_backlight/brightness",
	 " (not seen)"},
	{11, Kind::blinks, "LVDS backlight", "LVDS Test ok", "/sys/class/backlight/lvds_backlight/brightness",
	 " (not seen)"},
	{12, Kind::tones, "Audio sgtl5000", "Audio Default Sgtl5000 ok", "sgtl5000", " (not heard)"},
	{13, Kind::tones, "Audio MQS", "Audio MQS ok", "mqs-audio", " (not heard)"},
	{14, Kind::picture, "CSI camera", "CSI Test ok", "test.jpg", " (not seen)"},
};

const char kNoAnswerMark[] = " (no answer)";
const char kBadPictureMark[] = " (unreadable picture)";
/* The backlight's value before a blink, kept on disk until it is back. */
const char kRestoreNote[] = "backlight.restore";
const uint32_t kBlinkStepMs = 500;
const int kPlayerLimitMs = 20000;
const int kPictureW = 480;
const int kPictureH = 300;

/* Button codes: the counts themselves, and these. */
const intptr_t kNone = 0;
const intptr_t kNo = 100;
const intptr_t kYes = 101;
const intptr_t kAgain = -1;

enum class Phase { closed, playing, asking };

struct Dialog {
	Phase phase = Phase::closed;
	const Subject *subject = nullptr;
	confirm_done_cb done = nullptr;
	void *user = nullptr;
	lv_obj_t *backdrop = nullptr;
	lv_obj_t *message = nullptr;
	lv_obj_t *picture = nullptr;
	std::vector<lv_obj_t *> answers; /* taken only while asking */
	lv_obj_t *again = nullptr;
	lv_timer_t *timer = nullptr;
	uint32_t asked_tick = 0;
	int count = 0;          /* tones played, blinks shown */
	int blink_writes = 0;
	std::string brightness; /* the backlight's value before the blink */
	const char *fail_mark = nullptr; /* ends without asking */
	std::string challenge;
	std::string script;
	lv_img_dsc_t image = {};
};

Dialog g;
/* The picture's pixels outlive the dialog until its objects are gone. */
std::vector<lv_color_t> g_pixels;

const Subject *subject_of(int line)
{
	for (const Subject &s : kSubjects)
		if (s.line == line)
			return &s;
	return nullptr;
}

int random_count(int max)
{
	static std::mt19937 gen{std::random_device{}()};
	return std::uniform_int_distribution<int>(1, max)(gen);
}

std::string read_text(const char *path)
{
	std::string text;
	FILE *f = fopen(path, "r");
	if (f == nullptr)
		return text;
	char buf[256];
	size_t n = fread(buf, 1, sizeof buf, f);
	fclose(f);
	text.assign(buf, n);
	while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
		text.pop_back();
	return text;
}

/* A sysfs attribute takes one write of the value. */
bool write_brightness(const char *path, const std::string &value)
{
	int fd = open(path, O_WRONLY | O_CLOEXEC);
	if (fd < 0)
		return false;
	std::string text = value + "\n";
	bool ok = write(fd, text.data(), text.size()) == (ssize_t)text.size();
	return close(fd) == 0 && ok;
}

/* Whole or not at all, and on disk (its name too) before the first blink. */
bool note_brightness(const char *path, const std::string &value)
{
	return file_io::write_atomically(kRestoreNote, std::string(path) + "\n" + value + "\n", true) == 0;
}

/* libjpeg reports a broken file by calling error_exit, which must not return. */
struct jpeg_failure {
	struct jpeg_error_mgr mgr;
	jmp_buf jump;
};

void on_jpeg_error(j_common_ptr cinfo) { longjmp(((jpeg_failure *)cinfo->err)->jump, 1); }
void on_jpeg_message(j_common_ptr cinfo) { (void)cinfo; }

/* Decodes a JPEG into RGB565, scaled to fit max_w x max_h with its aspect
 * kept: libjpeg reduces by eighths while decoding, the rest is the nearest
 * pixel. False when the file cannot be read as a JPEG. */
bool load_picture(const char *path, int max_w, int max_h, std::vector<lv_color_t> &out, int *w, int *h)
{
	FILE *f = fopen(path, "rb");
	if (f == nullptr)
		return false;
	struct jpeg_decompress_struct cinfo;
	jpeg_failure err;
	cinfo.err = jpeg_std_error(&err.mgr);
	err.mgr.error_exit = on_jpeg_error;
	err.mgr.output_message = on_jpeg_message;
	if (setjmp(err.jump)) {
		jpeg_destroy_decompress(&cinfo);
		fclose(f);
		return false;
	}
	jpeg_create_decompress(&cinfo);
	jpeg_stdio_src(&cinfo, f);
	jpeg_read_header(&cinfo, TRUE);
	cinfo.out_color_space = JCS_RGB;
	double sw = cinfo.image_width, sh = cinfo.image_height;
	double fit = std::min(max_w / sw, max_h / sh);
	int dw = std::max(1, (int)std::lround(sw * fit));
	int dh = std::max(1, (int)std::lround(sh * fit));
	int eighths = (int)std::max(std::ceil(8.0 * dw / sw), std::ceil(8.0 * dh / sh));
	cinfo.scale_num = (unsigned)std::min(8, std::max(1, eighths));
	cinfo.scale_denom = 8;
	jpeg_start_decompress(&cinfo);
	const unsigned ow = cinfo.output_width, oh = cinfo.output_height;
	JSAMPARRAY row = (*cinfo.mem->alloc_sarray)((j_common_ptr)&cinfo, JPOOL_IMAGE, ow * 3, 1);
	out.assign((size_t)dw * dh, lv_color_black());
	int y = 0;
	while (cinfo.output_scanline < oh) {
		unsigned sy = cinfo.output_scanline;
		jpeg_read_scanlines(&cinfo, row, 1);
		/* every picture row whose centre falls in this source row */
		for (; y < dh && (unsigned)((2 * y + 1) * (int64_t)oh / (2 * dh)) == sy; y++) {
			for (int x = 0; x < dw; x++) {
				unsigned sx = (unsigned)((2 * x + 1) * (int64_t)ow / (2 * dw));
				const JSAMPLE *p = row[0] + 3 * sx;
				out[(size_t)y * dw + x] = lv_color_make(p[0], p[1], p[2]);
			}
		}
	}
	jpeg_finish_decompress(&cinfo);
	jpeg_destroy_decompress(&cinfo);
	fclose(f);
	*w = dw;
	*h = dh;
	return true;
}

/* ---- the dialog ------------------------------------------------------- */

void finish(const char *answer, bool ok, const char *mark, bool leaving);
void ask();

void take_answers(bool take)
{
	for (lv_obj_t *b : g.answers) {
		if (take)
			lv_obj_clear_state(b, LV_STATE_DISABLED);
		else
			lv_obj_add_state(b, LV_STATE_DISABLED);
	}
	if (g.again != nullptr) {
		if (take)
			lv_obj_clear_state(g.again, LV_STATE_DISABLED);
		else
			lv_obj_add_state(g.again, LV_STATE_DISABLED);
	}
}

void stop_timer()
{
	if (g.timer != nullptr)
		lv_timer_del(g.timer);
	g.timer = nullptr;
}

void tones_played(const struct runner_outcome *outcome, void *user)
{
	(void)outcome;
	(void)user;
	if (g.phase == Phase::playing)
		ask();
}

/* A new random count each time: a repeat cannot be answered from memory. */
void play_tones()
{
	g.phase = Phase::playing;
	stop_timer();
	take_answers(false);
	g.count = random_count(4);
	g.challenge = std::to_string(g.count) + (g.count == 1 ? " tone" : " tones");
	lv_label_set_text(g.message, "Listen: the tones are playing...");
	/* The same output the test played on, found the way the test finds it. */
	g.script = std::string("aplay_result=$(aplay -l | grep ") + g.subject->what +
		   " 2>&1)\n"
		   "if [[ $aplay_result =~ card[[:space:]]([0-9]+):[[:space:]]([^,]+).*device[[:space:]]([0-9]+):"
		   "[[:space:]]([^]]+) ]]; then\n"
		   "  aplay -D plughw:${BASH_REMATCH[1]},${BASH_REMATCH[3]} Confirm_" +
		   std::to_string(g.count) +
		   ".WAV\n"
		   "else\n"
		   "  echo \"No playback device for the confirmation tones\"\n"
		   "fi\n";
	if (!runner_start(g.script.c_str(), kPlayerLimitMs, tones_played, nullptr)) {
		fprintf(stderr, "gui_tessel: cannot start the confirmation tones\n");
		ask();
	}
}

/* Off, then back to its value, once per blink; then the question. */
void blink_step(lv_timer_t *timer)
{
	(void)timer;
	const char *path = g.subject->what;
	if (g.blink_writes < 2 * g.count) {
		std::string value = g.blink_writes % 2 == 0 ? std::string("0") : g.brightness;
		if (!write_brightness(path, value))
			fprintf(stderr, "gui_tessel: cannot write %s: %s\n", path, strerror(errno));
		g.blink_writes++;
		return;
	}
	stop_timer();
	unlink(kRestoreNote);
	ask();
}

void start_blinks()
{
	g.brightness = read_text(g.subject->what);
	if (g.brightness.empty() || !note_brightness(g.subject->what, g.brightness)) {
		fprintf(stderr, "gui_tessel: cannot note the backlight's value (%s); not blinking it\n",
			g.subject->what);
		g.fail_mark = g.subject->wrong_mark;
		g.challenge = "blinks (backlight unreadable)";
		return;
	}
	g.phase = Phase::playing;
	take_answers(false);
	g.count = random_count(3);
	g.blink_writes = 0;
	g.challenge = std::to_string(g.count) + (g.count == 1 ? " blink" : " blinks");
	lv_label_set_text(g.message, "Watch the backlight...");
	g.timer = lv_timer_create(blink_step, kBlinkStepMs, nullptr);
}

/* A blink cut short: the backlight gets its value back. */
void undo_blink()
{
	if (g.subject->kind != Kind::blinks || g.phase != Phase::playing || g.brightness.empty())
		return;
	write_brightness(g.subject->what, g.brightness);
	unlink(kRestoreNote);
}

void on_limit(lv_timer_t *timer)
{
	(void)timer;
	if (g.fail_mark != nullptr)
		finish(nullptr, false, g.fail_mark, false);
	else
		finish(nullptr, false, kNoAnswerMark, false);
}

void ask()
{
	static const char *const questions[] = {"How many tones did you hear?", "How many times did the backlight blink?",
						"Does the picture show the camera's view?"};
	g.phase = Phase::asking;
	stop_timer();
	take_answers(true);
	lv_label_set_text(g.message, questions[(int)g.subject->kind]);
	g.asked_tick = lv_tick_get();
	g.timer = lv_timer_create(on_limit, CONFIRM_LIMIT_MS, nullptr);
}

void on_button(lv_event_t *e)
{
	if (lv_event_get_code(e) != LV_EVENT_CLICKED || g.phase != Phase::asking)
		return;
	intptr_t code = (intptr_t)lv_event_get_user_data(e);
	if (code == kAgain) {
		play_tones();
		return;
	}
	if (g.subject->kind == Kind::picture) {
		bool yes = code == kYes;
		finish(yes ? "Yes" : "No", yes, g.subject->wrong_mark, false);
		return;
	}
	std::string answer = code == kNone ? "None" : std::to_string(code);
	bool right = code == g.count;
	finish(answer.c_str(), right, g.subject->wrong_mark, false);
}

lv_obj_t *add_label(lv_obj_t *parent, const lv_font_t *font, const char *text)
{
	lv_obj_t *label = lv_label_create(parent);
	lv_obj_set_style_text_font(label, font, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_label_set_text(label, text);
	return label;
}

/* Buttons in one row at the bottom of the panel, centred. */
void add_buttons(lv_obj_t *panel, const std::vector<std::pair<const char *, intptr_t>> &row)
{
	const lv_coord_t w = 100, wide = 150, gap = 14, h = 60;
	lv_coord_t total = 0;
	for (const auto &b : row)
		total += (b.second == kAgain ? wide + gap : w) + gap;
	total -= gap;
	lv_coord_t x = -total / 2;
	for (const auto &b : row) {
		lv_coord_t bw = b.second == kAgain ? wide : w;
		if (b.second == kAgain)
			x += gap; /* set apart from the answers */
		lv_obj_t *btn = lv_btn_create(panel);
		lv_obj_set_size(btn, bw, h);
		lv_obj_align(btn, LV_ALIGN_BOTTOM_MID, (lv_coord_t)(x + bw / 2), 0);
		lv_obj_add_event_cb(btn, on_button, LV_EVENT_CLICKED, (void *)b.second);
		lv_obj_t *caption = add_label(btn, &lv_font_montserratMedium_22, b.first);
		lv_obj_center(caption);
		if (b.second == kAgain)
			g.again = btn;
		else
			g.answers.push_back(btn);
		x += bw + gap;
	}
}

void build()
{
	const Subject &s = *g.subject;
	/* The dimmed screen behind the panel takes every tap outside it. */
	g.backdrop = lv_obj_create(lv_layer_top());
	lv_obj_remove_style_all(g.backdrop);
	lv_obj_set_size(g.backdrop, LV_PCT(100), LV_PCT(100));
	lv_obj_set_style_bg_color(g.backdrop, lv_color_black(), LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_set_style_bg_opa(g.backdrop, LV_OPA_50, LV_PART_MAIN | LV_STATE_DEFAULT);
	lv_obj_add_flag(g.backdrop, LV_OBJ_FLAG_CLICKABLE);
	lv_obj_clear_flag(g.backdrop, LV_OBJ_FLAG_SCROLLABLE);

	lv_obj_t *panel = lv_obj_create(g.backdrop);
	lv_obj_set_size(panel, 780, s.kind == Kind::picture ? 500 : 200);
	lv_obj_center(panel);
	lv_obj_clear_flag(panel, LV_OBJ_FLAG_SCROLLABLE);

	add_label(panel, &lv_font_montserratMedium_24, s.title);
	g.message = add_label(panel, &lv_font_montserratMedium_20, "");
	lv_obj_set_width(g.message, 736);
	lv_obj_align(g.message, LV_ALIGN_TOP_LEFT, 0, 44);

	g.answers.clear();
	g.again = nullptr;
	switch (s.kind) {
	case Kind::tones:
		add_buttons(panel, {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"None", kNone}, {"Play again", kAgain}});
		break;
	case Kind::blinks:
		add_buttons(panel, {{"1", 1}, {"2", 2}, {"3", 3}, {"None", kNone}});
		break;
	case Kind::picture:
		g.picture = lv_img_create(panel);
		lv_img_set_src(g.picture, &g.image);
		lv_obj_align(g.picture, LV_ALIGN_TOP_MID, 0, 84);
		add_buttons(panel, {{"Yes", kYes}, {"No", kNo}});
		break;
	}
}

void finish(const char *answer, bool ok, const char *mark, bool leaving)
{
	if (g.phase == Phase::closed)
		return;
	undo_blink();
	stop_timer();
	double seconds = g.phase == Phase::asking ? lv_tick_elaps(g.asked_tick) / 1000.0 : 0.0;
	std::string answer_text = answer != nullptr ? answer : "";
	std::string challenge = g.challenge;
	confirm_result r = {};
	r.line = g.subject->line;
	r.challenge = challenge.c_str();
	r.answer = answer != nullptr ? answer_text.c_str() : nullptr;
	r.seconds = seconds;
	r.ok = ok;
	r.mark = ok ? nullptr : mark;
	r.leaving = leaving;
	confirm_done_cb done = g.done;
	void *user = g.user;
	/* Gone from the screen now; the objects go at the next timer pass
	 * (this may run inside one of their own events). */
	/* (A closed window took the display and its layers with it.) */
	if (g.backdrop != nullptr && lv_obj_is_valid(g.backdrop)) {
		lv_obj_add_flag(g.backdrop, LV_OBJ_FLAG_HIDDEN);
		lv_obj_del_async(g.backdrop);
	}
	g = Dialog();
	done(&r, user);
}

} // namespace

bool confirm_mode_on(void)
{
	const char *v = getenv("TESSEL_CONFIRM");
	if (v == nullptr || v[0] == '\0') {
		/* the configuration file's key, read once */
		static const int from_file = station_config_confirm();
		return from_file == 1;
	}
	for (const char *on : {"1", "yes", "true", "on"})
		if (strcasecmp(v, on) == 0)
			return true;
	return false;
}

bool confirm_wanted(int line, const char *status_line)
{
	const Subject *s = subject_of(line);
	if (s == nullptr || status_line == nullptr || !confirm_mode_on())
		return false;
	/* the backlights' "ok (Warning : ...)" blinked too: it is asked as well */
	size_t n = strlen(s->ok_verdict);
	return strncmp(status_line, s->ok_verdict, n) == 0 && (status_line[n] == '\0' || status_line[n] == ' ');
}

bool confirm_start(int line, confirm_done_cb done, void *user)
{
	const Subject *s = subject_of(line);
	if (g.phase != Phase::closed || g.fail_mark != nullptr || s == nullptr || done == nullptr)
		return false;
	g = Dialog();
	g.subject = s;
	g.done = done;
	g.user = user;
	if (s->kind == Kind::picture) {
		int w = 0, h = 0;
		if (!load_picture(s->what, kPictureW, kPictureH, g_pixels, &w, &h)) {
			fprintf(stderr, "gui_tessel: %s cannot be read as a JPEG picture\n", s->what);
			g.fail_mark = kBadPictureMark;
			g.challenge = "picture (unreadable)";
		} else {
			g.challenge = "picture " + std::to_string(w) + "x" + std::to_string(h);
			g.image.header.cf = LV_IMG_CF_TRUE_COLOR;
			g.image.header.w = (uint32_t)w;
			g.image.header.h = (uint32_t)h;
			g.image.data_size = (uint32_t)(g_pixels.size() * sizeof(lv_color_t));
			g.image.data = (const uint8_t *)g_pixels.data();
		}
	}
	if (g.fail_mark == nullptr) {
		build();
		if (s->kind == Kind::tones)
			play_tones();
		else if (s->kind == Kind::blinks)
			start_blinks();
		else
			ask();
	}
	if (g.fail_mark != nullptr) {
		/* Failed before asking: said from the next timer pass. */
		if (g.backdrop != nullptr) {
			lv_obj_del(g.backdrop);
			g.backdrop = nullptr;
		}
		g.phase = Phase::playing;
		g.timer = lv_timer_create(on_limit, 0, nullptr);
	}
	return true;
}

bool confirm_active(void) { return g.phase != Phase::closed; }

void confirm_leave(void)
{
	if (g.phase != Phase::closed)
		finish(nullptr, false, g.fail_mark != nullptr ? g.fail_mark : kNoAnswerMark, true);
}

void confirm_restore_backlight(void)
{
	FILE *f = fopen(kRestoreNote, "r");
	if (f == nullptr)
		return;
	char path[512] = "", value[64] = "";
	bool read = fgets(path, sizeof path, f) != nullptr && fgets(value, sizeof value, f) != nullptr;
	fclose(f);
	path[strcspn(path, "\n")] = '\0';
	value[strcspn(value, "\n")] = '\0';
	if (read && path[0] != '\0' && value[0] != '\0' && write_brightness(path, value))
		fprintf(stderr, "gui_tessel: %s put back to %s after an interrupted blink\n", path, value);
	else
		fprintf(stderr, "gui_tessel: cannot put the backlight back from %s\n", kRestoreNote);
	unlink(kRestoreNote);
}

lv_obj_t *confirm_button(const char *caption)
{
	std::vector<lv_obj_t *> all = g.answers;
	if (g.again != nullptr)
		all.push_back(g.again);
	for (lv_obj_t *b : all)
		if (strcmp(lv_label_get_text(lv_obj_get_child(b, 0)), caption) == 0)
			return b;
	return nullptr;
}

lv_obj_t *confirm_picture(void) { return g.picture; }
