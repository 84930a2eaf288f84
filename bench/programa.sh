#!/usr/bin/env bash
# The program's start and its cost while it waits in the tray.
#   QUIMBAL_BUILD=build tests/e2e/escritorio.sh bench/programa.sh [RUNS] [SECONDS]
# (on the virtual desktop with its notification area and sound server).
#  - process start -> start screen shown (window mapped), RUNS times;
#  - key on the start screen (Continuar) -> configuration window shown;
#  - resident memory and CPU time over SECONDS (default 60) with the window
#    hidden in the tray, the profile in switch mode (the poll ticking every
#    50 ms) and the sound capture running.
# Windows are watched with xdotool in a tight loop: each figure includes up to
# a few milliseconds of polling.
set -eu
source "$(dirname "$0")/../tests/e2e/comun.sh"
veces=${1:-10}
segundos=${2:-60}
ahora() { date +%s%N; }
ms() { echo $(( ($2 - $1) / 1000000 )); }
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
esperar() { # esperar TITLE -> id; gives up after 20 s
  local fin=$(( $(ahora) + 20000000000 )) w
  while :; do
    w=$(visible "$1") && [ -n "$w" ] && { echo "$w"; return 0; }
    [ "$(ahora)" -ge "$fin" ] && return 1
  done
}
estadistica() { # list of ms -> "mediana X ms, p90 Y ms, min Z ms, max W ms"
  sort -n | awk '{v[NR]=$1} END {m=v[int((NR+1)/2)]; p=v[int(NR*0.9+0.999)];
    printf "mediana %d ms, p90 %d ms, min %d ms, max %d ms (n=%d)\n", m, p, v[1], v[NR], NR}'
}

arranques=(); continuares=()
for i in $(seq "$veces"); do
  preparar_carpeta
  t0=$(ahora)
  arrancar_quimbal
  inicio=$(esperar "Quimbal") || fallar "no apareció la pantalla de inicio"
  t1=$(ahora)
  arranques+=("$(ms "$t0" "$t1")")
  xdotool windowactivate --sync "$inicio" >/dev/null 2>&1 || true
  sleep 0.2
  t2=$(ahora)
  xdotool key space
  wid=$(esperar "Quimbal 1.6") || fallar "no apareció la ventana de configuración"
  t3=$(ahora)
  continuares+=("$(ms "$t2" "$t3")")
  if [ "$i" -lt "$veces" ]; then terminar_quimbal; rm -rf "$CARPETA"; fi
done
echo "arranque -> pantalla de inicio: $(printf '%s\n' "${arranques[@]}" | estadistica)"
echo "Continuar -> ventana de configuración: $(printf '%s\n' "${continuares[@]}" | estadistica)"
echo "  (cada arranque: ${arranques[*]} ms; cada Continuar: ${continuares[*]} ms)"

# Hidden in the tray, switch mode (the first profile), sound capture running.
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key Return
for _ in $(seq 100); do [ -z "$(visible "Quimbal 1.6")" ] && break; sleep 0.05; done
[ -z "$(visible "Quimbal 1.6")" ] || fallar "la ventana no se ocultó"
sleep 2
tic=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$QUIMBAL_PID/stat"; }
rss() { awk '/^VmRSS/ {print $2}' "/proc/$QUIMBAL_PID/status"; }
c0=$(cpu); r0=$(rss); t0=$(ahora)
sleep "$segundos"
c1=$(cpu); r1=$(rss); t1=$(ahora)
pico=$(awk '/^VmHWM/ {print $2}' "/proc/$QUIMBAL_PID/status")
hilos=$(awk '/^Threads/ {print $2}' "/proc/$QUIMBAL_PID/status")
transcurrido=$(ms "$t0" "$t1")
cpu_ms=$(( (c1 - c0) * 1000 / tic ))
echo "en la bandeja ${segundos} s: CPU ${cpu_ms} ms ($(awk -v c="$cpu_ms" -v t="$transcurrido" 'BEGIN {printf "%.2f", 100 * c / t}') %)," \
  "RSS ${r0} kB -> ${r1} kB (pico ${pico} kB), ${hilos} hilos"
grep -q 'primera lectura de nivel' "$CARPETA/salida.log" 2>/dev/null &&
  echo "(la captura de sonido entregaba lecturas)" || echo "(aviso: no consta lectura de sonido en el registro)"
terminar_quimbal
