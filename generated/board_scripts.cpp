#include "board_scripts.h"

/* Conventions of every test script: it runs in the working directory (the
 * one holding zorazu_zove and Log/), prints on the application's console,
 * and ends by rewriting its own status line with `sed -i`. Run all reads
 * "Failed" with a capital F as "run again" and "failed" as "done", so the
 * spelling of each verdict matters. */

const char i2c_script[] = R"SH(#!/bin/bash
echo -e "I2C Test ===================================\n"
i2cdetect -r -y 0
i2cdetect -r -y 1
i2cdetect -r -y 2
i2c1_devices=("0x0a")
i2c2_devices=("0x22" "0x25")
i2c3_devices=("0x32")
# A driver that holds an address makes i2cdump report it busy: that is how
# a probed device shows up without forcing the dump.
i2c1_result="ok"
for device in "${i2c1_devices[@]}"; do
    if ! i2cdump -y 0 "$device" 2>&1 | grep -q "Device or resource busy"; then
        i2c1_result="failed"
        break
    fi
done
i2c2_result="ok"
for device in "${i2c2_devices[@]}"; do
    if ! i2cdump -y 1 "$device" 2>&1 | grep -q "Device or resource busy"; then
        i2c2_result="failed"
        break
    fi
done
i2c3_result="ok"
for device in "${i2c3_devices[@]}"; do
    if ! i2cdump -y 2 "$device" 2>&1 | grep -q "Device or resource busy"; then
        i2c3_result="failed"
        break
    fi
done
if [[ $i2c1_result == "ok" && $i2c2_result == "ok" && $i2c3_result == "ok" ]]; then
    echo "I2C Test ok"
    sed -i "1s/.*/I2C Test ok/" "zorazu_zove"
else
    echo "I2C Test failed"
    sed -i "1s/.*/I2C Test failed/" "zorazu_zove"
fi
)SH";

const char gpio_script[] = R"SH(#!/bin/bash
echo -e "GPIO Key Test ==================================\n"
result=$(cat /proc/interrupts | grep -i  key 2>&1)
cat /proc/interrupts | grep -i  key 2>&1 > Log/Log_GPIO
if [[ $result != *"No such file or directory"* ]]; then
    device_result=$(cat /proc/bus/input/devices)
    cat /proc/bus/input/devices >> Log/Log_GPIO
    echo -e "GPIO Key Test ok \n"
    echo -e "Result is valid: $result \n"
    echo -e "Device Result is valid: $device_result \n"
    sed -i "2s/.*/GPIO Key Test ok/" "zorazu_zove"
else
    echo -e "GPIO Key Test Failed \n"
    echo -e "Result is invalid: $result \n"
    sed -i "2s/.*/GPIO Key Test Failed/" "zorazu_zove"
fi
)SH";

const char uart_script[] = R"SH(#!/bin/bash
echo -e "UART7 Test =================================\n"
result=$(ls /dev/ttyLP* 2>&1)
if [[ $result == *"/dev/ttyLP0"* && $result == *"/dev/ttyLP5"* && $result == *"/dev/ttyLP6"* ]]; then
    memtool_result=$(/unit_tests/memtool 0x443C0030 1 2>&1)
    if [[ $memtool_result == *"0x443C0030:  00000005"* ]]; then
        echo -e "Result of memtool is valid: $result \n"
        echo -e "memtool Result is valid: $memtool_result \n"
        # Loopback: listen on the port, send one line, collect what came back.
        exec 3</dev/ttyLP6
        stty -F /dev/ttyLP6 115200 raw -echo
        cat <&3 > ./uart &
        PID=$!
        echo "uart test" > /dev/ttyLP6
        sleep 1
        kill $PID
        wait $PID 2>/dev/null
        exec 3<&-
        cat ./uart
        expected="uart test"
        actual=$(cat ./uart)
        if [[ "$actual" == "$expected" ]]; then
            echo "UART content is correct."
            echo -e "UART7 Test ok \n"
            sed -i "3s/.*/UART7 Test ok/" "zorazu_zove"
        else
            echo "UART content is incorrect."
            sed -i "3s/.*/UART7 Test failed/" "zorazu_zove"
        fi
        rm ./uart
    else
        echo -e "UART7 Test failed \n"
        echo -e "Result is valid: $result \n"
        echo -e "memtool Result is invalid: $memtool_result \n"
        sed -i "3s/.*/UART7 Test failed/" "zorazu_zove"
    fi
