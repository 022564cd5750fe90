#!/usr/bin/env bash
# Builds and runs every test through CTest. Window tests get a virtual display when there is none.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/dependencies.sh"
zurizaz_install_dependencies

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

run_ctest()
{
    local build=$1
    if [ -z "${DISPLAY:-}" ]; then
        xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
    else
        ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
    fi
}

build="$root/build-test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
cmake --build "$build" -j "$(nproc)"
run_ctest "$build"
