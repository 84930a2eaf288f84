#!/usr/bin/env bash
# Inside the guest (run by vm_caja.sh): USB switch boxes made through uinput,
# the program in the tray under sway. A game-controller box (BTN_TRIGGER,
# BTN_THUMB) gives a left and a right click; pulled out while hidden and
# plugged back it acts again on the next press and not when it comes back; a
# keyboard-type box (space, enter) types only what the profile says, nothing
# of its own keys reaching the target; a box held by another program and one
# the user may not read are told in Spanish. With LATENCIA=N it then times N
# presses of the game-controller box (bench/latencia_invitado.sh caja).
set -u
export XKB_DEFAULT_LAYOUT=es QUIMBAL_VM_BANDEJA=1
# shellcheck source=/dev/null
source "$QUIMBAL_VM/sesion_wayland.sh" || exit 1
PUERTO_PERFIL=0 PUERTO_FALSO_COM= # no serial port: the box alone
# shellcheck source=/dev/null
source "$QUIMBAL_VM/programa_invitado.sh"

CAJA=/tmp/caja_uinput
gcc -O2 -o "$CAJA" "$QUIMBAL_VM/caja_uinput.c" || fallar "no se compiló caja_uinput"
# What the seat's uaccess gives the user on a desktop, for the test boxes
# (the guest has no login manager): granted by udev, so that the device is
# readable when udev announces it, as on a desktop.
mkdir -p /run/udev/rules.d
echo "SUBSYSTEM==\"input\", KERNEL==\"event*\", ATTRS{name}==\"Caja de prueba*\", OWNER=\"$SESION_USUARIO\"" \
  >/run/udev/rules.d/71-quimbal-prueba.rules
udevadm control --reload

# caja N NAME PRODUCT CODE...: box N made (its commands through descriptor
# 10+N, its output in caja_N.log); sin_caja N: pulled out.
caja() {
  local n=$1 nombre=$2 producto=$3
  shift 3
  rm -f "$P/caja_$n.fifo" && mkfifo "$P/caja_$n.fifo"
  "$CAJA" "$nombre" 1209 "$producto" "$@" <"$P/caja_$n.fifo" >"$P/caja_$n.log" 2>&1 &
  eval "exec $((10 + n))>\"$P/caja_$n.fifo\""
  esperar_hasta 5 grep -q '^LISTO$' "$P/caja_$n.log" || fallar "uinput no hizo la caja $nombre"
  udevadm settle -t 5
}
# (Every process started since holds the pipe open too: the box is told.)
sin_caja() { echo q >&$((10 + $1)); eval "exec $((10 + $1))>&-"; }
orden_caja() { echo "$2" >&$((10 + $1)); }
# ajustes_usb NAME PRODUCT CODE1 [CODE2]: ajustes.json as written by hand.
ajustes_usb() {
  printf '{"usb": {"id": "", "vendor": "1209", "product": "%s", "nombre": "%s", "pulsador1": %s%s}}\n' \
    "$2" "$1" "$3" "${4:+, \"pulsador2\": $4}" >"$P/ajustes.json"
  chown "$SESION_USUARIO:" "$P/ajustes.json"
}
# The program's output: avisos N TEXT COUNT (at least COUNT lines with TEXT).
avisos() { [ "$(grep -c -- "$2" "$P/salida$1.log")" -ge "$3" ]; }
conectada="en uso ("
puerto_abierto() { true; }
clics() { tail -n +"$(($1 + 1))" "$LOG" | grep -c -E " PRESS $2$"; }
# con_caja N NAME PRODUCT CODE1 CODE2: box N made and chosen in ajustes.json,
# the program started (output in salidaN.log) and using it.
con_caja() {
  caja "$1" "$2" "$3" "$4" "$5"
  ajustes_usb "$2" "$3" "$4" "$5"
  arrancar "$1"
  esperar_hasta 5 avisos "$1" "$conectada" 1 || fallar "el programa no tomó la caja «$2»"
}

# 1. A game-controller box: its two buttons, the two clicks.
MANDO="Caja de prueba (mando)"
usar_perfil Clics 'Click izquierdo' '' 'Click derecho' ''
con_caja 1 "$MANDO" 0001 288 289
desde=$(lineas)
orden_caja 1 "t 288 120"
en_orden "caja de botones, BTN_TRIGGER: un clic izquierdo" "$desde" 'PRESS left$' 'RELEASE left$'
orden_caja 1 "t 289 120"
en_orden "caja de botones, BTN_THUMB: un clic derecho" "$desde" 'PRESS right$' 'RELEASE right$'

