#!/usr/bin/env bash
# The Debian 12 packages Zurizaz needs to build, test and run. Sourced by the other scripts.

ZURIZAZ_PACKAGES=(
    build-essential cmake pkg-config ccache
    juce-modules-source             # JUCE 7.0.5 modules and CMake support
    lv2-dev                         # LV2 headers for the LV2 wrapper
    libasound2-dev libfreetype-dev libx11-dev libxext-dev libxinerama-dev libxrandr-dev libxcursor-dev
    libxcomposite-dev libgl-dev libcurl4-gnutls-dev libgtk-3-dev libwebkit2gtk-4.0-dev
    libpng-dev                      # the artwork generator writes PNGs with libpng
    fonts-liberation                # Liberation Sans stands in for Arial, metric-compatible
    libgtest-dev libbenchmark-dev   # tests and benchmarks
    xvfb xauth                      # a virtual display for window tests
    clang libclang-rt-14-dev        # sanitizer and fuzzing builds
    clang-format                    # the C++ files' layout, checked against .clang-format
)

# Prints the packages that are not installed yet.
zurizaz_missing_packages()
{
    local missing=()
    for package in "${ZURIZAZ_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    echo "${missing[@]}"
}

# Installs what is missing when run as root; otherwise prints the apt-get line and fails.
zurizaz_install_dependencies()
{
    local missing
    missing=$(zurizaz_missing_packages)
    [ -z "$missing" ] && return 0

    if [ "$(id -u)" -eq 0 ]; then
        export DEBIAN_FRONTEND=noninteractive
        apt-get update
        # shellcheck disable=SC2086
        apt-get install -y --no-install-recommends $missing
    else
        echo "Zurizaz needs these Debian packages. Install them as root with:"
        echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends $missing"
        return 1
    fi
}
