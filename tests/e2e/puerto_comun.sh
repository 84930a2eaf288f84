# Helpers of the end-to-end tests that drive the serial switches through the
# test serial port (tests/puerto/puerto_falso.c). Source after comun.sh.
#
# preparar_puerto_falso: a fresh /tmp/quimbal-falso-XXXX whose ttyFAKE stands
# for COM2 in the program's folder ($CARPETA); COM1, COM3 and COM4 are links to
# nothing, so no number reaches a device of this machine.
preparar_puerto_falso() {
  PUERTO_DIR=$(mktemp -d /tmp/quimbal-falso-XXXXXX)
  PUERTO_FALSO="$PUERTO_DIR/ttyFAKE"
  PUERTO_SO="$QUIMBAL_BUILD/puerto_falso.so"
  [ -f "$PUERTO_SO" ] || fallar "falta $PUERTO_SO"
  ln -sfn "$PUERTO_FALSO" "$CARPETA/com2"
  for n in 1 3 4; do ln -sfn "$PUERTO_DIR/ttyNADA$n" "$CARPETA/com$n"; done
  : >"$PUERTO_FALSO.estado"
}

# Starts the program with the library preloaded (only the program, not the
# tools of the test).
arrancar_quimbal_con_puerto() {
  (cd / && QUIMBAL_PUERTO_FALSO="$PUERTO_FALSO" LD_PRELOAD="$PUERTO_SO" \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
    exec "$CARPETA/quimbal" >"$CARPETA/salida.log" 2>&1) &
  QUIMBAL_PID=$!
}

# Sets the switch lines: estado_puerto "cts=1" "dsr=0" ... (written whole,
# atomically).
estado_puerto() {
  printf '%s\n' "$@" >"$PUERTO_FALSO.estado.tmp"
  mv -f "$PUERTO_FALSO.estado.tmp" "$PUERTO_FALSO.estado"
}

# Value of one key of what the library saw the program do (abierto, rts, dtr,
# aperturas, cierres, lecturas); empty when unknown.
linea_puerto() {
  sed -n "s/^$1=//p" "$PUERTO_FALSO.lineas" 2>/dev/null
}

# Waits until the program holds the port open with RTS and DTR raised.
esperar_puerto_abierto() {
  for _ in $(seq 100); do
    [ "$(linea_puerto abierto)" = 1 ] && [ "$(linea_puerto rts)" = 1 ] &&
      [ "$(linea_puerto dtr)" = 1 ] && return 0
    sleep 0.05
  done
  return 1
}

# Chooses a port in the configuration window by keyboard (the port list is
# the fourth control in tab order). Keys go through XTest only (no --window):
# a key sent to a window that hides on the press would get its release as a
# synthetic event, and the server would keep the key down.
elegir_puerto() {
  local wid="$1" numero="$2"
  xdotool windowactivate --sync "$wid" 2>/dev/null || true
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
  xdotool key Tab Tab Tab
  xdotool type "$numero"
  # The choice is taken in when the key is handled, before any later key; for
  # COM2, the test port, its opening shows it.
  if [ "$numero" = 2 ]; then esperar_puerto_abierto || true; fi
}

# Accepts the configuration with Enter, which hides the window.
aceptar() {
  xdotool windowactivate --sync "$1" 2>/dev/null || true
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool key Return
}

elegir_puerto_y_aceptar() {
  elegir_puerto "$1" "$2"
  aceptar "$1"
}

limpiar_puerto_falso() { [ -n "${PUERTO_DIR:-}" ] && rm -rf "$PUERTO_DIR"; }
