#!/usr/bin/env bash
# Latency of the sound input: from the start of a loud burst played into the
# virtual microphone to the left click arriving in the target window, with the
# program in sound mode and its window hidden. Alongside, a second capture
# (build/sonda_sonido) timestamps the first loud reading of each burst, which
# splits the figure into capture and the rest (window, action, injection).
# Run on the test desktop, from the build folder:
#   QUIMBAL_BUILD=$PWD ../tests/e2e/escritorio.sh ../bench/latencia_sonido.sh [BURSTS]
set -eu
AQUI=$(cd "$(dirname "$0")" && pwd)
source "$AQUI/../tests/e2e/comun.sh"
source "$AQUI/../tests/e2e/pulseaudio.sh"
source "$AQUI/../tests/e2e/sonido_comun.sh"
source "$AQUI/../tests/e2e/sonido_servidor.sh"
RAFAGAS=${1:-40}
TMP=$(mktemp -d /tmp/quimbal-bench.XXXXXX)
LOG=$TMP/objetivo.log
SONDA_PID=""
trap 'terminar_quimbal; terminar_objetivo; [ -n "$SONDA_PID" ] && kill $SONDA_PID 2>/dev/null; rm -rf "$TMP"' EXIT

arrancar_objetivo "$LOG"
# Port 0: no serial port box at load.
preparar_carpeta_sin_puerto
arrancar_quimbal
wid=$(pasar_inicio) || fallar "no apareció la ventana Quimbal 1.6"
esperar_linea "$CARPETA/salida.log" 'primera lectura de nivel' 10 >/dev/null ||
  fallar "el programa no recibe lecturas"
modo_sonido "$wid"
aceptar "$wid" || fallar "la ventana no se ocultó"
mover_raton 1200 20 || true
enfocar_objetivo "$LOG"

"$QUIMBAL_BUILD/sonda_sonido" >"$TMP/sonda.log" 2>/dev/null &
SONDA_PID=$!
esperar_linea "$TMP/sonda.log" NIVEL 10 >/dev/null || fallar "la sonda no da lecturas"
echo "carga: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 "$AQUI/rafagas.py" "$RAFAGAS" 300 700 0.9 >"$TMP/rafagas.log"
sleep 1 # the last burst's click may still be on its way
echo "carga: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$TMP/rafagas.log" "$LOG" "$TMP/sonda.log" <<'FIN'
import statistics, sys
lineas = open(sys.argv[1]).read().split("\n")
rafagas = [int(l.split()[0]) for l in lineas if "RAFAGA" in l]
oidos = [int(l.split()[0]) for l in lineas if "OIDO" in l]
clics = [int(l.split()[0]) for l in open(sys.argv[2])
         if l.rstrip().endswith(("PRESS left", "DBLCLICK left"))]
lecturas = [int(l.split()[0]) for l in open(sys.argv[3])
            if "NIVEL" in l and int(l.split()[2]) >= 64]
def primero(t, fin, tiempos):
    d = [x for x in tiempos if t <= x < fin]
    return d[0] if d else None
def p(v, q):
    v = sorted(v)
    return v[min(len(v) - 1, int(round(q * (len(v) - 1))))]
def informe(nombre, v):
    if v:
        print("%s: mediana %.1f ms, p95 %.1f ms, mín %.1f, máx %.1f (n=%d)" %
              (nombre, statistics.median(v), p(v, 0.95), min(v), max(v), len(v)))
desde_oido, desde_escrito, captura, sin_clic, de_mas = [], [], [], 0, 0
for i, t in enumerate(rafagas):
    fin = rafagas[i + 1] if i + 1 < len(rafagas) else t + 10**6
    n = len([x for x in clics if t <= x < fin])
    de_mas += max(0, n - 1)
    c = primero(t, fin, clics)
    o = primero(t, fin, oidos)
    s = primero(t, fin, lecturas)
    if c is None:
        sin_clic += 1
        continue
    desde_escrito.append((c - t) / 1000)
    if o is not None:
        desde_oido.append((c - o) / 1000)
        if s is not None:
            captura.append((s - o) / 1000)
print("ráfagas: %d, sin clic: %d, clics de más: %d" % (len(rafagas), sin_clic, de_mas))
informe("llega al micrófono -> clic en el objetivo", desde_oido)
informe("llega al micrófono -> primera lectura alta (captura sola)", captura)
informe("escrita por el reproductor -> clic (incluye su búfer)", desde_escrito)
FIN
