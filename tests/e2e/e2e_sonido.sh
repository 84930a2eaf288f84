#!/usr/bin/env bash
# Sound input for real: sound played into the desktop's virtual microphone
# (tests/e2e/pulseaudio.sh) reaches the program's capture. In test mode a loud
# tone lights "Test del sonido" and sends nothing; with the window hidden,
# silence does nothing, a short loud burst gives exactly one left click in the
# target window, and a 1.5 s tone with the 400 ms re-arm delay gives 3 or 4.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/pulseaudio.sh"
source "$(dirname "$0")/sonido_comun.sh"
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
  grep -E 'PRESS|DBLCLICK|KEY' "$LOG" | tail -n 12 >&2 || true
  fallar "$@"
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

# Sound mode, the window kept clear of the pointer over the target.
modo_sonido "$wid"
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
# The label goes dark again once the end of the tone has come through.
for _ in $(seq 30); do
  despues=$(color_en "$wid" $LBL_X $LBL_Y)
  [ "$despues" != "255,0,0" ] && break
  sleep 0.1
done
[ "$durante" = "255,0,0" ] || fallo "la etiqueta no se puso roja con el sonido ($durante)"
[ "$despues" != "255,0,0" ] || fallo "la etiqueta siguió roja en silencio"
[ "$(clics)" = "$antes" ] || fallo "el modo de test envió clics"
bien "modo de test: la etiqueta sigue al sonido y no se envía nada"

# Aceptar: the window hides and sounds act.
aceptar "$wid" || fallo "la ventana no se ocultó"
al_objetivo

silencio 1 | reproducir
# The last of the silence is still on its way through the capture.
nada_durante 0.5
[ "$(clics)" = "$antes" ] || fallo "el silencio produjo clics"
bien "silencio: ninguna acción"

tono 0.3 0.9 | reproducir
esperar_linea "$LOG" ' (PRESS|DBLCLICK) left$' 3 >/dev/null || fallo "la ráfaga no produjo ningún clic"
# A second click, if any, would come within the re-arm delay after the burst.
nada_durante 1
n=$(( $(clics) - antes ))
[ "$n" = 1 ] || fallo "la ráfaga de 0,3 s produjo $n clics"
bien "ráfaga de 0,3 s: exactamente un clic"

antes=$(clics)
tono 1.5 0.9 | reproducir
# The clicks of the tone's end come through the capture a moment after it has
# been played; then a moment for a stray fifth one.
for _ in $(seq 50); do [ $(( $(clics) - antes )) -ge 3 ] && break; sleep 0.1; done
nada_durante 0.5
n=$(( $(clics) - antes ))
[ "$n" -ge 3 ] && [ "$n" -le 4 ] || fallo "el tono de 1,5 s produjo $n clics"
bien "tono de 1,5 s con retraso de 400 ms: $n clics"

# The sound server goes away: the readings end, nothing crashes; a capture
# stopped afterwards stops at once, and a new one is refused at once.
"$QUIMBAL_BUILD/sonda_sonido" 3 >"$CARPETA/sonda.log" 2>&1 &
sonda=$!
# The probe captures once it prints its first reading.
for _ in $(seq 50); do grep -q ' NIVEL ' "$CARPETA/sonda.log" && break; sleep 0.1; done
[ -n "$PULSE_PID" ] || fallo "no se conoce el proceso del servidor de sonido"
kill "$PULSE_PID" || fallo "no se pudo detener el servidor de sonido"
# The server gone, the program reports its capture interrupted.
for _ in $(seq 50); do kill -0 "$PULSE_PID" 2>/dev/null || break; sleep 0.1; done
for _ in $(seq 50); do grep -q 'la captura se ha interrumpido' "$CARPETA/salida.log" && break; sleep 0.1; done
kill -0 "$QUIMBAL_PID" 2>/dev/null || fallo "el programa terminó al desaparecer el servidor de sonido"
wait "$sonda" || fallo "la captura falló al detenerse sin servidor: $(cat "$CARPETA/sonda.log")"
grep -q '^FIN$' "$CARPETA/sonda.log" || fallo "la captura no se detuvo: $(cat "$CARPETA/sonda.log")"
inicio=$(date +%s%N)
r=0
timeout 10 "$QUIMBAL_BUILD/sonda_sonido" 1 >"$CARPETA/sonda2.log" 2>&1 || r=$?
ms=$(( ($(date +%s%N) - inicio) / 1000000 ))
[ "$r" = 2 ] || fallo "sin servidor la captura no rechazó el inicio (código $r): $(cat "$CARPETA/sonda2.log")"
[ "$ms" -lt 5000 ] || fallo "sin servidor el inicio tardó $ms ms"
bien "sin servidor de sonido: el programa sigue, la captura se detiene y no arranca (en $ms ms)"

echo "$pasadas passed, 0 failed"
