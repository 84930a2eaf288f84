#!/usr/bin/env bash
# Sound input for real: sound played into the desktop's virtual microphone
# (tests/e2e/pulseaudio.sh) reaches the program's capture. In test mode a loud
# tone lights "Test del sonido" and sends nothing; with the window hidden,
# silence does nothing, a short loud burst gives exactly one left click in the
# target window, and a 1.5 s tone with the 400 ms re-arm delay gives 3 or 4.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/pulseaudio.sh"
pasadas=0
bien() { pasadas=$((pasadas + 1)); echo "ok: $*"; }
LOG=$(mktemp /tmp/quimbal-objetivo.XXXXXX)
trap 'terminar_quimbal; terminar_objetivo; rm -f "$LOG" "$LOG.salida"' EXIT

clics() { grep -c ' PRESS left$' "$LOG" || true; }
# Colour of the window's pixel at client position X Y, as "r,g,b".
color_en() {
  import -window "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null |
    sed -n 2p | grep -oE '\(([0-9]+),([0-9]+),([0-9]+)' | head -n1 | tr -d '('
}
# Inside "Test del sonido", left of its text.
LBL_X=$(( (5160 + 2400 + 60) / 15 ))
LBL_Y=$(( (1560 + 1800 + 300) / 15 ))

arrancar_objetivo "$LOG"
preparar_carpeta
arrancar_quimbal
wid=$(esperar_ventana "Quimbal 1.6") || fallar "no apareció la ventana Quimbal 1.6"
for _ in $(seq 100); do
  grep -q 'primera lectura de nivel' "$CARPETA/salida.log" && break
  sleep 0.1
done
grep -q 'primera lectura de nivel' "$CARPETA/salida.log" ||
  fallar "el programa no recibe lecturas de nivel: $(cat "$CARPETA/salida.log")"
bien "la captura entrega lecturas"

# Sound mode with Alt+S (after Alt+W, whichever option the profile shows),
# the window kept clear of the pointer over the target.
xdotool windowmove "$wid" 0 0 || true
xdotool windowactivate --sync "$wid" 2>/dev/null || true
xdotool key --window "$wid" alt+w
sleep 0.2
xdotool key --window "$wid" alt+s
sleep 0.3
enfocar_objetivo "$LOG"

# Test mode: the label follows the sound, nothing is sent.
antes=$(clics)
[ "$(color_en "$wid" $LBL_X $LBL_Y)" != "255,0,0" ] || fallar "la etiqueta de test ya estaba roja"
(tono 1.5 0.9 | reproducir) &
sonando=$!
sleep 0.8
durante=$(color_en "$wid" $LBL_X $LBL_Y)
captura sonido-modo-test
wait "$sonando"
sleep 0.4
despues=$(color_en "$wid" $LBL_X $LBL_Y)
[ "$durante" = "255,0,0" ] || fallar "la etiqueta no se puso roja con el sonido ($durante)"
[ "$despues" != "255,0,0" ] || fallar "la etiqueta siguió roja en silencio"
[ "$(clics)" = "$antes" ] || fallar "el modo de test envió clics"
bien "modo de test: la etiqueta sigue al sonido y no se envía nada"

# Enter accepts: the window hides and sounds act.
xdotool windowactivate --sync "$wid" 2>/dev/null || true
xdotool key --window "$wid" Return
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Quimbal 1.6$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Quimbal 1.6$' >/dev/null 2>&1 && fallar "la ventana no se ocultó"
enfocar_objetivo "$LOG"

silencio 1 | reproducir
sleep 0.5
[ "$(clics)" = "$antes" ] || fallar "el silencio produjo clics"
bien "silencio: ninguna acción"

tono 0.3 0.9 | reproducir
esperar_linea "$LOG" ' PRESS left$' 3 >/dev/null || fallar "la ráfaga no produjo ningún clic"
sleep 1
n=$(( $(clics) - antes ))
[ "$n" = 1 ] || fallar "la ráfaga de 0,3 s produjo $n clics"
bien "ráfaga de 0,3 s: exactamente un clic"

antes=$(clics)
tono 1.5 0.9 | reproducir
sleep 1
n=$(( $(clics) - antes ))
[ "$n" -ge 3 ] && [ "$n" -le 4 ] || fallar "el tono de 1,5 s produjo $n clics"
bien "tono de 1,5 s con retraso de 400 ms: $n clics"

# The sound server goes away: the program keeps running, no crash.
kill "$PULSE_PID" 2>/dev/null || true
sleep 1
kill -0 "$QUIMBAL_PID" 2>/dev/null || fallar "el programa terminó al desaparecer el servidor de sonido"
bien "sin servidor de sonido el programa sigue en marcha"

echo "$pasadas passed, 0 failed"
