#!/usr/bin/env bash
# What the sound input costs while nothing happens, side by side with the floor
# for the job: `parec --latency-msec=20` reading the same virtual microphone.
# In turn, ROUNDS times, each for SECONDS of silence:
#   suelo      parec at 20 ms;
#   programa   Quimbal waiting in the tray in sound mode, port 0 (the switch
#              poll off), its capture running;
#   componente the sound-level component alone (build/sonda_sonido).
# Each line gives the CPU of the reader and of the sound server, as a share of
# one core. The desktop's own 5 ms reader is stopped first: on a real desktop
# nothing else keeps the microphone running in small pieces.
# Run on the test desktop, from the build folder:
#   QUIMBAL_BUILD=$PWD ../tests/e2e/escritorio.sh ../bench/cpu_sonido.sh [ROUNDS] [SECONDS]
set -eu
AQUI=$(cd "$(dirname "$0")" && pwd)
source "$AQUI/sonido_bench.sh"
source "$AQUI/../tests/e2e/sonido_comun.sh"
source "$AQUI/../tests/e2e/sonido_servidor.sh"
RONDAS=${1:-3}
SEGUNDOS=${2:-60}
TMP=$(mktemp -d /tmp/quimbal-cpu.XXXXXX)
LECTOR=""
trap 'terminar_quimbal; [ -n "$LECTOR" ] && kill $LECTOR 2>/dev/null; rm -rf "$TMP"' EXIT
parar_lector_del_escritorio
echo "carga al empezar: $(cut -d' ' -f1-3 /proc/loadavg)"

medir_suelo() {
  parec --latency-msec=20 -d microfono >/dev/null 2>&1 &
  LECTOR=$!
  sleep 2 # the stream settles (a named pause before measuring, not a wait)
  medir_cpu "$LECTOR" "$SEGUNDOS" >>"$TMP/suelo"
  kill "$LECTOR"; wait "$LECTOR" 2>/dev/null || true; LECTOR=""
}

medir_componente() {
  "$QUIMBAL_BUILD/sonda_sonido" >"$TMP/sonda.log" 2>/dev/null &
  LECTOR=$!
  esperar_linea "$TMP/sonda.log" NIVEL 10 >/dev/null || fallar "la sonda no da lecturas"
  sleep 2
  medir_cpu "$LECTOR" "$SEGUNDOS" >>"$TMP/componente"
  kill "$LECTOR"; wait "$LECTOR" 2>/dev/null || true; LECTOR=""
}

medir_programa() {
  local wid
  preparar_carpeta_sin_puerto
  arrancar_quimbal
  wid=$(pasar_inicio) || fallar "no apareció la ventana Quimbal 1.6"
  esperar_linea "$CARPETA/salida.log" 'primera lectura de nivel' 10 >/dev/null ||
    fallar "el programa no recibe lecturas"
  modo_sonido "$wid"
  aceptar "$wid" || fallar "la ventana no se ocultó"
  sleep 2
  medir_cpu "$QUIMBAL_PID" "$SEGUNDOS" >>"$TMP/programa"
  grep -q 'Sonido: se ha perdido' "$CARPETA/salida.log" && fallar "la captura se interrumpió"
  terminar_quimbal
  rm -rf "$CARPETA"
}

for _ in $(seq "$RONDAS"); do
  medir_suelo
  medir_programa
  medir_componente
done
echo "carga al terminar: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$TMP" <<'FIN'
import os, sys
tmp = sys.argv[1]
def cpu(n):
    f = [list(map(float, l.split())) for l in open(os.path.join(tmp, n))]
    t = sum(x[2] for x in f)
    return (sum(x[0] for x in f) / t * 100, sum(x[1] for x in f) / t * 100,
            ["%.2f+%.2f" % (x[0] / x[2] * 100, x[1] / x[2] * 100) for x in f])
suelo = sum(cpu("suelo")[:2])
print("%-11s %9s %11s %9s %8s   %s" % ("", "lector %", "servidor %", "total %", "x suelo",
                                      "lector+servidor por ronda %"))
for n in ("suelo", "programa", "componente"):
    l, s, r = cpu(n)
    print("%-11s %9.3f %11.3f %9.3f %8.2f   %s" % (n, l, s, l + s, (l + s) / suelo, " ".join(r)))
l, s, _ = cpu("programa")
print("programa + servidor: %.2f veces el suelo (límite 1,5); programa solo: %.3f %% de un núcleo"
      " (límite 0,4 %%); parec solo: %.3f %%" % ((l + s) / suelo, l, cpu("suelo")[0]))
FIN
