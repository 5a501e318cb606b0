/* The board test scripts and the fixed shell command lines, as handed to
 * the shell. The texts are bash. */
#ifndef BOARD_SCRIPTS_H
#define BOARD_SCRIPTS_H

#ifdef __cplusplus
extern "C" {
#endif

/* Bus and peripheral tests; each writes its own line of zorazu_zove. */
extern const char i2c_script[];          /* line 1 */
extern const char gpio_script[];         /* line 2 */
extern const char uart_script[];         /* line 3 */
extern const char spi_master_script[];   /* line 4 */
extern const char spi_slave_script[];    /* line 5 */
extern const char adc_script[];          /* line 6 */
extern const char pl2303_script[];       /* line 9 */
extern const char rtc_script[];          /* line 15 */

/* Display, audio and camera tests. */
extern const char dsi_script[];          /* line 10 */
extern const char lvds_script[];         /* line 11 */
extern const char audio_script[];        /* line 12 */
extern const char mqs_script[];          /* line 13 */
extern const char csi_script[];          /* line 14 */

/* USB storage: the copy test per port and the kernel-log detection. */
extern const char usb1_script[];         /* line 7 */
extern const char usb2_script[];         /* line 8 */
extern const char usb_detect_both_command[];
extern const char usb_detect_port1_command[];
extern const char usb_detect_port2_command[];

/* Status file creation (15 "not yet" lines) and the log directory. */
extern const char status_file_create_command[];
extern const char log_dir_command[];

/* Device tree: detection log, installation of a variant, reboot. */
extern const char dts_detect_command[];
extern const char *const dtb_install_commands[5];
extern const char reboot_command[];

/* Mixer command lines for sound card 1. */
extern const char hp_switch_on_command[];
extern const char hp_switch_off_command[];
extern const char hp_volume_format[];
extern const char hp_volume_init_command[];
extern const char lo_switch_on_command[];
extern const char lo_switch_off_command[];
extern const char lo_volume_format[];

#ifdef __cplusplus
}
#endif
#endif
