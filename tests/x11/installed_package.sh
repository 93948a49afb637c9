#!/usr/bin/env bash
# Packages the build, unpacks the package into a scratch root and starts the installed game
# there up to its start prompt.
set -euo pipefail
. "$(dirname "$0")/game_session.sh"
build=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/*.deb)
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "no Qt in Depends"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'fonts-ipafont-gothic' || { echo "no fonts in Depends"; exit 1; }
dpkg -x "$deb" "$work/root"
for file in usr/bin/noruka-keisan usr/share/applications/noruka-keisan.desktop \
            usr/share/icons/hicolor/32x32/apps/noruka-keisan.png; do
  [ -f "$work/root/$file" ] || { echo "missing $file"; exit 1; }
done

start_game "$work/root/usr/bin/noruka-keisan"
quit_game
trap 'rm -rf "$work"' EXIT
echo "the installed game reached its start prompt"
