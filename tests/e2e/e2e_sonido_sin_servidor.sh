#!/usr/bin/env bash
# No sound server at all when the program starts: "Continuar" shows the box
# that says the sound recognition could not start, and after it the
# configuration window; the program carries on. When a server appears later
# the capture starts by itself, without another box.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/pulseaudio.sh"
source "$(dirname "$0")/sonido_servidor.sh"
trap 'terminar_quimbal; parar_pulseaudio' EXIT
fallo() { captura sonido-sin-servidor-fallo; fallar "$@"; }

matar_pulseaudio
preparar_carpeta_sin_puerto
arrancar_quimbal
wid=$(continuar_con_aviso) || fallo "Continuar sin sonido no llevó a la ventana"
echo "ok: sin servidor de sonido, el aviso y después la ventana de configuración"

arrancar_pulseaudio || fallo "el servidor de sonido no arrancó"
esperar_linea "$CARPETA/salida.log" 'primera lectura de nivel' 10 >/dev/null ||
  fallo "la captura no empezó al aparecer el servidor: $(cat "$CARPETA/salida.log")"
! caja_visible || fallo "al aparecer el servidor se mostró un cuadro"
echo "ok: al aparecer un servidor la captura empieza sola, sin cuadro"
salir_con_si "$wid"