# 2. Pulled out while hidden and plugged back: found again within 1 s, no
# action then, the next press acts once.
sin_caja 1
esperar_hasta 5 avisos 1 "no está conectada" 1 || fallar "el programa no vio la caja desconectada"
desde=$(lineas)
caja 1 "$MANDO" 0001 288 289
esperar_hasta 1 avisos 1 "$conectada" 2 || fallar "la caja vuelta a conectar no se tomó en 1 s"
sleep 0.5
[ "$(clics "$desde" left)" = 0 ] || fallar "la caja vuelta a conectar dio un clic por sí sola"
orden_caja 1 "t 288 120"
esperar_hasta 5 test "$(clics "$desde" left)" -ge 1 || fallar "tras reconectar, la pulsación no actuó"
sleep 0.3
[ "$(clics "$desde" left)" = 1 ] || fallar "tras reconectar, una pulsación dio $(clics "$desde" left) clics"
bien "caja desconectada y vuelta a conectar: nada al volver, un clic en la siguiente pulsación"

if [ "${LATENCIA:-0}" -gt 0 ]; then
  # Each press from the moment it is written to uinput (the kernel's time of
  # the event) to the program's action and to the target's click.
  parar
  arrancar 9 QT_LOGGING_RULES=quimbal.acciones.debug=true
  esperar_hasta 5 avisos 9 "$conectada" 1 || fallar "el programa no tomó la caja"
  for i in $(seq "$LATENCIA"); do
    antes=$(clics 0 left) hechas=$(grep -c '^quimbal.acciones: accion 1 ' "$P/salida9.log")
    escritas=$(grep -c '^T 288 1 ' "$P/caja_1.log")
    orden_caja 1 "t 288 30"
    esperar_hasta 5 test "$(clics 0 left)" -gt "$antes" || fallar "pulsación $i sin clic"
    t0=$(grep '^T 288 1 ' "$P/caja_1.log" | sed -n "$((escritas + 1))p" | cut -d' ' -f4)
    tc=$(grep -E ' PRESS left$' "$LOG" | sed -n "$((antes + 1))p" | cut -d' ' -f1)
    ta=$(grep '^quimbal.acciones: accion 1 ' "$P/salida9.log" | sed -n "$((hechas + 1))p" | cut -d' ' -f4)
    echo "LATENCIA $t0 $tc $ta"
    sleep "0.$((RANDOM % 3 + 1))"
  done
fi
parar

# 3. A keyboard-type box: space and enter type the profile's letters, and
# nothing of their own.
TECLAS="Caja de prueba (teclas)"
usar_perfil Letras 'Letra...' 'a' 'Letra...' 'b'
con_caja 2 "$TECLAS" 0002 57 28
desde=$(lineas)
orden_caja 2 "t 57 120"
orden_caja 2 "t 28 120"
en_orden "caja de teclas: espacio escribe «a», intro escribe «b»" "$desde" 'KEY A mods=none text=a ' \
  'KEY B mods=none text=b '
sleep 0.5
tail -n +"$((desde + 1))" "$LOG" | grep -q -E ' KEY (Space|Return|Enter) ' &&
  fallar "la ventana recibió el espacio o el intro de la propia caja"
bien "la caja de teclas está tomada: ni espacio ni intro llegan a la ventana"
parar

# 4. Held by another program: said once in Spanish; used once let go.
nodo=$(grep -l -x "$TECLAS" /sys/class/input/event*/device/name | head -n1 | cut -d/ -f5)
python3 -c '
import fcntl, signal, sys
f = open(sys.argv[1], "rb")
fcntl.ioctl(f, 0x40044590, 1)  # EVIOCGRAB
print("TOMADA", flush=True)
signal.pause()
' "/dev/input/$nodo" >"$P/agarre.log" 2>&1 &
agarre=$!
esperar_hasta 5 grep -q TOMADA "$P/agarre.log" || fallar "no se pudo tomar la caja: $(cat "$P/agarre.log")"
arrancar 3
esperar_hasta 5 avisos 3 "otro programa tiene tomada la caja de switches USB «$TECLAS»" 1 ||
  fallar "no se dijo que otro programa tiene tomada la caja"
kill "$agarre"
esperar_hasta 3 avisos 3 "$conectada" 1 || fallar "la caja soltada por el otro programa no se tomó"
[ "$(grep -c "otro programa tiene tomada" "$P/salida3.log")" = 1 ] || fallar "el aviso de caja tomada se repitió"
desde=$(lineas)
orden_caja 2 "t 57 120"
en_orden "caja tomada por otro programa: un aviso; soltada, se usa" "$desde" 'KEY A mods=none text=a '
parar

