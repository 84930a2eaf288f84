#!/usr/bin/env bash
# Started straight into the notification area (as at login), the program
# never waits on a box: for each problem of the start below, a switch press
# on the test port clicks in the target window, no window of the program
# shows or takes the focus, and the problem reaches the desktop's
# notifications. Nothing is pressed or clicked by the test once the program
# has started. Then: further copies of the session end at once, whatever
# their folder, and a lock file naming the new process does not stop it.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/puerto_comun.sh"
source "$(dirname "$0")/arranque_comun.sh"
source "$(dirname "$0")/pulseaudio.sh"
source "$(dirname "$0")/sonido_servidor.sh"
LOG=$(mktemp /tmp/quimbal-arranque.XXXXXX)
cerrar() {
  terminar_quimbal
  terminar_objetivo
  parar_bus_con_notificador
  limpiar_puerto_falso
  # The sound server this test started again (the desktop's own is gone).
  parar_pulseaudio
}
trap cerrar EXIT

arrancar_bus_con_notificador
arrancar_objetivo "$LOG"

# Each case: its name, what the notification says (empty: none), and
# whether switch 1 is expected to click (a port the program does not know
# is no port).
casos=(
  "normal||si"
  "sin_sonido|reconocimiento de sonido|si"
  "usuarios_carpeta|No se puede abrir el archivo de usuarios|si"
  "usuarios_fifo|No se puede abrir el archivo de usuarios|si"
  "usuarios_basura|puede usar solo 21|si"
  "puerto_200|COM200|no"
)
preparar_caso() {
  case "$1" in
  sin_sonido) matar_pulseaudio ;;
  usuarios_carpeta) rm -f "$CARPETA/usuarios.dat"; mkdir "$CARPETA/usuarios.dat" ;;
  usuarios_fifo) rm -f "$CARPETA/usuarios.dat"; mkfifo "$CARPETA/usuarios.dat" ;;
  usuarios_basura) head -c 10485760 /dev/urandom >>"$CARPETA/usuarios.dat" ;;
  puerto_200) configuracion 200 >"$CARPETA/quimbal.dat" ;;
  esac
}

for caso in "${casos[@]}"; do
  IFS='|' read -r nombre aviso clic <<<"$caso"
  preparar_carpeta
  preparar_puerto_falso
  registro General 1 'Click izquierdo' 'Click derecho' >"$CARPETA/usuarios.dat"
  configuracion 2 >"$CARPETA/quimbal.dat"
  preparar_caso "$nombre"
  notificadas=$(lineas_registro "$NOTIFICACIONES")
  arrancar_en_bandeja
  if [ "$clic" = si ]; then
    esperar_puerto_abierto || fallar "$nombre: el puerto no se abrió: $(cat "$CARPETA/salida.log")"
    pulsar_y_esperar_clic "$LOG" || fallar "$nombre: el switch 1 no dio un clic"
  fi
  if [ -n "$aviso" ]; then
    esperar_linea_desde "$NOTIFICACIONES" "$notificadas" "^NOTIFY .*$aviso" 10 >/dev/null ||
      fallar "$nombre: no llegó la notificación «$aviso»: $(tail -n +"$((notificadas + 1))" "$NOTIFICACIONES")"
  else
    nada_durante 1
  fi
  [ "$(tail -n +"$((notificadas + 1))" "$NOTIFICACIONES" | grep -c '^NOTIFY')" = "$([ -n "$aviso" ] && echo 1 || echo 0)" ] ||
    fallar "$nombre: notificaciones: $(tail -n +"$((notificadas + 1))" "$NOTIFICACIONES"); salida: $(cat "$CARPETA/salida.log")"
  [ -z "$(ventanas_de "$QUIMBAL_PID")" ] || { captura "arranque-$nombre"; fallar "$nombre: se mostró una ventana"; }
  [ "$(grep -E ' FOCUS(IN|OUT)$' "$LOG" | tail -n1 | cut -d' ' -f2)" = FOCUSIN ] ||
    fallar "$nombre: el objetivo perdió el foco"
  kill -0 "$QUIMBAL_PID" 2>/dev/null || fallar "$nombre: el programa terminó: $(cat "$CARPETA/salida.log")"
  terminar_quimbal
  if [ "$nombre" = sin_sonido ]; then
    arrancar_pulseaudio || fallar "el servidor de sonido no volvió"
    # The server answers before it has loaded the virtual microphone.
    for _ in $(seq 50); do pactl list short sources 2>/dev/null | grep -q microfono && break; sleep 0.1; done
  fi
  limpiar_puerto_falso
  bien "$nombre: sin cuadros, el switch actúa${aviso:+, notificado «$aviso»}"
done

