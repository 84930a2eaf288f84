#!/usr/bin/env bash
# Started straight into the notification area on a desktop without one: the
# switches act at once, while the program waits for an area to appear; once
# it gives up, the window goes minimised to the task bar without taking the
# keyboard from the user, and the desktop's notifications say why. No key or
# click from the test once the program has started.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/puerto_comun.sh"
source "$(dirname "$0")/arranque_comun.sh"
LOG=$(mktemp /tmp/quimbal-sin-bandeja.XXXXXX)
trap 'terminar_quimbal; terminar_objetivo; parar_bus_con_notificador; limpiar_puerto_falso' EXIT

arrancar_bus_con_notificador
arrancar_objetivo "$LOG"
preparar_carpeta
preparar_puerto_falso
registro General 1 'Click izquierdo' 'Click derecho' >"$CARPETA/usuarios.dat"
configuracion 2 >"$CARPETA/quimbal.dat"
arrancar_en_bandeja
esperar_puerto_abierto || fallar "el puerto no se abrió: $(cat "$CARPETA/salida.log")"
pulsar_y_esperar_clic "$LOG" || fallar "el switch no actuó mientras se espera el área de notificación"
bien "el switch actúa desde el primer momento"

# The wait for an area (15 s) ends in a notification and a minimised window.
esperar_linea "$NOTIFICACIONES" '^NOTIFY .*área de notificación' 25 >/dev/null ||
  fallar "no llegó la notificación: $(cat "$NOTIFICACIONES"; cat "$CARPETA/salida.log")"
minimizada=""
for _ in $(seq 50); do
  for w in $(xdotool search --pid "$QUIMBAL_PID" --name '^Quimbal 1.6$' 2>/dev/null); do
    xprop -id "$w" WM_STATE 2>/dev/null | grep -q 'Iconic' && minimizada=$w
  done
  [ -n "$minimizada" ] && break
  sleep 0.1
done
[ -n "$minimizada" ] || { cat $CARPETA/salida.log; captura sin-bandeja-arranque; fallar "la ventana no quedó minimizada"; }
[ -z "$(ventanas_de "$QUIMBAL_PID")" ] || { captura sin-bandeja-arranque; fallar "se mostró una ventana"; }
nada_durante 1
[ "$(grep -E ' FOCUS(IN|OUT)$' "$LOG" | tail -n1 | cut -d' ' -f2)" = FOCUSIN ] ||
  fallar "el objetivo perdió el foco: $(grep -E ' FOCUS' "$LOG" | tail -3)"
pulsar_y_esperar_clic "$LOG" || fallar "el switch dejó de actuar tras minimizarse"
bien "sin área de notificación: notificado, minimizada sin quitar el foco, el switch sigue actuando"
echo "$pasadas passed, 0 failed"