else
    echo -e "UART7 Test failed : Please confirm that the Device Tree is set to qb-vexo-lpuart7.dtb \n"
    echo -e "Result is invalid: $result \n"
    sed -i "3s/.*/UART7 Test failed/" "zorazu_zove"
fi
)SH";

const char spi_master_script[] = R"SH(#!/bin/bash
echo -e "SPI3 Master Test ===================================\n"
result=$(ls /dev/spidev0.0 2>&1)
ls /dev/spidev0.0 2>&1 > Log/Log_SPI
if [[ $result == "/dev/spidev0.0" ]]; then
    spidev_result=$(spidev_test -D /dev/spidev0.0 -v -p 12 -s 5000000 2>&1)
    spidev_test -D /dev/spidev0.0 -v -p 12 -s 5000000 2>&1 >> Log/Log_SPI
    if [[ $spidev_result != *"can't open device"* ]]; then
        echo -e "SPI3 Master Test ok \n"
        echo "Result is valid: $result"
        echo "spidev Result is valid: $spidev_result"
        sed -i "4s/.*/SPI3 Master Test ok/" "zorazu_zove"
    else
        echo -e "SPI3 Master Test Failed \n"
        echo "Result is valid: $result"
        echo -e "Result is invalid: $spidev_result \n"
        sed -i "4s/.*/SPI3 Master Test Failed/" "zorazu_zove"
    fi
else
    echo -e "SPI3 Master Test Failed : Please confirm that the Device Tree is set to qb-vexo-lpspi.dtb \n"
    echo -e "Result is invalid: $result \n"
    sed -i "4s/.*/SPI3 Master Test Failed/" "zorazu_zove"
fi
)SH";

const char spi_slave_script[] = R"SH(#!/bin/bash
echo -e "Test : SPI3 Slave Test ==================================\n"
result=$(cat /sys/class/spi_slave/spi0/uevent 2>&1)
cat /sys/class/spi_slave/spi0/uevent 2>&1 >> Log/Log_SPI
if [[ $result != *"No such file or directory"* ]]; then
    echo -e "SPI3 Slave Test ok \n"
    echo -e "Result is valid: $result \n"
    sed -i "5s/.*/SPI3 Slave Test ok/" "zorazu_zove"
else
    echo -e "SPI3 Slave Test Failed : Please confirm that the Device Tree is set to qb-vexo-lpspi-slave.dtb \n"
    echo -e "Result is invalid: $result \n"
    sed -i "5s/.*/SPI3 Slave Test Failed/" "zorazu_zove"
fi
)SH";

/* An unreadable channel gives an empty value, which `[ -ge ]` rejects, so it
 * counts as out of range rather than as 0. */
const char adc_script[] = R"SH(#!/bin/bash
result="ok"
echo -e "ADC Slave Test ==================================\n"
lowest=(3900 3600 1900 0)
highest=(4200 3900 2100 5)
for channel in 0 1 2 3; do
    value=$(cat /sys/bus/iio/devices/iio\:device0/in_voltage${channel}_raw)
    if [ "$value" -ge "${lowest[$channel]}" ] && [ "$value" -le "${highest[$channel]}" ]; then
        echo "The value of in_voltage${channel}_raw is $value and is within range"
    else
        echo "The value of in_voltage${channel}_raw is $value and is not within range"
        result="failed"
    fi
done
if [[ $result == "ok" ]]; then
    echo "ADC Test ok"
    sed -i "6s/.*/ADC Test ok/" "zorazu_zove"
else
    echo "ADC Test failed"
    sed -i "6s/.*/ADC Test failed/" "zorazu_zove"
fi
)SH";

const char pl2303_script[] = R"SH(#!/bin/bash
echo -e "PL2303 Test =================================\n"
result=$(ls /dev/ttyUSB0 2>&1)
ls /dev/ttyUSB0 2>&1 > Log/Log_PL2303
if [[ $result == "/dev/ttyUSB0" ]]; then
    sed -i "9s/.*/PL2303 Test ok/" "zorazu_zove"
