#!/usr/bin/env bash
# The program as a screen reader gets it, on a real accessibility bus (AT-SPI,
# on a private session bus, the toolkit's bridge on): the start screen, the
# configuration window in both modes and the more-options dialog name every
# control that takes the focus, and their labels name their controls; a switch
# pressed in test mode (through the test serial port) changes its light's name
# on the bus while it is held. The checks are made by accesible.py.
set -eu
source "$(dirname "$0")/comun.sh"
source "$(dirname "$0")/puerto_comun.sh"
pasadas=0
ok() { echo "ok: $*"; pasadas=$((pasadas + 1)); }
LANZADOR=/usr/libexec/at-spi-bus-launcher
PYTHON=/usr/bin/python3
COMPROBAR="$(dirname "$0")/accesible.py"
[ -x "$LANZADOR" ] || fallar "falta at-spi2-core ($LANZADOR)"
"$PYTHON" -c 'import pyatspi' 2>/dev/null || fallar "falta python3-pyatspi"

BUS_PID="" LANZADOR_PID=""
parar_buses() {
  local hijos=""
  # The launcher's own bus and registry go with it.
  [ -n "$LANZADOR_PID" ] && hijos=$(pgrep -P "$LANZADOR_PID" || true)
  for p in $LANZADOR_PID $hijos $BUS_PID; do kill "$p" 2>/dev/null || true; done
}
trap 'terminar_quimbal; parar_buses; limpiar_puerto_falso' EXIT

# A private session bus, and on it the accessibility bus with its registry.
datos=$(mktemp /tmp/quimbal-bus.XXXXXX)
dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$datos" ||
  fallar "dbus-daemon no arrancó"
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$datos")
BUS_PID=$(sed -n 2p "$datos")
rm -f "$datos"
"$LANZADOR" --launch-immediately >/dev/null 2>&1 &
LANZADOR_PID=$!
listo=""
for _ in $(seq 100); do
  if gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress \
    2>/dev/null | grep -q unix:; then listo=1; break; fi
  sleep 0.05
done
[ -n "$listo" ] || fallar "el bus de accesibilidad no arrancó"
export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
comprobar() { "$PYTHON" "$COMPROBAR" "$@" || fallar "accesible.py $*"; }

preparar_carpeta
preparar_puerto_falso
arrancar_quimbal_con_puerto
esperar_ventana "Quimbal" >/dev/null || fallar "no apareció la pantalla de inicio"
comprobar nombres "Quimbal"
ok "pantalla de inicio"

wid=$(pasar_inicio) || fallar "no apareció la ventana Quimbal 1.6"
elegir_puerto "$wid" 2
esperar_puerto_abierto || fallar "COM2 no quedó abierto"
comprobar nombres "Quimbal 1.6"
ok "ventana de configuración, modo switch"

comprobar luz "$PUERTO_FALSO.estado" cts "Test del switch 1"
comprobar luz "$PUERTO_FALSO.estado" dsr "Test del switch 2"
ok "las luces de test cambian de nombre en el bus mientras se pulsa su switch"

# Sound mode (Alt+S) enables "Más" (Alt+M), which opens the dialog.
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key alt+s
esperar_modo "$wid" sonido || fallar "Alt+S no eligió el sonido"
comprobar nombres "Quimbal 1.6"
ok "ventana de configuración, modo sonido"
xdotool key alt+m
esperar_dialogo "Más opciones" >/dev/null || fallar "Alt+M no abrió Más opciones"
comprobar nombres "Más opciones"
xdotool key Escape
esperar_sin_ventana "Más opciones" || fallar "Esc no cerró Más opciones"
ok "más opciones"

echo "$pasadas passed, 0 failed"