# A data folder that cannot be written: another user of the machine, whose
# configuration folder may not be written, runs a copy from a folder that it
# may not write either, and with HOME unset.
preparar_carpeta
preparar_puerto_falso
NO_ESCRIBIBLE=$(mktemp -d /tmp/quimbal-config.XXXXXX)
chmod 755 "$NO_ESCRIBIBLE"
abrir_a_otros_usuarios 755
desde=$(lineas_registro "$NOTIFICACIONES")
arrancar_como_otro_usuario HOME= XDG_CONFIG_HOME="$NO_ESCRIBIBLE/no-existe"
esperar_linea_desde "$NOTIFICACIONES" "$desde" '^NOTIFY .*no se guardarán' 10 >/dev/null ||
  fallar "carpeta no escribible: no llegó la notificación: $(cat "$NOTIFICACIONES" "$RUNTIME_OTRO.log")"
nada_durante 1
[ -z "$(ventanas_de "$QUIMBAL_PID")" ] || fallar "carpeta no escribible: se mostró una ventana"
kill -0 "$QUIMBAL_PID" 2>/dev/null || fallar "carpeta no escribible: el programa terminó: $(cat "$RUNTIME_OTRO.log")"
grep -q 'no se guardarán' "$RUNTIME_OTRO.log" || fallar "carpeta no escribible: nada en la salida de errores"
terminar_quimbal
[ -z "$(ls -A "$NO_ESCRIBIBLE")" ] || fallar "carpeta no escribible: se escribió $(ls -A "$NO_ESCRIBIBLE")"
rm -rf "$NO_ESCRIBIBLE" "$RUNTIME_OTRO" "$RUNTIME_OTRO.log"
limpiar_puerto_falso
bien "carpeta de datos que no se puede escribir: notificado, sin cuadros, nada escrito"

# One copy per session: the installed copy (here, the first folder) runs in
# sound mode; a portable copy from another folder with the same profiles,
# and the same copy again, end at once, without a window and without
# touching a file; one blow is one click.
preparar_carpeta
registro General 2 'Click izquierdo' 'Click derecho' >"$CARPETA/usuarios.dat"
configuracion 0 >"$CARPETA/quimbal.dat"
# A lock file in each place naming the new process itself (a process number
# used again): the kernel's lock is what counts, not the file.
printf '#!/bin/sh\necho $$ >"%s/quimbal.lck"; echo $$ >"%s/quimbal.lck"\nexec "%s/quimbal" "$@"\n' \
  "$CARPETA" "$XDG_RUNTIME_DIR" "$CARPETA" >"$CARPETA/envoltorio"
chmod +x "$CARPETA/envoltorio"
(cd / && exec "$CARPETA/envoltorio" --bandeja >"$CARPETA/salida.log" 2>&1) &
QUIMBAL_PID=$!
esperar_linea "$CARPETA/salida.log" 'primera lectura de nivel' 10 >/dev/null ||
  fallar "con un bloqueo que nombra su proceso, el programa no capta sonido: $(cat "$CARPETA/salida.log")"
bien "un archivo de bloqueo que nombra al propio proceso no lo detiene"
PRIMERA=$CARPETA
cp "$CARPETA/usuarios.dat" "$CARPETA/usuarios.antes"
for otra in portatil misma; do
  OTRA=$PRIMERA
  if [ "$otra" = portatil ]; then
    OTRA=$(mktemp -d /tmp/quimbal-portatil.XXXXXX)
    cp "$QUIMBAL_BUILD/quimbal" "$PRIMERA/usuarios.dat" "$PRIMERA/quimbal.dat" "$OTRA/"
  fi
  (cd / && exec "$OTRA/quimbal" --bandeja >"$OTRA/otra.log" 2>&1) &
  otra_pid=$!
  esperar_fin_de "$otra_pid" || fallar "$otra: la segunda copia no terminó"
  codigo=0; wait "$otra_pid" || codigo=$?
  [ "$codigo" = 0 ] || fallar "$otra: la segunda copia terminó con $codigo"
  [ "$(wc -l <"$OTRA/otra.log")" = 1 ] && grep -q 'ya hay una copia en marcha' "$OTRA/otra.log" ||
    fallar "$otra: la segunda copia dijo: $(cat "$OTRA/otra.log")"
  if [ "$otra" = portatil ]; then
    [ "$(ls "$OTRA" | tr '\n' ' ')" = "otra.log quimbal quimbal.dat usuarios.dat " ] ||
      fallar "la copia portátil dejó archivos: $(ls "$OTRA")"
    rm -rf "$OTRA"
  fi
done
cmp "$PRIMERA/usuarios.dat" "$PRIMERA/usuarios.antes" || fallar "usuarios.dat cambió"
[ -z "$(ventanas_de "$QUIMBAL_PID")" ] || fallar "la primera copia mostró una ventana"
n=$(clics_de_rafaga)
[ "$n" = 1 ] || fallar "con otra copia arrancada, un soplido dio $n clics"
bien "otra copia de la sesión, de otra carpeta o de la misma, termina en silencio; un soplido, un clic"
echo "$pasadas passed, 0 failed"
