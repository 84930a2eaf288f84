#!/usr/bin/env bash
# Runs one end-to-end test on a private virtual desktop: an Xvfb display with
# the icewm window manager (which also gives a notification area), a private
# XDG_RUNTIME_DIR, and an artifact folder. Everything started here is stopped
# when the test ends, whatever its result. A private sound server gives the
# desktop a virtual microphone (tests/e2e/pulseaudio.sh).
#   escritorio.sh TEST_SCRIPT [ARGS...]
set -u
prueba="$1"; shift

export XDG_RUNTIME_DIR=$(mktemp -d /tmp/quimbal-xdg.XXXXXX)
chmod 700 "$XDG_RUNTIME_DIR"
export QUIMBAL_ARTEFACTOS=${QUIMBAL_ARTEFACTOS:-${QUIMBAL_BUILD:-$PWD}/artefactos}
mkdir -p "$QUIMBAL_ARTEFACTOS"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

pids=()
source "$(dirname "$0")/pulseaudio.sh"
parar() {
  local p vivo
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  # Up to 2 s to end on their own; whatever is left is then forced.
  for _ in $(seq 40); do
    vivo=""
    for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && vivo=1; done
    [ -z "$vivo" ] && break
    sleep 0.05
  done
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  # Wait until they are gone: a server still shutting down would remove the
  # socket of a new server on the same display number.
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  pids=()
}
limpiar() {
  parar_pulseaudio
  parar
  rm -rf "$XDG_RUNTIME_DIR"
}
trap limpiar EXIT

HOME_ICEWM=$(mktemp -d "$XDG_RUNTIME_DIR/icewm.XXXXXX")
# A test named *_sin_bandeja.sh gets a task bar without notification area.
bandeja=1
case "$prueba" in *_sin_bandeja.sh) bandeja=0 ;; esac
printf "ShowTaskBar=1\nTaskBarShowTray=$bandeja\nTaskBarEnableSystemTray=$bandeja\nTaskBarShowClock=0\nTaskBarShowAPMStatus=0\nTaskBarShowMailboxStatus=0\nTaskBarShowCPUStatus=0\nTaskBarShowNetStatus=0\n" > "$HOME_ICEWM/preferences"

# The desktop is ready when the task bar exists and, on a desktop with a
# notification area, the window manager has set up the area's manager window
# (the program looks for it once, when it starts).
bandeja_lista() {
  local w
  w=$(xdotool search --name '^YXTrayProxy$' 2>/dev/null | head -n1)
  [ -n "$w" ] && xprop -id "$w" _NET_SYSTEM_TRAY_ORIENTATION 2>/dev/null | grep -q ' = '
}
escritorio_listo() {
  xdotool search --name '^TaskBar$' >/dev/null 2>&1 || return 1
  [ "$bandeja" = 0 ] || bandeja_lista
}

# -noreset: the server must not reset when its first client (xdpyinfo)
# leaves, or the window manager starting at that moment finds no display.
# A display number nobody uses, picked at random from a wide range so that
# desktops of tests running at the same time (or one just shutting down) do
# not meet; the whole desktop is started again if it does not come up.
listo=""
for intento in 1 2 3; do
  for _ in $(seq 50); do
    n=$((100 + RANDOM % 800))
    [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ] && break
  done
  export DISPLAY=:$n
  Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp -dpi 96 -noreset >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  if xdpyinfo >/dev/null 2>&1; then
    ICEWM_PRIVCFG="$HOME_ICEWM" icewm >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do escritorio_listo && break; sleep 0.1; done
    if escritorio_listo; then listo=1; break; fi
  fi
  echo "el escritorio $DISPLAY no arrancó (intento $intento)" >&2
  parar
done
[ -n "$listo" ] || { echo "no se pudo arrancar el escritorio virtual"; exit 1; }

arrancar_pulseaudio || { echo "el servidor de sonido no arrancó"; exit 1; }
export PULSE_PID PAREC_PID

bash "$prueba" "$@"