else
    sed -i "9s/.*/PL2303 Test failed/" "zorazu_zove"
fi
)SH";

/* The RTC chip is driven by the kernel, so its address must read busy. */
const char rtc_script[] = R"SH(#!/bin/bash
result_rtc=$(ls /dev/rtc* 2>&1)
if [[ $result_rtc == *"/dev/rtc1"* ]]; then
    echo -e "Found RTC Deivce \n"
    echo -e "Result is valid $result_rtc \n"
    if [[ $(i2cdump -y 2 0x32 2>&1) != *"Device or resource busy"* ]]; then
        i2cdetect -r -y 2
        echo -e "Result is invalid: \n"
        i2cdump -y 2 0x32
        echo -e "RTC Test Failed \n"
        sed -i "15s/.*/RTC Test failed/" "zorazu_zove"
    else
        i2cdetect -r -y 2
        echo -e "RTC Test ok \n"
        sed -i "15s/.*/RTC Test ok/" "zorazu_zove"
    fi
else
    echo -e "Result is invalid: $result_rtc \n"
    i2cdetect -r -y 2
    echo -e "Result is invalid: $result_rtc2 \n"
    echo -e "RTC Test Failed \n"
    sed -i "15s/.*/RTC Test failed/" "zorazu_zove"
fi
)SH";

/* The two backlight tests differ only in names, log, line and pause. */
#define BACKLIGHT_SCRIPT(TITLE, BANNER_RULE, NAME, LOG, LINE, PAUSE)                                   \
	"#!/bin/bash\n"                                                                                \
	"echo -e \"" TITLE " Test " BANNER_RULE "\\n\"\n"                                              \
	"result=$(cat /sys/kernel/debug/pwm 2>&1)\n"                                                   \
	"cat /sys/kernel/debug/pwm 2>&1 > " LOG "\n"                                                   \
	"if [[ $result != *\"No such file or directory\"* && $result == *\"" NAME "\"* ]]; then\n"     \
	"    brightness_result=$(cat /sys/class/backlight/" NAME "/brightness 2>&1)\n"                 \
	"    cat /sys/class/backlight/" NAME "/brightness 2>&1 >> " LOG "\n"                           \
	"    if [[ -e /sys/class/backlight/" NAME "/brightness ]]; then\n"                             \
	"        echo -e \"" TITLE " Test ok \\n\"\n"                                                   \
	"        for ((i=20; i<=100; i+=20)); do\n"                                                    \
	"            echo $i > /sys/class/backlight/" NAME "/brightness\n"                             \
	"            brightness=$(cat /sys/class/backlight/" NAME "/brightness)\n"                     \
	"            cat /sys/class/backlight/" NAME "/brightness >> " LOG "\n"                        \
	"            if [[ \"$brightness\" == \"$i\" ]]; then\n"                                       \
	"                echo \"Brightness set to $i\"\n"                                              \
	"                sed -i \"" LINE "s/.*/" TITLE " Test ok/\" \"zorazu_zove\"\n"                 \
	"                sleep " PAUSE "\n"                                                            \
	"            else\n"                                                                           \
	"                echo \"Failed to set brightness to $i\"\n"                                    \
	"                sed -i \"" LINE "s/.*/" TITLE " Test ok (Warning : Failed to set brightness)/\" \"zorazu_zove\"\n" \
	"                break\n"                                                                      \
	"            fi\n"                                                                             \
	"        done\n"                                                                               \
	"    else\n"                                                                                   \
	"        echo -e \"" TITLE " Test Failed \\n\"\n"                                              \
	"        echo -e \"Result is invalid: $result \\n\"\n"                                         \
	"        echo -e \"Brightness Result is invalid: $brightness_result \\n\"\n"                   \
	"        sed -i \"" LINE "s/.*/" TITLE " Test Failed/\" \"zorazu_zove\"\n"                     \
	"    fi\n"                                                                                     \
	"else\n"                                                                                       \
	"    echo -e \"" TITLE " Test Failed \\n\"\n"                                                  \
	"    echo -e \"Result is invalid: $result \\n\"\n"                                             \
	"    sed -i \"" LINE "s/.*/" TITLE " Test Failed/\" \"zorazu_zove\"\n"                         \
	"fi\n"

