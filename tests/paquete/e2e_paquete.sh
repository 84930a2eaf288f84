#!/usr/bin/env bash
# The installed program used as its user would: /usr/bin/quimbal run by an
# ordinary user (created for the test) on the test desktop. The first start
# creates ~/.config/quimbal, private to the user, with the default profile; a
# profile added survives "Salir" and a new start; --inicio-automatico si and
# no write and remove the session's autostart entry; --bandeja shows no
# window, puts the icon in the notification area, and a press of a switch on
# the user's port (a comN link in the data folder to the test serial port)
# clicks in another window. Every start has the test port's library preloaded,
# so no device of this machine is opened.
# Run as root through tests/e2e/escritorio.sh with the package installed and
# QUIMBAL_BUILD naming a build folder (for objetivo and puerto_falso.so).
set -eu
e2e=$(cd "$(dirname "$0")/../e2e" && pwd)
source "$e2e/comun.sh"
source "$e2e/puerto_comun.sh"
pasadas=0
ok() { echo "ok: $*"; pasadas=$((pasadas + 1)); }

PROGRAMA=/usr/bin/quimbal
USUARIO=quimbal-prueba
id "$USUARIO" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$USUARIO"
CASA=$(getent passwd "$USUARIO" | cut -d: -f6)
DATOS=$CASA/.config/quimbal
AUTOARRANQUE=$CASA/.config/autostart/quimbal.desktop
rm -rf "$CASA/.config" # a user who never ran the program

# The user's session: its own runtime folder; the test port, its state files
# and the library in folders the user may use.
RUNTIME=$(mktemp -d /tmp/quimbal-xdg-usuario.XXXXXX)
PUERTO_DIR=$(mktemp -d /tmp/quimbal-falso-XXXXXX)
chown "$USUARIO:" "$RUNTIME" "$PUERTO_DIR"
chmod 755 "$PUERTO_DIR"
PUERTO_FALSO=$PUERTO_DIR/ttyFAKE
PUERTO_SO=$PUERTO_DIR/puerto_falso.so
install -m 755 "$QUIMBAL_BUILD/puerto_falso.so" "$PUERTO_SO"
CARPETA=$PUERTO_DIR # where pasar_inicio finds the program's output
LOG=$PUERTO_DIR/objetivo.log
# On a failure the screen and the program's output are kept as artifacts.
terminar() {
  local codigo=$?
  if [ "$codigo" != 0 ]; then
    captura paquete-fallo
    cp "$PUERTO_DIR/salida.log" "$QUIMBAL_ARTEFACTOS/paquete-salida.log" 2>/dev/null || true
  fi
  terminar_quimbal
  terminar_objetivo
  [ -n "$SONIDO_PIDS" ] && kill $SONIDO_PIDS 2>/dev/null
  rm -rf "$RUNTIME" "$PUERTO_DIR"
}
SONIDO_PIDS=""
trap terminar EXIT

