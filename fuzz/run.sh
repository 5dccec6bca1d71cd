#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build, sharing FUZZ_SECONDS among them. Each starts from the
# regression seeds kept in fuzz/corpus/<target>/ (inputs earlier runs found interesting) plus seed
# files made fresh from the model and the examples. Any crash, leak or sanitizer report fails the run.
#
# FUZZ_MERGE=1 afterwards folds what this run found into fuzz/corpus/, keeping only inputs that add
# coverage, so the kept seeds stay small.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
targets=(case_reader from_json report)
share=$(( seconds / ${#targets[@]} ))
[ "$share" -ge 1 ] || share=1
work=fuzz/corpus-work

mkdir -p "$work/seeds" "$work/artifacts"
"$build/bin/fuzz_seeds" "$work/seeds"
if [ -f build/examples/demo.cvx ]; then cp build/examples/demo.cvx "$work/seeds/"; fi
cp examples/*.json "$work/seeds/" 2>/dev/null || true
cp tests/data/*.cvx "$work/seeds/" 2>/dev/null || true

status=0
for target in "${targets[@]}"; do
    mkdir -p "$work/$target" "fuzz/corpus/$target"
    case $target in
        from_json) cp "$work"/seeds/*.json "$work/$target/"; max_len=16384 ;;
        *) cp "$work"/seeds/*.cvx "$work/$target/"; max_len=65536 ;;
    esac
    echo "== $target: ${share}s"
    set +e
    "$build/bin/${target}_fuzz" "$work/$target" "fuzz/corpus/$target" -max_total_time="$share" \
        -max_len="$max_len" -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/$target-" \
        -print_final_stats=1 2>&1 | tail -n 12
    result=${PIPESTATUS[0]}
    set -e
    if [ "$result" -ne 0 ]; then
        echo "fuzzing $target found a problem; see $work/artifacts/" >&2
        status=$result
    elif [ "${FUZZ_MERGE:-0}" = 1 ]; then
        "$build/bin/${target}_fuzz" -merge=1 "fuzz/corpus/$target" "$work/$target" -max_len="$max_len" \
            > "$work/$target-merge.log" 2>&1
    fi
done
[ "$status" -eq 0 ] && echo "fuzzing: no crash, leak or sanitizer report in ${seconds}s"
exit "$status"
