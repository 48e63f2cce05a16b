#!/bin/sh
# Start-up benchmark: the editor against two references, all under one Xvfb:
#   minimal Widgets     a QMainWindow shown (bench_start_widgets)
#   minimal WebEngine   a QMainWindow with a QWebEngineView showing a small
#                       local page (bench_start_webengine)
# Each program is started RUNS times (default 10), the three in turns (the
# order rotates each round), after one warm-up round that is not counted; the
# file cache is warm, every start is a new process. With
# KELVANA_STARTUP_TRACE=exit each writes, in milliseconds since its process
# started, "kelvana-startup painted <ms>" (first paint event of its main
# window) and "kelvana-startup idle <ms>" (the first time after it that the
# event loop has nothing left to do: it waits and stays asleep 10 ms), then ends. Prints the median and the worst of each
# figure and the ratios editor / WebEngine and editor / Widgets.
# Goal: the editor within 1.3 x the minimal WebEngine program.
#
#   bench/startup/run.sh [BUILD_DIR]
set -eu
script=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
cd "$(dirname "$script")/../.."
build=${1:-build}
runs=${RUNS:-10}

# One X server for every start of the run.
if [ -z "${KELVANA_STARTUP_IN_XVFB:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (xvfb)" >&2; exit 1; }
  KELVANA_STARTUP_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$script" "$build"
fi

editor=$build/app/Kelvana
[ -x "$editor" ] || { echo "build first: $editor is missing" >&2; exit 1; }
cmake --build "$build" --target bench_start_widgets bench_start_webengine >/dev/null
widgets=$build/bench/startup/bench_start_widgets
webengine=$build/bench/startup/bench_start_webengine

out=$PWD/bench/out/startup
rm -rf "$out"
mkdir -p "$out/home" "$out/runtime"
chmod 700 "$out/runtime"
# The editor's settings, lock and documents go to a home of the bench's own.
export HOME="$out/home" XDG_RUNTIME_DIR="$out/runtime" XDG_CONFIG_HOME="$out/home/.config"
export QT_QPA_PLATFORM=xcb KELVANA_STARTUP_TRACE=exit
unset KELVANA_MOVIE_CONSOLE

# start NAME PROGRAM [COUNT]: one start; with COUNT its figures are kept.
start() {
  name=$1
  program=$2
  if ! timeout 60 "$program" >/dev/null 2>"$out/$name.err"; then
    echo "note: $name ended with an error: $(grep -v '^kelvana-startup' "$out/$name.err" | tail -n 1)" >&2
  fi
  painted=$(sed -n 's/^kelvana-startup painted //p' "$out/$name.err")
  idle=$(sed -n 's/^kelvana-startup idle //p' "$out/$name.err")
  if [ -z "$painted" ] || [ -z "$idle" ]; then
    echo "note: $name printed no start-up figures" >&2
    return
  fi
  if [ -n "${3:-}" ]; then
    echo "$painted" >> "$out/$name.painted"
    echo "$idle" >> "$out/$name.idle"
  fi
}

round() {
  case $(($1 % 3)) in
    0) start editor "$editor" "$2"; start widgets "$widgets" "$2"; start webengine "$webengine" "$2" ;;
    1) start webengine "$webengine" "$2"; start editor "$editor" "$2"; start widgets "$widgets" "$2" ;;
    2) start widgets "$widgets" "$2"; start webengine "$webengine" "$2"; start editor "$editor" "$2" ;;
  esac
}

round 0 ""
r=0
while [ $r -lt "$runs" ]; do
  r=$((r + 1))
  round $r count
done

# stat FILE: "median worst count" of the numbers in FILE.
stat() {
  [ -s "$1" ] || { echo "- - 0"; return; }
  sort -n "$1" | awk '{ v[NR] = $1 } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%g %g %d\n", m, v[NR], NR }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b }'; }

for name in editor webengine widgets; do
  set -- $(stat "$out/$name.painted")
  eval "${name}_pm=$1 ${name}_pw=$2 ${name}_n=$3"
  set -- $(stat "$out/$name.idle")
  eval "${name}_im=$1 ${name}_iw=$2"
done

echo "start-up under Xvfb, ms since process start; $runs starts each in turns after a warm-up round; load: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-22s %16s %16s\n' "" "painted" "idle"
printf '%-22s %8s %7s %8s %7s %5s\n' "" "median" "worst" "median" "worst" "runs"
printf '%-22s %8s %7s %8s %7s %5s\n' "editor (Kelvana)" "$editor_pm" "$editor_pw" "$editor_im" "$editor_iw" "$editor_n"
printf '%-22s %8s %7s %8s %7s %5s\n' "minimal WebEngine" "$webengine_pm" "$webengine_pw" "$webengine_im" "$webengine_iw" "$webengine_n"
printf '%-22s %8s %7s %8s %7s %5s\n' "minimal Widgets" "$widgets_pm" "$widgets_pw" "$widgets_im" "$widgets_iw" "$widgets_n"
printf '%-22s %8s %7s %8s %7s   (goal <= 1.3)\n' "editor / WebEngine" \
  "$(ratio "$editor_pm" "$webengine_pm")" "$(ratio "$editor_pw" "$webengine_pw")" \
  "$(ratio "$editor_im" "$webengine_im")" "$(ratio "$editor_iw" "$webengine_iw")"
printf '%-22s %8s %7s %8s %7s\n' "editor / Widgets" \
  "$(ratio "$editor_pm" "$widgets_pm")" "$(ratio "$editor_pw" "$widgets_pw")" \
  "$(ratio "$editor_im" "$widgets_im")" "$(ratio "$editor_iw" "$widgets_iw")"
