# A Wayland desktop inside the guest of invitado.sh: sway on its headless and
# libinput back-ends (pixman renderer, no Xwayland), which takes real input
# devices from the kernel, /dev/uinput ones included. Sourced by a test script
# running as root in the guest:
#   source "$QUIMBAL_VM/sesion_wayland.sh" || exit 1
# Sourcing starts udev, seatd, an ordinary user (sway refuses root) with its
# XDG_RUNTIME_DIR and session bus, and sway; it returns once sway answers on
# its socket, or non-zero with a message on stderr.
# Environment read:
#   XKB_DEFAULT_LAYOUT, XKB_DEFAULT_VARIANT  keyboard layout sway gives clients
#   QUIMBAL_VM_BANDEJA=1   a bar with a tray at the bottom: swaybar is then the
#                          session bus' StatusNotifierWatcher and host, so a
#                          QSystemTrayIcon is available and shown there (see
#                          puntero_en_bandeja)
# Set here: SESION_USUARIO, SESION_UID, SESION_DIR (logs, configuration),
# XDG_RUNTIME_DIR, WAYLAND_DISPLAY, SWAYSOCK, DBUS_SESSION_BUS_ADDRESS (the
# last four for the user's programs; see como_usuario).

SESION_USUARIO=prueba
SESION_UID=4242
SESION_DIR=/tmp/sesion_wayland
XDG_RUNTIME_DIR=/run/user/$SESION_UID
DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
WAYLAND_DISPLAY=""
SWAYSOCK=""

