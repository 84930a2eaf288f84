#!/usr/bin/env bash
# Inside the guest (run by vm_wayland.sh): the real program in a Wayland
# session injects through its uinput device into a native Wayland window, the
# target of the end-to-end tests, which logs what it receives. Checks, in one
# boot: switch presses give a left and a right click; named keys, the
# modifiers and characters of the Spanish layout (AltGr levels, a dead key)
# arrive as typed; the program killed while CTRL is held leaves no modifier
# down; on a US layout a string with "ñ" is refused whole; a malformed string
# sends nothing; without permission for uinput the program notifies instead
# of showing a box. With LATENCIA=N it then times N keys (bench/latencia_invitado.sh).
set -u
export XKB_DEFAULT_LAYOUT=es QUIMBAL_VM_BANDEJA=1
# shellcheck source=/dev/null
source "$QUIMBAL_VM/sesion_wayland.sh" || exit 1
# shellcheck source=/dev/null
source "$QUIMBAL_VM/programa_invitado.sh"

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

# 4. uinput not usable yet (the first login after installing the package,
# before the permission applies): started at login, the program says so
# through the desktop's notifications, never in a box that would take the
# keyboard.
como_usuario "$B/notificador" >"$P/notificaciones.log" 2>&1 &
esperar_hasta 10 grep -q '^LISTO$' "$P/notificaciones.log" || fallar "el servidor de notificaciones no arrancó"
chmod 600 /dev/uinput
(cd / && exec runuser -u "$SESION_USUARIO" -- env -u DISPLAY HOME="/home/$SESION_USUARIO" \
  XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
  DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" QT_QPA_PLATFORM=wayland \
  "$P/quimbal" --bandeja >"$P/salida6.log" 2>&1) &
QPID=$!
esperar_hasta 20 grep -q '^NOTIFY .*uinput' "$P/notificaciones.log" ||
  fallar "sin uinput no llegó la notificación: $(cat "$P/notificaciones.log" "$P/salida6.log")"
esperar_hasta 5 en_bandeja || fallar "sin uinput el programa no está en la bandeja"
_ventana ID quimbal true >/dev/null 2>&1 && fallar "sin uinput el programa mostró una ventana"
_ventana ID objetivo '.focused' >/dev/null || fallar "sin uinput la ventana objetivo perdió el foco"
grep -q 'uinput' "$P/salida6.log" || fallar "sin uinput nada en la salida de errores"
pkill -TERM -x quimbal
wait "$QPID" 2>/dev/null
chown "root:$SESION_USUARIO" /dev/uinput && chmod 660 /dev/uinput
bien "sin permiso para uinput: una notificación, sin cuadros, el objetivo conserva el foco"

# 5. The injector alone: refused strings, and (LATENCIA) timing.
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
