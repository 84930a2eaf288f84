#!/usr/bin/env bash
# No sound server at all when the program starts: "Continuar" shows the box
# that says the sound recognition could not start, and after it the
# configuration window; the program carries on. When a server appears later
# the capture starts by itself, without another box.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/pulseaudio.sh"
source "$(dirname "$0")/sonido_comun.sh"
source "$(dirname "$0")/sonido_servidor.sh"
trap 'terminar_quimbal; parar_pulseaudio' EXIT
fallo() { captura sonido-sin-servidor-fallo; fallar "$@"; }

matar_pulseaudio
preparar_carpeta_sin_puerto
arrancar_quimbal
inicio=$(esperar_ventana "Quimbal") || fallo "no apareció la pantalla de inicio"
xdotool windowactivate --sync "$inicio" >/dev/null 2>&1 || xdotool windowfocus --sync "$inicio"
xdotool key --clearmodifiers space
esperar_dialogo "Quimbal 1.6" >/dev/null || fallo "no apareció nada tras Continuar"
caja_visible || fallo "sin servidor de sonido no se mostró el cuadro de aviso"
xdotool key Return
for _ in $(seq 50); do caja_visible || break; sleep 0.1; done
! caja_visible || fallo "el cuadro no se cerró con Intro"
wid=$(esperar_ventana "Quimbal 1.6") || fallo "tras el aviso no apareció la ventana de configuración"
kill -0 "$QUIMBAL_PID" 2>/dev/null || fallo "el programa terminó"
echo "ok: sin servidor de sonido, el aviso y después la ventana de configuración"

arrancar_pulseaudio || fallo "el servidor de sonido no arrancó"
esperar_linea "$CARPETA/salida.log" 'primera lectura de nivel' 10 >/dev/null ||
  fallo "la captura no empezó al aparecer el servidor: $(cat "$CARPETA/salida.log")"
! caja_visible || fallo "al aparecer el servidor se mostró un cuadro"
echo "ok: al aparecer un servidor la captura empieza sola, sin cuadro"
salir_con_si "$wid"
