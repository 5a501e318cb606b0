/* The station's configuration file: `key = value` lines, read once at
 * start. /etc/gui-tessel.conf, or the file the environment variable
 * TESSEL_CONFIG names. No file: nothing is configured and nothing changes.
 *
 *   # the line's server (http or https); uploads are off without it
 *   server = https://line.example:8443/tessel
 *   # default: the host name
 *   station = line2-slot07
 *   # optional: verify the server against this CA instead of the system's
 *   ca_file = /etc/gui-tessel/line-ca.pem
 *   # none (default), basic or bearer; the file holds user:password or the token
 *   auth = bearer
 *   credentials_file = /etc/gui-tessel/credentials
 *   # the operator confirms tones, blinks and pictures (on or off; default off)
 *   confirm = on
 *
 * Blank lines and lines starting with '#' are ignored. A line that is not
 * `key = value`, an unknown or repeated key, or a bad value makes the file
 * bad: one message on the console says why, uploads stay off, and the
 * station runs as ever. Credentials are read from their own file, which
 * must belong to the program's user (root on the board) and be readable by
 * it alone; they are never printed. */
#ifndef STATION_CONFIG_H
#define STATION_CONFIG_H

#include <string>

#define STATION_CONFIG_DEFAULT_PATH "/etc/gui-tessel.conf"
#define STATION_CONFIG_ENV "TESSEL_CONFIG"

/* What uploads need, checked. */
struct upload_config {
	std::string source;       /* the file it came from */
	std::string server;       /* base URL, no trailing '/' */
	std::string station;      /* a checked id (see station_id_ok) */
	std::string ca_file;      /* "" for the system's CAs */
	std::string auth;         /* "", "basic" or "bearer" */
	std::string user, secret; /* basic: user and password; bearer: the token in secret */
};

enum station_config_result {
	STATION_CONFIG_NONE, /* no file, or no server in it: uploads off, nothing said */
	STATION_CONFIG_OK,   /* uploads on */
	STATION_CONFIG_BAD,  /* uploads off; the console has been told why */
};

/* Reads the file (TESSEL_CONFIG, else the default path) and checks the
 * upload keys. On STATION_CONFIG_BAD one "upload: ..." line has gone to
 * standard error. */
station_config_result station_config_load(upload_config &out);

/* The same, for a given path and host name (tests). `missing_ok`: a path
 * that does not exist is STATION_CONFIG_NONE rather than bad. */
station_config_result station_config_load_from(const std::string &path, bool missing_ok, const std::string &hostname,
					       upload_config &out, std::string &why);

/* The file's `confirm` key: 1 on, 0 off, -1 not set (no file, no key, or
 * not on/off). Read on each call; TESSEL_CONFIRM in the environment, where
 * set, comes first (confirm.h). */
int station_config_confirm(void);

/* An id that may become one piece of a URL path and a file name on the
 * server: 1 to 128 of A-Z a-z 0-9 . _ -, not starting with '.' or '-'. */
bool station_id_ok(const std::string &id);

#endif
