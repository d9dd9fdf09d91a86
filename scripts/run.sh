#!/usr/bin/env bash
# Installs what is needed, builds the window program corvane and starts it. Arguments go to the
# program (project files, notepad files, -m); without any, it opens the PingPong sample, which
# works on the built-in loopback port COM256: press F5, then "Send" beside "Ping"; F6 stops.
# Without a display (no DISPLAY or WAYLAND_DISPLAY) it runs under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_BUILD_TESTS=OFF \
    -DCORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build build/run -j "$jobs" --target corvane corvane-cli

args=("$@")
if [ ${#args[@]} -eq 0 ]; then
    args=(build/run/bin/Samples/PingPong.ptp)
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running under xvfb-run (nothing will be visible)."
    exec xvfb-run -a build/run/bin/corvane "${args[@]}"
fi
exec build/run/bin/corvane "${args[@]}"
