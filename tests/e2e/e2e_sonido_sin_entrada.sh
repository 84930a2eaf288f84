#!/usr/bin/env bash
# A sound server whose only input is a speaker's monitor (no microphone): it
# is not taken as the blow input, since it would hear the computer's own
# sounds. "Continuar" shows the box that says the sound recognition could not
# start, then the configuration window; when a microphone becomes the default
# input the capture starts by itself, without another box.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/pulseaudio.sh"
source "$(dirname "$0")/sonido_servidor.sh"
trap 'terminar_quimbal' EXIT
fallo() { captura sonido-sin-entrada-fallo; fallar "$@"; }

pactl set-default-source altavoz.monitor
preparar_carpeta_sin_puerto
arrancar_quimbal
wid=$(continuar_con_aviso) || fallo "Continuar sin sonido no llevó a la ventana"
grep -q 'primera lectura' "$CARPETA/salida.log" && fallo "se leyó el monitor de la salida"
echo "ok: un monitor no es una entrada: el aviso y después la ventana"

pactl set-default-source microfono
esperar_linea "$CARPETA/salida.log" 'primera lectura de nivel.*microfono' 10 >/dev/null ||
  fallo "la captura no empezó con el micrófono: $(cat "$CARPETA/salida.log")"
! caja_visible || fallo "al aparecer el micrófono se mostró un cuadro"
echo "ok: al elegir un micrófono la captura empieza sola, sin cuadro"
salir_con_si "$wid"
