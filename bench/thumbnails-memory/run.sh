#!/bin/bash
# Memory of the thumbnail cache for a folder of COUNT small JPEG photos (made
# once under bench/data/, reused): a first visit (thumbnails made by the two
# workers, then each read once, as a list scrolled to its end), then a second
# process reopening the folder from the cache file the first one wrote.
# Environment: BUILD (build folder, default build), COUNT (default 10000).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-10000}
data=$root/bench/data/thumbnails-memory-$count
out=$root/bench/out/thumbnails-memory

ninja -C "$build" thumbnail_memory_bench >/dev/null
bench=$build/bench/thumbnails-memory/thumbnail_memory_bench
"$bench" make "$data" "$count"
rm -rf "$out"
mkdir -p "$out/tmp"
export TMPDIR=$out/tmp # the cache file goes here
echo "first visit:"
"$bench" browse "$data" | sed 's/^/  /'
echo "reopened from the cache file ($(du -h "$out"/tmp/*qemthumbs.Data | cut -f1)):"
"$bench" browse "$data" | sed 's/^/  /'
