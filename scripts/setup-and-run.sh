#!/usr/bin/env bash
# Installs what the build needs, builds Release with all cores, installs the VST3 and LV2 bundles
# where Linux hosts look for them, and starts the Standalone app when there is a display.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/dependencies.sh"
zurizaz_install_dependencies

# Under sudo, root only installs the packages: the build, the installed bundles and the app belong
# to the user who asked, in their home, as without sudo.
if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
    exec sudo -u "$SUDO_USER" -H --preserve-env=DISPLAY,WAYLAND_DISPLAY,XAUTHORITY,XDG_RUNTIME_DIR \
        bash "$root/scripts/setup-and-run.sh" "$@"
fi

build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DZURIZAZ_BUILD_BENCHMARKS=OFF
cmake --build "$build" --config Release -j "$(nproc)"

artefacts="$build/Zurizaz_artefacts/Release"
mkdir -p "$HOME/.vst3" "$HOME/.lv2"
rm -rf "$HOME/.vst3/Zurizaz.vst3" "$HOME/.lv2/Zurizaz.lv2"
cp -r "$artefacts/VST3/Zurizaz.vst3" "$HOME/.vst3/"
cp -r "$artefacts/LV2/Zurizaz.lv2" "$HOME/.lv2/"

echo "VST3 installed in   $HOME/.vst3/Zurizaz.vst3"
echo "LV2 installed in    $HOME/.lv2/Zurizaz.lv2"
echo "Standalone app:     $artefacts/Standalone/Zurizaz"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$artefacts/Standalone/Zurizaz"
else
    echo "No display: start the Standalone app yourself from the path above."
fi
