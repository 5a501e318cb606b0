# Scenarios of the simulated board. `sb-scenario apply healthy X Y` starts
# from an empty board (no devices, no kernel files, no disk) and runs
# scn_healthy, scn_X, scn_Y in that order; every scenario after `healthy`
# breaks one thing.

KERNEL_LOG_BOOT='[    0.000000] Booting Linux on physical CPU 0x0000000000 [0x412fd050]
[    0.000000] Linux version 6.1.55-qbvexo (oe-user@oe-host) (aarch64-poky-linux-gcc (GCC) 13.2.0) #1 SMP PREEMPT
[    0.000000] Machine model: QB-VEXO i.MX93 board Default
[    0.000000] efi: UEFI not found.
[    1.203311] ci_hdrc ci_hdrc.0: EHCI Host Controller
[    1.211020] ci_hdrc ci_hdrc.1: EHCI Host Controller
[    1.690412] usb 1-1: new high-speed USB device number 2 using ci_hdrc
[    1.850221] hub 1-1:1.0: USB hub found
'

scn_healthy() {
    # Kernel files.
    sb_put /proc/interrupts '           CPU0       CPU1
 11:     104211      98410     GICv3  30 Level     arch_timer
 14:          0          0     GICv3  23 Level     arm-pmu
 25:       2210          0     GICv3  51 Level     44350000.i2c
 26:        813          0     GICv3  52 Level     42530000.i2c
210:          0          0  gpio-vf610  23 Edge      Key-K1
211:          0          0  gpio-vf610  24 Edge      Key-K2
IPI0:      1031       1203       Rescheduling interrupts
Err:          0
'
    sb_put /proc/bus/input/devices 'I: Bus=0019 Vendor=0001 Product=0001 Version=0100
N: Name="gpio-keys"
P: Phys=gpio-keys/input0
S: Sysfs=/devices/platform/gpio-keys/input/input0
U: Uniq=
H: Handlers=kbd event0
B: PROP=0
B: EV=3
B: KEY=3 0 0

'
    sb_put /proc/asound/cards ' 0 [mqsaudio       ]: simple-card - mqs-audio
                      mqs-audio
 1 [sgtl5000audio  ]: simple-card - sgtl5000-audio
                      sgtl5000-audio
'
    sb_put /sys/kernel/debug/pwm 'platform/44310000.pwm, 1 PWM device
 pwm-0   (dsi_backlight       ): requested enabled period: 50000 ns duty: 25000 ns polarity: normal

platform/42500000.pwm, 1 PWM device
 pwm-0   (lvds_backlight      ): requested enabled period: 50000 ns duty: 25000 ns polarity: normal
'
    sb_put /sys/kernel/debug/usb/ci_hdrc.0/role $'host\n'
    sb_put /sys/kernel/debug/usb/ci_hdrc.1/role $'host\n'
    local b
    for b in dsi_backlight lvds_backlight; do
        sb_put /sys/class/backlight/$b/brightness $'50\n'
        sb_put /sys/class/backlight/$b/max_brightness $'100\n'
    done
    sb_put '/sys/bus/iio/devices/iio:device0/in_voltage0_raw' $'4000\n'
    sb_put '/sys/bus/iio/devices/iio:device0/in_voltage1_raw' $'3700\n'
    sb_put '/sys/bus/iio/devices/iio:device0/in_voltage2_raw' $'2000\n'
    sb_put '/sys/bus/iio/devices/iio:device0/in_voltage3_raw' $'2\n'
    sb_put /sys/class/spi_slave/spi0/uevent $'OF_NAME=spi\nOF_FULLNAME=/soc@0/bus@42000000/spi@42550000\nOF_COMPATIBLE_0=fsl,imx7ulp-spi\nOF_COMPATIBLE_N=1\n'

    # Device nodes.
    sb_dev ttyLP0 ttyLP5 spidev0.0 ttyUSB0 rtc0 rtc1 video0 i2c-0 i2c-1 i2c-2
    sb_serial loopback || return 1

    # Tools.
    sb_busy "0 0x0a" "1 0x22" "1 0x25" "2 0x32"
    sb_set memtool_word 00000005
    sb_set aplay_list 'card 0: mqsaudio [mqs-audio], device 0: HiFi mqs-dai-0 [HiFi mqs-dai-0]
  Subdevices: 1/1
  Subdevice #0: subdevice #0
card 1: sgtl5000audio [sgtl5000-audio], device 0: HiFi sgtl5000-0 [HiFi sgtl5000-0]
  Subdevices: 1/1
  Subdevice #0: subdevice #0
'
    sb_set amixer_cards $'0\n1\n'
    sb_set camera ok
    sb_set dmesg "$KERNEL_LOG_BOOT[    3.512007] usb 2-1: new high-speed USB device number 2 using ci_hdrc
[    4.120331] usb 1-1.7: new high-speed USB device number 3 using ci_hdrc
"

    # Identity: the SoC's serial, the device tree's model and serial, the host name.
    sb_put /sys/devices/soc0/serial_number $'3A1C29F40B7D5E66\n'
    # (device-tree strings end in NUL, which a shell word cannot hold)
    printf 'QB-VEXO i.MX93 board\0' | sb_put /sys/firmware/devicetree/base/model
    printf 'QBV-000417\0' | sb_put /sys/firmware/devicetree/base/serial-number
    sb_hostname qbvexo-0417

    # Storage.
    sb_boot normal || return 1
    dtb_image qb-vexo-default > "$DTB_DATA/qb-vexo.dtb"
    sb_usb_disk mounted
}

