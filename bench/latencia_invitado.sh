#!/usr/bin/env bash
# Latencies in the real-kernel guest (tests/vm), in ms: median, p90, p99, max.
#   QUIMBAL_BUILD=build bench/latencia_invitado.sh wayland [N=200]
#     time from performing an action to a native Wayland window receiving
#     it, through the uinput device: N keys typed one after another by the
#     real injector (build/quimbal_inyectar) into the target window under
#     sway, each from right before the call to the window's log line
#   QUIMBAL_BUILD=build bench/latencia_invitado.sh serie [N=200]
#     switch to click: N presses of switch 1 on the guest's 16550 (the 8250
#     driver), the program in the tray, each from the moment the guest's
#     driver counts the change of CTS to the target window's log line (the
#     rig's own delay in passing the line to the guest is left out)
#   QUIMBAL_BUILD=build bench/latencia_invitado.sh caja [N=200]
#     switch to click on a USB switch box: N presses of a uinput-made game
#     controller box, each from the moment it is written to uinput (the
#     kernel's time of the event) to the target window's log line
# serie and caja also give the time to the moment the program performs the
# action (its trace, QT_LOGGING_RULES="quimbal.acciones.debug=true"), apart
# from the compositor's delivery.
# Both ends read the guest's CLOCK_MONOTONIC.
set -euo pipefail
prueba=${1:?uso: latencia_invitado.sh wayland|serie|caja [N]}
n=${2:-200}
aqui=$(cd "$(dirname "$0")" && pwd)
salida=$(mktemp)
trap 'rm -f "$salida"' EXIT
[ "$prueba" = serie ] && export QUIMBAL_VM_SERIE=1
QUIMBAL_VM_TIEMPO_EXTRA=$((n * 2 + 60)) "$aqui/../tests/vm/invitado.sh" \
  "LATENCIA=$n bash \"\$QUIMBAL_VM/${prueba}_invitado.sh\"" >"$salida"
resumen() {
  sort -n | awk -v titulo="$1" '
    { v[NR] = $1 }
    END {
      if (NR == 0) { print "sin medidas" > "/dev/stderr"; exit 1 }
      printf "%s: %d medidas: mediana %.1f ms  p90 %.1f ms  p99 %.1f ms  max %.1f ms\n",
        titulo, NR, v[int((NR + 1) / 2)], v[int(NR * 0.9 + 0.5)], v[int(NR * 0.99 + 0.5)], v[NR]
    }'
}
# serie, caja: a fourth field, the moment the program performed the action.
if grep -q '^LATENCIA [0-9]* [0-9]* [0-9]' "$salida"; then
  awk '/^LATENCIA / { print ($4 - $2) / 1000 }' "$salida" | resumen "línea → acción"
fi
awk '/^LATENCIA / { print ($3 - $2) / 1000 }' "$salida" | resumen "hasta la ventana"
