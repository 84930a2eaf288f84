# Shared by the guest tests of the program (sourced, as root, after
# sesion_wayland.sh): a copy of the program in a folder of the session's
# user, its data files, the target window focused with the pointer over it,
# a sound server, and helpers to start and stop the program and to wait for
# what the target logs. PUERTO_PERFIL is the port the profiles use (default 2)
# and PUERTO_FALSO_COM the port that is the test serial port (default 2;
# empty: none).
PUERTO_PERFIL=${PUERTO_PERFIL:-2}
PUERTO_FALSO_COM=${PUERTO_FALSO_COM-2}
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
for n in 1 2 3 4; do ln -s "$P/nada$n" "$P/com$n"; done
[ -n "$PUERTO_FALSO_COM" ] && ln -sfn "$PUERTO" "$P/com$PUERTO_FALSO_COM"
LOG=$P/objetivo.log
: >"$LOG"
chown -R "$SESION_USUARIO:" "$P"
# estado KEY=VALUE...: the lines of the test serial port (ESTADO: its state
# file), written whole.
estado() { printf '%s\n' "$@" >"$ESTADO.tmp" && mv -f "$ESTADO.tmp" "$ESTADO"; }
ESTADO=$PUERTO.estado
estado

# usar_perfil NAME ACTION1 LETTER1 ACTION2 LETTER2: a data file holding this
# one switch profile (fields of 20 characters in Windows-1252), and that
# profile last used on port PUERTO_PERFIL.
usar_perfil() {
  python3 - "$P" "$PUERTO_PERFIL" "$@" <<'FIN'
import sys
carpeta, puerto, nombre, accion1, letra1, accion2, letra2 = sys.argv[1:]
campo = lambda s: s.encode('cp1252').ljust(20, b' ')
registro = b''.join(map(campo, (nombre, accion1, accion2, letra1, letra2)))
open(carpeta + '/usuarios.dat', 'wb').write(registro + b'\x01\x00\x05\x00\x90\x01')
open(carpeta + '/quimbal.dat', 'wb').write(bytes([int(puerto)]) + campo(nombre))
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

# arrancar N [VAR=VALUE...]: the program in the tray (its output in
# salidaN.log), with the test serial port library preloaded when the
# profiles use that port; waits until its
# device is in use by sway, it is in the tray and its port is open
# (puerto_abierto, which a test may redefine).
QPID=""
arrancar() {
  local n=$1 precarga=()
  shift
  [ "$PUERTO_PERFIL" = "$PUERTO_FALSO_COM" ] &&
    precarga=(QUIMBAL_PUERTO_FALSO="$PUERTO" LD_PRELOAD="$B/puerto_falso.so")
  (cd / && exec runuser -u "$SESION_USUARIO" -- env -u DISPLAY HOME="/home/$SESION_USUARIO" \
    XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
    DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" QT_QPA_PLATFORM=wayland \
    "${precarga[@]}" "$@" "$P/quimbal" --bandeja >"$P/salida$n.log" 2>&1) &
  QPID=$!
  esperar_dispositivo Quimbal 10 || fallar "sway no ve el dispositivo del programa"
  # In the tray: the switches act from then on.
  esperar_hasta 20 en_bandeja || fallar "el programa no aparece en la bandeja"
  esperar_hasta 5 puerto_abierto || fallar "el puerto COM$PUERTO_PERFIL no se abrió"
}
puerto_abierto() { grep -q '^abierto=1' "$PUERTO.lineas" 2>/dev/null; }
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
# pulso LINES MS [N]: N times (default 1, 0.3 s apart) the switches of LINES
# ("cts", "cts dsr") closed for MS milliseconds, timed in one process (a
# process start takes 0.1-0.3 s here); pulsar LINE: a press held long enough
# for the 50 ms poll.
pulso() {
  python3 - "$ESTADO" "$1" "$2" "${3:-1}" <<'FIN'
import os, sys, time
ruta, lineas, ms, n = sys.argv[1], sys.argv[2].split(), int(sys.argv[3]), int(sys.argv[4])
def escribir(texto):
    with open(ruta + '.tmp', 'w') as f:
        f.write(texto)
    os.rename(ruta + '.tmp', ruta)
for i in range(n):
    if i:
        time.sleep(0.3)
    escribir(''.join(l + '=1\n' for l in lineas))
    time.sleep(ms / 1000)
    escribir('')
FIN
}
pulsar() { pulso "$1" 150; }

# A sound server with a microphone: without one the program says so in a box
# at start, which would take the focus.
como_usuario bash -c "source '$QUIMBAL_SRC/tests/e2e/pulseaudio.sh' && arrancar_pulseaudio" ||
  fallar "no arrancó el servidor de sonido"
como_usuario "$B/objetivo" "$LOG" >"$P/objetivo.salida" 2>&1 &
esperar_linea 0 ' READY' 20 >/dev/null || fallar "la ventana objetivo no apareció"
esperar_app_id objetivo || fallar "sway no tiene la ventana objetivo"
enfocar objetivo || fallar "la ventana objetivo no tiene el foco"
puntero_sobre objetivo || fallar "no se puede poner el puntero sobre la ventana objetivo"