# --- I2C ---
scn_i2c_bus1_no_0x25() { sb_free "1 0x25"; }
scn_i2c_bus0_empty() { sb_free "0 0x0a"; }
scn_i2c_bus1_no_0x22() { sb_free "1 0x22"; }

# --- GPIO keys ---
scn_gpio_no_keys() {
    sb_put /proc/interrupts '           CPU0       CPU1
 11:     104211      98410     GICv3  30 Level     arch_timer
'
}
# The only way the key listing can fail the test: a line naming a key that
# carries a "No such file or directory" text.
scn_gpio_key_error() {
    sb_put /proc/interrupts '           CPU0       CPU1
210:          0          0  gpio-vf610  23 Edge      Key-K1 (No such file or directory)
'
}

# --- UART7 ---
scn_uart_dead_line() { sb_serial dead; }
scn_uart_no_lp5() { rm -f /dev/ttyLP5; }
scn_uart_no_lp6() { sb_serial none; }
scn_uart_memtool_bad() { sb_set memtool_word 00000000; }

# --- SPI3 (the master and the slave need different device trees) ---
scn_spi_master_dtb() { rm -rf /sys/class/spi_slave; }
scn_spi_slave_dtb() { rm -f /dev/spidev0.0; }
scn_spi_cannot_open() { sb_set spidev_fail 1; }

# --- ADC ---
scn_adc_ch1_at_limit() { sb_put '/sys/bus/iio/devices/iio:device0/in_voltage1_raw' $'3900\n'; }
scn_adc_ch0_low() { sb_put '/sys/bus/iio/devices/iio:device0/in_voltage0_raw' $'3899\n'; }
scn_adc_ch2_missing() { rm -f '/sys/bus/iio/devices/iio:device0/in_voltage2_raw'; }

