#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build for FUZZ_SECONDS, starting from seed case files.
# Any crash, leak or sanitizer report makes the run fail.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
work=fuzz/corpus-work
mkdir -p "$work/case_reader" "$work/artifacts"
"$build/bin/fuzz_seeds" "$work/case_reader"
if [ -f build/examples/demo.cvx ]; then cp build/examples/demo.cvx "$work/case_reader/"; fi
cp tests/data/*.cvx "$work/case_reader/" 2>/dev/null || true

set +e
"$build/bin/case_reader_fuzz" "$work/case_reader" -max_total_time="$seconds" -max_len=65536 \
    -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/" -print_final_stats=1 2>&1 | tail -n 25
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
    echo "fuzzing found a problem; see $work/artifacts/" >&2
    exit "$status"
fi
echo "fuzzing: no crash, leak or sanitizer report in ${seconds}s"
