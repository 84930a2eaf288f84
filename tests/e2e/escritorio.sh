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

# A free display number: no lock file and no socket.
for n in $(seq 40 140); do
  if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then disp=$n; break; fi
done
export DISPLAY=:$disp
pids=()
source "$(dirname "$0")/pulseaudio.sh"
limpiar() {
  parar_pulseaudio
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  sleep 0.2
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  rm -rf "$XDG_RUNTIME_DIR"
}
trap limpiar EXIT

Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp -dpi 96 >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb no arrancó en $DISPLAY"; exit 1; }

HOME_ICEWM=$(mktemp -d "$XDG_RUNTIME_DIR/icewm.XXXXXX")
printf 'ShowTaskBar=1\nTaskBarShowTray=1\nTaskBarShowClock=0\nTaskBarShowAPMStatus=0\nTaskBarShowMailboxStatus=0\nTaskBarShowCPUStatus=0\nTaskBarShowNetStatus=0\n' > "$HOME_ICEWM/preferences"
ICEWM_PRIVCFG="$HOME_ICEWM" icewm --no-runonce >/dev/null 2>&1 &
pids+=($!)
# The tray host is up when the system tray selection has an owner.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
sleep 0.5

arrancar_pulseaudio || { echo "el servidor de sonido no arrancó"; exit 1; }
export PULSE_PID PAREC_PID

bash "$prueba" "$@"
