#!/usr/bin/env bash
# Benchmark: switch press to click in the target window, through the real
# program (serial poll, action, X11 injection) and the test serial port.
#   QUIMBAL_BUILD=$PWD/build tests/e2e/escritorio.sh bench/puerto_latencia.sh [PRESSES]
# Event-driven (the port reports each change, TIOCMIWAIT) by default; with
# QUIMBAL_SIN_ESPERA=1 the port reports none and the 50 ms poll alone finds
# the press.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
source "$src/tests/e2e/comun.sh"
source "$src/tests/e2e/puerto_comun.sh"
trap 'terminar_quimbal; terminar_objetivo; limpiar_puerto_falso' EXIT
preparar_carpeta
preparar_puerto_falso
[ "${QUIMBAL_SIN_ESPERA:-}" = 1 ] && echo "sin_espera=1" >"$PUERTO_FALSO.estado"
export QT_LOGGING_RULES="quimbal.acciones.debug=true"
arrancar_quimbal_con_puerto
wid=$(pasar_inicio) || fallar "no apareció la ventana Quimbal 1.6"
elegir_puerto_y_aceptar "$wid" 2
esperar_puerto_abierto || fallar "COM2 no quedó abierto"
sleep 0.5
LOG="$CARPETA/objetivo.log"
arrancar_objetivo "$LOG"
python3 "$src/bench/puerto_latencia.py" "$PUERTO_FALSO.estado" "$LOG" "${1:-120}" "$CARPETA/salida.log"
