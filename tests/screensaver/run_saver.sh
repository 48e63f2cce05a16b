#!/bin/sh
# Runs inside xvfb-run: starts the saver, waits for its movie to report its
# state (KELVANA_MOVIE_STATE_FILE), records the windows and the screen, then
# ends it and records how it ended.
#   run_saver.sh OUTDIR full PROGRAM
#       runs PROGRAM -root (full screen), then stops it with SIGTERM
#   run_saver.sh OUTDIR preview PROGRAM PICTURE
#       shows PICTURE in a window of ImageMagick's display at (100, 100), runs
#       PROGRAM -window-id of that window (the preview), then closes the
#       window: the saver must end by itself
# OUTDIR receives windows.txt, screen.png, saver.log and ended.txt (the
# saver's exit status, or "running" when it did not end).
out=$1
mode=$2
program=$3
state=${KELVANA_MOVIE_STATE_FILE:?}

wait_for() { # wait_for COMMAND...: until it succeeds, at most two minutes
  tries=0
  until "$@"; do
    tries=$((tries + 1))
    [ $tries -gt 1200 ] && return 1
    sleep 0.1
  done
}
host_window() {
  xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "ImageMagick: .*/\1/p' | head -n 1
}
has_host_window() { [ -n "$(host_window)" ]; }
has_state() { [ -f "$state" ]; }

if [ "$mode" = preview ]; then
  display -geometry +100+100 "$4" &
  host=$!
  wait_for has_host_window
  "$program" -window-id "$(printf '%d' "$(host_window)")" >"$out/saver.log" 2>&1 &
else
  "$program" -root >"$out/saver.log" 2>&1 &
fi
saver=$!
wait_for has_state
sleep 1
xwininfo -root -tree >"$out/windows.txt"
import -window root "$out/screen.png"

if [ "$mode" = preview ]; then
  kill -TERM $host
  wait $host
else
  kill -TERM $saver
fi
gone() { ! kill -0 $saver 2>/dev/null; }
if wait_for gone; then
  wait $saver
  echo $? >"$out/ended.txt"
else
  echo running >"$out/ended.txt"
  kill -KILL $saver
fi
