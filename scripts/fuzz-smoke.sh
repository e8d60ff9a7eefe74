#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a few seconds on its seed corpus.
# Usage: scripts/fuzz-smoke.sh BUILD_DIR SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-20}
for src in fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  exe="$build/bin/$name"
  [[ -x "$exe" ]] || continue
  corpus=$(mktemp -d)
  if [[ -d "fuzz/corpus/$name" ]]; then cp -r "fuzz/corpus/$name/." "$corpus/"; fi
  # The real files beside the repository seed the CCF reader too (grayscale and colour);
  # they stay outside the project, copied only into the run's own corpus.
  if [[ $name == fuzz_ccf_read && -d ../shared/ccf-samples ]]; then
    cp ../shared/ccf-samples/*.ccf "$corpus/" 2>/dev/null || true
  fi
  echo "-- $name (${seconds}s)"
  "$exe" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" 2>"$corpus.log" \
    || { tail -n 60 "$corpus.log"; exit 1; }
  rm -rf "$corpus" "$corpus.log"
done
