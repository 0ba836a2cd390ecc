#!/bin/sh
# Runs every fuzzer built in BUILD_DIR (each executable named fuzz_* below
# BUILD_DIR/fuzz) for SECONDS seconds, each on a scratch copy of its seed
# corpus fuzz/corpus/NAME when there is one. Builds nothing.
# Exit status: 0 when no fuzzer found a fault, 1 otherwise, 2 for bad use.
set -u

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
build_dir=$1
seconds=$2
corpus_root=$(cd "$(dirname "$0")" && pwd)/corpus

if [ ! -d "$build_dir/fuzz" ]; then
  echo "$0: no fuzzers in $build_dir (configure it with -DSTAKKOR_FUZZ=ON and build them)" >&2
  exit 2
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/stakkor-fuzz-run-XXXXXX") || exit 2
trap 'rm -rf "$scratch"' EXIT INT TERM

fuzzers=$(find "$build_dir/fuzz" -name CMakeFiles -prune -o -type f -name 'fuzz_*' -perm -u+x -print | sort)
if [ -z "$fuzzers" ]; then
  echo "$0: no fuzz_* executables under $build_dir/fuzz" >&2
  exit 2
fi

failed=""
for fuzzer in $fuzzers; do
  name=$(basename "$fuzzer")
  work="$scratch/$name"
  mkdir -p "$work/corpus" "$work/artifacts"
  if [ -d "$corpus_root/$name" ]; then
    cp -R "$corpus_root/$name/." "$work/corpus/"
  fi
  echo "== $name: ${seconds}s"
  if "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$work/artifacts/" "$work/corpus" >"$work/log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$work/log" | sed "s/^/   /"
  else
    echo "   FAILED; the last lines of its log:"
    tail -n 40 "$work/log" | sed "s/^/   /"
    for artifact in "$work"/artifacts/*; do
      [ -e "$artifact" ] || continue
      kept="${TMPDIR:-/tmp}/$name-$(basename "$artifact")"
      cp "$artifact" "$kept" && echo "   input kept in $kept"
    done
    failed="$failed $name"
  fi
done

if [ -n "$failed" ]; then
  echo "fuzzers that found a fault:$failed"
  exit 1
fi
echo "all fuzzers ran clean"
