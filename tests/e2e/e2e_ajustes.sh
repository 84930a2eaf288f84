#!/usr/bin/env bash
# The timing settings of a profile (ajustes.json beside usuarios.dat), on the
# test serial port, with the program started straight into the notification
# area: acceptance time, ignore-repeat, long press, hold-to-repeat and the
# pause, each as a switch user would press; and a damaged or missing
# ajustes.json, which leaves every setting off (and the damaged file aside).
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/puerto_comun.sh"
source "$(dirname "$0")/arranque_comun.sh"
LOG=$(mktemp /tmp/quimbal-ajustes.XXXXXX)
trap 'terminar_quimbal; terminar_objetivo; limpiar_puerto_falso' EXIT

arrancar_objetivo "$LOG"

# arrancar_con ACTION1 ACTION2 JSON: a fresh folder, the profile "General" in
# switch mode on the test port, ajustes.json holding JSON (none when empty).
arrancar_con() {
  terminar_quimbal
  limpiar_puerto_falso || true
  preparar_carpeta
  preparar_puerto_falso
  registro General 1 "$1" "$2" >"$CARPETA/usuarios.dat"
  configuracion 2 >"$CARPETA/quimbal.dat"
  [ -n "$3" ] && printf '%s' "$3" >"$CARPETA/ajustes.json"
  arrancar_en_bandeja
  esperar_puerto_abierto || fallar "el puerto no se abrió: $(cat "$CARPETA/salida.log")"
  enfocar_objetivo "$LOG"
}
ajustes() { printf '{"perfiles": {"General": {%s}}}' "$1"; }

# The switches closed for SECONDS: pulsar_durante "cts=1" 0.5
pulsar_durante() {
  estado_puerto "$1"
  sleep "$2"
  estado_puerto cts=0 dsr=0
}
# What the target received since line FROM: cuenta FROM PATTERN.
cuenta() { tail -n +"$(($1 + 1))" "$LOG" | grep -c -E -- "$2" || true; }
# clics WHAT LEFT RIGHT: exactly these clicks since line $desde, or fail.
clics() {
  local i d
  i=$(cuenta "$desde" ' PRESS left$') d=$(cuenta "$desde" ' PRESS right$')
  [ "$i" = "$2" ] && [ "$d" = "$3" ] ||
    fallar "$1: $i clics izquierdos y $d derechos, se esperaban $2 y $3"
}

arrancar_con 'Click izquierdo' 'Click derecho' "$(ajustes '"aceptacion_ms": 300')"
desde=$(lineas_registro "$LOG")
pulsar_durante cts=1 0.1
nada_durante 0.6
clics "aceptación 300 ms, una pulsación de 100 ms" 0 0
pulsar_durante cts=1 0.5
nada_durante 0.5
clics "aceptación 300 ms, una pulsación de 500 ms" 1 0
bien "aceptación 300 ms: 100 ms no actúa, 500 ms actúa una vez"

arrancar_con 'Click izquierdo' 'Click derecho' "$(ajustes '"ignorar_ms": 500')"
desde=$(lineas_registro "$LOG")
pulsar_durante cts=1 0.1
sleep 0.1
pulsar_durante cts=1 0.1
nada_durante 0.8
clics "ignorar 500 ms, dos pulsaciones a 200 ms" 1 0
bien "ignorar 500 ms: dos pulsaciones a 200 ms actúan una vez"

arrancar_con 'Click izquierdo' 'Click derecho' "$(ajustes '"larga_ms": 1000')"
desde=$(lineas_registro "$LOG")
pulsar_durante cts=1 1.2
nada_durante 0.5
clics "pulsación larga de 1,2 s" 0 1
desde=$(lineas_registro "$LOG")
pulsar_durante cts=1 0.2
nada_durante 0.5
clics "pulsación corta con larga activada" 1 0
bien "pulsación larga 1000 ms: 1,2 s da solo la acción 2; 0,2 s da la acción 1"

arrancar_con 'ENTER' 'Click derecho' "$(ajustes '"repetir_tras_ms": 500, "repetir_cada_ms": 250')"
desde=$(lineas_registro "$LOG")
# Held 1.4 s: between the fourth repeat (1.25 s) and the fifth (1.5 s), so
# that the 50 ms poll, which sees each edge up to one tick late, cannot move
# the count.
pulsar_durante cts=1 1.4
nada_durante 0.5
n=$(cuenta "$desde" ' KEY Return ')
[ "$n" = 5 ] || fallar "repetición 500/250: ENTER mantenido 1,4 s dio $n"
bien "repetición 500/250: ENTER mantenido da 1 + 4"

arrancar_con 'Click izquierdo' 'Click derecho' "$(ajustes '"pausa_ms": 1000, "aceptacion_ms": 200')"
# gesto_de_pausa WORD: both switches held 1.3 s turn the pause on or off
# ("activada", "terminada"); then a press of switch 1 gives N clicks.
gesto_de_pausa() {
  pulsar_durante "cts=1
dsr=1" 1.3
  nada_durante 0.3
  grep -q "pausa $1" "$CARPETA/salida.log" || fallar "los dos switches 1,3 s: no hubo «pausa $1»"
  desde=$(lineas_registro "$LOG")
  pulsar_durante cts=1 0.4
  nada_durante 0.5
  [ "$(cuenta "$desde" ' PRESS ')" = "$2" ] ||
    fallar "pausa $1: una pulsación dio $(cuenta "$desde" ' PRESS ') clics, se esperaban $2"
}
gesto_de_pausa activada 0
gesto_de_pausa terminada 1
bien "pausa: los dos switches la activan, una pulsación no actúa, otra vez la terminan y la siguiente actúa"

for caso in dañado falta; do
  json='{"perfiles": {"General": {"aceptacion_ms": 3'
  [ "$caso" = falta ] && json=""
  arrancar_con 'Click izquierdo' 'Click derecho' "$json"
  desde=$(lineas_registro "$LOG")
  pulsar_y_esperar_clic "$LOG" || fallar "ajustes.json $caso: la pulsación no dio un clic"
  grep -q 'ajustes.json' "$CARPETA/salida.log" || fallar "ajustes.json $caso: nada en la salida de errores"
  if [ "$caso" = dañado ]; then
    [ "$(cat "$CARPETA/ajustes.json.dañado")" = "$json" ] || fallar "el archivo dañado no se apartó tal cual"
    [ ! -e "$CARPETA/ajustes.json" ] || fallar "el archivo dañado sigue en su sitio"
  fi
  bien "ajustes.json $caso: todo desactivado, la pulsación actúa al momento"
done
echo "$pasadas passed, 0 failed"
