#!/usr/bin/env bash
# Inside the guest (run by vm_wayland.sh): the real program in a Wayland
# session injects through its uinput device into a native Wayland window, the
# target of the end-to-end tests, which logs what it receives. Checks, in one
# boot: switch presses give a left and a right click; named keys, the
# modifiers and characters of the Spanish layout (AltGr levels, a dead key)
# arrive as typed; the program killed while CTRL is held leaves no modifier
# down; on a US layout a string with "ñ" is refused whole; a malformed string
# sends nothing. With LATENCIA=N it then times N keys (see bench/).
set -u
export XKB_DEFAULT_LAYOUT=es QUIMBAL_VM_BANDEJA=1
# shellcheck source=/dev/null
source "$QUIMBAL_VM/sesion_wayland.sh" || exit 1
B=$QUIMBAL_BUILD
pasadas=0
# What the udev rule's "uaccess" gives the user at the seat on a desktop (the
# guest has no login manager to apply it).
chown "root:$SESION_USUARIO" /dev/uinput && chmod 660 /dev/uinput
fallar() {
  echo "FALLO: $*" >&2
  tail -n 15 "$LOG" >&2
  for f in "$P"/salida*.log; do [ -f "$f" ] && { echo "--- $f" >&2; tail -n 5 "$f" >&2; }; done
  exit 1
}
bien() { echo "ok: $*"; pasadas=$((pasadas + 1)); }

# The program's folder belongs to the session's user, as a copy in a home.
P=/tmp/quimbal-wl
mkdir -p "$P"
cp "$B/quimbal" "$B/quimbal_inyectar" "$P/"
PUERTO=$P/ttyFAKE
ln -s "$PUERTO" "$P/com2"
for n in 1 3 4; do ln -s "$P/nada$n" "$P/com$n"; done
LOG=$P/objetivo.log
: >"$LOG"
chown -R "$SESION_USUARIO:" "$P"
estado() { printf '%s\n' "$@" >"$PUERTO.estado.tmp" && mv -f "$PUERTO.estado.tmp" "$PUERTO.estado"; }
estado

# usar_perfil NAME ACTION1 LETTER1 ACTION2 LETTER2: a data file holding this
# one switch profile (fields of 20 characters in Windows-1252), and that
# profile last used on COM2.
usar_perfil() {
  python3 - "$P" "$@" <<'FIN'
import sys
carpeta, nombre, accion1, letra1, accion2, letra2 = sys.argv[1:]
campo = lambda s: s.encode('cp1252').ljust(20, b' ')
registro = b''.join(map(campo, (nombre, accion1, accion2, letra1, letra2)))
open(carpeta + '/usuarios.dat', 'wb').write(registro + b'\x01\x00\x05\x00\x90\x01')
open(carpeta + '/quimbal.dat', 'wb').write(b'\x02' + campo(nombre))
FIN
  chown "$SESION_USUARIO:" "$P/usuarios.dat" "$P/quimbal.dat"
}

# Lines of the target's log: lineas; esperar_linea FROM PATTERN [SECONDS]
# waits for a line after line FROM matching PATTERN and prints its number.
lineas() { wc -l <"$LOG"; }
esperar_linea() {
  local n
  for _ in $(seq $((${3:-5} * 20))); do
    n=$(tail -n +"$(($1 + 1))" "$LOG" | grep -n -E -m1 -- "$2" | cut -d: -f1)
    [ -n "$n" ] && { echo $(($1 + n)); return 0; }
    sleep 0.05
  done
  return 1
}
# en_orden DESCRIPTION FROM PATTERN...: the patterns arrive in this order.
en_orden() {
  local desc=$1 desde=$2 p
  shift 2
  for p in "$@"; do
    desde=$(esperar_linea "$desde" " $p") || fallar "$desc: no llegó «$p»"
  done
  bien "$desc"
}

