#!/usr/bin/env bash
# Time from performing an action to a native Wayland window receiving it,
# through the uinput device, in the real-kernel guest with sway: N keys typed
# one after another by the real injector (build/quimbal_inyectar), each timed
# from right before the call to the target window's log line (both read the
# guest's CLOCK_MONOTONIC). Prints the median, p90, p99 and maximum in ms.
#   QUIMBAL_BUILD=build bench/latencia_wayland.sh [N=200]
set -euo pipefail
n=${1:-200}
aqui=$(cd "$(dirname "$0")" && pwd)
salida=$(mktemp)
trap 'rm -f "$salida"' EXIT
QUIMBAL_VM_TIEMPO_EXTRA=$((n + 60)) "$aqui/../tests/vm/invitado.sh" \
  "LATENCIA=$n bash \"\$QUIMBAL_VM/wayland_invitado.sh\"" >"$salida"
awk '/^LATENCIA / { print ($3 - $2) / 1000 }' "$salida" | sort -n | awk '
  { v[NR] = $1 }
  END {
    if (NR == 0) { print "sin medidas" > "/dev/stderr"; exit 1 }
    printf "teclas: %d  mediana %.1f ms  p90 %.1f ms  p99 %.1f ms  max %.1f ms\n",
      NR, v[int((NR + 1) / 2)], v[int(NR * 0.9 + 0.5)], v[int(NR * 0.99 + 0.5)], v[NR]
  }'
