#!/usr/bin/env bash
# Which way of reading the sound level costs less for the same latency: the
# sound server computing the peaks (a float stream at 50 Hz with peak
# detection) or 16-bit blocks measured by the client, in fragments of 20 ms
# and of 10 ms (build/captura_pulse). Each is run in turn, ROUNDS times,
# beside `parec --latency-msec=20` on the same virtual microphone as the floor:
# CPU of the reader and of the sound server over SECONDS of silence, then the
# time from a burst reaching the microphone to the reader's first loud reading
# over BURSTS bursts (bench/rafagas.py). The desktop's own 5 ms reader is
# stopped first: on a real desktop nothing else keeps the microphone running
# in small pieces.
# Run on the test desktop, from the build folder:
#   QUIMBAL_BUILD=$PWD ../tests/e2e/escritorio.sh ../bench/captura_pulse.sh [ROUNDS] [SECONDS] [BURSTS]
set -eu
AQUI=$(cd "$(dirname "$0")" && pwd)
source "$AQUI/sonido_bench.sh"
RONDAS=${1:-3}
SEGUNDOS=${2:-30}
RAFAGAS=${3:-40}
TMP=$(mktemp -d /tmp/quimbal-captura.XXXXXX)
LECTOR=""
trap '[ -n "$LECTOR" ] && kill $LECTOR 2>/dev/null; rm -rf "$TMP"' EXIT
parar_lector_del_escritorio
echo "carga al empezar: $(cut -d' ' -f1-3 /proc/loadavg)"

declare -A LECTORES=(
  [parec20]="parec --raw --latency-msec=20 -d microfono"
  [picos]="$QUIMBAL_BUILD/captura_pulse picos"
  [bloques20]="$QUIMBAL_BUILD/captura_pulse bloques 20"
  [bloques10]="$QUIMBAL_BUILD/captura_pulse bloques 10"
)
ORDEN=(parec20 picos bloques20 bloques10)

for ronda in $(seq "$RONDAS"); do
  for nombre in "${ORDEN[@]}"; do
    ${LECTORES[$nombre]} >"$TMP/$nombre.salida" 2>/dev/null &
    LECTOR=$!
    sleep 2 # the stream settles (named quiet period, not a wait for an event)
    medir_cpu "$LECTOR" "$SEGUNDOS" >>"$TMP/$nombre.cpu"
    kill "$LECTOR"; wait "$LECTOR" 2>/dev/null || true; LECTOR=""
  done
done

if [ "$RAFAGAS" -gt 0 ]; then
  for nombre in picos bloques20 bloques10; do
    ${LECTORES[$nombre]} >"$TMP/$nombre.lecturas" 2>/dev/null &
    LECTOR=$!
    esperar_linea "$TMP/$nombre.lecturas" NIVEL 10 >/dev/null || fallar "$nombre no da lecturas"
    python3 "$AQUI/rafagas.py" "$RAFAGAS" 300 700 0.9 >"$TMP/$nombre.rafagas"
    kill "$LECTOR"; wait "$LECTOR" 2>/dev/null || true; LECTOR=""
  done
fi
echo "carga al terminar: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$TMP" "$RAFAGAS" "${ORDEN[@]}" <<'FIN'
import os, statistics, sys
tmp, rafagas, orden = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
def cpu(nombre):
    filas = [list(map(float, l.split())) for l in open(os.path.join(tmp, nombre + ".cpu"))]
    lector = sum(f[0] for f in filas) / sum(f[2] for f in filas) * 100
    servidor = sum(f[1] for f in filas) / sum(f[2] for f in filas) * 100
    return lector, servidor, [round((f[0] + f[1]) / f[2] * 100, 2) for f in filas]
suelo = sum(cpu("parec20")[:2])
print("%-10s %8s %9s %8s %7s   %s" % ("", "lector %", "servidor %", "total %", "x suelo", "total por ronda"))
for n in orden:
    l, s, r = cpu(n)
    print("%-10s %8.3f %9.3f %8.3f %7.2f   %s" % (n, l, s, l + s, (l + s) / suelo, r))
def p(v, q):
    v = sorted(v)
    return v[min(len(v) - 1, int(round(q * (len(v) - 1))))]
if rafagas:
    print("micrófono -> primera lectura alta (>= 64):")
    for n in orden[1:]:
        oidos = [int(l.split()[0]) for l in open(os.path.join(tmp, n + ".rafagas")) if "OIDO" in l]
        lect = [int(l.split()[0]) for l in open(os.path.join(tmp, n + ".lecturas"))
                if "NIVEL" in l and int(l.split()[2]) >= 64]
        d = []
        for i, t in enumerate(oidos):
            fin = oidos[i + 1] if i + 1 < len(oidos) else t + 10**6
            x = [y for y in lect if t - 5000 <= y < fin]
            if x:
                d.append((x[0] - t) / 1000)
        if d:
            print("  %-10s mediana %.1f ms, p95 %.1f ms, máx %.1f ms (%d de %d ráfagas)" %
                  (n, statistics.median(d), p(d, 0.95), max(d), len(d), len(oidos)))
FIN
