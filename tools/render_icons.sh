#!/usr/bin/env bash
# Renders the hand-drawn pictures in res/svg/ to the PNG files the program carries,
# and the application picture to the icon sizes the Linux package installs.
#
# Needs rsvg-convert (Debian package librsvg2-bin). The PNG files are committed, so the
# build never runs this; run it again after editing a picture:
#     tools/render_icons.sh            render every picture
#     tools/render_icons.sh NAME...    render only the named pictures (e.g. backup main)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
svg_dir="$root/res/svg"

# name              folder under res/   width  height
table='
backup              icons                  64     64
a2a                 icons                  64     64
db2a                icons                  64     64
export              icons                  64     64
print               icons                  64     64
delete              icons                  64     64
open_db_folder      icons                  32     32
exit                icons                  32     32
help                icons                  32     32
search              icons                  32     32
unmount             icons                  32     32
devices             icons                  20     20
databases           icons                  20     20
android             icons                  20     20
database            icons                  20     20
contact             icons                  36     36
group               icons                  36     36
icon_sms-sent       icons                  36     36
icon_sms-receive    icons                  36     36
imsg-send           icons                  36     36
imsg-rec            icons                  36     36
main                .                     128    128
main-bg             .                    1000    680
subwin-bg           .                     460    400
'

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "render_icons.sh: rsvg-convert not found (install librsvg2-bin)" >&2
    exit 1
fi

# Every drawing must have a row, so a new picture is never silently left out.
status=0
for file in "$svg_dir"/*.svg; do
    name="$(basename "$file" .svg)"
    if ! grep -qE "^${name}[[:space:]]" <<<"$table"; then
        echo "render_icons.sh: $name.svg has no row in the size table" >&2
        status=1
    fi
done

wanted=" $* "
while read -r name folder width height; do
    [ -n "$name" ] || continue
    if [ $# -gt 0 ] && [[ "$wanted" != *" $name "* ]]; then
        continue
    fi
    src="$svg_dir/$name.svg"
    if [ ! -f "$src" ]; then
        echo "render_icons.sh: missing drawing $src" >&2
        status=1
        continue
    fi
    out_dir="$root/res/$folder"
    mkdir -p "$out_dir"
    out="$(cd "$out_dir" && pwd)/$name.png"
    rsvg-convert --format=png --width="$width" --height="$height" --output="$out" "$src"
    echo "${out#"$root"/}  ${width}x${height}"
done <<<"$table"

# The application picture again at the sizes of the desktop's icon theme, for
# the Linux menu entry (res/linux/icons/SIZE.png; installed as hicolor icons).
if [ $# -eq 0 ] || [[ "$wanted" == *" main "* ]]; then
    mkdir -p "$root/res/linux/icons"
    for size in 16 24 32 48 64 128 256 512; do
        rsvg-convert --format=png --width="$size" --height="$size" \
            --output="$root/res/linux/icons/$size.png" "$svg_dir/main.svg"
        echo "res/linux/icons/$size.png  ${size}x${size}"
    done
fi

exit "$status"
