#!/bin/sh
# Runs every GoogleTest program of a build once as a single process, all its
# cases one after another, so that a test which leaves files or state behind
# for the next one shows up (CTest runs each case in a fresh process). Each
# program gets a fresh temporary folder and the offscreen platform; TestMain
# makes its configuration, runtime and home folders inside that folder.
# Ends with the line "Cases: N passed, N failed" (test cases of all programs;
# a program that dies counts at least one failed case) and fails when a
# program failed.
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
cases_passed=0
cases_failed=0
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
    status=0
  else
    status=1
  fi
  # GoogleTest's own summary: "[  PASSED  ] N tests." and "[  FAILED  ] N tests, listed below:".
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\.$/\1/p' "$log" | tail -n 1)
  bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below:$/\1/p' "$log" | tail -n 1)
  ok=${ok:-0}
  bad=${bad:-0}
  [ "$status" -ne 0 ] && [ "$bad" -eq 0 ] && bad=1
  cases_passed=$((cases_passed + ok))
  cases_failed=$((cases_failed + bad))
  if [ "$status" -eq 0 ]; then
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
echo "Programs run as one process: $passed passed, $failed failed"
echo "Cases: $cases_passed passed, $cases_failed failed"
[ "$failed" -eq 0 ]
