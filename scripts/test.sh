#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless under Xvfb with
# Mesa. Installs the Debian packages it needs first (see setup-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"

# Qt Quick needs an OpenGL context: Xvfb with Mesa's software renderer.
export LIBGL_ALWAYS_SOFTWARE=1
cd "$BUILD_DIR"
xvfb-run -a -s "-screen 0 1600x1200x24" \
    ctest --output-on-failure --no-tests=error --timeout 300 -j2
