#include "record_json.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

/* ---- reading --------------------------------------------------------- */

namespace {
struct json_reader {
	const std::string &s;
	size_t pos;
	std::string error;
};
} // namespace

static const int kMaxDepth = 64;

static void skip_space(json_reader &r)
{
	while (r.pos < r.s.size() && (r.s[r.pos] == ' ' || r.s[r.pos] == '\t' || r.s[r.pos] == '\n' || r.s[r.pos] == '\r'))
		r.pos++;
}

static bool fail(json_reader &r, const char *what)
{
	if (r.error.empty())
		r.error = std::string(what) + " at byte " + std::to_string(r.pos);
	return false;
}

static void append_utf8(std::string &out, uint32_t cp)
{
	if (cp < 0x80) {
		out += (char)cp;
	} else if (cp < 0x800) {
		out += (char)(0xC0 | (cp >> 6));
		out += (char)(0x80 | (cp & 0x3F));
	} else if (cp < 0x10000) {
		out += (char)(0xE0 | (cp >> 12));
		out += (char)(0x80 | ((cp >> 6) & 0x3F));
		out += (char)(0x80 | (cp & 0x3F));
	} else {
		out += (char)(0xF0 | (cp >> 18));
		out += (char)(0x80 | ((cp >> 12) & 0x3F));
		out += (char)(0x80 | ((cp >> 6) & 0x3F));
		out += (char)(0x80 | (cp & 0x3F));
	}
}

static bool read_hex4(json_reader &r, uint32_t &cp)
{
	if (r.pos + 4 > r.s.size())
		return fail(r, "short \\u escape");
	cp = 0;
	for (int i = 0; i < 4; i++) {
		char c = r.s[r.pos++];
		cp <<= 4;
		if (c >= '0' && c <= '9')
			cp |= (uint32_t)(c - '0');
		else if (c >= 'a' && c <= 'f')
			cp |= (uint32_t)(c - 'a' + 10);
		else if (c >= 'A' && c <= 'F')
			cp |= (uint32_t)(c - 'A' + 10);
		else
			return fail(r, "bad \\u escape");
	}
	return true;
}

static bool read_string(json_reader &r, std::string &out)
{
	r.pos++; /* the opening quote */
	out.clear();
	while (r.pos < r.s.size()) {
		unsigned char c = (unsigned char)r.s[r.pos++];
		if (c == '"')
			return true;
		if (c < 0x20)
			return fail(r, "control character in string");
		if (c != '\\') {
			out += (char)c;
			continue;
		}
		if (r.pos >= r.s.size())
			break;
		char e = r.s[r.pos++];
		switch (e) {
		case '"': out += '"'; break;
		case '\\': out += '\\'; break;
		case '/': out += '/'; break;
		case 'b': out += '\b'; break;
		case 'f': out += '\f'; break;
		case 'n': out += '\n'; break;
		case 'r': out += '\r'; break;
		case 't': out += '\t'; break;
		case 'u': {
			uint32_t cp;
			if (!read_hex4(r, cp))
				return false;
			if (cp >= 0xD800 && cp < 0xDC00 && r.pos + 1 < r.s.size() && r.s[r.pos] == '\\' && r.s[r.pos + 1] == 'u') {
				size_t back = r.pos;
				r.pos += 2;
				uint32_t low;
				if (!read_hex4(r, low))
					return false;
				if (low >= 0xDC00 && low < 0xE000)
					cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
				else
					r.pos = back;
			}
			if (cp >= 0xD800 && cp < 0xE000)
				cp = 0xFFFD; /* a lone surrogate */
			append_utf8(out, cp);
			break;
		}
		default:
			return fail(r, "bad escape");
		}
	}
	return fail(r, "unterminated string");
}

static bool read_value(json_reader &r, json_value &v, int depth);

static bool read_literal(json_reader &r, const char *word)
{
	size_t n = strlen(word);
	if (r.s.compare(r.pos, n, word) != 0)
		return fail(r, "unexpected text");
	r.pos += n;
	return true;
}

static bool read_number(json_reader &r, json_value &v)
{
	size_t start = r.pos;
	if (r.s[r.pos] == '-')
		r.pos++;
	size_t digits = r.pos;
	while (r.pos < r.s.size() && strchr("0123456789.eE+-", r.s[r.pos]) != NULL)
		r.pos++;
	if (r.pos == digits)
		return fail(r, "bad number");
	std::string t = r.s.substr(start, r.pos - start);
	char *end = NULL;
	errno = 0;
	v.number = strtod(t.c_str(), &end);
	if (end == NULL || *end != '\0' || !std::isfinite(v.number))
		return fail(r, "bad number");
	v.type = JSON_NUMBER;
	return true;
}

