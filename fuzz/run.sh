#!/bin/sh
# Runs the template fuzzer for the given seconds (default 600) on a copy of the seeds.
set -e
here=$(cd "$(dirname "$0")" && pwd)
seconds=${1:-600}
[ -x "$here/out/report_template_fuzzer" ] || "$here/build.sh"
mkdir -p "$here/out/corpus"
cp -n "$here"/seeds/* "$here/out/corpus/" 2>/dev/null || true
for t in "$here"/../tests/report/cases/*/template.rtf; do
  cp -n "$t" "$here/out/corpus/$(basename "$(dirname "$t")").rtf" 2>/dev/null || true
done
cd "$here/out"
# A small quarantine keeps the long run within its memory limit; each input is bounded itself.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=32}"
./report_template_fuzzer -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -dict="$here/template.dict" corpus
