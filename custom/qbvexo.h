/* The status file zorazu_zove and the result labels of the test screen. */
#ifndef QBVEXO_H
#define QBVEXO_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The one stream of the status file (also used for the device-tree log);
 * opened, read and closed within one handler call. */
extern FILE *file;
/* Number of status lines, one per test. */
extern int MaxLine;

/* Reads up to MaxLine lines from an open stream into the result labels,
 * line N into the label of test N, each label exactly its own line: up to
 * 99 bytes of it, control bytes shown as '?'. */
void processFile(FILE *file, int MaxLine);

/* Sets the result label of status line currentLine (1 to 15) to line;
 * other numbers are ignored. */
void setLabelText(char *line, int currentLine);

#ifdef __cplusplus
}
#endif
#endif