# 5. A box the user may not read: the reason, with the rule that fixes it.
caja 3 "Caja sin permiso" 0003 57
# Root's alone, as a keyboard-type box is on a stock desktop (group input).
nodo=$(grep -l -x "Caja sin permiso" /sys/class/input/event*/device/name | head -n1 | cut -d/ -f5)
chown root:root "/dev/input/$nodo" && chmod 600 "/dev/input/$nodo"
ajustes_usb "Caja sin permiso" 0003 57
arrancar 4
esperar_hasta 5 avisos 4 "el sistema no deja leer la caja de switches USB «Caja sin permiso»" 1 ||
  fallar "no se dijo que falta el permiso"
bien "caja sin permiso: dicho en castellano"
parar
sin_caja 1
sin_caja 2
sin_caja 3

# 6. Learning through the dialog, with the keyboard alone: the program
# started with its window, "Ajustes..." (Alt+J), the list "Dispositivo"
# (Alt+V) and the box picked by its initial, "Aprender los switches"
# (Alt+N), the box's two buttons, "Aceptar" (Alt+A); then the window hidden
# ("Aceptar", Alt+A), the box acts, and at the end the choice is saved.
TECLEAR=/tmp/teclear_uinput
gcc -O2 -o "$TECLEAR" "$QUIMBAL_VM/teclear_uinput.c" || fallar "no se compiló teclear_uinput"
mkfifo "$P/teclas"
"$TECLEAR" "Teclado de prueba" <"$P/teclas" >"$P/teclado.log" 2>&1 &
exec 9>"$P/teclas"
esperar_hasta 5 grep -q '^LISTO$' "$P/teclado.log" || fallar "uinput no hizo el teclado"
esperar_dispositivo "Teclado de prueba" || fallar "sway no tomó el teclado de prueba"
teclear() { printf '%s\n' "$@" >&9; }
APRENDER="Caja de prueba (aprender)"
caja 4 "$APRENDER" 0004 290 291
rm -f "$P/ajustes.json"
usar_perfil Clics 'Click izquierdo' '' 'Click derecho' ''
(cd / && exec runuser -u "$SESION_USUARIO" -- env -u DISPLAY HOME="/home/$SESION_USUARIO" \
  XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
  DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" QT_QPA_PLATFORM=wayland \
  "$P/quimbal" >"$P/salida5.log" 2>&1) &
QPID=$!
# enfocada TITLE: the focused window has this title; oculta TITLE: no
# window has it.
oculta() { ! sway_orden -r -t get_tree | jq -e --arg t "$1" 'any(.. | objects; .name? == $t)' >/dev/null; }
enfocada() { sway_orden -r -t get_tree | jq -e -r --arg t "$1" 'any(.. | objects; .focused? == true and .name? == $t)' >/dev/null; }
esperar_hasta 20 enfocada "Quimbal" || fallar "la pantalla de inicio no tiene el foco"
teclear '\n'
esperar_hasta 10 enfocada "Quimbal 1.6" || fallar "la ventana de configuración no tiene el foco"
teclear '\alt j'
esperar_hasta 10 enfocada "Ajustes de las entradas" || fallar "«Ajustes...» no abrió el diálogo"
teclear '\alt v' 'c' '\alt n'
esperar_hasta 10 avisos 5 "aprendiendo los switches de la caja «$APRENDER»" 1 ||
  fallar "el paso de aprender no empezó con la caja elegida"
orden_caja 4 "t 290 100"
orden_caja 4 "t 291 100"
esperar_hasta 10 avisos 5 "fin del aprendizaje" 1 || fallar "el paso de aprender no terminó"
teclear '\alt a'
esperar_hasta 10 enfocada "Quimbal 1.6" || fallar "el diálogo no se cerró con Aceptar"
teclear '\alt a'
esperar_hasta 10 oculta "Quimbal 1.6" || fallar "«Aceptar» no ocultó la ventana"
enfocar objetivo || fallar "la ventana objetivo no recuperó el foco"
desde=$(lineas)
orden_caja 4 "t 290 120"
orden_caja 4 "t 291 120"
en_orden "aprendida en el diálogo con el teclado, la caja hace sus dos clics" "$desde" \
  'PRESS left$' 'PRESS right$'
parar
exec 9>&-
jq -e --arg n "$APRENDER" '.usb.nombre == $n and .usb.pulsador1 == 290 and .usb.pulsador2 == 291' \
  "$P/ajustes.json" >/dev/null || fallar "ajustes.json no guarda la caja aprendida: $(cat "$P/ajustes.json")"
bien "la caja aprendida queda guardada en ajustes.json"
sin_caja 4
echo "pasadas: $pasadas"