const char dsi_script[] =
	BACKLIGHT_SCRIPT("MIPI-DSI", "==================================", "dsi_backlight", "Log/Log_DSI", "10", "0.2");
const char lvds_script[] =
	BACKLIGHT_SCRIPT("LVDS", "==================================", "lvds_backlight", "Log/Log_LVDS", "11", "0.5");

/* The two audio tests: find the card, find its playback device in
 * `aplay -l`, play the sound file on it. A player that fails (missing
 * sound file, device error) fails the test. */
#define AUDIO_SCRIPT(BANNER, CARD, LISTING, WAV, LOG, LINE, OK, NOT_FOUND, FAILED, NOT_FOUND_MSG, FAILED_MSG) \
	"#!/bin/bash\n"                                                                                \
	"echo -e \"" BANNER "\\n\"\n"                                                                  \
	"result=$(cat /proc/asound/cards 2>&1)\n"                                                      \
	"cat /proc/asound/cards 2>&1 > " LOG "\n"                                                      \
	"if [[ $result != *\"No such file or directory\"* && $result == *\"" CARD "\"* ]]; then\n"     \
	"    aplay_result=$(aplay -l | grep " LISTING " 2>&1)\n"                                       \
	"    aplay -l | grep " LISTING " 2>&1 >> " LOG "\n"                                            \
	"    pattern='card[[:space:]]([0-9]+):[[:space:]]([^,]+).*device[[:space:]]([0-9]+):[[:space:]]([^]]+)'\n" \
	"    if [[ $aplay_result =~ $pattern ]]; then\n"                                               \
	"        card=${BASH_REMATCH[1]}\n"                                                            \
	"        device=${BASH_REMATCH[3]}\n"                                                          \
	"        echo \"card: $card\"\n"                                                               \
	"        echo \"device: $device\"\n"                                                           \
	"        if aplay -D plughw:$card,$device " WAV "; then\n"                                     \
	"            sed -i \"" LINE "s/.*/" OK "/\" \"zorazu_zove\"\n"                                \
	"        else\n"                                                                               \
	"            echo -e \"" FAILED ": Playback of " WAV " failed \\n\"\n"                         \
	"            sed -i \"" LINE "s/.*/" FAILED "/\" \"zorazu_zove\"\n"                            \
	"        fi\n"                                                                                 \
	"    else\n"                                                                                   \
	"        echo \"$aplay_result\"\n"                                                             \
	"        echo \"card: $card\"\n"                                                               \
	"        echo \"device: $device\"\n"                                                           \
	"        echo -e \"" NOT_FOUND_MSG " \\n\"\n"                                                  \
	"        echo -e \"Result is invalid: $result \\n\"\n"                                         \
	"        sed -i \"" LINE "s/.*/" NOT_FOUND "/\" \"zorazu_zove\"\n"                             \
	"    fi\n"                                                                                     \
	"else\n"                                                                                       \
	"    echo -e \"" FAILED_MSG " \\n\"\n"                                                         \
	"    echo -e \"Result is invalid: $result \\n\"\n"                                             \
	"    sed -i \"" LINE "s/.*/" FAILED "/\" \"zorazu_zove\"\n"                                    \
	"fi\n"

const char audio_script[] = AUDIO_SCRIPT(
	"Test : Audio Default Sgtl5000 Test ==================================", "sgtl5000", "sgtl5000",
	"Audio_sgtl5000.WAV", "Log/Log_Audio", "12", "Audio Default Sgtl5000 ok", "Audio Sgtl5000 Device Not Found",
	"Audio Default Sgtl5000 Failed", "Audio Default Sgtl5000 Failed: Play Device Not Found",
	"Audio Default Sgtl5000 Failed");
const char mqs_script[] = AUDIO_SCRIPT(
	"Audio MQS Test ==================================", "mqsaudio", "mqs-audio", "Audio_MQS.WAV", "Log/Log_MQS",
	"13", "Audio MQS ok", "MQS Device Not Found", "Audio MQS Failed", "Audio MQS Failed: Play Device Not Found",
	"Audio MQS Failed");

