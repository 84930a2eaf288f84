#!/usr/bin/env bash
# Runs inside the private desktop (see latencia_acciones.sh).
set -eu
source "$QUIMBAL_SRC/tests/e2e/comun.sh"
LOG=$(mktemp /tmp/bench-objetivo.XXXXXX.log)
trap 'kill "${INY_PID:-}" 2>/dev/null || true; terminar_objetivo; rm -f "$LOG" "$LOG.salida"' EXIT
arrancar_objetivo "$LOG"
coproc INY { exec "$QUIMBAL_BUILD/quimbal_inyectar" 2>&1; }
INY_PID=$INY_PID

# medir NAME COMMAND PATTERN...: RUNS times, prints per run the latency in µs
# to each PATTERN (matched in order among the lines logged after the call).
medir() {
  local nombre="$1" orden="$2"; shift 2
  local i desde linea t0 p n t
  for i in $(seq "$BENCH_RUNS"); do
    desde=$(($(wc -l <"$LOG") + 1))
    printf '%s\n' "$orden" >&"${INY[1]}"
    read -r -t 10 linea <&"${INY[0]}" || fallar "sin respuesta"
    t0=${linea%% *}
    [ "${linea#* }" = ok ] || fallar "$orden: $linea"
    local fila="$nombre"
    for p in "$@"; do
      for _ in $(seq 500); do
        n=$(tail -n +"$desde" "$LOG" | grep -n -E -m1 -- "^[0-9]+ $p" | cut -d: -f1) || true
        [ -n "$n" ] && break
        sleep 0.002
      done
      [ -n "$n" ] || fallar "$nombre: no llegó $p"
      t=$(tail -n +"$((desde + n - 1))" "$LOG" | head -n1 | cut -d' ' -f1)
      desde=$((desde + n))
      fila="$fila $((t - t0))"
    done
    echo "$fila"
    sleep 0.05
  done
}

resumen() { # NAME COLUMN LABEL
  awk -v c="$2" -v nombre="$1" '$1 == nombre { print $c }' "$RES" | sort -n | awk -v l="$3" '
    { v[NR] = $1 }
    END {
      m = v[int((NR + 1) / 2)]; p = v[int(NR * 0.99 + 0.999)]
      printf "%-28s n=%d  mediana=%d µs  p99=%d µs  máx=%d µs\n", l, NR, m, p, v[NR]
    }'
}

RES=$(mktemp)
T=$'\t'
medir click "accion1 Click izquierdo$T" 'PRESS left$' 'RELEASE left$' >>"$RES"
medir shift_a "accion1 SHIFT+...${T}a" 'KEY A mods=shift text=A ' >>"$RES"
printf 'salir\n' >&"${INY[1]}"
echo "Xvfb, $(nproc) núcleos, $BENCH_RUNS repeticiones por caso"
resumen click 2 "click: pulsación izquierda"
resumen click 3 "click: suelta izquierda"
resumen shift_a 2 "SHIFT+a: tecla A"
rm -f "$RES"
