#!/bin/sh
# Runs inside xvfb-run: starts the given programs at the same time, waits for
# their windows (and, when KELVANA_MOVIE_STATE_FILE is set, for the movie to
# report its state there), records the windows, the temporary folder and the
# screen, then ends the programs with SIGTERM and records the temporary folder
# again.
#   run_players.sh OUTDIR PLAYER_TMPDIR PROGRAM...
out=$1
temp=$2
shift 2
pids=""
for program in "$@"; do
  TMPDIR="$temp" "$program" >"$out/$(basename "$program").log" 2>&1 &
  pids="$pids $!"
done
for program in "$@"; do
  name=$(basename "$program")
  tries=0
  until xwininfo -root -tree | grep -q "\"$name\": ("; do
    tries=$((tries + 1))
    [ $tries -gt 600 ] && break
    sleep 0.1
  done
done
if [ -n "${KELVANA_MOVIE_STATE_FILE:-}" ]; then
  tries=0
  until [ -f "$KELVANA_MOVIE_STATE_FILE" ]; do
    tries=$((tries + 1))
    [ $tries -gt 1200 ] && break
    sleep 0.1
  done
fi
sleep 1
xwininfo -root -tree >"$out/windows.txt"
ls "$temp" >"$out/during.txt"
import -window root "$out/screen.png"
for pid in $pids; do kill -TERM "$pid"; done
for pid in $pids; do wait "$pid"; done
ls "$temp" >"$out/after.txt"
