#!/usr/bin/env bash
# Shows the engine at work without any hardware: installs what is needed, builds corvane-cli and
# runs the PingPong sample on the built-in loopback port COM256 for a few seconds. A "Ping" is
# sent once; every Ping that comes back is answered with a Pong and every Pong with a Ping.
# DEMO_SECONDS sets the run time (default 5).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_BUILD_TESTS=OFF \
    -DCORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build build/demo -j "$jobs" --target corvane-cli

build/demo/bin/corvane-cli --send Ping --duration "${DEMO_SECONDS:-5}" build/demo/bin/Samples/PingPong.ptp
