#!/bin/sh
# Runs every GoogleTest program of a build once as a single process, all its
# cases one after another, so that a test which leaves files or state behind
# for the next one shows up (CTest runs each case in a fresh process). Each
# program gets a fresh temporary folder and the offscreen platform; TestMain
# makes its configuration, runtime and home folders inside that folder.
# Ends with the line "N passed, N failed" (programs) and fails when one failed.
#   tests/run_one_process.sh [BUILD_DIR]
set -u
build=${1:-build}
list="$build/tests/test-programs.txt"
if [ ! -f "$list" ]; then
  echo "$list is missing: configure and build with the tests first" >&2
  exit 2
fi
# Short folder names: Chromium's socket path inside the temporary folder
# must stay within the 108 bytes of a socket address.
root=$(mktemp -d "${TMPDIR:-/tmp}/k1p-XXXXXX") || exit 2
passed=0
failed=0
n=0
while IFS= read -r program; do
  [ -n "$program" ] || continue
  name=$(basename "$program")
  n=$((n + 1))
  mkdir "$root/$n"
  log="$root/$n.log"
  started=$(date +%s)
  if timeout 1800 env QT_QPA_PLATFORM=offscreen TMPDIR="$root/$n" \
       "$program" --gtest_brief=1 >"$log" 2>&1 </dev/null; then
    passed=$((passed + 1))
    echo "Passed as one process: $name ($(($(date +%s) - started)) s)"
  else
    failed=$((failed + 1))
    echo "FAILED as one process: $name ($(($(date +%s) - started)) s)"
    # The failures, or the end of the output when the program died.
    if grep -q -e ': Failure$' -e '^\[  FAILED  \]' "$log"; then
      grep -A 8 -e ': Failure$' -e '^\[  FAILED  \]' "$log" | head -n 120 | sed 's/^/    /'
    else
      tail -n 30 "$log" | sed 's/^/    /'
    fi
  fi
done <"$list"
rm -rf "$root"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
