#!/usr/bin/env bash
# Builds and runs every test through CTest. Window tests get a virtual display when there is none.
#
# Stages, in order: the plain build's whole suite (build-test/), the concurrency test under
# ThreadSanitizer (build-tsan/), a minute of fuzzing the saved state (build-fuzz/), and the whole
# suite again under AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/).
# Run some stages alone with, e.g.: scripts/test.sh unit tsan
# ZURIZAZ_JOBS=4 limits parallel jobs (a shared machine); ZURIZAZ_FUZZ_SECONDS=600 fuzzes longer.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/dependencies.sh"
zurizaz_install_dependencies

jobs=${ZURIZAZ_JOBS:-$(nproc)}   # ZURIZAZ_JOBS=4 on a shared machine
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# Sanitizer builds: clang, optimised enough to run the suite quickly, line tables for the reports.
sanitizer_build=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
                 -DCMAKE_BUILD_TYPE=RelWithDebInfo
                 "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"
                 "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"
                 -DZURIZAZ_BUILD_BENCHMARKS=OFF)

run_ctest()
{
    local build=$1
    shift
    if [ -z "${DISPLAY:-}" ]; then
        xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
    else
        ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
    fi
}

unit_tests()
{
    local build="$root/build-test"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
    cmake --build "$build" -j "$jobs"
    run_ctest "$build"
}

# Every test again with ASan + UBSan: any report, leaks at exit included, fails its test.
asan_tests()
{
    local build="$root/build-asan"
    cmake -S "$root" -B "$build" "${sanitizer_build[@]}" "-DZURIZAZ_SANITIZERS=address;undefined" "${launcher[@]}"
    cmake --build "$build" -j "$jobs"
    ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1" \
    LSAN_OPTIONS="suppressions=$root/tests/hardening/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        run_ctest "$build"
}

# Audio, editor and session threads together under TSan: only the concurrency test.
tsan_tests()
{
    local build="$root/build-tsan"
    cmake -S "$root" -B "$build" "${sanitizer_build[@]}" -DZURIZAZ_SANITIZERS=thread "${launcher[@]}"
    cmake --build "$build" -j "$jobs" --target ZurizazConcurrencyTests
    TSAN_OPTIONS="suppressions=$root/tests/hardening/tsan.supp:halt_on_error=1:second_deadlock_stack=1" \
        run_ctest "$build" -L concurrency
}

# libFuzzer on setStateInformation for a bounded time, from the committed seed corpus. New
# inputs go to a scratch directory, so the committed corpus only changes by hand. An input
# that runs for 10 s counts as a hang and fails the stage.
fuzz_state()
{
    local build="$root/build-fuzz"
    cmake -S "$root" -B "$build" "${sanitizer_build[@]}" -DZURIZAZ_FUZZING=ON "${launcher[@]}"
    cmake --build "$build" -j "$jobs" --target ZurizazStateFuzzer
    local scratch="$build/state-corpus"
    mkdir -p "$scratch"
    (cd "$build" && "$build/tests/fuzz/ZurizazStateFuzzer" -max_total_time="${ZURIZAZ_FUZZ_SECONDS:-60}" -timeout=10 \
        -print_final_stats=1 "$scratch" "$root/tests/fuzz/corpus")
}

[ $# -eq 0 ] && set -- unit tsan fuzz asan
for stage in "$@"; do
    case "$stage" in
        unit) unit_tests ;;
        asan) asan_tests ;;
        tsan) tsan_tests ;;
        fuzz) fuzz_state ;;
        *) echo "unknown stage: $stage (unit, tsan, fuzz or asan)"; exit 2 ;;
    esac
done