# The program with the test serial port, in the tray; waits until its device
# is in use by sway and COM2 is open.
QPID=""
arrancar() {
  local n=$1
  shift
  (cd / && exec runuser -u "$SESION_USUARIO" -- env -u DISPLAY HOME="/home/$SESION_USUARIO" \
    XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
    DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" QT_QPA_PLATFORM=wayland \
    QUIMBAL_PUERTO_FALSO="$PUERTO" LD_PRELOAD="$B/puerto_falso.so" "$@" \
    "$P/quimbal" --bandeja >"$P/salida$n.log" 2>&1) &
  QPID=$!
  esperar_dispositivo Quimbal 10 || fallar "sway no ve el dispositivo del programa"
  # In the tray: the switches act from then on.
  esperar_hasta 20 en_bandeja || fallar "el programa no aparece en la bandeja"
  for _ in $(seq 100); do grep -q '^abierto=1' "$PUERTO.lineas" 2>/dev/null && return 0; sleep 0.05; done
  fallar "COM2 no se abrió"
}
en_bandeja() {
  como_usuario dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher \
    /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get \
    string:org.kde.StatusNotifierWatcher string:RegisteredStatusNotifierItems 2>/dev/null |
    grep -q 'string "'
}
# The program ended, and its device gone from sway (so that the next one's
# is the one waited for).
sin_dispositivo() { ! _hay_dispositivo Quimbal; }
parar() {
  pkill -"${1:-TERM}" -x quimbal
  wait "$QPID" 2>/dev/null
  esperar_hasta 5 sh -c '! pgrep -x quimbal >/dev/null' || fallar "el programa no terminó"
  esperar_hasta 5 sin_dispositivo || fallar "sway sigue viendo el dispositivo del programa"
}
# pulsar LINE: one press and release of a switch (cts or dsr), held long
# enough for the 50 ms poll.
pulsar() { estado "$1=1"; sleep 0.15; estado; }

# A sound server with a microphone: without one the program says so in a box
# at start, which would take the focus.
como_usuario bash -c "source '$QUIMBAL_SRC/tests/e2e/pulseaudio.sh' && arrancar_pulseaudio" ||
  fallar "no arrancó el servidor de sonido"
como_usuario "$B/objetivo" "$LOG" >"$P/objetivo.salida" 2>&1 &
esperar_linea 0 ' READY' 20 >/dev/null || fallar "la ventana objetivo no apareció"
esperar_app_id objetivo || fallar "sway no tiene la ventana objetivo"
enfocar objetivo || fallar "la ventana objetivo no tiene el foco"
puntero_sobre objetivo || fallar "no se puede poner el puntero sobre la ventana objetivo"

# 1. Clicks: switch 1 left, switch 2 right; exactly one each.
usar_perfil Clics 'Click izquierdo' '' 'Click derecho' ''
arrancar 1
desde=$(lineas)
pulsar cts
en_orden "switch 1: un clic izquierdo en la ventana Wayland" "$desde" 'PRESS left$' 'RELEASE left$'
pulsar dsr
en_orden "switch 2: un clic derecho" "$desde" 'PRESS right$' 'RELEASE right$'
sleep 0.5 # quiet period: no further button
[ "$(tail -n +"$((desde + 1))" "$LOG" | grep -c -E ' PRESS ')" = 2 ] || fallar "más de un clic por pulsación"
bien "un clic por pulsación"
parar

# 2. Keys on the Spanish layout.
usar_perfil Teclas 'Letra...' '{ENTER}{TAB}{F5}{UP}' 'Letra...' '+a^a%añá@€{DOWN}'
arrancar 2
desde=$(lineas)
pulsar cts
en_orden "ENTER, TAB, F5, flecha arriba" "$desde" 'KEY Return mods=none' 'KEY Tab mods=none' \
  'KEY F5 mods=none' 'KEY Up mods=none'
desde=$(lineas)
pulsar dsr
# á is the dead acute key (keysym 0xfe51), then a: the client's input method
# composes them (the target has none).
en_orden "SHIFT+a, CTRL+a, ALT+a, ñ, á (tecla muerta), @ y € (AltGr), flecha abajo" "$desde" \
  'KEY A mods=shift text=A ' 'KEY A mods=ctrl ' 'KEY A mods=alt ' 'KEY .* text=ñ ' \
  'KEY .* sym=0xfe51$' 'KEY A mods=none text=a ' 'KEY .* text=@ ' 'KEY .* text=€ ' 'KEY Down mods=none'
parar

# 3. Killed while CTRL is held: the next key comes without it.
usar_perfil Control 'CTRL+...' 'a' 'Letra...' 'b'
arrancar 3 QUIMBAL_RETARDO_TECLAS_MS=3000
desde=$(lineas)
pulsar cts
esperar_linea "$desde" ' KEY Control ' 10 >/dev/null || fallar "CTRL no llegó"
parar KILL
arrancar 4
desde=$(lineas)
pulsar dsr
en_orden "tras kill -9 con CTRL pulsado, la siguiente tecla llega sin CTRL" "$desde" 'KEY B mods=none text=b '
parar

# 4. The injector alone: refused strings, and (LATENCIA) timing.
coproc INY { exec runuser -u "$SESION_USUARIO" -- env -u DISPLAY XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
  WAYLAND_DISPLAY="$WAYLAND_DISPLAY" XKB_DEFAULT_LAYOUT=us QT_QPA_PLATFORM=offscreen \
  "$P/quimbal_inyectar" 2>"$P/salida5.log"; }
pedir() {
  printf '%s\n' "$1" >&"${INY[1]}"
  read -r -t 10 RESPUESTA <&"${INY[0]}" || fallar "el inyector no respondió a: $1"
}
esperar_dispositivo Quimbal 10 || fallar "sway no ve el dispositivo del inyector"
desde=$(lineas)
pedir 'teclas añ'
[ "${RESPUESTA#* }" = fallo ] || fallar "«ñ» en una distribución US no se rechazó"
grep -q 'no puede escribir el carácter «ñ»' "$P/salida5.log" || fallar "no se nombró «ñ»: $(cat "$P/salida5.log")"
pedir $'teclas ab{'
[ "${RESPUESTA#* }" = fallo ] || fallar "una cadena mal formada no se rechazó"
pedir 'teclas z'
esperar_linea "$desde" ' KEY Z mods=none text=z ' >/dev/null || fallar "no llegó la z de control"
tail -n +"$((desde + 1))" "$LOG" | grep -q -E ' KEY (A|B) ' && fallar "una cadena rechazada escribió algo"
bien "US: «ñ» rechaza la cadena entera y lo dice; una cadena mal formada no envía nada"

if [ "${LATENCIA:-0}" -gt 0 ]; then
  # Each key only after the previous one arrived; the driver answers with the
  # time taken right before the call, the target logs the time it got it (the
  # same clock).
  for i in $(seq "$LATENCIA"); do
    desde=$(lineas)
    pedir 'teclas x'
    n=$(esperar_linea "$desde" ' KEY X mods=none') || fallar "la tecla $i no llegó"
    echo "LATENCIA ${RESPUESTA%% *} $(sed -n "${n}p" "$LOG" | cut -d' ' -f1)"
  done
fi
printf 'salir\n' >&"${INY[1]}"
echo "$pasadas passed, 0 failed"
