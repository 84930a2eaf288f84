#!/usr/bin/env bash
# Latency of performed actions: the time from the call of ActivarSwitch1 to the
# target window receiving the event, for "Click izquierdo" (first event: the
# left button press; and the release that ends the click) and for "SHIFT+..."
# with "a" (the shifted A), on a private Xvfb desktop. Both clocks are
# CLOCK_MONOTONIC: the driver reads it right before the call, the target when
# the event reaches its window.
#   bench/latencia_acciones.sh [BUILD_DIR] [RUNS]     (default: build, 300)
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
export QUIMBAL_BUILD=$(cd "${1:-$src/build}" && pwd)
export QUIMBAL_SRC=$src
export BENCH_RUNS=${2:-300}
[ -x "$QUIMBAL_BUILD/quimbal_inyectar" ] && [ -x "$QUIMBAL_BUILD/objetivo" ] ||
  { echo "falta compilar quimbal_inyectar y objetivo en $QUIMBAL_BUILD" >&2; exit 1; }
exec "$src/tests/e2e/escritorio.sh" "$src/bench/latencia_interior.sh"
