#!/usr/bin/env bash
# "Continuar" on the start screen to the configuration window shown, each time
# on a fresh desktop with a fresh sound server (the first start of the sound
# capture on a desktop is the slow one): RUNS desktops, one start each, in a
# program folder of its own (port 0). Prints the median and the spread.
# From the build folder:
#   QUIMBAL_BUILD=$PWD ../bench/continuar.sh [RUNS]
set -eu
AQUI=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != --una ]; then
  VECES=${1:-10}
  : "${QUIMBAL_BUILD:?falta QUIMBAL_BUILD}"
  echo "carga al empezar: $(cut -d' ' -f1-3 /proc/loadavg)"
  cifras=$(for _ in $(seq "$VECES"); do
    "$AQUI/../tests/e2e/escritorio.sh" "$AQUI/continuar.sh" --una | awk '/^CONTINUAR/ {print $2}'
  done)
  printf '%s\n' $cifras | sort -n | awk '{v[NR]=$1} END {if (!NR) exit 1;
    printf "Continuar -> ventana de configuración: mediana %d ms, p90 %d ms, mín %d ms, máx %d ms (n=%d)\n",
      v[int((NR+1)/2)], v[int(NR*0.9+0.999)], v[1], v[NR], NR}'
  echo "  (cada vez: $(echo $cifras) ms)"
  echo "carga al terminar: $(cut -d' ' -f1-3 /proc/loadavg)"
  exit 0
fi

# One run, on the desktop.
source "$AQUI/../tests/e2e/comun.sh"
source "$AQUI/../tests/e2e/pulseaudio.sh"
source "$AQUI/../tests/e2e/sonido_servidor.sh"
trap 'terminar_quimbal; rm -rf "${CARPETA:-}"' EXIT
ahora() { date +%s%N; }
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
preparar_carpeta_sin_puerto
arrancar_quimbal
inicio=$(esperar_ventana "Quimbal") || fallar "no apareció la pantalla de inicio"
xdotool windowactivate --sync "$inicio" >/dev/null 2>&1 || true
esperar_foco "$inicio" || true
t0=$(ahora)
xdotool key space
# Polled in a tight loop: the figure includes a few milliseconds of polling.
fin=$(( t0 + 20000000000 ))
until [ -n "$(visible "Quimbal 1.6")" ]; do
  [ "$(ahora)" -lt "$fin" ] || fallar "no apareció la ventana de configuración"
done
t1=$(ahora)
echo "CONTINUAR $(( (t1 - t0) / 1000000 ))"
grep -q 'Sonido: no hay servidor' "$CARPETA/salida.log" && fallar "la captura no arrancó"
exit 0
