#!/bin/bash
# Checks the simulated board itself: what the tests rely on inside, and
# that nothing of it reaches the host.
set -u
here=$(cd "$(dirname "$0")" && pwd)
run=$here/simboard-run
failures=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

[[ $EUID -eq 0 ]] || { echo "skipped: needs root"; exit 77; }
host_sh=$(readlink -f /bin/sh)

# Processes of the board's own pid namespace still alive on the host (by the
# namespace's identity, so that boards other runs start at the same time
# never count).
# Killed processes may take a moment to go: up to 2 s.
left_in_namespace() {  # left_in_namespace 'pid:[INODE]'
    local d n try
    for try in $(seq 100); do
        n=0
        for d in /proc/[0-9]*; do
            [[ $(readlink "$d/ns/pid" 2>/dev/null) == "$1" ]] && n=$((n + 1))
        done
        ((n == 0)) && break
        sleep 0.02
    done
    echo $n
}
host_name=$(hostname)

inside=$(timeout 60 "$run" -- bash -c '
    t=/.simboard/lib/sb-scenario
    echo "sh=$(readlink -f /bin/sh)"
    echo "self=$(awk "/^Pid:/{print \$2}" /proc/self/status)"
    echo "pidns=$(readlink /proc/self/ns/pid)"
    echo "socats=$(pgrep -c -x socat)"
    echo marker > /usr/bin/simboard-marker
    i2cdump -y 1 0x22 >/dev/null 2>&1
    echo "calls=$($t calls | tr "\t\n" " ;")"
    exec 3</dev/ttyLP6; cat <&3 > /tmp/rx & p=$!; echo ping > /dev/ttyLP6; sleep 0.3; kill $p; wait $p 2>/dev/null; exec 3<&-
    echo "loopback=$(cat /tmp/rx)"
    $t apply healthy uart_dead_line rtc_missing
    echo "after_apply=$($t calls | wc -l)"
    exec 3</dev/ttyLP6; cat <&3 > /tmp/rx & p=$!; echo ping > /dev/ttyLP6; sleep 0.3; kill $p; wait $p 2>/dev/null; exec 3<&-
    echo "dead=$(cat /tmp/rx)"
    echo "rtc=$(ls /dev/rtc* | tr "\n" " ")"
    $t apply healthy
    echo "rtc_again=$(ls /dev/rtc* | tr "\n" " ")"
    echo "cards=$(cat /proc/asound/cards | grep -c sgtl5000)"
    echo "keys=$(grep -c Key-K /proc/interrupts)"
    [[ $(ps -o pid= -p $$ | tr -d " ") == "$$" ]] && echo "ps=yes"
    echo "serial=$(cat /sys/devices/soc0/serial_number)"
    echo "model=$(tr "\0" "|" < /sys/firmware/devicetree/base/model)"
    echo "host=$(hostname)"
    $t apply healthy identity_none
    echo "no_serial=$(ls /sys/devices/soc0 /sys/firmware/devicetree 2>/dev/null | wc -l)"
    echo "no_host=$(hostname)"
    exit 42' 2>&1)
rc=$?

check "exit status passes through" test $rc -eq 42
check "/bin/sh is bash inside" grep -qx "sh=/usr/bin/bash" <<<"$inside"
check "/proc/self resolves" grep -qE "^self=[0-9]+$" <<<"$inside"
check "fakes log their calls" grep -qx "calls=i2cdump -y 1 0x22;" <<<"$inside"
check "the loopback line echoes" grep -qx "loopback=ping" <<<"$inside"
check "apply clears the call log" grep -qx "after_apply=0" <<<"$inside"
check "a dead line echoes nothing" grep -qx "dead=" <<<"$inside"
check "scenarios remove device nodes" grep -qx "rtc=/dev/rtc0 " <<<"$inside"
check "apply starts from an empty board" grep -qx "rtc_again=/dev/rtc0 /dev/rtc1 " <<<"$inside"
check "kernel files come from the scenario" grep -qx "cards=2" <<<"$inside"
check "/proc files are bound from the scenario" grep -qx "keys=2" <<<"$inside"
check "the process table is readable" grep -qx "ps=yes" <<<"$inside"
check "the SoC serial comes from the scenario" grep -qx "serial=3A1C29F40B7D5E66" <<<"$inside"
check "device-tree strings end in NUL" grep -qx "model=QB-VEXO i.MX93 board|" <<<"$inside"
check "the board has its own host name" grep -qx "host=qbvexo-0417" <<<"$inside"
check "identity_none leaves no serial or model" grep -qx "no_serial=0" <<<"$inside"
check "identity_none leaves the host name unset" grep -qx "no_host=(none)" <<<"$inside"
check "host name unchanged" test "$(hostname)" = "$host_name"
check "host /bin/sh unchanged" test "$(readlink -f /bin/sh)" = "$host_sh"
check "host root file system unchanged" test ! -e /usr/bin/simboard-marker
pidns=$(sed -n 's/^pidns=//p' <<<"$inside")
check "the board's serial line runs inside it (one socat)" grep -qx "socats=1" <<<"$inside"
check "the board has its own pid namespace" \
    test -n "$pidns" -a "$pidns" != "$(readlink /proc/self/ns/pid)"
check "nothing of the board left behind (no socat either)" test "$(left_in_namespace "$pidns")" -eq 0

timeout 60 "$run" -s healthy,no_such_scenario -- true 2>/dev/null
check "an unknown scenario stops the run (125)" test $? -eq 125

if ((failures)); then
    echo "--- inside:"
    echo "$inside"
    exit 1
fi
