#!/usr/bin/env bash
# A second copy started in the same folder while the first runs shows its
# message, ends when it is answered, and leaves both data files as they were.
set -eu
source "$(dirname "$0")/comun.sh"
SEGUNDA_PID=""
terminar() {
  [ -n "$SEGUNDA_PID" ] && kill "$SEGUNDA_PID" 2>/dev/null
  terminar_quimbal
}
trap terminar EXIT
pasadas=0

preparar_carpeta
# Two profiles and a trailing part, a settings record with port 0: loading
# them writes nothing, so any change would come from the second copy.
{ printf '%-20s%-20s%-20s%40s\x01\x00\x05\x00\x90\x01' General 'Click izquierdo' 'Click izquierdo' ''
  printf '%-20s%-20s%-20s%40s\x02\x00\x08\x00\x20\x03' Ana 'F5' 'Click derecho' ''
  printf 'resto'; } >"$CARPETA/usuarios.dat"
printf '\x00%-20s' Ana >"$CARPETA/quimbal.dat"
cp "$CARPETA/usuarios.dat" "$CARPETA/usuarios.antes"
cp "$CARPETA/quimbal.dat" "$CARPETA/quimbal.antes"

arrancar_quimbal
pasar_inicio >/dev/null || fallar "la primera copia no pasó la pantalla de inicio"
# The lock is taken once its file holds the owner's details.
for _ in $(seq 100); do [ -s "$CARPETA/quimbal.lck" ] && break; sleep 0.1; done
[ -f "$CARPETA/quimbal.lck" ] || fallar "la primera copia no tomó su bloqueo"
pasadas=$((pasadas + 1))

(cd / && exec "$CARPETA/quimbal" >"$CARPETA/segunda.log" 2>&1) &
SEGUNDA_PID=$!
caja=""
for _ in $(seq 100); do
  for w in $(xdotool search --onlyvisible --pid "$SEGUNDA_PID" 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "Quimbal 1.6" ] && caja=$w
  done
  [ -n "$caja" ] && break
  sleep 0.1
done
[ -n "$caja" ] || fallar "la segunda copia no mostró su mensaje"
esperar_foco "$caja" || true
captura instancia-segunda
pasadas=$((pasadas + 1))
# Enter answers the box (its only button, OK, is the default).
for _ in $(seq 20); do
  xdotool windowactivate --sync "$caja" 2>/dev/null || true
  xdotool key Return 2>/dev/null || true
  for _ in $(seq 10); do kill -0 "$SEGUNDA_PID" 2>/dev/null || break 2; sleep 0.1; done
done
kill -0 "$SEGUNDA_PID" 2>/dev/null && fallar "la segunda copia sigue en marcha tras el mensaje"
codigo=0
wait "$SEGUNDA_PID" || codigo=$?
SEGUNDA_PID=""
[ "$codigo" -eq 1 ] || fallar "la segunda copia terminó con $codigo, se esperaba 1"
pasadas=$((pasadas + 1))

kill -0 "$QUIMBAL_PID" 2>/dev/null || fallar "la primera copia terminó"
cmp "$CARPETA/usuarios.dat" "$CARPETA/usuarios.antes" || fallar "usuarios.dat cambió"
cmp "$CARPETA/quimbal.dat" "$CARPETA/quimbal.antes" || fallar "quimbal.dat cambió"
[ -z "$(ls "$CARPETA" | grep -E '\.nuevo$' || true)" ] || fallar "quedó un archivo temporal"
pasadas=$((pasadas + 1))
echo "$pasadas passed, 0 failed"