# Runs CMD... until it succeeds, for up to SECONDS (whole seconds):
# esperar_hasta SECONDS CMD... Returns 1 when time runs out. Counts on the
# guest's uptime, read without starting a process (a start costs tenths of a
# second here).
esperar_hasta() {
  local fin
  _ahora; fin=$((AHORA + $1 * 100))
  shift
  until "$@"; do
    _ahora; [ "$AHORA" -lt "$fin" ] || return 1
    sleep 0.05
  done
}
# Sets AHORA to the uptime in hundredths of a second.
_ahora() {
  local segundos _
  read -r segundos _ </proc/uptime
  AHORA=$((10#${segundos/./}))
}

# Runs CMD... as the session's user, with its Wayland display, runtime folder
# and session bus; Qt programs on Wayland, never on an X display.
como_usuario() {
  runuser -u "$SESION_USUARIO" -- env -u DISPLAY HOME="/home/$SESION_USUARIO" \
    XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" SWAYSOCK="$SWAYSOCK" \
    DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" QT_QPA_PLATFORM=wayland "$@"
}

# swaymsg on this session's sway: sway_orden -t get_tree, sway_orden 'focus left'.
sway_orden() { swaymsg -s "$SWAYSOCK" "$@"; }

# Waits (up to 5 s, or SECONDS) until sway lists an input device whose name
# contains TEXT: esperar_dispositivo TEXT [SECONDS]. sway takes a new device
# some tenths of a second after the kernel made it; what the device sends
# before is lost.
esperar_dispositivo() {
  esperar_hasta "${2:-5}" _hay_dispositivo "$1"
}
_hay_dispositivo() {
  sway_orden -r -t get_inputs 2>/dev/null | jq -e --arg t "$1" 'any(.[]; .name | contains($t))' >/dev/null
}

# Waits (up to 10 s, or SECONDS) until a window with app_id ID exists (a Qt
# program's app_id is its executable's name): esperar_app_id ID [SECONDS].
esperar_app_id() {
  esperar_hasta "${2:-10}" _ventana ID "$1" true >/dev/null
}
# Succeeds when the window with app_id $2 exists and jq's CONDITION ($3) holds
# for it; prints what CONDITION gives.
_ventana() {
  sway_orden -r -t get_tree 2>/dev/null |
    jq -e -r --arg id "$2" "first(.. | objects | select(.app_id? == \$id)) | $3"
}

# Gives the window with app_id ID the keyboard focus; waits (up to 5 s) until
# sway says it has it.
enfocar() {
  sway_orden "[app_id=\"$1\"] focus" >/dev/null || return 1
  esperar_hasta 5 _ventana ID "$1" '.focused' >/dev/null
}

# Puts the pointer over the centre of the window with app_id ID.
puntero_sobre() {
  local xy
  xy=$(_ventana ID "$1" '"\(.rect.x + .rect.width / 2 | floor) \(.rect.y + .rect.height / 2 | floor)"') ||
    return 1
  # shellcheck disable=SC2086 # "X Y"
  sway_orden seat seat0 cursor set $xy >/dev/null
}

# Puts the pointer over the tray's first icon (QUIMBAL_VM_BANDEJA=1), at the
# right end of the bar. A press there (sway_orden seat seat0 cursor press
# button1, then release) activates the item; sway gives clients a pointer,
# and so clicks, only while some pointer device exists (a uinput one will do).
puntero_en_bandeja() {
  local xy
  xy=$(sway_orden -r -t get_outputs | jq -r 'first(.[] | select(.active)) | .rect |
    "\(.x + .width - 10) \(.y + .height - 8)"') || return 1
  # shellcheck disable=SC2086 # "X Y"
  sway_orden seat seat0 cursor set $xy >/dev/null
}

# --- Start -------------------------------------------------------------------
_sesion_fallo() {
  echo "sesion_wayland: $1" >&2
  [ -n "${2:-}" ] && tail -n 5 "$2" >&2
  return 1
}

_arrancar_sesion() {
  mkdir -p "$SESION_DIR"
  [ -c /dev/uinput ] || _sesion_fallo "falta /dev/uinput" || return 1

  # udev: libinput takes only devices that udev has tagged as input. Only the
  # input devices are replayed: all of them keep udev busy for over 10 s here.
  mkdir -p /run/udev
  /lib/systemd/systemd-udevd --daemon >"$SESION_DIR/udevd.log" 2>&1 ||
    _sesion_fallo "systemd-udevd no arrancó" "$SESION_DIR/udevd.log" || return 1
  udevadm trigger --action=add --subsystem-match=input
  udevadm settle -t 10

  id "$SESION_USUARIO" >/dev/null 2>&1 ||
    useradd -m -u "$SESION_UID" -G input,video,dialout "$SESION_USUARIO" || return 1
  mkdir -p /run/user
  install -d -m 700 -o "$SESION_USUARIO" -g "$SESION_USUARIO" "$XDG_RUNTIME_DIR"

  # seatd hands the devices to sway; no virtual terminal in this guest.
  SEATD_VTBOUND=0 seatd -g "$SESION_USUARIO" >"$SESION_DIR/seatd.log" 2>&1 &
  esperar_hasta 5 test -S /run/seatd.sock ||
    _sesion_fallo "seatd no arrancó" "$SESION_DIR/seatd.log" || return 1

  # The bus returns once it accepts connections.
  runuser -u "$SESION_USUARIO" -- dbus-daemon --session --fork --nopidfile \
    --address="$DBUS_SESSION_BUS_ADDRESS" >"$SESION_DIR/dbus.log" 2>&1 ||
    _sesion_fallo "el bus de sesión no arrancó" "$SESION_DIR/dbus.log" || return 1

  # No cursor theme: reading one over 9p takes sway seconds; it draws its
  # built-in cursor instead.
  _configuracion_sway >"$SESION_DIR/sway.conf"
  runuser -u "$SESION_USUARIO" -- env -i PATH="$PATH" HOME="/home/$SESION_USUARIO" \
    XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
    WLR_BACKENDS=headless,libinput WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    LIBSEAT_BACKEND=seatd XCURSOR_PATH=/nonexistent sway -c "$SESION_DIR/sway.conf" >"$SESION_DIR/sway.log" 2>&1 &
  esperar_hasta 60 _sockets_sway ||
    _sesion_fallo "sway no arrancó" "$SESION_DIR/sway.log" || return 1
  esperar_hasta 60 sway_orden -t get_version >/dev/null 2>&1 ||
    _sesion_fallo "sway no responde en $SWAYSOCK" "$SESION_DIR/sway.log" || return 1
}

# Finds sway's sockets (IPC and Wayland display) once both are there.
_sockets_sway() {
  local s
  SWAYSOCK=""; WAYLAND_DISPLAY=""
  for s in "$XDG_RUNTIME_DIR"/sway-ipc.*.sock; do [ -S "$s" ] && SWAYSOCK=$s; done
  for s in "$XDG_RUNTIME_DIR"/wayland-*; do
    case "$s" in *.lock) ;; *) [ -S "$s" ] && WAYLAND_DISPLAY=${s##*/} ;; esac
  done
  [ -n "$SWAYSOCK" ] && [ -n "$WAYLAND_DISPLAY" ]
}

_configuracion_sway() {
  echo "xwayland disable"
  echo "default_border none"
  [ -n "${XKB_DEFAULT_LAYOUT:-}" ] && echo "input type:keyboard xkb_layout \"$XKB_DEFAULT_LAYOUT\""
  [ -n "${XKB_DEFAULT_VARIANT:-}" ] && echo "input type:keyboard xkb_variant \"$XKB_DEFAULT_VARIANT\""
  if [ "${QUIMBAL_VM_BANDEJA:-}" = 1 ]; then
    printf 'bar {\n  tray_output *\n}\n'
  fi
  return 0
}

_arrancar_sesion
