#!/usr/bin/env bash
# The program starts on a virtual desktop and its window "Quimbal 1.6" appears;
# a screenshot is kept as an artifact.
set -eu
source "$(dirname "$0")/comun.sh"
preparar_carpeta
arrancar_quimbal
pasar_inicio >/dev/null || fallar "no se pasó la pantalla de inicio"
wid=$(esperar_ventana "Quimbal 1.6") || fallar "no apareció la ventana Quimbal 1.6"
geo=$(xdotool getwindowgeometry "$wid")
echo "$geo"
echo "$geo" | grep -q "Geometry: 626x297" || fallar "tamaño de ventana inesperado: $geo"
captura ventana-inicial
terminar_quimbal
echo "1 passed, 0 failed"
