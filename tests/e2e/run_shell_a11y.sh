#!/bin/sh
# Runs an end-to-end script (shell_a11y.py unless A11Y_SCRIPT names another
# of this folder) against the editor in a virtual display with its own D-Bus
# session, accessibility bus and settings folders.
#   run_shell_a11y.sh PROGRAM [ARGUMENTS...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
for tool in xvfb-run dbus-run-session xdotool /usr/libexec/at-spi-bus-launcher; do
  if ! command -v "$tool" >/dev/null 2>&1 && [ ! -x "$tool" ]; then
    echo "SKIP: $tool is missing"
    exit 77
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: python3-pyatspi is missing"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/config" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
exec xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  sleep 1
  /usr/bin/python3 "$0/${A11Y_SCRIPT:-shell_a11y.py}" "$@"
  status=$?
  kill $launcher 2>/dev/null || true
  exit $status' "$here" "$@"
