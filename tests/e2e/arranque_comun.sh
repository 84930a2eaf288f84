# Helpers of the tests of a start straight into the notification area
# (--bandeja), where nobody may have to press a key: a private session bus
# with a notification server that logs what it is shown, the program's
# windows by its process, and profiles made for the test. Needs comun.sh and
# puerto_comun.sh.

# Each check that passed: bien DESCRIPTION; the count ends the script's output.
pasadas=0
bien() { echo "ok: $*"; pasadas=$((pasadas + 1)); }

# A private session bus with the test notification server: NOTIFICACIONES is
# its log ("NOTIFY <summary> | <body>" per notification).
arrancar_bus_con_notificador() {
  local datos
  datos=$(mktemp /tmp/quimbal-bus.XXXXXX)
  # A session bus that other users of the machine may use too (a test runs
  # the program as another user as well).
  BUS_CONF=$(mktemp /tmp/quimbal-bus-conf.XXXXXX)
  cat >"$BUS_CONF" <<'FIN'
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
FIN
  dbus-daemon --config-file="$BUS_CONF" --fork --print-address=1 --print-pid=1 >"$datos" ||
    fallar "dbus-daemon no arrancó"
  BUS_PID=$(sed -n 2p "$datos")
  export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$datos")
  rm -f "$datos"
  NOTIFICACIONES=$(mktemp /tmp/quimbal-notificaciones.XXXXXX)
  (cd / && exec "$QUIMBAL_BUILD/notificador" >"$NOTIFICACIONES" 2>&1) &
  NOTIFICADOR_PID=$!
  esperar_linea "$NOTIFICACIONES" '^LISTO$' 10 >/dev/null ||
    fallar "el servidor de notificaciones no se registró: $(cat "$NOTIFICACIONES")"
}

parar_bus_con_notificador() {
  [ -n "${NOTIFICADOR_PID:-}" ] && kill "$NOTIFICADOR_PID" 2>/dev/null
  [ -n "${BUS_PID:-}" ] && kill "$BUS_PID" 2>/dev/null
  rm -f "${NOTIFICACIONES:-}" "${BUS_CONF:-}"
  NOTIFICADOR_PID="" BUS_PID=""
}

# One 106-byte profile record: registro NAME MODE(1 switch, 2 sound) ACTION1
# ACTION2 (threshold 5, re-arm delay 400 ms).
registro() {
  printf '%-20s%-20s%-20s%40s' "$1" "$3" "$4" ''
  printf "\\x0$2\\x00\\x05\\x00\\x90\\x01"
}
# The settings record: port NUMBER, last profile "General".
configuracion() { printf "\\$(printf '%03o' "$1")"; printf '%-20s' General; }

# Visible windows of process PID larger than a tray icon, one id per line.
ventanas_de() {
  local w WIDTH HEIGHT X Y SCREEN WINDOW
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || continue
    [ "${WIDTH:-0}" -gt 64 ] || [ "${HEIGHT:-0}" -gt 64 ] && echo "$w"
  done
  return 0
}

# The program with the test serial port, straight into the notification
# area, with the given extra environment: arrancar_en_bandeja [VAR=VALUE...]
arrancar_en_bandeja() {
  (cd / && exec env "$@" QUIMBAL_PUERTO_FALSO="$PUERTO_FALSO" LD_PRELOAD="$PUERTO_SO" \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
    "$CARPETA/quimbal" --bandeja >"$CARPETA/salida.log" 2>&1) &
  QUIMBAL_PID=$!
}

# A press of switch 1 (CTS) on the test port that the target must receive as
# one left click: pulsar_y_esperar_clic LOG.
pulsar_y_esperar_clic() {
  local desde
  desde=$(lineas_registro "$1")
  estado_puerto cts=1 dsr=0
  esperar_linea_desde "$1" "$desde" ' PRESS left$' 5 >/dev/null || return 1
  estado_puerto cts=0 dsr=0
  nada_durante 0.5
  [ "$(tail -n +"$((desde + 1))" "$1" | grep -c ' PRESS left$')" = 1 ]
}

# The program as another user of the machine (nobody), straight into the
# notification area, with a runtime folder of its own and the test port:
# arrancar_como_otro_usuario [VAR=VALUE...]. The program's folder and the
# test port's folder must let that user in (abrir_a_otros_usuarios).
arrancar_como_otro_usuario() {
  RUNTIME_OTRO=$(mktemp -d /tmp/quimbal-xdg-otro.XXXXXX)
  chown nobody "$RUNTIME_OTRO"
  chmod 700 "$RUNTIME_OTRO"
  (cd / && exec setpriv --reuid=nobody --regid=nogroup --clear-groups env -i \
    DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$RUNTIME_OTRO" HOME="$RUNTIME_OTRO" PATH=/usr/bin:/bin \
    ${DBUS_SESSION_BUS_ADDRESS:+DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS"} \
    QUIMBAL_PUERTO_FALSO="$PUERTO_FALSO" LD_PRELOAD="$PUERTO_DIR/puerto_falso.so" "$@" \
    "$CARPETA/quimbal" --bandeja >"$RUNTIME_OTRO.log" 2>&1) &
  QUIMBAL_PID=$!
}

# Lets the other user run the program in $CARPETA (MODE of the folder: 755
# read-only, 777 writable) and use the test port.
abrir_a_otros_usuarios() {
  chmod "$1" "$CARPETA"
  chmod a+r "$CARPETA"/* 2>/dev/null || true
  [ "$1" = 777 ] && chmod a+w "$CARPETA"/*.dat 2>/dev/null
  cp "$PUERTO_SO" "$PUERTO_DIR/puerto_falso.so"
  chmod 755 "$PUERTO_DIR/puerto_falso.so"
  chmod 777 "$PUERTO_DIR"
  chmod a+rw "$PUERTO_FALSO".* 2>/dev/null || true
}
