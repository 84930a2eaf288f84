#!/usr/bin/env bash
# Profiles through the real program: a start, the user's work, and "Salir"
# answered Yes. Without changes both data files come back byte for byte; a
# profile added reaches the file at once, and after the exit the file holds
# the sorted list, with every untouched record as it was.
set -eu
source "$(dirname "$0")/comun.sh"
pasados=0
bien() { pasados=$((pasados + 1)); echo "ok: $*"; }
trap 'terminar_quimbal' EXIT

# registro NAME ACTION1 LETTER1 ACTION2 LETTER2 then the six bytes of the
# numbers as printf escapes.
registro() { printf '%-20s%-20s%-20s%-20s%-20s' "$1" "$2" "$4" "$3" "$5"; printf "$6"; }
general() { registro General 'Click izquierdo' '' 'Click izquierdo' '' '\x01\x00\x05\x00\x90\x01'; }
ana() { registro Ana 'SHIFT+...' a F5 '' '\x02\x00\x08\x00\xb0\x04'; }
pedro() { registro Pedro 'Letra...' x 'CTRL+...' c '\x01\x00\x03\x00\xfa\x00'; }
zoe() { registro Zoe 'Click izquierdo' '' 'Click izquierdo' '' '\x01\x00\x05\x00\x90\x01'; }

# salir: Esc asks, Yes (the button before the default No) answers; waits for the end.
salir() { salir_con_si "$wid"; }

preparar_carpeta
{ pedro; general; ana; } >"$CARPETA/usuarios.dat"
printf '\x03%-20s' ana >"$CARPETA/quimbal.dat"
cp "$CARPETA/usuarios.dat" "$CARPETA/usuarios.antes"
cp "$CARPETA/quimbal.dat" "$CARPETA/quimbal.antes"

# 1. Start, look, leave: nothing changes.
arrancar_quimbal
wid=$(pasar_inicio) || fallar "no apareció la ventana de configuración"
# A write the load started late would land in this span.
nada_durante 0.5
captura perfiles-ana
cmp "$CARPETA/usuarios.dat" "$CARPETA/usuarios.antes" || fallar "la carga cambió usuarios.dat"
bien "la carga no escribe nada"
salir
cmp "$CARPETA/usuarios.dat" "$CARPETA/usuarios.antes" || fallar "usuarios.dat cambió sin cambios del usuario"
cmp "$CARPETA/quimbal.dat" <(printf '\x03%-20s' Ana) || fallar "quimbal.dat: $(od -c "$CARPETA/quimbal.dat" | head -3)"
bien "sin cambios, usuarios.dat vuelve igual byte a byte; quimbal.dat guarda Ana y el puerto 3"

# 2. Start, add zoe: at once in the file; leave: the sorted list.
arrancar_quimbal
wid=$(pasar_inicio) || fallar "no apareció la ventana de configuración"
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key alt+g
pregunta=$(esperar_dialogo "Agregar nuevo usuario" 50) || fallar "Agregar no pidió un nombre"
xdotool type --delay 50 "zoe"
xdotool key Return
esperar_sin_ventana "Agregar nuevo usuario" || fallar "la pregunta del nombre no se cerró"
# The new record is appended in one write: wait for the file to grow to four.
for _ in $(seq 50); do [ "$(stat -c %s "$CARPETA/usuarios.dat")" -ge 424 ] && break; sleep 0.1; done
cmp "$CARPETA/usuarios.dat" <(pedro; general; ana; zoe) || fallar "Zoe no llegó al archivo al agregarla"
bien "el usuario agregado está en el archivo al momento"
captura perfiles-zoe
salir
cmp "$CARPETA/usuarios.dat" <(ana; general; pedro; zoe) || fallar "usuarios.dat tras salir: $(od -c "$CARPETA/usuarios.dat" | head -5)"
cmp "$CARPETA/quimbal.dat" <(printf '\x03%-20s' Zoe) || fallar "quimbal.dat tras salir"
ls "$CARPETA" | grep -q '\.nuevo$' && fallar "quedó un archivo temporal"
bien "al salir, la lista ordenada con los registros intactos byte a byte"
echo "$pasados passed, 0 failed"
