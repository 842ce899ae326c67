#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all, printing one table of
# our times against the baselines'. Arguments go to zrbbench (for example a
# case name: design, document, startup; or --reps N).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh

BUILD_DIR=${BENCH_BUILD_DIR:-build-bench}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target zrbbench >/dev/null

export LIBGL_ALWAYS_SOFTWARE=1
BENCH="$BUILD_DIR/benchmarks/zrbbench"
if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1600x1200x24" "$BENCH" "$@"
fi
exec "$BENCH" "$@"
