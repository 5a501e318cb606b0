/* State shared by the board-test and board-control handlers (their
 * prototypes are in events_init.h). */
#ifndef BOARD_HANDLERS_H
#define BOARD_HANDLERS_H

#ifdef __cplusplus
extern "C" {
#endif

/* The command buffer: shell commands that are built at run time (and the
 * status-file creation command) are written here and run from here. */
extern char command_out[2048];

/* Last values set on the headphone and line-out sliders (0 at start). */
extern int HD_volume;
extern int LO_volume;

/* True while a test, a reboot or an operator's confirmation is under way:
 * taps on the station's buttons are dropped meanwhile. */
bool station_busy(void);

/* Looks in the kernel log for a USB disk on port 1 or 2 and, if the
 * port's last log line is a new device, runs that port's copy test. */
void usb_detect_port(int port);

#ifdef __cplusplus
}
#endif
#endif
