#!/usr/bin/env bash
# Builds and runs every test through CTest. Window tests get a virtual display when there is none.
#
# Stages, in order: the C++ files' layout checked against .clang-format (seconds), the plain
# build's whole suite (build-test/, a few minutes), the pictures in resources/ drawn again by
# tools/artwork and compared with the committed ones (build-artwork/), the concurrency test under
# ThreadSanitizer (build-tsan/), a minute of fuzzing the saved state (build-fuzz/), and the whole
# suite again under AddressSanitizer + UndefinedBehaviorSanitizer with assertions on
# (build-asan/). All of them take about a quarter of an hour.
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
# The ASan + UBSan build also keeps every assertion, ours and JUCE's (JUCE_DEBUG, no NDEBUG): one
# that fires fails the test it fired in.
asan_build=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
            -DCMAKE_BUILD_TYPE=Debug
            "-DCMAKE_C_FLAGS_DEBUG=-O1 -gline-tables-only"
            "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only"
            -DZURIZAZ_BUILD_BENCHMARKS=OFF)

# Sanitized programs run through this prefix: the builds run some (JUCE's LV2 helper loads the
# plug-in to write its manifest), and so do the tests. clang 14's sanitizer runtimes crash at start
# when the kernel randomises mmap addresses with more than 28 bits (vm.mmap_rnd_bits=32 on recent
# kernels); setarch -R turns address randomisation off for them and everything they start.
sanitized=()
check_sanitizers_can_run()
{
    local bits
    bits=$(cat /proc/sys/vm/mmap_rnd_bits 2>/dev/null || echo 0)
    [ "$bits" -le 28 ] && return 0

    if setarch "$(uname -m)" -R true 2>/dev/null; then
        sanitized=(setarch "$(uname -m)" -R)
    else
        echo "vm.mmap_rnd_bits is $bits here, and clang 14's sanitizers crash at start above 28." >&2
        echo "setarch -R (no address randomisation) is not allowed either. Lower the setting with:" >&2
        echo "  sudo sysctl vm.mmap_rnd_bits=28" >&2
        exit 1
    fi
}

run_ctest()
{
    local build=$1
    shift
    if [ -z "${DISPLAY:-}" ]; then
        "${sanitized[@]}" xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
    else
        "${sanitized[@]}" ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
    fi
}

unit_tests()
{
    local build="$root/build-test"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
    cmake --build "$build" -j "$jobs"
    run_ctest "$build"
}

# Every test again with ASan + UBSan and assertions on: any report, leaks at exit included, and
# any JUCE assertion fails its test.
asan_tests()
{
    local build="$root/build-asan"
    check_sanitizers_can_run
    cmake -S "$root" -B "$build" "${asan_build[@]}" "-DZURIZAZ_SANITIZERS=address;undefined" "${launcher[@]}"
    "${sanitized[@]}" cmake --build "$build" -j "$jobs"
    # intercept_tls_get_addr=0: LSan's record of dynamic TLS keeps a stale slot of a VST3 bundle
    # after the host unloads it ("DTLS 5 at 0x8b0"), and its tracer then crashes at exit.
    ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:intercept_tls_get_addr=0" \
    LSAN_OPTIONS="suppressions=$root/tests/hardening/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        run_ctest "$build"
}

# Audio, editor and session threads together under TSan: only the concurrency test.
tsan_tests()
{
    local build="$root/build-tsan"
    check_sanitizers_can_run
    cmake -S "$root" -B "$build" "${sanitizer_build[@]}" -DZURIZAZ_SANITIZERS=thread "${launcher[@]}"
    "${sanitized[@]}" cmake --build "$build" -j "$jobs" --target ZurizazConcurrencyTests
    TSAN_OPTIONS="suppressions=$root/tests/hardening/tsan.supp:halt_on_error=1:second_deadlock_stack=1" \
        run_ctest "$build" -L concurrency
}

# libFuzzer on setStateInformation for a bounded time, from the committed seed corpus. New
# inputs go to a scratch directory, so the committed corpus only changes by hand. An input
# that runs for 10 s counts as a hang and fails the stage.
fuzz_state()
{
    local build="$root/build-fuzz"
    check_sanitizers_can_run
    cmake -S "$root" -B "$build" "${sanitizer_build[@]}" -DZURIZAZ_FUZZING=ON "${launcher[@]}"
    "${sanitized[@]}" cmake --build "$build" -j "$jobs" --target ZurizazStateFuzzer
    local scratch="$build/state-corpus"
    mkdir -p "$scratch"
    (cd "$build" && "${sanitized[@]}" "$build/tests/fuzz/ZurizazStateFuzzer" -max_total_time="${ZURIZAZ_FUZZ_SECONDS:-60}" \
        -timeout=10 -print_final_stats=1 "$scratch" "$root/tests/fuzz/corpus" 2>&1 | tee "$build/fuzz.log")
    # libFuzzer's own final statistics: the runs and the seconds they took.
    awk '/^stat::number_of_executed_units:/ { runs = $2 } /^stat::(average_exec_per_sec):/ { rate = $2 }
         END { if (runs) printf "State fuzzer: %d inputs, %d executions per second\n", runs, rate }' "$build/fuzz.log"
}

# Every tracked C++ file is written as .clang-format describes. Other versions of clang-format
# lay out some constructs differently, so the check insists on the one the file was tuned for.
# Format everything with: git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format -i
format_check()
{
    if ! clang-format --version | grep -q "version 14\."; then
        echo "The format check needs clang-format 14 (Debian 12's clang-format); found: $(clang-format --version)" >&2
        exit 1
    fi

    local files
    mapfile -d '' files < <(git -C "$root" ls-files -z -- '*.cpp' '*.h')
    if ! (cd "$root" && clang-format --dry-run -Werror "${files[@]}"); then
        echo "Some C++ files are not formatted as .clang-format says: run clang-format -i on them." >&2
        exit 1
    fi
    echo "Format: ${#files[@]} C++ files as .clang-format describes"
}

# The pictures in resources/ are what tools/artwork draws: draw them again over the committed
# ones, and fail when that changed anything.
artwork()
{
    local build="$root/build-artwork"
    cmake -S "$root/tools/artwork" -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
    cmake --build "$build" -j "$jobs"
    "$build/ZurizazArtwork_artefacts/Release/ZurizazArtwork" "$root/resources"

    if ! git -C "$root" diff --exit-code --stat -- resources \
       || [ -n "$(git -C "$root" status --porcelain --untracked-files=all -- resources)" ]; then
        echo "resources/ differs from what tools/artwork draws: run it and commit the pictures." >&2
        git -C "$root" status --short -- resources >&2
        exit 1
    fi
}

[ $# -eq 0 ] && set -- format unit artwork tsan fuzz asan
for stage in "$@"; do
    case "$stage" in
        format) format_check ;;
        unit) unit_tests ;;
        artwork) artwork ;;
        asan) asan_tests ;;
        tsan) tsan_tests ;;
        fuzz) fuzz_state ;;
        *) echo "unknown stage: $stage (format, unit, artwork, tsan, fuzz or asan)"; exit 2 ;;
    esac
done
