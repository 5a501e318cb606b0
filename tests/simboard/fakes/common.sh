# Shared by the fake board tools. The scenario lives in /.simboard/scn.
SCN=/.simboard/scn
CALLS=/.simboard/data/calls.log

# One line per call: the tool's name, a tab, its arguments joined by blanks.
sb_record() {
    local name=$1
    shift
    local IFS=' '
    printf '%s\t%s\n' "$name" "$*" >> "$CALLS"
}

# Value of a scenario setting, or the default given.
sb_get() {
    if [[ -f $SCN/$1 ]]; then cat "$SCN/$1"; else printf '%s' "${2-}"; fi
}
