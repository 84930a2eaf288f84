#!/usr/bin/env bash
# The target window of the end-to-end tests logs what it receives: driven here
# by xdotool (independent of the program), so that a fault in the target is not
# mistaken for a fault of the program's own injection.
set -eu
source "$(dirname "$0")/comun.sh"
LOG=$(mktemp /tmp/objetivo.XXXXXX.log)
trap 'terminar_objetivo; rm -f "$LOG" "$LOG.salida"' EXIT
pasadas=0
comprobar() { # PATTERN DESCRIPTION
  esperar_linea "$LOG" "$1" 5 >/dev/null || { cat "$LOG" >&2; fallar "$2"; }
  pasadas=$((pasadas + 1))
}

arrancar_objetivo "$LOG"
comprobar '^[0-9]+ READY$' "falta READY"
antes=$(awk '{print $1; exit}' "$LOG")

xdotool click 3
comprobar '^[0-9]+ PRESS right$' "clic derecho sin PRESS"
comprobar '^[0-9]+ RELEASE right$' "clic derecho sin RELEASE"
xdotool key F5
comprobar '^[0-9]+ KEY F5 mods=none ' "F5 no llegó"
comprobar '^[0-9]+ KEYUP F5 ' "F5 sin KEYUP"
xdotool key shift+a
comprobar '^[0-9]+ KEY A mods=shift text=A ' "SHIFT+a no dio A"
xdotool key space
comprobar '^[0-9]+ KEY Space mods=none text=\\x20 ' "espacio mal registrado"

# Looking only after a mark: what came before it is not found again.
marca=$(lineas_registro "$LOG")
xdotool click 1
esperar_linea_desde "$LOG" "$marca" '^[0-9]+ PRESS left$' 5 >/dev/null || fallar "clic izquierdo sin PRESS"
esperar_linea_desde "$LOG" "$marca" ' KEY F5 ' 1 >/dev/null && fallar "esperar_linea_desde miró antes de la marca"
pasadas=$((pasadas + 1))

# Timestamps are CLOCK_MONOTONIC microseconds, increasing line by line.
awk -v a="$antes" 'BEGIN{p=0} {if ($1 < p || $1 < a) exit 1; p=$1}' "$LOG" || fallar "tiempos no crecientes"
pasadas=$((pasadas + 1))
echo "$pasadas passed, 0 failed"
