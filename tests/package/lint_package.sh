#!/usr/bin/env bash
# Checks the package in the given folder as a distribution would: lintian, the AppStream
# metadata and the desktop entry without any remark, and the icons enlarged without blurring.
set -euo pipefail
folder=$1
icon_bitmap=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deb=$(ls "$folder"/*.deb)
# Information tags count too: the hardening and stripping findings are only information.
lintian --display-info --fail-on error,warning,info "$deb"
dpkg -x "$deb" "$work"

appstreamcli validate --no-net --strict "$work"/usr/share/metainfo/*.metainfo.xml
said=$(desktop-file-validate "$work/usr/share/applications/noruka-keisan.desktop" 2>&1)
[ -z "$said" ] || { echo "$said"; exit 1; }

for size in 32 64 128 256; do
  icon=$work/usr/share/icons/hicolor/${size}x$size/apps/noruka-keisan.png
  convert "$icon_bitmap" -sample "${size}x$size" "$work/expected.png"
  differing=$(compare -metric AE "$icon" "$work/expected.png" null: 2>&1) || true
  [ "$differing" = 0 ] || { echo "the ${size}px icon is not the bitmap enlarged: $differing"; exit 1; }
done
echo "lintian, appstreamcli and desktop-file-validate have nothing to say; the icons are sharp"