# --- USB storage ---
usb_log() { sb_set dmesg "$KERNEL_LOG_BOOT$1"; }
scn_usb_port1_only() {
    usb_log '[    3.512007] usb 2-1: new high-speed USB device number 2 using ci_hdrc
'
}
scn_usb_port2_only() {
    usb_log '[    4.120331] usb 1-1.7: new high-speed USB device number 3 using ci_hdrc
'
}
scn_usb_port1_last() {
    usb_log '[    3.512007] usb 1-1.7: new high-speed USB device number 3 using ci_hdrc
[    9.004511] usb 2-1: new high-speed USB device number 4 using ci_hdrc
'
}
scn_usb_port2_disconnected() {
    usb_log '[    3.512007] usb 2-1: new high-speed USB device number 2 using ci_hdrc
[    4.120331] usb 1-1.7: new high-speed USB device number 3 using ci_hdrc
[   20.771002] usb 1-1.7: USB disconnect, device number 3
'
}
scn_usb_port1_disconnected() {
    usb_log '[    3.512007] usb 2-1: new high-speed USB device number 2 using ci_hdrc
[   20.771002] usb 2-1: USB disconnect, device number 2
'
}
scn_usb_no_log() { usb_log ''; }
scn_usb_unmounted() { sb_usb_disk unmounted; }
scn_usb_disk_full() { sb_usb_disk full; }
scn_usb_no_role() { rm -rf /sys/kernel/debug/usb; }

# --- PL2303 ---
scn_pl2303_missing() { rm -f /dev/ttyUSB0; }

# --- Backlights ---
scn_pwm_missing() { rm -f /sys/kernel/debug/pwm; }
scn_pwm_no_dsi() {
    sb_put /sys/kernel/debug/pwm 'platform/42500000.pwm, 1 PWM device
 pwm-0   (lvds_backlight      ): requested enabled period: 50000 ns duty: 25000 ns polarity: normal
'
}
scn_dsi_no_brightness() { rm -rf /sys/class/backlight/dsi_backlight; }
# A driver that caps the brightness at 50: writing 60 reads back 50.
scn_backlight_clamp() { sb_set backlight_cap 50; }

# --- Audio ---
scn_audio_no_cards() { sb_rm /proc/asound/cards; }
scn_audio_no_sgtl5000() {
    sb_put /proc/asound/cards ' 0 [mqsaudio       ]: simple-card - mqs-audio
                      mqs-audio
'
}
scn_audio_no_mqs() {
    sb_put /proc/asound/cards ' 1 [sgtl5000audio  ]: simple-card - sgtl5000-audio
                      sgtl5000-audio
'
}
# The cards are known but no playback device is listed for them.
scn_audio_no_playback_devices() {
    sb_set aplay_list 'card 0: mqsaudio [mqs-audio], no playback device
card 1: sgtl5000audio [sgtl5000-audio], no playback device
'
}
scn_audio_player_fails() { sb_set aplay_fail 1; }
scn_mixer_no_card() { sb_set amixer_cards ''; }

# --- Camera ---
scn_camera_empty() { sb_set camera empty; }
scn_camera_none() { sb_set camera none; }
scn_camera_missing() { rm -f /dev/video0; }
scn_camera_hang() { sb_set camera hang; }
scn_camera_hang_hard() { sb_set camera hang_hard; }

# --- RTC ---
scn_rtc_missing() { rm -f /dev/rtc1; }
scn_rtc_not_busy() { sb_free "2 0x32"; }

# --- Device tree and reboot ---
scn_boot_full() { sb_boot full; }
scn_boot_readonly() { sb_boot readonly; }
scn_boot_unmounted() { sb_boot unmounted; }
scn_reboot_fails() { sb_set reboot_fail 1; }

# --- Identity ---
# Nothing says who the board is: no SoC serial, no device-tree model or
# serial, no host name.
scn_identity_none() {
    rm -rf /sys/devices/soc0 /sys/firmware/devicetree
    sb_hostname '(none)'
}
# A SoC driver without a serial: only the device tree's.
scn_serial_dt_only() { rm -rf /sys/devices/soc0; }

# --- Benchmark: time the fixed sleeps and the copies separately ---
scn_timing() {
    : > "$DATA/timing.log"
    local tool
    for tool in sleep dd cp cmp sync; do
        sb_shim "$tool" <<SHIM
#!/bin/bash
start=\$EPOCHREALTIME
/usr/bin/$tool "\$@"
rc=\$?
echo "$tool \$start \$EPOCHREALTIME" >> $DATA/timing.log
exit \$rc
SHIM
    done
}
