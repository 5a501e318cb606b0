#!/bin/bash
# The committed fonts and pictures are what their generators make today:
# regenerates both into a scratch folder and compares (fonts byte for byte,
# pictures pixel for pixel). Run by CI, so the generators cannot rot.
set -euo pipefail
cd "$(dirname "$0")/.."
scratch=$(mktemp -d /tmp/tessel-generated.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
tools/gen_fonts.sh "$scratch/fonts" "$scratch/fonts/lv_font_montserrat_14.c" >/dev/null
status=0
for f in "$scratch"/fonts/lv_font_*.c; do
  name=$(basename "$f")
  committed=generated/tessel_fonts/$name
  [ "$name" = lv_font_montserrat_14.c ] && committed=lvgl/src/font/$name
  cmp -s "$f" "$committed" || { echo "check-generated: $committed differs from tools/gen_fonts.sh's"; status=1; }
done
TESSEL_IMAGES_OUT="$scratch/images" /usr/bin/python3 tools/gen_images.py >/dev/null
/usr/bin/python3 - "$scratch/images" assets/images <<'PY' || status=1
import os, sys
from PIL import Image
made, committed = sys.argv[1], sys.argv[2]
names = sorted(os.listdir(made))
if names != sorted(n for n in os.listdir(committed) if n.endswith(".png")):
    sys.exit("check-generated: assets/images/ does not hold exactly the pictures tools/gen_images.py draws")
for n in names:
    with Image.open(os.path.join(made, n)) as a, Image.open(os.path.join(committed, n)) as b:
        if a.size != b.size or a.convert("RGBA").tobytes() != b.convert("RGBA").tobytes():
            sys.exit("check-generated: assets/images/%s differs from tools/gen_images.py's" % n)
PY
[ $status -eq 0 ] && echo "check-generated: fonts and pictures are as their generators make them"
exit $status
