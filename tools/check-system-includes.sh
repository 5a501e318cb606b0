#!/bin/bash
# Proves from the compiler's dependency files that a system-mode build
# (TESSEL_LVGL=system) read no header of the bundled core or backend: no
# object of the build directory given may depend on a file under the source
# tree's lvgl/ or lv_drivers/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: check-system-includes.sh <system-mode build directory>}
grep -q '^TESSEL_LVGL:STRING=system$' "$build/CMakeCache.txt" ||
  { echo "check-system-includes: $build is not a system-mode build" >&2; exit 2; }
python3 - "$PWD" "$build" <<'PY'
import os, sys
root, build = sys.argv[1], os.path.abspath(sys.argv[2])
banned = [os.path.join(root, d) + os.sep for d in ("lvgl", "lv_drivers")]
files = bad = 0
for top, _, names in os.walk(build):
    for n in names:
        if not n.endswith(".o.d"):
            continue
        files += 1
        path = os.path.join(top, n)
        text = open(path, errors="replace").read().replace("\\\n", " ")
        # "target: dep dep ...": everything after the first colon that ends a word
        deps = text.split(": ", 1)[1].split() if ": " in text else []
        hits = sorted({os.path.normpath(os.path.join(build, d)) for d in deps
                       if any(os.path.normpath(os.path.join(build, d)).startswith(b) for b in banned)})
        if hits:
            bad += 1
            print(f"{os.path.relpath(path, build)} reads {', '.join(os.path.relpath(h, root) for h in hits)}")
if files == 0:
    sys.exit(f"check-system-includes: no dependency files under {build} (nothing built?)")
if bad:
    sys.exit(f"check-system-includes: {bad} of {files} objects read the bundled lvgl/ or lv_drivers/")
print(f"system-mode build: none of {files} objects reads a file under lvgl/ or lv_drivers/")
PY