/* A picture left from an earlier run must not pass for a new one, so it is
 * removed before the capture; no picture or an empty one fails. */
const char csi_script[] = R"SH(#!/bin/bash
rm -f test.jpg
gst-launch-1.0 v4l2src device=/dev/video0 num-buffers=1 ! videoconvert ! jpegenc ! filesink location=test.jpg > Log/Log_CSI 2>&1
if [[ ! -f test.jpg ]]; then
    echo "test.jpg was not written"
    echo -e "CSI Test Failed \n"
    sed -i "14s/.*/CSI Test failed/" "zorazu_zove"
else
    file_size=$(stat -c %s test.jpg)
    if [ $file_size -eq 0 ]; then
        echo "test.jpg file size is 0"
        echo -e "CSI Test Failed \n"
        sed -i "14s/.*/CSI Test failed/" "zorazu_zove"
    else
        echo "test.jpg file size is not 0"
        echo -e "CSI Test ok \n"
        sed -i "14s/.*/CSI Test ok/" "zorazu_zove"
    fi
fi
)SH";

/* USB copy test of one port. The disk is found through the df line of
 * /dev/sda1; without one there is nothing to copy to, which is a failure
 * (an empty mount path would otherwise copy into the root directory). A
 * scratch file or copy shorter than the full size fails too: on a full
 * working directory or disk both can be equally short and still compare
 * equal. The scratch files are removed before the verdict is written,
 * which then has room even on a full working directory. */
#define USB_SCRIPT(PORT, ROLE_VAR, CONTROLLER, LOG_REDIRECT, LINE)                                     \
	"#!/bin/bash\n"                                                                                \
	"echo -e \"USB" PORT " Test ==================================\\n\"\n"                         \
	ROLE_VAR "=$(cat /sys/kernel/debug/usb/" CONTROLLER "/role 2>&1)\n"                            \
	"cat /sys/kernel/debug/usb/" CONTROLLER "/role 2>&1 " LOG_REDIRECT " Log/Log_USB\n"            \
	"if [[ $" ROLE_VAR " != *\"No such file or directory\"* ]]; then\n"                            \
	"    filename=\"random_file.txt\"\n"                                                           \
	"    filesize=100\n"                                                                           \
	"    dd if=/dev/urandom of=$filename bs=1M count=$filesize\n"                                  \
	"    mount_info=$(df -h | grep \"/dev/sda1\")\n"                                               \
	"    mount_path=$(echo \"$mount_info\" | awk '{print $6}')\n"                                  \
	"    if [[ -z $mount_path ]]; then\n"                                                          \
	"        rm -f $filename\n"                                                                    \
	"        echo -e \"USB" PORT " Test Failed : no USB disk mounted (/dev/sda1 not in df), nothing copied \\n\"\n" \
	"        sed -i \"" LINE "s/.*/USB" PORT " Test failed/\" \"zorazu_zove\"\n"                   \
	"    else\n"                                                                                   \
	"        cp $filename $mount_path/$filename\n"                                                 \
	"        cmp -s $filename $mount_path/$filename\n"                                             \
	"        same=$?\n"                                                                            \
	"        full_size=$((filesize * 1024 * 1024))\n"                                              \
	"        local_size=$(stat -c %s $filename 2>/dev/null)\n"                                     \
	"        copy_size=$(stat -c %s $mount_path/$filename 2>/dev/null)\n"                          \
	"        rm -f $filename $mount_path/$filename\n"                                              \
	"        if [[ $local_size != $full_size || $copy_size != $full_size ]]; then\n"               \
	"            echo \"Short files: $local_size and $copy_size bytes of $full_size.\"\n"          \
	"            echo -e \"USB" PORT " Test Failed \\n\"\n"                                        \
	"            sed -i \"" LINE "s/.*/USB" PORT " Test failed/\" \"zorazu_zove\"\n"               \
	"        elif [ $same -eq 0 ]; then\n"                                                         \
	"            echo \"The files match.\"\n"                                                      \
	"            echo \"USB" PORT " Test ok \\n\"\n"                                               \
	"            sed -i \"" LINE "s/.*/USB" PORT " Test ok/\" \"zorazu_zove\"\n"                   \
	"        else\n"                                                                               \
	"            echo \"The files do not match.\"\n"                                               \
	"            echo -e \"USB" PORT " Test Failed \\n\"\n"                                        \
	"            sed -i \"" LINE "s/.*/USB" PORT " Test failed/\" \"zorazu_zove\"\n"               \
	"        fi\n"                                                                                 \
	"    fi\n"                                                                                     \
	"else\n"                                                                                       \
	"    echo \"No USB" PORT " role file found\"\n"                                                \
	"    sed -i \"" LINE "s/.*/USB" PORT " Test failed/\" \"zorazu_zove\"\n"                       \
	"fi\n"                                                                                         \
	"sync\n"

