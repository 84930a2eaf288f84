#!/usr/bin/env bash
# Switches on the serial port, end to end: the real program, with COM2 standing
# for a scripted serial device. While the window is shown a press lights its
# test label; a switch held while the user accepts does nothing; once the
# window is hidden, switch 1 (CTS, "Click izquierdo" in the default profile)
# gives exactly one click in the target window per press, also for a press
# held a second; two presses give two.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/puerto_comun.sh"
pasadas=0
ok() { echo "ok: $*"; pasadas=$((pasadas + 1)); }
trap 'terminar_quimbal; terminar_objetivo; limpiar_puerto_falso' EXIT

preparar_carpeta
preparar_puerto_falso
# The target first, under the pointer: any click from the moment the window
# hides lands there.
LOG="$CARPETA/objetivo.log"
arrancar_objetivo "$LOG"
arrancar_quimbal_con_puerto
wid=$(pasar_inicio) || fallar "no apareció la ventana Quimbal 1.6"
elegir_puerto "$wid" 2
esperar_puerto_abierto || fallar "COM2 no quedó abierto con RTS y DTR: $(cat "$PUERTO_FALSO.lineas" 2>/dev/null)"
ok "COM2 abierto por el programa, RTS y DTR activos"

# Test mode: a point inside each test label, red while its switch is held.
ROJO=255,0,0
etiqueta1() { color_en_ventana "$wid" 404 172; }
etiqueta2() { color_en_ventana "$wid" 508 172; }
[ "$(etiqueta1)" != $ROJO ] && [ "$(etiqueta2)" != $ROJO ] || fallar "etiquetas rojas sin pulsar"
estado_puerto cts=1
esperar_color "$wid" 404 172 $ROJO || fallar "el switch 1 no puso roja su etiqueta"
[ "$(etiqueta2)" != $ROJO ] || fallar "el switch 1 puso roja la etiqueta del 2"
estado_puerto dsr=1
esperar_color "$wid" 508 172 $ROJO || fallar "el switch 2 no puso roja su etiqueta"
[ "$(etiqueta1)" != $ROJO ] || fallar "soltar el switch 1 no apagó su etiqueta"
estado_puerto
esperar_otro_color "$wid" 508 172 $ROJO || true
[ "$(etiqueta2)" != $ROJO ] || fallar "soltar el switch 2 no apagó su etiqueta"
ok "modo de prueba: cada switch ilumina solo su etiqueta"

# Switch 1 held while the user accepts: accepted once its label shows it.
estado_puerto cts=1
esperar_color "$wid" 404 172 $ROJO || true
aceptar "$wid"
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Quimbal 1.6$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Quimbal 1.6$' >/dev/null 2>&1 && fallar "la ventana sigue visible"
ok "ventana oculta"

enfocar_objetivo "$LOG"
# A button press in the target; the toolkit reports a second press soon after
# the first as a double click.
clics() { grep -c -E " (PRESS|DBLCLICK) left$" "$LOG" || true; }
fallar_con_log() {
  mkdir -p "$QUIMBAL_ARTEFACTOS" && cp "$LOG" "$QUIMBAL_ARTEFACTOS/puerto-objetivo.log"
  tail -n 20 "$LOG" >&2; fallar "$@"
}
# The poll reads the lines: wait for a few reads between steps.
esperar_lecturas() {
  local desde; desde=$(linea_puerto lecturas)
  for _ in $(seq 100); do
    [ "$(linea_puerto lecturas)" -ge $((desde + ${1:-6})) ] && return 0
    sleep 0.02
  done
  fallar "el programa dejó de leer las líneas"
}
# The click count, once it has reached N (up to 5 s) and then stayed there for
# a moment in which a stray extra click would have arrived.
clics_tras() { # clics_tras N
  for _ in $(seq 50); do [ "$(clics)" -ge "$1" ] && break; sleep 0.1; done
  nada_durante 0.3
  clics
}
pulsar() { # pulsar SEGUNDOS: the switch is held that long (what is tested)
  estado_puerto cts=1
  sleep "$1"
  esperar_lecturas
  estado_puerto cts=0
  esperar_lecturas
}

esperar_lecturas 12
[ "$(clics)" = 0 ] || fallar_con_log "el switch sostenido al aceptar dio un clic"
estado_puerto cts=0
esperar_lecturas
ok "sostenido al aceptar: ningún clic"

pulsar 0.15
esperar_linea "$LOG" ' PRESS left$' 5 >/dev/null || fallar "ningún clic tras la pulsación"
[ "$(clics_tras 1)" = 1 ] || fallar_con_log "una pulsación dio $(clics) clics"
ok "una pulsación, un clic"

pulsar 1
[ "$(clics_tras 2)" = 2 ] || fallar_con_log "una pulsación de 1 s dio $(( $(clics) - 1 )) clics"
ok "una pulsación de 1 s, un clic"

pulsar 0.15
pulsar 0.15
[ "$(clics_tras 4)" = 4 ] || fallar_con_log "dos pulsaciones dieron $(( $(clics) - 2 )) clics"
ok "dos pulsaciones, dos clics"

# The adapter goes away with switch 1 closed: nothing happens, nothing hangs.
estado_puerto cts=1 desenchufado=1
# Nothing to see when the program meets the dead port: ten of its 50 ms polls
# in which no click and no crash may come.
nada_durante 0.5
kill -0 "$QUIMBAL_PID" 2>/dev/null || fallar "el programa terminó al desenchufar"
[ "$(clics)" = 4 ] || fallar_con_log "un puerto desenchufado dio clics"
xdotool search --name '^Quimbal 1.6$' >/dev/null 2>&1 || fallar "el programa no responde"
ok "desenchufado: ningún clic, el programa sigue"

[ "$(grep -c -E ' (KEY |PRESS right|DBLCLICK right)' "$LOG" || true)" = 0 ] ||
  fallar_con_log "el objetivo recibió otras teclas o botones"
ok "ningún otro evento en el objetivo"

captura puerto-final
echo "$pasadas passed, 0 failed"