# como_usuario [VAR=VALUE...] COMMAND...: as the user, with the environment of
# a desktop session and nothing else.
SESION=(runuser -u "$USUARIO" -- env -i HOME="$CASA" USER="$USUARIO" LOGNAME="$USUARIO"
  PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$RUNTIME")
como_usuario() { "${SESION[@]}" "$@"; }
arrancar_instalado() { # [OPTIONS...]: in the background, QUIMBAL_PID
  (cd / && exec "${SESION[@]}" QUIMBAL_PUERTO_FALSO="$PUERTO_FALSO" LD_PRELOAD="$PUERTO_SO" \
    "$PROGRAMA" "$@" >>"$PUERTO_DIR/salida.log" 2>&1) &
  QUIMBAL_PID=$!
}
# The session's own sound server, as a desktop gives each user.
install -m 644 "$e2e/pulseaudio.sh" "$PUERTO_DIR/"
SONIDO_PIDS=$(como_usuario bash -c 'source "$1" && arrancar_pulseaudio && echo "$PULSE_PID $PAREC_PID"' \
  _ "$PUERTO_DIR/pulseaudio.sh") || fallar "el servidor de sonido del usuario no arrancó"

# The default profile and one added by name, as usuarios.dat holds them.
registro() { printf '%-20s%-20s%-20s%40s' "$1" 'Click izquierdo' 'Click izquierdo' ''; printf '\x01\x00\x05\x00\x90\x01'; }
esperar_tamano() { # FILE BYTES
  for _ in $(seq 50); do [ "$(stat -c %s "$1" 2>/dev/null)" = "$2" ] && return 0; sleep 0.1; done
  return 1
}
# The system's program folder holds nothing but the program.
sin_datos_en_sistema() {
  for f in usuarios.dat quimbal.dat quimbal.lck com1 com2; do
    [ ! -e "/usr/bin/$f" ] || fallar "el programa escribió /usr/bin/$f"
  done
}

# 1. First start: the start screen, then the window (pasar_inicio accepts the
# notice that COM1, /dev/ttyS0, cannot be opened).
arrancar_instalado
wid=$(pasar_inicio) || fallar "no apareció la ventana de configuración: $(cat "$PUERTO_DIR/salida.log")"
[ "$(stat -c '%a %U' "$DATOS")" = "700 $USUARIO" ] ||
  fallar "carpeta de datos: $(stat -c '%a %U' "$DATOS" 2>&1)"
esperar_tamano "$DATOS/usuarios.dat" 106 || fallar "usuarios.dat no tiene 106 bytes"
cmp "$DATOS/usuarios.dat" <(registro General) || fallar "usuarios.dat: $(od -c "$DATOS/usuarios.dat" | head -4)"
esperar_tamano "$DATOS/quimbal.dat" 21 || fallar "quimbal.dat no tiene 21 bytes"
sin_datos_en_sistema
ok "primer arranque: ~/.config/quimbal privada, usuarios.dat con General byte a byte, quimbal.dat"

# 2. COM2 becomes the test port; the user picks it and adds Zoe; "Salir"
# saves both, and a new start finds Zoe in use and keeps it.
como_usuario ln -s "$PUERTO_FALSO" "$DATOS/com2"
for n in 1 3 4; do como_usuario ln -s "$PUERTO_DIR/ttyNADA$n" "$DATOS/com$n"; done
: >"$PUERTO_FALSO.estado"
elegir_puerto "$wid" 2
esperar_puerto_abierto || fallar "COM2 no se abrió: $(cat "$PUERTO_FALSO.lineas" 2>/dev/null)"
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key alt+g
esperar_dialogo "Agregar nuevo usuario" 50 >/dev/null || fallar "Agregar no pidió un nombre"
xdotool type --delay 50 "zoe"
xdotool key Return
esperar_sin_ventana "Agregar nuevo usuario" || fallar "la pregunta del nombre no se cerró"
esperar_tamano "$DATOS/usuarios.dat" 212 || fallar "Zoe no llegó a usuarios.dat"
salir_con_si "$wid"
[ "$SALIDA" = 0 ] || fallar "Salir terminó con $SALIDA"
cmp "$DATOS/usuarios.dat" <(registro General; registro Zoe) || fallar "usuarios.dat tras salir"
cmp "$DATOS/quimbal.dat" <(printf '\x02%-20s' Zoe) || fallar "quimbal.dat: $(od -c "$DATOS/quimbal.dat")"
arrancar_instalado
wid=$(pasar_inicio) || fallar "el segundo arranque no mostró la ventana"
salir_con_si "$wid"
cmp "$DATOS/usuarios.dat" <(registro General; registro Zoe) || fallar "usuarios.dat tras volver a arrancar"
cmp "$DATOS/quimbal.dat" <(printf '\x02%-20s' Zoe) || fallar "Zoe no siguió en uso al volver a arrancar"
sin_datos_en_sistema
ok "el usuario agregado y el puerto sobreviven a Salir y a un nuevo arranque"

# 3. The command line: autostart on and off, help, version, and an unknown
# option that touches nothing.
como_usuario "$PROGRAMA" --inicio-automatico si >/dev/null || fallar "--inicio-automatico si falló"
grep -qxE "Exec=\"?$PROGRAMA\"? --bandeja" "$AUTOARRANQUE" || fallar "inicio automático: $(cat "$AUTOARRANQUE" 2>&1)"
desktop-file-validate "$AUTOARRANQUE" || fallar "la entrada de inicio automático no es válida"
como_usuario "$PROGRAMA" --inicio-automatico no >/dev/null || fallar "--inicio-automatico no falló"
[ ! -e "$AUTOARRANQUE" ] || fallar "--inicio-automatico no dejó el archivo"
ok "--inicio-automatico si y no crean y borran ~/.config/autostart/quimbal.desktop"
texto=$(como_usuario "$PROGRAMA" --version) && [[ "$texto" == *1.6* ]] || fallar "--version: $texto"
texto=$(como_usuario "$PROGRAMA" --help) && [[ "$texto" == *--bandeja* ]] || fallar "--help: $texto"
antes=$(cd "$CASA" && find . -printf '%p %s %T@\n' | sort)
codigo=0
como_usuario "$PROGRAMA" --nada >/dev/null 2>"$PUERTO_DIR/error.txt" || codigo=$?
[ "$codigo" = 2 ] || fallar "una opción desconocida terminó con $codigo"
grep -q . "$PUERTO_DIR/error.txt" || fallar "una opción desconocida no dijo nada"
[ "$(cd "$CASA" && find . -printf '%p %s %T@\n' | sort)" = "$antes" ] ||
  fallar "una opción desconocida tocó la carpeta del usuario"
ok "--version, --help, y una opción desconocida: estado 2 sin tocar nada"

# 4. At login: no window, the icon in the notification area, and switch 1
# ("Click izquierdo" for Zoe) clicks in the window under the pointer.
arrancar_objetivo "$LOG"
rm -f "$PUERTO_FALSO.lineas"
arrancar_instalado --bandeja
for _ in $(seq 100); do icono_bandeja >/dev/null && break; sleep 0.1; done
icono_bandeja >/dev/null || fallar "--bandeja no puso el icono en el área de notificación"
esperar_puerto_abierto || fallar "--bandeja no abrió COM2"
for titulo in Quimbal "Quimbal 1.6" "Puerto serie"; do
  xdotool search --onlyvisible --name "^$titulo\$" >/dev/null 2>&1 && fallar "--bandeja mostró «$titulo»"
done
enfocar_objetivo "$LOG"
estado_puerto cts=1
esperar_linea "$LOG" ' PRESS left$' 5 >/dev/null || fallar "el switch no dio el clic: $(tail -5 "$LOG")"
estado_puerto cts=0
nada_durante 0.5 # a second click would land here
[ "$(grep -c -E ' (PRESS|DBLCLICK) ' "$LOG")" = 1 ] || fallar "una pulsación no dio un solo clic"
xdotool search --onlyvisible --name '^Quimbal( 1\.6)?$' >/dev/null 2>&1 && fallar "apareció una ventana"
ok "--bandeja: sin ventana, icono en la bandeja, el switch 1 hace clic en otra ventana"

echo "$pasadas passed, 0 failed"
