#!/usr/bin/env bash
# Unpacks the package in the given folder into a scratch root and starts the installed game
# there up to its start prompt; asks it its version and its history without a display.
set -euo pipefail
. "$(dirname "$0")/../x11/game_session.sh"
folder=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deb=$(ls "$folder"/*.deb)
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "no Qt in Depends"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'fonts-ipafont-gothic' || { echo "no fonts in Depends"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'libsqlite3-0' || { echo "no SQLite in Depends"; exit 1; }
dpkg -x "$deb" "$work/root"
for file in usr/games/noruka-keisan usr/share/applications/noruka-keisan.desktop \
            usr/share/man/man6/noruka-keisan.6.gz usr/share/doc/noruka-keisan/copyright; do
  [ -f "$work/root/$file" ] || { echo "missing $file"; exit 1; }
done

export XDG_DATA_HOME=$work/data
start_game "$work/root/usr/games/noruka-keisan"
quit_game
# The options answer without a display.
env -u DISPLAY "$work/root/usr/games/noruka-keisan" --version | grep -q '^noruka-keisan ' ||
  { echo "no version without a display"; exit 1; }
env -u DISPLAY "$work/root/usr/games/noruka-keisan" --stats >/dev/null
trap 'rm -rf "$work"' EXIT
echo "the installed game reached its start prompt"
