#!/usr/bin/env bash
# A second copy started while the first runs hidden in the notification area
# brings the first copy's configuration window back, with the keyboard, and
# ends; a second copy started with --bandeja ends without showing anything.
# Neither touches the data files.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/puerto_comun.sh"
source "$(dirname "$0")/arranque_comun.sh"
source "$(dirname "$0")/sonido_servidor.sh"
trap terminar_quimbal EXIT
pasadas=0

preparar_carpeta
# Two profiles and a trailing part, a settings record with port 0: loading
# them writes nothing, so any change would come from the second copy.
{ registro General 1 'Click izquierdo' 'Click izquierdo'
  registro Ana 2 'F5' 'Click derecho'
  printf 'resto'; } >"$CARPETA/usuarios.dat"
printf '\x00%-20s' Ana >"$CARPETA/quimbal.dat"
cp "$CARPETA/usuarios.dat" "$CARPETA/usuarios.antes"
cp "$CARPETA/quimbal.dat" "$CARPETA/quimbal.antes"

arrancar_quimbal
wid=$(pasar_inicio) || fallar "la primera copia no pasó la pantalla de inicio"
aceptar "$wid"
esperar_sin_ventana "Quimbal 1.6" || fallar "Aceptar no ocultó la ventana"
pasadas=$((pasadas + 1))

# Started at login while one runs: nothing shows, it ends at once.
(cd / && exec "$CARPETA/quimbal" --bandeja >"$CARPETA/segunda.log" 2>&1) &
segunda=$!
esperar_fin_de "$segunda" || fallar "la segunda copia con --bandeja no terminó"
codigo=0; wait "$segunda" || codigo=$?
[ "$codigo" = 0 ] || fallar "la segunda copia con --bandeja terminó con $codigo"
xdotool search --onlyvisible --name '^Quimbal 1.6$' >/dev/null 2>&1 &&
  fallar "la segunda copia con --bandeja mostró una ventana"
pasadas=$((pasadas + 1))

# Started by hand (the menu, a launcher): the running copy's window comes
# back in test mode, with the keyboard focus, and this copy ends.
(cd / && exec "$CARPETA/quimbal" >"$CARPETA/tercera.log" 2>&1) &
tercera=$!
ventana=$(esperar_ventana "Quimbal 1.6" 50) || fallar "la ventana de la primera copia no volvió"
[ "$(xdotool getwindowpid "$ventana" 2>/dev/null)" = "$QUIMBAL_PID" ] ||
  fallar "la ventana que apareció no es la de la primera copia"
esperar_foco "$ventana" || fallar "la ventana que volvió no tiene el foco"
esperar_fin_de "$tercera" || fallar "la copia arrancada a mano no terminó"
codigo=0; wait "$tercera" || codigo=$?
[ "$codigo" = 0 ] || fallar "la copia arrancada a mano terminó con $codigo: $(cat "$CARPETA/tercera.log")"
captura instancia-segunda
pasadas=$((pasadas + 1))

kill -0 "$QUIMBAL_PID" 2>/dev/null || fallar "la primera copia terminó"
cmp "$CARPETA/usuarios.dat" "$CARPETA/usuarios.antes" || fallar "usuarios.dat cambió"
cmp "$CARPETA/quimbal.dat" "$CARPETA/quimbal.antes" || fallar "quimbal.dat cambió"
[ -z "$(ls "$CARPETA" | grep -E '\.nuevo$' || true)" ] || fallar "quedó un archivo temporal"
pasadas=$((pasadas + 1))
echo "$pasadas passed, 0 failed"
