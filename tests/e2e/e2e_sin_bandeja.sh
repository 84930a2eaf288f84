#!/usr/bin/env bash
# On a desktop without notification area the window is never lost: Enter
# tells the user once and minimises the window to the task bar; restoring it
# brings it back, and Enter minimises it again without a second message.
set -eu
source "$(dirname "$0")/comun.sh"
pasados=0
bien() { pasados=$((pasados + 1)); echo "ok: $*"; }
trap 'terminar_quimbal' EXIT
ventanas() { xdotool search --onlyvisible --name '^Quimbal 1.6$' 2>/dev/null | wc -l; }
esperar_ventanas() { # esperar_ventanas N [TRIES]
  for _ in $(seq "${2:-100}"); do [ "$(ventanas)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}

# Restores the minimised window as the task bar does (asks the window manager
# to activate it), asking again until it shows.
restaurar() {
  for _ in $(seq 10); do
    xdotool windowactivate "$wid" >/dev/null 2>&1 || true
    esperar_ventanas 1 5 && return 0
  done
  return 1
}

preparar_carpeta
arrancar_quimbal
wid=$(pasar_inicio) || fallar "no apareció la ventana de configuración"
icono_bandeja >/dev/null && fallar "hay un icono aunque el escritorio no tiene área de notificación"

xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key Return
esperar_ventanas 2 || fallar "no se avisó de la falta de área de notificación"
captura sin-bandeja-aviso
caja=$(xdotool search --onlyvisible --name '^Quimbal 1.6$' | grep -v "^$wid\$" | head -n1)
xdotool windowactivate --sync "$caja" >/dev/null 2>&1 || true
xdotool key Return
esperar_ventanas 0 || fallar "la ventana no se minimizó"
kill -0 "$QUIMBAL_PID" || fallar "el programa terminó"
xdotool search --name '^Quimbal 1.6$' | grep -q "^$wid\$" || fallar "la ventana ya no existe"
captura sin-bandeja-minimizada
bien "Aceptar avisa una vez y minimiza la ventana"

# Restoring it from the task bar shows it again.
restaurar || fallar "la ventana no volvió al restaurarla"
bien "restaurar la ventana la muestra"

xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key Return
esperar_ventanas 0 || fallar "la segunda vez la ventana no se minimizó (¿otro aviso?)"
bien "la segunda vez no hay aviso"

restaurar || fallar "la ventana no volvió"
salir_con_si "$wid"
bien "Salir termina el programa"
echo "$pasados passed, 0 failed"
