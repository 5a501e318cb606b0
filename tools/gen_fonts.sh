#!/usr/bin/env bash
# Regenerates the compiled-in fonts from the pinned font packages in
# tools/package.json, using LVGL's own converter lv_font_conv.
#
#   tools/gen_fonts.sh [OUTPUT_DIR] [DEFAULT_FONT_OUTPUT]
#
# OUTPUT_DIR defaults to generated/tessel_fonts, DEFAULT_FONT_OUTPUT to
# lvgl/src/font/lv_font_montserrat_14.c (both relative to the repository).
set -euo pipefail

tools_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo_dir=$(dirname "$tools_dir")
out_dir=$(realpath -m "${1:-$repo_dir/generated/tessel_fonts}")
default_font_out=$(realpath -m "${2:-$repo_dir/lvgl/src/font/lv_font_montserrat_14.c}")

cd "$tools_dir"
if [ ! -x node_modules/.bin/lv_font_conv ]; then
    # Exact versions come from package-lock.json; the install scripts only
    # print attributions, so they are skipped.
    timeout 600 npm ci --no-audit --no-fund --ignore-scripts
fi

conv=node_modules/.bin/lv_font_conv
montserrat=node_modules/@fontsource/montserrat/files/montserrat-latin-500-normal.woff
antonio=node_modules/@fontsource/antonio/files/antonio-latin-400-normal.woff
fa_solid=node_modules/@fortawesome/fontawesome-free/webfonts/fa-solid-900.woff
fa_brands=node_modules/@fortawesome/fontawesome-free/webfonts/fa-brands-400.woff

# The icons of LVGL's symbol set that our fonts carry. USB (F287) and
# Bluetooth (F293) live in the brands font. NEW_LINE (F8A2) is not in any free
# Font Awesome release, so the "level-down-alt" arrow (F3BE) stands in for it.
icons_solid=0xF001,0xF008,0xF00B,0xF00C,0xF00D,0xF011,0xF013,0xF015,0xF019,0xF01C,0xF021,0xF026,0xF027,0xF028,0xF03E,0xF048,0xF04B,0xF04C,0xF04D,0xF051,0xF052,0xF053,0xF054,0xF067,0xF068,0xF06E,0xF070,0xF071,0xF074,0xF077,0xF078,0xF079,0xF07B,0xF093,0xF095,0xF0C4,0xF0C5,0xF0C7,0xF0E7,0xF0EA,0xF0F3,0xF11C,0xF124,0xF15B,0xF1EB,0xF240,0xF241,0xF242,0xF243,0xF244,0xF2ED,0xF304,0xF55A,0xF7C2
icons_brands=0xF287,0xF293
new_line_icon='0xF3BE=>0xF8A2'
# The default font also has tint (F043), bars (F0C9) and envelope (F0E0).
icons_default_extra=0xF043,0xF0C9,0xF0E0

# Set A leaves out the comma, set B keeps it.
set_a=0x20-0x2B,0x2D-0x7E
set_b=0x20-0x7E

# lv_font_conv makes the line as high as the tallest glyph box (the icons
# reach past the text); the layout needs the line height to equal the size.
# A const object defined in C++ has internal linkage, so each font is declared
# extern before its definition and links whatever language compiles it.
fix_up() { # file name line_height base_line
    local file=$1 name=$2 lh=$3 bl=$4
    sed -i -E \
        -e "s/^(    \.line_height = )[0-9]+,/\1$lh,/" \
        -e "s/^(    \.base_line = )[0-9]+,/\1$bl,/" \
        -e "s| -o [^ ]+$| -o $(basename "$file")|" \
        -e "s|^/\*Initialize a public general font descriptor\*/$|LV_FONT_DECLARE($name)\n\n&|" \
        "$file"
    grep -q "^    \.line_height = $lh," "$file"
    grep -q "^    \.base_line = $bl," "$file"
    grep -q "^LV_FONT_DECLARE($name)$" "$file"
}

gen() { # name font size set line_height base_line output_dir
    local name=$1 font=$2 size=$3 set=$4 lh=$5 bl=$6 dir=$7
    local file=$dir/$name.c
    "$conv" --bpp 4 --size "$size" --no-compress --force-fast-kern-format \
        --format lvgl --lv-font-name "$name" \
        --font "$font" -r "$set" \
        --font "$fa_solid" -r "$icons_solid" -r "$new_line_icon" \
        --font "$fa_brands" -r "$icons_brands" \
        -o "$file"
    fix_up "$file" "$name" "$lh" "$bl"
    echo "generated $file"
}

mkdir -p "$out_dir"
#   name                          typeface     size set     line base
gen lv_font_Antonio_Regular_25    "$antonio"    25 "$set_a" 25 4  "$out_dir"
gen lv_font_Antonio_Regular_30    "$antonio"    30 "$set_a" 30 5  "$out_dir"
gen lv_font_montserratMedium_12   "$montserrat" 12 "$set_b" 12 3  "$out_dir"
gen lv_font_montserratMedium_15   "$montserrat" 15 "$set_b" 15 3  "$out_dir"
gen lv_font_montserratMedium_16   "$montserrat" 16 "$set_a" 16 3  "$out_dir"
gen lv_font_montserratMedium_18   "$montserrat" 18 "$set_b" 18 4  "$out_dir"
gen lv_font_montserratMedium_20   "$montserrat" 20 "$set_a" 20 4  "$out_dir"
gen lv_font_montserratMedium_22   "$montserrat" 22 "$set_a" 22 4  "$out_dir"
gen lv_font_montserratMedium_24   "$montserrat" 24 "$set_a" 24 5  "$out_dir"
gen lv_font_montserratMedium_25   "$montserrat" 25 "$set_a" 25 5  "$out_dir"
gen lv_font_montserratMedium_30   "$montserrat" 30 "$set_a" 30 6  "$out_dir"
gen lv_font_montserratMedium_50   "$montserrat" 50 "$set_a" 50 10 "$out_dir"

# The core's default font: LVGL's built-in character set and all 60 symbols.
mkdir -p "$(dirname "$default_font_out")"
"$conv" --bpp 4 --size 14 --no-compress --force-fast-kern-format \
    --format lvgl --lv-font-name lv_font_montserrat_14 \
    --font "$montserrat" -r 0x20-0x7E,0xB0,0x2022 \
    --font "$fa_solid" -r "$icons_solid,$icons_default_extra" -r "$new_line_icon" \
    --font "$fa_brands" -r "$icons_brands" \
    -o "$default_font_out"
fix_up "$default_font_out" lv_font_montserrat_14 16 3
echo "generated $default_font_out"
