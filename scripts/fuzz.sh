#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ and runs each, one after the other, for SECONDS (60 by
# default) from its seed corpus in fuzz/corpus/. Any crash, leak, sanitizer report, input taking
# over a second or run using over 512 MB fails it, and the input is left in fuzz/crashes/; such an
# input then belongs in the corpus (and, for a project file, in tests/data/hostile/).
#
#   scripts/fuzz.sh [SECONDS]   fuzz; new inputs worth keeping collect in build-fuzz/corpus/
#   scripts/fuzz.sh --replay    run every target over its corpus only, as scripts/test.sh does
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"

replay=false
seconds=60
case "${1:-}" in
--replay) replay=true ;;
"") ;;
*[!0-9]* | 0)
    echo "usage: $0 [SECONDS | --replay]" >&2
    exit 2
    ;;
*) seconds="$1" ;;
esac

mirel_install_packages
build="$root/build-fuzz"
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMIREL_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$build" --target mirel-fuzzers -j "$(mirel_jobs)"

crashes="$root/fuzz/crashes"
mkdir -p "$crashes"
# A smaller quarantine of freed memory than AddressSanitizer's 256 MB: with Qt loaded, that alone
# brings a long run close to the 512 MB limit, which is meant for what the readers take.
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=64"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
limits=(-rss_limit_mb=512 -malloc_limit_mb=512 -timeout=1 -detect_leaks=1)

failed=()
for target in project definitions weightfactor reporttemplate roundtrip; do
    seeds=("$root/fuzz/corpus/$target")
    # the round trip starts from every project file the project reader has
    if [ "$target" = roundtrip ]; then
        seeds+=("$root/fuzz/corpus/project")
    fi
    options=("${limits[@]}" -artifact_prefix="$crashes/$target-")
    if [ "$target" != weightfactor ]; then
        options+=(-dict="$root/fuzz/project.dict")
    fi
    echo "== fuzz_$target"
    if $replay; then
        # the inputs one by one: libFuzzer runs them and makes no new ones
        mapfile -t inputs < <(find "${seeds[@]}" -type f | sort)
        command=("$build/bin/fuzz_$target" "${options[@]}" "${inputs[@]}")
    else
        mkdir -p "$build/corpus/$target"
        command=("$build/bin/fuzz_$target" "${options[@]}" -max_total_time="$seconds"
            -print_final_stats=1 "$build/corpus/$target" "${seeds[@]}")
    fi
    log="$build/fuzz_$target.log"
    if "${command[@]}" >"$log" 2>&1; then
        if $replay; then
            echo "$(grep -c '^Executed' "$log") inputs passed"
        else
            grep -E '^(Done|stat::number_of_executed_units)' "$log"
        fi
    else
        failed+=("$target")
        grep -E 'ERROR|FUZZ FAILURE|SUMMARY|Test unit written' "$log" || tail -n 20 "$log"
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing failed: ${failed[*]} (inputs in fuzz/crashes/, logs in build-fuzz/)" >&2
    exit 1
fi
