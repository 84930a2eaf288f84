#!/usr/bin/env bash
# The whole program on a desktop with a notification area: start screen, a
# key leaves it, the configuration window shows; Enter hides it into the tray;
# a left press on the tray icon brings it back; Esc asks before leaving, Enter
# on that question answers No, and Yes ends the program. Screenshots of the
# start screen, the window in switch and in sound mode and "Más opciones".
set -eu
source "$(dirname "$0")/comun.sh"
pasados=0
bien() { pasados=$((pasados + 1)); echo "ok: $*"; }
trap 'terminar_quimbal' EXIT

preparar_carpeta
arrancar_quimbal
inicio=$(esperar_ventana "Quimbal") || fallar "no apareció la pantalla de inicio"
geo=$(xdotool getwindowgeometry "$inicio")
echo "$geo" | grep -q "Geometry: 487x338" || fallar "pantalla de inicio de tamaño inesperado: $geo"
captura pantalla-inicio
bien "pantalla de inicio"

# F10 shows its message and the start screen stays.
xdotool windowactivate --sync "$inicio" >/dev/null 2>&1 || true
xdotool key F10
caja=$(esperar_dialogo "Quimbal 1.6" 50) || fallar "F10 no mostró su mensaje"
xdotool search --onlyvisible --name "^Quimbal\$" >/dev/null || fallar "la pantalla de inicio se fue con F10"
xdotool key Return
esperar_sin_ventana "Quimbal 1.6" || fallar "el mensaje de F10 no se cerró"
bien "F10"

wid=$(pasar_inicio) || fallar "una tecla no dejó la pantalla de inicio"
xdotool search --onlyvisible --name "^Quimbal\$" >/dev/null && fallar "la pantalla de inicio sigue visible"
bien "una tecla lleva a la ventana de configuración"

xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key alt+w
esperar_modo "$wid" switch || true
captura ventana-switch
xdotool key alt+s
esperar_modo "$wid" sonido || true
captura ventana-sonido
xdotool key alt+m
esperar_dialogo "Más opciones" 50 >/dev/null || fallar "Más no abrió Más opciones"
captura mas-opciones
# The delay is all selected: typing replaces it; Enter accepts.
xdotool type --delay 50 250
xdotool key Return
esperar_sin_ventana "Más opciones" || fallar "Enter no cerró Más opciones"
bien "Más opciones acepta 250"

xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key alt+y
esperar_dialogo "Ayuda de Quimbal" 50 >/dev/null || fallar "Ayuda no abrió el archivo de ayuda"
captura ayuda
xdotool key alt+c
esperar_sin_ventana "Ayuda de Quimbal" || fallar "la ventana de ayuda no se cerró"
bien "Ayuda"

xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key alt+w
esperar_modo "$wid" switch || true

# Enter hides the window; the icon stays in the notification area.
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key Return
esperar_sin_ventana "Quimbal 1.6" || fallar "Enter no ocultó la ventana"
kill -0 "$QUIMBAL_PID" || fallar "el programa terminó al ocultar la ventana"
icono=""
for _ in $(seq 50); do icono=$(icono_bandeja) && break; sleep 0.1; done
[ -n "$icono" ] || fallar "no hay icono en el área de notificación"
captura bandeja
bien "Enter oculta la ventana y queda el icono"

clic_en_ventana "$icono"
wid=$(esperar_ventana "Quimbal 1.6" 50) || fallar "la pulsación en el icono no mostró la ventana"
bien "el icono muestra la ventana"

# Esc asks; Enter answers No and the program goes on.
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key Escape
esperar_dialogo "Atención!" 50 >/dev/null || fallar "Esc no preguntó antes de salir"
captura pregunta-salida
xdotool key Return
esperar_sin_ventana "Atención!" || fallar "Enter no cerró la pregunta"
# The program must not end after No: a moment for it to do so.
nada_durante 0.3
kill -0 "$QUIMBAL_PID" || fallar "Enter en la pregunta terminó el programa"
xdotool search --onlyvisible --name "^Quimbal 1.6\$" >/dev/null || fallar "la ventana desapareció tras No"
bien "Enter en la pregunta contesta No"

# Esc again, then Yes: the program ends.
salir_con_si "$wid"
rc=$SALIDA
[ "$rc" = 0 ] || fallar "el programa terminó con código $rc"
icono_bandeja >/dev/null && fallar "el icono sigue en el área de notificación"
bien "Sí termina el programa y quita el icono"

# Both data files rewritten: one profile "General" in switch mode with the
# delay of 250 ms set above, port 1 and "General" as the last profile.
[ "$(stat -c %s "$CARPETA/usuarios.dat")" = 106 ] || fallar "usuarios.dat no tiene un registro"
[ "$(stat -c %s "$CARPETA/quimbal.dat")" = 21 ] || fallar "quimbal.dat no tiene 21 bytes"
[ "$(head -c 20 "$CARPETA/usuarios.dat")" = "General             " ] || fallar "el perfil no es General"
[ "$(od -An -tu1 -N1 "$CARPETA/quimbal.dat" | tr -d ' ')" = 1 ] || fallar "el puerto guardado no es 1"
[ "$(od -An -tu2 -j100 -N6 --endian=little "$CARPETA/usuarios.dat" | tr -s ' ')" = " 1 5 250" ] ||
  fallar "modo, umbral y retraso guardados: $(od -An -tu2 -j100 -N6 --endian=little "$CARPETA/usuarios.dat")"
[ "$(tail -c 20 "$CARPETA/quimbal.dat")" = "General             " ] || fallar "el último perfil no es General"
ls "$CARPETA"/*.tmp "$CARPETA"/*.nuevo 2>/dev/null && fallar "quedaron archivos a medio escribir"
bien "los dos archivos de datos"

echo "$pasados passed, 0 failed"
