#!/usr/bin/env bash
# The sound server dies (SIGKILL) while the program waits in the tray in sound
# mode, and is started again: the capture comes back by itself within 2 s of
# the server's return, says so in one line on standard error and shows no
# box, and a burst then gives exactly one click in the target window.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/pulseaudio.sh"
source "$(dirname "$0")/sonido_comun.sh"
source "$(dirname "$0")/sonido_servidor.sh"
LOG=$(mktemp /tmp/quimbal-objetivo.XXXXXX)
# The server started here is this script's to stop.
trap 'terminar_quimbal; terminar_objetivo; parar_pulseaudio; rm -f "$LOG" "$LOG.salida"' EXIT
fallo() { captura sonido-servidor-fallo; fallar "$@"; }

preparar_sonido_en_bandeja
[ "$(clics_de_rafaga)" = 1 ] || fallo "antes de parar el servidor una ráfaga no dio un clic"
echo "ok: con el servidor, una ráfaga da un clic"

desde=$(lineas_registro "$CARPETA/salida.log")
matar_pulseaudio
esperar_linea_desde "$CARPETA/salida.log" "$desde" 'perdido el servidor de sonido' 5 >/dev/null ||
  fallo "el programa no notó que el servidor se fue: $(cat "$CARPETA/salida.log")"
kill -0 "$QUIMBAL_PID" 2>/dev/null || fallo "el programa terminó al irse el servidor"
echo "ok: el programa nota que el servidor se fue y sigue"

arrancar_pulseaudio || fallo "el servidor de sonido no volvió a arrancar"
vuelta=$(date +%s%N)
esperar_linea_desde "$CARPETA/salida.log" "$desde" 'la captura ha vuelto' 5 >/dev/null ||
  fallo "la captura no volvió: $(cat "$CARPETA/salida.log")"
ms=$(( ($(date +%s%N) - vuelta) / 1000000 ))
[ "$ms" -le 2000 ] || fallo "la captura volvió $ms ms después que el servidor"
echo "ok: la captura vuelve $ms ms después que el servidor"

esperar_microfono microfono || fallo "el micrófono virtual no da sonido"
[ "$(clics_de_rafaga)" = 1 ] || fallo "tras la vuelta del servidor una ráfaga no dio exactamente un clic"
echo "ok: tras la vuelta, una ráfaga da exactamente un clic"

! caja_visible || fallo "se mostró un cuadro de mensaje"
n=$(tail -n +"$((desde + 1))" "$CARPETA/salida.log" | grep -c 'Sonido:' || true)
[ "$n" = 2 ] || fallo "se esperaban dos líneas (ida y vuelta) y hay $n: $(cat "$CARPETA/salida.log")"
echo "ok: ningún cuadro, una línea al irse el servidor y otra al volver"
