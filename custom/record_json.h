/* Just enough JSON for the run record: text escaping for the writer, and a
 * small reader for the record a restarted program continues and for
 * tessel-report. */
#ifndef RECORD_JSON_H
#define RECORD_JSON_H

#include <stdint.h>
#include <string>
#include <utility>
#include <vector>

enum json_type { JSON_NULL, JSON_BOOL, JSON_NUMBER, JSON_STRING, JSON_ARRAY, JSON_OBJECT };

struct json_value {
	json_type type = JSON_NULL;
	bool boolean = false;
	double number = 0;
	std::string text;
	std::vector<json_value> items;                            /* array */
	std::vector<std::pair<std::string, json_value>> members;  /* object, in file order */
};

/* Parses a whole document; on failure returns false and says where in `error`. */
bool json_parse(const std::string &text, json_value &out, std::string &error);

/* A member of an object, or NULL when absent or `v` is no object. */
const json_value *json_get(const json_value &v, const char *key);
/* Typed reads of a member with a fallback for absent or mistyped ones. */
std::string json_get_string(const json_value &v, const char *key, const char *fallback);
int64_t json_get_int(const json_value &v, const char *key, int64_t fallback);

/* `s` with every byte sequence that is not valid UTF-8 replaced by U+FFFD,
 * so a script's odd output cannot make the record unreadable. */
std::string utf8_clean(const std::string &s);

/* `s` as a JSON string literal, quotes included (valid UTF-8 assumed). */
std::string json_quote(const std::string &s);

/* `s` escaped for XML 1.0: markup characters as entities, characters XML
 * cannot carry (control codes) dropped; in an attribute, line breaks and
 * tabs become character references so that they survive parsing. */
std::string xml_escape(const std::string &s, bool attribute);

/* Reads a whole file; false (errno set) when it cannot be opened or read. */
bool read_whole_file(const std::string &path, std::string &out);

#endif
