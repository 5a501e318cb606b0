#!/bin/bash
# The folders of custom/ call one way: the screens' handlers call the
# station and the confirmation, those the record, the record the line.
# Fails on an include that goes back up (each folder's README.md says
# what it may call).
set -euo pipefail
cd "$(dirname "$0")/../custom"
# folder: what its sources must not include
rules=(
  "files: station/ record/ line/ confirm/ gui_tessel.h qbvexo.h custom.h lvgl"
  "line: station/ record/ confirm/ gui_tessel.h qbvexo.h custom.h lvgl"
  "record: station/ confirm/ gui_tessel.h qbvexo.h custom.h lvgl"
  "station: record/ line/ confirm/ gui_tessel.h qbvexo.h custom.h lvgl"
  "confirm: record/ qbvexo.h custom.h"
)
bad=0
for rule in "${rules[@]}"; do
  dir=${rule%%:*}
  for banned in ${rule#*:}; do
    if hits=$(grep -Hn "^#include \"$banned" "$dir"/*.cpp "$dir"/*.h); then
      echo "check-layers: custom/$dir must not include $banned:" >&2
      echo "$hits" >&2
      bad=1
    fi
  done
done
((bad == 0)) && echo "check-layers: custom/ calls one way"
exit $bad
