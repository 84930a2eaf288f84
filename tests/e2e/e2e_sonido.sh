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

# Left-button presses in the target; two within the double-click time are
# logged as a double click.
clics() { grep -cE ' (PRESS|DBLCLICK) left$' "$LOG" || true; }
# The target takes the focus and the pointer back (the pointer leaves first,
# so that moving it back over the target is a real move).
al_objetivo() {
  xdotool mousemove 1200 20
  enfocar_objetivo "$LOG"
}
fallo() {
  captura sonido-fallo
  fallar "$@"
}
# A left click at a point of the window given in twips from its top left.
clic_en() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --sync $((X + $2 / 15)) $((Y + $3 / 15)) click 1
}
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
wid=$(pasar_inicio) || fallar "no apareció la ventana Quimbal 1.6"
for _ in $(seq 100); do
  grep -q 'primera lectura de nivel' "$CARPETA/salida.log" && break
  sleep 0.1
done
grep -q 'primera lectura de nivel' "$CARPETA/salida.log" ||
  fallar "el programa no recibe lecturas de nivel: $(cat "$CARPETA/salida.log")"
bien "la captura entrega lecturas"

# Sound mode by clicking "Usar Sonido con umbral" (after "Usar Switch...",
# whichever option the profile shows), the window kept clear of the target.
xdotool windowmove "$wid" 600 400 || true
sleep 0.3
clic_en "$wid" $((5160 + 360 + 600)) $((1560 + 240 + 120))
sleep 0.2
clic_en "$wid" $((5160 + 360 + 600)) $((1560 + 1800 + 120))
sleep 0.3
al_objetivo

# Test mode: the label follows the sound, nothing is sent.
antes=$(clics)
[ "$(color_en "$wid" $LBL_X $LBL_Y)" != "255,0,0" ] || fallo "la etiqueta de test ya estaba roja"
(tono 1.5 0.9 | reproducir) &
sonando=$!
durante=""
for _ in $(seq 10); do
  sleep 0.1
  durante=$(color_en "$wid" $LBL_X $LBL_Y)
  [ "$durante" = "255,0,0" ] && break
done
captura sonido-modo-test
wait "$sonando"
sleep 0.4
despues=$(color_en "$wid" $LBL_X $LBL_Y)
[ "$durante" = "255,0,0" ] || fallo "la etiqueta no se puso roja con el sonido ($durante)"
[ "$despues" != "255,0,0" ] || fallo "la etiqueta siguió roja en silencio"
[ "$(clics)" = "$antes" ] || fallo "el modo de test envió clics"
bien "modo de test: la etiqueta sigue al sonido y no se envía nada"

# Enter accepts: the window hides and sounds act.
visible() { xdotool search --onlyvisible --name '^Quimbal 1.6$' >/dev/null 2>&1; }
for _ in 1 2 3; do
  xdotool windowactivate --sync "$wid" 2>/dev/null || true
  xdotool key Return
  for _ in $(seq 20); do
    visible || break
    sleep 0.1
  done
  visible || break
done
visible && fallo "la ventana no se ocultó"
al_objetivo

silencio 1 | reproducir
sleep 0.5
[ "$(clics)" = "$antes" ] || fallar "el silencio produjo clics"
bien "silencio: ninguna acción"

tono 0.3 0.9 | reproducir
esperar_linea "$LOG" ' (PRESS|DBLCLICK) left$' 3 >/dev/null || fallar "la ráfaga no produjo ningún clic"
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