static bool read_value(json_reader &r, json_value &v, int depth)
{
	if (depth > kMaxDepth)
		return fail(r, "nested too deeply");
	skip_space(r);
	if (r.pos >= r.s.size())
		return fail(r, "unexpected end");
	char c = r.s[r.pos];
	if (c == '{') {
		v.type = JSON_OBJECT;
		r.pos++;
		skip_space(r);
		if (r.pos < r.s.size() && r.s[r.pos] == '}') {
			r.pos++;
			return true;
		}
		for (;;) {
			skip_space(r);
			if (r.pos >= r.s.size() || r.s[r.pos] != '"')
				return fail(r, "expected a member name");
			std::string key;
			if (!read_string(r, key))
				return false;
			skip_space(r);
			if (r.pos >= r.s.size() || r.s[r.pos] != ':')
				return fail(r, "expected ':'");
			r.pos++;
			v.members.emplace_back(key, json_value());
			if (!read_value(r, v.members.back().second, depth + 1))
				return false;
			skip_space(r);
			if (r.pos < r.s.size() && r.s[r.pos] == ',') {
				r.pos++;
				continue;
			}
			if (r.pos < r.s.size() && r.s[r.pos] == '}') {
				r.pos++;
				return true;
			}
			return fail(r, "expected ',' or '}'");
		}
	}
	if (c == '[') {
		v.type = JSON_ARRAY;
		r.pos++;
		skip_space(r);
		if (r.pos < r.s.size() && r.s[r.pos] == ']') {
			r.pos++;
			return true;
		}
		for (;;) {
			v.items.emplace_back();
			if (!read_value(r, v.items.back(), depth + 1))
				return false;
			skip_space(r);
			if (r.pos < r.s.size() && r.s[r.pos] == ',') {
				r.pos++;
				continue;
			}
			if (r.pos < r.s.size() && r.s[r.pos] == ']') {
				r.pos++;
				return true;
			}
			return fail(r, "expected ',' or ']'");
		}
	}
	if (c == '"') {
		v.type = JSON_STRING;
		return read_string(r, v.text);
	}
	if (c == 't') {
		v.type = JSON_BOOL;
		v.boolean = true;
		return read_literal(r, "true");
	}
	if (c == 'f') {
		v.type = JSON_BOOL;
		return read_literal(r, "false");
	}
	if (c == 'n') {
		v.type = JSON_NULL;
		return read_literal(r, "null");
	}
	return read_number(r, v);
}

bool json_parse(const std::string &text, json_value &out, std::string &error)
{
	json_reader r{text, 0, std::string()};
	out = json_value();
	bool ok = read_value(r, out, 0);
	if (ok) {
		skip_space(r);
		if (r.pos != text.size())
			ok = fail(r, "text after the document");
	}
	error = r.error;
	return ok;
}

const json_value *json_get(const json_value &v, const char *key)
{
	if (v.type != JSON_OBJECT)
		return NULL;
	for (const auto &m : v.members)
		if (m.first == key)
			return &m.second;
	return NULL;
}

std::string json_get_string(const json_value &v, const char *key, const char *fallback)
{
	const json_value *m = json_get(v, key);
	return m != NULL && m->type == JSON_STRING ? m->text : std::string(fallback);
}

int64_t json_get_int(const json_value &v, const char *key, int64_t fallback)
{
	const json_value *m = json_get(v, key);
	if (m == NULL || m->type != JSON_NUMBER || std::fabs(m->number) > 9.0e15)
		return fallback;
	return (int64_t)std::llround(m->number);
}

/* ---- writing --------------------------------------------------------- */

/* Length of the valid UTF-8 sequence at s[i], 0 if there is none. */
static size_t utf8_sequence(const std::string &s, size_t i)
{
	unsigned char c = (unsigned char)s[i];
	if (c < 0x80)
		return 1;
	size_t n;
	uint32_t min;
	uint32_t cp;
	if ((c & 0xE0) == 0xC0) {
		n = 2, min = 0x80, cp = c & 0x1F;
	} else if ((c & 0xF0) == 0xE0) {
		n = 3, min = 0x800, cp = c & 0x0F;
	} else if ((c & 0xF8) == 0xF0) {
		n = 4, min = 0x10000, cp = c & 0x07;
	} else {
		return 0;
	}
	if (i + n > s.size())
		return 0;
	for (size_t k = 1; k < n; k++) {
		unsigned char t = (unsigned char)s[i + k];
		if ((t & 0xC0) != 0x80)
			return 0;
		cp = (cp << 6) | (t & 0x3F);
	}
	if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
		return 0;
	return n;
}

std::string utf8_clean(const std::string &s)
{
	std::string out;
	out.reserve(s.size());
	for (size_t i = 0; i < s.size();) {
		size_t n = utf8_sequence(s, i);
		if (n == 0) {
			out += "\xEF\xBF\xBD";
			i++;
		} else {
			out.append(s, i, n);
			i += n;
		}
	}
	return out;
}

std::string json_quote(const std::string &s)
{
	std::string out;
	out.reserve(s.size() + 2);
	out += '"';
	for (unsigned char c : s) {
		switch (c) {
		case '"': out += "\\\""; break;
		case '\\': out += "\\\\"; break;
		case '\n': out += "\\n"; break;
		case '\r': out += "\\r"; break;
		case '\t': out += "\\t"; break;
		default:
			if (c < 0x20) {
				char buf[8];
				snprintf(buf, sizeof buf, "\\u%04x", c);
				out += buf;
			} else {
				out += (char)c;
			}
		}
	}
	out += '"';
	return out;
}

std::string xml_escape(const std::string &s, bool attribute)
{
	std::string out;
	out.reserve(s.size());
	for (unsigned char c : s) {
		switch (c) {
		case '<': out += "&lt;"; break;
		case '>': out += "&gt;"; break;
		case '&': out += "&amp;"; break;
		case '"': out += "&quot;"; break;
		case '\'': out += "&apos;"; break;
		case '\n': out += attribute ? "&#10;" : "\n"; break;
		case '\r': out += "&#13;"; break; /* parsers turn a raw CR into LF */
		case '\t': out += attribute ? "&#9;" : "\t"; break;
		default:
			if (c >= 0x20 && c != 0x7F)
				out += (char)c;
		}
	}
	return out;
}

bool read_whole_file(const std::string &path, std::string &out)
{
	FILE *f = fopen(path.c_str(), "rb");
	if (f == NULL)
		return false;
	out.clear();
	char buf[8192];
	size_t n;
	while ((n = fread(buf, 1, sizeof buf, f)) > 0)
		out.append(buf, n);
	bool ok = !ferror(f);
	int saved = errno;
	fclose(f);
	errno = saved;
	return ok;
}