const char usb1_script[] = USB_SCRIPT("1", "result1", "ci_hdrc.0", ">", "7");
const char usb2_script[] = USB_SCRIPT("2", "result2", "ci_hdrc.1", ">>", "8");

const char usb_detect_both_command[] = "dmesg | grep -i -E \"usb 1-1.7|usb 2-1\" | tail -n 1 > temp.txt";
const char usb_detect_port1_command[] = "dmesg | grep -i -E \"usb 2-1\" | tail -n 1 > temp.txt";
const char usb_detect_port2_command[] = "dmesg | grep -i \"usb 1-1.7\" | tail -n 1 > temp.txt";

/* The quoted line feeds make the shell pass words that contain them, so
 * echo writes 15 lines of "not yet". */
#define NOT_YET_LINE "'\n'not yet"
const char status_file_create_command[] =
	"echo -e not yet" NOT_YET_LINE NOT_YET_LINE NOT_YET_LINE NOT_YET_LINE NOT_YET_LINE NOT_YET_LINE
	NOT_YET_LINE NOT_YET_LINE NOT_YET_LINE NOT_YET_LINE NOT_YET_LINE NOT_YET_LINE NOT_YET_LINE NOT_YET_LINE
	" > zorazu_zove";
static_assert(sizeof(status_file_create_command) == 169 + 1, "creation command is 169 bytes");

const char log_dir_command[] = "mkdir Log";

const char dts_detect_command[] = "dmesg | grep model > Log/Log_DTS";

/* A device tree is never rewritten in place: a power cut in the middle of
 * a copy would leave a board that cannot boot. The new tree is copied next
 * to the live one, flushed, and renamed over it; if any step fails the
 * temporary copy is dropped and the live tree stays as it was. */
#define DTB_BOOT_DIR "/run/media/boot-mmcblk1p1"
#define DTB_INSTALL(SOURCE)                                                                            \
	"new=" DTB_BOOT_DIR "/.qb-vexo.dtb.new; "                                                      \
	"if cp " SOURCE " \"$new\" && sync && mv -f \"$new\" " DTB_BOOT_DIR "/qb-vexo.dtb && sync; then :; " \
	"else rm -f \"$new\"; echo \"Device tree not changed: could not install " SOURCE "\" >&2; fi"

const char *const dtb_install_commands[5] = {
	DTB_INSTALL("/usr/share/roruziduv/qb-vexo.dtb"),
	DTB_INSTALL(DTB_BOOT_DIR "/qb-vexo-lpuart7.dtb"),
	DTB_INSTALL(DTB_BOOT_DIR "/qb-vexo-lpspi.dtb"),
	DTB_INSTALL(DTB_BOOT_DIR "/qb-vexo-lpspi-slave.dtb"),
	DTB_INSTALL(DTB_BOOT_DIR "/qb-vexo-dsi-ili9881c.dtb"),
};

const char reboot_command[] = "reboot";

const char hp_switch_on_command[] = "amixer -c 1 set Headphone Playback Switch on";
const char hp_switch_off_command[] = "amixer -c 1 set Headphone Playback Switch off";
const char hp_volume_format[] = "amixer -c 1 set Headphone Playback Volume %d";
const char hp_volume_init_command[] = "amixer -c 1 set Headphone Playback Volume 23";
const char lo_switch_on_command[] = "amixer -c 1 set Lineout Playback Switch on";
const char lo_switch_off_command[] = "amixer -c 1 set Lineout Playback Switch off";
const char lo_volume_format[] = "amixer -c 1 set Lineout Playback Volume %d";
